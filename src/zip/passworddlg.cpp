#include "zip/passworddlg.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace zip {

TPasswordDlg::TPasswordDlg(const QString& caption, const QString& prompt, QWidget* parent) : ModalForm(parent) {
  setObjectName(QStringLiteral("PasswordDlg"));
  setWindowTitle(caption);
  // A dialog border: no resizing, no system menu extras.
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(344, 137);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(12);
  f.setBold(true);
  setFont(f);

  Label = new QLabel(prompt, this);
  Label->setObjectName(QStringLiteral("Label"));
  Label->setGeometry(20, 8, 297, 18);
  Edit = new QLineEdit(this);
  Edit->setObjectName(QStringLiteral("Edit"));
  Edit->setGeometry(20, 40, 297, Edit->sizeHint().height());
  Edit->setEchoMode(QLineEdit::Password);
  Edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // '*'
  Edit->setMaxLength(80);
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setGeometry(44, 72, 90, 28);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setGeometry(205, 72, 90, 28);
  connect(OKBtn, &QPushButton::clicked, this, [this] { setModalResult(platform::mrOk); });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { setModalResult(platform::mrCancel); });
  Edit->setFocus();

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

QString TPasswordDlg::password() const { return Edit->text(); }

}  // namespace zip
