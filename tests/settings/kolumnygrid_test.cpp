#include <gtest/gtest.h>

#include "grid/kgridmodel.h"
#include "platform/cp1250.h"
#include "settings/kolumnygrid.h"

using namespace zelt;

namespace {

const std::vector<std::string> kEkranDomyslny = {"Lp",     "Info", "nrEwT", "jedIO", "Status", "kRodzTr",
                                                 "nrDokT", "tDat", "tKw",   "tJ",    "tKwZ",   "tJZ",
                                                 "zNz",    "zAdrM", "zAdrUl", "Wprow"};

// ---- the main list's columns and its labels ----

TEST(UkladListy, DefaultColumnsWithCodesWidthsAndAlignment) {
  DefinicjeKolumn d;
  d[15].szerWyg = 81;  // tKw 40 pixels, right-aligned
  const UkladListy u(d);
  ASSERT_EQ(u.kolumny().size(), 16u);
  for (std::size_t c = 0; c < u.kolumny().size(); ++c) {
    const KolumnaListy& k = u.kolumny()[c];
    EXPECT_EQ(k.kod, kEkranDomyslny[c]);
    EXPECT_EQ(k.szerokosc, k.kod == "tKw" ? 40 : c < 2 ? 30 : 60) << k.kod;
    EXPECT_EQ(k.doPrawej, k.kod == "tKw") << k.kod;
  }
}

TEST(UkladListy, MapsCodesToTheColumnsItWasBuiltWith) {
  DefinicjeKolumn d;
  const UkladListy u(d);
  EXPECT_EQ(u.kolumnaLp(), 0);
  EXPECT_EQ(u.kolumna("tKw"), 8);
  EXPECT_EQ(u.kolumnaNumeru(15), 8);
  EXPECT_EQ(u.kolumna("Wprow"), 15);
  EXPECT_EQ(u.kolumna("nrRejDat"), -1);  // not shown: its cells are skipped
  EXPECT_EQ(u.kolumna(""), -1);
  // A layout changed later moves no cell of the list already built.
  d[15].pozWyg = 2;
  d[2].pozWyg = 9;
  EXPECT_EQ(u.kolumna("tKw"), 8);
  EXPECT_EQ(UkladListy(d).kolumnaNumeru(15), 1);
}

TEST(EtykietyKolumny, TextsForAColumnByItsName) {
  const DefinicjeKolumn d;
  const struct {
    const char* nazwa;
    std::string grupa, pole;
  } przypadki[] = {
      {"Lp", "", "0 - Lp"},
      {"zAdrM", cp1250::fromUtf8("III. PODMIOT, KTÓRY WYDAJE DYSPOZYCJĘ"), cp1250::fromUtf8("22 - Adres: miejscowość")},
      {"nrRachNa", cp1250::fromUtf8("VI. RACHUNKI UCZESTNICZĄCE W TRANSAKCJI"), "44 - Numer rachunku docelowego"},
      {"", "", ""},  // a column announced before its name is set
      {"Kolumna1", "", ""},
  };
  for (const auto& p : przypadki) {
    const EtykietyKolumny e = etykietyKolumny(d, p.nazwa);
    EXPECT_EQ(e.GrupaWys, p.grupa) << p.nazwa;
    EXPECT_EQ(e.PoleWys, p.pole) << p.nazwa;
  }
}

// ---- the grid ----

TEST(KolumnyListy, FirstStartBuildsSixteenColumnsNamedByTheirCodes) {
  kgrid::TKGridModel lista;
  // Whatever the grid held goes: columns and rows.
  for (const char* n : {"A", "tKw"}) lista.Columns().Add().SetName(n);
  lista.SetRowCount(3);
  DefinicjeKolumn d;
  d[15].szerWyg = 81;  // tKw 40 pixels, right-aligned
  const UkladListy u = zbudujKolumnyListy(lista, d);
  EXPECT_EQ(lista.RowCount(), 0);
  ASSERT_EQ(lista.ColCount(), 16);
  ASSERT_EQ(lista.Columns().Count(), 16);
  for (int c = 0; c < 16; ++c) {
    const kgrid::TKGridColumn& k = lista.VisibleColumn(c);
    SCOPED_TRACE(kEkranDomyslny[std::size_t(c)]);
    EXPECT_EQ(k.Name(), kEkranDomyslny[std::size_t(c)]);
    EXPECT_EQ(k.Caption(), kEkranDomyslny[std::size_t(c)]);
    EXPECT_EQ(k.Width(), k.Name() == "tKw" ? 40 : c < 2 ? 30 : 60);
    EXPECT_EQ(k.Alignment(), k.Name() == "tKw" ? kgrid::taRightJustify : kgrid::taLeftJustify);
    EXPECT_EQ(u.kolumna(k.Name()), c);
  }
}

TEST(KolumnyListy, AChosenLayoutGivesItsOrderAndTheLabelsOfItsFirstColumn) {
  DefinicjeKolumn d;
  for (int i = 1; i <= kIloscKolumn; ++i) d[i].pozWyg = 0;
  d[1].pozWyg = 1;
  d[46].pozWyg = 2;
  d[24].pozWyg = 3;
  kgrid::TKGridModel lista;
  const UkladListy u = zbudujKolumnyListy(lista, d);
  ASSERT_EQ(lista.ColCount(), 3);
  EXPECT_EQ(lista.VisibleColumn(1).Name(), "nrRachNa");
  EXPECT_EQ(lista.VisibleColumn(2).Name(), "zAdrM");
  EXPECT_EQ(u.kolumna("nrRachNa"), 1);
  EXPECT_EQ(u.kolumna("tKw"), -1);
  const EtykietyKolumny e = etykietyPierwszejKolumny(lista, d);
  EXPECT_EQ(e.GrupaWys, "");
  EXPECT_EQ(e.PoleWys, "0 - Lp");
}

TEST(KolumnyListy, NoLabelsWithoutAColumnOrItsName) {
  const DefinicjeKolumn d;
  kgrid::TKGridModel lista;
  EXPECT_EQ(etykietyPierwszejKolumny(lista, d).PoleWys, "");
  lista.Columns().Add();  // announced, no name yet
  const EtykietyKolumny e = etykietyPierwszejKolumny(lista, d);
  EXPECT_EQ(e.GrupaWys, "");
  EXPECT_EQ(e.PoleWys, "");
}

}  // namespace
