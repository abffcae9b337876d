#pragma once
// The unit dialog "Edycja danych jednoski organizacyjnej": one organisational unit, added into the
// units table (the number proposed and editable) or edited in place (the number fixed). It works
// in add mode when its number edit is enabled, in edit mode when it is disabled.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <string>

#include "platform/dialogs.h"
#include "settings/jednostki.h"

namespace zelt {

class Program;

class TJednForm : public platform::ModalForm {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 1100300;

  explicit TJednForm(Program& program);

  // In tab order.
  QLineEdit* NazIO;
  QLineEdit* NumIO;
  QLineEdit* WojIO;
  QLineEdit* KodIO;
  QLineEdit* MieIO;
  QLineEdit* UliIO;
  QLineEdit* TelIO;
  QLineEdit* FaxIO;
  QPushButton* Zapis;
  QPushButton* wyjscie;

  // Add mode: the number `numer` proposed, the other edits empty; "&Wprowadź" adds a unit to `j`.
  void trybDodawania(JednostkiIO& j, const std::string& numer);
  // Edit mode over unit row `w` of `j`: the edits from its columns 1 to 8.
  void trybEdycji(JednostkiIO& j, int w);
  bool trybDodawania() const { return NumIO->isEnabled(); }

  void FormCreate();
  void ZapisClick();
  void wyjscieClick();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  // The edit of each column 1..8 (none for the running number).
  std::array<QLineEdit*, kKolumnJednostek> edycjeKolumn() const;
  JednostkiIO::Wiersz wiersz() const;

  Program& program_;
  JednostkiIO* jednostki_ = nullptr;
  int wiersz_ = 0;
};

}  // namespace zelt
