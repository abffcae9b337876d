// Any bytes as np<year>.dat. The load either refuses the file with its one message (a file
// shorter than the table), leaving the table empty and the file as it was, or gives each day's
// counter from its four little-endian bytes (day-major, 12 a day) of the first 1488. The send's
// first number after each counter is a number of the day 1..99, or past 99 (no number left, the
// send's refusal) for a counter of 99 or more, however large a damaged file makes it. Then a send
// raises one day's counter and saves: the file holds 1488 bytes, the first 1488 read with that one
// counter changed, and a new load gives the same table; a change of year saves the old year first.
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/errors.h"
#include "reports/generujpliki.h"
#include "reports/numeracjadzienna.h"
#include "wspolne.h"

using namespace zeltfuzz;
using zelt::NumeracjaDzienna;

namespace {

constexpr std::int32_t kRok = 2025;
constexpr std::size_t kRozmiar = 1488;

std::int32_t naPozycji(std::string_view b, std::size_t i) {
  std::uint32_t v = 0;
  for (std::size_t j = 0; j < 4; ++j) v |= std::uint32_t(static_cast<unsigned char>(b[4 * i + j])) << (8 * j);
  return static_cast<std::int32_t>(v);
}

std::size_t pozycja(int dzien, int miesiac) { return static_cast<std::size_t>((dzien - 1) * 12 + (miesiac - 1)); }

std::string dzienIMiesiac(int d, int m) { return std::to_string(d) + "." + std::to_string(m); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
  static const QString katDan = katalogRoboczy();
  const std::string_view tresc = bajty(dane, rozmiar);
  NumeracjaDzienna n(katDan);
  const QString plik = n.plik(kRok), nastepny = n.plik(kRok + 1);
  QFile::remove(nastepny);
  zapiszPlik(plik, tresc);

  try {
    n.czytajNumeracje(kRok);
  } catch (const platform::IoError& e) {
    WYMAGANE(rozmiar < kRozmiar, "a file of " + std::to_string(rozmiar) + " bytes refused: " + e.what());
    WYMAGANE(std::string(e.what()) == "Błędny plik numeracji dziennej np2025.dat - wysłanie danych niemożliwe",
             std::string("the refusal reads ") + e.what());
    WYMAGANE(n.rokNumeracji == 0 && n.numeracjaDzienna == NumeracjaDzienna::Tabela{}, "a refused file changed the table");
    WYMAGANE(czytajPlik(plik) == tresc, "a refused file was changed");
    return 0;
  }
  WYMAGANE(rozmiar >= kRozmiar, "a file of " + std::to_string(rozmiar) + " bytes was read as a table");
  WYMAGANE(n.rokNumeracji == kRok, "the loaded year is " + std::to_string(n.rokNumeracji));

  for (int d = 1; d <= 31; ++d)
    for (int m = 1; m <= 12; ++m) {
      const std::int32_t stored = naPozycji(tresc, pozycja(d, m));
      WYMAGANE(n.licznik(d, m) == stored, "the counter of " + dzienIMiesiac(d, m) + " reads " +
                                              std::to_string(n.licznik(d, m)) + ", stored " + std::to_string(stored));
      const int numer = zelt::pierwszyNumerDnia(stored);
      const std::int64_t nastepnyNumer = std::max<std::int64_t>(stored, 0) + 1;
      if (nastepnyNumer <= zelt::kMaxNumerDnia)
        WYMAGANE(numer == nastepnyNumer, "after the counter " + std::to_string(stored) + " the send tries " +
                                             std::to_string(numer));
      else
        WYMAGANE(numer > zelt::kMaxNumerDnia, "after the counter " + std::to_string(stored) +
                                                  " (no number left) the send tries " + std::to_string(numer));
    }

  // The send of one day's file, the day picked by the bytes: its counter becomes the number used.
  std::size_t ktory = 0;
  for (char c : tresc) ktory = ktory * 31 + static_cast<unsigned char>(c);
  const int d = static_cast<int>(ktory % 31) + 1, m = static_cast<int>(ktory / 31 % 12) + 1;
  std::string oczekiwane(tresc.substr(0, kRozmiar));
  const int numer = zelt::pierwszyNumerDnia(n.licznik(d, m));
  if (numer <= zelt::kMaxNumerDnia) {
    n.licznik(d, m) = numer;
    for (std::size_t j = 0; j < 4; ++j)
      oczekiwane[4 * pozycja(d, m) + j] = static_cast<char>((static_cast<std::uint32_t>(numer) >> (8 * j)) & 0xFF);
  }
  n.zapiszNumeracje();
  WYMAGANE(czytajPlik(plik) == oczekiwane, "the saved file is not the table read with " + dzienIMiesiac(d, m) +
                                               " raised to " + std::to_string(numer));
  NumeracjaDzienna znowu(katDan);
  znowu.czytajNumeracje(kRok);
  WYMAGANE(znowu.numeracjaDzienna == n.numeracjaDzienna, "the saved table reads back otherwise");

  // The next year: the loaded one saved first, the missing new one all zeros and not created.
  QFile::remove(plik);
  n.czytajNumeracje(kRok + 1);
  WYMAGANE(czytajPlik(plik) == oczekiwane, "the old year's table was not saved before the new year's load");
  WYMAGANE(n.numeracjaDzienna == NumeracjaDzienna::Tabela{} && !istnieje(nastepny), "a missing year is not empty");
  return 0;
}
