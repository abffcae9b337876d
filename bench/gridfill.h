#pragma once
// Register-like contents for the grid's benchmark and demo: 48 columns of dates, amounts,
// codes, names with blanks (stored quoted) and Polish letters, as the register list shows them.
#include <string>
#include <vector>

#include "grid/kstrgrid.h"
#include "platform/cp1250.h"

namespace gridfill {

inline std::vector<std::vector<std::string>> texts(int columns) {
  const std::vector<std::string> names = {
      cp1250::fromUtf8("Kowalski Jan"),        cp1250::fromUtf8("Nowak, Anna"),
      cp1250::fromUtf8("Wiśniewska Zofia"),   cp1250::fromUtf8("Łukasik Paweł"),
      cp1250::fromUtf8("Żółkiewski Stanisław"), cp1250::fromUtf8("Dąbrowski Adam")};
  std::vector<std::vector<std::string>> pool(static_cast<std::size_t>(columns));
  for (int c = 0; c < columns; ++c) {
    auto& p = pool[std::size_t(c)];
    for (int i = 0; i < 997; ++i) {
      switch (c % 6) {
        case 0: p.push_back(std::to_string(i * 131 % 100000)); break;
        case 1: p.push_back("2026-" + std::to_string(10 + i % 3) + "-" + std::to_string(10 + i % 19)); break;
        case 2: p.push_back(std::to_string(i * 7919 % 1000000) + "," + std::to_string(10 + i % 90)); break;
        case 3: p.push_back(names[std::size_t(i) % names.size()] + " " + std::to_string(i)); break;
        case 4: p.push_back(i % 4 ? std::string() : "PL"); break;
        default: p.push_back(cp1250::fromUtf8("ul. Główna ") + std::to_string(i % 200)); break;
      }
    }
  }
  return pool;
}

// Columns named K00.. and captioned as the register's, then rows as the register load appends
// them: AddRow, then each cell.
inline void fill(kgrid::TKStringGrid& g, int rows, int columns) {
  static const char* captions[] = {"Lp", "Data rej.", "Kwota", "Nazwa/Nazwisko", "Kraj", "Adres"};
  g.Clear();
  g.Columns().Clear();
  for (int c = 0; c < columns; ++c) {
    kgrid::TKGridColumn& col = g.Columns().Add();
    col.SetName("K" + std::to_string(c));
    col.SetCaption(cp1250::fromUtf8(captions[c % 6]));
    col.SetWidth(c % 6 == 3 ? 150 : (c % 6 == 5 ? 110 : 70));
    if (c % 6 == 2) col.SetAlignment(kgrid::taRightJustify);
  }
  const auto pool = texts(columns);
  for (int r = 0; r < rows; ++r) {
    g.AddRow();
    const int row = g.RowCount() - 1;
    g.SetCells(0, row, std::to_string(r + 1));
    for (int c = 1; c < columns; ++c) {
      const auto& p = pool[std::size_t(c)];
      g.SetCells(c, row, p[std::size_t(r * 31 + c * 7) % p.size()]);
    }
  }
}

}  // namespace gridfill
