#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>

#include "platform/cp1250.h"
#include "platform/geometry.h"
#include "register/program.h"
#include "register/werform.h"
#include "support/world.h"

using testing_world::World;
using zelt::TWerForm;

namespace {

QString cell(const QTableWidget* g, int row, int col) {
  const QTableWidgetItem* it = g->item(row, col);
  return it ? it->text() : QString();
}

QStringList headers(const QTableWidget* g) {
  QStringList out;
  for (int c = 0; c < g->columnCount(); ++c) out << g->horizontalHeaderItem(c)->text();
  return out;
}

// A grid at rest: one empty row under the header.
void expectEmpty(const QTableWidget* g) {
  ASSERT_EQ(g->rowCount(), 1) << g->objectName().toStdString();
  for (int c = 0; c < 4; ++c) EXPECT_EQ(cell(g, 0, c), "") << g->objectName().toStdString() << c;
}

struct WerWorld : World {
  zelt::Program& p = program();
  TWerForm form{p};
  zelt::ListyWeryfikacji& listy = p.listyWer;

  // Shows the dialog for reading and runs `look` while it is on screen.
  int showing(const std::function<int(TWerForm&)>& look) {
    dialogs.expectModal("WerForm", [&](platform::ModalForm& f) { return look(static_cast<TWerForm&>(f)); });
    return form.pokazDoOdczytu();
  }
};

TEST(WerForm, LooksAsDesigned) {
  WerWorld w;
  const TWerForm& f = w.form;
  EXPECT_EQ(f.windowTitle(), "Weryfikacja");
  EXPECT_EQ(f.size(), QSize(571, 402));
  EXPECT_EQ(f.etBledy->text(), QString::fromUtf8("Błędy krytyczne :"));
  EXPECT_EQ(f.etOstrze->text(), QString::fromUtf8("Ostrzeżenia :"));
  EXPECT_TRUE(f.etBledy->font().bold());
  EXPECT_TRUE(f.etOstrze->font().bold());
  EXPECT_EQ(headers(f.bledy), QStringList({"Lp", "Pole", "Nazwa pola", QString::fromUtf8("Błąd")}));
  EXPECT_EQ(headers(f.ostrze), QStringList({"Lp", "Pole", "Nazwa pola", QString::fromUtf8("Ostrzeżenie")}));
  for (const QTableWidget* g : {f.bledy, f.ostrze}) {
    EXPECT_EQ(g->columnWidth(0), 25);
    EXPECT_EQ(g->columnWidth(1), 150);
    EXPECT_EQ(g->columnWidth(2), 150);
    EXPECT_EQ(g->verticalHeader()->defaultSectionSize(), 16);
    EXPECT_EQ(g->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(g->editTriggers(), QAbstractItemView::NoEditTriggers);
    expectEmpty(g);
  }
  EXPECT_EQ(f.zapisz->text(), "&Zapisz");
  EXPECT_EQ(f.zamknij->text(), QString::fromUtf8("&Wróć"));
  EXPECT_EQ(f.wroc->text(), "&Anuluj");
}

TEST(WerForm, TakesItsGeometryFromTheRegistry) {
  World w;
  const std::string key = platform::geometryKey("Weryf");
  w.reg().writeInteger(platform::RegRoot::CurrentUser, key, "Width", 640);
  w.reg().writeInteger(platform::RegRoot::CurrentUser, key, "Height", 480);
  TWerForm f(w.program());
  EXPECT_EQ(f.size(), QSize(640, 480));
}

// A window stored narrower than the three fixed columns still shows a message column.
TEST(WerForm, ANarrowStoredWindowKeepsTheMessageColumn) {
  WerWorld w;
  w.reg().writeInteger(platform::RegRoot::CurrentUser, platform::geometryKey("Weryf"), "Width", 200);
  TWerForm f(w.p);
  EXPECT_GE(f.width(), 325);
  w.listy.dodajblad("13", "Kwota", 1, "brak");
  w.dialogs.expectModal("WerForm", [](platform::ModalForm& form) {
    auto& wf = static_cast<TWerForm&>(form);
    EXPECT_GE(wf.bledy->columnWidth(3), 50);
    return TWerForm::kWroc;
  });
  f.pokazDoOdczytu();
}

// The grids show the lists of the last check, numbered, with the first finding current.
TEST(WerForm, ShowsTheFindingsOfTheLastCheck) {
  WerWorld w;
  w.listy.przygotuj(2);
  w.listy.dodajblad("13", "Kwota transakcji", 1, cp1250::fromUtf8("Brak kwoty"));
  w.listy.dodajblad("20-Kowalski", "PESEL", 2, cp1250::fromUtf8("Błędny numer PESEL"));
  w.listy.dodajblad("45", "Uwagi", 0, "za długie");
  w.showing([](TWerForm& f) {
    EXPECT_EQ(f.bledy->rowCount(), 3);
    EXPECT_EQ(cell(f.bledy, 0, 0), "1");
    EXPECT_EQ(cell(f.bledy, 2, 0), "3");
    EXPECT_EQ(cell(f.bledy, 1, 1), "20-Kowalski");
    EXPECT_EQ(cell(f.bledy, 1, 2), "PESEL");
    EXPECT_EQ(cell(f.bledy, 1, 3), QString::fromUtf8("Błędny numer PESEL"));
    EXPECT_EQ(f.bledy->currentRow(), 0);
    expectEmpty(f.ostrze);
    EXPECT_EQ(f.ostrze->currentRow(), 0);
    f.bledy->setCurrentCell(2, 0);  // the user looks further down
    return TWerForm::kWroc;
  });

  // The next check starts again: nothing of the earlier one shows, and the current row is back.
  w.listy.przygotuj(2);
  w.listy.dodajostrze("17", "Typ", 1, "inne");
  w.showing([](TWerForm& f) {
    expectEmpty(f.bledy);
    EXPECT_EQ(f.ostrze->rowCount(), 1);
    EXPECT_EQ(cell(f.ostrze, 0, 0), "1");
    EXPECT_EQ(cell(f.ostrze, 0, 3), "inne");
    EXPECT_EQ(f.bledy->currentRow(), 0);
    return TWerForm::kWroc;
  });

  w.listy.przygotuj();
  w.showing([](TWerForm& f) {
    expectEmpty(f.bledy);
    expectEmpty(f.ostrze);
    return TWerForm::kWroc;
  });
}

TEST(WerForm, EveryWayOutHasItsResult) {
  struct Case {
    const char* how;
    std::function<void(TWerForm&)> act;
    int result;
  };
  const Case cases[] = {
      {"zapisz", [](TWerForm& f) { f.zapisz->click(); }, 1},
      {"zamknij", [](TWerForm& f) { f.zamknij->click(); }, 2},
      {"wroc", [](TWerForm& f) { f.wroc->click(); }, 5},
      {"close box", [](TWerForm& f) { f.close(); }, 2},
      {"Esc in a grid", [](TWerForm& f) { QTest::keyClick(f.bledy, Qt::Key_Escape); }, 2},
      {"Esc on the confirm button",
       [](TWerForm& f) {
         f.zapisz->setFocus();
         QTest::keyClick(f.zapisz, Qt::Key_Escape);
       },
       2},
      {"Enter on the confirm button",
       [](TWerForm& f) {
         f.zapisz->setFocus();
         QTest::keyClick(f.zapisz, Qt::Key_Return);
       },
       1},
      {"Enter on the cancel button",
       [](TWerForm& f) {
         f.wroc->setFocus();
         QTest::keyClick(f.wroc, Qt::Key_Enter);
       },
       5},
  };
  for (const auto& c : cases) {
    WerWorld w;
    w.dialogs.expectModal("WerForm", [&](platform::ModalForm& f) {
      c.act(static_cast<TWerForm&>(f));
      return platform::mrNone;  // the window's own result
    });
    EXPECT_EQ(w.form.pokazDoZapisu("Zapisz"), c.result) << c.how;
  }
}

TEST(WerForm, EnterInAGridAnswersNothing) {
  WerWorld w;
  w.listy.dodajblad("13", "Kwota", 1, "brak");
  w.dialogs.expectModal("WerForm", [](platform::ModalForm& f) {
    auto& form = static_cast<TWerForm&>(f);
    form.bledy->setFocus();
    QTest::keyClick(form.bledy, Qt::Key_Return);
    EXPECT_EQ(form.modalResult(), platform::mrNone);
    EXPECT_TRUE(form.isVisible());
    return TWerForm::kAnuluj;
  });
  EXPECT_EQ(w.form.pokazDoZapisu("Zapisz"), TWerForm::kAnuluj);
}

// Each showing sets the confirm button afresh, whatever the caller before it left.
TEST(WerForm, TheConfirmButtonIsSetForEachShowing) {
  WerWorld w;
  auto look = [&](bool visible, const QString& caption) {
    w.dialogs.expectModal("WerForm", [=](platform::ModalForm& f) {
      auto& form = static_cast<TWerForm&>(f);
      EXPECT_EQ(!form.zapisz->isHidden(), visible);
      if (visible) {
        EXPECT_EQ(form.zapisz->text(), caption);
      }
      return TWerForm::kWroc;
    });
  };
  look(true, "Drukuj");
  w.form.pokazDoZapisu("Drukuj");
  look(false, {});
  w.form.pokazDoOdczytu();
  look(true, "Zapisz");
  w.form.pokazDoZapisu("Zapisz");
  EXPECT_FALSE(w.form.isVisible()) << "closing only hides the dialog";
}

TEST(WerForm, F1OpensItsHelpTopic) {
  WerWorld w;
  w.showing([](TWerForm& f) {
    QTest::keyClick(f.bledy, Qt::Key_F1);
    return TWerForm::kWroc;
  });
  EXPECT_EQ(w.shell.requests, QStringList({"help zelt.hlp 1040800"}));
}

TEST(WerForm, FindingsAddedThroughTheDialogGoToTheProgramsLists) {
  WerWorld w;
  w.listy.przygotuj(1);
  w.form.dodajblad("13", "Kwota", 1, "brak");
  w.form.dodajostrze("14", "Waluta", 0, "inna");
  EXPECT_EQ(w.p.licznikiRekordow.bledow, 1);
  EXPECT_EQ(w.p.licznikiRekordow.r[1].bledy, 1);
  EXPECT_EQ(w.p.licznikiRekordow.ostrzezen, 1);
  ASSERT_EQ(w.listy.ostrze().size(), 1u);
  EXPECT_EQ(w.listy.ostrze()[0].tekst, "inna");
  EXPECT_TRUE(TWerForm::CheckNRB("PL61 1090 1014 0000 0712 1981 2874"));
  EXPECT_FALSE(TWerForm::CheckPesel("44051401358"));
}

}  // namespace

namespace {

TEST(WerForm, IsDrawnWithItsFindings) {
  WerWorld w;
  w.listy.przygotuj(1);
  w.listy.dodajblad("13", "Kwota transakcji", 1, cp1250::fromUtf8("Brak kwoty transakcji w polu 13"));
  w.listy.dodajostrze("20-Kowalski", "PESEL", 1, cp1250::fromUtf8("Błędna cyfra kontrolna numeru PESEL"));
  w.dialogs.expectModal("WerForm", [](platform::ModalForm& f) {
    EXPECT_GT(testing_world::renderWindow(f, "weryfikacja"), 8);
    return TWerForm::kWroc;
  });
  w.form.pokazDoZapisu("Zapisz");
}

}  // namespace
