#include "register/karta.h"

#include <algorithm>
#include <array>
#include <optional>

#include "grid/kgridmodel.h"
#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "platform/packed.h"
#include "register/listykarty.h"
#include "register/numeracja.h"
#include "register/polecenia.h"
#include "register/program.h"
#include "register/rejestr.h"

namespace zelt {

bool uwagaRodzaju(const std::string& k) { return k.size() >= 4 && k.compare(2, 2, "00") == 0; }
bool kwotaPoZamianie(const std::string& k) { return k.compare(0, 2, "06") == 0; }
bool uwagaPodejrzanej(const std::string& k) { return !k.empty() && k != "    "; }

bool zmienKRodzTr(Karta& k, const std::string& kod) {
  k.kRodzTr = kod;
  k.uwkRodzTrWidoczna = uwagaRodzaju(kod);
  k.kwotaZWidoczna = kwotaPoZamianie(kod);
  if (!k.kwotaZWidoczna) {
    k.tKwZ.clear();
    k.tJZ.clear();
  }
  return k.uwkRodzTrWidoczna;
}

bool zmienKPwz(Karta& k, std::int32_t i) {
  k.kPwz = i;
  k.uwkPwzWidoczna = i == 1;
  if (!k.uwkPwzWidoczna) k.uwkPwz.clear();
  return k.uwkPwzWidoczna;
}

bool zmienKPdjrz(Karta& k, const std::string& kod) {
  k.kPdjrz = kod;
  k.uwkPdjrzWidoczna = uwagaPodejrzanej(kod);
  return k.uwkPdjrzWidoczna;
}

bool zmienSpDysp(Karta& k, std::int32_t i) {
  k.spDysp = i;
  k.uwspDyspWidoczna = i == 0;
  return k.uwspDyspWidoczna;
}

bool zmienTypPo(StronaPodmiotu& s, std::int32_t i) {
  s.pola.TypPo = i;
  s.uwTypPoWidoczna = i == 0;
  if (!s.uwTypPoWidoczna) s.pola.uwTypPo.clear();
  return s.uwTypPoWidoczna;
}

bool zmienRodzDokTo(StronaPodmiotu& s, std::int32_t i) {
  s.pola.RodzDokTo = i;
  s.uwRodzDokToWidoczna = i == 0;
  if (!s.uwRodzDokToWidoczna) s.pola.uwRodzDokTo.clear();
  return s.uwRodzDokToWidoczna;
}

void drugieObywatelstwo(StronaPodmiotu& s) { s.uwObywWidoczna = true; }

namespace {

// Two ASCII digits from `pos`; none for anything else (no sign, blank or hex as a number).
std::optional<int> dwieCyfry(std::string_view s, std::size_t pos) {
  if (s.size() < pos + 2) return std::nullopt;
  const char a = s[pos], b = s[pos + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return std::nullopt;
  return (a - '0') * 10 + (b - '0');
}

}  // namespace

KodRodzaju sprawdzKodRodzaju(std::string_view kod, int kategorii, int tytulow) {
  const auto c = dwieCyfry(kod, 0);
  if (kod.size() > 4 || !c || *c < 1 || *c > kategorii) return KodRodzaju::BlednaKategoria;
  const auto t = dwieCyfry(kod, 2);
  if (!t || *t >= tytulow) return KodRodzaju::BlednyTytul;
  return KodRodzaju::Dobry;
}

std::pair<int, int> indeksyKoduRodzaju(std::string_view kod) {
  const auto c = dwieCyfry(kod, 0), t = dwieCyfry(kod, 2);
  return {c ? *c - 1 : -1, t && kod.size() == 4 ? *t : -1};
}

bool numerEwidencyjnyPoprawny(std::string_view nrEwT) {
  for (char c : nrEwT)
    if (c < '0' || c > '9') return false;
  return true;
}

bool maUzytecznyKod(const std::vector<std::string>& lista, std::size_t dlugosc) {
  for (const auto& l : lista)
    if (l.size() >= dlugosc && l.find_first_not_of(' ') < dlugosc) return true;
  return false;
}

namespace {

std::string ucinaj(const std::string& s, std::size_t n) { return s.size() > n ? s.substr(0, n) : s; }

TRekordPodmiotu dysponent(const TRekordTransakcji& r) {
  TRekordPodmiotu w;
  w.TypPo = r.zTypPo;
  w.Nz = r.zNz;
  w.Obyw = r.zObyw;
  w.AdrKr = r.zAdrKr;
  w.AdrKod = r.zAdrKod;
  w.AdrM = r.zAdrM;
  w.AdrUl = r.zAdrUl;
  w.NrPes = r.zNrPes;
  w.NrReg = r.zNrReg;
  w.NrReS = r.zNrReS;
  w.NrSwt = r.zNrSwt;
  w.Nip = r.zNip;
  w.RodzDokTo = r.zRodzDokTo;
  w.NrDokTo = r.zNrDokTo;
  w.uwTypPo = r.uwzTypPo;
  w.uwRodzDokTo = r.uwzRodzDokTo;
  w.uwObyw = r.uwzObyw;
  w.rolaPo = TRekordPodmiotu::Dysponent;
  return w;
}

// The on-behalf party and the beneficiary carry type, name, address and the type remark.
TRekordPodmiotu podmiot(std::int32_t typ, const std::string& nz, const std::string& kr, const std::string& kod,
                        const std::string& m, const std::string& ul, const std::string& uw, std::uint8_t rola) {
  TRekordPodmiotu w;
  w.TypPo = typ;
  w.Nz = nz;
  w.AdrKr = kr;
  w.AdrKod = kod;
  w.AdrM = m;
  w.AdrUl = ul;
  w.uwTypPo = uw;
  w.rolaPo = rola;
  return w;
}

// The card's texts that its first record carries under the same names.
using PoleTekstu = std::pair<std::string Karta::*, std::string TRekordTransakcji::*>;
const PoleTekstu kTekstyTransakcji[] = {
    {&Karta::nrEwT, &TRekordTransakcji::nrEwT},       {&Karta::jedIO, &TRekordTransakcji::jedIO},
    {&Karta::kRodzTr, &TRekordTransakcji::kRodzTr},   {&Karta::uwkRodzTr, &TRekordTransakcji::uwkRodzTr},
    {&Karta::uwkPwz, &TRekordTransakcji::uwkPwz},     {&Karta::kPdjrz, &TRekordTransakcji::kPdjrz},
    {&Karta::uwkPdjrz, &TRekordTransakcji::uwkPdjrz}, {&Karta::uwspDysp, &TRekordTransakcji::uwspDysp},
    {&Karta::nrDokT, &TRekordTransakcji::nrDokT},     {&Karta::tM, &TRekordTransakcji::tM},
    {&Karta::tKw, &TRekordTransakcji::tKw},           {&Karta::tJ, &TRekordTransakcji::tJ},
    {&Karta::tKwZ, &TRekordTransakcji::tKwZ},         {&Karta::tJZ, &TRekordTransakcji::tJZ},
    {&Karta::nrRachZ, &TRekordTransakcji::nrRachZ},   {&Karta::nrRachN, &TRekordTransakcji::nrRachN},
    {&Karta::uwInne, &TRekordTransakcji::uwInne},
};

bool jestPodmiot(std::int32_t typ, const std::string& nz) { return typ > -1 || !nz.empty(); }

void dopisz(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& strona, TRekordPodmiotu w) {
  if (l.wpisy.empty()) strona = pokazWpis(r, w);
  l.wpisy.push_back(std::move(w));
}

}  // namespace

void dolaczRekord(Karta& k, const TRekordTransakcji& rec, bool pierwszy) {
  k.Wprowa = rec.Wprow;
  k.NrRejDat.push_back(rec.nrRejDat);
  if (pierwszy) {
    k.ilblad = std::to_string(rec.ilBledow);
    k.ilos = std::to_string(rec.ilOstrzezen);
    k.bdr = rec.ilWydrukow > 0;
    k.bpl = rec.ilWyslan > 0;
    for (const auto& [pole, zRekordu] : kTekstyTransakcji) k.*pole = rec.*zRekordu;
    k.rejDat = rec.rejDat;
    k.tDat = rec.tDat;
    k.Status = rec.Status;
    k.kPwz = rec.kPwz;
    k.spDysp = rec.spDysp;
    k.uwkRodzTrWidoczna = uwagaRodzaju(rec.kRodzTr);
    k.kwotaZWidoczna = kwotaPoZamianie(rec.kRodzTr);
    k.uwkPwzWidoczna = rec.kPwz == 1;
    k.uwkPdjrzWidoczna = uwagaPodejrzanej(rec.kPdjrz);
    k.uwspDyspWidoczna = rec.spDysp == 0;
  }
  if (jestPodmiot(rec.zTypPo, rec.zNz)) dopisz(kRolaDysponenta, k.listaDysponentow, k.z, dysponent(rec));
  if (jestPodmiot(rec.pTypPo, rec.pNz))
    dopisz(kRolaWImieniu, k.listaWImieniu, k.p,
           podmiot(rec.pTypPo, rec.pNz, rec.pAdrKr, rec.pAdrKod, rec.pAdrM, rec.pAdrUl, rec.uwpTypPo,
                   TRekordPodmiotu::WImieniu));
  if (jestPodmiot(rec.bTypPo, rec.bNz))
    dopisz(kRolaBeneficjenta, k.listaBeneficjentow, k.b,
           podmiot(rec.bTypPo, rec.bNz, rec.bAdrKr, rec.bAdrKod, rec.bAdrM, rec.bAdrUl, rec.uwbTypPo,
                   TRekordPodmiotu::Beneficjent));
}

void zakonczWczytanie(Karta& k) {
  k.NrRejDatTekst.clear();
  if (!k.NrRejDat.empty()) {
    k.NrRejDatWybrany = 0;
    k.NrRejDatTekst = k.NrRejDat.front();
  }
  for (const OpisRoli* r : kRolePodmiotow) {
    ListaPodmiotow& l = k.*(r->lista);
    StronaPodmiotu& strona = k.*(r->strona);
    if (l.wpisy.empty()) {
      strona = StronaPodmiotu{};
      strona.pola.rolaPo = r->rola;
    } else {
      l.indeks = 1;
    }
  }
}

Karta kartaZRekordow(const std::vector<TRekordTransakcji>& rekordy) {
  Karta k;
  for (std::size_t i = 0; i < rekordy.size(); ++i) dolaczRekord(k, rekordy[i], i == 0);
  zakonczWczytanie(k);
  return k;
}

void przygotujNowaKarte(Program& program, const UstawieniaNowejKarty& u) {
  program.czyscKarte();
  const ListyKarty& listy = program.listyKarty;
  const DomyslneKarty& d = u.domyslne;
  const double dzis = platform::dateToDays(u.dzis);

  Karta k;
  k.jedIOPozycje.push_back(u.NumIO + " - siedziba");
  for (const auto& [nr, nazwa] : u.jednostki) k.jedIOPozycje.push_back(nr + " - " + nazwa);
  k.jedIO = k.jedIOPozycje.front();
  k.Wprowa = u.zalogowany;
  k.RozNum = przyrostekNumeru(u.numeracja, k.jedIO, u.dzis);
  k.rejDat = dzis;
  k.NrRejDat = {wolnyNrRejDat(program.transakDat(), dzis)};
  k.NrRejDatWybrany = 0;
  k.NrRejDatTekst = k.NrRejDat.front();
  // A new card is a new transaction, whatever the card shown before was.
  k.Status = 1;

  k.kRodzTr = d.kRodzTr;
  k.uwkRodzTrWidoczna = uwagaRodzaju(k.kRodzTr);
  k.kwotaZWidoczna = kwotaPoZamianie(k.kRodzTr);
  k.kPwz = 0;
  k.kPdjrz = listy.kPdjrz.empty() ? std::string() : listy.kPdjrz.front();
  k.spDysp = d.spDysp;
  k.uwspDyspWidoczna = d.spDysp == 0;
  k.tDat = dzis;
  k.tM = d.miejsce;
  k.tJ = d.waluta;
  k.tJZ = d.waluta;

  for (const OpisRoli* r : kRolePodmiotow) k.*(r->strona) = nowyWpis(*r, d);

  program.karta = std::move(k);
  program.aktualnyRekord.Wprow = ucinaj(u.zalogowany, 128);
  program.trybKarty = 1;
}

Wczytanie wczytajKarte(Program& program, std::int32_t& n, const kgrid::TKGridModel* lista) {
  PlikRejestru plik(program.transakDat());
  if (!plik.otworzDoOdczytu()) return Wczytanie::BrakPliku;
  if (n < 0 || n >= plik.ilosc()) {
    n = kBrakRekordu;
    return Wczytanie::BrakRekordu;
  }
  const TRekordTransakcji wskazany = plik.czytaj(n);
  // A deleted record belongs to no card: editing it would gather nothing.
  if (wskazany.deleted()) {
    n = kBrakRekordu;
    return Wczytanie::BrakRekordu;
  }
  const std::string klucz = wskazany.nrEwT;

  program.czyscKarte();
  RekordyKarty& rk = program.rekordyKarty;
  LicznikiRekordow& lr = program.licznikiRekordow;
  Karta& k = program.karta;
  k.NrRejDat.clear();
  k.NrRejDatWybrany = -1;
  k.listaDysponentow = {};
  k.listaWImieniu = {};
  k.listaBeneficjentow = {};

  bool zaDuzo = false;
  // The records the register's index names for the number, each judged as a pass would.
  static const PoleRekordu& numer = *poleTekstowe("nrEwT");
  plik.kazdyZNumerem(klucz, [&](qint64 r, const char* bajty) {
    if (zaDuzo || packed::getI32(bajty, TRekordTransakcji::kOffsetStatus) == TRekordTransakcji::kDeleted ||
        packed::getStr(bajty, numer.offset, numer.capacity) != klucz)
      return;
    const TRekordTransakcji rec = TRekordTransakcji::decode(bajty);
    if (rk.k == kMaxRekordowKarty) {
      zaDuzo = true;
      return;
    }
    const int i = ++rk.k;
    rk.r[i] = {static_cast<std::int32_t>(r), -1, rec.nrRejDat};
    lr.r[i] = {rec.ilBledow, rec.ilOstrzezen, rec.ilWydrukow, rec.ilWyslan};
    dolaczRekord(k, rec, i == 1);
  });

  zakonczWczytanie(k);

  const int kolumnaLp = program.ukladListy.kolumnaLp();
  if (lista && kolumnaLp >= 0) {
    for (int i = 1; i <= rk.k; ++i) rk.r[i].wiersz = plik.wiersz(rk.r[i].nrRekordu, *lista, kolumnaLp);
  }
  if (zaDuzo)
    program.svc.dialogs.showMessage(
        QString::fromUtf8("Karta transakcji ma więcej niż 25 rekordów; wczytano pierwsze 25, pozostałych nie zmieniono"));
  return Wczytanie::Wczytana;
}

}  // namespace zelt
