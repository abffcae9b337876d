#include "register/weryfikacjakarty.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/packed.h"
#include "register/karta.h"
#include "register/listykarty.h"
#include "register/numeracja.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/weryfikacja.h"
#include "register/zapiskarty.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/podpowform.h"

namespace zelt {

namespace {

// Windows-1250 texts of the findings, written as UTF-8 here.
std::string t(const char* utf8) { return cp1250::fromUtf8(utf8); }

constexpr std::size_t kNumer = 25, kJednostka = 8, kPoleMax = 143;

bool dwieCyfry(std::string_view s, int& v) {
  if (s.size() != 2 || s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9') return false;
  v = (s[0] - '0') * 10 + (s[1] - '0');
  return true;
}

std::string bezWiodacychSpacji(std::string_view s) {
  const auto p = s.find_first_not_of(' ');
  return p == std::string_view::npos ? std::string() : std::string(s.substr(p));
}

std::string przytnij(const std::string& s, std::size_t n) { return s.size() > n ? s.substr(0, n) : s; }

std::size_t pojemnosc(const char* pole) { return poleTekstowe(pole)->capacity; }

}  // namespace

bool kwotaPoprawna(const std::string& s) {
  bool cyfra = false, separator = false, dodatnia = false;
  for (char c : s) {
    if (c >= '0' && c <= '9') {
      cyfra = true;
      dodatnia |= c != '0';
    } else if ((c == ',' || c == '.') && !separator) {
      separator = true;
    } else {
      return false;
    }
  }
  return cyfra && dodatnia;
}

namespace {

bool poPrzecinku(const std::string& s) {
  const auto p = s.find_first_of(",.");
  return p != std::string::npos && s.size() - p - 1 > 2;
}

class Sprawdzenie {
 public:
  Sprawdzenie(Karta& k, bool nowa, const RekordyKarty& rk, ListyWeryfikacji& l, const SlownikiKarty& s)
      : k_(k), nowa_(nowa), rk_(rk), l_(l), s_(s) {}

  WynikWeryfikacji uruchom(const QString& transakDat);

 private:
  void blad(const std::string& pole, const char* nazwa, int nr, const char* tekst) {
    l_.dodajblad(pole, t(nazwa), static_cast<std::uint8_t>(nr), t(tekst));
  }
  void ostrz(const std::string& pole, const char* nazwa, int nr, const char* tekst) {
    l_.dodajostrze(pole, t(nazwa), static_cast<std::uint8_t>(nr), t(tekst));
  }
  void rejestr(const QString& transakDat, const std::string& numer, bool sprawdzNumer);
  void rodzaj();
  void kwota(const std::string& tekst, const char* pole, const char* nazwa);
  void waluta(const std::string& tekst, const char* pole, const char* nazwa);
  bool kraj(const std::string& kod) const { return indeksKodu(s_.kraje, kod, 2) >= 0; }
  void usunBezNazwy(const OpisRoli& rola, int poleUsuniecia);
  void podmioty(const ListaPodmiotow& l, int pierwszePole, bool dysponenci);
  void uwagi(int rekordow);
  void utraty();

  Karta& k_;
  bool nowa_;
  const RekordyKarty& rk_;
  ListyWeryfikacji& l_;
  const SlownikiKarty& s_;
  WynikWeryfikacji w_;
  // The edited card's records as the register holds them, gathered in the pass over it.
  std::vector<std::optional<TRekordTransakcji>> zapisane_;
};

void Sprawdzenie::rejestr(const QString& transakDat, const std::string& numer, bool sprawdzNumer) {
  PlikRejestru plik(transakDat);
  if (!plik.otworzDoOdczytu()) return;
  if (!nowa_) zapisane_.assign(static_cast<std::size_t>(std::clamp(rk_.k, 0, kMaxRekordowKarty)), std::nullopt);
  auto wlasnyNr = [&](qint64 r) {
    for (int i = 1; i <= rk_.k; ++i)
      if (rk_.r[static_cast<std::size_t>(i)].nrRekordu == r) return i;
    return 0;
  };
  static const PoleRekordu& nrEw = *poleTekstowe("nrEwT");
  static const PoleRekordu& nrRej = *poleTekstowe("nrRejDat");
  static const PoleRekordu& rodz = *poleTekstowe("kRodzTr");
  auto zywy = [](const char* b) {
    return packed::getI32(b, TRekordTransakcji::kOffsetStatus) != TRekordTransakcji::kDeleted;
  };
  // The card's own records, the day's records and the records with the card's number: what the
  // register's index names of them is read and judged record by record.
  std::vector<qint64> wlasne;
  for (int i = 1; !nowa_ && i <= std::clamp(rk_.k, 0, kMaxRekordowKarty); ++i)
    if (rk_.r[static_cast<std::size_t>(i)].nrRekordu >= 0) wlasne.push_back(rk_.r[static_cast<std::size_t>(i)].nrRekordu);
  std::sort(wlasne.begin(), wlasne.end());
  wlasne.erase(std::unique(wlasne.begin(), wlasne.end()), wlasne.end());
  while (!wlasne.empty() && wlasne.back() >= plik.ilosc()) wlasne.pop_back();
  std::vector<int> scalone;  // the edited card's own later records that carry a transaction
  plik.czytajKazdy(wlasne, [&](qint64 r, const char* b) {
    const int i = wlasnyNr(r);
    if (!zywy(b) || i <= 0) return;
    zapisane_[static_cast<std::size_t>(i - 1)] = TRekordTransakcji::decode(b);
    if (sprawdzNumer && i >= 2) {
      const std::string kod = packed::getStr(b, rodz.offset, rodz.capacity);
      if (!kod.empty() && kod != "    ") scalone.push_back(i);
    }
  });
  std::sort(scalone.begin(), scalone.end());
  auto obcy = [&](qint64 r, const char* b) { return zywy(b) && (nowa_ || wlasnyNr(r) == 0); };
  const double dzien = std::floor(k_.rejDat);
  plik.kazdyZDnia(k_.rejDat, [&](qint64 r, const char* b) {
    if (obcy(r, b) && std::floor(packed::getF64(b, TRekordTransakcji::kOffsetRejDat)) == dzien)
      w_.numeryDnia.push_back(packed::getStr(b, nrRej.offset, nrRej.capacity));
  });
  int obcych = 0;
  if (sprawdzNumer)
    plik.kazdyZNumerem(numer, [&](qint64 r, const char* b) {
      if (obcy(r, b) && packed::getStr(b, nrEw.offset, nrEw.capacity) == numer) ++obcych;
    });
  // Another card with the number, and another card merged into this one by the load: a save
  // would leave two cards under one number, and the next load would join them.
  for (int j = 0; j < obcych; ++j)
    blad("01", "Numer ewidencyjny transakcji", 1, "Transakcja o takim numerze już jest w rejestrze");
  for (std::size_t j = 0; j < scalone.size(); ++j)
    blad("01", "Numer ewidencyjny transakcji", 1, "Transakcja o takim numerze już jest w rejestrze");
  if (obcych > 0 || !scalone.empty()) w_.blokuje = true;
}

void Sprawdzenie::rodzaj() {
  const std::string& kod = k_.kRodzTr;
  const char* nazwa = "Kod rodzaju transakcji";
  if (kod.size() >= 4 && kod.substr(2, 2) == "00" && k_.uwkRodzTr.empty())
    blad("06", nazwa, 1, "Gdy wybrano inny tytuł transakcji należy wpisać szczegóły w polu uwagi 53.");
  int v = 0;
  const std::string_view sv(kod);
  if (!dwieCyfry(sv.substr(0, std::min<std::size_t>(2, sv.size())), v) || v < 1 || v > s_.kategorii)
    blad("06", nazwa, 1, "Błędny kod kategorii transakcji");
  if (sv.size() < 2 || !dwieCyfry(sv.substr(2, 2), v) || v < 0 || v >= s_.tytulow)
    blad("06", nazwa, 1, "Błędny kod tytułu transakcji");
}

void Sprawdzenie::kwota(const std::string& tekst, const char* pole, const char* nazwa) {
  if (!kwotaPoprawna(tekst)) blad(pole, nazwa, 1, "Błędna kwota");
  if (poPrzecinku(tekst)) blad(pole, nazwa, 1, "Kwota może być wprowadzona z dokładnością max. 2 miejsc po przecinku.");
}

void Sprawdzenie::waluta(const std::string& tekst, const char* pole, const char* nazwa) {
  if (indeksKodu(s_.waluty, tekst, 3) < 0) blad(pole, nazwa, 1, "Błędna jednostka transakcji");
}

void Sprawdzenie::usunBezNazwy(const OpisRoli& rola, int poleUsuniecia) {
  // The party lists' own removal: entry 1 shown after it, an emptied list shows the defaults. A
  // list with no entries keeps its page as typed.
  if ((k_.*(rola.lista)).wpisy.empty()) return;
  const std::string pole = std::to_string(poleUsuniecia) + "-";
  for (int nr : usunBezNazw(rola, k_.*(rola.lista), k_.*(rola.strona), s_.domyslne))
    ostrz(pole, "Nazwisko, imię / nazwa", nr, "Usunięto pusty wpis");
}

void Sprawdzenie::podmioty(const ListaPodmiotow& l, int f, bool dysponenci) {
  static const char* const kWypelnij = "Pole powinno być wypełnione";
  static const char* const kKraj = "Błędny kod kraju";
  for (std::size_t i = 0; i < l.wpisy.size(); ++i) {
    const TRekordPodmiotu& w = l.wpisy[i];
    const int nr = static_cast<int>(i) + 1;
    auto pole = [&](int numer) {
      const std::string p = std::to_string(numer) + "-";
      return p + w.Nz.substr(0, kPoleMax > p.size() ? kPoleMax - p.size() : 0);
    };
    if (w.TypPo < 0) blad(pole(f), "Typ Podmiotu", nr, "Pole musi być wypełnione");
    if (w.TypPo == 0 && w.uwTypPo.empty())
      blad(pole(f), "Typ Podmiotu", nr, "Gdy wybrano inny typ podmiotu należy wpisać szczegóły w polu uwagi 53.");
    if (w.Nz.empty()) ostrz(pole(f + 1), "Nazwisko, imię / nazwa", nr, kWypelnij);
    int a = f + 2;  // the address fields
    if (dysponenci) {
      if (!kraj(w.Obyw)) blad(pole(19), "Obywatelstwo", nr, kKraj);
      a = 20;
    }
    if (!kraj(w.AdrKr)) blad(pole(a), "Adres kraj", nr, kKraj);
    if (w.AdrKod.empty()) ostrz(pole(a + 1), "Adres kod", nr, kWypelnij);
    if (w.AdrM.empty()) ostrz(pole(a + 2), "Adres miejscowość", nr, kWypelnij);
    if (w.AdrUl.empty()) ostrz(pole(a + 3), "Adres ulica", nr, kWypelnij);
    if (!dysponenci) continue;
    if (!w.NrPes.empty() && !CheckPesel(w.NrPes)) blad(pole(24), "Numer PESEL", nr, "Błędny numer PESEL");
    if (!w.NrReg.empty() && !CheckREGON(w.NrReg)) blad(pole(25), "Numer REGON", nr, "Błędny numer REGON");
    if (!w.Nip.empty() && !CheckNIP(w.Nip)) blad(pole(28), "Numer NIP", nr, "Błędny numer NIP");
    if (w.TypPo != 1) continue;
    if (w.RodzDokTo == 0 && w.uwRodzDokTo.empty())
      blad(pole(29), "Dokument tożsamości", nr, "Gdy wybrano inny należy wpisać szczegóły w polu uwagi 53.");
    if (w.RodzDokTo == -1) ostrz(pole(29), "Dokument tożsamości", nr, "Pole powinno być wypełnione.");
    if (w.NrDokTo.empty()) ostrz(pole(30), "Seria, numer dokumentu tożsamości", nr, "Pole powinno być wypełnione.");
  }
}

// What record i stores of the remarks, each as cut to its place in the record.
void Sprawdzenie::uwagi(int rekordow) {
  static const std::size_t a = pojemnosc("uwkRodzTr"), b = pojemnosc("uwkPwz"), c = pojemnosc("uwkPdjrz"),
                           d = pojemnosc("uwspDysp"), e = pojemnosc("uwzTypPo"), f = pojemnosc("uwzObyw"),
                           g = pojemnosc("uwzRodzDokTo"), h = pojemnosc("uwpTypPo"), i9 = pojemnosc("uwbTypPo"),
                           inne = pojemnosc("uwInne");
  auto dl = [](const std::string& s, std::size_t n) { return std::min(s.size(), n); };
  for (int i = 1; i <= rekordow; ++i) {
    std::size_t suma = dl(k_.uwInne, inne);
    if (i == 1) {
      if (k_.uwkRodzTrWidoczna) suma += dl(k_.uwkRodzTr, a);
      if (k_.uwkPwzWidoczna) suma += dl(k_.uwkPwz, b);
      if (k_.uwkPdjrzWidoczna) suma += dl(k_.uwkPdjrz, c);
      if (k_.uwspDyspWidoczna) suma += dl(k_.uwspDysp, d);
    }
    const auto idx = static_cast<std::size_t>(i - 1);
    if (idx < k_.listaDysponentow.wpisy.size()) {
      const TRekordPodmiotu& z = k_.listaDysponentow.wpisy[idx];
      if (z.TypPo == 0) suma += dl(z.uwTypPo, e);
      suma += dl(z.uwObyw, f);
      if (z.RodzDokTo == 0) suma += dl(z.uwRodzDokTo, g);
    }
    if (idx < k_.listaWImieniu.wpisy.size() && k_.listaWImieniu.wpisy[idx].TypPo == 0)
      suma += dl(k_.listaWImieniu.wpisy[idx].uwTypPo, h);
    if (idx < k_.listaBeneficjentow.wpisy.size() && k_.listaBeneficjentow.wpisy[idx].TypPo == 0)
      suma += dl(k_.listaBeneficjentow.wpisy[idx].uwTypPo, i9);
    if (suma > 1499) blad("45", "Uwagi", i, "Prekroczona łączna długość uwag");
  }
}

// Stored data that the save would erase where the user cannot see it go, record by record, after
// every other finding: the user may still go back to the card.
void Sprawdzenie::utraty() {
  std::vector<TRekordTransakcji> zapisane;
  for (const auto& z : zapisane_) {
    if (!z) return;  // a record of the card no longer in the register: the save reports it
    zapisane.push_back(*z);
  }
  if (zapisane.empty()) return;
  const auto utraty = utratyZapisu(k_, rk_, l_.liczniki(), zapisane, s_.domyslne);
  for (std::size_t j = 0; j < utraty.size(); ++j) {
    const int nr = static_cast<int>(j) + 1;
    if (utraty[j] == Utrata::Dane)
      ostrz("01", "Numer ewidencyjny transakcji", nr, "Zapis usunie dane rekordu, których karta nie pokazuje");
    else if (utraty[j] == Utrata::Rekord)
      ostrz("01", "Numer ewidencyjny transakcji", nr, "Zapis usunie rekord");
  }
}

WynikWeryfikacji Sprawdzenie::uruchom(const QString& transakDat) {
  auto rekordow = [&] {
    return std::max<int>({1, static_cast<int>(k_.listaDysponentow.wpisy.size()),
                          static_cast<int>(k_.listaWImieniu.wpisy.size()),
                          static_cast<int>(k_.listaBeneficjentow.wpisy.size())});
  };
  // An edited card's stored records beyond its entries are counted too: the save may delete them.
  l_.przygotuj(std::max(rekordow(), nowa_ ? 0 : rk_.k));

  // The unit as the save stores it, zeros in front; a new card's suffix takes its first 8.
  const std::string jednostka = jednostkaKarty(k_.jedIO);
  const bool krotkaJednostka = k_.jedIO.size() < kJednostka;
  const std::string przyrostek =
      nowa_ ? przyrostekNumeru(s_.numeracja, k_.jedIO, platform::daysToDate(k_.tDat).value_or(QDate())) : std::string();

  // Field 01: an empty number would join every such card into one at the next load.
  const char* nazwaNumeru = "Numer ewidencyjny transakcji";
  const bool bezNumeru = k_.nrEwT.empty();
  if (bezNumeru) {
    blad("01", nazwaNumeru, 1, "Pole musi być wypełnione");
    w_.blokuje = true;
  } else if (k_.nrEwT.size() + przyrostek.size() > kNumer) {
    ostrz("01", nazwaNumeru, 1, "Numer z dodanymi częściami ma ponad 25 cyfr, zostanie obcięty do 25.");
  } else if (k_.nrEwT.size() + przyrostek.size() < kNumer) {
    ostrz("01", nazwaNumeru, 1, "Pole powinno zawierać 25 cyfr uzupełniono zerami od przodu.");
    k_.nrEwT.insert(0, kNumer - k_.nrEwT.size() - przyrostek.size(), '0');
  }
  // The field's own check runs only when the field is left: a shortcut saves from inside it, and an
  // edited card comes with its number as stored.
  if (!numerEwidencyjnyPoprawny(k_.nrEwT))
    blad("01", nazwaNumeru, 1, "Numer ewidencyjny może zawierać tylko cyfry 0..9");
  rejestr(transakDat, przytnij(k_.nrEwT + przyrostek, kNumer), !bezNumeru);

  // An edited card's records keep their registration numbers (sent reports carry them), even
  // where the card was moved to a day on which another record holds one.
  if (!nowa_) {
    for (int i = 1; i <= rk_.k && i <= rekordow(); ++i) {
      const std::string& wlasny = rk_.r[static_cast<std::size_t>(i)].nrRejDat;
      const auto n = numerRejestracji(wlasny);
      const bool zajety = std::any_of(w_.numeryDnia.begin(), w_.numeryDnia.end(), [&](const std::string& inny) {
        const auto m = numerRejestracji(inny);
        return n && m ? *n == *m : inny == wlasny;
      });
      if (zajety)
        ostrz("02", "Numer rejestracji transakcji", i, "Taki numer rejestracji już jest w rejestrze w tym dniu");
    }
  }

  if (krotkaJednostka) {
    ostrz("04", "Numer jednostki organizacyjnej", 1, "Pole powinno zawierać 8 cyfr uzupełniono zerami od przodu.");
    k_.jedIO = jednostka;
  }

  rodzaj();
  if (k_.kPwz == 1 && k_.uwkPwz.empty())
    blad("07", "Kod powiązania transakcji", 1, "Gdy wybrano transakcję powiązaną należy wpisać szczegóły w polu uwagi 53.");
  // The save stores the code, the first four characters of the list's text.
  const std::string podejrzany = bezWiodacychSpacji(przytnij(k_.kPdjrz, 4));
  if (!podejrzany.empty()) {
    const char* nazwa = "Kod transakcji podejrzanej";
    if (k_.uwkPdjrz.empty())
      blad("08", nazwa, 1, "Gdy wprowadzono kod transakcji podejrzanej należy wpisać szczegóły w polu uwagi 53.");
    const bool znany = std::any_of(s_.podejrzane.begin(), s_.podejrzane.end(), [&](const std::string& p) {
      return bezWiodacychSpacji(przytnij(p, 4)) == podejrzany;
    });
    if (!znany) ostrz("08", nazwa, 1, "Nieznany kod transakcji podejrzanej");
  }
  if (k_.spDysp == 0 && k_.uwspDysp.empty())
    blad("09", "Sposób wydania dyspozycji", 1,
         "Gdy wybrano inny sposób wydania dyspozycji należy wpisać szczegóły w polu uwagi 53.");
  if (k_.nrDokT.empty()) ostrz("10", "Numer dokumentu transakcji", 1, "Brak numeru transakcji");
  if (k_.tM.empty()) ostrz("12", "Miejsce realizacji transakcji", 1, "Pole powinno być wypełnione");
  kwota(k_.tKw, "13", "Kwota transakcji");
  waluta(k_.tJ, "14", "Jednostka transakcji");
  if (k_.kRodzTr.substr(0, 2) == "06") {
    kwota(k_.tKwZ, "15", "Kwota transakcji po zamianie");
    waluta(k_.tJZ, "16", "Jednostka transakcji po zamianie");
  } else {
    k_.tKwZ.clear();
    k_.tJZ.clear();
  }

  usunBezNazwy(kRolaDysponenta, 18);
  podmioty(k_.listaDysponentow, 17, true);
  usunBezNazwy(kRolaWImieniu, 32);
  podmioty(k_.listaWImieniu, 31, false);
  usunBezNazwy(kRolaBeneficjenta, 38);
  podmioty(k_.listaBeneficjentow, 37, false);

  const char* nrb = "Błędny numer rachunku lub nie w standardzie NRB";
  if (!k_.nrRachZ.empty() && !CheckNRB(k_.nrRachZ)) ostrz("43", "Rachunek źródłowy", 1, nrb);
  if (!k_.nrRachN.empty() && !CheckNRB(k_.nrRachN)) ostrz("44", "Rachunek docelowy", 1, nrb);
  uwagi(rekordow());
  utraty();
  return w_;
}

}  // namespace

WynikWeryfikacji weryfikujKarte(Karta& k, bool nowa, const RekordyKarty& rk, ListyWeryfikacji& listy,
                                const QString& transakDat, const SlownikiKarty& s) {
  return Sprawdzenie(k, nowa, rk, listy, s).uruchom(transakDat);
}

SlownikiKarty slownikiKarty(const Program& program) {
  SlownikiKarty s;
  s.kraje = program.kodykraj() ? program.kodykraj()->pozycje() : wbudowane::kraje();
  s.waluty = program.kodwaluty() ? program.kodwaluty()->pozycje() : wbudowane::waluty();
  const Slownik& kategorie = program.podpow() ? program.podpow()->kategorie() : wbudowane::kategorie();
  const Slownik& tytuly = program.podpow() ? program.podpow()->tytuly() : wbudowane::tytuly();
  s.kategorii = std::min<int>(static_cast<int>(kategorie.size()), kKategorieRodzaju);
  s.tytulow = std::min<int>(static_cast<int>(tytuly.size()), kTytulyRodzaju);
  s.podejrzane = program.listyKarty.kPdjrz;
  if (program.konfig()) {
    s.numeracja = program.konfig()->numeracja();
    s.domyslne = program.konfig()->domyslne();
  }
  return s;
}

WynikWeryfikacji weryfikacja(Program& program) {
  return weryfikujKarte(program.karta, program.trybKarty == 1, program.rekordyKarty, program.listyWer,
                        program.transakDat(), slownikiKarty(program));
}

}  // namespace zelt
