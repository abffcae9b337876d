#pragma once
// The verification dialog "Weryfikacja": shows the findings of the last check (critical errors
// and warnings, kept in Program::listyWer) and lets the user go on, go back or cancel.
//
// A check fills program.listyWer without this window (see weryfikacja.h); the caller then shows
// the findings in one of two ways, which both set the confirm button afresh and run the dialog
// through program.svc.dialogs.showModal:
//   int r = program.wer()->pokazDoZapisu("Zapisz");  // confirm button shown with this caption
//   program.wer()->pokazDoOdczytu();                 // for reading: no confirm button
// The result is kPotwierdz (1: go on despite the findings), kWroc (2: back to the caller's
// window; also the close box and Esc) or kAnuluj (5: cancel the caller's action).
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "register/weryfikacja.h"

namespace zelt {

class Program;

class TWerForm : public platform::ModalForm {
  Q_OBJECT
 public:
  static constexpr int kPotwierdz = platform::mrOk;
  static constexpr int kWroc = platform::mrCancel;
  static constexpr int kAnuluj = platform::mrIgnore;
  static constexpr int kHelpContext = 1040800;

  explicit TWerForm(Program& program);

  QLabel* etBledy;
  QTableWidget* bledy;
  QLabel* etOstrze;
  QTableWidget* ostrze;
  QPushButton* zapisz;
  QPushButton* zamknij;
  QPushButton* wroc;

  int pokazDoZapisu(const QString& caption);
  int pokazDoOdczytu();

  // Forwarders kept under the dialog's names, for the checks that know them there.
  void dodajblad(std::string_view pole, std::string_view nazwa, std::uint8_t nr, std::string_view tekst);
  void dodajostrze(std::string_view pole, std::string_view nazwa, std::uint8_t nr, std::string_view tekst);
  static bool CheckPesel(std::string_view s) { return zelt::CheckPesel(s); }
  static bool CheckNIP(std::string_view s) { return zelt::CheckNIP(s); }
  static bool CheckREGON(std::string_view s) { return zelt::CheckREGON(s); }
  static bool CheckNRB(std::string_view s) { return zelt::CheckNRB(s); }
  static bool CheckKonto(std::string_view s) { return zelt::CheckKonto(s); }
  static bool CheckISBN(std::string_view s) { return zelt::CheckISBN(s); }

  // Fills both grids from the lists and puts each grid's current row on its first finding.
  void FormActivate();
  void zapiszClick();
  void zamknijClick();
  void wrocClick();

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  Program& program_;
};

}  // namespace zelt
