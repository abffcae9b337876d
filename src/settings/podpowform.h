#pragma once
// The transaction-kind picker "Podpowiedź kodu rodzaju transakcji": a category and a title that
// make the four-digit kind code "0" + category number + two-digit title ("0607"). Its result is
// (category index + 1) * 100 + title index; the close box and Esc give platform::mrDismissed.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/dialogs.h"
#include "settings/slownik.h"

class QKeyEvent;

namespace zelt {

class Program;

// Only the first 9 categories and titles 00..99 make a four-digit code.
constexpr int kKategorieRodzaju = 9;
constexpr int kTytulyRodzaju = 100;

// The picker's result for a category and a title index; nothing when they make no kind code.
std::optional<int> wynikRodzaju(int kategoria, int tytul);
// The category and title indexes of a result; nothing for any other number.
std::optional<std::pair<int, int>> indeksyWyniku(int wynik);
// The kind code of a result: "0" + the decimal result (607 gives "0607").
std::string kodRodzaju(int wynik);
// The category and title indexes of a kind code ("0607" gives 5 and 7); nothing for another text.
std::optional<std::pair<int, int>> indeksyRodzaju(std::string_view kod);

class TpodpowForm : public platform::ModalForm {
  Q_OBJECT
 public:
  explicit TpodpowForm(Program& program);

  QLabel* Label1;
  QLabel* Label2;
  QComboBox* Podrodz;
  QComboBox* Podtytul;
  QPushButton* zamknij;

  // The lists' lines, against which the card and the settings check typed kind codes.
  const Slownik& kategorie() const { return kategorie_; }
  const Slownik& tytuly() const { return tytuly_; }
  void ustawKategorie(Slownik lines);
  void ustawTytuly(Slownik lines);

  // Restores the position and reads "kategorie.txt" and "tytuly.txt" from the data folder.
  void FormCreate();
  // "&Zamknij": ends the picker with the chosen kind (enabled only when both make a code).
  void zamknijClick();
  // Enter in either list moves on to the next control.
  bool PodrodzKeyDown(QKeyEvent* e);

  // Shows the picker with the category and title indexes preselected (none when out of range);
  // the chosen kind's result, nothing when it was closed without a choice.
  std::optional<int> pokaz(int kategoria, int tytul);
  // Shows it on the kind code `obecny` and returns the chosen kind code.
  std::optional<std::string> wybierzKod(std::string_view obecny);

  static constexpr int kHelpContext = 1040200;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void wypelnij(QComboBox* combo, const Slownik& lines, int limit);
  void odswiezZamknij();
  Program& program_;
  Slownik kategorie_;
  Slownik tytuly_;
};

}  // namespace zelt
