#include "settings/kodykrajform.h"

namespace zelt {

TKodykrajForm::TKodykrajForm(Program& program)
    : TListaKodowForm(program, "KodykrajForm", QStringLiteral("ISO 3166 Kody literowe krajów"), "Podkraje", 2,
                      wbudowane::kraje()),
      Podkraje(lista_) {
  mouseDown_ = [this](QMouseEvent* e) { return PodkrajeMouseDown(e); };
  keyDown_ = [this](QKeyEvent* e) { return PodkrajeKeyDown(e); };
}

void TKodykrajForm::FormCreate() {
  // By its bare name: the working folder's file, as users have always placed it.
  utworz("KodyKraj", QStringLiteral("kraje.txt"), QStringLiteral("ładowanie kodów krajów"));
}

}  // namespace zelt
