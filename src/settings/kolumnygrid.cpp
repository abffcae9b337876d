#include "settings/kolumnygrid.h"

#include "grid/kgridmodel.h"

namespace zelt {

UkladListy::UkladListy(const DefinicjeKolumn& defs) {
  for (int i : defs.wKolejnosci(Strona::Wyglad)) {
    const TDefinicjaKolumny& d = defs[i];
    kolumny_.push_back(KolumnaListy{i, d.kod, szerokosc(d.szerWyg), doPrawej(d.szerWyg)});
  }
}

int UkladListy::kolumna(std::string_view kod) const {
  for (std::size_t c = 0; c < kolumny_.size(); ++c)
    if (kolumny_[c].kod == kod) return static_cast<int>(c);
  return -1;
}

int UkladListy::kolumnaNumeru(int numer) const {
  for (std::size_t c = 0; c < kolumny_.size(); ++c)
    if (kolumny_[c].numer == numer) return static_cast<int>(c);
  return -1;
}

EtykietyKolumny etykietyKolumny(const DefinicjeKolumn& defs, std::string_view nazwaKolumny) {
  const TDefinicjaKolumny* d = defs.poKodzie(nazwaKolumny);
  if (!d || nazwaKolumny.empty()) return {};
  return {tytulGrupy(d->grupa), std::to_string(d->nrPola) + " - " + d->nazwa};
}

UkladListy zbudujKolumnyListy(kgrid::TKGridModel& lista, const DefinicjeKolumn& defs) {
  lista.Clear();
  lista.Columns().Clear();
  UkladListy uklad(defs);
  for (const KolumnaListy& k : uklad.kolumny()) {
    kgrid::TKGridColumn& c = lista.Columns().Add();
    c.SetCaption(k.kod);
    c.SetName(k.kod);
    c.SetWidth(k.szerokosc);
    c.SetAlignment(k.doPrawej ? kgrid::taRightJustify : kgrid::taLeftJustify);
  }
  return uklad;
}

EtykietyKolumny etykietyPierwszejKolumny(const kgrid::TKGridModel& lista, const DefinicjeKolumn& defs) {
  if (lista.ColCount() == 0) return {};
  return etykietyKolumny(defs, lista.VisibleColumn(0).Name());
}

}  // namespace zelt
