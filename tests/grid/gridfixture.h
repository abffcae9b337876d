#pragma once
// A grid with columns named A, B, ... (captions the same) and rows filled "<column><row>".
#include <string>

#include "grid/kgridmodel.h"

namespace gridtest {

inline void build(kgrid::TKGridModel& grid, int columns, int rows, int width = 64) {
  for (int c = 0; c < columns; ++c) {
    kgrid::TKGridColumn& col = grid.Columns().Add();
    col.SetName(std::string(1, char('A' + c)));
    col.SetCaption(col.Name());
    col.SetWidth(width);
  }
  grid.SetRowCount(rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) grid.SetCells(c, r, std::string(1, char('a' + c)) + std::to_string(r));
}

}  // namespace gridtest
