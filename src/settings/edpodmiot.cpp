#include "settings/edpodmiot.h"

#include <cstring>
#include <vector>

#include "platform/cp1250.h"
#include "platform/library.h"
#include "register/weryfikacja.h"

namespace zelt {

namespace {

// The type "01 - osoba fizyczna": only a natural person is asked for an identity document.
constexpr std::int32_t kOsobaFizyczna = 1;
// Index 0 of both lists is "00 - inne - w polu uwagi podać szczegóły".
constexpr std::int32_t kInne = 0;

bool kodKraju(const std::string& kod, const Slownik& kraje) { return indeksKodu(kraje, kod, 2) >= 0; }

std::int32_t wLiscie(std::int32_t indeks, int ilosc) { return indeks >= 0 && indeks < ilosc ? indeks : -1; }

#if defined(_WIN32) && defined(__i386__)
using FunkcjaImportu = int(__stdcall*)(void*);
#else
using FunkcjaImportu = int (*)(void*);
#endif

}  // namespace

void czyscPodmiot(TRekordPodmiotu& r) {
  const auto rola = r.rolaPo;
  r = TRekordPodmiotu{};
  r.TypPo = -1;
  r.RodzDokTo = -1;
  r.rolaPo = rola;
}

void weryfPodmiot(const TRekordPodmiotu& r, const Slownik& kraje, ListyWeryfikacji& listy) {
  listy.przygotuj(0);
  const auto blad = [&](const char* nazwa, const char* tekst) {
    listy.dodajblad("", cp1250::fromUtf8(nazwa), 0, cp1250::fromUtf8(tekst));
  };
  const auto ostrze = [&](const char* nazwa, const char* tekst) {
    listy.dodajostrze("", cp1250::fromUtf8(nazwa), 0, cp1250::fromUtf8(tekst));
  };
  const char* const wypelnic = "Pole powinno być wypełnione";
  const char* const bladKraju = "Błędny kod kraju";

  if (r.TypPo < 0) blad("Typ Podmiotu", "Pole musi być wypełnione");
  if (r.TypPo == kInne && r.uwTypPo.empty())
    blad("Typ Podmiotu", "Gdy wybrano inny typ podmiotu należy wpisać szczegóły w polu uwagi 53.");
  if (r.Nz.empty()) ostrze("Nazwisko, imię / nazwa", wypelnic);
  if (!kodKraju(r.Obyw, kraje)) blad("Obywatelstwo", bladKraju);
  if (!kodKraju(r.AdrKr, kraje)) blad("Adres kraj", bladKraju);
  if (r.AdrKod.empty()) ostrze("Adres kod", wypelnic);
  if (r.AdrM.empty()) ostrze("Adres miejscowość", wypelnic);
  if (r.AdrUl.empty()) ostrze("Adres ulica", wypelnic);
  if (!r.NrPes.empty() && !CheckPesel(r.NrPes)) blad("Numer PESEL", "Błędny numer PESEL");
  if (!r.NrReg.empty() && !CheckREGON(r.NrReg)) blad("Numer REGON", "Błędny numer REGON");
  if (!r.Nip.empty() && !CheckNIP(r.Nip)) blad("Numer NIP", "Błędny numer NIP");
  if (r.TypPo == kOsobaFizyczna) {
    if (r.RodzDokTo == kInne && r.uwRodzDokTo.empty())
      blad("Dokument tożsamości", "Gdy wybrano inny należy wpisać szczegóły w polu uwagi 53.");
    if (r.RodzDokTo < 0) ostrze("Dokument tożsamości", "Pole powinno być wypełnione.");
    if (r.NrDokTo.empty()) ostrze("Seria, numer dokumentu tożsamości", "Pole powinno być wypełnione.");
  }
}

TRekordPodmiotu podmiotZImportu(const char* rekord, int typow, int dokumentow) {
  TRekordPodmiotu r = TRekordPodmiotu::decode(rekord);
  r.TypPo = wLiscie(r.TypPo, typow);
  r.RodzDokTo = wLiscie(r.RodzDokTo, dokumentow);
  for (std::string* t : {&r.Nz, &r.Obyw, &r.AdrKr, &r.AdrKod, &r.AdrM, &r.AdrUl, &r.NrPes, &r.NrReg, &r.NrReS,
                         &r.NrSwt, &r.Nip, &r.NrDokTo, &r.uwTypPo, &r.uwRodzDokTo, &r.uwObyw})
    *t = cp1250::bezSterujacych(*t);
  return r;
}

std::optional<TRekordPodmiotu> importujPodmiot(platform::Library& biblioteka, int typow, int dokumentow) {
  if (!biblioteka.load()) return std::nullopt;
  const auto funkcja = reinterpret_cast<FunkcjaImportu>(biblioteka.resolve(kEksportImportu));
  if (!funkcja) {
    biblioteka.unload();
    return std::nullopt;
  }
  std::vector<char> bufor(kBuforImportu, 0);
  TRekordPodmiotu czysty;
  czyscPodmiot(czysty);
  czysty.encode(bufor.data());
  funkcja(bufor.data());  // its result is not used
  TRekordPodmiotu r = podmiotZImportu(bufor.data(), typow, dokumentow);
  biblioteka.unload();
  return r;
}

}  // namespace zelt
