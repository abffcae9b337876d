#pragma once
// The dispatch report "Raport o wysyłce": the send writes the report files it made into the memo
// and shows the buttons it needs; the result tells it how to go on (3 "Pomiń": skip the records
// already sent and continue; anything else: stop).
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/dialogs.h"

namespace zelt {

class TWysylka : public platform::ModalForm {
  Q_OBJECT
 public:
  static constexpr int kPomin = 3;

  explicit TWysylka(QWidget* parent = nullptr);

  QPlainTextEdit* Pliki;
  QPushButton* Wyslij;  // "Zamknij"
  QPushButton* pomin;
  QPushButton* Anuluj;

  // Empties the memo and hides the three buttons, as the window is at design.
  void wyczysc();
  // Adds a line to the memo and paints it at once: the send runs without the event loop, and its
  // progress must be seen while it writes.
  void dodaj(const QString& linia);

  void WyslijClick();
  void pominClick();
  void AnulujClick();
};

}  // namespace zelt
