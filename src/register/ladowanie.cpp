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
  QString blad;
  // An unfinished write is undone before anything is read; a journal that cannot be played
  // back stays, and the register is not loaded over it.
  const auto dziennik = PlikRejestru::odtworzDziennik(program.transakDat(), blad);
  program.rejestrOdtworzony = dziennik == PlikRejestru::Dziennik::Odtworzony;
  if (dziennik != PlikRejestru::Dziennik::Blad) {
    PlikRejestru plik(program.transakDat());
    if (!plik.otworzDoOdczytu()) {
      // Only a register that is not there at all is an empty one.
      if (!plik.brak()) blad = plik.blad().isEmpty() ? QStringLiteral("?") : plik.blad();
    } else {
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
  QString koniec = wiersze > 0    ? linia + QStringLiteral(" - załadowano %1 rekordów").arg(wiersze)
                   : blad.isEmpty() ? linia + QStringLiteral(" - brak danych")
                                    : linia + QStringLiteral(" - nie można otworzyć pliku");
  if (niepelny) koniec += QStringLiteral(", niepełny ostatni rekord pominięto");
  program.akcja(koniec);
  program.niepelnyRekordRejestru = niepelny;
  program.bladOtwarciaRejestru = blad;
  return wiersze;
}

}  // namespace zelt
