#include "register/ladowanie.h"

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "register/program.h"
#include "register/rejestr.h"

namespace zelt {

std::int64_t zaladujRejestr(Program& program,
                            const std::function<void(std::int32_t, const TRekordTransakcji&)>& dodajWiersz) {
  const QString linia = QStringLiteral("ładowanie rejestru transakcji");
  program.akcja(linia);
  std::int64_t wiersze = 0;
  qint64 niepelny = 0;
  {
    PlikRejestru plik(program.transakDat());
    if (plik.otworzDoOdczytu()) {
      niepelny = plik.niepelnyOstatni();
      platform::guarded(program.svc.dialogs, [&] {
        plik.kazdy([&](qint64 n, const TRekordTransakcji& r) {
          if (r.deleted()) return;
          dodajWiersz(static_cast<std::int32_t>(n), r);
          ++wiersze;
        });
      });
    }
  }
  QString koniec = wiersze > 0 ? linia + QStringLiteral(" - załadowano %1 rekordów").arg(wiersze)
                               : linia + QStringLiteral(" - brak danych");
  if (niepelny) koniec += QStringLiteral(", niepełny ostatni rekord pominięto");
  program.akcja(koniec);
  program.niepelnyRekordRejestru = niepelny;
  return wiersze;
}

}  // namespace zelt
