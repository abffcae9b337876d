#pragma once
// TPasswordDlg: the zip component's own small password window, built in code for each prompt
// and shown through the dialog driver, centred (it keeps no stored position).
#include <QString>

#include "platform/dialogs.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zip {

class TPasswordDlg : public platform::ModalForm {
  Q_OBJECT
 public:
  TPasswordDlg(const QString& caption, const QString& prompt, QWidget* parent = nullptr);
  QString password() const;
  bool okPressed() const { return modalResult() == platform::mrOk; }

  QLabel* Label;
  QLineEdit* Edit;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
};

}  // namespace zip
