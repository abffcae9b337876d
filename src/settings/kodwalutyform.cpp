#include "settings/kodwalutyform.h"

namespace zelt {

TKodwalutyForm::TKodwalutyForm(Program& program)
    : TListaKodowForm(program, "KodwalutyForm", QStringLiteral("ISO 4217 kody literowe walut"), "Kodwaluty", 3,
                      wbudowane::waluty()),
      Kodwaluty(lista_) {
  mouseDown_ = [this](QMouseEvent* e) { return KodwalutyMouseDown(e); };
  keyDown_ = [this](QKeyEvent* e) { return KodwalutyKeyDown(e); };
}

void TKodwalutyForm::FormCreate() {
  utworz("KodyWal", QStringLiteral("waluty.txt"), QStringLiteral("ładowanie kodów walut"));
}

}  // namespace zelt
