#pragma once
// What a recorded print job drew, as the print tests compare it: its figures (lines and
// rectangles at 600 dots per inch) and its texts, page by page, and the footer every form carries.
#include <cmath>
#include <ostream>
#include <vector>

#include "platform/printers.h"

namespace rysunek {

using platform::PrintCall;
using Kind = PrintCall::Kind;

// Millimetres in the printer's dots.
inline int px(double mm) { return static_cast<int>(std::nearbyint(mm * 600 / 25.4)); }

struct Op {
  Kind kind;
  int x1, y1, x2, y2;
  bool operator==(const Op&) const = default;
};
inline void PrintTo(const Op& o, std::ostream* os) {
  *os << (o.kind == Kind::Line ? "line " : "rect ") << o.x1 << "," << o.y1 << " " << o.x2 << "," << o.y2;
}

inline std::vector<Op> figury(const platform::RecordedJob& j, int page = 1) {
  std::vector<Op> out;
  for (const auto& c : j.drawing())
    if (c.page == page && c.kind != Kind::Text) out.push_back({c.kind, c.x1, c.y1, c.x2, c.y2});
  return out;
}
inline std::vector<PrintCall> teksty(const platform::RecordedJob& j, int page = 1) {
  std::vector<PrintCall> out;
  for (const auto& c : j.drawing())
    if (c.page == page && c.kind == Kind::Text) out.push_back(c);
  return out;
}
inline bool stopka(const PrintCall& c) { return c.text.startsWith("Formularz wydrukowano programem firmy Tarvo"); }

}  // namespace rysunek
