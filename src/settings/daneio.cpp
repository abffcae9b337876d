#include "settings/daneio.h"

#include <algorithm>

#include "platform/registry.h"
#include "settings/hasla.h"

namespace zelt {

const std::array<const char*, kIloscRodzajowIO> kRodzajeIO = {
    "Bank, oddział banku zagranicznego",
    "Dom maklerski lub inny podmiot nie będący bankiem prowadzący działalność maklerską",
    "Krajowy Depozyt Papierów Wartościowych",
    "Podmiot prowadzący działalność w zakresie gier losowych, zakładów wzajemnych i gier na automatach",
    "Zakład ubezpieczeń, główny oddział zagranicznego zakładu ubezpieczeń",
    "Towarzystwo funduszy inwestycyjnych lub fundusz inwestycyjny",
    "Spółdzielcza kasa oszczędnościowo-kredytowa",
    "Poczta Polska",
    "Notariusz",
    "Rezydent prowadzący działalność kantorową",
    "Dom aukcyjny",
    "Antykwariat",
    "Przedsiębiorstwo prowadzące działalność leasingową lub factoringową",
    "Zakłady prowadzące działalność w zakresie obrotu metalami i kamieniami szlachetnymi i półszlachetnymi",
    "Przedsiębiorca prowadzący działalność w zakresie pożyczek pod zastaw (lombard)",
    "Przedsiębiorca prowadzący działalność w zakresie sprzedaży komisowej",
    "Przedsiębiorca pośredniczący w obrocie nieruchomościami",
};

namespace {

constexpr auto HKCU = platform::RegRoot::CurrentUser;

enum class Typ { Tekst, Folder, RoIO, AkIO, Haslo1, Haslo2, Format, JedIO, HasloAdmin };
using Tekst = std::string& (*)(DaneIO&);
using Folder = QString& (*)(DaneIO&);

struct Wartosc {
  const char* nazwa;
  Typ typ;
  Tekst tekst = nullptr;
  Folder folder = nullptr;
};

// The values of the institution key in the order in which they are written.
const Wartosc kWartosci[] = {
    {"nazIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.nazIO; }},
    {"numIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.numIO; }},
    {"NIPIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.NIPIO; }},
    {"RegIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.RegIO; }},
    {"KrIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.KrIO; }},
    {"WoIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.WoIO; }},
    {"PoIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.PoIO; }},
    {"GmIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.GmIO; }},
    {"KodIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.KodIO; }},
    {"MieIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.MieIO; }},
    {"UlIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.UlIO; }},
    {"NrDIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.NrDIO; }},
    {"NrLIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.NrLIO; }},
    {"RoIO", Typ::RoIO},
    {"UwIO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.UwIO; }},
    {"AkIO", Typ::AkIO},
    {"ImOs1IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[0].im; }},
    {"NaOs1IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[0].na; }},
    {"StOs1IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[0].st; }},
    {"OpOs1IO", Typ::Haslo1},
    {"TeOs1IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[0].te; }},
    {"FaOs1IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[0].fa; }},
    {"KoOs1IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[0].ko; }},
    {"EmOs1IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[0].em; }},
    {"ImOs2IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[1].im; }},
    {"NaOs2IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[1].na; }},
    {"StOs2IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[1].st; }},
    {"OpOs2IO", Typ::Haslo2},
    {"TeOs2IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[1].te; }},
    {"FaOs2IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[1].fa; }},
    {"KoOs2IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[1].ko; }},
    {"EmOs2IO", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.os[1].em; }},
    {"KatDan", Typ::Folder, nullptr, [](DaneIO& d) -> QString& { return d.KatDan; }},
    {"KatPod", Typ::Folder, nullptr, [](DaneIO& d) -> QString& { return d.KatPod; }},
    {"KatEks", Typ::Folder, nullptr, [](DaneIO& d) -> QString& { return d.KatEks; }},
    {"Format", Typ::Format},
    {"NazPli", Typ::Tekst, [](DaneIO& d) -> std::string& { return d.NazPli; }},
    {"archdir", Typ::Folder, nullptr, [](DaneIO& d) -> QString& { return d.archdir; }},
    {"ekspdir", Typ::Folder, nullptr, [](DaneIO& d) -> QString& { return d.ekspdir; }},
    {"JedIO", Typ::JedIO},
    {"Opcje", Typ::HasloAdmin},
};

// The values that an older release kept in "Konfig\" for all institutions.
bool zKonfigu(const Wartosc& w) {
  const std::string_view n = w.nazwa;
  return n == "Format" || n == "NazPli" || n == "archdir" || n == "ekspdir";
}

int formatZ(std::int32_t v) { return v == 0 || v == 1 ? v : 0; }
int rodzajZ(std::int32_t v) { return v >= 0 && v < kIloscRodzajowIO ? v : -1; }

// A stored integer into its field, brought into the field's range.
void ustawLiczbe(Typ typ, std::int32_t v, DaneIO& d) {
  switch (typ) {
    case Typ::RoIO: d.RoIO = rodzajZ(v); break;
    case Typ::AkIO: d.AkIO = v != 0; break;
    case Typ::Format: d.Format = formatZ(v); break;
    case Typ::JedIO: d.JedIO = std::clamp<std::int32_t>(v, kMinJedIO, kMaxJedIO); break;
    default: break;
  }
}

std::int32_t liczba(Typ typ, const DaneIO& d) {
  switch (typ) {
    case Typ::RoIO: return rodzajZ(d.RoIO);
    case Typ::AkIO: return d.AkIO ? 1 : 0;
    case Typ::Format: return formatZ(d.Format);
    case Typ::JedIO: return d.JedIO;
    default: return 0;
  }
}

// Reads one value from `klucz` into `d`; false when the key holds no value of that name and type.
bool czytaj(const platform::RegistryStore& reg, const std::string& klucz, const Wartosc& w, DaneIO& d) {
  switch (w.typ) {
    case Typ::Tekst: {
      auto v = reg.readString(HKCU, klucz, w.nazwa);
      if (v) w.tekst(d) = *v;
      return v.has_value();
    }
    case Typ::Folder: {
      auto v = reg.readText(HKCU, klucz, w.nazwa);
      if (v) w.folder(d) = *v;
      return v.has_value();
    }
    case Typ::RoIO:
    case Typ::AkIO:
    case Typ::Format:
    case Typ::JedIO: {
      auto v = reg.readInteger(HKCU, klucz, w.nazwa);
      if (v) ustawLiczbe(w.typ, *v, d);
      return v.has_value();
    }
    case Typ::Haslo1:
    case Typ::Haslo2: {
      auto v = reg.readBinary(HKCU, klucz, w.nazwa);
      OsobaIO& o = d.os[w.typ == Typ::Haslo1 ? 0 : 1];
      if (v) {
        auto r = hasla::odkoduj(w.typ == Typ::Haslo1 ? hasla::Rola::Osoba1 : hasla::Rola::Osoba2, *v);
        o.haslo = r.haslo;
        o.zmiana = r.zmiana;
      }
      return v.has_value();
    }
    case Typ::HasloAdmin: {
      auto v = reg.readBinary(HKCU, klucz, w.nazwa);
      if (v) d.haAdmin = hasla::odkoduj(hasla::Rola::Administrator, *v).haslo;
      return v.has_value();
    }
  }
  return false;
}

void pisz(platform::RegistryStore& reg, const std::string& klucz, const Wartosc& w, DaneIO& d) {
  switch (w.typ) {
    case Typ::Tekst: reg.writeString(HKCU, klucz, w.nazwa, w.tekst(d)); break;
    case Typ::Folder: reg.writeText(HKCU, klucz, w.nazwa, w.folder(d)); break;
    case Typ::RoIO:
    case Typ::AkIO:
    case Typ::Format:
    case Typ::JedIO: reg.writeInteger(HKCU, klucz, w.nazwa, liczba(w.typ, d)); break;
    case Typ::Haslo1: reg.writeBinary(HKCU, klucz, w.nazwa, hasla::zakoduj(hasla::Rola::Osoba1, d.os[0].haslo, d.os[0].zmiana)); break;
    case Typ::Haslo2: reg.writeBinary(HKCU, klucz, w.nazwa, hasla::zakoduj(hasla::Rola::Osoba2, d.os[1].haslo, d.os[1].zmiana)); break;
    case Typ::HasloAdmin: reg.writeBinary(HKCU, klucz, w.nazwa, hasla::zakoduj(hasla::Rola::Administrator, d.haAdmin)); break;
  }
}

}  // namespace

std::string kluczInstytucji(std::string_view aktualneIO) {
  return platform::regPath(platform::RegistryStore::kProgramKey, aktualneIO.empty() ? "IO\\" : aktualneIO);
}

DaneIO wczytajIO(const platform::RegistryStore& reg, std::string_view aktualneIO) {
  DaneIO d;
  const std::string klucz = kluczInstytucji(aktualneIO);
  if (!reg.keyExists(HKCU, klucz)) return d;
  const std::string konfig = platform::regPath(platform::RegistryStore::kProgramKey, "Konfig\\");
  for (const auto& w : kWartosci)
    if (!czytaj(reg, klucz, w, d) && zKonfigu(w)) czytaj(reg, konfig, w, d);
  // The administrator's password as its edit holds it, ten characters. One that no keyboard can
  // type would lock the administrator out for good: it reads as none, and the sign-in then has the
  // administrator choose a new one.
  if (d.haAdmin.size() > hasla::kMaxDlugosc) d.haAdmin.resize(hasla::kMaxDlugosc);
  if (!hasla::dozwolone(d.haAdmin)) d.haAdmin.clear();
  return d;
}

int zapiszIO(platform::RegistryStore& reg, std::string_view aktualneIO, const DaneIO& dane) {
  const std::string klucz = kluczInstytucji(aktualneIO);
  DaneIO d = dane;
  int staryJedIO = 0;
  platform::RegistryBatch batch(reg);
  reg.createKey(HKCU, klucz);
  for (const auto& w : kWartosci) {
    if (w.typ == Typ::JedIO) staryJedIO = reg.readInteger(HKCU, klucz, w.nazwa).value_or(0);
    pisz(reg, klucz, w, d);
  }
  batch.commit();
  return staryJedIO;
}

void zapiszKluczProgramu(platform::RegistryStore& reg, std::string_view wersja, int IloscIO, int AktualIO) {
  const std::string klucz(platform::RegistryStore::kProgramKey);
  platform::RegistryBatch batch(reg);
  reg.writeString(HKCU, klucz, "Wersja", wersja);
  reg.writeInteger(HKCU, klucz, "IloscIO", IloscIO);
  reg.writeInteger(HKCU, klucz, "AktualIO", AktualIO);
  batch.commit();
}

bool zapisZeZnakiem(std::uint8_t stanHasel, int osoba) {
  const std::uint8_t bity = osoba == 0 ? (hasla::stan::kWpisane1 | hasla::stan::kZmiana1)
                                       : (hasla::stan::kWpisane2 | hasla::stan::kZmiana2);
  return (stanHasel & bity) != 0;
}

}  // namespace zelt
