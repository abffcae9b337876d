// The card editor's parties-file buttons: "Wprowadź &z listy" takes a party chosen in the parties
// list into its page; "Wprowadź &na listę" writes the page's party into klienci.dat (pages 4 and 5
// through the party editor, which asks for what those pages do not hold).
#include "platform/guard.h"
#include "register/edycjaform.h"
#include "register/karta.h"
#include "register/program.h"
#include "settings/edpodmiotform.h"
#include "settings/konfigform.h"
#include "settings/podmiotform.h"

namespace zelt {

void TedycjaForm::DysZLisClick() { zListy(kRolaDysponenta); }
void TedycjaForm::PelZLisClick() { zListy(kRolaWImieniu); }
void TedycjaForm::BenZLisClick() { zListy(kRolaBeneficjenta); }

void TedycjaForm::zListy(const OpisRoli& r) {
  TPodmiotForm* lista = program_.podmiot();
  if (!lista || lista->pokaz(true) != platform::mrOk) return;
  // The record behind the chosen row, read now: a row whose party is gone takes nothing.
  const auto n = lista->numerBiezacego();
  if (!n) return;
  const auto podmiot = lista->plik().czytajZywy(*n);
  if (!podmiot) return;
  Karta& k = program_.karta;
  przejmijPodmiot(r, k.*(r.lista), k.*(r.strona), *podmiot);
  pokazKarte();
}

void TedycjaForm::DysNaLisClick() {
  if (TPodmiotForm* lista = program_.podmiot()) lista->naListe(rekordNaListe(kRolaDysponenta, program_.karta.z));
}

void TedycjaForm::PelNaLisClick() { naListePrzezEdytor(kRolaWImieniu); }
void TedycjaForm::BenNaLisClick() { naListePrzezEdytor(kRolaBeneficjenta); }

void TedycjaForm::naListePrzezEdytor(const OpisRoli& r) {
  TPodmiotForm* lista = program_.podmiot();
  TEdPodmiotForm* edytor = program_.edPodmiot();
  if (!lista || !edytor) return;
  const TKonfigForm* konfig = program_.konfig();
  const DomyslneKarty d = konfig ? konfig->domyslne() : DomyslneKarty{};
  // The page itself is not changed: from here on the editor's fields stand for it.
  edytor->ustaw(ustawienieEdytoraPodmiotu(r, program_.karta.*(r.strona), d).pola);
  if (edytor->pokaz() != platform::mrOk) return;
  TRekordPodmiotu w = edytor->odczytaj();
  w.rolaPo = r.rola;
  lista->naListe(w);
}

void TedycjaForm::powiazPodmioty() {
  auto obsluga = [this](void (TedycjaForm::*fn)()) {
    return [this, fn] { platform::guarded(program_.svc.dialogs, [&] { (this->*fn)(); }); };
  };
  connect(DysZLis, &QPushButton::clicked, this, obsluga(&TedycjaForm::DysZLisClick));
  connect(PelZLis, &QPushButton::clicked, this, obsluga(&TedycjaForm::PelZLisClick));
  connect(BenZLis, &QPushButton::clicked, this, obsluga(&TedycjaForm::BenZLisClick));
  connect(DysNaLis, &QPushButton::clicked, this, obsluga(&TedycjaForm::DysNaLisClick));
  connect(PelNaLis, &QPushButton::clicked, this, obsluga(&TedycjaForm::PelNaLisClick));
  connect(BenNaLis, &QPushButton::clicked, this, obsluga(&TedycjaForm::BenNaLisClick));
}

}  // namespace zelt
