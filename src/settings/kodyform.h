#pragma once
// What the country and currency pickers share: a modal window with one list of dictionary lines
// that fills it. A left press on a line, or Enter on the selected line, ends it with the line's
// number (item index + 1); the close box and Esc end it with platform::mrDismissed, which no
// line number equals, so a caller leaves its field unchanged.
#include <QListWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "settings/slownik.h"

class QKeyEvent;
class QMouseEvent;

namespace zelt {

class Program;

class TListaKodowForm : public platform::ModalForm {
  Q_OBJECT
 public:
  // The list's lines, against which the card and the settings check typed codes.
  const Slownik& pozycje() const { return pozycje_; }
  void ustawPozycje(Slownik pozycje);
  // Characters of a line that make its code (2 for a country, 3 for a currency).
  std::size_t dlugoscKodu() const { return dlugoscKodu_; }
  int indeksKodu(std::string_view kod) const { return zelt::indeksKodu(pozycje_, kod, dlugoscKodu_); }
  std::string kod(int indeks) const { return kodPozycji(pozycje_.at(static_cast<std::size_t>(indeks)), dlugoscKodu_); }

  // Shows the picker modally with line `zaznacz` selected (no line when it is out of range).
  // The chosen item's index; nothing when the picker was closed without a choice.
  std::optional<int> pokaz(int zaznacz);
  // Shows it on the line of the code `obecny` and returns the chosen line's code.
  std::optional<std::string> wybierzKod(std::string_view obecny);
  // The item that a modal result names: result r is item r - 1; nothing for any other result.
  static std::optional<int> pozycjaWyniku(int wynik, int ilePozycji);

 protected:
  TListaKodowForm(Program& program, const char* objectName, const QString& caption, const char* listName,
                  std::size_t dlugoscKodu, const Slownik& wbudowane);
  // The creation handler: the window's position, then the dictionary file over the built-in list.
  void utworz(const char* geometryKey, const QString& path, const QString& opis);
  // A left press on a line chooses it; a press off the lines does nothing.
  bool wybierzMysza(QMouseEvent* e);
  // Enter chooses the selected line and is consumed; with no line selected the window stays open.
  bool wybierzKlawiszem(QKeyEvent* e);
  bool eventFilter(QObject* watched, QEvent* event) override;

  Program& program_;
  QListWidget* lista_;
  // The picker's own handlers of its list, under their own names.
  std::function<bool(QMouseEvent*)> mouseDown_;
  std::function<bool(QKeyEvent*)> keyDown_;

 private:
  Slownik pozycje_;
  std::size_t dlugoscKodu_;
};

}  // namespace zelt
