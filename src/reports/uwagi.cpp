#include "reports/uwagi.h"

#include <algorithm>

namespace zelt {

const std::array<UwagaPola, 9> kUwagiPol = {{
    {"06", &TRekordTransakcji::uwkRodzTr, 255},
    {"07", &TRekordTransakcji::uwkPwz, 255},
    {"08", &TRekordTransakcji::uwkPdjrz, 255},
    {"09", &TRekordTransakcji::uwspDysp, 255},
    {"17", &TRekordTransakcji::uwzTypPo, 255},
    {"19", &TRekordTransakcji::uwzObyw, 255},
    {"29", &TRekordTransakcji::uwzRodzDokTo, 255},
    {"31", &TRekordTransakcji::uwpTypPo, 255},
    {"37", &TRekordTransakcji::uwbTypPo, 127},
}};

const UwagaPola* uwagaPola(std::string_view nr) {
  for (const UwagaPola& u : kUwagiPol)
    if (nr == u.nr) return &u;
  return nullptr;
}

bool jakUwagaPola(std::string_view tekst) {
  const std::size_t i = std::min(tekst.find_first_not_of(' '), tekst.size());
  return tekst.size() >= i + 3 && tekst[i + 2] == ':' && uwagaPola(tekst.substr(i, 2));
}

namespace {

// A remark text as the report files write it.
std::string tekstRaportu(std::string_view tekst, bool ogolna,
                         const std::function<std::string(std::string_view)>& konwersja) {
  std::string t(tekst);
  for (char& c : t) {
    if (c == '[') c = '(';
    else if (c == ']') c = ')';
  }
  std::string out = konwersja(t);
  if (ogolna && jakUwagaPola(out)) out.insert(0, 1, ' ');
  return out;
}

}  // namespace

std::string lancuchUwag(const TRekordTransakcji& r, BramkiUwag bramki,
                        const std::function<std::string(std::string_view)>& konwersja) {
  const bool wszystkie = bramki == BramkiUwag::Brak;
  const bool raport = bramki == BramkiUwag::Raport;
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
    out += raport ? tekstRaportu(k.tekst, k.nr == nullptr, konwersja) : konwersja(k.tekst);
    out += ']';
  }
  return out;
}

}  // namespace zelt
