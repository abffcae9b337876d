// The party editor: the party check over plain data, the save through the verification dialog,
// the remark rule, the country pickers and the Tab order, the import through the stand-in library
// (its records written by hand at the layout's offsets), and the parties list's add and edit.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/library.h"
#include "register/program.h"
#include "register/werform.h"
#include "settings/edpodmiot.h"
#include "settings/edpodmiotform.h"
#include "settings/kodykrajform.h"
#include "settings/konfigform.h"
#include "settings/podmiotform.h"
#include "support/world.h"

using platform::ModalForm;
using testing_world::ScopedEnv;
using testing_world::World;
using zelt::TEdPodmiotForm;
using zelt::TRekordPodmiotu;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }
std::string c(const char* utf8) { return cp1250::fromUtf8(utf8); }

// ---- the check ----

struct Wpis {
  bool blad;
  std::string nazwa, tekst;
  bool operator==(const Wpis&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Wpis& w) {
  return o << (w.blad ? "E " : "W ") << w.nazwa << " | " << w.tekst;
}
Wpis E(const char* n, const char* t) { return {true, n, t}; }
Wpis W(const char* n, const char* t) { return {false, n, t}; }

const char* kWypelnic = "Pole powinno być wypełnione";
const char* kKraj = "Błędny kod kraju";

// A party with nothing to report: a general partnership with valid numbers.
TRekordPodmiotu czysty() {
  TRekordPodmiotu r;
  r.TypPo = 5;
  r.Nz = c("Kowalski i Wspólnicy sp.j.");
  r.Obyw = "PL";
  r.AdrKr = "PL";
  r.AdrKod = "00-950";
  r.AdrM = "Warszawa";
  r.AdrUl = "Prosta 1";
  r.NrPes = "44051401359";
  r.NrReg = "123456785";
  r.Nip = "1234563218";
  return r;
}

struct Sprawdzenie {
  zelt::LicznikiRekordow liczniki;
  zelt::ListyWeryfikacji listy{liczniki};
  // Findings in order, errors first; every one must carry an empty Pole and its own Lp.
  std::vector<Wpis> sprawdz(const TRekordPodmiotu& r, const zelt::Slownik& kraje = zelt::wbudowane::kraje()) {
    zelt::weryfPodmiot(r, kraje, listy);
    std::vector<Wpis> w;
    for (bool blad : {true, false}) {
      const auto& l = blad ? listy.bledy() : listy.ostrze();
      for (std::size_t i = 0; i < l.size(); ++i) {
        EXPECT_EQ(l[i].pole, "");
        EXPECT_EQ(l[i].lp, int(i) + 1);
        w.push_back({blad, cp1250::toQ(l[i].nazwa).toStdString(), cp1250::toQ(l[i].tekst).toStdString()});
      }
    }
    EXPECT_EQ(listy.iloscBledow() + listy.iloscOstrzezen(), int(w.size()));
    for (int i = 1; i <= zelt::kMaxRekordowKarty; ++i)
      EXPECT_EQ(liczniki.r[i].bledy + liczniki.r[i].ostrzezenia, 0) << "record " << i << ": findings count to none";
    return w;
  }
};

TEST(PartyCheck, EachRuleAlone) {
  const struct {
    const char* nazwa;
    std::function<void(TRekordPodmiotu&)> zmiana;
    std::vector<Wpis> uwagi;
  } cases[] = {
      {"clean", [](TRekordPodmiotu&) {}, {}},
      {"no type", [](TRekordPodmiotu& r) { r.TypPo = -1; }, {E("Typ Podmiotu", "Pole musi być wypełnione")}},
      {"type 0 without its remark",
       [](TRekordPodmiotu& r) { r.TypPo = 0; },
       {E("Typ Podmiotu", "Gdy wybrano inny typ podmiotu należy wpisać szczegóły w polu uwagi 53.")}},
      {"type 0 with its remark", [](TRekordPodmiotu& r) { r.TypPo = 0, r.uwTypPo = "fundusz"; }, {}},
      {"no name", [](TRekordPodmiotu& r) { r.Nz.clear(); }, {W("Nazwisko, imię / nazwa", kWypelnic)}},
      {"no citizenship", [](TRekordPodmiotu& r) { r.Obyw.clear(); }, {E("Obywatelstwo", kKraj)}},
      {"unknown citizenship", [](TRekordPodmiotu& r) { r.Obyw = "QQ"; }, {E("Obywatelstwo", kKraj)}},
      {"unknown country", [](TRekordPodmiotu& r) { r.AdrKr = "P"; }, {E("Adres kraj", kKraj)}},
      {"no postcode", [](TRekordPodmiotu& r) { r.AdrKod.clear(); }, {W("Adres kod", kWypelnic)}},
      {"no town", [](TRekordPodmiotu& r) { r.AdrM.clear(); }, {W("Adres miejscowość", kWypelnic)}},
      {"no street", [](TRekordPodmiotu& r) { r.AdrUl.clear(); }, {W("Adres ulica", kWypelnic)}},
      {"bad PESEL", [](TRekordPodmiotu& r) { r.NrPes = "44051401358"; }, {E("Numer PESEL", "Błędny numer PESEL")}},
      {"bad REGON", [](TRekordPodmiotu& r) { r.NrReg = "123456786"; }, {E("Numer REGON", "Błędny numer REGON")}},
      {"NIP of nine digits", [](TRekordPodmiotu& r) { r.Nip = "123456321"; }, {E("Numer NIP", "Błędny numer NIP")}},
      {"no numbers at all", [](TRekordPodmiotu& r) { r.NrPes.clear(), r.NrReg.clear(), r.Nip.clear(); }, {}},
      {"court register and SWIFT are never checked", [](TRekordPodmiotu& r) { r.NrReS = "??", r.NrSwt = "x"; }, {}},
      {"a natural person without document kind and number",
       [](TRekordPodmiotu& r) { r.TypPo = 1; },
       {W("Dokument tożsamości", "Pole powinno być wypełnione."),
        W("Seria, numer dokumentu tożsamości", "Pole powinno być wypełnione.")}},
      {"a natural person with another document and no remark",
       [](TRekordPodmiotu& r) { r.TypPo = 1, r.RodzDokTo = 0, r.NrDokTo = "X1"; },
       {E("Dokument tożsamości", "Gdy wybrano inny należy wpisać szczegóły w polu uwagi 53.")}},
      {"a natural person with a passport", [](TRekordPodmiotu& r) { r.TypPo = 1, r.RodzDokTo = 2, r.NrDokTo = "X1"; }, {}},
      {"type 5 needs no document", [](TRekordPodmiotu& r) { r.RodzDokTo = 0; }, {}},
  };
  for (const auto& k : cases) {
    Sprawdzenie s;
    TRekordPodmiotu r = czysty();
    k.zmiana(r);
    const TRekordPodmiotu przed = r;
    EXPECT_EQ(s.sprawdz(r), k.uwagi) << k.nazwa;
    EXPECT_EQ(r, przed) << "the check changes nothing: " << k.nazwa;
  }
}

TEST(PartyCheck, OrderOfAnEmptyPartyAndTheCountryList) {
  Sprawdzenie s;
  TRekordPodmiotu pusty;
  zelt::czyscPodmiot(pusty);
  EXPECT_EQ(s.sprawdz(pusty), (std::vector<Wpis>{E("Typ Podmiotu", "Pole musi być wypełnione"),
                                                 E("Obywatelstwo", kKraj), E("Adres kraj", kKraj),
                                                 W("Nazwisko, imię / nazwa", kWypelnic), W("Adres kod", kWypelnic),
                                                 W("Adres miejscowość", kWypelnic), W("Adres ulica", kWypelnic)}));

  const zelt::Slownik trzy = {c("DE-NIEMCY"), c("SK-SŁOWACJA"), c("CZ-CZECHY")};
  TRekordPodmiotu r = czysty();
  r.Obyw = "SK";
  r.AdrKr = "CZ";
  EXPECT_EQ(s.sprawdz(r, trzy), std::vector<Wpis>{});
  r.AdrKr = "PL";
  EXPECT_EQ(s.sprawdz(r, trzy), std::vector<Wpis>{E("Adres kraj", kKraj)}) << "only the list's codes count";
  EXPECT_EQ(s.sprawdz(czysty(), {}), (std::vector<Wpis>{E("Obywatelstwo", kKraj), E("Adres kraj", kKraj)}))
      << "an empty list accepts no code";
  // A second check starts its own numbering and totals.
  EXPECT_EQ(s.listy.iloscBledow(), 2);
  EXPECT_EQ(s.sprawdz(czysty(), {c("PL-POLSKA")}), std::vector<Wpis>{});
  EXPECT_EQ(s.listy.iloscBledow(), 0);
}

TEST(PartyCheck, ClearingKeepsTheRole) {
  TRekordPodmiotu r = czysty();
  r.RodzDokTo = 2;
  r.uwObyw = "CZ";
  r.rolaPo = TRekordPodmiotu::Beneficjent;
  zelt::czyscPodmiot(r);
  TRekordPodmiotu oczekiwany;
  oczekiwany.TypPo = -1;
  oczekiwany.RodzDokTo = -1;
  oczekiwany.rolaPo = TRekordPodmiotu::Beneficjent;
  EXPECT_EQ(r, oczekiwany);
}

// ---- the window ----

// The program's folder for the run-time libraries, for one scope.
struct FolderBibliotek {
  explicit FolderBibliotek(const QString& f) { platform::Library::setProgramFolder(f); }
  ~FolderBibliotek() { platform::Library::setProgramFolder({}); }
};

struct EdWorld : World {
  zelt::Program& start() {
    auto& p = program();
    p.logowanie = [] { return platform::mrOk; };
    EXPECT_TRUE(p.start());
    QDir().mkpath(p.KatPod);
    return p;
  }
  TEdPodmiotForm& ed() {
    if (!program().edPodmiot()) start();
    return *program().edPodmiot();
  }
};

QString tekst(const QLineEdit* e) { return e->text(); }

// Every control's text, the lists' choices and the remarks' visibility, to compare two moments.
QStringList stan(const TEdPodmiotForm& e) {
  QStringList s{QString::number(e.TypPo->currentIndex()), QString::number(e.RodzDokTo->currentIndex()),
                e.Nz->toPlainText()};
  for (const QLineEdit* l : {e.uwTypPo, e.Obyw, e.uwObyw, e.AdrKr, e.AdrKod, e.AdrM, e.AdrUl, e.NrPes, e.NrReg,
                             e.NrReS, e.NrSwt, e.Nip, e.NrDokTo, e.uwRodzDokTo})
    s << l->objectName() + "=" + tekst(l);
  s << QString("uwTypPo %1/%2").arg(!e.LuwTypPo->isHidden()).arg(e.uwTypPoPokazane());
  s << QString("uwRodzDokTo %1/%2").arg(!e.LuwRodzDokTo->isHidden()).arg(e.uwRodzDokToPokazane());
  return s;
}

TEST(PartyEditor, CreatedWithTheProgramInItsPlace) {
  {
    EdWorld w;
    w.reg().writeInteger(platform::RegRoot::CurrentUser, "\\SOFTWARE\\Tarvo\\ZELT\\OKNA\\EdPodmiot\\", "Width", 600);
    EXPECT_EQ(w.ed().size(), QSize(600, 432)) << "its geometry restored";
  }
  EdWorld w;
  auto& e = w.ed();
  EXPECT_EQ(e.windowTitle(), u("Edycja danych podmiotu"));
  EXPECT_EQ(e.size(), QSize(566, 432));
  EXPECT_EQ(e.TypPo->count(), 23) << "the card's party types";
  EXPECT_EQ(e.TypPo->itemText(1), u("01 - osoba fizyczna"));
  EXPECT_EQ(e.RodzDokTo->count(), 6);
  EXPECT_EQ(e.RodzDokTo->itemText(5), u("KC - karta czasowego pobytu"));
  EXPECT_FALSE(e.Importuj->isEnabled()) << "no import library beside the program";
  const std::pair<QLineEdit*, int> limity[] = {{e.Obyw, 2},   {e.AdrKr, 2},  {e.AdrKod, 10}, {e.AdrM, 35},
                                               {e.AdrUl, 35}, {e.NrPes, 11}, {e.NrReg, 9},   {e.NrReS, 10},
                                               {e.NrSwt, 15}, {e.Nip, 10},   {e.NrDokTo, 25}, {e.uwRodzDokTo, 25}};
  for (auto [edit, n] : limity) EXPECT_EQ(platform::typingLimit(edit), n) << edit->objectName().toStdString();
}

TEST(PartyEditor, ImportEnabledOnlyWhenTheLibraryLiesInTheProgramsFolder) {
  const struct {
    const char* folder;
    bool wlaczony;
  } cases[] = {{KELBRIX_DIR, true}, {KELBRIX_BEZ_EKSPORTU_DIR, true}, {"", false}};
  for (const auto& k : cases) {
    EdWorld w;
    const QString folder = *k.folder ? QString::fromUtf8(k.folder) : w.path("pusty");
    QDir().mkpath(folder);
    FolderBibliotek f(folder);
    // The working folder is never searched.
    QFile::copy(QString::fromUtf8(KELBRIX_DIR) + "/libkelbrix.so", QDir::currentPath() + "/libkelbrix.so");
    EXPECT_EQ(w.ed().Importuj->isEnabled(), k.wlaczony) << k.folder;
  }
}

TEST(PartyEditor, RemarksShowForIndexZeroAndKeepTheirTextWhileHidden) {
  EdWorld w;
  auto& e = w.ed();
  TRekordPodmiotu r = czysty();
  r.TypPo = 0;
  r.uwTypPo = "fundusz";
  r.RodzDokTo = 0;
  r.uwRodzDokTo = c("legitymacja służbowa");
  e.ustaw(r);
  EXPECT_TRUE(e.uwTypPoPokazane() && !e.LuwTypPo->isHidden());
  EXPECT_TRUE(e.uwRodzDokToPokazane() && !e.LuwRodzDokTo->isHidden());
  EXPECT_EQ(e.odczytaj(), r);

  const struct {
    QComboBox* lista;
    QLineEdit* uwaga;
    QLabel* etykieta;
    std::string TRekordPodmiotu::*pole;
  } cases[] = {{e.TypPo, e.uwTypPo, e.LuwTypPo, &TRekordPodmiotu::uwTypPo},
               {e.RodzDokTo, e.uwRodzDokTo, e.LuwRodzDokTo, &TRekordPodmiotu::uwRodzDokTo}};
  for (const auto& k : cases) {
    const QString przed = k.uwaga->text();
    k.lista->setCurrentIndex(3);
    EXPECT_TRUE(k.uwaga->isHidden() && k.etykieta->isHidden()) << k.uwaga->objectName().toStdString();
    EXPECT_EQ(k.uwaga->text(), przed) << "the text stays in the hidden edit";
    EXPECT_EQ(e.odczytaj().*k.pole, "") << "but is not stored";
    k.lista->setCurrentIndex(0);
    EXPECT_FALSE(k.uwaga->isHidden() || k.etykieta->isHidden());
    EXPECT_EQ(e.odczytaj().*k.pole, r.*k.pole);
  }

  // A preset for another index hides and empties the remark.
  r.TypPo = 4;
  r.RodzDokTo = -1;
  e.ustaw(r);
  EXPECT_TRUE(e.uwTypPo->isHidden() && e.LuwTypPo->isHidden() && e.uwTypPo->text().isEmpty());
  EXPECT_TRUE(e.uwRodzDokTo->isHidden() && e.uwRodzDokTo->text().isEmpty());
}

TEST(PartyEditor, TheReaderStoresWhatTheCallersRelyOn) {
  EdWorld w;
  auto& e = w.ed();
  TRekordPodmiotu r = czysty();
  r.RodzDokTo = 0;
  r.uwRodzDokTo = std::string(100, 'd');  // longer than can be typed: shown and kept whole
  r.TypPo = 30;                           // beyond the list: shown as none, kept until chosen
  r.rolaPo = TRekordPodmiotu::WImieniu;
  e.ustaw(r);
  EXPECT_EQ(e.TypPo->currentIndex(), -1);
  EXPECT_EQ(e.odczytaj(), r);

  e.Obyw->setText("sk");
  e.AdrKr->setText(u("żż"));
  e.Nz->setPlainText(QString(200, 'N'));
  const TRekordPodmiotu z = e.odczytaj();
  EXPECT_EQ(z.Obyw, "SK");
  EXPECT_EQ(z.AdrKr, c("ŻŻ"));
  EXPECT_EQ(z.Nz, std::string(140, 'N')) << "cut to the name's capacity";

  // A typed line break becomes a blank; 140 characters typed at most.
  e.Nz->clear();
  e.Nz->setFocus();
  QTest::keyClicks(e.Nz, "Nowak");
  QTest::keyClick(e.Nz, Qt::Key_Return);
  QTest::keyClicks(e.Nz, "Anna");
  EXPECT_EQ(e.odczytaj().Nz, "Nowak Anna");
  QTest::keyClicks(e.Nz, QString(150, 'x'));
  EXPECT_EQ(e.Nz->toPlainText().size(), 140);
  // Typed codes show in upper case.
  e.Obyw->clear();
  QTest::keyClicks(e.Obyw, "de");
  EXPECT_EQ(e.Obyw->text(), "DE");
}

TEST(PartyEditor, SaveGoesOnOrStaysByTheVerificationDialog) {
  const int kZamkniecie = -100;  // the dialog's close box
  const struct {
    const char* nazwa;
    bool uwagi;
    int odpowiedz;
    int wynik;  // 0: the editor stays open
  } cases[] = {
      {"nothing found", false, 0, platform::mrOk},
      {"Zapisz", true, zelt::TWerForm::kPotwierdz, platform::mrOk},
      {"Anuluj", true, zelt::TWerForm::kAnuluj, platform::mrIgnore},
      {"Wróć", true, zelt::TWerForm::kWroc, platform::mrNone},
      {"close box", true, kZamkniecie, platform::mrNone},
  };
  for (const auto& k : cases) {
    EdWorld w;
    auto& e = w.ed();
    TRekordPodmiotu r = czysty();
    if (k.uwagi) r.NrPes = "1";
    e.ustaw(r);
    const QStringList przed = stan(e);
    QString podpis;
    if (k.uwagi)
      w.dialogs.expectModal("WerForm", [&, odp = k.odpowiedz](ModalForm& f) {
        podpis = w.program().wer()->zapisz->isHidden() ? QString() : w.program().wer()->zapisz->text();
        if (odp != kZamkniecie) return odp;
        f.reject();
        return platform::mrNone;
      });
    e.resetModalResult();
    e.zapiszClick();
    EXPECT_TRUE(w.dialogs.scriptDone()) << k.nazwa;
    EXPECT_EQ(w.dialogs.shown().size(), k.uwagi ? 1u : 0u) << k.nazwa;
    if (k.uwagi) {
      EXPECT_EQ(podpis, "Zapisz") << k.nazwa;
    }
    EXPECT_EQ(e.modalResult(), k.wynik) << k.nazwa;
    EXPECT_EQ(stan(e), przed) << k.nazwa;
    // Still open after "Wróć": "&Anuluj" then closes it with a result that is no acceptance.
    if (k.wynik == platform::mrNone) {
      e.anuluj->click();
      EXPECT_EQ(e.modalResult(), platform::mrCancel) << k.nazwa;
    }
  }
}

TEST(PartyEditor, CountryPickersPreselectTheCodeAndMoveOn) {
  EdWorld w;
  auto& p = w.start();
  auto& e = w.ed();
  const int sk = p.kodykraj()->indeksKodu("SK");
  ASSERT_GT(sk, 0);
  const struct {
    const char* nazwa;
    bool obyw;
    const char* przed;
    int zaznaczony;
    int odpowiedz;  // the picker's result
    const char* po;
  } cases[] = {
      {"SK preselects SK", true, "SK", sk, 1, "PL"},
      {"empty: line 0", false, "", 0, sk + 1, "SK"},
      {"unknown: line 0", true, "QQ", 0, 2, nullptr},
      {"closed without a choice", false, "DE", -1, platform::mrDismissed, "DE"},
  };
  e.show();
  QApplication::setActiveWindow(&e);
  for (const auto& k : cases) {
    QLineEdit* pole = k.obyw ? e.Obyw : e.AdrKr;
    pole->setText(k.przed);
    int zaznaczony = -2;
    w.dialogs.expectModal("KodykrajForm", [&, odp = k.odpowiedz](ModalForm&) {
      zaznaczony = p.kodykraj()->Podkraje->currentRow();
      return odp;
    });
    if (k.obyw) e.PodObywClick();
    else e.PodAdrKrClick();
    if (k.zaznaczony >= 0) {
      EXPECT_EQ(zaznaczony, k.zaznaczony) << k.nazwa;
    }
    const QString po = k.po ? QString(k.po) : QString::fromStdString(p.kodykraj()->kod(k.odpowiedz - 1));
    EXPECT_EQ(pole->text(), po) << k.nazwa;
    EXPECT_EQ(QApplication::focusWidget(), k.obyw ? static_cast<QWidget*>(e.PodAdrKr) : e.AdrKod) << k.nazwa;
  }
  const QString kodDE = QString::fromStdString(p.kodykraj()->kod(1));
  EXPECT_EQ(kodDE.size(), 2);
  e.hide();
}

// ---- the import ----

// A record as the library could leave it, written at the layout's offsets.
struct Rekord {
  std::string b = std::string(TRekordPodmiotu::kSize, '\0');
  Rekord& i32(std::size_t off, std::int32_t v) {
    for (int k = 0; k < 4; ++k) b[off + k] = char((std::uint32_t(v) >> (8 * k)) & 0xFF);
    return *this;
  }
  // A length byte and the text's bytes; `dlugosc` overrides the length byte.
  Rekord& tekst(std::size_t off, const std::string& t, int dlugosc = -1) {
    b[off] = char(dlugosc < 0 ? int(t.size()) : dlugosc);
    b.replace(off + 1, t.size(), t);
    return *this;
  }
};

Rekord wypelniony() {
  Rekord r;
  r.i32(0, 0)
      .tekst(4, c("Wiśniewska Anna"))
      .tekst(145, "PL")
      .tekst(148, "DE")
      .tekst(151, "10-117")
      .tekst(162, "Berlin")
      .tekst(198, c("Friedrichstraße 5"))
      .tekst(234, "44051401359")
      .tekst(246, "123456785")
      .tekst(256, "0000012345")
      .tekst(267, "COBADEFFXXX")
      .tekst(283, "1234563218")
      .i32(294, 2)
      .tekst(298, "ZS1234567")
      .tekst(324, c("fundacja rodzinna"))
      .tekst(580, "not shown for a passport")
      .tekst(836, "DE");
  r.b[1092] = 3;
  return r;
}

struct ImportWorld : EdWorld {
  explicit ImportWorld(const char* folder = KELBRIX_DIR)
      : biblioteki(QString::fromUtf8(folder)), env("ZELT_KELBRIX_PODMIOT", path("podmiot.bin")) {}
  void daj(const std::string& bajty) { writeFile(path("podmiot.bin"), bajty); }
  FolderBibliotek biblioteki;
  ScopedEnv env;
};

TEST(PartyEditor, TabPassesTheCodesAndTheRemarks) {
  ImportWorld w;  // "&Importuj" enabled
  auto& e = w.ed();
  TRekordPodmiotu r = czysty();
  r.TypPo = 0;
  r.RodzDokTo = 0;
  e.ustaw(r);  // both remarks shown
  e.show();
  QApplication::setActiveWindow(&e);
  e.TypPo->setFocus();
  QStringList droga;
  for (int i = 0; i < 17; ++i) {
    droga << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(droga, (QStringList{"TypPo", "Nz", "PodObyw", "PodAdrKr", "AdrKod", "AdrM", "AdrUl", "NrPes", "NrReg",
                                "NrReS", "NrSwt", "Nip", "RodzDokTo", "NrDokTo", "zapisz", "Importuj", "anuluj"}));
  e.hide();
}

// Whether the library is still mapped into the process.
bool zaladowana(const char* folder) {
  const QByteArray plik = (QString::fromUtf8(folder) + "/libkelbrix.so").toLocal8Bit();
  void* h = dlopen(plik.constData(), RTLD_NOW | RTLD_NOLOAD);
  if (h) dlclose(h);
  return h != nullptr;
}

TEST(PartyImport, AFilledRecordFillsEveryControl) {
  ImportWorld w;
  auto& e = w.ed();
  TRekordPodmiotu staryPodmiot = czysty();
  staryPodmiot.rolaPo = TRekordPodmiotu::WImieniu;
  e.ustaw(staryPodmiot);
  w.daj(wypelniony().b);
  e.ImportujClick();
  EXPECT_EQ(stan(e), (QStringList{"0", "2", u("Wiśniewska Anna"), "uwTypPo=fundacja rodzinna", "Obyw=PL",
                                  "uwObyw=DE", "AdrKr=DE", "AdrKod=10-117", "AdrM=Berlin",
                                  u("AdrUl=Friedrichstraße 5"), "NrPes=44051401359", "NrReg=123456785",
                                  "NrReS=0000012345", "NrSwt=COBADEFFXXX", "Nip=1234563218", "NrDokTo=ZS1234567",
                                  "uwRodzDokTo=", "uwTypPo 1/1", "uwRodzDokTo 0/0"}));
  EXPECT_EQ(e.odczytaj().rolaPo, TRekordPodmiotu::WImieniu) << "the library's role byte is not taken";
  EXPECT_FALSE(zaladowana(KELBRIX_DIR)) << "unloaded after the import";
}

TEST(PartyImport, WhatTheLibraryLeavesIsMadeSafe) {
  const std::string nazwa140 = std::string(139, 'a') + "b";
  const struct {
    const char* nazwa;
    std::function<void(Rekord&)> zmiana;
    std::function<void(const TEdPodmiotForm&)> sprawdz;
  } cases[] = {
      {"a length byte beyond the capacity",
       [&](Rekord& r) { r.tekst(4, nazwa140, 250).tekst(145, "PL", 200); },
       [&](const TEdPodmiotForm& e) {
         EXPECT_EQ(e.Nz->toPlainText(), QString::fromStdString(nazwa140));
         EXPECT_EQ(e.Obyw->text(), "PL");
         EXPECT_EQ(e.AdrKr->text(), "DE") << "the next field is its own";
       }},
      {"indexes outside the lists",
       [](Rekord& r) { r.i32(0, 30).i32(294, -7); },
       [](const TEdPodmiotForm& e) {
         EXPECT_EQ(e.TypPo->currentIndex(), -1);
         EXPECT_EQ(e.RodzDokTo->currentIndex(), -1);
         EXPECT_EQ(e.odczytaj().TypPo, -1);
         EXPECT_EQ(e.odczytaj().RodzDokTo, -1);
         EXPECT_TRUE(e.uwTypPo->isHidden());
       }},
      {"control bytes in the texts",
       [](Rekord& r) { r.tekst(4, "Nowak\r\nJan").tekst(162, "Gda\tnsk"); },
       [](const TEdPodmiotForm& e) {
         EXPECT_EQ(e.odczytaj().Nz, "Nowak  Jan");
         EXPECT_EQ(e.AdrM->text(), "Gda nsk");
       }},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.nazwa);
    ImportWorld w;
    auto& e = w.ed();
    Rekord r = wypelniony();
    k.zmiana(r);
    w.daj(r.b);
    e.ImportujClick();
    k.sprawdz(e);
  }
}

TEST(PartyImport, AnUntouchedRecordClearsTheEditorAndAMissingExportChangesNothing) {
  {
    ImportWorld w;
    auto& e = w.ed();
    TRekordPodmiotu r = czysty();
    r.TypPo = 0;
    r.uwTypPo = "x";
    r.RodzDokTo = 0;
    r.uwRodzDokTo = "y";
    r.uwObyw = "CZ";
    e.ustaw(r);
    w.daj(std::string(100, 'z'));  // too short: the library leaves the record as it came
    e.ImportujClick();
    TRekordPodmiotu pusty;
    zelt::czyscPodmiot(pusty);
    EXPECT_EQ(e.odczytaj(), pusty);
    EXPECT_EQ(e.TypPo->currentIndex(), -1);
    EXPECT_EQ(e.RodzDokTo->currentIndex(), -1);
    EXPECT_TRUE(e.uwTypPo->isHidden() && e.LuwTypPo->isHidden());
    EXPECT_TRUE(e.uwRodzDokTo->isHidden() && e.LuwRodzDokTo->isHidden());
  }
  for (const char* folder : {KELBRIX_BEZ_EKSPORTU_DIR, "/nonexistent"}) {
    ImportWorld w(folder);
    auto& e = w.ed();
    e.ustaw(czysty());
    w.daj(wypelniony().b);
    const QStringList przed = stan(e);
    e.ImportujClick();
    EXPECT_EQ(stan(e), przed) << folder;
    EXPECT_TRUE(w.dialogs.shown().empty()) << "without a message";
    EXPECT_FALSE(zaladowana(folder)) << folder;
  }
}

// ---- the parties list's callers ----

struct ListaWorld : EdWorld {
  zelt::TPodmiotForm& lista() { return *start().podmiot(); }
  QString klienci() { return program().KatPod + "/klienci.dat"; }
  std::vector<TRekordPodmiotu> rekordy() {
    const std::string b = readFile(klienci());
    std::vector<TRekordPodmiotu> r;
    for (std::size_t i = 0; i + TRekordPodmiotu::kSize <= b.size(); i += TRekordPodmiotu::kSize)
      r.push_back(TRekordPodmiotu::decode(b.data() + i));
    return r;
  }
};

TEST(PartiesListEditor, AddPresetsTheSettingsDefaultsAndWritesOnlyOnAcceptance) {
  for (const int wynik : {platform::mrOk, platform::mrCancel, platform::mrIgnore}) {
    ListaWorld w;
    auto& l = w.lista();
    auto& k = *w.program().konfig();
    k.domTypPo->setCurrentIndex(0);
    k.domRodzDokTo->setCurrentIndex(3);
    k.domKraj->setText("CZ");
    QStringList preset;
    w.dialogs.expectModal("EdPodmiotForm", [&](ModalForm&) {
      auto& e = *w.program().edPodmiot();
      preset = stan(e);
      e.Nz->setPlainText("Nowak Jan");
      e.uwTypPo->setText("fundusz");
      return wynik;
    });
    l.Dodaj1->trigger();  // the popup's item does what the button does
    EXPECT_TRUE(w.dialogs.scriptDone());
    EXPECT_EQ(preset, (QStringList{"0", "3", "", "uwTypPo=", "Obyw=CZ", "uwObyw=", "AdrKr=CZ", "AdrKod=", "AdrM=",
                                   "AdrUl=", "NrPes=", "NrReg=", "NrReS=", "NrSwt=", "Nip=", "NrDokTo=",
                                   "uwRodzDokTo=", "uwTypPo 1/1", "uwRodzDokTo 0/0"}));
    if (wynik != platform::mrOk) {
      EXPECT_FALSE(QFile::exists(w.klienci())) << wynik;
      EXPECT_EQ(l.Podmiot->RowCount(), 0);
      continue;
    }
    const auto r = w.rekordy();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].Nz, "Nowak Jan");
    EXPECT_EQ(r[0].TypPo, 0);
    EXPECT_EQ(r[0].uwTypPo, "fundusz");
    EXPECT_EQ(r[0].RodzDokTo, 3);
    EXPECT_EQ(r[0].Obyw, "CZ");
    EXPECT_EQ(r[0].rolaPo, 0);
    EXPECT_EQ(l.Podmiot->RowCount(), 1);
    EXPECT_EQ(l.Podmiot->Cells(zelt::TPodmiotForm::NrRec, 0), "0");
  }
}

TEST(PartiesListEditor, AFullFileIsSaidBeforeTheEditorOpens) {
  ListaWorld w;
  auto& l = w.lista();
  {
    QFile f(w.klienci());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(zelt::PlikPodmiotow::kMaksimum * TRekordPodmiotu::kSize));
  }
  w.dialogs.expectMessage(platform::IdOk, u("lista podmiotów jest pełna"));
  l.dodajClick();  // no editor is expected: the script fails on one
  EXPECT_TRUE(w.dialogs.scriptDone());
}

TEST(PartiesListEditor, EditShowsTheStoredPartyAndRewritesItInPlace) {
  ListaWorld w;
  auto& p = w.start();
  TRekordPodmiotu a = czysty(), b = czysty();
  a.Nz = "Adam";
  b.Nz = "Bogdan";
  b.TypPo = 0;
  b.uwTypPo = "fundusz";
  b.RodzDokTo = 0;
  b.uwRodzDokTo = std::string(100, 'r');
  b.rolaPo = TRekordPodmiotu::Beneficjent;
  World::writeFile(w.klienci(), std::string(a.encode().data(), TRekordPodmiotu::kSize) +
                                    std::string(b.encode().data(), TRekordPodmiotu::kSize));
  p.podmiot()->filtrujClick();
  auto& l = *p.podmiot();
  l.Podmiot->SetDataRow(l.wierszRekordu(1));

  const struct {
    const char* nazwa;
    int wynik;
    std::function<void(TEdPodmiotForm&)> zmiana;
    std::function<void(TRekordPodmiotu&)> oczekiwane;
  } cases[] = {
      {"cancelled", platform::mrCancel, [](TEdPodmiotForm& e) { e.Nip->setText("5261040828"); }, nullptr},
      {"a new NIP; the long document remark survives", platform::mrOk,
       [](TEdPodmiotForm& e) { e.Nip->setText("5261040828"); }, [](TRekordPodmiotu& r) { r.Nip = "5261040828"; }},
      {"another type: its remark is not stored", platform::mrOk, [](TEdPodmiotForm& e) { e.TypPo->setCurrentIndex(9); },
       [](TRekordPodmiotu& r) { r.TypPo = 9, r.uwTypPo.clear(); }},
  };
  TRekordPodmiotu oczekiwany = b;
  for (const auto& k : cases) {
    TRekordPodmiotu pokazany;
    w.dialogs.expectModal("EdPodmiotForm", [&](ModalForm&) {
      auto& e = *p.edPodmiot();
      pokazany = e.odczytaj();
      k.zmiana(e);
      return k.wynik;
    });
    l.Edytuj1->trigger();
    EXPECT_TRUE(w.dialogs.scriptDone()) << k.nazwa;
    EXPECT_EQ(pokazany, oczekiwany) << k.nazwa;
    if (k.oczekiwane) k.oczekiwane(oczekiwany);
    const auto r = w.rekordy();
    ASSERT_EQ(r.size(), 2u) << k.nazwa;
    EXPECT_EQ(r[0], a) << k.nazwa;
    EXPECT_EQ(r[1], oczekiwany) << k.nazwa << ": the role byte kept";
    EXPECT_EQ(l.Podmiot->Cells(zelt::TPodmiotForm::poNIP, l.Podmiot->DataRow()), oczekiwany.Nip) << k.nazwa;
  }
}

TEST(PartyEditor, Pictures) {
  ImportWorld w;
  auto& e = w.ed();
  TRekordPodmiotu r = czysty();
  r.TypPo = 0;
  r.uwTypPo = c("fundusz inwestycyjny zamknięty");
  r.RodzDokTo = 0;
  r.uwRodzDokTo = c("legitymacja służbowa");
  e.ustaw(r);
  EXPECT_GT(testing_world::renderWindow(e, "edpodmiot_typ0"), 8);
  w.daj(wypelniony().b);
  e.ImportujClick();
  EXPECT_GT(testing_world::renderWindow(e, "edpodmiot_import"), 8);
}

}  // namespace
