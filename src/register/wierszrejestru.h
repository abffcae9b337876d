#pragma once
// The one writer of a register-list row: every column of the list gets the text of its code for
// the record, so a rewritten row never keeps an older text. Used by the start-up load, the card
// save and the import.
#include <cstdint>

#include "register/rekordtransakcji.h"

namespace kgrid {
class TKGridModel;
}

namespace zelt {

struct ListyKarty;
class UkladListy;

void zapiszWiersz(kgrid::TKGridModel& lista, const UkladListy& uklad, int wiersz, std::int32_t nrRekordu,
                  const TRekordTransakcji& r, const ListyKarty& listy);

}  // namespace zelt
