#pragma once
// The splash: progress during start-up, the institution chooser, the sign-in, the about box.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/dialogs.h"

namespace zelt {

class Program;

class TwizytForm : public platform::ModalForm {
  Q_OBJECT
 public:
  explicit TwizytForm(Program& program);

  QLabel* tytul;
  QLabel* wersja;
  QLabel* akcja;
  QGroupBox* uzytkownik;
  QLabel* NazUzyt;
  QLabel* NipLab;
  QLabel* NipUzyt;
  QLabel* RegLab;
  QLabel* RegUzyt;
  QGroupBox* autor;
  QLabel* StronaTarvo;
  QLabel* EmailTarvo;
  QComboBox* WyborIO;
  QPushButton* Wybierz;
  QLabel* wprhas;
  QLineEdit* haslo;

  // Shows the line at once, even before the event loop runs.
  void pokazAkcje(const QString& line);
  // "&Wybierz": needs a chosen institution.
  void WybierzClick();

 private:
  Program& program_;
};

// The maker's name, address, web page and mail (shown on the splash and opened from the menus).
extern const char* const kAutor;
extern const char* const kAdresAutora;
extern const char* const kStronaAutora;
extern const char* const kEmailAutora;

}  // namespace zelt
