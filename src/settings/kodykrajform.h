#pragma once
// The country picker "ISO 3166 Kody literowe krajów": the list of two-letter country codes.
#include "settings/kodyform.h"

namespace zelt {

class TKodykrajForm : public TListaKodowForm {
  Q_OBJECT
 public:
  explicit TKodykrajForm(Program& program);

  QListWidget* Podkraje;

  // Restores the position and reads "kraje.txt" from the working folder over the built-in list.
  void FormCreate();
  bool PodkrajeMouseDown(QMouseEvent* e) { return wybierzMysza(e); }
  bool PodkrajeKeyDown(QKeyEvent* e) { return wybierzKlawiszem(e); }
};

}  // namespace zelt
