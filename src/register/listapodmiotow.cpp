#include <algorithm>

#include "register/karta.h"

namespace zelt {

const OpisRoli kRolaDysponenta{TRekordPodmiotu::Dysponent, true, &Karta::listaDysponentow, &Karta::z};
const OpisRoli kRolaWImieniu{TRekordPodmiotu::WImieniu, false, &Karta::listaWImieniu, &Karta::p};
const OpisRoli kRolaBeneficjenta{TRekordPodmiotu::Beneficjent, false, &Karta::listaBeneficjentow, &Karta::b};
const OpisRoli* const kRolePodmiotow[3] = {&kRolaDysponenta, &kRolaWImieniu, &kRolaBeneficjenta};

namespace {

// Texts cut to what the record holds, exactly as the file would keep them.
TRekordPodmiotu przytnij(const TRekordPodmiotu& w) { return TRekordPodmiotu::decode(w.encode().data()); }

int ilosc(const ListaPodmiotow& l) { return static_cast<int>(l.wpisy.size()); }

// The page's fields of the role over `w`; the fields the page does not show keep their value.
void zPola(const OpisRoli& r, const TRekordPodmiotu& strona, TRekordPodmiotu& w) {
  if (r.wszystkiePola) {
    w = strona;
  } else {
    w.TypPo = strona.TypPo;
    w.Nz = strona.Nz;
    w.AdrKr = strona.AdrKr;
    w.AdrKod = strona.AdrKod;
    w.AdrM = strona.AdrM;
    w.AdrUl = strona.AdrUl;
    w.uwTypPo = strona.uwTypPo;
  }
  w.rolaPo = r.rola;
  w = przytnij(w);
}

// The slot of the shown entry, created when the shown entry is the next new one.
TRekordPodmiotu* slot(const OpisRoli& r, ListaPodmiotow& l, const StronaPodmiotu& s) {
  if (l.indeks == 0) l.indeks = 1;
  if (l.indeks == ilosc(l) + 1 && ilosc(l) < ListaPodmiotow::kMax) {
    TRekordPodmiotu w;
    zPola(r, s.pola, w);
    l.wpisy.push_back(w);
  }
  if (l.indeks > ilosc(l)) return nullptr;
  return &l.wpisy[l.indeks - 1];
}

}  // namespace

void zapiszWpis(const OpisRoli& r, ListaPodmiotow& l, const StronaPodmiotu& s) {
  if (s.pola.Nz.empty()) return;
  if (TRekordPodmiotu* w = slot(r, l, s)) zPola(r, s.pola, *w);
}

void zapiszPokazane(Karta& k) {
  for (const OpisRoli* r : kRolePodmiotow) zapiszWpis(*r, k.*(r->lista), k.*(r->strona));
}

StronaPodmiotu nowyWpis(const OpisRoli& r, const DomyslneKarty& d) {
  StronaPodmiotu s;
  s.pola.rolaPo = r.rola;
  s.pola.AdrKr = d.kraj;
  if (r.wszystkiePola) {
    s.pola.TypPo = d.typPo;
    s.pola.Obyw = d.kraj;
    s.pola.RodzDokTo = d.rodzDokTo;
    // As on a new card: a default code that asks for its remark shows the (empty) remark.
    s.uwTypPoWidoczna = d.typPo == 0;
    s.uwRodzDokToWidoczna = d.rodzDokTo == 0;
  }
  return s;
}

StronaPodmiotu pokazWpis(const OpisRoli& r, const TRekordPodmiotu& w) {
  StronaPodmiotu s;
  s.pola = w;
  s.uwTypPoWidoczna = w.TypPo == 0;
  if (r.wszystkiePola) {
    s.uwRodzDokToWidoczna = w.RodzDokTo == 0;
    s.uwObywWidoczna = !w.uwObyw.empty();
  }
  return s;
}

void zmienNazwe(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const std::string& nz) {
  s.pola.Nz = nz;
  if (l.indeks == 0) l.indeks = 1;
  if (l.indeks <= ilosc(l)) {
    // An emptied name keeps its item and its entry: "Usuń" removes a party.
    if (!nz.empty()) l.wpisy[l.indeks - 1].Nz = przytnij(s.pola).Nz;
  } else {
    slot(r, l, s);
  }
}

void wybierzWpis(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, int pozycja) {
  if (l.indeks == 0 || pozycja < 0 || pozycja >= ilosc(l)) return;
  zapiszWpis(r, l, s);
  l.indeks = pozycja + 1;
  s = pokazWpis(r, l.wpisy[pozycja]);
}

bool dodajWpis(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const DomyslneKarty& d) {
  if (!moznaDodac(l) || s.pola.Nz.empty() || (!l.wpisy.empty() && l.wpisy.back().Nz.empty())) return false;
  zapiszWpis(r, l, s);
  if (!moznaDodac(l)) return false;  // the stored entry filled the list
  l.indeks = ilosc(l) + 1;
  s = nowyWpis(r, d);
  zmienNazwe(r, l, s, std::string());
  return true;
}

bool usunWpis(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const DomyslneKarty& d) {
  if (!moznaUsunac(l) || l.indeks == 0) return false;
  zapiszWpis(r, l, s);
  // A new entry beyond the list has no slot: dropping it goes back to the last entry.
  if (l.indeks <= ilosc(l)) l.wpisy.erase(l.wpisy.begin() + (l.indeks - 1));
  if (l.wpisy.empty()) {
    l.indeks = 0;
    s = nowyWpis(r, d);
    return true;
  }
  l.indeks = std::min(l.indeks, ilosc(l));
  s = pokazWpis(r, l.wpisy[l.indeks - 1]);
  return true;
}

void wybierzNumerWpisu(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const DomyslneKarty& d, int j) {
  zapiszWpis(r, l, s);
  if (j >= 1 && j <= ilosc(l)) {
    l.indeks = j;
    s = pokazWpis(r, l.wpisy[j - 1]);
    return;
  }
  if (!moznaDodac(l)) return;  // a full list has no place for a new entry: the shown one stays
  if (!l.wpisy.empty()) l.indeks = ilosc(l) + 1;
  s = nowyWpis(r, d);
}

TRekordPodmiotu rekordNaListe(const OpisRoli& r, const StronaPodmiotu& s) {
  TRekordPodmiotu w = s.pola;
  if (!s.uwTypPoWidoczna) w.uwTypPo.clear();
  if (!s.uwRodzDokToWidoczna) w.uwRodzDokTo.clear();
  w.rolaPo = r.rola;
  return przytnij(w);
}

StronaPodmiotu ustawienieEdytoraPodmiotu(const OpisRoli& r, const StronaPodmiotu& s, const DomyslneKarty& d) {
  StronaPodmiotu e;
  e.pola.TypPo = s.pola.TypPo;
  e.uwTypPoWidoczna = s.pola.TypPo == 0;
  if (e.uwTypPoWidoczna) e.pola.uwTypPo = s.pola.uwTypPo;
  e.pola.Nz = s.pola.Nz;
  e.pola.Obyw = s.pola.AdrKr;
  e.pola.AdrKr = s.pola.AdrKr;
  e.pola.AdrKod = s.pola.AdrKod;
  e.pola.AdrM = s.pola.AdrM;
  e.pola.AdrUl = s.pola.AdrUl;
  e.pola.RodzDokTo = d.rodzDokTo;
  e.pola.rolaPo = r.rola;
  return e;
}

void przejmijPodmiot(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const TRekordPodmiotu& w) {
  TRekordPodmiotu pola = s.pola;
  zPola(r, w, pola);
  s.pola = pola;
  s.uwTypPoWidoczna = pola.TypPo == 0;
  if (r.wszystkiePola) {
    s.uwRodzDokToWidoczna = pola.RodzDokTo == 0;
    s.uwObywWidoczna = !pola.uwObyw.empty();
  }
  zmienNazwe(r, l, s, s.pola.Nz);
}

std::vector<int> usunBezNazw(const OpisRoli& r, ListaPodmiotow& l, StronaPodmiotu& s, const DomyslneKarty& d) {
  std::vector<int> usuniete;
  for (std::size_t i = 0; i < l.wpisy.size();) {
    if (l.wpisy[i].Nz.empty()) {
      usuniete.push_back(static_cast<int>(i) + 1);
      l.wpisy.erase(l.wpisy.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  if (l.wpisy.empty()) {
    l.indeks = 0;
    s = nowyWpis(r, d);
  } else {
    l.indeks = 1;
    s = pokazWpis(r, l.wpisy.front());
  }
  return usuniete;
}

}  // namespace zelt
