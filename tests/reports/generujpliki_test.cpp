// The send: the category of a record, the file names, the report files compared whole with bytes
// written from the layouts, the numbers of the day across sends, programs and years, the question
// about records already sent, the memo, the one byte a send changes, and what a failure, a full
// day or a refusal leaves behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "platform/cp1250.h"
#include "platform/packed.h"
#include "platform/registry.h"
#include "platform/wholefile.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/wysylka.h"
#include "reports/generujpliki.h"
#include "reports/numeracjadzienna.h"
#include "settings/firmaform.h"
#include "../register/swiatrejestru.h"
#include "support/disklog.h"

using namespace zelt;

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr double k20250101 = 45658, k20250102 = 45659;  // days since 1899-12-30

// A record with the fields that decide its category, and the few that its line then shows.
TRekordTransakcji rek(const char* nrRejDat, const char* kRodzTr, int kPwz = -1, const char* kPdjrz = "", int Status = 1,
                      int ilWyslan = 0) {
  TRekordTransakcji r;
  r.nrRejDat = nrRejDat;
  r.rejDat = k20250102;
  r.jedIO = "123";
  r.Status = Status;
  r.kRodzTr = kRodzTr;
  r.kPwz = kPwz;
  r.kPdjrz = kPdjrz;
  r.tDat = k20250101;
  r.ilWyslan = static_cast<std::uint8_t>(ilWyslan);
  return r;
}

// The message boxes' driver that also notes whether the dispatch report was on screen when each
// message box came up.
class Nadzor : public platform::ScriptedDialogs {
 public:
  QWidget* okno = nullptr;
  std::vector<bool> oknoPrzyKomunikacie;
  int messageBox(const QString& text, const QString& caption, platform::MsgButtons b, platform::MsgIcon i) override {
    oknoPrzyKomunikacie.push_back(okno && okno->isVisible());
    return ScriptedDialogs::messageBox(text, caption, b, i);
  }
};

constexpr auto HKCU = platform::RegRoot::CurrentUser;

// The world's standing clock until a test sets it going: from then on every reading is one second
// after the one before, as a send that runs over midnight sees the time.
struct ZegarBiegnacy : platform::Clock {
  explicit ZegarBiegnacy(const platform::Clock& stoi) : stoi_(stoi) {}
  QDateTime now() const override { return biegnie_ ? std::exchange(*biegnie_, biegnie_->addSecs(1)) : stoi_.now(); }
  void ruszOd(const QDateTime& t) { biegnie_ = t; }

 private:
  const platform::Clock& stoi_;
  mutable std::optional<QDateTime> biegnie_;
};

// A started program over a register, with the institution's NIP, format and short name set.
struct Wysylka : swiat::SwiatRejestru {
  Nadzor d;
  ZegarBiegnacy zegar{clock};
  std::unique_ptr<Program> prog;
  int format;
  QString nazpli;

  explicit Wysylka(const std::vector<TRekordTransakcji>& recs, int format_ = 0, const char* nazpli_ = "ABCDE")
      : format(format_), nazpli(nazpli_) {
    d.onFailure = [](const QString& why) { ADD_FAILURE() << why.toStdString(); };
    clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)));
    zapisz(recs);
    // Bytes behind the end of nrEwT (capacity 25) that no decoder keeps.
    std::string b = readFile(plik());
    for (std::size_t n = 0; n < recs.size(); ++n) {
      char* r = b.data() + n * TRekordTransakcji::kSize;
      for (int i = 1 + static_cast<unsigned char>(r[0]); i <= 25; ++i) r[i] = char('a' + n);
    }
    writeFile(plik(), b);
    nowyProgram();
  }
  ~Wysylka() {
    prog.reset();
    if (!d.scriptDone()) ADD_FAILURE() << "dialogs expected by the test were not shown";
  }
  // A program object as a new run makes it.
  void nowyProgram() {
    prog.reset();
    prog = std::make_unique<Program>(Services{reg(), d, zegar, shell, printers});
    prog->logowanie = [] { return platform::mrOk; };
    prog->zakoncz = [] {};
    ASSERT_TRUE(prog->start());
    d.okno = prog->wysylka();
    prog->firma()->NIPIO->setText("5260001246");
    prog->firma()->nazpli->setText(nazpli);
    prog->firma()->setFormatItemIndex(format);
  }
  Program& p() { return *prog; }
  TWysylka& okno() { return *prog->wysylka(); }

  QString eks() const { return documents() + "/ZELT/Przekaz"; }
  // Everything in the export folder, hidden temporary files included.
  QStringList pliki() const {
    return QDir(eks()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  std::string plikEks(const QString& name) const { return readFile(eks() + "/" + name); }
  QString np(int rok) const { return baza() + "/np" + QString::number(rok) + ".dat"; }
  // A day's counter as its file holds it; -1 without the file.
  int licznik(int rok, int dzien, int miesiac) const {
    const std::string b = readFile(np(rok));
    if (b.size() != NumeracjaDzienna::kRozmiar) return -1;
    return packed::getI32(b.data(), ((dzien - 1) * 12 + (miesiac - 1)) * 4);
  }
  void ustawLicznik(int rok, int dzien, int miesiac, int wartosc) {
    NumeracjaDzienna::Tabela t{};
    t.at(dzien - 1).at(miesiac - 1) = wartosc;
    const auto b = NumeracjaDzienna::koduj(t);
    writeFile(np(rok), std::string(b.data(), b.size()));
  }
  QStringList memo() { return okno().Pliki->toPlainText().split(QLatin1Char('\n')); }
  std::uint8_t wyslan(int n) const {
    return static_cast<std::uint8_t>(readFile(plik())[n * TRekordTransakcji::kSize + TRekordTransakcji::kOffsetIlWyslan]);
  }
  // The register as it should be: the bytes before with the given records' sent counts at 1.
  static std::string oznaczone(std::string b, std::initializer_list<int> rekordy) {
    for (int n : rekordy) b[n * TRekordTransakcji::kSize + TRekordTransakcji::kOffsetIlWyslan] = 1;
    return b;
  }

  // The final report: it comes up with "Zamknij" alone and the user closes it with that button.
  void raport(const QString& png = {}) {
    d.expectModal("Wysylka", [this, png](platform::ModalForm& f) {
      auto& w = static_cast<TWysylka&>(f);
      EXPECT_TRUE(w.Wyslij->isVisible());
      EXPECT_FALSE(w.pomin->isVisible());
      EXPECT_FALSE(w.Anuluj->isVisible());
      if (!png.isEmpty()) {
        EXPECT_GT(testing_world::renderWindow(w, png), 2);
      }
      w.Wyslij->click();
      return platform::mrNone;
    });
  }
  // The question about records already sent, answered by `odpowiedz`.
  void pytanie(std::function<void(TWysylka&)> odpowiedz, const QString& png = {}) {
    d.expectModal("Wysylka", [this, odpowiedz, png](platform::ModalForm& f) {
      auto& w = static_cast<TWysylka&>(f);
      EXPECT_FALSE(w.Wyslij->isVisible());
      EXPECT_TRUE(w.pomin->isVisible());
      EXPECT_TRUE(w.Anuluj->isVisible());
      if (!png.isEmpty()) {
        EXPECT_GT(testing_world::renderWindow(w, png), 2);
      }
      odpowiedz(w);
      return platform::mrNone;
    });
  }
  void wyslij(const std::vector<std::int32_t>& numery) { generujPliki(p(), numery); }
};

const QStringList kPytanie = {
    q("Wśród wybranych do wysłania rekordów"),  q("znajdują się rekordy już wysłane"),
    q("naciskając pomiń zostaną pominięte"),    q("naciskając anuluj dane nie zostaną wysłane"),
    q("zmiany statusu rekordu można dokonać"), q("w edycji tego rekordu"),
};
const QString kKoniec = q("Zakończono generowanie plików");

// xmllint's exit status for a file: 0 when well-formed.
int xmllint(const QString& path) {
  const int rc = QProcess::execute("xmllint", {"--noout", "--nonet", path});
  EXPECT_GE(rc, 0) << "xmllint is missing (scripts/deps.sh installs libxml2-utils)";
  return rc;
}

// ---- rules without files

TEST(SendCategory, FirstRuleThatApplies) {
  EXPECT_EQ(std::string(kLiteryKategorii), "PZGWDBK");
  const struct {
    const char* name;
    TRekordTransakcji r;
    char letter;  // 0: never sent
  } cases[] = {
      {"correction with a suspicious code", rek("1", "0101", 1, "0000", 0), 'K'},
      {"suspicious and linked", rek("1", "0101", 1, "0000"), 'P'},
      {"suspicious, no kind", rek("1", "", -1, "0000"), 'P'},
      {"suspicious code of one blank", rek("1", "0101", -1, " "), 'P'},
      {"four blanks and linked", rek("1", "0101", 1, "    "), 'Z'},
      {"linked", rek("1", "0607", 1), 'Z'},
      {"link code 0", rek("1", "0101", 0), 'W'},
      {"transfer", rek("1", "0101"), 'W'},
      {"cash", rek("1", "0201"), 'G'},
      {"other of 06", rek("1", "0607"), 'D'},
      {"06 alone", rek("1", "06"), 'D'},
      {"05", rek("1", "0501"), 'B'},
      {"no kind", rek("1", ""), 'B'},
      {"one character", rek("1", "0"), 'B'},
      {"blank kind", rek("1", "    "), 'B'},
      {"deleted", rek("1", "0101", -1, "", 99), 0},
      {"deleted with a suspicious code", rek("1", "0101", -1, "0000", 99), 0},
  };
  for (const auto& c : cases) {
    const int k = kategoria(c.r);
    EXPECT_EQ(k == 0 ? 0 : kLiteryKategorii[k - 1], c.letter) << c.name;
  }
}

TEST(SendCategory, FileNamesAndShortNames) {
  EXPECT_EQ(nazwaPliku(4, 3, "ABCDE", 1), "W03ABCDE.xml");
  EXPECT_EQ(nazwaPliku(1, 1, "", 0), "P01.txt");
  EXPECT_EQ(nazwaPliku(7, 99, "Z9", 0), "K99Z9.txt");
  EXPECT_EQ(nazwaPliku(3, 12, "A", 1), "G12A.xml");
  for (const char* dobra : {"", "ABCDE", "Z9", "0"}) EXPECT_TRUE(poprawnaNazwaSkrotowa(dobra)) << dobra;
  for (const char* zla : {"a", "A/B", "..", "A B", "A*", "\\", "\xA5"}) EXPECT_FALSE(poprawnaNazwaSkrotowa(zla)) << zla;
}

// ---- whole sends

// Where two files differ, empty when they do not: a readable failure for a register's bytes.
std::string roznica(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
  std::string out;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      out += "record " + std::to_string(i / TRekordTransakcji::kSize) + " byte " +
             std::to_string(i % TRekordTransakcji::kSize) + "; ";
      if (out.size() > 300) break;
    }
  return out;
}

const std::string kHe = "HE20261210090507" "5260001246\r\n";
const std::string kW1 = "DA;02:           1;03:20250102;04:00000123;05:1;06:0101;11:20250101;\r\n";
const std::string kP2 = "DA;02:           2;03:20250102;04:00000123;05:1;06:0101;07:1;08:0000;11:20250101;\r\n";
const std::string kB3 = "DA;02:           3;03:20250102;04:00000123;05:1;06:0501;11:20250101;\r\n";
const std::string kW4 = "DA;02:           4;03:20250102;04:00000123;05:1;06:0102;11:20250101;\r\n";

// Records 0 W, 1 P, 2 B, 3 W, 4 a deleted W.
std::vector<TRekordTransakcji> trzyKategorie() {
  return {rek("1", "0101"), rek("2", "0101", 1, "0000"), rek("3", "0501"), rek("4", "0102"), rek("5", "0101", -1, "", 99)};
}

TEST(Send, ThreeCategoriesInTxt) {
  Wysylka w(trzyKategorie());
  const std::string przed = w.readFile(w.plik());
  w.raport("wysylka_raport");
  // Record 0 named twice, the deleted record 4 named too.
  w.wyslij({3, 0, 1, 2, 4, 0});
  EXPECT_EQ(w.pliki(), (QStringList{"B03ABCDE.txt", "P01ABCDE.txt", "W02ABCDE.txt"}));
  EXPECT_EQ(w.plikEks("P01ABCDE.txt"), kHe + kP2 + "TR00000001\r\n");
  EXPECT_EQ(w.plikEks("W02ABCDE.txt"), kHe + kW4 + kW1 + "TR00000002\r\n") << "in the order chosen, record 0 once";
  EXPECT_EQ(w.plikEks("B03ABCDE.txt"), kHe + kB3 + "TR00000001\r\n");
  EXPECT_EQ(w.memo(), (QStringList{q("Rekordów do wysłania 6"), "Generowanie pliku P01ABCDE.txt",
                                   "Generowanie pliku W02ABCDE.txt", "Generowanie pliku B03ABCDE.txt", kKoniec}));
  EXPECT_EQ(roznica(w.readFile(w.plik()), Wysylka::oznaczone(przed, {0, 1, 2, 3})), "") << "byte 3382 of each record sent, nothing else";
  EXPECT_EQ(w.licznik(2026, 10, 12), 3);
  EXPECT_TRUE(w.d.messages().isEmpty());
  EXPECT_FALSE(w.okno().isVisible());
}

// The sent marks of each file are on the disk before the send goes on to the next file.
TEST(Send, TheSentMarksAreSyncedFileByFile) {
  Wysylka w(trzyKategorie());
  w.raport();
  testing_world::DiskLog log;
  w.wyslij({0, 1, 2});
  testing_world::expectSyncedWrites(log, w.plik());
  const auto zapisy = log.indexes(platform::DiskOp::Write, w.plik());
  ASSERT_EQ(zapisy.size(), 3u) << "one mark a record";
  const auto synce = log.indexes(platform::DiskOp::Sync, w.plik());
  ASSERT_EQ(synce.size(), 3u) << "one sync a report file";
  for (std::size_t i = 0; i + 1 < zapisy.size(); ++i) EXPECT_LT(synce[i], zapisy[i + 1]);
}

TEST(Send, XmlWithTheThreeRegistryValues) {
  const std::string konfig = "\\SOFTWARE\\Tarvo\\ZELT\\Konfig\\";
  std::vector<TRekordTransakcji> recs = {rek("1", "0101", 1, "0000"), rek("2", "0101", -1, "", 0)};
  recs[1].bTypPo = 1;
  recs[1].bNz = "Anna & Jan";
  Wysylka w(recs, 1);
  w.reg().writeString(HKCU, konfig, "xsi:schemaLocation", "urn:zelt zelt.xsd");
  w.reg().writeString(HKCU, konfig, "xmlns", "urn:zelt");
  w.reg().writeString(HKCU, konfig, "xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
  w.raport();
  w.wyslij({0, 1});
  ASSERT_EQ(w.pliki(), (QStringList{"K02ABCDE.xml", "P01ABCDE.xml"}));
  auto poczatek = [](const char* lKart) {
    return std::string("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n"
                       "<wykazTr xsi:schemaLocation=\"urn:zelt zelt.xsd\"\r\n"
                       "         xmlns=\"urn:zelt\"\r\n"
                       "         xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r\n"
                       " NipIO=\"5260001246\" lKart=\"") +
           lKart + "\" pDat=\"20261210\" pCzas=\"090507\">\r\n";
  };
  EXPECT_EQ(w.plikEks("P01ABCDE.xml"), poczatek("00000001") +
                                           "  <kartaTr Status=\"1\">\r\n"
                                           "    <identTr>\r\n"
                                           "      <nrRejDat>1</nrRejDat>\r\n"
                                           "      <rejDat>20250102</rejDat>\r\n"
                                           "      <jedIO>00000123</jedIO>\r\n"
                                           "    </identTr>\r\n"
                                           "    <daneTr>\r\n"
                                           "      <kRodzTr>0101</kRodzTr>\r\n"
                                           "      <kPwz>1</kPwz>\r\n"
                                           "      <kPdjrz>0000</kPdjrz>\r\n"
                                           "      <tDat>20250101</tDat>\r\n"
                                           "    </daneTr>\r\n"
                                           "  </kartaTr>\r\n"
                                           "</wykazTr>\r\n");
  EXPECT_EQ(w.plikEks("K02ABCDE.xml"), poczatek("00000001") +
                                           "  <kartaTr Status=\"0\">\r\n"
                                           "    <identTr>\r\n"
                                           "      <nrRejDat>2</nrRejDat>\r\n"
                                           "      <rejDat>20250102</rejDat>\r\n"
                                           "      <jedIO>00000123</jedIO>\r\n"
                                           "    </identTr>\r\n"
                                           "    <daneTr>\r\n"
                                           "      <kRodzTr>0101</kRodzTr>\r\n"
                                           "      <tDat>20250101</tDat>\r\n"
                                           "    </daneTr>\r\n"
                                           "    <Beneficjent>\r\n"
                                           "      <typPdm>01</typPdm>\r\n"
                                           "      <Nz>Anna &#38; Jan</Nz>\r\n"
                                           "      <Adres>\r\n"
                                           "      </Adres>\r\n"
                                           "    </Beneficjent>\r\n"
                                           "  </kartaTr>\r\n"
                                           "</wykazTr>\r\n");
  for (const QString& f : w.pliki()) EXPECT_EQ(xmllint(w.eks() + "/" + f), 0) << f.toStdString();
  EXPECT_EQ(w.wyslan(0), 1);
  EXPECT_EQ(w.wyslan(1), 1);
}

// The number of the day is shared by the categories, goes on in the next send and in the next run,
// and belongs to the day of the file's own clock reading.
TEST(Send, NumbersOfTheDay) {
  std::vector<TRekordTransakcji> recs = trzyKategorie();
  recs.push_back(rek("6", "0201"));  // 5: G
  recs.push_back(rek("7", "0607"));  // 6: D
  recs.push_back(rek("8", "0101", 1));  // 7: Z
  Wysylka w(recs);
  w.raport();
  w.wyslij({0, 1, 2});
  EXPECT_EQ(w.pliki(), (QStringList{"B03ABCDE.txt", "P01ABCDE.txt", "W02ABCDE.txt"}));
  w.raport();
  w.wyslij({5});
  EXPECT_TRUE(w.pliki().contains("G04ABCDE.txt"));
  EXPECT_EQ(w.licznik(2026, 10, 12), 4);

  w.nowyProgram();
  w.raport();
  w.wyslij({6});
  EXPECT_TRUE(w.pliki().contains("D05ABCDE.txt")) << "a new run reads the counter file";
  EXPECT_EQ(w.licznik(2026, 10, 12), 5);

  // New Year's Eve, then the next send on 1 January: the old year's table is saved before the new
  // year's is loaded.
  w.clock.set(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
  w.raport();
  w.wyslij({3});
  EXPECT_TRUE(w.pliki().contains("W01ABCDE.txt")) << "another day's count";
  EXPECT_EQ(w.licznik(2026, 31, 12), 1);
  QFile::remove(w.np(2026));
  w.clock.set(QDateTime(QDate(2027, 1, 1), QTime(0, 0, 1)));
  w.raport();
  w.wyslij({7});
  EXPECT_TRUE(w.pliki().contains("Z01ABCDE.txt"));
  EXPECT_EQ(w.plikEks("Z01ABCDE.txt").substr(0, 16), "HE20270101000001");
  EXPECT_EQ(w.licznik(2027, 1, 1), 1);
  EXPECT_EQ(w.licznik(2026, 31, 12), 1) << "the old year's table written first";
  EXPECT_EQ(w.licznik(2026, 10, 12), 5);
}

// A send that runs over midnight: each file takes its number, its header's date and time and the
// counter it raises from one reading of the clock, so the files after midnight are the new day's.
TEST(Send, OverMidnight) {
  struct Plik {
    QString nazwa;
    const char* czas;  // yyyymmddhhnnss of its header
  };
  struct Licznik {
    int rok, dzien, miesiac, wartosc;
  };
  const struct {
    const char* name;
    QDateTime start;
    int format;
    std::optional<Licznik> wczesniej;  // the counter before the send
    std::vector<Plik> pliki;           // in the order written: P, W, B
    std::vector<Licznik> liczniki;
  } cases[] = {
      {"within the year", QDateTime(QDate(2026, 12, 10), QTime(23, 59, 59)), 0, Licznik{2026, 10, 12, 4},
       {{"P05ABCDE.txt", "20261210235959"}, {"W01ABCDE.txt", "20261211000000"}, {"B02ABCDE.txt", "20261211000001"}},
       {{2026, 10, 12, 5}, {2026, 11, 12, 2}}},
      {"into the new year", QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), 0, std::nullopt,
       {{"P01ABCDE.txt", "20261231235959"}, {"W01ABCDE.txt", "20270101000000"}, {"B02ABCDE.txt", "20270101000001"}},
       {{2026, 31, 12, 1}, {2027, 1, 1, 2}, {2026, 1, 1, 0}}},
      {"in XML", QDateTime(QDate(2026, 12, 10), QTime(23, 59, 59)), 1, std::nullopt,
       {{"P01ABCDE.xml", "20261210235959"}, {"W01ABCDE.xml", "20261211000000"}, {"B02ABCDE.xml", "20261211000001"}},
       {{2026, 10, 12, 1}, {2026, 11, 12, 2}}},
  };
  for (const auto& c : cases) {
    Wysylka w(trzyKategorie(), c.format);
    if (c.wczesniej) w.ustawLicznik(c.wczesniej->rok, c.wczesniej->dzien, c.wczesniej->miesiac, c.wczesniej->wartosc);
    w.raport();
    w.zegar.ruszOd(c.start);
    w.wyslij({0, 1, 2});
    QStringList nazwy, linie = {q("Rekordów do wysłania 3")};
    for (const Plik& f : c.pliki) {
      nazwy << f.nazwa;
      linie << "Generowanie pliku " + f.nazwa;
    }
    nazwy.sort();
    ASSERT_EQ(w.pliki(), nazwy) << c.name;
    EXPECT_EQ(w.memo(), linie + QStringList{kKoniec}) << c.name;
    for (const Plik& f : c.pliki) {
      const std::string tresc = w.plikEks(f.nazwa), czas = f.czas;
      if (c.format == 0) {
        EXPECT_EQ(tresc.substr(0, 26), "HE" + czas + "5260001246") << c.name << " " << f.nazwa.toStdString();
      } else {
        const std::string znacznik = "pDat=\"" + czas.substr(0, 8) + "\" pCzas=\"" + czas.substr(8) + "\">";
        EXPECT_NE(tresc.find(znacznik), std::string::npos) << c.name << " " << f.nazwa.toStdString() << "\n" << tresc;
      }
    }
    for (const Licznik& l : c.liczniki)
      EXPECT_EQ(w.licznik(l.rok, l.dzien, l.miesiac), l.wartosc) << c.name << " " << l.rok << "-" << l.miesiac << "-" << l.dzien;
  }
}

// A name of the day that a file already has (from an earlier day, or left by anyone) is skipped.
TEST(Send, AnExistingFileIsNeverOverwritten) {
  Wysylka w(trzyKategorie());
  w.writeFile(w.eks() + "/P01ABCDE.txt", "earlier day");
  w.writeFile(w.eks() + "/W03ABCDE.txt", "earlier day too");
  w.writeFile(w.eks() + "/W04ABCDE.xml", "another format");
  w.raport();
  w.wyslij({0, 1});
  EXPECT_EQ(w.plikEks("P01ABCDE.txt"), "earlier day");
  EXPECT_EQ(w.plikEks("W03ABCDE.txt"), "earlier day too");
  EXPECT_EQ(w.plikEks("W04ABCDE.xml"), "another format");
  EXPECT_EQ(w.plikEks("P02ABCDE.txt"), kHe + kP2 + "TR00000001\r\n");
  EXPECT_EQ(w.plikEks("W04ABCDE.txt"), kHe + kW1 + "TR00000001\r\n") << "03 taken, the counter goes on from 02";
  EXPECT_EQ(w.licznik(2026, 10, 12), 4);
  EXPECT_EQ(w.memo()[1], "Generowanie pliku P02ABCDE.txt");
}

TEST(Send, NothingChosen) {
  Wysylka w(trzyKategorie());
  w.raport();
  w.wyslij({});
  EXPECT_EQ(w.memo(), (QStringList{q("Rekordów do wysłania 0"), kKoniec}));
  EXPECT_TRUE(w.pliki().isEmpty());
  EXPECT_FALSE(QFile::exists(w.np(2026)));
}

// ---- the question about records already sent

TEST(SendQuestion, SkipGoesOnWithoutTheSentRecords) {
  // Record 0 sent before, record 1 not, both W.
  Wysylka w({rek("1", "0101", -1, "", 1, 1), rek("4", "0102")});
  const std::string przed = w.readFile(w.plik());
  w.pytanie([](TWysylka& o) { o.pomin->click(); }, "wysylka_pytanie");
  w.raport();
  w.wyslij({0, 1});
  EXPECT_EQ(w.pliki(), QStringList{"W01ABCDE.txt"});
  EXPECT_EQ(w.plikEks("W01ABCDE.txt"), kHe + kW4 + "TR00000001\r\n");
  EXPECT_EQ(w.memo(), (QStringList{q("Rekordów do wysłania 2")} + kPytanie +
                       QStringList{"Generowanie pliku W01ABCDE.txt", kKoniec}));
  EXPECT_EQ(roznica(w.readFile(w.plik()), Wysylka::oznaczone(przed, {1})), "");
  EXPECT_FALSE(w.okno().pomin->isVisible());
  EXPECT_FALSE(w.okno().Anuluj->isVisible());
}

TEST(SendQuestion, CancelAndTheCloseBoxChangeNothing) {
  const struct {
    const char* name;
    std::function<void(TWysylka&)> odpowiedz;
  } cases[] = {
      {"Anuluj", [](TWysylka& o) { o.Anuluj->click(); }},
      {"close box", [](TWysylka& o) { o.reject(); }},
  };
  for (const auto& c : cases) {
    Wysylka w({rek("1", "0101", -1, "", 1, 1), rek("4", "0102"), rek("2", "0101", 1, "0000")});
    w.ustawLicznik(2026, 10, 12, 7);
    w.writeFile(w.eks() + "/P01ABCDE.txt", "old");
    const std::string rejestr = w.readFile(w.plik()), licznik = w.readFile(w.np(2026));
    w.pytanie(c.odpowiedz);
    w.wyslij({0, 1, 2});
    EXPECT_TRUE(w.d.scriptDone()) << c.name << ": no final report";
    EXPECT_EQ(roznica(w.readFile(w.plik()), rejestr), "") << c.name;
    EXPECT_EQ(w.readFile(w.np(2026)), licznik) << c.name;
    EXPECT_EQ(w.pliki(), QStringList{"P01ABCDE.txt"}) << c.name;
    EXPECT_EQ(w.plikEks("P01ABCDE.txt"), "old") << c.name;
    EXPECT_FALSE(w.okno().isVisible()) << c.name;
    EXPECT_EQ(w.memo(), QStringList{q("Rekordów do wysłania 3")} + kPytanie) << c.name;
  }
}

TEST(SendQuestion, AllSentBeforeAndSkipped) {
  Wysylka w({rek("1", "0101", -1, "", 1, 1), rek("2", "0101", 1, "0000", 1, 2)});
  const std::string przed = w.readFile(w.plik());
  w.pytanie([](TWysylka& o) { o.pomin->click(); });
  w.raport();
  w.wyslij({0, 1});
  EXPECT_TRUE(w.pliki().isEmpty());
  EXPECT_EQ(w.memo(), QStringList{q("Rekordów do wysłania 2")} + kPytanie + QStringList{kKoniec});
  EXPECT_EQ(roznica(w.readFile(w.plik()), przed), "");
  EXPECT_FALSE(QFile::exists(w.np(2026)));
}

// ---- failures

// A report file that cannot be written leaves no trace of itself: the files before it stay whole
// and counted, its own records stay unsent and its number unused.
TEST(SendFailure, TheSecondFileFails) {
  for (auto krok : {platform::WholeFileStep::Write, platform::WholeFileStep::Flush, platform::WholeFileStep::Rename}) {
    SCOPED_TRACE(int(krok));
    Wysylka w(trzyKategorie());
    const std::string przed = w.readFile(w.plik());
    w.d.expectMessage(platform::IdOk, q("Błąd zapisu pliku ") + w.eks() + "/W02ABCDE.txt: ");
    {
      // The first report file and its counter file pass, the second report file fails.
      platform::FailWholeFileStep awaria(krok, 2);
      w.wyslij({0, 1, 2});
    }
    EXPECT_EQ(w.pliki(), QStringList{"P01ABCDE.txt"}) << "no second file, no temporary file, no third";
    EXPECT_EQ(w.plikEks("P01ABCDE.txt"), kHe + kP2 + "TR00000001\r\n");
    EXPECT_EQ(roznica(w.readFile(w.plik()), Wysylka::oznaczone(przed, {1})), "");
    EXPECT_EQ(w.licznik(2026, 10, 12), 1) << "raised once";
    EXPECT_EQ(w.d.oknoPrzyKomunikacie, std::vector<bool>{false}) << "the report hidden before the message";
    EXPECT_FALSE(w.okno().isVisible());

    // The next send takes the records left and the next number.
    w.raport();
    w.wyslij({0, 2});
    EXPECT_EQ(w.pliki(), (QStringList{"B03ABCDE.txt", "P01ABCDE.txt", "W02ABCDE.txt"}));
    EXPECT_EQ(roznica(w.readFile(w.plik()), Wysylka::oznaczone(przed, {0, 1, 2})), "");
  }
}

// Counts the dispatch report's showings.
struct Pokazania : QObject {
  int n = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Show) ++n;
    return false;
  }
};

// What is refused or cannot be read is said after the report is hidden, and nothing is written.
TEST(SendFailure, RefusalsWriteNothing) {
  const QString krotka = q("Błędna nazwa skrótowa dla nazw plików - popraw dane instytucji");
  const struct {
    const char* name;
    std::function<void(Wysylka&)> przygotuj;
    std::function<QString(Wysylka&)> komunikat;
    std::vector<std::int32_t> numery = {1, 0, 2};
    bool oknoPokazane = true;
  } cases[] = {
      {"short name with a separator", [](Wysylka& w) { w.p().firma()->nazpli->setText("A/B"); },
       [&](Wysylka&) { return krotka; }, {1, 0, 2}, false},
      {"short name with a Polish letter", [](Wysylka& w) { w.p().firma()->nazpli->setText(q("ZAŻ")); },
       [&](Wysylka&) { return krotka; }, {1, 0, 2}, false},
      {"counter file cut short", [](Wysylka& w) { w.writeFile(w.np(2026), "0123456789"); },
       [](Wysylka&) { return q("Błędny plik numeracji dziennej np2026.dat - wysłanie danych niemożliwe"); }},
      {"no register", [](Wysylka& w) { QFile::remove(w.plik()); }, [](Wysylka&) { return q("Brak pliku danych"); }},
      {"a record beyond the register", [](Wysylka&) {},
       [](Wysylka& w) { return q("Błąd odczytu pliku ") + w.plik() + q(": brak rekordu 9"); }, {1, 0, 9}},
  };
  for (const auto& c : cases) {
    Wysylka w(trzyKategorie());
    c.przygotuj(w);
    const std::string rejestr = w.readFile(w.plik()), licznik = w.readFile(w.np(2026));
    const QStringList pliki = w.pliki();
    const QString komunikat = c.komunikat(w);
    w.d.expectMessage(platform::IdOk, komunikat);
    Pokazania pokazania;
    w.okno().installEventFilter(&pokazania);
    w.wyslij(c.numery);
    w.okno().removeEventFilter(&pokazania);
    EXPECT_EQ(w.d.messages(), QStringList{komunikat}) << c.name;
    EXPECT_EQ(w.d.oknoPrzyKomunikacie, std::vector<bool>{false}) << c.name;
    EXPECT_EQ(pokazania.n > 0, c.oknoPokazane) << c.name;
    EXPECT_FALSE(w.okno().isVisible()) << c.name;
    EXPECT_EQ(roznica(w.readFile(w.plik()), rejestr), "") << c.name;
    EXPECT_EQ(w.readFile(w.np(2026)), licznik) << c.name;
    EXPECT_EQ(w.pliki(), pliki) << c.name;
    EXPECT_EQ(QFile::exists(w.plik()), !rejestr.empty()) << c.name << ": the register is never created";
  }
}

// A day without a free number of the day stops the send at that file: the refusal is said with
// the report hidden, and the report then comes up as after a full send, listing the files that
// were written before the refusal.
TEST(SendFailure, NoNumberLeftEndsWithTheFinalReport) {
  const QString pelny = q("Brak wolnego numeru pliku na dziś (01-99) - pozostałe rekordy nie zostały wysłane");
  const struct {
    const char* name;
    int licznik;
    QStringList zajete;     // files already in the export folder
    QStringList zapisane;   // the memo's lines of the files written
    std::vector<int> oznaczone;
  } cases[] = {
      {"day full", 99, {}, {}, {}},
      {"a damaged counter at the largest 32-bit number", 2147483647, {}, {}, {}},
      {"last number taken", 98, {"P99ABCDE.txt"}, {}, {}},
      {"part-way", 97, {}, {"P98ABCDE.txt", "W99ABCDE.txt"}, {1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Wysylka w(trzyKategorie());
    w.ustawLicznik(2026, 10, 12, c.licznik);
    for (const QString& f : c.zajete) w.writeFile(w.eks() + "/" + f, "old");
    const std::string przed = w.readFile(w.plik());
    w.d.expectMessage(platform::IdOk, pelny);
    QStringList memo;
    w.d.expectModal("Wysylka", [&](platform::ModalForm& f) {
      auto& o = static_cast<TWysylka&>(f);
      memo = o.Pliki->toPlainText().split('\n');
      EXPECT_TRUE(o.Wyslij->isVisible());
      EXPECT_FALSE(o.pomin->isVisible());
      EXPECT_FALSE(o.Anuluj->isVisible());
      if (!c.zapisane.isEmpty()) {
        EXPECT_GT(testing_world::renderWindow(o, "wysylka-brak-numeru"), 2);
      }
      o.Wyslij->click();
      return platform::mrNone;
    });
    w.wyslij({1, 0, 2});
    EXPECT_TRUE(w.d.scriptDone()) << "the refusal, then the final report";
    EXPECT_EQ(w.d.oknoPrzyKomunikacie, std::vector<bool>{false}) << "the report hidden for the refusal";
    QStringList oczekiwane{q("Rekordów do wysłania 3")};
    for (const QString& f : c.zapisane) oczekiwane << q("Generowanie pliku ") + f;
    EXPECT_EQ(memo, oczekiwane + QStringList{kKoniec});
    EXPECT_EQ(w.pliki(), (c.zajete + c.zapisane));
    std::string po = przed;
    for (int n : c.oznaczone) po = Wysylka::oznaczone(po, {n});
    EXPECT_EQ(roznica(w.readFile(w.plik()), po), "") << "the records of the files written are marked, no others";
    EXPECT_EQ(w.licznik(2026, 10, 12), c.zapisane.isEmpty() ? c.licznik : 99);
    EXPECT_FALSE(w.okno().isVisible());
  }
}

// ---- the main window's commands

TEST(SendCommands, EachCommandReachesTheSend) {
  // 0 W, 1 and 2 one card (P and B), 3 G.
  std::vector<TRekordTransakcji> recs = {rek("1", "0101"), rek("2", "0101", 1, "0000"), rek("3", "0501"), rek("6", "0201")};
  recs[0].nrEwT = "A";
  recs[1].nrEwT = recs[2].nrEwT = "B";
  recs[3].nrEwT = "C";
  Wysylka w(recs);
  TglownyForm& g = *w.p().glowny();
  ASSERT_TRUE(bool(g.generujPliki));
  for (QAction* a : {g.Tylkowybrane2, g.Wybranezpowizanymi2, g.Niewysane1}) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  EXPECT_TRUE(g.Wyslij->isEnabled());
  EXPECT_TRUE(g.Wysaniekart1->menuAction()->isEnabled());
  ASSERT_EQ(g.lista->RowCount(), 4);
  auto wiersz = [&](std::int32_t nr) {
    for (int r = 0; r < g.lista->RowCount(); ++r)
      if (g.lista->Cells(w.p().ukladListy.kolumnaLp(), r) == std::to_string(nr + 1)) return r;
    ADD_FAILURE() << "no row shows record " << nr;
    return 0;
  };

  g.lista->SetDataRow(wiersz(0));
  w.raport();
  g.Wyslij->click();
  EXPECT_EQ(w.pliki(), QStringList{"W01ABCDE.txt"});

  g.lista->SetDataRow(wiersz(2));
  w.raport();
  g.Wybranezpowizanymi2->trigger();
  const QStringList trzy = {"B03ABCDE.txt", "P02ABCDE.txt", "W01ABCDE.txt"};
  EXPECT_EQ(w.pliki(), trzy) << "the card's two records";

  w.raport();
  g.Niewysane1->trigger();
  EXPECT_TRUE(w.pliki().contains("G04ABCDE.txt"));
  for (int n = 0; n < 4; ++n) EXPECT_EQ(w.wyslan(n), 1) << n;

  g.lista->SetDataRow(wiersz(3));
  w.pytanie([](TWysylka& o) { o.Anuluj->click(); });
  g.Tylkowybrane2->trigger();
  EXPECT_EQ(w.pliki().size(), 4);
}

}  // namespace
