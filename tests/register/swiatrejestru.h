#pragma once
// A world with a register: transak.dat written from records, and a stand-alone register list
// with the default columns whose rows show given record numbers.
#include <QDir>
#include <functional>
#include <string>
#include <vector>

#include "grid/kgridmodel.h"
#include "platform/clock.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "settings/kolumnygrid.h"
#include "support/world.h"

namespace swiat {

using zelt::TRekordTransakcji;

inline TRekordTransakcji rekord(const std::string& nrEwT, double rejDat = 0, const std::string& nrRejDat = "") {
  TRekordTransakcji r;
  r.nrEwT = nrEwT;
  r.rejDat = rejDat;
  r.nrRejDat = nrRejDat;
  return r;
}

inline TRekordTransakcji usuniety(TRekordTransakcji r) {
  r.Status = TRekordTransakcji::kDeleted;
  return r;
}

struct SwiatRejestru : testing_world::World {
  int konce = 0;

  QString baza() const { return documents() + "/ZELT/Baza"; }
  QString plik() const { return baza() + "/transak.dat"; }
  double dzis() const { return platform::dateToDays(clock.today()); }

  void zapisz(const std::vector<TRekordTransakcji>& recs) {
    QDir().mkpath(baza());
    zelt::PlikRejestru f(plik());
    ASSERT_TRUE(f.otworzDoZapisu());
    f.dopiszWszystkie(recs);
  }
  std::vector<TRekordTransakcji> rekordy() {
    std::vector<TRekordTransakcji> out;
    zelt::PlikRejestru f(plik());
    if (f.otworzDoOdczytu()) f.kazdy([&](qint64, const TRekordTransakcji& r) { out.push_back(r); });
    return out;
  }
  // The program object without its windows, over this world's data folder.
  zelt::Program& bezOkien() {
    auto& p = program();
    p.KatDan = baza();
    return p;
  }
  // Started and signed in (by default without asking), ending into a counter.
  zelt::Program& uruchomiony(std::function<int()> logowanie = [] { return platform::mrOk; }) {
    auto& p = program();
    if (logowanie) p.logowanie = std::move(logowanie);
    p.zakoncz = [this] { ++konce; };
    EXPECT_TRUE(p.start());
    return p;
  }
};

// A register list apart from any window, with the default columns.
struct Lista {
  kgrid::TKGridModel m;
  zelt::UkladListy uklad;
  Lista() { uklad = zelt::zbudujKolumnyListy(m, zelt::DefinicjeKolumn()); }
  int lp() const { return uklad.kolumnaLp(); }
  // A row showing record `nr` (its Lp is nr + 1); returns the row.
  int wiersz(std::int32_t nr) { return wiersz(std::to_string(nr + 1)); }
  int wiersz(const std::string& lpText) {
    m.AddRow();
    m.SetCells(lp(), m.RowCount() - 1, lpText);
    return m.RowCount() - 1;
  }
};

}  // namespace swiat
