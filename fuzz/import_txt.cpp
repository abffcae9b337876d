// The TXT report reader over any bytes: the whole file's records or one message, never a part.
// The file is judged line by line here: a header "HE" with the institution's NIP from character
// 17, then "DA;" lines up to a "TR" line or the end. Each "DA;" line is one record of a card, so a
// result must hold exactly one record per line, in order; where a line's fields are plain (every
// field a number of digits, ":" and a value) and its transaction number is printable ASCII that
// fits, the record carries that number, so no record lands on another line's card.
#include <cstdint>
#include <string>

#include "importwspolne.h"

using namespace zeltfuzz;

namespace {

// Field 01 of a plain line, as written; none when the line is not plain or has no field 01.
struct Numer {
  bool prosta = true;  // every field "digits:value"
  bool jest = false;
  std::string_view wartosc;
};

Numer numerLinii(std::string_view linia) {
  Numer n;
  std::string_view reszta = linia.substr(3);
  while (!reszta.empty()) {
    const std::size_t sr = reszta.find(';');
    const std::string_view pole = reszta.substr(0, sr);
    reszta = sr == std::string_view::npos ? std::string_view() : reszta.substr(sr + 1);
    const std::size_t dw = pole.find(':');
    const std::string_view nr = pole.substr(0, dw);
    if (dw == std::string_view::npos || nr.empty() || nr.size() > 3 ||
        nr.find_first_not_of("0123456789") != std::string_view::npos) {
      n.prosta = false;
      return n;
    }
    if (std::stoi(std::string(nr)) == 1) {
      n.jest = true;
      n.wartosc = pole.substr(dw + 1);
    }
  }
  return n;
}

bool drukowalne(std::string_view t) {
  for (char c : t)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
  const std::string_view plik = bajty(dane, rozmiar);
  const zelt::KontekstImportu& k = kontekstImportu();
  const zelt::WynikImportu w = zelt::czytajTxt(plik, k);
  rekordyAlboKomunikat(w);

  const auto l = linie(plik);
  bool dobraSkladnia = !l.empty() && zaczynaSie(l[0], "HE") && l[0].size() >= 16 && l[0].substr(16) == kNip;
  std::vector<std::string_view> dane_;
  for (std::size_t i = 1; dobraSkladnia && i < l.size() && !zaczynaSie(l[i], "TR"); ++i) {
    if (!zaczynaSie(l[i], "DA;")) dobraSkladnia = false;
    else dane_.push_back(l[i]);
  }
  if (!dobraSkladnia) {
    WYMAGANE(w.blad.has_value(), "a file with a bad header or a line that is not DA; gave " +
                                     std::to_string(w.rekordy.size()) + " records");
    return 0;
  }
  if (w.blad) return 0;  // a field that is no number or date: refused whole, as checked above

  WYMAGANE(w.rekordy.size() == dane_.size(), std::to_string(dane_.size()) + " record lines gave " +
                                                 std::to_string(w.rekordy.size()) + " records");
  static const std::size_t pojemnosc = zelt::poleTekstowe("nrEwT")->capacity;
  for (std::size_t i = 0; i < dane_.size(); ++i) {
    const Numer n = numerLinii(dane_[i]);
    if (!n.prosta) continue;
    const std::string_view oczekiwany = n.jest ? n.wartosc : std::string_view(kPustyNrEwT);
    if (oczekiwany.size() > pojemnosc || !drukowalne(oczekiwany)) continue;
    WYMAGANE(w.rekordy[i].nrEwT == oczekiwany, "record " + std::to_string(i + 1) + " carries transaction number '" +
                                                   w.rekordy[i].nrEwT + "', its line '" + std::string(oczekiwany) +
                                                   "'");
  }
  return 0;
}
