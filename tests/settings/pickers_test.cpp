#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStandardItemModel>
#include <QTest>
#include <functional>

#include "platform/cp1250.h"
#include "platform/registry.h"
#include "register/program.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/podpowform.h"
#include "support/world.h"

using platform::ModalForm;
using testing_world::World;
using zelt::Slownik;

namespace {

// A world whose data folder exists; the working folder is the world's own.
struct PickerWorld : World {
  PickerWorld() {
    QDir().mkpath(path("dane"));
    program().KatDan = path("dane");
  }
  QString dataFile(const char* name) { return path("dane/") + name; }
  QString workFile(const char* name) { return workFolder() + "/" + name; }
};

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// A window as start-up makes it: built, then its creation handler run.
template <class Form>
std::unique_ptr<Form> created(zelt::Program& p) {
  auto f = std::make_unique<Form>(p);
  f->FormCreate();
  return f;
}

// One dictionary as a window loads it: where its file is looked for, and the lines it leaves.
struct Dictionary {
  const char* file;
  bool inDataFolder;
  const char* opis;
  std::function<Slownik(zelt::Program&)> load;
  const Slownik& builtIn;
};

std::vector<Dictionary> dictionaries() {
  using namespace zelt;
  return {
      {"kraje.txt", false, "ładowanie kodów krajów", [](Program& p) { return created<TKodykrajForm>(p)->pozycje(); },
       wbudowane::kraje()},
      {"waluty.txt", false, "ładowanie kodów walut", [](Program& p) { return created<TKodwalutyForm>(p)->pozycje(); },
       wbudowane::waluty()},
      {"kategorie.txt", true, "ładowanie kategorii transakcji",
       [](Program& p) { return created<TpodpowForm>(p)->kategorie(); }, wbudowane::kategorie()},
      {"tytuly.txt", true, "ładowanie tytułów transakcji", [](Program& p) { return created<TpodpowForm>(p)->tytuly(); },
       wbudowane::tytuly()},
  };
}

// Each file is read from its own folder only; a missing one leaves the built-in list and says so.
TEST(PickerCreation, EachDictionaryIsReadFromItsFolder) {
  const std::string three = "X1 pierwsza\r\nX2 druga \xB3\r\nX3 trzecia\r\n";
  const Slownik threeLines{"X1 pierwsza", "X2 druga \xB3", "X3 trzecia"};
  for (const auto& d : dictionaries()) {
    for (int where = 0; where < 3; ++where) {  // nowhere, the other folder, its own folder
      PickerWorld w;
      auto& p = w.program();
      const bool own = where == 2;
      if (where > 0) World::writeFile((d.inDataFolder == own) ? w.dataFile(d.file) : w.workFile(d.file), three);
      p.splashLines.clear();
      const Slownik list = d.load(p);
      EXPECT_EQ(list, own ? threeLines : d.builtIn) << d.file << " case " << where;
      const QString line = u(d.opis);
      EXPECT_TRUE(p.splashLines.contains(line)) << d.file;
      EXPECT_EQ(p.splashLines.contains(line + u(" - brak pliku")), !own) << d.file << " case " << where;
    }
  }
}

TEST(PickerCreation, KindPickerSplashLinesInOrderAndAnEmptyTitlesFile) {
  PickerWorld w;
  auto& p = w.program();
  World::writeFile(w.dataFile("tytuly.txt"), "");
  zelt::TpodpowForm f(p);
  f.FormCreate();
  EXPECT_EQ(p.splashLines, (QStringList{u("ładowanie kategorii transakcji"),
                                        u("ładowanie kategorii transakcji - brak pliku"),
                                        u("ładowanie tytułów transakcji")}));
  EXPECT_EQ(f.tytuly(), Slownik{""});
  EXPECT_EQ(f.Podtytul->count(), 1);
  EXPECT_EQ(f.kategorie().size(), 7u);
  EXPECT_EQ(f.Podrodz->itemText(6), u("07 - transakcje bez widocznego obrotu pieniężnego"));
}

TEST(PickerCreation, AThreeLineCountryFileIsAllThatIsOffered) {
  PickerWorld w;
  World::writeFile(w.workFile("kraje.txt"), "SE-SWEDEN\r\nNO-NORWAY\r\nFI-FINLAND\r\n");
  zelt::TKodykrajForm f(w.program());
  f.FormCreate();
  ASSERT_EQ(f.Podkraje->count(), 3);
  EXPECT_EQ(f.Podkraje->item(2)->text(), "FI-FINLAND");
  EXPECT_EQ(f.indeksKodu("NO"), 1);
  EXPECT_EQ(f.indeksKodu("PL"), -1) << "a code the file does not hold is no longer known";
}

TEST(PickerCreation, WindowPositionsFromTheirKeys) {
  const struct {
    const char* key;
    std::function<std::unique_ptr<QWidget>(zelt::Program&)> create;
    bool sized;
  } cases[] = {
      {"KodyKraj", [](zelt::Program& p) -> std::unique_ptr<QWidget> { return created<zelt::TKodykrajForm>(p); }, true},
      {"KodyWal", [](zelt::Program& p) -> std::unique_ptr<QWidget> { return created<zelt::TKodwalutyForm>(p); }, true},
      {"Podpow", [](zelt::Program& p) -> std::unique_ptr<QWidget> { return created<zelt::TpodpowForm>(p); }, false},
  };
  for (const auto& c : cases) {
    PickerWorld w;
    const std::string key = std::string("\\SOFTWARE\\Tarvo\\ZELT\\OKNA\\") + c.key + "\\";
    const auto HKCU = platform::RegRoot::CurrentUser;
    w.reg().writeInteger(HKCU, key, "Left", 40);
    w.reg().writeInteger(HKCU, key, "Top", 30);
    w.reg().writeInteger(HKCU, key, "Width", 333);
    w.reg().writeInteger(HKCU, key, "Height", 222);
    const auto f = c.create(w.program());
    EXPECT_EQ(f->pos(), QPoint(40, 30)) << c.key;
    if (c.sized) EXPECT_EQ(f->size(), QSize(333, 222)) << c.key;
    else EXPECT_NE(f->size(), QSize(333, 222)) << c.key << " is a fixed dialog";
  }
}

// ---- the country and currency pickers ----

struct ListPickerCase {
  const char* name;
  std::function<zelt::TListaKodowForm*(zelt::Program&)> create;
  const char* objectName;
  const char* caption;
  int line;          // a line to choose
  const char* code;  // its code
};

std::vector<ListPickerCase> listPickers() {
  return {
      {"countries", [](zelt::Program& p) { return static_cast<zelt::TListaKodowForm*>(new zelt::TKodykrajForm(p)); },
       "KodykrajForm", "ISO 3166 Kody literowe krajów", 15, "SK"},
      {"currencies", [](zelt::Program& p) { return static_cast<zelt::TListaKodowForm*>(new zelt::TKodwalutyForm(p)); },
       "KodwalutyForm", "ISO 4217 kody literowe walut", 1, "EUR"},
  };
}

QListWidget* listOf(ModalForm& f) { return f.findChild<QListWidget*>(); }

void clickRow(QListWidget* list, int row, Qt::MouseButton button = Qt::LeftButton) {
  QCoreApplication::processEvents();
  list->scrollToItem(list->item(row));
  QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(list->item(row)).center());
}

TEST(ListPickers, EnterOrAPressChoosesTheLine) {
  for (const auto& c : listPickers()) {
    PickerWorld w;
    std::unique_ptr<zelt::TListaKodowForm> f(c.create(w.program()));
    EXPECT_EQ(f->objectName(), c.objectName);
    EXPECT_EQ(f->windowTitle(), u(c.caption));

    // Enter on the preselected line: result line + 1, and the caller gets the line's code.
    w.dialogs.expectModal(c.objectName, [&](ModalForm& m) {
      EXPECT_EQ(listOf(m)->currentRow(), c.line) << "the caller's line is preselected";
      QTest::keyClick(listOf(m), Qt::Key_Return);
      EXPECT_EQ(m.modalResult(), c.line + 1);
      EXPECT_FALSE(m.isVisible());
      return platform::mrNone;
    });
    EXPECT_EQ(f->wybierzKod(c.code), std::optional<std::string>(c.code)) << c.name;

    // A left press on line 3 chooses it, whatever was preselected.
    w.dialogs.expectModal(c.objectName, [&](ModalForm& m) {
      clickRow(listOf(m), 3);
      return platform::mrNone;
    });
    EXPECT_EQ(f->pokaz(c.line), std::optional<int>(3)) << c.name;
    EXPECT_EQ(w.dialogs.shown().back().answer, 4);
  }
}

TEST(ListPickers, NothingChosenKeepsItOpenAndTheCloseBoxCancels) {
  for (const auto& c : listPickers()) {
    PickerWorld w;
    std::unique_ptr<zelt::TListaKodowForm> f(c.create(w.program()));
    f->ustawPozycje({"AA one", "BB two", "CC three"});

    // Enter with no line selected, a press below the last line and a right press choose nothing.
    w.dialogs.expectModal(c.objectName, [&](ModalForm& m) {
      QListWidget* list = listOf(m);
      EXPECT_TRUE(list->selectedItems().isEmpty()) << "an unknown code preselects nothing";
      QTest::keyClick(list, Qt::Key_Return);
      EXPECT_EQ(m.modalResult(), platform::mrNone);
      QCoreApplication::processEvents();
      const QRect last = list->visualItemRect(list->item(2));
      EXPECT_LT(last.bottom() + 20, list->viewport()->height()) << "room below the lines";
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(last.center().x(), last.bottom() + 15));
      EXPECT_EQ(m.modalResult(), platform::mrNone);
      clickRow(list, 1, Qt::RightButton);
      EXPECT_EQ(m.modalResult(), platform::mrNone);
      EXPECT_TRUE(m.isVisible());
      m.close();  // the close box
      return platform::mrNone;
    });
    EXPECT_EQ(f->wybierzKod("ZZ"), std::nullopt) << c.name << ": the close box is not line 2";
    EXPECT_EQ(w.dialogs.shown().back().answer, platform::mrDismissed);

    // Esc on a selected line cancels too.
    w.dialogs.expectModal(c.objectName, [&](ModalForm& m) {
      QTest::keyClick(listOf(m), Qt::Key_Escape);
      return platform::mrNone;
    });
    EXPECT_EQ(f->pokaz(1), std::nullopt) << c.name;

    // Shown again for a code it does not know, it keeps nothing of the line selected before.
    w.dialogs.expectModal(c.objectName, [&](ModalForm& m) {
      EXPECT_TRUE(listOf(m)->selectedItems().isEmpty()) << c.name;
      QTest::keyClick(listOf(m), Qt::Key_Return);
      EXPECT_EQ(m.modalResult(), platform::mrNone) << c.name;
      m.close();
      return platform::mrNone;
    });
    EXPECT_EQ(f->wybierzKod("ZZ"), std::nullopt) << c.name;
  }
}

TEST(ListPickers, OnlyResultsThatNameALineAreLines) {
  const struct {
    int result;
    std::optional<int> item;
  } cases[] = {{1, 0}, {2, 1}, {3, 2}, {0, std::nullopt}, {4, std::nullopt},
               {platform::mrDismissed, std::nullopt}, {-7, std::nullopt}};
  for (auto c : cases) EXPECT_EQ(zelt::TListaKodowForm::pozycjaWyniku(c.result, 3), c.item) << c.result;
  EXPECT_EQ(zelt::TListaKodowForm::pozycjaWyniku(1, 0), std::nullopt) << "an empty list has no line 1";
}

// ---- the transaction-kind picker ----

TEST(KindPicker, ResultsAndCodes) {
  const struct {
    int kat, tyt;
    std::optional<int> wynik;
  } results[] = {{0, 0, 100},  {5, 7, 607},  {6, 46, 746},          {8, 99, 999},          {-1, 0, std::nullopt},
                 {-1, 5, std::nullopt}, {3, -1, std::nullopt}, {9, 0, std::nullopt}, {0, 100, std::nullopt}};
  for (auto c : results) EXPECT_EQ(zelt::wynikRodzaju(c.kat, c.tyt), c.wynik) << c.kat << "," << c.tyt;
  EXPECT_EQ(zelt::kodRodzaju(100), "0100");
  EXPECT_EQ(zelt::kodRodzaju(607), "0607");

  using Pair = std::optional<std::pair<int, int>>;
  const std::pair<const char*, Pair> codes[] = {
      {"0607", Pair{{5, 7}}}, {"0100", Pair{{0, 0}}}, {"0999", Pair{{8, 99}}}, {"0007", std::nullopt},
      {"1607", std::nullopt}, {"607", std::nullopt},  {"06070", std::nullopt}, {"06 7", std::nullopt},
      {"", std::nullopt}};
  for (auto [kod, indeksy] : codes) EXPECT_EQ(zelt::indeksyRodzaju(kod), indeksy) << kod;
  EXPECT_EQ(zelt::indeksyWyniku(2), std::nullopt) << "a cancel is no kind";
}

TEST(KindPicker, ZamknijReturnsTheChosenKind) {
  PickerWorld w;
  zelt::TpodpowForm f(w.program());
  EXPECT_EQ(f.windowTitle(), u("Podpowiedź kodu rodzaju transakcji"));
  EXPECT_EQ(f.zamknij->text(), "&Zamknij");
  w.dialogs.expectModal("podpowForm", [&](ModalForm&) {
    EXPECT_EQ(f.Podrodz->currentIndex(), 5);
    EXPECT_EQ(f.Podtytul->currentIndex(), 7);
    EXPECT_TRUE(f.zamknij->isEnabled());
    f.Podtytul->setCurrentIndex(8);
    QTest::mouseClick(f.zamknij, Qt::LeftButton);
    EXPECT_EQ(f.modalResult(), 608);
    return platform::mrNone;
  });
  EXPECT_EQ(f.wybierzKod("0607"), std::optional<std::string>("0608"));
}

TEST(KindPicker, AnIncompleteChoiceCannotBeTakenAndEscCancels) {
  PickerWorld w;
  zelt::TpodpowForm f(w.program());
  // The Part's incomplete choices: no category (title 0 or 5), or no title.
  const std::pair<int, int> incomplete[] = {{-1, 0}, {-1, 5}, {3, -1}, {-1, -1}};
  for (auto [kat, tyt] : incomplete) {
    w.dialogs.expectModal("podpowForm", [&](ModalForm&) {
      EXPECT_FALSE(f.zamknij->isEnabled()) << kat << "," << tyt;
      f.zamknijClick();
      EXPECT_EQ(f.modalResult(), platform::mrNone);
      QTest::keyClick(&f, Qt::Key_Escape);
      return platform::mrNone;
    });
    EXPECT_EQ(f.pokaz(kat, tyt), std::nullopt) << kat << "," << tyt;
    EXPECT_EQ(w.dialogs.shown().back().answer, platform::mrDismissed);
  }
  // The close box on a complete choice is a cancel as well, not category 02.
  w.dialogs.expectModal("podpowForm", [&](ModalForm&) {
    f.close();
    return platform::mrNone;
  });
  EXPECT_EQ(f.wybierzKod("0100"), std::nullopt);
}

TEST(KindPicker, LinesBeyondAFourDigitCodeCannotBeChosen) {
  PickerWorld w;
  std::string eleven;
  for (int i = 1; i <= 11; ++i) eleven += (i < 10 ? "0" : "") + std::to_string(i) + " - kategoria\r\n";
  World::writeFile(w.dataFile("kategorie.txt"), eleven);
  zelt::TpodpowForm f(w.program());
  f.FormCreate();
  ASSERT_EQ(f.Podrodz->count(), 11);
  auto* model = qobject_cast<QStandardItemModel*>(f.Podrodz->model());
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(model->item(8)->isEnabled());
  EXPECT_FALSE(model->item(9)->isEnabled());
  EXPECT_FALSE(model->item(10)->isEnabled());
  w.dialogs.expectModal("podpowForm", [&](ModalForm&) {
    EXPECT_FALSE(f.zamknij->isEnabled()) << "category 10 would make a five-digit code";
    f.zamknijClick();
    f.Podrodz->setCurrentIndex(8);
    EXPECT_TRUE(f.zamknij->isEnabled());
    f.zamknijClick();
    return platform::mrNone;
  });
  EXPECT_EQ(f.pokaz(9, 1), std::optional<int>(901));
}

TEST(KindPicker, EnterMovesOnAndF1OpensItsHelp) {
  PickerWorld w;
  zelt::TpodpowForm f(w.program());
  w.dialogs.expectModal("podpowForm", [&](ModalForm&) {
    f.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
    f.Podrodz->setFocus();
    QTest::keyClick(f.Podrodz, Qt::Key_Return);
    EXPECT_TRUE(f.Podtytul->hasFocus());
    QTest::keyClick(f.Podtytul, Qt::Key_Return);
    EXPECT_EQ(f.modalResult(), platform::mrNone) << "Enter in a list is no press of Zamknij";
    EXPECT_TRUE(f.zamknij->hasFocus());
    QTest::keyClick(&f, Qt::Key_F1);
    QTest::keyClick(f.zamknij, Qt::Key_Space);
    return platform::mrNone;
  });
  EXPECT_EQ(f.pokaz(1, 2), std::optional<int>(202));
  EXPECT_EQ(w.shell.requests, QStringList{"help zelt.hlp 1040200"});
}

}  // namespace

// ---- the pickers as the user sees them ----

TEST(PickerPictures, EachPickerShowsItsList) {
  for (const auto& c : listPickers()) {
    PickerWorld w;
    std::unique_ptr<zelt::TListaKodowForm> f(c.create(w.program()));
    w.dialogs.expectModal(c.objectName, [&](ModalForm& m) {
      QListWidget* list = listOf(m);
      QCoreApplication::processEvents();
      EXPECT_EQ(list->viewport()->size().width(), list->width() - list->verticalScrollBar()->width() - 2 * list->frameWidth())
          << c.name << ": the list fills the window";
      const QRect first = list->visualItemRect(list->item(0));
      EXPECT_TRUE(list->viewport()->rect().contains(first)) << c.name << ": the first line is in sight";
      EXPECT_GT(testing_world::renderWindow(m, QString("picker-") + c.objectName), 8) << c.name;
      return platform::mrNone;
    });
    EXPECT_EQ(f->pokaz(-1), std::nullopt);
  }
  PickerWorld w;
  zelt::TpodpowForm f(w.program());
  w.dialogs.expectModal("podpowForm", [&](ModalForm& m) {
    QCoreApplication::processEvents();
    for (QWidget* c : {static_cast<QWidget*>(f.Label1), static_cast<QWidget*>(f.Podrodz),
                       static_cast<QWidget*>(f.Label2), static_cast<QWidget*>(f.Podtytul),
                       static_cast<QWidget*>(f.zamknij)})
      EXPECT_TRUE(m.rect().contains(c->geometry())) << c->objectName().toStdString();
    // Each built-in line shows whole in its closed list.
    for (QComboBox* c : {f.Podrodz, f.Podtytul}) {
      QStyleOptionComboBox opt;
      opt.initFrom(c);
      const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
      for (int i = 0; i < c->count(); ++i)
        EXPECT_GE(field.width(), c->fontMetrics().horizontalAdvance(c->itemText(i))) << c->itemText(i).toStdString();
    }
    EXPECT_GT(testing_world::renderWindow(m, "picker-podpowForm"), 8);
    return platform::mrNone;
  });
  EXPECT_EQ(f.pokaz(5, 28), std::nullopt);
}
