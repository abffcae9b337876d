// The main window: access after each kind of sign-in, the commands' state as the list fills and
// empties, the menus, the register commands through the window, the links, help, the about box,
// the ways out, the size of the list, and the dispatch report.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <optional>

#include "platform/cp1250.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/wierszrejestru.h"
#include "register/wizytform.h"
#include "register/werform.h"
#include "register/wysylka.h"
#include "settings/firmaform.h"
#include "settings/hasla.h"
#include "settings/jednform.h"
#include "settings/konfigform.h"
#include "settings/podpowform.h"
#include "swiatrejestru.h"

using swiat::rekord;
using zelt::TRekordTransakcji;

namespace {

using Partia = std::vector<std::int32_t>;

// The started program's main window with every command's work recorded.
struct Okno : swiat::SwiatRejestru {
  std::vector<zelt::Karta> edycje;
  std::vector<Partia> druki, wysylki;
  int druki_rejestru = 0;

  zelt::TglownyForm& otworz(std::function<int()> logowanie = [] { return platform::mrOk; }) {
    auto& p = uruchomiony(std::move(logowanie));
    auto& g = *p.glowny();
    g.pokazEdycje = [this, &p] {
      edycje.push_back(p.karta);
      return platform::mrOk;
    };
    g.pokazPodmioty = [] { return platform::mrOk; };
    g.drukujKarty = [this](const Partia& r) { druki.push_back(r); };
    g.generujPliki = [this](const Partia& r) { wysylki.push_back(r); };
    g.DrukRejClick = [this] { ++druki_rejestru; };
    g.ImpMenClick = [] {};
    g.ExpMenClick = [] {};
    g.ArchMenClick = [] {};
    g.ustawPrzyciski();
    return g;
  }
  int wiersz(zelt::TglownyForm& g, std::int32_t nr) {
    auto& p = program();
    for (int r = 0; r < g.lista->RowCount(); ++r)
      if (g.lista->Cells(p.ukladListy.kolumnaLp(), r) == std::to_string(nr + 1)) return r;
    return -1;
  }
};

std::vector<QPushButton*> naWierszach(zelt::TglownyForm& g) { return {g.Edytuj, g.Usun, g.DrukKar, g.DrukRej, g.Wyslij}; }

TEST(MainWindow, AccessFollowsWhoSignedIn) {
  struct Case {
    const char* name;
    const char* entry;
    bool admin;
    const char* panel;
  } cases[] = {
      {"administrator", "adm", true, "Zalogowany : Admin "},
      {"responsible person", "os1", false, "Zalogowany : Jan Kowalski "},
      {"second responsible person", "os2", false, "Zalogowany : Anna Nowak "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Okno w;
    using zelt::hasla::Rola;
    const std::string io = "\\SOFTWARE\\Tarvo\\ZELT\\IO\\";
    w.reg().writeBinary(platform::RegRoot::CurrentUser, io, "Opcje", zelt::hasla::zakoduj(Rola::Administrator, "adm"));
    w.reg().writeBinary(platform::RegRoot::CurrentUser, io, "OpOs1IO", zelt::hasla::zakoduj(Rola::Osoba1, "os1"));
    w.reg().writeBinary(platform::RegRoot::CurrentUser, io, "OpOs2IO", zelt::hasla::zakoduj(Rola::Osoba2, "os2"));
    bool beforeSignIn = true;
    w.dialogs.expectModal("wizytForm", [&](platform::ModalForm& f) {
      auto& p = w.program();
      beforeSignIn = p.glowny()->JedMen->isEnabled() || p.glowny()->konMen->isEnabled();
      p.firma()->ImOs1IO->setText("Jan");
      p.firma()->NaOs1IO->setText("Kowalski");
      p.firma()->ImOs2IO->setText("Anna");
      p.firma()->NaOs2IO->setText("Nowak");
      auto& s = static_cast<zelt::TwizytForm&>(f);
      s.haslo->setText(c.entry);
      s.FormKeyDown(Qt::Key_Return);
      return platform::mrNone;
    });
    auto& g = w.otworz(nullptr);
    EXPECT_FALSE(beforeSignIn) << "closed until the sign-in";
    EXPECT_EQ(g.JedMen->isEnabled(), c.admin);
    EXPECT_EQ(g.konMen->isEnabled(), c.admin);
    EXPECT_EQ(g.statPanel[1]->text(), QString::fromUtf8(c.panel));
    if (c.admin) {
      w.dialogs.expectModal("FirmaForm", [](platform::ModalForm&) { return platform::mrCancel; });
      w.dialogs.expectModal("KonfigForm", [](platform::ModalForm&) { return platform::mrCancel; });
    }
    g.JedMen->trigger();
    g.konMen->trigger();
    EXPECT_TRUE(w.dialogs.scriptDone());
  }
}

TEST(MainWindow, CommandsOnRowsFollowTheRows) {
  Okno w;
  auto& g = w.otworz();
  auto& p = w.program();
  EXPECT_TRUE(g.dodaj->isEnabled());
  for (auto* b : naWierszach(g)) EXPECT_FALSE(b->isEnabled()) << "empty: " << b->objectName().toStdString();
  EXPECT_FALSE(g.Tylkowybrane1->isEnabled());
  EXPECT_TRUE(g.Niewydrukowane1->isEnabled()) << "needs no chosen row";

  // The first card of the register, as the card save writes it.
  w.zapisz({rekord("A")});
  g.lista->AddRow();
  zelt::zapiszWiersz(*g.lista, p.ukladListy, 0, 0, rekord("A"), p.listyKarty);
  g.ustawPrzyciski();
  for (auto* b : naWierszach(g)) EXPECT_TRUE(b->isEnabled()) << "first card: " << b->objectName().toStdString();

  // The last row deleted.
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Czy napewno"));
  g.Usun->click();
  EXPECT_EQ(g.lista->RowCount(), 0);
  EXPECT_EQ(w.rekordy().at(0).Status, 99);
  for (auto* b : naWierszach(g)) EXPECT_FALSE(b->isEnabled()) << "last row deleted: " << b->objectName().toStdString();
  g.Usu1->trigger();  // nothing to delete: no question
}

// The register list is read, never edited: a key or F2 opens no editor and changes no cell, and the
// active row shows in aqua.
TEST(MainWindow, TheRegisterListIsReadOnlyAndShowsTheActiveRowInAqua) {
  Okno w;
  w.zapisz({rekord("A"), rekord("B")});
  auto& g = w.otworz();
  auto& lista = *g.lista;
  ASSERT_EQ(lista.RowCount(), 2);
  EXPECT_EQ(lista.Options() & (kgrid::goEditing | kgrid::goRowSelect), 0u);
  g.show();
  lista.setFocus();
  const int nrEwT = w.program().ukladListy.kolumna("nrEwT");
  lista.SetDataRow(0);
  for (int key : {int(Qt::Key_F2), int(Qt::Key_X), int(Qt::Key_Return)}) QTest::keyClick(&lista, Qt::Key(key));
  EXPECT_EQ(lista.Cells(nrEwT, 0), "A");
  EXPECT_EQ(lista.Cells(nrEwT, 1), "B");
  EXPECT_EQ(lista.findChild<QPlainTextEdit*>(), nullptr) << "no editor was made";
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  const QImage img = lista.viewport()->grab().toImage();
  // A cell of the active row (the first data row, under the header) beside the active cell; the
  // cell's first pixels inside its border carry its background.
  const kgrid::TRect cell = lista.CellRect(nrEwT, 1);
  ASSERT_FALSE(cell.isEmpty());
  EXPECT_EQ(img.pixelColor(cell.Left + 1, cell.Top + 1), QColor(0, 255, 255)) << "the active row is painted aqua";
  const kgrid::TRect other = lista.CellRect(nrEwT, 2);
  EXPECT_NE(img.pixelColor(other.Left + 1, other.Top + 1), QColor(0, 255, 255)) << "another row is not";
}

TEST(MainWindow, EveryCommandHasItsWorkAfterStartUp) {
  swiat::SwiatRejestru w;
  w.zapisz({rekord("A")});
  auto& g = *w.uruchomiony().glowny();
  ASSERT_EQ(g.lista->RowCount(), 1);
  // The card editor, the card print, the register print and the send are set at start-up.
  for (QWidget* b : {g.dodaj, g.Edytuj, g.Usun, g.DrukKar, g.DrukRej, g.Wyslij})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  // The parties list, the import and the export too.
  for (QAction* a : {g.Dodaj1, g.Edytuj1, g.Usu1, g.Drukrejestru1, g.Listapodmiotw1, g.ImpMen, g.ExpMen})
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  // The archive command's work is the window's own.
  for (QAction* a : {g.ArchMen, g.WyjMen, g.PomMen, g.StronafirmyTarvo1, g.ProgMen, g.Zamknicieprogramu1,
                     g.Tylkowybrane1, g.Wybranezpowizanymi1, g.Niewydrukowane1, g.Tylkowybrane2,
                     g.Wybranezpowizanymi2, g.Niewysane1})
    EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
  g.generujPliki = nullptr;
  g.Niewysane1Click();  // a command without its work does nothing
}

// The darkest pixel of a popup entry's text: disabled entries are drawn in grey.
int najciemniejszy(QMenu& menu, QAction* a) {
  const QImage img = menu.grab().toImage();
  const QRect r = menu.actionGeometry(a).adjusted(2, 2, -2, -2);
  int v = 255;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) v = std::min(v, img.pixelColor(x, y).value());
  return v;
}

// A submenu whose every item is disabled is disabled itself, and drawn so; it opens again as
// soon as one of its items has something to do.
TEST(MainWindow, ASubmenuWithNothingToChooseIsDisabled) {
  swiat::SwiatRejestru w;
  auto& g = *w.uruchomiony().glowny();
  // Set at start-up; taken away here so that both submenus have no work.
  g.drukujKarty = nullptr;
  g.generujPliki = nullptr;
  g.ustawPrzyciski();
  QMenu& menu = *g.GlowneMenu;
  menu.ensurePolished();
  menu.resize(menu.sizeHint());
  for (QMenu* m : {g.Drukkart1, g.Wysaniekart1}) {
    SCOPED_TRACE(m->objectName().toStdString());
    EXPECT_FALSE(m->menuAction()->isEnabled());
    EXPECT_GT(najciemniejszy(menu, m->menuAction()), 100) << "drawn grey";
  }
  EXPECT_LT(najciemniejszy(menu, g.Zamknicieprogramu1), 80) << "an enabled entry is drawn dark";
  testing_world::renderWindow(menu, "popup_bez_pracy");

  g.drukujKarty = [](const std::vector<std::int32_t>&) {};
  g.ustawPrzyciski();  // "&Niewydrukowane" needs no row
  EXPECT_TRUE(g.Drukkart1->menuAction()->isEnabled());
  EXPECT_LT(najciemniejszy(menu, g.Drukkart1->menuAction()), 80);
  EXPECT_FALSE(g.Wysaniekart1->menuAction()->isEnabled());
  g.generujPliki = [](const std::vector<std::int32_t>&) {};
  g.ustawPrzyciski();
  EXPECT_TRUE(g.Wysaniekart1->menuAction()->isEnabled());
}

TEST(MainWindow, MenusCaptionsAndHints) {
  swiat::SwiatRejestru w;
  auto& g = *w.uruchomiony().glowny();
  QStringList menus;
  for (QAction* a : g.menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"Plik", "Opcje", "Podmiot", "Pomoc"}));
  const struct {
    QAction* a;
    const char* caption;
    const char* hint;
  } items[] = {
      {g.ArchMen, "&Archiwizacja", "Archiwizacja danych i konfiguracji"},
      {g.ImpMen, "&Importuj", "Import danych z innego komputera"},
      {g.ExpMen, "&Exportuj", "Eksport danych do innego komputera"},
      {g.WyjMen, "&Wyjście", ""},
      {g.JedMen, "&Jednostka Obowiązana", "Wprowadzanie danych Instytucji Obowiązanej"},
      {g.konMen, "&Konfiguracja", "Wprowadzanie konfiguracji programu"},
      {g.Listapodmiotw1, "&Lista podmiotów", ""},
      {g.PomMen, "&Pomoc", "Instrukcja obsługi programu"},
      {g.StronafirmyTarvo1, "&Strona firmy Tarvo", ""},
      {g.ProgMen, "&O programie", "Informacje o wersji i użytkowniku"},
  };
  for (const auto& i : items) {
    EXPECT_EQ(i.a->text(), QString::fromUtf8(i.caption));
    EXPECT_EQ(i.a->statusTip(), QString::fromUtf8(i.hint)) << i.caption;
  }
  // The popup, as the user sees it: separators as "-", submenus with their items.
  QStringList popup;
  for (QAction* a : g.GlowneMenu->actions()) {
    popup << (a->isSeparator() ? QStringLiteral("-") : a->text());
    if (a->menu())
      for (QAction* s : a->menu()->actions()) popup << "  " + s->text();
  }
  EXPECT_EQ(popup, (QStringList{"&Dodaj", "&Edytuj", QString::fromUtf8("&Usuń"), "-", "Druk &kart", "  &Tylko wybrane",
                                QString::fromUtf8("  &Wybrane z powiązanymi"), "  &Niewydrukowane", "Druk &rejestru", "-",
                                QString::fromUtf8("&Wysłanie kart"), "  &Tylko wybrane",
                                QString::fromUtf8("  &Wybrane z powiązanymi"), QString::fromUtf8("  &Niewysłane"), "-",
                                QString::fromUtf8("&Zamknięcie programu")}));
  EXPECT_EQ(g.lista->PopupMenu(), g.GlowneMenu);
  EXPECT_EQ(g.windowTitle(), "Informacja dla ZELT");
}

TEST(MainWindow, EditOpensOnlyACardThatLoaded) {
  Okno w;
  TRekordTransakcji a = rekord("A", 39146.0, "0");
  a.Status = 0;  // a correction
  TRekordTransakcji a2 = rekord("A", 39146.0, "1");
  w.zapisz({a, rekord("B"), a2});
  auto& g = w.otworz();
  auto& p = w.program();
  g.lista->SetDataRow(w.wiersz(g, 2));
  g.Edytuj->click();
  ASSERT_EQ(w.edycje.size(), 1u);
  EXPECT_EQ(w.edycje[0].nrEwT, "A");
  EXPECT_EQ(w.edycje[0].Status, 0);
  EXPECT_TRUE(w.edycje[0].NrRejDatAktywny) << "two records to choose from";
  EXPECT_EQ(p.trybKarty, 0);
  EXPECT_EQ(p.rekordyKarty.k, 2);
  EXPECT_EQ(p.rekordyKarty.r[1].wiersz, w.wiersz(g, 0));
  EXPECT_EQ(p.rekordyKarty.r[2].wiersz, w.wiersz(g, 2));

  g.lista->SetDataRow(w.wiersz(g, 1));
  g.Edytuj1->trigger();
  ASSERT_EQ(w.edycje.size(), 2u);
  EXPECT_FALSE(w.edycje[1].NrRejDatAktywny) << "a card of one record";

  // "&Dodaj" after editing the correction: a new transaction.
  g.dodaj->click();
  ASSERT_EQ(w.edycje.size(), 3u);
  EXPECT_EQ(w.edycje[2].Status, 1);
  EXPECT_EQ(p.trybKarty, 1);

  ASSERT_TRUE(QFile::remove(w.plik()));
  w.dialogs.expectMessage(platform::IdOk, "Brak pliku danych");
  g.EdytujClick();
  EXPECT_EQ(w.edycje.size(), 3u) << "never the card loaded before";
}

TEST(MainWindow, NewCardTakesTheWindowsSettings) {
  Okno w;
  auto& g = w.otworz();
  auto& p = w.program();
  p.konfig()->domkRodzTr->setText("0607");
  p.konfig()->domMiejsce->setText(QString::fromUtf8("Łódź"));
  p.konfig()->domWaluta->setText("EUR");
  p.konfig()->domKraj->setText("DE");
  p.konfig()->NrEwIO->setChecked(true);
  p.firma()->NumIO->setText("87654321");
  p.zalogowany = "Anna;Nowak;Kasjer";
  g.Dodaj1->trigger();
  ASSERT_EQ(w.edycje.size(), 1u);
  const auto& k = w.edycje[0];
  EXPECT_EQ(k.kRodzTr, "0607");
  EXPECT_TRUE(k.kwotaZWidoczna);
  EXPECT_EQ(k.tM, cp1250::fromUtf8("Łódź"));
  EXPECT_EQ(k.tJ, "EUR");
  EXPECT_EQ(k.z.pola.Obyw, "DE");
  EXPECT_EQ(k.jedIO, "87654321 - siedziba");
  EXPECT_EQ(k.RozNum, "87654321");
  EXPECT_EQ(k.Wprowa, "Anna;Nowak;Kasjer");
  EXPECT_EQ(k.NrRejDat, std::vector<std::string>{"0"});
  EXPECT_EQ(k.rejDat, w.dzis());
}

// A code or number that must be whole (the settings' default kind code: four digits; the
// institution's seat number: eight) acts only when it is: one typed short and left without
// "&Zapisz" never reaches a new card nor the store at exit. "&Dodaj" and the exit take the last
// whole value of the run.
const std::string kKluczKonfig = "\\SOFTWARE\\Tarvo\\ZELT\\Konfig\\";
const std::string kKluczIO = "\\SOFTWARE\\Tarvo\\ZELT\\IO\\";

struct WMocy : Okno {
  zelt::TglownyForm* g = nullptr;
  void start() {
    g = &otworz();
    program().administrator = true;
  }
  QWidget* okno(const std::string& nazwa) {
    return nazwa == "KonfigForm" ? static_cast<QWidget*>(program().konfig()) : program().firma();
  }
  // The user opens the window from the menu, types `text` over the edit's and leaves by `wyjscie`
  // ("zapis" for "&Zapisz", "wyjscie" for "&Wyjdź" or "&Powrót", "x" for the close box).
  void wpisz(const char* okno, const char* pole, const char* text, std::string wyjscie) {
    dialogs.expectModal(okno, [this, pole, text, wyjscie](platform::ModalForm& f) {
      auto* e = f.findChild<QLineEdit*>(pole);
      e->selectAll();
      e->del();
      QTest::keyClicks(e, text);
      // The institution's save runs its check first, whose findings the user confirms.
      if (wyjscie == "zapis" && f.objectName() == "FirmaForm")
        dialogs.expectModal("WerForm", [](platform::ModalForm&) { return zelt::TWerForm::kPotwierdz; });
      if (wyjscie == "x") f.close();
      else f.findChild<QPushButton*>(QString::fromStdString(wyjscie))->click();
      return platform::mrNone;
    });
    if (std::string(okno) == "KonfigForm") g->konMenClick();
    else g->JedMenClick();
  }
  zelt::Karta dodaj() {
    g->Dodaj1->trigger();
    return edycje.back();
  }
  std::optional<std::string> poWyjsciu(const std::string& klucz, const char* nazwa) {
    g->zapiszUstawienia();
    return platform::RegistryStore(registryFile()).readString(platform::RegRoot::CurrentUser, klucz, nazwa);
  }
};

struct Wpis {
  const char* text;
  const char* wyjscie;
};
struct PrzypadekWMocy {
  const char* opis;
  std::optional<std::string> zapisany;  // none: the value is not stored
  std::vector<Wpis> wpisy;
  std::string naKarcie, poWyjsciu;
};
// An edit's cases: the value stored (or its design default) is shown as it is; then the typing,
// what "&Dodaj" gives the card, and what the exit stores.
struct EdycjaWMocy {
  const char* okno;
  const char* pole;
  const std::string& klucz;
  const char* wartosc;
  const char* domyslna;
  std::string (*zKarty)(const zelt::Karta&);
};
void sprawdzWMocy(const EdycjaWMocy& ed, const std::vector<PrzypadekWMocy>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.opis);
    WMocy w;
    if (c.zapisany) w.reg().writeString(platform::RegRoot::CurrentUser, ed.klucz, ed.wartosc, *c.zapisany);
    w.start();
    EXPECT_EQ(w.okno(ed.okno)->findChild<QLineEdit*>(ed.pole)->text().toStdString(), c.zapisany.value_or(ed.domyslna))
        << "shown as stored";
    for (const auto& x : c.wpisy) w.wpisz(ed.okno, ed.pole, x.text, x.wyjscie);
    EXPECT_TRUE(w.dialogs.scriptDone());
    EXPECT_EQ(ed.zKarty(w.dodaj()), c.naKarcie);
    EXPECT_EQ(w.poWyjsciu(ed.klucz, ed.wartosc), c.poWyjsciu);
  }
}

TEST(MainWindow, AKindCodeNotOfFourDigitsNeverActs) {
  sprawdzWMocy({"KonfigForm", "domkRodzTr", kKluczKonfig, "domkRodzTr", "0607",
                [](const zelt::Karta& k) { return k.kRodzTr; }},
               {
                   {"typed short, left by Wyjdz", "0607", {{"12", "wyjscie"}}, "0607", "0607"},
                   {"typed short, left by the close box", "0607", {{"12", "x"}}, "0607", "0607"},
                   {"a whole code left in force first", "0607", {{"0101", "wyjscie"}, {"12", "wyjscie"}}, "0101", "0101"},
                   {"a whole code left by the close box acts", "0607", {{"0101", "x"}, {"12", "wyjscie"}}, "0101",
                    "0101"},
                   {"the design default on a first start", std::nullopt, {{"1", "wyjscie"}}, "0607", "0607"},
                   {"a stored short code: none in force, the stored one kept", "12", {}, "", "12"},
                   {"a stored short code, then one saved", "12", {{"0101", "zapis"}}, "0101", "0101"},
                   {"a stored short code, a short one typed", "12", {{"1", "wyjscie"}}, "", "12"},
               });
}

TEST(MainWindow, ASeatNumberNotOfEightDigitsNeverActs) {
  sprawdzWMocy({"FirmaForm", "NumIO", kKluczIO, "numIO", "00000000",
                [](const zelt::Karta& k) { return k.jedIOPozycje.front(); }},
               {
                   {"typed short, left by Powrot", "00000000", {{"123", "wyjscie"}}, "00000000 - siedziba", "00000000"},
                   {"typed short, left by the close box", "00000005", {{"123", "x"}}, "00000005 - siedziba",
                    "00000005"},
                   {"a whole number left by the close box acts", "00000000", {{"00000123", "x"}, {"123", "wyjscie"}},
                    "00000123 - siedziba", "00000123"},
                   {"a whole number left in force first", "00000000", {{"00000123", "wyjscie"}, {"123", "wyjscie"}},
                    "00000123 - siedziba", "00000123"},
                   {"a whole number saved", "00000000", {{"87654321", "zapis"}}, "87654321 - siedziba", "87654321"},
                   {"the design default on a first start", std::nullopt, {{"123", "wyjscie"}}, "00000000 - siedziba",
                    "00000000"},
                   {"a stored number that is not 8 digits: shown, never on a card, kept", "12AB5678", {},
                    "00000000 - siedziba", "12AB5678"},
                   {"a stored short number, a short one typed", "123", {{"1234", "wyjscie"}}, "00000000 - siedziba",
                    "123"},
               });
}

// "&Zapisz" of the institution window refuses a seat number typed short: it says so, stays open
// on the number and writes nothing.
TEST(MainWindow, TheInstitutionsSaveRefusesAShortSeatNumber) {
  WMocy w;
  w.reg().writeString(platform::RegRoot::CurrentUser, kKluczIO, "numIO", "00000000");
  w.start();
  const std::string przed = testing_world::World::readFile(w.registryFile());
  auto* f = w.program().firma();
  w.dialogs.expectModal("FirmaForm", [&](platform::ModalForm&) {
    f->strony->setCurrentIndex(2);
    f->NumIO->selectAll();
    QTest::keyClicks(f->NumIO, "123");
    w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Numer instytucji obowiązanej musi składać się z 8 cyfr"));
    f->zapis->click();
    EXPECT_EQ(f->modalResult(), platform::mrNone) << "the window stays open";
    EXPECT_EQ(f->strony->currentIndex(), 0) << "on the number's page";
    EXPECT_EQ(testing_world::World::readFile(w.registryFile()), przed) << "nothing written";
    f->wyjscie->click();
    return platform::mrNone;
  });
  w.g->JedMenClick();
  EXPECT_EQ(w.dialogs.messages(), QStringList{QString::fromUtf8("Numer instytucji obowiązanej musi składać się z 8 cyfr")});
  EXPECT_EQ(w.dodaj().jedIOPozycje.front(), "00000000 - siedziba");
}

TEST(MainWindow, BatchesGoToThePrintAndTheSend) {
  Okno w;
  auto recs = std::vector<TRekordTransakcji>{rekord("A"), rekord("B"), rekord("A"), rekord("C")};
  recs[1].ilWydrukow = 1;
  recs[3].ilWyslan = 1;
  w.zapisz(recs);
  auto& g = w.otworz();
  g.lista->SetDataRow(w.wiersz(g, 2));
  g.DrukKar->click();
  g.Wybranezpowizanymi1->trigger();
  g.Niewydrukowane1->trigger();
  EXPECT_EQ(w.druki, (std::vector<Partia>{{2}, {0, 2}, {0, 2, 3}}));
  g.Tylkowybrane2->trigger();
  g.Wybranezpowizanymi2Click();
  g.Niewysane1->trigger();
  EXPECT_EQ(w.wysylki, (std::vector<Partia>{{2}, {0, 2}, {0, 1, 2}}));
  g.DrukRej->click();
  g.Drukrejestru1->trigger();
  EXPECT_EQ(w.druki_rejestru, 2);
}

TEST(MainWindow, ABatchOverTheLimitIsCutWithAMessage) {
  Okno w;
  std::vector<TRekordTransakcji> recs(1001, rekord("N"));
  w.zapisz(recs);
  auto& g = w.otworz();
  w.dialogs.expectMessage(platform::IdOk, "1000");
  g.Niewydrukowane1Click();
  ASSERT_EQ(w.druki.size(), 1u);
  EXPECT_EQ(w.druki[0].size(), 1000u);
}

TEST(MainWindow, StatusLabelsFollowTheActiveColumn) {
  Okno w;
  TRekordTransakcji a = rekord("A");
  a.kRodzTr = "0607";
  a.tKw = "100,00";
  w.zapisz({a});
  auto& g = w.otworz();
  auto& p = w.program();
  g.lista->SetDataCol(p.ukladListy.kolumna("tKw"));
  EXPECT_EQ(g.GrupaWys->text(), "Grupa : II. TRANSAKCJA");
  EXPECT_EQ(g.PoleWys->text(), QString::fromUtf8("Wartość : 100,00 ; Pole : 13.-Kwota transakcji"));
  g.lista->SetDataCol(p.ukladListy.kolumnaLp());
  EXPECT_EQ(g.GrupaWys->text(), "Grupa : ");
}

// The labels show the cell the user is on, however it was reached: a click on another row and
// column, a click in the same column, a key; and after a delete, the row that took the deleted
// one's place, or nothing once the list is empty.
TEST(MainWindow, StatusLabelsShowTheCurrentCell) {
  Okno w;
  w.zapisz({rekord("A"), rekord("B"), rekord("C")});
  auto& g = w.otworz();
  auto& lista = *g.lista;
  g.show();
  QApplication::processEvents();
  const int nrEwT = w.program().ukladListy.kolumna("nrEwT");
  auto wartosc = [&] { return g.PoleWys->text().section(QLatin1Char(';'), 0, 0); };
  const QString pole = QString::fromUtf8(" ; Pole : 1.-Nr. ewidencyjny");
  auto kliknij = [&](int col, int row) {
    QTest::mouseClick(lista.viewport(), Qt::LeftButton, {}, lista.CellRectOnScreen(col, row + 1).center());
  };
  kliknij(nrEwT, 2);
  EXPECT_EQ(g.PoleWys->text(), QString::fromUtf8("Wartość : C") + pole) << "another row and column";
  kliknij(nrEwT, 0);
  EXPECT_EQ(wartosc(), QString::fromUtf8("Wartość : A ")) << "another row, same column";
  QTest::keyClick(&lista, Qt::Key_Down);
  EXPECT_EQ(wartosc(), QString::fromUtf8("Wartość : B ")) << "a key";
  g.pokazEdycje = [&] {  // the card save rewrites the current row
    lista.SetCells(nrEwT, lista.DataRow(), "B2");
    return platform::mrOk;
  };
  g.EdytujClick();
  EXPECT_EQ(wartosc(), QString::fromUtf8("Wartość : B2 ")) << "after the card editor";

  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Czy napewno"));
  g.Usun->click();  // B; C takes its row
  ASSERT_EQ(lista.RowCount(), 2);
  EXPECT_EQ(wartosc(), QString::fromUtf8("Wartość : C "));
  for (int i = 0; i < 2; ++i) {
    w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Czy napewno"));
    g.Usun->click();
  }
  ASSERT_EQ(lista.RowCount(), 0);
  EXPECT_EQ(g.PoleWys->text(), pole) << "an empty list has no value to show";
  EXPECT_EQ(g.GrupaWys->text(), "Grupa : I. IDENTYFIKACJA");
}

TEST(MainWindow, MakersPagesHelpAndTheAboutBox) {
  Okno w;
  auto& g = w.otworz();
  g.StronafirmyTarvo1->trigger();
  g.EmailTarvo();
  g.PomMen->trigger();
  EXPECT_EQ(w.shell.requests, (QStringList{"url http://www.tarvo.pl", "mail zelt@tarvo.pl Rejestr transakcji ZELT",
                                           "help zelt.hlp 0"}));
  w.shell.answer = false;
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd w czasie otwierania rejestru"));
  g.StronaTarvo();
  w.shell.answer = true;
  w.shell.requests.clear();

  auto& s = *w.program().wizyt();
  QTest::mouseClick(s.EmailTarvo, Qt::LeftButton);
  EXPECT_EQ(w.shell.requests, QStringList{"mail zelt@tarvo.pl Rejestr transakcji ZELT"}) << "the splash's mail label";

  bool passwordShown = true, okShown = false;
  w.dialogs.expectModal("wizytForm", [&](platform::ModalForm& f) {
    auto& about = static_cast<zelt::TwizytForm&>(f);
    passwordShown = about.haslo->isVisible() || about.wprhas->isVisible();
    okShown = about.ok->isVisible();
    QTest::keyClick(about.ok, Qt::Key_F1);
    about.ok->click();
    testing_world::renderWindow(about, "oprogramie");
    return platform::mrNone;
  });
  g.ProgMen->trigger();
  EXPECT_FALSE(passwordShown);
  EXPECT_TRUE(okShown);
  EXPECT_FALSE(s.ok->isVisible()) << "the splash serves the sign-in without it";
  EXPECT_EQ(w.shell.requests.last(), "help zelt.hlp 1120200");
}

// Without the help file every way to ask for help says so, instead of doing nothing visible.
TEST(MainWindow, AMissingHelpFileIsSaid) {
  swiat::SwiatRejestru w;
  auto& p = w.uruchomiony();
  w.shell.answer = false;
  const struct {
    const char* name;
    std::function<void()> ask;
  } ways[] = {
      {"Pomoc", [&] { p.glowny()->PomMen->trigger(); }},
      {"F1 in the main window", [&] { QTest::keyClick(p.glowny(), Qt::Key_F1); }},
      {"F1 in the settings", [&] { QTest::keyClick(p.konfig(), Qt::Key_F1); }},
      {"F1 in the institution window", [&] { QTest::keyClick(p.firma(), Qt::Key_F1); }},
      {"F1 in the kind picker", [&] { QTest::keyClick(p.podpow(), Qt::Key_F1); }},
      {"F1 in the verification dialog", [&] { QTest::keyClick(p.wer(), Qt::Key_F1); }},
      {"F1 in the card editor", [&] { QTest::keyClick(p.edycja(), Qt::Key_F1); }},
      {"F1 in a field of the card editor", [&] { QTest::keyClick(p.edycja()->nrEwT, Qt::Key_F1); }},
      {"F1 in the unit dialog", [&] { QTest::keyClick(p.jedn(), Qt::Key_F1); }},
  };
  for (const auto& way : ways) {
    w.dialogs.expectMessage(platform::IdOk, "Brak pliku pomocy zelt.hlp");
    way.ask();
    EXPECT_TRUE(w.dialogs.scriptDone()) << way.name;
  }
  EXPECT_EQ(w.shell.requests.size(), std::size(ways)) << "the help file was asked for each time";
  w.shell.answer = true;
  p.glowny()->PomMen->trigger();  // shown: nothing to say
  EXPECT_EQ(w.dialogs.messages().size(), std::size(ways));
}

TEST(MainWindow, EveryWayOutSavesTheSettingsAndEnds) {
  const std::function<void(zelt::TglownyForm&)> ways[] = {
      [](zelt::TglownyForm& g) { g.Zamknij->click(); },
      [](zelt::TglownyForm& g) { g.WyjMen->trigger(); },
      [](zelt::TglownyForm& g) { g.Zamknicieprogramu1->trigger(); },
      [](zelt::TglownyForm& g) { g.close(); },
  };
  for (std::size_t i = 0; i < std::size(ways); ++i) {
    swiat::SwiatRejestru w;
    auto& g = *w.uruchomiony().glowny();
    ways[i](g);
    EXPECT_EQ(w.konce, 1) << "way " << i;
    EXPECT_TRUE(w.program().zakonczony);
    w.reloadRegistry();
    EXPECT_TRUE(w.reg().keyExists(platform::RegRoot::CurrentUser, "\\SOFTWARE\\Tarvo\\ZELT\\")) << "way " << i;
  }
}

TEST(MainWindow, TheListFollowsTheWindowsSize) {
  Okno w;
  std::vector<TRekordTransakcji> recs;
  for (int i = 0; i < 30; ++i) {
    TRekordTransakcji r = rekord("TR/" + std::to_string(i), 39146.0 + i, std::to_string(i));
    r.kRodzTr = "0607";
    r.tKw = std::to_string(100 * i) + ",00";
    r.zNz = "Kowalski Jan";
    r.ilWydrukow = i % 3 == 0;
    recs.push_back(r);
  }
  w.zapisz(recs);
  auto& g = w.otworz();
  g.show();
  g.resize(800, 600);
  QApplication::processEvents();
  EXPECT_EQ(g.lista->size(), QSize(792, 450));
  const QRect inside = g.centralWidget()->rect();
  for (QWidget* c : {static_cast<QWidget*>(g.GrupaWys), static_cast<QWidget*>(g.PoleWys),
                     static_cast<QWidget*>(g.dodaj), static_cast<QWidget*>(g.Zamknij)})
    EXPECT_TRUE(inside.contains(c->geometry())) << c->objectName().toStdString();
  EXPECT_GT(g.dodaj->y(), g.PoleWys->geometry().bottom()) << "the buttons under the labels";
  EXPECT_GT(testing_world::renderWindow(g, "glowny_800x600"), 8);
  g.resize(550, 250);
  QApplication::processEvents();
  EXPECT_EQ(g.lista->size(), QSize(542, 100));
  EXPECT_GT(g.dodaj->y(), g.PoleWys->geometry().bottom());
  EXPECT_TRUE(g.centralWidget()->rect().contains(g.Zamknij->geometry())) << "the row of buttons fits the narrowest window";
  // ...with every caption whole, the longest ("Druk &Rejstru") too.
  QPushButton* const row[] = {g.dodaj, g.Edytuj, g.Usun, g.DrukKar, g.DrukRej, g.Wyslij, g.Zamknij};
  for (std::size_t i = 0; i < std::size(row); ++i) {
    QPushButton* b = row[i];
    const int text = b->fontMetrics().horizontalAdvance(b->text().remove(QLatin1Char('&')));
    EXPECT_GE(b->width(), text + 6) << b->objectName().toStdString();
    if (i > 0) {
      EXPECT_GT(b->x(), row[i - 1]->geometry().right()) << b->objectName().toStdString();
    }
  }
  testing_world::renderWindow(g, "glowny_550x250");
}

TEST(DispatchReport, ButtonsAndResults) {
  swiat::SwiatRejestru w;
  auto& p = w.uruchomiony();
  zelt::TWysylka* d = p.wysylka();
  ASSERT_TRUE(d) << "created at start-up";
  EXPECT_EQ(d->windowTitle(), QString::fromUtf8("Raport o wysyłce"));
  EXPECT_EQ(d->objectName(), "Wysylka");
  const struct {
    QPushButton* b;
    const char* caption;
    int result;
  } cases[] = {{d->pomin, "Pomiń", 3}, {d->Anuluj, "Anuluj", 1}, {d->Wyslij, "Zamknij", platform::mrCancel}};
  for (const auto& c : cases) {
    EXPECT_FALSE(c.b->isVisible());
    EXPECT_EQ(c.b->text(), QString::fromUtf8(c.caption));
    w.dialogs.expectModal("Wysylka", [&](platform::ModalForm&) {
      d->Pliki->appendPlainText("P01ZELT.xml");
      c.b->setVisible(true);
      c.b->click();
      return platform::mrNone;
    });
    EXPECT_EQ(w.dialogs.showModal(*d), c.result) << c.caption;
    d->wyczysc();
    EXPECT_TRUE(d->Pliki->toPlainText().isEmpty());
  }
}

}  // namespace
