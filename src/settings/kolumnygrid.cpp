#include "settings/kolumnygrid.h"

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

}  // namespace zelt
