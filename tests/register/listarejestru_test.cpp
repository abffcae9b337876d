// The register list at start-up: the live records of transak.dat, one row each, with their texts.
#include <gtest/gtest.h>

#include <QDir>

#include "register/glownyform.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "settings/kolumnygrid.h"
#include "support/world.h"

using testing_world::World;
using zelt::TRekordTransakcji;

namespace {

struct RegisterWorld : World {
  QString baza() const { return documents() + "/ZELT/Baza"; }
  void records(const std::vector<TRekordTransakcji>& recs) {
    QDir().mkpath(baza());
    zelt::PlikRejestru f(baza() + "/transak.dat");
    ASSERT_TRUE(f.otworzDoZapisu());
    f.dopiszWszystkie(recs);
  }
  zelt::Program& started() {
    auto& p = program();
    p.logowanie = [] { return platform::mrOk; };
    EXPECT_TRUE(p.start());
    return p;
  }
  std::string cell(const char* kod, int row) {
    auto& p = program();
    const int col = p.ukladListy.kolumna(kod);
    EXPECT_GE(col, 0) << kod << " is a column of the default layout";
    return col < 0 ? std::string("?") : std::string(p.glowny()->lista->Cells(col, row));
  }
};

TEST(RegisterList, ShowsTheLiveRecordsWithTheirTexts) {
  RegisterWorld w;
  TRekordTransakcji a;
  a.nrEwT = "TR/1";
  a.kRodzTr = "0607";
  a.tKw = "100,00";
  a.rejDat = 39146.0;
  a.ilOstrzezen = 2;
  a.ilWydrukow = 1;
  TRekordTransakcji deleted = a;
  deleted.Status = 99;
  TRekordTransakcji b;
  b.nrEwT = "TR/2";
  b.kRodzTr = "    ";
  b.tKw = "5";
  b.Status = 0;
  b.rejDat = 39147.0;
  w.records({a, deleted, b});
  auto& p = w.started();
  auto& lista = *p.glowny()->lista;
  ASSERT_EQ(lista.RowCount(), 2);
  EXPECT_EQ(p.ukladListy.kolumnaLp(), 0) << "Lp is the first column";
  EXPECT_EQ(w.cell("Lp", 0), "1");
  EXPECT_EQ(w.cell("Lp", 1), "3") << "the deleted record leaves a gap";
  EXPECT_EQ(w.cell("nrEwT", 0), "TR/1");
  EXPECT_EQ(w.cell("Info", 0), "2O;D");
  EXPECT_EQ(w.cell("kRodzTr", 0), "0607");
  EXPECT_EQ(w.cell("tKw", 0), "100,00");
  EXPECT_EQ(w.cell("tKw", 1), "") << "no transaction kind, no transaction cells";
  EXPECT_EQ(w.cell("Status", 1), "0 - korekta transakcji");
  EXPECT_EQ(p.splashLines.filter("rejestru").last(), QString::fromUtf8("ładowanie rejestru transakcji - załadowano 2 rekordów"));
  // Rows enable the commands on rows whose work exists: the delete here (the others follow their
  // work, see the main window's tests).
  EXPECT_TRUE(p.glowny()->Usun->isEnabled());
  EXPECT_GT(testing_world::renderWindow(*p.glowny(), "glowny"), 8);
}

TEST(RegisterList, AnEmptyRegisterDisablesTheCommandsOnRows) {
  RegisterWorld w;
  auto& p = w.started();
  EXPECT_EQ(p.glowny()->lista->RowCount(), 0);
  EXPECT_EQ(p.glowny()->lista->DataRow(), -1);
  for (auto* b : {p.glowny()->Edytuj, p.glowny()->Usun, p.glowny()->DrukKar, p.glowny()->DrukRej, p.glowny()->Wyslij})
    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_EQ(p.glowny()->GrupaWys->text(), "") << "Lp belongs to no card section";
  EXPECT_FALSE(p.glowny()->PoleWys->text().isEmpty());
}

}  // namespace
