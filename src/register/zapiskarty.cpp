#include "register/zapiskarty.h"

#include <algorithm>
#include <bit>
#include <span>

#include "grid/kgridmodel.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/packed.h"
#include "register/karta.h"
#include "register/numeracja.h"
#include "register/polecenia.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/wierszrejestru.h"

namespace zelt {

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

std::uint8_t licznik(std::int32_t n) { return static_cast<std::uint8_t>(std::clamp<std::int32_t>(n, 0, 255)); }

const TRekordPodmiotu* wpis(const ListaPodmiotow& l, int i) {
  return i >= 1 && static_cast<std::size_t>(i) <= l.wpisy.size() ? &l.wpisy[static_cast<std::size_t>(i - 1)] : nullptr;
}

// Every text cut to its room in the record, so that the record in memory is the one stored.
void przytnij(TRekordTransakcji& r) {
  for (const PoleRekordu& p : polaTekstowe()) {
    std::string& t = r.*(p.text);
    if (t.size() > p.capacity) t.resize(p.capacity);
  }
}

// The fields of the on-behalf party (31-36, remark h) and of the beneficiary (37-42, remark i).
struct PolaPodmiotu {
  std::int32_t TRekordTransakcji::*typ;
  std::string TRekordTransakcji::*nz, TRekordTransakcji::*kr, TRekordTransakcji::*kod, TRekordTransakcji::*m,
      TRekordTransakcji::*ul, TRekordTransakcji::*uwaga;
};
using R = TRekordTransakcji;
const PolaPodmiotu kPolaWImieniu{&R::pTypPo, &R::pNz, &R::pAdrKr, &R::pAdrKod, &R::pAdrM, &R::pAdrUl, &R::uwpTypPo};
const PolaPodmiotu kPolaBeneficjenta{&R::bTypPo, &R::bNz, &R::bAdrKr, &R::bAdrKod, &R::bAdrM, &R::bAdrUl, &R::uwbTypPo};

void wpiszPodmiot(TRekordTransakcji& r, const PolaPodmiotu& p, const TRekordPodmiotu& w) {
  r.*p.typ = w.TypPo;
  r.*p.nz = w.Nz;
  r.*p.kr = w.AdrKr;
  r.*p.kod = w.AdrKod;
  r.*p.m = w.AdrM;
  r.*p.ul = w.AdrUl;
  if (w.TypPo == 0) r.*p.uwaga = w.uwTypPo;
}

}  // namespace

int rekordowKarty(const Karta& k) {
  return static_cast<int>(std::max<std::size_t>({1, k.listaDysponentow.wpisy.size(), k.listaWImieniu.wpisy.size(),
                                                 k.listaBeneficjentow.wpisy.size()}));
}

TRekordTransakcji wprowadz(const ZrodloRekordow& z, int i) {
  const Karta& k = z.karta;
  TRekordTransakcji r;
  const std::string jednostka = jednostkaKarty(k.jedIO);
  r.nrEwT = k.nrEwT;
  if (z.nowa) r.nrEwT += przyrostekNumeru(z.numeracja, k.jedIO, platform::daysToDate(k.tDat).value_or(QDate()));
  r.rejDat = k.rejDat;
  r.jedIO = jednostka;
  r.Status = k.Status;
  r.tDat = k.tDat;
  r.uwInne = k.uwInne;
  r.Wprow = z.zalogowany;
  if (i >= 1 && i <= kMaxRekordowKarty) {
    const auto& c = z.liczniki.r[static_cast<std::size_t>(i)];
    r.ilWydrukow = licznik(c.wydruki);
    r.ilWyslan = licznik(c.wyslania);
    r.ilBledow = licznik(c.bledy);
    r.ilOstrzezen = licznik(c.ostrzezenia);
  }

  if (i == 1) {
    r.kRodzTr = k.kRodzTr;
    if (k.uwkRodzTrWidoczna) r.uwkRodzTr = k.uwkRodzTr;
    r.kPwz = k.kPwz;
    if (k.uwkPwzWidoczna) r.uwkPwz = k.uwkPwz;
    r.kPdjrz = k.kPdjrz;
    if (k.uwkPdjrzWidoczna) r.uwkPdjrz = k.uwkPdjrz;
    r.spDysp = k.spDysp;
    if (k.uwspDyspWidoczna) r.uwspDysp = k.uwspDysp;
    r.nrDokT = k.nrDokT;
    r.tM = k.tM;
    r.tKw = k.tKw;
    r.tJ = k.tJ;
    if (kwotaPoZamianie(k.kRodzTr)) {
      r.tKwZ = k.tKwZ;
      r.tJZ = k.tJZ;
    }
    r.nrRachZ = k.nrRachZ;
    r.nrRachN = k.nrRachN;
  }

  if (const TRekordPodmiotu* w = wpis(k.listaDysponentow, i)) {
    r.zTypPo = w->TypPo;
    r.zNz = w->Nz;
    r.zObyw = w->Obyw;
    r.zAdrKr = w->AdrKr;
    r.zAdrKod = w->AdrKod;
    r.zAdrM = w->AdrM;
    r.zAdrUl = w->AdrUl;
    r.zNrPes = w->NrPes;
    r.zNrReg = w->NrReg;
    r.zNrReS = w->NrReS;
    r.zNrSwt = w->NrSwt;
    r.zNip = w->Nip;
    r.zRodzDokTo = w->RodzDokTo;
    r.zNrDokTo = w->NrDokTo;
    if (w->TypPo == 0) r.uwzTypPo = w->uwTypPo;
    r.uwzObyw = w->uwObyw;
    if (w->RodzDokTo == 0) r.uwzRodzDokTo = w->uwRodzDokTo;
  }
  if (const TRekordPodmiotu* w = wpis(k.listaWImieniu, i)) wpiszPodmiot(r, kPolaWImieniu, *w);
  if (const TRekordPodmiotu* w = wpis(k.listaBeneficjentow, i)) wpiszPodmiot(r, kPolaBeneficjenta, *w);
  przytnij(r);
  return r;
}

namespace {

bool zZeramiZPrzodu(const std::string& nowy, const std::string& stary) {
  return nowy.size() >= stary.size() && nowy.compare(nowy.size() - stary.size(), stary.size(), stary) == 0 &&
         nowy.find_first_not_of('0') >= nowy.size() - stary.size();
}

using I32 = std::int32_t TRekordTransakcji::*;
const std::pair<const char*, I32> kIndeksy[] = {
    {"Status", &R::Status}, {"kPwz", &R::kPwz},         {"spDysp", &R::spDysp}, {"zTypPo", &R::zTypPo},
    {"zRodzDokTo", &R::zRodzDokTo}, {"pTypPo", &R::pTypPo}, {"bTypPo", &R::bTypPo},
};
const std::pair<const char*, double TRekordTransakcji::*> kDaty[] = {{"rejDat", &R::rejDat}, {"tDat", &R::tDat}};
const std::pair<const char*, std::uint8_t TRekordTransakcji::*> kZnaczniki[] = {{"ilWydrukow", &R::ilWydrukow},
                                                                               {"ilWyslan", &R::ilWyslan}};

}  // namespace

std::vector<std::string_view> niezapisanePola(const TRekordTransakcji& s, const TRekordTransakcji& n) {
  std::vector<std::string_view> out;
  for (const PoleRekordu& p : polaTekstowe()) {
    const std::string_view nazwa = p.name;
    const std::string &stary = s.*(p.text), &nowy = n.*(p.text);
    if (nazwa == "Wprow" || stary.empty() || nowy == stary) continue;
    if ((nazwa == "nrEwT" || nazwa == "jedIO") && zZeramiZPrzodu(nowy, stary)) continue;
    out.push_back(nazwa);
  }
  for (const auto& [nazwa, pole] : kIndeksy)
    if (s.*pole != -1 && n.*pole != s.*pole) out.push_back(nazwa);
  // Bit for bit: a date that is no number is still a value that the save writes back or not.
  for (const auto& [nazwa, pole] : kDaty)
    if (std::bit_cast<std::uint64_t>(n.*pole) != std::bit_cast<std::uint64_t>(s.*pole)) out.push_back(nazwa);
  for (const auto& [nazwa, pole] : kZnaczniki)
    if (s.*pole != 0 && n.*pole != s.*pole) out.push_back(nazwa);
  return out;
}

bool wydrukowanyLubWyslany(const TRekordTransakcji& r) { return r.ilWydrukow != 0 || r.ilWyslan != 0; }

std::vector<Utrata> utratyZapisu(const Karta& k, const RekordyKarty& rk, const LicznikiRekordow& lr,
                                 const std::vector<TRekordTransakcji>& zapisane, const DomyslneKarty& d) {
  const int stare = std::clamp(std::min(rk.k, static_cast<int>(zapisane.size())), 0, kMaxRekordowKarty);
  std::vector<Utrata> out(static_cast<std::size_t>(stare), Utrata::Brak);
  const std::vector<TRekordTransakcji> karty(zapisane.begin(), zapisane.begin() + stare);
  Karta wczytana = kartaZRekordow(karty);
  for (const OpisRoli* r : kRolePodmiotow) usunBezNazw(*r, wczytana.*(r->lista), wczytana.*(r->strona), d);
  LicznikiRekordow zapisaneLiczniki;
  for (int i = 1; i <= stare; ++i) {
    const TRekordTransakcji& z = karty[static_cast<std::size_t>(i - 1)];
    zapisaneLiczniki.r[static_cast<std::size_t>(i)] = {z.ilBledow, z.ilOstrzezen, z.ilWydrukow, z.ilWyslan};
  }
  const ZrodloRekordow teraz{k, false, {}, {}, lr}, bezZmian{wczytana, false, {}, {}, zapisaneLiczniki};
  const int n = std::min(rekordowKarty(k), kMaxRekordowKarty);
  const int nBezZmian = std::min(rekordowKarty(wczytana), kMaxRekordowKarty);
  for (int i = 1; i <= stare; ++i) {
    const TRekordTransakcji& z = karty[static_cast<std::size_t>(i - 1)];
    Utrata& u = out[static_cast<std::size_t>(i - 1)];
    if (i <= n) {
      // As the save builds it: a stored record keeps its registration number.
      TRekordTransakcji b = wprowadz(teraz, i), w = wprowadz(bezZmian, i);
      b.nrRejDat = w.nrRejDat = rk.r[static_cast<std::size_t>(i)].nrRejDat;
      const auto zapis = niezapisanePola(z, b), wczesniej = niezapisanePola(z, w);
      const bool wspolne = std::any_of(zapis.begin(), zapis.end(), [&](std::string_view p) {
        return std::find(wczesniej.begin(), wczesniej.end(), p) != wczesniej.end();
      });
      if (wspolne) u = Utrata::Dane;
    } else if (i > nBezZmian && !z.deleted() && !wydrukowanyLubWyslany(z)) {
      u = Utrata::Rekord;
    }
  }
  return out;
}

namespace {

bool wydrukowanyLubWyslany(const TRekordTransakcji::Bytes& b) {
  return zelt::wydrukowanyLubWyslany(TRekordTransakcji::decode(b.data()));
}

}  // namespace

Zapis zapiszKarte(Program& program, const NumeracjaEwidencyjna& numeracja, const std::vector<std::string>& numeryDnia,
                  kgrid::TKGridModel* lista) {
  Karta& k = program.karta;
  RekordyKarty& rk = program.rekordyKarty;
  platform::DialogDriver& dialogs = program.svc.dialogs;
  const bool nowa = program.trybKarty == 1;
  const int n = std::min(rekordowKarty(k), kMaxRekordowKarty);
  const int stare = nowa ? 0 : std::clamp(rk.k, 0, kMaxRekordowKarty);
  auto poz = [&rk](int i) -> RekordyKarty::Pozycja& { return rk.r[static_cast<std::size_t>(i)]; };

  // Every record built and numbered before the register is opened.
  const ZrodloRekordow zrodlo{k, nowa, numeracja, program.zalogowany, program.licznikiRekordow};
  std::vector<TRekordTransakcji> rekordy(static_cast<std::size_t>(n) + 1);
  NumeryDnia zajete(numeryDnia);
  for (int i = 1; i <= stare; ++i) zajete.zajmij(poz(i).nrRejDat);
  for (int i = 1; i <= n; ++i) {
    TRekordTransakcji& r = rekordy[static_cast<std::size_t>(i)];
    r = wprowadz(zrodlo, i);
    if (i <= stare) {
      r.nrRejDat = poz(i).nrRejDat;
      continue;
    }
    const auto wpisany = i == 1 && nowa ? numerRejestracji(k.NrRejDatTekst) : std::nullopt;
    std::optional<int> nr;
    if (wpisany && !zajete.zajety(*wpisany)) {
      nr = wpisany;
      zajete.zajmij(std::to_string(*nr));
    } else {
      nr = zajete.wez();
    }
    if (!nr) {
      dialogs.showMessage(u("Wszystkie numery rejestracji (0-999) w tym dniu są zajęte, karty nie zapisano"));
      return Zapis::BrakNumeru;
    }
    r.nrRejDat = std::to_string(*nr);
  }

  PlikRejestru plik(program.transakDat());
  if (!plik.otworzDoZapisu()) {
    dialogs.showMessage(komunikatOtwarcia(plik.blad()));
    return Zapis::BladOtwarcia;
  }

  std::vector<std::int32_t> numery(static_cast<std::size_t>(n) + 1, kBrakRekordu);
  std::vector<int> usuwaneNr, pozostale;  // the card's indexes of the surplus deleted and kept
  PlikRejestru::Zmiana zmiana;
  try {
    // The surplus stored records, read before anything is written.
    for (int j = n + 1; !nowa && j <= std::clamp(rk.k, 0, kMaxRekordowKarty); ++j) {
      const auto b = plik.czytajBajty(poz(j).nrRekordu);
      if (packed::getI32(b.data(), TRekordTransakcji::kOffsetStatus) == TRekordTransakcji::kDeleted) continue;
      if (wydrukowanyLubWyslany(b)) {
        pozostale.push_back(j);
      } else {
        zmiana.usuwane.push_back(poz(j).nrRekordu);
        usuwaneNr.push_back(j);
      }
    }
    // The stored records are rewritten in place, the rest appended in order: all or nothing.
    const int wMiejscu = std::min(n, stare);
    for (int i = 1; i <= wMiejscu; ++i) {
      numery[static_cast<std::size_t>(i)] = poz(i).nrRekordu;
      zmiana.przepisane.emplace_back(poz(i).nrRekordu, rekordy[static_cast<std::size_t>(i)]);
    }
    zmiana.dopisane = std::span<const TRekordTransakcji>(rekordy).subspan(static_cast<std::size_t>(wMiejscu) + 1);
    const qint64 pierwszy = plik.zmien(zmiana);
    for (int i = wMiejscu + 1; i <= n; ++i)
      numery[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(pierwszy + (i - wMiejscu - 1));
  } catch (const platform::IoError& e) {
    dialogs.showMessage(QString::fromStdString(e.what()));
    return Zapis::BladZapisu;
  }

  // The rows follow the register once it is written.
  std::vector<int> wiersze(static_cast<std::size_t>(n) + 1, -1);
  if (lista) {
    UsunieteWiersze usun(*lista, program.transakDat());
    std::vector<int> doUsuniecia;
    for (int j : usuwaneNr) {
      const int w = poz(j).wiersz;
      if (w >= 0 && w < lista->RowCount()) doUsuniecia.push_back(w);
    }
    for (int i = 1; i <= n; ++i) {
      int w = i <= stare ? poz(i).wiersz : -1;
      if (w < 0 || w >= lista->RowCount()) {
        lista->AddRow();
        w = lista->RowCount() - 1;
      }
      zapiszWiersz(*lista, program.ukladListy, w, numery[static_cast<std::size_t>(i)],
                   rekordy[static_cast<std::size_t>(i)], program.listyKarty);
      PlikRejestru::ustawWiersz(program.transakDat(), numery[static_cast<std::size_t>(i)], w, lista->RowCount());
      // Where the row stands once the rows of the deleted records are gone.
      wiersze[static_cast<std::size_t>(i)] =
          w - static_cast<int>(std::count_if(doUsuniecia.begin(), doUsuniecia.end(), [w](int d) { return d < w; }));
    }
    for (int w : doUsuniecia) usun.dodaj(w);
  }
  for (std::size_t j = 0; j < pozostale.size(); ++j)
    dialogs.showMessage(u("Usunięcie po wydruku lub wysłaniu danych niemożliwe"));

  // The working set now holds the stored card, as a load of it would.
  RekordyKarty zapisana;
  zapisana.k = n;
  k.NrRejDat.clear();
  for (int i = 1; i <= n; ++i) {
    const auto& r = rekordy[static_cast<std::size_t>(i)];
    zapisana.r[static_cast<std::size_t>(i)] = {numery[static_cast<std::size_t>(i)], wiersze[static_cast<std::size_t>(i)],
                                               r.nrRejDat};
    k.NrRejDat.push_back(r.nrRejDat);
  }
  rk = zapisana;
  k.nrEwT = rekordy[1].nrEwT;
  if (k.NrRejDatWybrany >= n) k.NrRejDatWybrany = 0;
  if (k.NrRejDatWybrany >= 0) k.NrRejDatTekst = k.NrRejDat[static_cast<std::size_t>(k.NrRejDatWybrany)];
  program.trybKarty = 0;
  program.aktualnyRekord = rekordy[static_cast<std::size_t>(n)];
  return Zapis::Zapisano;
}

void wybierzRekordKarty(Karta& k, const LicznikiRekordow& lr, const DomyslneKarty& d, int j) {
  if (j < 1 || j > kMaxRekordowKarty) return;
  const auto& c = lr.r[static_cast<std::size_t>(j)];
  k.ilblad = std::to_string(c.bledy);
  k.ilos = std::to_string(c.ostrzezenia);
  k.bdr = c.wydruki >= 1;
  k.bpl = c.wyslania >= 1;
  for (const OpisRoli* r : kRolePodmiotow) wybierzNumerWpisu(*r, k.*(r->lista), k.*(r->strona), d, j);
}

void oznaczRekord(Karta& k, LicznikiRekordow& lr, Znacznik z, bool zaznaczony) {
  (z == Znacznik::Wydruk ? k.bdr : k.bpl) = zaznaczony;
  const int j = k.NrRejDatWybrany + 1;
  if (j < 1 || j > kMaxRekordowKarty) return;
  auto& c = lr.r[static_cast<std::size_t>(j)];
  (z == Znacznik::Wydruk ? c.wydruki : c.wyslania) = zaznaczony ? 1 : 0;
}

}  // namespace zelt
