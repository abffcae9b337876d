// Any bytes as klienci.dat. The file is whole records of 1093 bytes and a partial tail that is no
// record: the count is the size / 1093, the pass gives each record once in order, and a live
// record reads as the pass gave it while a deleted one (type 99) reads as none. A record
// re-encoded keeps every byte a reader relies on: the two 32-bit codes, the role byte, each
// text's length (clamped to its room) and its characters; only bytes past a text's end are
// zeroed, and it decodes back to itself. Written back in place it changes no other record nor
// the tail; a delete changes only its four type bytes; an append lands at count x 1093 over the
// tail and leaves the records before it.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "settings/plikpodmiotow.h"
#include "wspolne.h"

using namespace zeltfuzz;
using zelt::PlikPodmiotow;
using zelt::TRekordPodmiotu;

namespace {

constexpr std::size_t kRekord = TRekordPodmiotu::kSize;

// The stored record: the type at 0, the document at 294 and the role at 1092 (32-bit, 32-bit,
// one byte); each text a length byte and its room.
struct Tekst {
  std::size_t od, pojemnosc;
};
constexpr Tekst kTeksty[] = {{4, 140},   {145, 2},   {148, 2},   {151, 10},  {162, 35},
                             {198, 35},  {234, 11},  {246, 9},   {256, 10},  {267, 15},
                             {283, 10},  {298, 25},  {324, 255}, {580, 255}, {836, 255}};
constexpr std::size_t kStale[][2] = {{0, 4}, {294, 4}, {1092, 1}};

std::int32_t typ(std::string_view rekord) {
  std::uint32_t v = 0;
  for (std::size_t j = 0; j < 4; ++j) v |= std::uint32_t(static_cast<unsigned char>(rekord[j])) << (8 * j);
  return static_cast<std::int32_t>(v);
}

std::string nr(std::size_t n) { return "record " + std::to_string(n); }

// What a reader relies on of `zapisany` is kept in `nowy`, and nowy's bytes past a text are zero.
void teSameDlaCzytelnika(std::string_view zapisany, std::string_view nowy, std::size_t n) {
  for (const auto& [od, ile] : kStale)
    WYMAGANE(zapisany.substr(od, ile) == nowy.substr(od, ile), nr(n) + ": the bytes at " + std::to_string(od) + " changed");
  for (const Tekst& t : kTeksty) {
    const std::size_t dlugosc = std::min<std::size_t>(static_cast<unsigned char>(zapisany[t.od]), t.pojemnosc);
    WYMAGANE(static_cast<unsigned char>(nowy[t.od]) == dlugosc, nr(n) + ": the length at " + std::to_string(t.od));
    WYMAGANE(zapisany.substr(t.od + 1, dlugosc) == nowy.substr(t.od + 1, dlugosc),
             nr(n) + ": the text at " + std::to_string(t.od));
    WYMAGANE(nowy.substr(t.od + 1 + dlugosc, t.pojemnosc - dlugosc).find_first_not_of('\0') == std::string_view::npos,
             nr(n) + ": bytes past the text at " + std::to_string(t.od));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
  static const QString sciezka = katalogRoboczy() + QStringLiteral("/klienci.dat");
  const std::string_view tresc = bajty(dane, rozmiar);
  zapiszPlik(sciezka, tresc);
  const PlikPodmiotow plik(sciezka);
  const std::size_t n = rozmiar / kRekord;
  const std::string_view ogon = tresc.substr(n * kRekord);

  WYMAGANE(plik.ilosc() == static_cast<qint64>(n), std::to_string(rozmiar) + " bytes count " +
                                                      std::to_string(plik.ilosc()) + " records");
  std::vector<TRekordPodmiotu> rekordy;
  plik.kazdy([&](qint64 numer, const TRekordPodmiotu& r) {
    WYMAGANE(numer == static_cast<qint64>(rekordy.size()), "the pass gave record " + std::to_string(numer) +
                                                              " after " + std::to_string(rekordy.size()));
    rekordy.push_back(r);
  });
  WYMAGANE(rekordy.size() == n, "the pass gave " + std::to_string(rekordy.size()) + " of " + std::to_string(n));

  std::string oczekiwany;  // the file after each record is written back
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view zapisany = tresc.substr(i * kRekord, kRekord);
    const TRekordPodmiotu::Bytes b = rekordy[i].encode();
    const std::string_view nowy(b.data(), b.size());
    teSameDlaCzytelnika(zapisany, nowy, i);
    WYMAGANE(TRekordPodmiotu::decode(b.data()) == rekordy[i], nr(i) + " re-encoded decodes otherwise");
    const bool zywy = typ(zapisany) != TRekordPodmiotu::kDeleted;
    const auto czytany = plik.czytajZywy(static_cast<qint64>(i));
    WYMAGANE(czytany.has_value() == zywy, nr(i) + (zywy ? ": live, read as none" : ": deleted, read as live"));
    if (czytany) WYMAGANE(*czytany == rekordy[i], nr(i) + " reads otherwise than the pass gave it");
    oczekiwany += zywy ? nowy : zapisany;
  }
  for (const qint64 poza : {qint64(-1), static_cast<qint64>(n), static_cast<qint64>(n) + 1})
    WYMAGANE(!plik.czytajZywy(poza) && !plik.zapisz(poza, TRekordPodmiotu{}) && !plik.usun(poza),
             "record " + std::to_string(poza) + " outside the file was read or written");
  oczekiwany += ogon;
  WYMAGANE(czytajPlik(sciezka) == tresc, "a read or a refused write changed the file");

  for (std::size_t i = 0; i < n; ++i) {
    const bool zywy = typ(tresc.substr(i * kRekord)) != TRekordPodmiotu::kDeleted;
    WYMAGANE(plik.zapisz(static_cast<qint64>(i), rekordy[i]) == zywy, nr(i) + ": the write back's answer");
  }
  WYMAGANE(czytajPlik(sciezka) == oczekiwany, "writing the records back changed other bytes");

  for (std::size_t i = 0; i < n; ++i) {
    const bool zywy = typ(oczekiwany.substr(i * kRekord)) != TRekordPodmiotu::kDeleted;
    WYMAGANE(plik.usun(static_cast<qint64>(i)) == zywy, nr(i) + ": the delete's answer");
    if (zywy) std::memcpy(oczekiwany.data() + i * kRekord, "\x63\0\0\0", 4);
    WYMAGANE(czytajPlik(sciezka) == oczekiwany, "the delete of " + nr(i) + " changed more than its type");
  }

  TRekordPodmiotu nowy = n > 0 ? rekordy.front() : TRekordPodmiotu{};
  nowy.TypPo = 1;
  const auto numer = plik.dopisz(nowy);
  WYMAGANE(numer && *numer == static_cast<qint64>(n), "the append's number");
  const TRekordPodmiotu::Bytes b = nowy.encode();
  oczekiwany.resize(n * kRekord);
  oczekiwany.append(b.data(), b.size());
  WYMAGANE(czytajPlik(sciezka) == oczekiwany, "the append did not land over the tail at count x 1093");
  return 0;
}
