// The XML report reader over any bytes: the whole file's records or one message, never a part.
// The file is judged line by line here: nothing counts before the first line with NipIO="; its
// value (up to the next quote) must be the institution's NIP; from that line up to the first one
// holding "</wykazTr" (or the end) every line holding "<kartaTr" starts one record, whether or not
// its end tag follows, so a result must hold exactly that many records.
#include <cstdint>
#include <string>

#include "importwspolne.h"

using namespace zeltfuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
  const std::string_view plik = bajty(dane, rozmiar);
  const zelt::WynikImportu w = zelt::czytajXml(plik, kontekstImportu());
  rekordyAlboKomunikat(w);

  const auto l = linie(plik);
  std::size_t i = 0;
  constexpr std::string_view kAtrybut = "NipIO=\"";
  while (i < l.size() && l[i].find(kAtrybut) == std::string_view::npos) ++i;
  if (i == l.size()) {
    WYMAGANE(w.blad.has_value(), "a file without NipIO gave " + std::to_string(w.rekordy.size()) + " records");
    return 0;
  }
  std::string_view nip = l[i].substr(l[i].find(kAtrybut) + kAtrybut.size());
  nip = nip.substr(0, nip.find('"'));
  // A NIP written with character references is decoded first: only a plain one is judged here.
  if (nip.find('&') == std::string_view::npos && nip != kNip) {
    WYMAGANE(w.blad.has_value(), "another institution's file gave " + std::to_string(w.rekordy.size()) + " records");
    return 0;
  }
  if (w.blad) return 0;

  std::size_t karty = 0;
  for (; i < l.size(); ++i) {
    if (l[i].find("<kartaTr") != std::string_view::npos) ++karty;
    if (l[i].find("</wykazTr") != std::string_view::npos) break;
  }
  WYMAGANE(w.rekordy.size() == karty,
           std::to_string(karty) + " cards gave " + std::to_string(w.rekordy.size()) + " records");
  return 0;
}
