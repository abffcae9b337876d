#pragma once
// The add-institution dialog "Dodawanie kolejnej Instytucji Obowiązanej": explains what a further
// institution is for and takes its name. "&Zapisz" ends it with result 1, "&Anuluj" with a cancel.
// It keeps no window position.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/dialogs.h"

namespace zelt {

class TAddIOForm : public platform::ModalForm {
  Q_OBJECT
 public:
  TAddIOForm();

  QLineEdit* AddIO;
  QPushButton* zapisz;
  QPushButton* anuluj;

  void zapiszClick();
  void anulujClick();
};

}  // namespace zelt
