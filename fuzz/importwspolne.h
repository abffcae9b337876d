#pragma once
// The context both import targets read with, and the property every result must have: records,
// or exactly one message and no records.
#include <string>

#include "reports/import.h"
#include "wspolne.h"

namespace zeltfuzz {

inline constexpr const char* kNip = "5260001246";
// The cleared record every card starts from, marked so that a field the file does not set is seen.
inline constexpr const char* kPustyNrEwT = "PUSTY";

inline const zelt::KontekstImportu& kontekstImportu() {
  static const zelt::ListyKarty listy = zelt::ListyKarty::wbudowane();
  static const zelt::KontekstImportu k = [] {
    zelt::TRekordTransakcji pusty;
    pusty.nrEwT = kPustyNrEwT;
    pusty.rejDat = 46000;
    pusty.tDat = 46000;
    return zelt::KontekstImportu{kNip, listy, pusty};
  }();
  return k;
}

inline void rekordyAlboKomunikat(const zelt::WynikImportu& w) {
  if (w.blad) {
    WYMAGANE(!w.blad->isEmpty(), "a refusal without its text");
    WYMAGANE(w.rekordy.empty(), std::to_string(w.rekordy.size()) + " records beside the message " +
                                    w.blad->toStdString());
  }
}

}  // namespace zeltfuzz
