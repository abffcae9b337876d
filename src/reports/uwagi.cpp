#include "reports/uwagi.h"

namespace zelt {

std::string lancuchUwag(const TRekordTransakcji& r, BramkiUwag bramki,
                        const std::function<std::string(std::string_view)>& konwersja) {
  const bool wszystkie = bramki == BramkiUwag::Brak;
  const bool karta = bramki == BramkiUwag::Karta;
  // The writers count a kind code of four blanks as written; the prints do not.
  const bool druk = karta || bramki == BramkiUwag::Rejestr;
  const bool transakcja = !r.kRodzTr.empty() && !(druk && r.kRodzTr == "    ");
  // Any negative index counts as unset.
  const bool zTyp = r.zTypPo >= 0, pTyp = r.pTypPo >= 0, bTyp = r.bTypPo >= 0;
  struct Kawalek {
    const char* nr;  // null for the general remark, written without a number
    const std::string& tekst;
    bool brama;
  };
  const Kawalek kawalki[] = {
      {nullptr, r.uwInne, true},
      {"06", r.uwkRodzTr, transakcja},
      {"07", r.uwkPwz, transakcja},
      {"08", r.uwkPdjrz, transakcja},
      {"09", r.uwspDysp, transakcja},
      {"17", r.uwzTypPo, karta ? zTyp : r.zTypPo == 0},
      {"19", r.uwzObyw, zTyp},
      {"29", r.uwzRodzDokTo, zTyp},
      {"31", r.uwpTypPo, karta ? r.pTypPo == 0 : pTyp},
      {"37", r.uwbTypPo, karta ? r.bTypPo == 0 : bTyp},
  };
  std::string out;
  for (const Kawalek& k : kawalki) {
    if (k.tekst.empty() || !(wszystkie || k.brama)) continue;
    out += '[';
    if (k.nr) {
      out += k.nr;
      out += ':';
    }
    out += konwersja(k.tekst);
    out += ']';
  }
  return out;
}

}  // namespace zelt
