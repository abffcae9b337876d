#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QListWidget>
#include <QTest>
#include <QTabBar>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "register/program.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/konfigform.h"
#include "settings/podpowform.h"
#include "support/filesizelimit.h"
#include "support/world.h"

using platform::RegRoot;
using testing_world::World;
using zelt::TKonfigForm;

namespace {

constexpr auto HKCU = RegRoot::CurrentUser;
const std::string kKonfig = "\\SOFTWARE\\Tarvo\\ZELT\\Konfig\\";

struct KonfigWorld : World {
  std::unique_ptr<TKonfigForm> form;
  KonfigWorld() {
    program().KatDan = path("Baza");
    QDir().mkpath(program().KatDan);
  }
  TKonfigForm& create() {
    form = std::make_unique<TKonfigForm>(program());
    form->FormCreate();
    return *form;
  }
};

TEST(Konfig, FirstStartKeepsTheDesignDefaults) {
  KonfigWorld w;
  w.printers.set({"HP", "PDF"});
  auto& f = w.create();
  const auto karta = f.kartaTransakcji();
  EXPECT_EQ(karta.skalaX, "1,000");
  EXPECT_EQ(karta.skalaY, "1,000");
  EXPECT_EQ(karta.polozenieX, "+3,000");
  EXPECT_EQ(karta.polozenieY, "+0,000");
  EXPECT_TRUE(karta.ramki && karta.opisy && karta.zawartosc);
  const auto io = f.formularzIO();
  EXPECT_EQ(io.polozenieX, "+7,000");
  EXPECT_EQ(io.polozenieY, "+5,000");
  const auto d = f.domyslne();
  EXPECT_EQ(d.kRodzTr, "0607");
  EXPECT_EQ(d.waluta, "PLN");
  EXPECT_EQ(d.kraj, "PL");
  EXPECT_EQ(d.miejsce, "");
  EXPECT_EQ(d.spDysp, -1);
  EXPECT_EQ(d.typPo, -1);
  EXPECT_EQ(d.rodzDokTo, -1);
  const auto n = f.numeracja();
  EXPECT_FALSE(n.jednostka || n.dzien || n.miesiac || n.rok);
  const auto z = f.zapamietywanie();
  EXPECT_TRUE(z.okna && z.rejestr && z.konfiguracja && z.io);
  EXPECT_TRUE(f.werNRB->isChecked());
  EXPECT_EQ(f.drukarka(), "");
  EXPECT_EQ(f.WybDruk->count(), 2);
  QStringList tabs;
  for (int i = 0; i < f.Konfig->count(); ++i) tabs << f.Konfig->tabText(i);
  EXPECT_EQ(tabs, QStringList({"Drukarka", QString::fromUtf8("Domyślne"), QString::fromUtf8("Wygląd rejestru"),
                               "Wydruk rejestru", QString::fromUtf8("Auto zapamiętywanie"), "Weryfikacja"}));
}

TEST(Konfig, StoredValuesLoad) {
  struct C {
    const char* name;
    std::function<void(platform::RegistryStore&)> store;
    std::function<void(TKonfigForm&)> check;
  } cases[] = {
      {"only the card's X scale",
       [](auto& r) { r.writeString(HKCU, kKonfig, "SkTrX", "0,985"); },
       [](TKonfigForm& f) {
         EXPECT_EQ(f.SkTrX->text(), "0,985");
         EXPECT_EQ(f.SkTrY->text(), "1,000");
         // a missing index gives the second item
         EXPECT_EQ(f.domspDysp->currentIndex(), 1);
         EXPECT_EQ(f.domspDysp->currentText(), QString::fromUtf8("1 - osobiście"));
         EXPECT_EQ(f.domTypPo->currentText(), "01 - osoba fizyczna");
         EXPECT_EQ(f.domRodzDokTo->currentText(), QString::fromUtf8("DO - dowód osobisty"));
       }},
      {"index outside the list, -1, boolean 2, Polish letters",
       [](auto& r) {
         r.writeInteger(HKCU, kKonfig, "domspDysp", 99);
         r.writeInteger(HKCU, kKonfig, "domTypPo", -1);
         r.writeInteger(HKCU, kKonfig, "domRodzDokTo", 5);
         r.writeInteger(HKCU, kKonfig, "NrEwDz", 2);
         r.writeInteger(HKCU, kKonfig, "RaTr", 0);
         r.writeString(HKCU, kKonfig, "domMiejsce", cp1250::fromUtf8("Łódź"));
       },
       [](TKonfigForm& f) {
         EXPECT_EQ(f.domspDysp->currentIndex(), -1);
         EXPECT_EQ(f.domTypPo->currentIndex(), -1);
         EXPECT_EQ(f.domRodzDokTo->currentIndex(), 5);
         EXPECT_TRUE(f.numeracja().dzien);
         EXPECT_FALSE(f.kartaTransakcji().ramki);
         EXPECT_EQ(f.domyslne().miejsce, cp1250::fromUtf8("Łódź"));
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    KonfigWorld w;
    c.store(w.reg());
    c.check(w.create());
  }
}

TEST(Konfig, ThePrinterIsChosenByItsExactName) {
  struct C {
    const char* stored;  // nullptr: no value
    QStringList installed;
    int chosen;
  } cases[] = {
      {"HP LaserJet", {"PDF", "HP LaserJet"}, 1},
      {"hp laserjet", {"PDF", "HP LaserJet"}, -1},
      {nullptr, {"PDF"}, -1},
      {"Gone", {"PDF"}, -1},
      {"HP", {"HP", "PDF", "HP"}, 2},
  };
  for (const auto& c : cases) {
    KonfigWorld w;
    w.reg().createKey(HKCU, kKonfig);
    if (c.stored) w.reg().writeString(HKCU, kKonfig, "druk", c.stored);
    w.printers.set(c.installed);
    EXPECT_EQ(w.create().WybDruk->currentIndex(), c.chosen) << (c.stored ? c.stored : "(none)");
  }
}

TEST(Konfig, SaveWritesEveryValueAndKeepsAStoredPrinterWhenNoneIsChosen) {
  KonfigWorld w;
  w.reg().writeString(HKCU, kKonfig, "druk", "Stara drukarka");
  w.reg().writeInteger(HKCU, kKonfig, "domspDysp", -1);
  w.reg().writeInteger(HKCU, kKonfig, "domTypPo", -1);
  w.reg().writeInteger(HKCU, kKonfig, "domRodzDokTo", -1);
  auto& f = w.create();
  EXPECT_EQ(f.drukarka(), "") << "the stored printer is not installed";
  f.NrEwMc->setChecked(true);
  f.domMiejsce->setText(QString::fromUtf8("Gdańsk"));
  f.zapisClick();
  EXPECT_EQ(f.modalResult(), platform::mrOk);
  w.reloadRegistry();
  auto& r = w.reg();
  EXPECT_EQ(r.readString(HKCU, kKonfig, "druk"), "Stara drukarka");
  EXPECT_EQ(r.readInteger(HKCU, kKonfig, "domspDysp"), -1);
  EXPECT_EQ(r.readInteger(HKCU, kKonfig, "domTypPo"), -1);
  EXPECT_EQ(r.readInteger(HKCU, kKonfig, "NrEwMc"), 1);
  EXPECT_EQ(r.readInteger(HKCU, kKonfig, "NrEwIO"), 0);
  EXPECT_EQ(r.readString(HKCU, kKonfig, "domMiejsce"), cp1250::fromUtf8("Gdańsk"));
  EXPECT_EQ(r.readString(HKCU, kKonfig, "SkIOX"), "1,000") << "the value names are spelled with IO";
  EXPECT_EQ(r.readString(HKCU, kKonfig, "domkRodzTr"), "0607");
  EXPECT_EQ(r.readInteger(HKCU, kKonfig, "werNRB"), 1);
  const std::vector<std::string> order = r.valueNames(HKCU, kKonfig);
  const std::vector<std::string> expected = {
      "druk", "domspDysp", "domTypPo", "domRodzDokTo", "SkTrX", "SkTrY", "PoTrX", "PoTrY", "RaTr", "OpTr", "ZaTr",
      "SkIOX", "SkIOY", "PoIOX", "PoIOY", "RaIO", "OpIO", "ZaIO", "NrEwIO", "NrEwDz", "NrEwMc", "NrEwRo",
      "domkRodzTr", "domMiejsce", "domWaluta", "domKraj", "zapokna", "zaprej", "zapkonf", "zapIO", "werkodtra",
      "werkodwal", "werkwota", "werkodpodm", "werkodkraj", "werPes", "werReg", "werNip", "werNRB"};
  for (const auto& name : expected)
    EXPECT_NE(std::find(order.begin(), order.end(), name), order.end()) << name;
  int pola = 0;
  for (const auto& name : order) {
    if (name.rfind("Pole", 0) != 0) continue;
    ++pola;
    auto v = r.readBinary(HKCU, kKonfig, name);
    ASSERT_TRUE(v.has_value()) << name;
    EXPECT_EQ(v->size(), 71u) << name;
  }
  EXPECT_EQ(pola, 48) << "all 48 column definitions, always";
  EXPECT_TRUE(r.valueExists(HKCU, kKonfig, "Pole01"));
  EXPECT_TRUE(r.valueExists(HKCU, kKonfig, "Pole48"));
}

TEST(Konfig, EveryTextEditStoresWhatIsTyped) {
  KonfigWorld w;
  auto& f = w.create();
  const auto edits = f.findChildren<QLineEdit*>();
  int checked = 0;
  for (QLineEdit* e : edits) {
    if (qobject_cast<QAbstractSpinBox*>(e->parentWidget())) continue;  // the column width's spin box
    const std::string name = e->objectName().toStdString();
    ++checked;
    e->clear();
    const QString before = e->text();
    e->insert(QString::fromUtf8("Ж"));
    EXPECT_EQ(e->text(), before) << name;
    e->clear();
    e->insert(QString::fromUtf8("1\t2\n3"));
    for (QChar c : e->text()) EXPECT_TRUE(c.isPrint()) << name;
  }
  EXPECT_EQ(checked, 12);
  f.domkRodzTr->setText("0607");
  f.domMiejsce->clear();
  f.domMiejsce->insert(QString::fromUtf8("Łódź\tBałuty"));
  f.zapisClick();
  w.reloadRegistry();
  EXPECT_EQ(w.reg().readString(HKCU, kKonfig, "domMiejsce"), cp1250::fromUtf8("Łódź Bałuty"));
}

// The default kind code takes four digits: "&Zapisz" with fewer keeps the window open and writes
// nothing; a stored code that is not four digits loads, shows and is kept as it is.
TEST(Konfig, TheDefaultKindCodeTakesFourDigits) {
  struct Case {
    const char* typed;
    bool saved;
  } cases[] = {{"12", false}, {"06", false}, {"", false}, {"0100", true}, {"12a4", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    KonfigWorld w;
    auto& f = w.create();
    f.domkRodzTr->clear();
    f.domkRodzTr->insert(QString::fromUtf8(c.typed));
    if (!c.saved) w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Kod rodzaju transakcji musi składać się z 4 cyfr"));
    f.zapisClick();
    w.reloadRegistry();
    EXPECT_EQ(f.modalResult(), c.saved ? platform::mrOk : platform::mrNone);
    EXPECT_EQ(w.reg().keyExists(HKCU, kKonfig), c.saved) << "nothing written";
    if (c.saved) {
      EXPECT_EQ(w.reg().readString(HKCU, kKonfig, "domkRodzTr"), c.typed);
    }
  }
  KonfigWorld w;
  w.reg().writeString(HKCU, kKonfig, "domkRodzTr", "12 4");
  auto& f = w.create();
  EXPECT_EQ(f.domkRodzTr->text(), "12 4");
  f.domkRodzTr->end(false);
  f.domkRodzTr->insert("5");
  EXPECT_EQ(f.domkRodzTr->text(), "12 4") << "four characters at most";
  f.domkRodzTr->insert("x");
  EXPECT_EQ(f.domkRodzTr->text(), "12 4");
}

TEST(Konfig, SavingWithoutTheNumberingSwitchesLeavesThemAlone) {
  KonfigWorld w;
  w.reg().writeInteger(HKCU, kKonfig, "NrEwRo", 1);
  auto& f = w.create();
  f.NrEwRo->setChecked(false);
  f.zapiszWartosci(w.reg(), zelt::KtoZapisuje::Wyjscie, false);
  EXPECT_EQ(w.reg().readInteger(HKCU, kKonfig, "NrEwRo"), 1);
  EXPECT_FALSE(w.reg().valueExists(HKCU, kKonfig, "NrEwDz"));
  EXPECT_FALSE(w.reg().valueExists(HKCU, kKonfig, "Pole01")) << "nor the columns, unless asked";
}

TEST(Konfig, LeavingWritesNothingButTheChangesStayInForce) {
  KonfigWorld w;
  w.reg().writeString(HKCU, kKonfig, "SkTrX", "1,000");
  auto& f = w.create();
  const std::string before = World::readFile(w.registryFile());
  f.NrEwDz->setChecked(true);
  f.wyjscieClick();
  EXPECT_EQ(World::readFile(w.registryFile()), before);
  EXPECT_TRUE(f.numeracja().dzien);
}

TEST(Konfig, AStoreThatCannotBeWrittenKeepsTheWindowOpen) {
  World w;
  World::writeFile(w.path("plik"), "x");
  platform::RegistryStore broken(w.path("plik/registry.txt"));  // its folder is a file
  zelt::Program p({broken, w.dialogs, w.clock, w.shell, w.printers});
  p.KatDan = w.path("Baza");
  TKonfigForm f(p);
  f.FormCreate();
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd zapisu konfiguracji"));
  f.zapisClick();
  EXPECT_EQ(f.modalResult(), platform::mrNone);
  EXPECT_FALSE(broken.keyExists(HKCU, kKonfig)) << "nothing of the change stays in the store";
}

TEST(Konfig, AFullDiskIsShownWithItsReasonAndTheWindowStaysOpen) {
  KonfigWorld w;
  auto& f = w.create();
  w.reg().writeString(HKCU, kKonfig, "SkTrX", "1,000");
  const std::string stored = World::readFile(w.registryFile());
  f.SkTrX->setText("2,000");
  w.dialogs.expectMessage(platform::IdOk, QString::fromLocal8Bit(std::strerror(EFBIG)));
  {
    testing_world::FileSizeLimit full(0);
    f.zapisClick();
  }
  EXPECT_EQ(f.modalResult(), platform::mrNone);
  EXPECT_EQ(World::readFile(w.registryFile()), stored);
}

TEST(Konfig, DictionariesFromTheDataFolder) {
  KonfigWorld w;
  World::writeFile(w.program().plikDanych("sposoby.txt"), "0 - a\r\n1 - b\r\n2 - c");
  auto& f = w.create();
  EXPECT_EQ(f.domspDysp->count(), 3);
  EXPECT_EQ(f.domspDysp->itemText(2), "2 - c");
  EXPECT_EQ(f.domRodzDokTo->count(), 6) << "a missing file keeps the built-in items";
  EXPECT_EQ(f.domTypPo->count(), 23);
  const QStringList expected = {
      QString::fromUtf8("ładowanie kodów sposobów wydania dyspozycji"),
      QString::fromUtf8("ładowanie typów dokumentów"), QString::fromUtf8("ładowanie typów dokumentów - brak pliku"),
      QString::fromUtf8("ładowanie kodów podmiotów"), QString::fromUtf8("ładowanie kodów podmiotów - brak pliku")};
  EXPECT_EQ(w.program().splashLines, expected);
}

}  // namespace

namespace {

// The settings window's three "Podpowiedź" buttons go through the pickers at start-up.
TEST(Konfig, PickersSetTheDefaultsOrLeaveThemOnACancel) {
  World w;
  auto& p = w.program();
  p.logowanie = [] { return platform::mrOk; };
  ASSERT_TRUE(p.start());
  auto& f = *p.konfig();
  auto chooseLine = [](int line) {
    return [line](platform::ModalForm& picker) {
      auto* list = picker.findChild<QListWidget*>();
      const int n = line > 0 ? line : list->count();  // 0 stands for the last line
      return n;
    };
  };
  w.dialogs.expectModal("KodwalutyForm", chooseLine(1));
  f.domWaluta->setText("EUR");
  f.domWalutaPod->click();
  EXPECT_EQ(f.domWaluta->text(), "PLN") << "\"PLN Poland, Zlotych \" gives PLN";
  w.dialogs.expectModal("KodwalutyForm", chooseLine(0));
  f.domWalutaPod->click();
  const auto& waluty = p.kodwaluty()->pozycje();
  EXPECT_EQ(f.domWaluta->text(), cp1250::toQ(waluty.back().substr(0, 3))) << "the last line is a valid choice";
  w.dialogs.expectModal("KodwalutyForm", [](platform::ModalForm& picker) {
    picker.reject();
    return platform::mrNone;
  });
  f.domWaluta->setText("CHF");
  f.domWalutaPod->click();
  EXPECT_EQ(f.domWaluta->text(), "CHF") << "the close box leaves the default";

  w.dialogs.expectModal("KodykrajForm", [](platform::ModalForm& picker) {
    picker.reject();
    return platform::mrNone;
  });
  f.domKrajPod->click();
  EXPECT_EQ(f.domKraj->text(), "PL");

  w.dialogs.expectModal("podpowForm", [](platform::ModalForm& picker) {
    auto& k = static_cast<zelt::TpodpowForm&>(picker);
    EXPECT_EQ(k.Podrodz->currentIndex(), 5) << "preset from 0607";
    EXPECT_EQ(k.Podtytul->currentIndex(), 7);
    k.Podrodz->setCurrentIndex(0);
    k.Podtytul->setCurrentIndex(0);
    k.zamknij->click();
    return platform::mrNone;
  });
  f.domkRodzTrPod->click();
  EXPECT_EQ(f.domkRodzTr->text(), "0100");
  f.domkRodzTr->setText("12");  // not four digits: the picker opens without a preset
  w.dialogs.expectModal("podpowForm", [](platform::ModalForm& picker) {
    auto& k = static_cast<zelt::TpodpowForm&>(picker);
    EXPECT_EQ(k.Podrodz->currentIndex(), -1);
    picker.reject();
    return platform::mrNone;
  });
  f.domkRodzTrPod->click();
  EXPECT_EQ(f.domkRodzTr->text(), "12");
}

}  // namespace

namespace {

TEST(Konfig, EveryPageRenders) {
  KonfigWorld w;
  // A size stored from a smaller font must not cut the tabs either.
  w.reg().writeInteger(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\OKNA\\Konfig\\", "Width", 300);
  auto& f = w.create();
  f.show();
  for (int i = 0; i < f.Konfig->count(); ++i) {
    f.Konfig->setCurrentIndex(i);
    EXPECT_GT(testing_world::renderWindow(f, QString("konfig-%1").arg(i)), 8) << f.Konfig->tabText(i).toStdString();
    const QTabBar* tabs = f.Konfig->tabBar();
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), tabs->width()) << "every tab in sight, none cut";
  }
}

}  // namespace

namespace {

// The default lists' drop-downs: as wide as their longest item, within the screen, and every item
// whole; a party type longer than the screen is wide (item 21) is broken into lines, not cut.
TEST(Konfig, DropDownsShowEveryItemWhole) {
  KonfigWorld w;
  auto& f = w.create();
  f.show();
  f.Konfig->setCurrentIndex(f.Konfig->indexOf(f.domTypPo->parentWidget()));
  for (QComboBox* c : {f.domTypPo, f.domspDysp, f.domRodzDokTo}) {
    SCOPED_TRACE(c->objectName().toStdString());
    QAbstractItemView* v = c->view();
    int longest = 0;
    for (int i = 0; i < c->count(); ++i) longest = std::max(longest, v->fontMetrics().horizontalAdvance(c->itemText(i)));
    c->showPopup();
    QApplication::processEvents();
    const QRect popup = v->window()->geometry();
    const QRect screen = c->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(popup)) << "within the screen " << popup.x() << "," << popup.y() << " " << popup.width() << "x" << popup.height() << " of " << screen.width() << "x" << screen.height();
    const int chrome = 2 * v->frameWidth() + v->verticalScrollBar()->sizeHint().width() + 24;
    EXPECT_LE(popup.width(), std::max(c->width(), longest + chrome)) << "no wider than its longest item";
    for (int i = 0; i < c->count(); ++i) {
      const QRect r = v->visualRect(c->model()->index(i, 0));
      const QRect text = v->fontMetrics().boundingRect(QRect(0, 0, r.width() - 8, 1 << 20), Qt::TextWordWrap, c->itemText(i));
      EXPECT_LE(text.height(), r.height()) << "item " << i << " whole";
      EXPECT_LE(r.width(), popup.width()) << "item " << i;
    }
    if (c == f.domTypPo) {
      ASSERT_GT(c->count(), 21);
      EXPECT_GT(longest, screen.width()) << "item 21 cannot stand on one line here";
      EXPECT_GE(v->visualRect(c->model()->index(21, 0)).height(), 2 * v->fontMetrics().height()) << "so it is wrapped";
      testing_world::renderWindow(*v->window(), "konfig-typ-podmiotu");
    }
    c->hidePopup();
  }
}

TEST(Konfig, F1OpensItsHelpTopic) {
  KonfigWorld w;
  auto& f = w.create();
  f.show();
  QTest::keyClick(&f, Qt::Key_F1);
  EXPECT_EQ(w.shell.requests, QStringList({"help zelt.hlp 1110000"}));
}

}  // namespace
