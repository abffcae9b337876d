// The parties file klienci.dat and the parties list over it: numbering, in-place edits, deleting
// by the type bytes alone, the filters, the files the list meets, the record limit, an empty
// list, and the list's two showings.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QResizeEvent>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "settings/plikpodmiotow.h"
#include "settings/podmiotform.h"
#include "support/smallfs.h"
#include "support/world.h"

using testing_world::World;
using zelt::PlikPodmiotow;
using zelt::TPodmiotForm;
using zelt::TRekordPodmiotu;

namespace {

constexpr qint64 kRec = TRekordPodmiotu::kSize;

TRekordPodmiotu podmiot(const char* nz, const char* nip = "", const char* m = "", const char* ul = "") {
  TRekordPodmiotu r;
  r.TypPo = 1;
  r.Nz = cp1250::fromUtf8(nz);
  r.Nip = nip;
  r.AdrM = cp1250::fromUtf8(m);
  r.AdrUl = cp1250::fromUtf8(ul);
  r.Obyw = "PL";
  return r;
}

// A world with a data folder, the parties folder setting empty, and the list created over it.
struct ListaWorld : World {
  ListaWorld(const std::vector<TRekordPodmiotu>& zapisane = {}) {
    QDir().mkpath(path("dane"));
    auto& p = program();
    p.KatDan = path("dane");
    p.KatPod = "";
    if (!zapisane.empty()) {
      std::string b;
      for (const auto& r : zapisane) {
        const auto e = r.encode();
        b.append(e.data(), e.size());
      }
      writeFile(klienci(), b);
    }
  }
  QString klienci() const { return path("dane/klienci.dat"); }
  std::string plik() const { return readFile(klienci()); }
  TPodmiotForm& lista() {
    if (!lista_) {
      lista_ = std::make_unique<TPodmiotForm>(program());
      lista_->FormCreate();
    }
    return *lista_;
  }
  // The rows as "NIP|name|address|number".
  std::vector<std::string> wiersze() {
    std::vector<std::string> r;
    auto* g = lista().Podmiot;
    for (int w = 0; w < g->RowCount(); ++w)
      r.push_back(cp1250::toQ(g->Cells(0, w) + "|" + g->Cells(1, w) + "|" + g->Cells(2, w) + "|" + g->Cells(3, w)).toStdString());
    return r;
  }
  void wybierz(int numer) {
    const int w = lista().wierszRekordu(numer);
    ASSERT_GE(w, 0) << numer;
    lista().Podmiot->SetDataRow(w);
  }
  std::unique_ptr<TPodmiotForm> lista_;
};

std::string rekord(const std::string& plik, int n) { return plik.substr(std::size_t(n * kRec), std::size_t(kRec)); }

TEST(PartiesNip, DashesAndBlanksDoNotCount) {
  const struct {
    const char *a, *b;
    bool zgodne;
  } cases[] = {
      {"123-456-32-18", "1234563218", true},   {"123-456-32-18", "123 456 32 18", true},
      {"123-456-32-18", "1234563219", false},  {"", "", true},
      {"- -", "", true},                       {"1234563218", "12345632", false},
      {"123-45-63-218", "123 456 32 18", true}, {"12345632", "1234563218", false},
      {"1234563218 -", "-1234563218", true},    {"-", "1", false},
      {"1-2", "21", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TPodmiotForm::zgodnyNIP(c.a, c.b), c.zgodne) << c.a << " / " << c.b;
}

TEST(PartiesList, NumbersArePositionsAndADeletedNumberIsNeverGivenAgain) {
  ListaWorld w;
  auto& l = w.lista();
  EXPECT_FALSE(QFile::exists(w.klienci()));
  for (const char* nz : {"Cezary", "Adam", "Bogdan"}) ASSERT_TRUE(l.dopiszPodmiot(podmiot(nz)));
  // the first add created the file in the data folder, the parties folder taking its place
  EXPECT_EQ(w.program().KatPod, w.path("dane"));
  const std::string przed = w.plik();
  ASSERT_EQ(przed.size(), std::size_t(3 * kRec));

  w.wybierz(1);
  w.dialogs.expectMessage(platform::IdYes, QString::fromUtf8("Czy jesteś pewien, że chcesz usunąć z listy podmiot ? "));
  l.usunClick();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(w.dialogs.shown().back().caption, "Pytanie ?");
  const std::string po = w.plik();
  ASSERT_EQ(po.size(), std::size_t(3 * kRec));
  EXPECT_EQ(po.substr(std::size_t(kRec), 4), std::string("\x63\x00\x00\x00", 4));
  EXPECT_EQ(po.substr(std::size_t(kRec) + 4), przed.substr(std::size_t(kRec) + 4)) << "only the type bytes change";
  EXPECT_EQ(po.substr(0, std::size_t(kRec)), przed.substr(0, std::size_t(kRec)));
  EXPECT_EQ(w.wiersze(), (std::vector<std::string>{"|Cezary| |0", "|Bogdan| |2"}));

  ASSERT_TRUE(l.dopiszPodmiot(podmiot("Dariusz")));
  EXPECT_EQ(w.wiersze().back(), "|Dariusz| |3");
  EXPECT_EQ(w.plik().size(), std::size_t(4 * kRec));

  // A new window: every live party, sorted by name.
  ListaWorld w2;
  w2.writeFile(w2.klienci(), w.plik());
  EXPECT_EQ(w2.wiersze(), (std::vector<std::string>{"|Bogdan| |2", "|Cezary| |0", "|Dariusz| |3"}));
  EXPECT_EQ(w2.lista().Podmiot->Columns().Items(TPodmiotForm::poNz).SortOrder(), kgrid::csAsc);
}

TEST(PartiesList, AnAnsweredNoAndARowWithoutALiveRecordDeleteNothing) {
  TRekordPodmiotu usuniety = podmiot("Usunięty");
  usuniety.TypPo = TRekordPodmiotu::kDeleted;
  ListaWorld w({podmiot("Adam"), usuniety});
  auto& l = w.lista();
  const std::string przed = w.plik();
  w.wybierz(0);
  w.dialogs.expectMessage(platform::IdNo);
  l.usunClick();
  EXPECT_EQ(w.plik(), przed);
  EXPECT_EQ(l.Podmiot->RowCount(), 1);
  // A row whose number is not a live record (another program's hand, a stale row): no question.
  for (const char* nr : {"1", "2", "x", "-0", "1e1", ""}) {
    l.Podmiot->SetCells(TPodmiotForm::NrRec, 0, nr);
    l.usunClick();
    l.zapiszClick();
    EXPECT_NE(l.modalResult(), platform::mrOk) << nr;
    EXPECT_FALSE(l.zmienPodmiot(podmiot("Ewa"))) << nr;
  }
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(w.dialogs.shown().size(), 1u);
  EXPECT_EQ(w.plik(), przed);
}

TEST(PartiesList, AnEditRewritesOneRecordInPlaceAndKeepsItsRole) {
  TRekordPodmiotu b = podmiot("Bogdan", "1111111111");
  b.rolaPo = TRekordPodmiotu::WImieniu;
  ListaWorld w({podmiot("Adam"), b, podmiot("Cezary")});
  auto& l = w.lista();
  const std::string przed = w.plik();
  w.wybierz(1);
  TRekordPodmiotu nowy = podmiot("Bogusław", "2222222222", "Kraków", "Długa 5");
  nowy.rolaPo = TRekordPodmiotu::Beneficjent;
  ASSERT_TRUE(l.zmienPodmiot(nowy));
  const std::string po = w.plik();
  ASSERT_EQ(po.size(), przed.size());
  EXPECT_EQ(rekord(po, 0), rekord(przed, 0));
  EXPECT_EQ(rekord(po, 2), rekord(przed, 2));
  const TRekordPodmiotu zapisany = TRekordPodmiotu::decode(rekord(po, 1).data());
  EXPECT_EQ(zapisany.Nz, cp1250::fromUtf8("Bogusław"));
  EXPECT_EQ(zapisany.rolaPo, TRekordPodmiotu::WImieniu);
  EXPECT_EQ(l.Podmiot->Cells(0, l.Podmiot->DataRow()) + "|" + l.Podmiot->Cells(2, l.Podmiot->DataRow()),
            cp1250::fromUtf8("2222222222|Kraków Długa 5"));
  // an added party gets role 0, whatever its buffer held
  ASSERT_TRUE(l.dopiszPodmiot(nowy));
  EXPECT_EQ(TRekordPodmiotu::decode(rekord(w.plik(), 3).data()).rolaPo, TRekordPodmiotu::Brak);
}

TEST(PartiesList, FiltersAgreeTogetherCaseSensitivelyInFileOrder) {
  TRekordPodmiotu usuniety = podmiot("Kowalski Jan", "1234563218", "Warszawa", "Prosta");
  usuniety.TypPo = TRekordPodmiotu::kDeleted;
  ListaWorld w({
      podmiot("Nowak Anna", "1234563218", "Warszawa", "Prosta 1"),         // 0
      podmiot("Kowalski Jan", "1234563218", "Kraków", "Długa 2"),          // 1
      podmiot("Kowalska Ewa", "1234563219", "Warszawa", "Prosta 3"),       // 2
      usuniety,                                                             // 3
      podmiot("Abacki Piotr", "", "Warszawa Wola", "Górczewska 4"),       // 4
  });
  auto& l = w.lista();
  const struct {
    const char *nip, *nz, *m, *ul;
    std::vector<std::string> numery;
  } cases[] = {
      {"123-456-32-18", "", "", "", {"0", "1"}},
      {"", "Kowal", "", "", {"1", "2"}},
      {"", "kowal", "", "", {}},
      {"", "", "Warszawa", "Prosta", {"0", "2"}},
      {"123-456-32-18", "", "Warszawa", "", {"0"}},
      {"", "", "", "", {"0", "1", "2", "4"}},
      {"", "Jan", "Kraków", "Długa", {"1"}},
  };
  for (const auto& c : cases) {
    l.fNip->setText(QString::fromUtf8(c.nip));
    l.fNz->setText(QString::fromUtf8(c.nz));
    l.FAdrM->setText(QString::fromUtf8(c.m));
    l.fAdrUl->setText(QString::fromUtf8(c.ul));
    l.filtrujClick();
    std::vector<std::string> numery;
    for (int r = 0; r < l.Podmiot->RowCount(); ++r) numery.push_back(l.Podmiot->Cells(TPodmiotForm::NrRec, r));
    EXPECT_EQ(numery, c.numery) << c.nip << "/" << c.nz << "/" << c.m << "/" << c.ul;
    EXPECT_EQ(l.Podmiot->Columns().Items(TPodmiotForm::poNz).SortOrder(), kgrid::csNone) << "file order";
  }
}

// The passes decode only the parts they read, into one record: what the list shows, what the
// filters let through and what the NIP search finds must be what a decode of every whole record
// gives. The records are laid out by hand over bytes that are not zero, so that a text's length
// byte leaves something behind it.
TEST(PartiesList, PassesOverTheFileAgreeWithAWholeDecodeOfEveryRecord) {
  struct Bajty {
    std::string b = std::string(std::size_t(kRec), 'Z');
    Bajty& typ(std::int32_t t) {
      std::memcpy(b.data(), &t, sizeof t);
      return *this;
    }
    // A text at its offset, its length byte given apart when it is to lie.
    Bajty& tekst(std::size_t off, const char* utf8, int dlugosc = -1) {
      const std::string t = cp1250::fromUtf8(utf8);
      b[off] = char(dlugosc < 0 ? int(t.size()) : dlugosc);
      b.replace(off + 1, t.size(), t);
      return *this;
    }
    Bajty& teksty(const char* nip, const char* nz, const char* m, const char* ul, int dlugosc = -1) {
      return tekst(283, nip, dlugosc).tekst(4, nz, dlugosc).tekst(162, m, dlugosc).tekst(198, ul, dlugosc);
    }
    Bajty& rola(int r) {
      b[1092] = char(r);
      return *this;
    }
  };
  const std::string n140(140, 'N'), m35(35, 'M'), u35(35, 'U');
  const Bajty rekordy[] = {
      Bajty().typ(1).teksty("1234563218", "Nowak Anna", "Warszawa", "Prosta 1").rola(0),
      Bajty().typ(TRekordPodmiotu::kDeleted).teksty("1234563218", "Nowak Adam", "Warszawa", "Prosta 2").rola(1),
      Bajty().typ(TRekordPodmiotu::kDeleted + 256).teksty("9999999999", "Kowalski Jan", "Kraków", "Długa 2").rola(2),
      Bajty().typ(-1).teksty("5260250274", n140.c_str(), m35.c_str(), u35.c_str()).rola(3),
      Bajty().typ(0).teksty("", "", "", "").rola(4),
      Bajty().typ(22).teksty("5555555555", "Zawada Zofia", "Zamość", "Zielna", 255).rola(255),
      Bajty().typ(TRekordPodmiotu::kDeleted << 24).teksty("123 456 32 18", "Nowak Ewa", "Łódź", "Prosta 3").rola(0x80),
      Bajty().typ(TRekordPodmiotu::kDeleted).teksty("", "", "", "").rola(3),
      Bajty().typ(2).teksty("123-456-32-18", "Łódź Żaneta", "Łódź", "Piłsudskiego 5/7").rola(1),
  };
  std::string plik;
  for (const auto& r : rekordy) plik += r.b;
  plik += Bajty().typ(1).teksty("1234563218", "Ogon", "Warszawa", "Prosta").b.substr(0, 500);  // no record
  ListaWorld w;
  World::writeFile(w.klienci(), plik);

  // Today's answers: every whole record decoded in full.
  std::vector<std::pair<int, TRekordPodmiotu>> zywe;
  for (int k = 0; (k + 1) * kRec <= qint64(plik.size()); ++k) {
    const TRekordPodmiotu r = TRekordPodmiotu::decode(plik.data() + k * kRec);
    if (r.TypPo != TRekordPodmiotu::kDeleted) zywe.emplace_back(k, r);
  }
  auto bezKresek = [](std::string s) {
    std::erase_if(s, [](char c) { return c == '-' || c == ' '; });
    return s;
  };
  auto wiersz = [](const TRekordPodmiotu& r, int k) {
    return cp1250::toQ(r.Nip + "|" + r.Nz + "|" + r.AdrM + " " + r.AdrUl + "|" + std::to_string(k)).toStdString();
  };
  ASSERT_EQ(zywe.size(), 7u);

  std::vector<std::string> wszystkie;
  for (const auto& [k, r] : zywe) wszystkie.push_back(wiersz(r, k));
  std::vector<std::string> zaladowane = w.wiersze();
  std::sort(zaladowane.begin(), zaladowane.end());
  std::vector<std::string> oczekiwane = wszystkie;
  std::sort(oczekiwane.begin(), oczekiwane.end());
  EXPECT_EQ(zaladowane, oczekiwane) << "the list's load";

  auto& l = w.lista();
  const struct {
    const char *nip, *nz, *m, *ul;
  } filtry[] = {
      {"", "", "", ""},          {"1234563218", "", "", ""}, {"5555555555", "", "", ""}, {"", "Nowak", "", ""},
      {"", "ZZZ", "", ""},       {"", "", "Z", ""},          {"", "", "", "Prosta"},     {"", "Łódź", "Łódź", ""},
      {"", "", "MMMM", "UUUU"},  {"", "N", "", ""},          {"999-999-99-99", "", "", ""},
  };
  for (const auto& f : filtry) {
    const std::string nip = cp1250::fromUtf8(f.nip), nz = cp1250::fromUtf8(f.nz), m = cp1250::fromUtf8(f.m),
                      ul = cp1250::fromUtf8(f.ul);
    std::vector<std::string> przepuszczone;
    for (const auto& [k, r] : zywe)
      if ((nip.empty() || bezKresek(nip) == bezKresek(r.Nip)) && r.Nz.find(nz) != std::string::npos &&
          r.AdrM.find(m) != std::string::npos && r.AdrUl.find(ul) != std::string::npos)
        przepuszczone.push_back(wiersz(r, k));
    l.fNip->setText(QString::fromUtf8(f.nip));
    l.fNz->setText(QString::fromUtf8(f.nz));
    l.FAdrM->setText(QString::fromUtf8(f.m));
    l.fAdrUl->setText(QString::fromUtf8(f.ul));
    l.filtrujClick();
    EXPECT_EQ(w.wiersze(), przepuszczone) << f.nip << "/" << f.nz << "/" << f.m << "/" << f.ul;
  }

  for (const char* szukany : {"123-456-32-18", "9999999999", "5555555555", "5260250274", "ZZZZZZZZZZ", "", " - ", "1111111111"}) {
    std::optional<int> pierwszy;
    for (const auto& [k, r] : zywe)
      if (!bezKresek(szukany).empty() && bezKresek(szukany) == bezKresek(r.Nip)) {
        pierwszy = k;
        break;
      }
    EXPECT_EQ(l.szukajNIP(szukany), pierwszy) << szukany;
  }
}

// The whole list read on a worker thread from the start is the list the window reads itself:
// the same rows in the grid's own order (by name byte by byte, equal names in file order, a
// name kept as comma text in its place), for the file of the folder settled when the window is
// made, and a file that cannot be opened said once as before.
TEST(PartiesList, TheRowsReadAtTheStartAreTheRowsTheListReadsItself) {
  std::vector<TRekordPodmiotu> zapisane = {
      podmiot("Nowak", "5260250274", "Łódź", "Piotrkowska 1"), podmiot("Łoś Anna", "", "Kraków", ""),
      podmiot("Adam\r\nBis", "1234563218", "A", "B"),             podmiot("Nowak", "", "Gdańsk", "Długa 7"),
      podmiot("\"Alfa\", sp. z o.o.", "", "", ""),             podmiot("Zenon", "", "", ""),
      podmiot("Nowak", "9999999999", "", ""),                    podmiot("adam", "", "", ""),
      podmiot("Zofia\r\nKowal", "", "", ""),
  };
  zapisane[5].TypPo = TRekordPodmiotu::kDeleted;
  // Expected: the live records stably sorted by their names' bytes.
  std::vector<std::pair<std::string, std::string>> oczekiwane;
  for (std::size_t k = 0; k < zapisane.size(); ++k) {
    const auto& r = zapisane[k];
    if (r.TypPo == TRekordPodmiotu::kDeleted) continue;
    oczekiwane.emplace_back(r.Nz, cp1250::toQ(r.Nip + "|" + r.Nz + "|" + r.AdrM + " " + r.AdrUl + "|" + std::to_string(k)).toStdString());
  }
  std::stable_sort(oczekiwane.begin(), oczekiwane.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> wiersze;
  for (const auto& o : oczekiwane) wiersze.push_back(o.second);

  {
    ListaWorld sam(zapisane);
    EXPECT_EQ(sam.wiersze(), wiersze) << "read by the window";
  }
  {
    ListaWorld w(zapisane);
    zelt::rozpocznijListePodmiotow(w.program());
    EXPECT_EQ(w.wiersze(), wiersze) << "read on the worker";
    EXPECT_EQ(w.lista().Podmiot->Columns().Items(TPodmiotForm::poNz).SortOrder(), kgrid::csAsc);
    EXPECT_EQ(w.program().podmiotyWTle, nullptr) << "taken once";
    // A later load reads the file as it is then.
    ASSERT_TRUE(w.lista().dopiszPodmiot(podmiot("Bartek")));
    w.lista().filtrujClick();
    EXPECT_EQ(w.wiersze().size(), wiersze.size() + 1);
  }
  {
    ListaWorld w(zapisane);
    zelt::rozpocznijListePodmiotow(w.program());
    QDir().mkpath(w.path("inne"));
    std::string jeden;
    const auto e = podmiot("Inny", "", "", "").encode();
    jeden.append(e.data(), e.size());
    World::writeFile(w.path("inne/klienci.dat"), jeden);
    w.program().KatPod = w.path("inne");
    EXPECT_EQ(w.wiersze(), (std::vector<std::string>{"|Inny| |0"})) << "the folder settled when the window is made";
  }
  {
    ListaWorld w;
    QDir().mkpath(w.klienci());
    w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd otwarcia pliku "));
    zelt::rozpocznijListePodmiotow(w.program());
    EXPECT_EQ(w.lista().Podmiot->RowCount(), 0);
    ASSERT_EQ(w.dialogs.messages().size(), 1u);
    EXPECT_TRUE(w.dialogs.messages()[0].startsWith(QString::fromUtf8("Błąd otwarcia pliku ") + w.klienci() + ": "));
  }
}

TEST(PartiesList, AMissingFileIsAnEmptyListAndItsFirstAddCreatesIt) {
  ListaWorld w;
  auto& l = w.lista();
  EXPECT_EQ(l.Podmiot->RowCount(), 0);
  l.filtrujClick();
  EXPECT_EQ(l.Podmiot->RowCount(), 0);
  // nothing to edit, delete or take over: no question, no result 1
  l.usunClick();
  l.zapiszClick();
  EXPECT_NE(l.modalResult(), platform::mrOk);
  EXPECT_FALSE(l.zmienPodmiot(podmiot("Adam")));
  EXPECT_TRUE(w.dialogs.shown().empty());
  EXPECT_FALSE(QFile::exists(w.klienci()));
  ASSERT_TRUE(l.dopiszPodmiot(podmiot("Adam", "5260250274", "Łódź", "Piotrkowska 1")));
  EXPECT_EQ(w.plik().size(), std::size_t(kRec));
  EXPECT_EQ(w.wiersze(), (std::vector<std::string>{"5260250274|Adam|Łódź Piotrkowska 1|0"}));
  // with the one row current, the take-over ends the showing with 1
  l.Podmiot->SetDataRow(0);
  l.zapiszClick();
  EXPECT_EQ(l.modalResult(), platform::mrOk);
}

TEST(PartiesList, AFileThatCannotBeOpenedIsSaidAndNothingChanges) {
  ListaWorld w;
  QDir().mkpath(w.klienci());  // a directory in the file's place; modes would not stop root
  for (int i = 0; i < 3; ++i) w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd otwarcia pliku "));
  auto& l = w.lista();
  ASSERT_EQ(w.dialogs.messages().size(), 1u);
  EXPECT_TRUE(w.dialogs.messages()[0].startsWith(QString::fromUtf8("Błąd otwarcia pliku ") + w.klienci() + ": "))
      << w.dialogs.messages()[0].toStdString();
  EXPECT_EQ(l.Podmiot->RowCount(), 0);
  EXPECT_FALSE(l.dopiszPodmiot(podmiot("Adam")));
  l.filtrujClick();
  EXPECT_EQ(w.dialogs.messages().size(), 3u);
  EXPECT_EQ(l.Podmiot->RowCount(), 0) << "no row for a party never written";
  EXPECT_TRUE(QFileInfo(w.klienci()).isDir());
  EXPECT_TRUE(QDir(w.klienci()).isEmpty());
}

TEST(PartiesList, APartialLastRecordIsNoPartyAndAnAddWritesOverIt) {
  ListaWorld w({podmiot("Adam")});
  w.writeFile(w.klienci(), w.plik() + std::string(100, '\x07'));
  auto& l = w.lista();
  EXPECT_EQ(w.wiersze(), (std::vector<std::string>{"|Adam| |0"}));
  ASSERT_TRUE(l.dopiszPodmiot(podmiot("Bogdan")));
  EXPECT_EQ(w.plik().size(), std::size_t(2 * kRec));
  EXPECT_EQ(TRekordPodmiotu::decode(rekord(w.plik(), 1).data()).Nz, "Bogdan");
  EXPECT_EQ(w.wiersze().back(), "|Bogdan| |1");
}

TEST(PartiesList, AFullFileRefusesAnAddWithTheMessage) {
  ListaWorld w;
  {
    QFile f(w.klienci());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(PlikPodmiotow::kMaksimum * kRec));  // sparse: 65536 records of zeros
  }
  w.program().KatPod = w.path("dane");
  TPodmiotForm l(w.program());  // not loaded: the rows do not matter here
  w.dialogs.expectMessage();
  EXPECT_FALSE(l.dopiszPodmiot(podmiot("Adam")));
  EXPECT_EQ(w.dialogs.messages(),
            QStringList{QString::fromUtf8("Dopisanie podmiotu niemożliwe - lista podmiotów jest pełna (65536 podmiotów)")});
  EXPECT_EQ(QFileInfo(w.klienci()).size(), PlikPodmiotow::kMaksimum * kRec);
  EXPECT_EQ(l.Podmiot->RowCount(), 0);
}

// On a full disk the append gets part of its record onto the last free page before the system
// refuses the rest: the file goes back to what it was, byte for byte (a partial record of an
// earlier crash included; a file the append made is gone), the user reads the system's reason,
// no row appears, and once there is room the next add goes where the failed one would have.
TEST(PartiesList, AnAppendOnAFullDiskLeavesTheFileAsItWas) {
  const struct {
    const char* name;
    int rekordy;
    std::size_t ogon;
    bool plik;
  } cases[] = {
      {"three records: 817 bytes of the fourth fit on their page", 3, 0, true},
      {"a partial record of an earlier crash after them", 3, 100, true},
      {"no file yet and no room at all", 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ListaWorld w;
    testing_world::SmallFileSystem dysk(w.path("dane"), 64);
    ASSERT_TRUE(dysk.mounted()) << dysk.why();
    std::string przed;
    for (int i = 0; i < c.rekordy; ++i) {
      const auto e = podmiot(("Stary " + std::to_string(i)).c_str()).encode();
      przed.append(e.data(), e.size());
    }
    przed += std::string(c.ogon, '\x07');
    if (c.plik) World::writeFile(w.klienci(), przed);
    ASSERT_TRUE(dysk.fill("zapas")) << dysk.why();
    auto& l = w.lista();
    const auto wiersze = w.wiersze();

    w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd zapisu pliku ") + w.klienci() + ": " +
                                                QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_FALSE(l.dopiszPodmiot(podmiot("Nowy")));
    EXPECT_TRUE(w.dialogs.scriptDone());
    EXPECT_EQ(QFile::exists(w.klienci()), c.plik);
    EXPECT_EQ(w.plik().size(), przed.size());
    EXPECT_TRUE(w.plik() == przed) << "klienci.dat byte for byte as it was";
    EXPECT_EQ(w.wiersze(), wiersze);

    ASSERT_TRUE(QFile::remove(w.path("dane/zapas")));
    ASSERT_TRUE(l.dopiszPodmiot(podmiot("Nowy")));
    ASSERT_EQ(w.plik().size(), std::size_t((c.rekordy + 1) * kRec));
    EXPECT_TRUE(w.plik().compare(0, std::size_t(c.rekordy * kRec), przed, 0, std::size_t(c.rekordy * kRec)) == 0);
    EXPECT_EQ(TRekordPodmiotu::decode(rekord(w.plik(), c.rekordy).data()).Nz, "Nowy");
  }
}

TEST(PartiesList, ResizingSharesTheWidthBetweenNameAndAddress) {
  ListaWorld w;
  auto& l = w.lista();
  const struct {
    int szer, kolumna;
  } cases[] = {{544, 229}, {600, 257}, {545, 230}};
  for (const auto& c : cases) {
    l.resize(c.szer, 331);
    QResizeEvent e(QSize(c.szer, 331), l.size());
    QCoreApplication::sendEvent(&l, &e);
    EXPECT_EQ(l.Podmiot->Columns().Items(TPodmiotForm::poNz).Width(), c.kolumna) << c.szer;
    EXPECT_EQ(l.Podmiot->Columns().Items(TPodmiotForm::poAd).Width(), c.kolumna) << c.szer;
  }
}

TEST(PartiesList, ShownFromTheMainMenuWithoutTheTakeOverAndFromACardWithIt) {
  World w;
  auto& p = w.program();
  p.logowanie = [] { return platform::mrOk; };
  ASSERT_TRUE(p.start());
  ASSERT_TRUE(p.podmiot());
  EXPECT_EQ(p.KatPod, p.KatDan);
  EXPECT_EQ(p.podmiot()->windowTitle(), QString::fromUtf8("Lista podmiotów"));
  bool widoczny = true;
  w.dialogs.expectModal("PodmiotForm", [&](platform::ModalForm& f) {
    widoczny = static_cast<TPodmiotForm&>(f).zapisz->isVisible();
    return platform::mrCancel;
  });
  p.glowny()->Listapodmiotw1Click();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_FALSE(widoczny);
  w.dialogs.expectModal("PodmiotForm", [&](platform::ModalForm& f) {
    widoczny = static_cast<TPodmiotForm&>(f).zapisz->isVisible();
    return platform::mrCancel;
  });
  p.podmiot()->pokaz(true);
  EXPECT_TRUE(widoczny);
}

TEST(PartiesList, Pictures) {
  ListaWorld w({podmiot("Zieliński Tomasz", "5260250274", "Gdańsk", "Długa 12"),
                podmiot("Adamczyk Ewa", "123-456-32-18", "Łódź", "Piotrkowska 100"),
                podmiot("Mazur Sp. z o.o.", "7740001454", "Płock", "Tumska 3")});
  auto& l = w.lista();
  l.resize(544, 331);
  l.show();
  EXPECT_GT(testing_world::renderWindow(l, "podmioty-lista"), 8);
  l.PodmiotMenu->popup(l.mapToGlobal(QPoint(40, 40)));
  EXPECT_GT(testing_world::renderWindow(*l.PodmiotMenu, "podmioty-menu"), 3);
  l.PodmiotMenu->hide();
}

}  // namespace
