#include "register/wierszrejestru.h"

#include "grid/kgridmodel.h"
#include "register/listykarty.h"
#include "settings/kolumnygrid.h"

namespace zelt {

void zapiszWiersz(kgrid::TKGridModel& lista, const UkladListy& uklad, int wiersz, std::int32_t nrRekordu,
                  const TRekordTransakcji& r, const ListyKarty& listy) {
  const auto& kolumny = uklad.kolumny();
  for (std::size_t c = 0; c < kolumny.size(); ++c)
    lista.SetCells(static_cast<int>(c), wiersz, tekstKomorki(kolumny[c].kod, r, nrRekordu, listy));
}

}  // namespace zelt
