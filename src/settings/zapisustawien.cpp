#include "settings/zapisustawien.h"

#include <QWidget>

#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "platform/geometry.h"
#include "platform/guard.h"
#include "platform/registry.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/werform.h"
#include "register/wizytform.h"
#include "settings/daneio.h"
#include "settings/edpodmiotform.h"
#include "settings/firmaform.h"
#include "settings/jednform.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/konfigform.h"
#include "settings/podmiotform.h"
#include "settings/podpowform.h"

namespace zelt {

void zapiszWszystkieUstawienia(Program& program) {
  auto& reg = program.svc.reg;
  platform::guarded(program.svc.dialogs, [&] {
    platform::RegistryBatch batch(reg);
    const std::string wersja = program.wizyt() ? cp1250::fromUnicode(program.wizyt()->Wersja->text()) : "";
    const int aktualIO = program.wizyt() ? program.wizyt()->WyborIO->currentIndex() : -1;
    zapiszKluczProgramu(reg, wersja, program.IloscIO, aktualIO);

    TKonfigForm* konfig = program.konfig();
    const Zapamietywanie zap = konfig ? konfig->zapamietywanie() : Zapamietywanie{};
    if (zap.okna) {
      // Only the windows this program has; the keys of the others stay as they are.
      const std::pair<const char*, QWidget*> okna[] = {
          {"Glowne", program.glowny()},   {"Konfig", konfig},
          {"Firma", program.firma()},     {"Jednostka", program.jedn()},
          {"Edycja", program.edycja()},   {"Podpow", program.podpow()},
          {"KodyWal", program.kodwaluty()}, {"KodyKraj", program.kodykraj()},
          {"Podmiot", program.podmiot()},           {"EdPodmiot", program.edPodmiot()},
          {"Weryf", program.wer()},
      };
      for (const auto& [klucz, okno] : okna)
        if (okno) platform::saveGeometry(reg, *okno, klucz);
    }
    if (zap.konfiguracja && konfig) konfig->zapiszWartosci(reg, KtoZapisuje::Wyjscie, zap.rejestr);
    if (zap.io && program.firma()) program.firma()->zapiszDoRejestru(reg, KtoZapisuje::Wyjscie);
    batch.commit();
  });
}

void TglownyForm::zapiszUstawienia() {
  if (program_.zakonczony) return;  // the close box after "&Zamknij" ends nothing twice
  program_.zakonczony = true;
  try {
    zapiszWszystkieUstawienia(program_);
  } catch (...) {
    // Even the report of a failed write may fail; the program ends all the same.
  }
  program_.zakoncz();
}

}  // namespace zelt
