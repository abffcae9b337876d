#pragma once
// The currency picker "ISO 4217 kody literowe walut": the list of three-letter currency codes.
#include "settings/kodyform.h"

namespace zelt {

class TKodwalutyForm : public TListaKodowForm {
  Q_OBJECT
 public:
  explicit TKodwalutyForm(Program& program);

  QListWidget* Kodwaluty;

  // Restores the position and reads "waluty.txt" from the working folder over the built-in list.
  void FormCreate();
  bool KodwalutyMouseDown(QMouseEvent* e) { return wybierzMysza(e); }
  bool KodwalutyKeyDown(QKeyEvent* e) { return wybierzKlawiszem(e); }
};

}  // namespace zelt
