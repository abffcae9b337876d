// Export of chosen rows and import of report files through the main window's commands: the
// export's files compared whole with bytes written from the layouts, its rows, names and
// refusals; the round trip of exported and sent files back into the register; the import's
// refusals, its file types, and all or nothing in transak.dat and the list.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <random>
#include <memory>

#include "platform/cp1250.h"
#include "platform/registry.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/wysylka.h"
#include "reports/eksport.h"
#include "reports/generujpliki.h"
#include "reports/import.h"
#include "settings/firmaform.h"
#include "support/filesizelimit.h"
#include "../register/swiatrejestru.h"

using namespace zelt;

namespace {

using R = TRekordTransakcji;

QString q(const char* utf8) { return QString::fromUtf8(utf8); }
std::string w(const char* utf8) { return cp1250::fromUtf8(utf8); }

constexpr double k20250101 = 45658, k20250102 = 45659, k20261210 = 46366;  // days since 1899-12-30
constexpr auto HKCU = platform::RegRoot::CurrentUser;

// A started program over a register of the given records, signed in, the institution's NIP set.
struct Wymiana : swiat::SwiatRejestru {
  Program* p = nullptr;

  explicit Wymiana(const std::vector<R>& recs, const char* nip = "5260001246", bool zPlikiem = true) {
    dialogs.onFailure = [](const QString& why) { ADD_FAILURE() << why.toStdString(); };
    clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)));
    if (zPlikiem) zapisz(recs);
    p = &uruchomiony();
    p->firma()->NIPIO->setText(nip);
    QDir().mkpath(eks());
  }
  ~Wymiana() {
    if (!dialogs.scriptDone()) ADD_FAILURE() << "dialogs expected by the test were not shown";
  }
  TglownyForm& g() { return *p->glowny(); }
  kgrid::TKStringGrid& lista() { return *g().lista; }
  QString eks() const { return documents() + "/ZELT/Przekaz"; }
  // Rows first..last chosen, as Shift+Down does.
  void wybierz(int first, int last) {
    lista().SetDataRow(first);
    for (int r = first + 1; r <= last; ++r) lista().MoveCurrent(0, r + 1, false);
  }
  void eksportuj(const QString& nazwa, int filtr) {
    dialogs.expectSaveFile(nazwa, filtr);
    g().ExpMenClick();
  }
  // With the message that the import is expected to show, if any.
  void importuj(const QString& plik, const QString& komunikat = {}) {
    dialogs.expectOpenFile(plik);
    if (!komunikat.isEmpty()) dialogs.expectMessage(platform::IdOk, komunikat);
    g().ImpMenClick();
  }
  // The Lp texts of the list's rows.
  std::vector<std::string> lp() {
    std::vector<std::string> out;
    for (int r = 0; r < lista().RowCount(); ++r) out.push_back(lista().Cells(p->ukladListy.kolumnaLp(), r));
    return out;
  }
};

R prosty(const char* nrRejDat, double rejDat, const char* jedIO, int Status) {
  R r;
  r.nrRejDat = nrRejDat;
  r.rejDat = rejDat;
  r.jedIO = jedIO;
  r.Status = Status;
  r.tDat = rejDat;
  return r;
}

// ---- export

TEST(ExportFile, TwoRecordsAreWholeFilesBuiltByHand) {
  R b = prosty("12", k20250101, "5", 0);
  b.nrEwT = "ABC";
  b.kRodzTr = "0101";
  Wymiana s({prosty("7", k20250102, "123", 1), b});
  const std::string rejestr = s.readFile(s.plik());
  s.wybierz(0, 1);

  s.eksportuj(s.eks() + "/wykaz", 1);
  const auto& zadanie = s.dialogs.shown().back().request;
  EXPECT_EQ(zadanie.caption, "Katalog eksportu");
  EXPECT_EQ(zadanie.filter, "Plik tekstowy (*.txt);;Plik xml (*.xml)");
  EXPECT_EQ(zadanie.filterIndex, 2) << "XML chosen when the dialog opens";
  EXPECT_EQ(zadanie.folder, s.p->KatEks) << "no export folder of the institution";
  EXPECT_EQ(s.readFile(s.eks() + "/wykaz.txt"),
            "HE20261210090507" "5260001246\r\n"
            "DA;02:           7;03:20250102;04:00000123;05:1;\r\n"
            "DA;01:0000000000000000000000ABC;02:          12;03:20250101;04:00000005;05:0;06:0101;11:20250101;\r\n"
            "TR00000002\r\n");

  s.p->firma()->ekspdir = s.root() + "/eksport";
  QDir().mkpath(s.p->firma()->ekspdir);
  s.eksportuj(s.eks() + "/wykaz", 2);
  EXPECT_EQ(s.dialogs.shown().back().request.folder, s.root() + "/eksport") << "the institution's export folder";
  EXPECT_EQ(s.readFile(s.eks() + "/wykaz.xml"),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>\r\n"
            "<wykazTr xmlns:xsd=\"http://www.w3.org/2001/XMLSchema-instance \" NipIO=\"5260001246\" "
            "lKart=\"00000002\" pDat=\"20261210\" pCzas=\"090507\">\r\n"
            "  <kartaTr Status=\"1\">\r\n"
            "    <identTr>\r\n"
            "      <nrRejDat>7</nrRejDat>\r\n"
            "      <rejDat>20250102</rejDat>\r\n"
            "      <jedIO>00000123</jedIO>\r\n"
            "    </identTr>\r\n"
            "  </kartaTr>\r\n"
            "  <kartaTr Status=\"0\">\r\n"
            "    <identTr>\r\n"
            "      <nrEwT>0000000000000000000000ABC</nrEwT>\r\n"
            "      <nrRejDat>12</nrRejDat>\r\n"
            "      <rejDat>20250101</rejDat>\r\n"
            "      <jedIO>00000005</jedIO>\r\n"
            "    </identTr>\r\n"
            "    <daneTr>\r\n"
            "      <kRodzTr>0101</kRodzTr>\r\n"
            "      <tDat>20250101</tDat>\r\n"
            "    </daneTr>\r\n"
            "  </kartaTr>\r\n"
            "</wykazTr>\r\n");
  EXPECT_EQ(s.readFile(s.plik()), rejestr) << "no count of a record changes";
  EXPECT_EQ(QDir(s.baza()).entryList({"np*.dat"}, QDir::Files), QStringList()) << "no number of the day is used";
}

TEST(ExportCommand, RowsNamesAndRefusals) {
  std::vector<R> recs;
  for (int i = 0; i < 6; ++i) recs.push_back(prosty(std::to_string(i + 1).c_str(), k20250102, "1", 1));
  const QString brak = q("Wskazany plik jest plikiem danych programu - wybierz inną nazwę");
  struct C {
    const char* nazwa;
    std::function<void(Wymiana&)> przygotuj;  // rows chosen and anything else before the command
    std::function<QString(Wymiana&)> cel;     // the name the user gives; empty: the dialog cancelled
    int filtr;
    QString komunikat;                         // the message expected, if any
    std::function<QString(Wymiana&)> plik;     // the file expected; empty: none written
    std::vector<std::string> numery;           // the registration numbers in it
  } cases[] = {
      {"one row: the current one", [](Wymiana& s) { s.lista().SetDataRow(2); },
       [](Wymiana& s) { return s.eks() + "/jeden"; }, 1, {}, [](Wymiana& s) { return s.eks() + "/jeden.txt"; }, {"3"}},
      {"five rows", [](Wymiana& s) { s.wybierz(1, 5); }, [](Wymiana& s) { return s.eks() + "/piec.xml"; }, 2, {},
       [](Wymiana& s) { return s.eks() + "/piec.xml"; }, {"2", "3", "4", "5", "6"}},
      {"a name with an extension keeps it", [](Wymiana&) {}, [](Wymiana& s) { return s.eks() + "/wykaz.dat"; }, 1, {},
       [](Wymiana& s) { return s.eks() + "/wykaz.dat"; }, {"1"}},
      {"a name without one takes the filter's", [](Wymiana&) {}, [](Wymiana& s) { return s.eks() + "/wykaz"; }, 2,
       {}, [](Wymiana& s) { return s.eks() + "/wykaz.xml"; }, {"1"}},
      {"a row whose Lp is no number is left out", [](Wymiana& s) {
         s.wybierz(0, 1);
         s.lista().SetCells(s.p->ukladListy.kolumnaLp(), 0, "x");
       },
       [](Wymiana& s) { return s.eks() + "/lp.txt"; }, 1, {}, [](Wymiana& s) { return s.eks() + "/lp.txt"; }, {"2"}},
      {"cancelled", [](Wymiana&) {}, [](Wymiana&) { return QString(); }, 1, {}, {}, {}},
      {"transak.dat refused", [](Wymiana&) {}, [](Wymiana& s) { return s.plik(); }, 1, brak, {}, {}},
      {"transak.dat by another path refused", [](Wymiana&) {},
       [](Wymiana& s) { return s.baza() + "/../Baza/transak.dat"; }, 2, brak, {}, {}},
      {"a link to transak.dat refused",
       [](Wymiana& s) { QFile::link(s.plik(), s.eks() + "/link.txt"); },
       [](Wymiana& s) { return s.eks() + "/link.txt"; }, 1, brak, {}, {}},
      {"a daily counter file refused", [](Wymiana&) {}, [](Wymiana& s) { return s.baza() + "/np2027.dat"; }, 1, brak,
       {}, {}},
      {"the parties file refused", [](Wymiana&) {}, [](Wymiana& s) { return s.p->KatPod + "/klienci.dat"; }, 1, brak,
       {}, {}},
      {"the settings export's name takes an extension", [](Wymiana&) {},
       [](Wymiana& s) { return s.baza() + "/konfig"; }, 2, {}, [](Wymiana& s) { return s.baza() + "/konfig.xml"; },
       {"1"}},
      {"the registry store refused", [](Wymiana&) {}, [](Wymiana& s) { return s.registryFile(); }, 1, brak, {}, {}},
      {"transak.dat missing", [](Wymiana& s) { QFile::remove(s.plik()); },
       [](Wymiana& s) { return s.eks() + "/brak.txt"; }, 1, "Brak pliku danych", {}, {}},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.nazwa);
    Wymiana s(recs);
    c.przygotuj(s);
    const std::string rejestr = s.readFile(s.plik());
    const QStringList przed = QDir(s.eks()).entryList(QDir::Files);
    const QString cel = c.cel(s);
    s.dialogs.expectSaveFile(cel.isEmpty() ? std::nullopt : std::optional<QString>(cel), c.filtr);
    if (!c.komunikat.isEmpty()) s.dialogs.expectMessage(platform::IdOk, c.komunikat);
    s.g().ExpMenClick();
    EXPECT_EQ(s.readFile(s.plik()), rejestr);
    if (!c.plik) {
      EXPECT_EQ(QDir(s.eks()).entryList(QDir::Files), przed);
      continue;
    }
    const std::string f = s.readFile(c.plik(s));
    const bool xml = c.filtr == 2;
    // The registration numbers the file carries, in order, and its count.
    std::vector<std::string> numery;
    const std::string znacznik = xml ? "<nrRejDat>" : ";02:";
    for (std::size_t p = f.find(znacznik); p != std::string::npos; p = f.find(znacznik, p + 1)) {
      std::string n = f.substr(p + znacznik.size(), f.find_first_of("<;", p + znacznik.size()) - p - znacznik.size());
      n.erase(0, n.find_first_not_of(' '));
      numery.push_back(n);
    }
    EXPECT_EQ(numery, c.numery);
    const std::string ilosc = std::string(8 - std::to_string(c.numery.size()).size(), '0') + std::to_string(c.numery.size());
    EXPECT_NE(f.find(xml ? "lKart=\"" + ilosc + "\"" : "TR" + ilosc + "\r\n"), std::string::npos) << ilosc;
  }
}

TEST(ExportCommand, NothingWithAnEmptyList) {
  Wymiana s({});
  EXPECT_FALSE(s.g().ExpMen->isEnabled());
  s.g().ExpMenClick();  // no dialog expected
  EXPECT_TRUE(QDir(s.eks()).entryList(QDir::Files).isEmpty());
}

// ---- round trip

// Every kind of field: Polish letters in converted and raw fields, & and < in names, the code
// indexes at the lists' ends, every remark slot; and a record without parties.
std::vector<R> bogate() {
  R a;
  a.nrEwT = "0000000000000000000000042";
  a.nrRejDat = "3";
  a.rejDat = k20250102;
  a.jedIO = "00000017";
  a.Status = 1;
  a.kRodzTr = "0101";
  a.kPwz = 0;
  a.spDysp = 5;
  a.nrDokT = w("Ż-ą&<");
  a.tDat = k20250101;
  a.tM = w("Łódź Śląsk");
  a.tKw = w("1ąż");
  a.tJ = "PLN";
  a.tKwZ = "12,5";
  a.tJZ = "EUR";
  a.zTypPo = 0;
  a.zNz = w("Żółć & <Gęślą> jaźń");
  a.zObyw = "PL";
  a.zAdrKr = "DE";
  a.zAdrKod = w("ĄĆ-ŹŻ");
  a.zAdrM = w("Zażółć");
  a.zAdrUl = w("Świętokrzyska 1/2");
  a.zNrPes = "44051401359";
  a.zNrReg = "123456785";
  a.zNrReS = "0000012345";
  a.zNrSwt = "BPKOPLPW";
  a.zNip = "5260001246";
  a.zRodzDokTo = 5;  // the last item, "KC"
  a.zNrDokTo = w("ŚĆ123ąę");
  a.pTypPo = 22;  // the last party type
  a.pNz = w("Spółka & <syn>");
  a.pAdrKr = "FR";
  a.pAdrKod = "75001";
  a.pAdrM = w("Paryż");
  a.pAdrUl = "Rue 3";
  a.bTypPo = 22;
  a.bNz = "Bank";
  a.bAdrKr = "CZ";
  a.bAdrKod = "11000";
  a.bAdrM = "Praha";
  a.bAdrUl = w("Václavské");
  a.nrRachZ = w("PL61ąę");
  a.nrRachN = "DE89370400440532013000";
  a.uwInne = "13:kwota";
  a.uwkRodzTr = w("rodzaj ą");
  a.uwkPwz = "pwz";
  a.uwkPdjrz = "pdjrz";
  a.uwspDysp = "sposob";
  a.uwzTypPo = "typ z";
  a.uwzObyw = "obywatelstwo";
  a.uwzRodzDokTo = "dokument";
  a.uwpTypPo = w("typ w imieniu ż");
  a.uwbTypPo = std::string(126, 'b') + "\xB9";  // 127 characters, its room
  a.ilWydrukow = 2;
  a.ilOstrzezen = 1;
  a.ilBledow = 3;
  a.Wprow = w("Jan;Kowalski;Inspektor");

  R b;
  b.nrEwT = "0000000000000000000000043";
  b.nrRejDat = "999";
  b.rejDat = k20261210;
  b.jedIO = "00000001";
  b.Status = 1;
  b.kRodzTr = "0102";
  b.kPwz = 0;
  b.spDysp = 0;
  b.tDat = k20261210;
  b.tKw = "1";
  return {a, b};
}

// What comes back: the fields outside the layout take the cleared record's values.
R poImporcie(R r, bool txt) {
  r.ilWydrukow = r.ilOstrzezen = r.ilBledow = r.ilWyslan = 0;
  r.Wprow.clear();
  if (txt) r.nrRejDat = std::string(12 - r.nrRejDat.size(), ' ') + r.nrRejDat;  // the alignment's blanks stay
  return r;
}

void porownaj(const std::vector<R>& jest, const std::vector<R>& ma, const char* co) {
  ASSERT_EQ(jest.size(), ma.size()) << co;
  for (std::size_t i = 0; i < ma.size(); ++i)
    for (const auto& pole : polaTekstowe())
      EXPECT_EQ(jest[i].*(pole.text), ma[i].*(pole.text)) << co << " record " << i << " " << pole.name;
  for (std::size_t i = 0; i < ma.size(); ++i) EXPECT_TRUE(jest[i] == ma[i]) << co << " record " << i;
}

TEST(RoundTrip, ExportedFilesComeBack) {
  for (const int filtr : {1, 2}) {
    SCOPED_TRACE(filtr == 1 ? "TXT" : "XML");
    const auto zrodlo = bogate();
    Wymiana s(zrodlo);
    s.wybierz(0, 1);
    s.eksportuj(s.eks() + "/wykaz", filtr);
    const QString plik = s.eks() + (filtr == 1 ? "/wykaz.txt" : "/wykaz.xml");
    s.importuj(plik);
    const auto wszystkie = s.rekordy();
    ASSERT_EQ(wszystkie.size(), 4u);
    porownaj({wszystkie[2], wszystkie[3]}, {poImporcie(zrodlo[0], filtr == 1), poImporcie(zrodlo[1], filtr == 1)},
             "export");
    EXPECT_EQ(s.lp(), (std::vector<std::string>{"1", "2", "3", "4"}));
    s.lista().SetDataRow(2);
    EXPECT_GT(testing_world::renderWindow(s.g(), filtr == 1 ? "import_txt" : "import_xml"), 2);
  }
}

TEST(RoundTrip, LettersBeyondTheEighteenSeparatorsAndAGeneralRemarkThatReadsAsAFields) {
  R a = prosty("4", k20250102, "00000001", 1);
  a.kRodzTr = "0101";
  a.tM = w("Košice; Ťahanovce");
  a.tKw = w("1;5 Ľ±");  // raw: its Windows-1250 bytes stay
  a.zTypPo = 1;
  a.zNz = w("Šimon Žák");
  a.zAdrM = w("Košice");
  a.zAdrUl = w("Štúrova [1]");
  a.nrRachZ = w("ľš");
  a.uwInne = w("06:ogólna");
  a.uwkRodzTr = "z pola 06";
  a.uwzObyw = w("[Ľudovít]; Žilina");
  for (const int filtr : {1, 2}) {
    const bool txt = filtr == 1;
    SCOPED_TRACE(txt ? "TXT" : "XML");
    Wymiana s({a});
    s.wybierz(0, 0);
    s.eksportuj(s.eks() + "/wykaz", filtr);
    s.importuj(s.eks() + (txt ? "/wykaz.txt" : "/wykaz.xml"));  // no message: not refused
    const auto wszystkie = s.rekordy();
    ASSERT_EQ(wszystkie.size(), 2u);
    // What was typed comes back, but for the separators that the files cannot carry: a TXT
    // value's ";" as ",", a remark's brackets as parentheses.
    R ma = poImporcie(a, txt);
    if (txt) {
      ma.tM = w("Košice, Ťahanovce");
      ma.tKw = w("1,5 Ľ±");
      ma.uwzObyw = w("(Ľudovít), Žilina");
    } else {
      ma.uwzObyw = w("(Ľudovít); Žilina");
    }
    porownaj({wszystkie[1]}, {ma}, "export");
    EXPECT_EQ(wszystkie[0].uwzObyw, a.uwzObyw) << "the register keeps what was typed";
  }
}

TEST(RoundTrip, SentFilesComeBack) {
  for (const int format : {0, 1}) {
    SCOPED_TRACE(format == 0 ? "TXT" : "XML");
    const auto zrodlo = bogate();
    Wymiana s(zrodlo);
    const std::string konfig = platform::regPath(platform::RegistryStore::kProgramKey, "Konfig\\");
    s.reg().writeString(HKCU, konfig, "xsi:schemaLocation", "http://zelt.invalid/ wykaz.xsd");
    s.reg().writeString(HKCU, konfig, "xmlns", "http://zelt.invalid/");
    s.reg().writeString(HKCU, konfig, "xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
    s.p->firma()->nazpli->setText("ABCDE");
    s.p->firma()->setFormatItemIndex(format);
    s.dialogs.expectModal("Wysylka", [](platform::ModalForm& f) {
      static_cast<TWysylka&>(f).Wyslij->click();
      return platform::mrNone;
    });
    s.wybierz(0, 1);
    s.g().WyslijClick();
    const QStringList pliki = QDir(s.eks()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(pliki, QStringList{format == 0 ? "W01ABCDE.txt" : "W01ABCDE.xml"});
    if (format == 1) {
      const std::string f = s.readFile(s.eks() + "/" + pliki[0]);
      EXPECT_NE(f.find("xsi:schemaLocation=\"http://zelt.invalid/ wykaz.xsd\"\r\n"), std::string::npos);
    }
    s.importuj(s.eks() + "/" + pliki[0]);
    const auto wszystkie = s.rekordy();
    ASSERT_EQ(wszystkie.size(), 4u);
    porownaj({wszystkie[2], wszystkie[3]}, {poImporcie(zrodlo[0], format == 0), poImporcie(zrodlo[1], format == 0)},
             "send");
    EXPECT_EQ(wszystkie[0].ilWyslan, 1) << "the sent record is marked";
    EXPECT_EQ(wszystkie[2].ilWyslan, 0) << "its import is not";
  }
}

// ---- import

const std::string kNaglowek = "HE20261210090507" "5260001246\r\n";

// 999 good record lines.
std::string tysiac() {
  std::string out;
  for (int i = 1; i < 1000; ++i) out += "DA;02:" + std::to_string(i) + ";03:20250102;\r\n";
  return out;
}

TEST(ImportCommand, RefusedFilesLeaveTheRegisterAndTheList) {
  const QString skladnia = q("Błędna składnia pliku"), inna = q("Dane nie dotyczą tej instytucji obowiązanej");
  const struct {
    const char* nazwa;
    const char* plik;
    std::string tresc;
    QString komunikat;
  } cases[] = {
      {"first line not HE", "a.txt", "XX\r\nDA;02:1;\r\nTR00000001\r\n", skladnia},
      {"another NIP", "a.txt", "HE20261210090507" "5260001247\r\nDA;02:1;\r\n", inna},
      {"XML: another NIP", "a.xml", "<wykazTr NipIO=\"1\">\r\n<kartaTr Status=\"1\">\r\n</kartaTr>\r\n", inna},
      {"XML: no NipIO", "a.xml", "<wykazTr>\r\n<kartaTr Status=\"1\">\r\n</kartaTr>\r\n", skladnia},
      {"no extension", "wykaz", kNaglowek + "DA;02:1;\r\n",
       q("Nieznany rodzaj pliku - import możliwy z plików txt i xml")},
      {"another extension", "wykaz.dat", kNaglowek + "DA;02:1;\r\n",
       q("Nieznany rodzaj pliku - import możliwy z plików txt i xml")},
      {"an error in record 1000 of 1000", "a.txt", kNaglowek + tysiac() + "DA;02:1000;05:x;\r\nTR00001000\r\n",
       q("'x' is not a valid integer value")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    Wymiana s({prosty("1", k20250102, "1", 1)});
    const std::string rejestr = s.readFile(s.plik());
    const QString sciezka = s.root() + "/" + c.plik;
    s.writeFile(sciezka, c.tresc);
    s.importuj(sciezka, c.komunikat);
    EXPECT_EQ(s.readFile(s.plik()), rejestr);
    EXPECT_EQ(s.lp(), std::vector<std::string>{"1"});
  }
  // A file that is not there: the system's reason, nothing appended.
  Wymiana s({prosty("1", k20250102, "1", 1)});
  s.importuj(s.root() + "/nie.txt", s.root() + "/nie.txt");
  EXPECT_EQ(s.rekordy().size(), 1u);
}

TEST(ImportCommand, NamesAndNipsThatImport) {
  const struct {
    const char* nazwa;
    const char* folder;
    const char* plik;
    const char* nip;
  } cases[] = {
      {"a folder with a dot", "jan.kowalski", "wykaz.txt", "5260001246"},
      {"upper case", "x", "WYKAZ.TXT", "5260001246"},
      {"a 9-character NIP", "x", "a.xml", "526000124"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.nazwa);
    Wymiana s({prosty("1", k20250102, "1", 1)}, c.nip);
    const QString sciezka = s.root() + "/" + c.folder + "/" + c.plik;
    QDir().mkpath(s.root() + "/" + c.folder);
    s.writeFile(sciezka, QString(c.plik).endsWith(".xml")
                             ? "<wykazTr NipIO=\"" + std::string(c.nip) +
                                   "\">\r\n<kartaTr Status=\"1\">\r\n<identTr>\r\n<nrRejDat>2</nrRejDat>\r\n</identTr>\r\n"
                                   "</kartaTr>\r\n</wykazTr>\r\n"
                             : "HE20261210090507" + std::string(c.nip) + "\r\nDA;02:2;\r\nTR00000001\r\n");
    s.importuj(sciezka);
    const auto r = s.rekordy();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1].nrRejDat, "2");
    EXPECT_EQ(s.lp(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(s.dialogs.shown().back().request.folder, s.p->KatEks);
    EXPECT_EQ(s.dialogs.shown().back().text, "Import danych");
  }
}

TEST(ImportCommand, DeletedRecordsAreStoredWithoutARow) {
  Wymiana s({prosty("1", k20250102, "1", 1)});
  s.writeFile(s.root() + "/a.txt", kNaglowek + "DA;02:2;05:99;\r\nDA;02:3;05:1;\r\nTR00000002\r\n");
  s.importuj(s.root() + "/a.txt");
  const auto r = s.rekordy();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[1].Status, 99);
  EXPECT_EQ(s.lp(), (std::vector<std::string>{"1", "3"}));
  s.lista().SetDataRow(1);
  EXPECT_GT(testing_world::renderWindow(s.g(), "import_lista"), 2);
}

TEST(ImportCommand, AllOrNothing) {
  // A full disk on the third record: the register goes back to its length, its partial last
  // record included, and no row is added.
  {
    Wymiana s({prosty("1", k20250102, "1", 1)});
    std::string rejestr = s.readFile(s.plik()) + "tail";
    s.writeFile(s.plik(), rejestr);
    s.writeFile(s.root() + "/a.txt", kNaglowek + "DA;02:2;\r\nDA;02:3;\r\nDA;02:4;\r\nTR00000003\r\n");
    s.dialogs.expectOpenFile(s.root() + "/a.txt");
    s.dialogs.expectMessage(platform::IdOk, q("Błąd zapisu pliku"));
    {
      testing_world::FileSizeLimit pelny(rejestr.size() + 2 * R::kSize);
      s.g().ImpMenClick();
    }
    EXPECT_EQ(s.readFile(s.plik()), rejestr);
    EXPECT_EQ(s.lp(), std::vector<std::string>{"1"});
    // With room, the same file goes in whole over the partial record.
    s.importuj(s.root() + "/a.txt");
    EXPECT_EQ(s.readFile(s.plik()).size(), 4 * R::kSize);
    EXPECT_EQ(s.lp(), (std::vector<std::string>{"1", "2", "3", "4"}));
  }
  // No transak.dat: a file without records creates none; one with records creates it, and the
  // commands on rows come on.
  {
    Wymiana s({}, "5260001246", false);
    EXPECT_FALSE(QFile::exists(s.plik()));
    EXPECT_FALSE(s.g().Edytuj->isEnabled());
    s.writeFile(s.root() + "/0.txt", kNaglowek + "TR00000000\r\n");
    s.importuj(s.root() + "/0.txt");
    EXPECT_FALSE(QFile::exists(s.plik()));
    s.writeFile(s.root() + "/1.txt", kNaglowek + "DA;02:2;\r\nTR00000001\r\n");
    s.importuj(s.root() + "/1.txt");
    ASSERT_EQ(s.rekordy().size(), 1u);
    EXPECT_EQ(s.lp(), std::vector<std::string>{"1"});
    EXPECT_TRUE(s.g().Edytuj->isEnabled());
    EXPECT_TRUE(s.g().ExpMen->isEnabled());
    EXPECT_TRUE(s.g().ImpMen->isEnabled());
  }
}

TEST(ImportCommand, ARegisterThatWillNotOpen) {
  // Something that is there but no file (it is never created over): its error, no row.
  Wymiana s({prosty("1", k20250102, "1", 1)});
  QFile::remove(s.plik());
  QDir().mkpath(s.plik());
  s.writeFile(s.root() + "/1.txt", kNaglowek + "DA;02:2;\r\nTR00000001\r\n");
  s.importuj(s.root() + "/1.txt", q("Nie można otworzyć pliku rejestru transak.dat"));
  EXPECT_TRUE(QFileInfo(s.plik()).isDir());
  EXPECT_EQ(s.lp(), std::vector<std::string>{"1"});
}

// Cut and damaged files through the whole command: never a crash or a hang, and the register
// either as it was or with whole records added after it, one row for each live one.
TEST(ImportCommand, DamagedFilesLeaveTheRegisterWhole) {
  const std::string txt = kNaglowek + "DA;01:1;02:7;03:20250102;05:1;17:02;18:A&B;29:DO;45:[06:x][u];\r\n"
                                      "DA;02:8;05:99;\r\nTR00000002\r\n";
  const std::string xml = "<wykazTr NipIO=\"5260001246\">\r\n  <kartaTr Status=\"1\">\r\n    <Dysponent>\r\n"
                          "      <Nz>&#177;&#38;</Nz>\r\n      <rodzDokTo Rodz=\"PA\"></rodzDokTo>\r\n    </Dysponent>\r\n"
                          "    <Uwagi>[37:y]</Uwagi>\r\n  </kartaTr>\r\n</wykazTr>\r\n";
  Wymiana s({prosty("1", k20250102, "1", 1)});
  std::mt19937 los(26);
  std::string przed = s.readFile(s.plik());
  int wiersze = s.lista().RowCount();
  for (const bool czyXml : {false, true}) {
    const std::string& f = czyXml ? xml : txt;
    const QString sciezka = s.root() + (czyXml ? "/d.xml" : "/d.txt");
    std::vector<std::string> wersje;
    for (std::size_t n = 0; n <= f.size(); n += 7) wersje.push_back(f.substr(0, n));
    for (int i = 0; i < 150; ++i) {
      std::string z = f;
      for (int k = 0; k < 3; ++k) z[los() % z.size()] = static_cast<char>(los() % 256);
      wersje.push_back(z);
    }
    for (const std::string& w : wersje) {
      s.writeFile(sciezka, w);
      s.dialogs.clear();
      s.dialogs.expectOpenFile(sciezka).expectMessage();
      s.g().ImpMenClick();
      const std::string po = s.readFile(s.plik());
      ASSERT_EQ(po.compare(0, przed.size(), przed), 0) << "the register before the import changed";
      ASSERT_EQ((po.size() - przed.size()) % R::kSize, 0u) << "a part of a record was added";
      int zywe = 0;
      for (std::size_t o = przed.size(); o < po.size(); o += R::kSize) zywe += !R::decode(po.data() + o).deleted();
      ASSERT_EQ(s.lista().RowCount(), wiersze + zywe);
      przed = po;
      wiersze = s.lista().RowCount();
    }
  }
  s.dialogs.clear();  // a file that went in leaves its message unasked
  EXPECT_GT(s.rekordy().size(), 20u) << "some of the files went in";
}

}  // namespace
