#pragma once
// The main list's columns as the definitions give them at start-up, and the map from a column's
// code to its place. The list keeps the columns it was built with for the whole run, so the row
// writer and every reader place and find cells through this map, never through the positions in
// the definitions (which the settings window changes before the next start).
#include <string>
#include <string_view>
#include <vector>

#include "settings/kolumny.h"

namespace kgrid {
class TKGridModel;
}

namespace zelt {

struct KolumnaListy {
  int numer = 0;        // the definition's number, 1..48
  std::string kod;      // caption and name of the column
  int szerokosc = 0;    // pixels
  bool doPrawej = false;
};

class UkladListy {
 public:
  UkladListy() = default;
  // The columns shown in the main list, in screen position order.
  explicit UkladListy(const DefinicjeKolumn& defs);

  const std::vector<KolumnaListy>& kolumny() const { return kolumny_; }
  // The column index of a code or of a definition number; -1 when the list has no such column.
  int kolumna(std::string_view kod) const;
  int kolumnaNumeru(int numer) const;
  // The column that shows the record number + 1.
  int kolumnaLp() const { return kolumnaNumeru(kSlotLp); }

 private:
  std::vector<KolumnaListy> kolumny_;
};

// Texts of the main window's labels `GrupaWys` and `PoleWys` for a column of the list, by the
// column's name: the bare section title, and the field number, " - " and the name. A name that no
// definition carries (a column whose name is not set yet) gives two empty texts.
struct EtykietyKolumny {
  std::string GrupaWys;
  std::string PoleWys;
};
EtykietyKolumny etykietyKolumny(const DefinicjeKolumn& defs, std::string_view nazwaKolumny);

// Builds the main list's columns once at start-up: the grid loses its rows and columns, then gets
// one column per definition shown, in screen order, with the code as caption and name, the width
// and the alignment. Returns the layout the row writer and the readers go by.
UkladListy zbudujKolumnyListy(kgrid::TKGridModel& lista, const DefinicjeKolumn& defs);
// The labels for the list's first column; empty texts while the list has no column.
EtykietyKolumny etykietyPierwszejKolumny(const kgrid::TKGridModel& lista, const DefinicjeKolumn& defs);

}  // namespace zelt
