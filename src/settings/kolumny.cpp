#include "settings/kolumny.h"

#include <algorithm>
#include <cstdio>

#include "platform/cp1250.h"
#include "platform/packed.h"
#include "platform/registry.h"

namespace zelt {

namespace {

// Offsets of the 71-byte record.
constexpr std::size_t oKod = 0, oNazwa = 11, oNrPola = 62, oGrupa = 63, oPozWyg = 64, oSzerWyg = 65, oPozWyd = 67,
                      oSzerWyd = 68, oRodzaj = 70;

struct Domyslna {
  const char* kod;
  const char* nazwa;  // UTF-8 here, Windows-1250 in the definition
  int nrPola, grupa, pozWyg, szerWyg, pozWyd, szerWyd, rodzaj;
};

// clang-format off
constexpr Domyslna kDomyslne[kIloscKolumn] = {
    {"Lp", "Lp", 0, 0, 1, 30, 1, 15, 3},
    {"Info", "Info", 0, 0, 2, 30, 0, 0, 1},
    {"nrEwT", "Nr. ewidencyjny", 1, 1, 3, 60, 0, 30, 0},
    {"nrRejDat", "Numer rejestracji transakcji", 2, 1, 0, 60, 3, 30, 0},
    {"rejDat", "Data rejestracji transakcji", 3, 1, 0, 60, 4, 30, 0},
    {"jedIO", "Numer Jednostki organizacyjnej IO", 4, 1, 4, 60, 0, 30, 0},
    {"Status", "Status rekordu transakcji", 5, 1, 5, 60, 0, 30, 0},
    {"kRodzTr", "Kod rodzaju transakcji", 6, 2, 6, 60, 5, 30, 0},
    {"kPwz", "Kod powiązania transakcji", 7, 2, 0, 60, 0, 30, 0},
    {"kPdjrz", "Kod transakcji podejrzanej", 8, 2, 0, 60, 0, 30, 0},
    {"spDysp", "Sposób wydania dyspozycji", 9, 2, 0, 60, 0, 30, 0},
    {"nrDokT", "Numer dokumentu transakcji", 10, 2, 7, 60, 6, 30, 0},
    {"tDat", "Data realizacji transakcji", 11, 2, 8, 60, 7, 30, 0},
    {"tM", "Miejsce realizacji transakcji", 12, 2, 0, 60, 0, 30, 0},
    {"tKw", "Kwota transakcji", 13, 2, 9, 60, 8, 30, 0},
    {"tJ", "Jednostka transakcji", 14, 2, 10, 60, 9, 30, 0},
    {"tKwZ", "Kwota transakcji po zamianie (konwersji)", 15, 2, 11, 60, 10, 30, 0},
    {"tJZ", "Jednostka transakcji po zamianie (konwersji)", 16, 2, 12, 60, 11, 30, 0},
    {"zTypPo", "Typ podmiotu", 17, 3, 0, 60, 0, 30, 0},
    {"zNz", "Nazwisko, imię/nazwa", 18, 3, 13, 60, 12, 30, 0},
    {"zObyw", "Obywatelstwo", 19, 3, 0, 60, 0, 30, 0},
    {"zAdrKr", "Adres: kraj", 20, 3, 0, 60, 0, 30, 0},
    {"zAdrKod", "Adres: kod pocztowy", 21, 3, 0, 60, 0, 30, 0},
    {"zAdrM", "Adres: miejscowość", 22, 3, 14, 60, 13, 30, 0},
    {"zAdrUl", "Adres: ulica", 23, 3, 15, 60, 14, 30, 0},
    {"zNrPes", "Numer PESEL", 24, 3, 0, 60, 0, 30, 0},
    {"zNrReg", "Numer REGON", 25, 3, 0, 60, 0, 30, 0},
    {"zNrReS", "Numer rejestru sądowego", 26, 3, 0, 60, 0, 30, 0},
    {"zNrSwt", "Numer SWIFT", 27, 3, 0, 60, 0, 30, 0},
    {"zNip", "Numer Identyfikacji Podatkowej", 28, 3, 0, 60, 0, 30, 0},
    {"zRodzDokTo", "Dokument tożsamości", 29, 3, 0, 60, 0, 30, 0},
    {"zNrDokTo", "Seria, numer dokumentu tożsamości", 30, 3, 0, 60, 0, 30, 0},
    {"pTypPo", "Typ podmiotu", 31, 4, 0, 60, 0, 30, 0},
    {"pNz", "Nazwisko, imię/nazwa", 32, 4, 0, 60, 0, 30, 0},
    {"pAdrKr", "Adres: kraj", 33, 4, 0, 60, 0, 30, 0},
    {"pAdrKod", "Adres: kod pocztowy", 34, 4, 0, 60, 0, 30, 0},
    {"pAdrM", "Adres: miejscowość", 35, 4, 0, 60, 0, 30, 0},
    {"pAdrUl", "Adres: ulica", 36, 4, 0, 60, 0, 30, 0},
    {"bTypPo", "Typ podmiotu", 37, 5, 0, 60, 0, 30, 0},
    {"bNz", "Nazwisko, imię/nazwa", 38, 5, 0, 60, 0, 30, 0},
    {"bAdrKr", "Adres: kraj", 39, 5, 0, 60, 0, 30, 0},
    {"bAdrKod", "Adres: kod pocztowy", 40, 5, 0, 60, 0, 30, 0},
    {"bAdrM", "Adres: miejscowość", 41, 5, 0, 60, 0, 30, 0},
    {"bAdrUl", "Adres: ulica", 42, 5, 0, 60, 0, 30, 0},
    {"nrRachZ", "Numer rachunku źródłowego", 43, 6, 0, 60, 0, 30, 0},
    {"nrRachNa", "Numer rachunku docelowego", 44, 6, 0, 60, 0, 30, 0},
    {"Uwagi", "Uwagi", 45, 7, 0, 60, 0, 30, 0},
    {"Wprow", "Osoba wprowadzająca dane", 0, 0, 16, 60, 0, 30, 0}
};
// clang-format on

}  // namespace

TDefinicjaKolumny TDefinicjaKolumny::decode(const char* b) {
  TDefinicjaKolumny d;
  d.kod = packed::getStr(b, oKod, kPojemnoscKodu);
  d.nazwa = packed::getStr(b, oNazwa, kPojemnoscNazwy);
  d.nrPola = packed::getU8(b, oNrPola);
  d.grupa = packed::getU8(b, oGrupa);
  d.pozWyg = packed::getU8(b, oPozWyg);
  d.szerWyg = packed::getU16(b, oSzerWyg);
  d.pozWyd = packed::getU8(b, oPozWyd);
  d.szerWyd = packed::getU16(b, oSzerWyd);
  d.rodzaj = packed::getU8(b, oRodzaj);
  return d;
}

std::optional<TDefinicjaKolumny> TDefinicjaKolumny::zPamieci(std::string_view bytes) {
  if (bytes.size() != kSize) return std::nullopt;
  if (static_cast<unsigned char>(bytes[oKod]) > kPojemnoscKodu) return std::nullopt;
  if (static_cast<unsigned char>(bytes[oNazwa]) > kPojemnoscNazwy) return std::nullopt;
  TDefinicjaKolumny d = decode(bytes.data());
  // The section indexes the titles; an unknown one shows no title.
  if (d.grupa > 7) d.grupa = 0;
  return d;
}

void TDefinicjaKolumny::encode(char* b) const {
  packed::putStr(b, oKod, kPojemnoscKodu, kod);
  packed::putStr(b, oNazwa, kPojemnoscNazwy, nazwa);
  packed::putU8(b, oNrPola, nrPola);
  packed::putU8(b, oGrupa, grupa);
  packed::putU8(b, oPozWyg, pozWyg);
  packed::putU16(b, oSzerWyg, szerWyg);
  packed::putU8(b, oPozWyd, pozWyd);
  packed::putU16(b, oSzerWyd, szerWyd);
  packed::putU8(b, oRodzaj, rodzaj);
}

TDefinicjaKolumny::Bytes TDefinicjaKolumny::encode() const {
  Bytes b{};
  encode(b.data());
  return b;
}

TDefinicjaKolumny DomyslnePole(int i) {
  const Domyslna& r = kDomyslne[i - 1];
  TDefinicjaKolumny d;
  d.kod = r.kod;
  d.nazwa = cp1250::fromUtf8(r.nazwa);
  d.nrPola = static_cast<std::uint8_t>(r.nrPola);
  d.grupa = static_cast<std::uint8_t>(r.grupa);
  d.pozWyg = static_cast<std::uint8_t>(r.pozWyg);
  d.szerWyg = static_cast<std::uint16_t>(r.szerWyg);
  d.pozWyd = static_cast<std::uint8_t>(r.pozWyd);
  d.szerWyd = static_cast<std::uint16_t>(r.szerWyd);
  d.rodzaj = static_cast<std::uint8_t>(r.rodzaj);
  return d;
}

const std::array<std::string, 8>& grupyPol() {
  static const std::array<std::string, 8> g = {
      std::string(),
      cp1250::fromUtf8("I. IDENTYFIKACJA"),
      cp1250::fromUtf8("II. TRANSAKCJA"),
      cp1250::fromUtf8("III. PODMIOT, KTÓRY WYDAJE DYSPOZYCJĘ"),
      cp1250::fromUtf8("IV. PODMIOT W IMIENIU KTÓREGO, WYDAWANA JEST DYSPOZYCJA"),
      cp1250::fromUtf8("V. BENEFICJENT"),
      cp1250::fromUtf8("VI. RACHUNKI UCZESTNICZĄCE W TRANSAKCJI"),
      cp1250::fromUtf8("VII. UWAGI"),
  };
  return g;
}

const std::string& tytulGrupy(int sekcja) {
  const auto& g = grupyPol();
  return sekcja >= 0 && sekcja < static_cast<int>(g.size()) ? g[static_cast<std::size_t>(sekcja)] : g[0];
}

TDefinicjaKolumny DefinicjeKolumn::domyslna(int i) {
  TDefinicjaKolumny d = DomyslnePole(i);
  d.szerWyg = kodujSzerokosc(d.szerWyg, false);
  d.szerWyd = kodujSzerokosc(d.szerWyd, false);
  return d;
}

DefinicjeKolumn::DefinicjeKolumn() {
  for (int i = 1; i <= kIloscKolumn; ++i) (*this)[i] = domyslna(i);
}

int DefinicjeKolumn::numer(std::string_view kod) const {
  for (int i = 1; i <= kIloscKolumn; ++i)
    if ((*this)[i].kod == kod) return i;
  return 0;
}

const TDefinicjaKolumny* DefinicjeKolumn::poKodzie(std::string_view kod) const {
  const int i = numer(kod);
  return i ? &(*this)[i] : nullptr;
}

std::vector<int> DefinicjeKolumn::wKolejnosci(Strona s) const {
  std::vector<int> v;
  for (int i = 1; i <= kIloscKolumn; ++i)
    if ((*this)[i].pozycja(s) > 0) v.push_back(i);
  std::stable_sort(v.begin(), v.end(), [&](int a, int b) { return (*this)[a].pozycja(s) < (*this)[b].pozycja(s); });
  return v;
}

void DefinicjeKolumn::normalizuj() {
  for (Strona s : {Strona::Wyglad, Strona::Wydruk}) {
    std::vector<int> v = wKolejnosci(s);
    if (s == Strona::Wyglad) {
      v.erase(std::remove(v.begin(), v.end(), kSlotLp), v.end());
      v.insert(v.begin(), kSlotLp);
    }
    for (std::size_t k = 0; k < v.size(); ++k) (*this)[v[k]].pozycja(s) = static_cast<std::uint8_t>(k + 1);
  }
}

int IndeksPola(const DefinicjeKolumn& defs, std::string_view tekst) {
  const std::size_t blank = tekst.find(' ');
  const std::string_view kod = blank == std::string_view::npos ? std::string_view() : tekst.substr(0, blank);
  for (int i = 1; i < kIloscKolumn; ++i)
    if (defs[i].kod == kod) return i;
  return kIloscKolumn;
}

std::string tekstPozycji(const TDefinicjaKolumny& d) { return d.kod + " - " + d.nazwa; }

std::string nazwaWartosci(int i) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "Pole%02d", i);
  return buf;
}

DefinicjeKolumn wczytajDefinicje(const platform::RegistryStore& reg) {
  DefinicjeKolumn defs;
  const bool klucz = reg.keyExists(platform::RegRoot::CurrentUser, kKluczKonfig);
  for (int i = 1; klucz && i <= kIloscKolumn; ++i) {
    const auto bytes = reg.readBinary(platform::RegRoot::CurrentUser, kKluczKonfig, nazwaWartosci(i));
    if (!bytes) continue;
    auto d = TDefinicjaKolumny::zPamieci(*bytes);
    // Another definition's code in this slot would give two list columns one name.
    if (d && d->kod == defs[i].kod) defs[i] = *d;
  }
  defs.normalizuj();
  return defs;
}

void zapiszDefinicje(platform::RegistryStore& reg, const DefinicjeKolumn& defs) {
  platform::RegistryBatch batch(reg);
  for (int i = 1; i <= kIloscKolumn; ++i) {
    const auto b = defs[i].encode();
    reg.writeBinary(platform::RegRoot::CurrentUser, kKluczKonfig, nazwaWartosci(i), std::string_view(b.data(), b.size()));
  }
  batch.commit();
}

}  // namespace zelt
