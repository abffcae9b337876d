#pragma once
// The splash: progress during start-up, the institution chooser, the sign-in, the about box.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/dialogs.h"
#include "register/logowanie.h"

namespace zelt {

class Program;

class TwizytForm : public platform::ModalForm {
  Q_OBJECT
 public:
  explicit TwizytForm(Program& program);

  QLabel* tytul;
  QLabel* Wersja;
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
  QPushButton* ok;  // "OK", shown only in the about box

  // Shows the line at once, even before the event loop runs.
  void pokazAkcje(const QString& line);
  // "&Wybierz": needs a chosen institution.
  void WybierzClick();

  // The sign-in: shows the password controls with the institution's name, NIP and REGON, and runs
  // the splash modally; the result is mrOk (the program runs) or mrCancel (it ends).
  int zaloguj();
  // Key handler of `haslo` during the sign-in: Esc ends the program, Enter takes one step.
  void FormKeyDown(int key);
  int licznikProb() const { return logowanie_.licznikProb(); }
  static constexpr int kHelpLogowania = 1020100;
  // The about box: the splash without the password, with its "OK" button; F1 opens the given
  // help topic.
  void oProgramie(int kontekstPomocy);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Program& program_;
  Logowanie logowanie_;
  bool logowanieTrwa_ = false;
  int pomocOProgramie_ = 0;
};

// The maker's name, address, web page and mail (shown on the splash and opened from the menus).
extern const char* const kAutor;
extern const char* const kAdresAutora;
extern const char* const kStronaAutora;
extern const char* const kEmailAutora;

}  // namespace zelt
