#pragma once
// The remark string of a record: the general remark and the field remarks, each in brackets with
// its field number, in the fixed order 45 (general), 06, 07, 08, 09, 17, 19, 29, 31, 37. The
// report files (TXT field 45, the XML Uwagi) write only the remarks whose field is written or
// whose party type is set; the register list shows them all.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "register/rekordtransakcji.h"

namespace zelt {

enum class BramkiUwag {
  Raport,  // 06-09 only with a kind code; 17 only for type 0; 19, 29, 31, 37 with their type set;
           // the texts in the report files' form (below)
  Brak,    // every non-empty remark
  Karta,   // the card print: 06-09 with a kind code that is not four blanks; 17, 19, 29 with the
           // ordering party's type set; 31 and 37 only for party type 0
  Rejestr,  // the register print: 06-09 with a kind code that is not four blanks; 17 only for
            // type 0; 19, 29, 31, 37 with their type set
};

// `konwersja` turns each remark text into what is written (the report's value conversion).
// In the report files a remark's "[" and "]" are written as "(" and ")", so that no text ends or
// starts a piece, and a general remark that would read as a field's remark ("06:...", after any
// blanks) gets one blank in front, which the import takes off (dodajUwagi).
std::string lancuchUwag(const TRekordTransakcji& r, BramkiUwag bramki,
                        const std::function<std::string(std::string_view)>& konwersja);

// The fields that have a remark of their own, by the number of their piece, with the remark's room.
struct UwagaPola {
  const char* nr;
  std::string TRekordTransakcji::* pole;
  std::size_t pojemnosc;
};
extern const std::array<UwagaPola, 9> kUwagiPol;
// The field remark whose piece begins "[" + nr + ":", if any.
const UwagaPola* uwagaPola(std::string_view nr);
// Whether a text, after its leading blanks, begins as a field remark's piece does ("06:").
bool jakUwagaPola(std::string_view tekst);

}  // namespace zelt
