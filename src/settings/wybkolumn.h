#pragma once
// The column chooser of the settings window: one page for the main list ("Wygląd rejestru") and
// its twin for the register print ("Wydruk rejestru"). `WyborKolumn` holds a page's rules over
// the definitions, `TWybKolumn` is the page's widget that the settings window places.
//
// The chosen list reaches the positions of the definitions only through przebudujPozycje(), which
// the settings window's buttons run; width and alignment edits reach them at once. On the main
// list's page "Lp" stays first: it cannot be removed or moved and nothing goes before it.
#include <QWidget>
#include <vector>

#include "settings/kolumny.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace zelt {

class WyborKolumn {
 public:
  WyborKolumn(DefinicjeKolumn& defs, Strona strona);
  Strona strona() const { return strona_; }

  // Fills both lists from the definitions, each from an empty state: the chosen one in position
  // order, the remaining ones in table order; selects the first chosen column and shows it.
  void zbuduj();

  // The items are definition numbers.
  const std::vector<int>& wybrane() const { return wyb_; }
  const std::vector<int>& pozostale() const { return poz_; }
  int zaznWyb() const { return zaznWyb_; }
  int zaznPoz() const { return zaznPoz_; }
  // The selection the user left in a list (by a click or a key); -1 for none.
  void zaznaczWyb(int i);
  void zaznaczPoz(int i);

  struct Przyciski {
    bool wprow = false, usun = false, gora = false, dol = false;
    bool operator==(const Przyciski&) const = default;
  };
  const Przyciski& przyciski() const { return btn_; }

  // The definition shown in the title, name, width and alignment controls; 0 for none.
  int pokazany() const { return pokazany_; }
  struct Pokaz {
    std::string grupa, nazwa;
    int szerokosc = 60;
    bool prawo = false;
  };
  Pokaz pokaz() const;
  // Width and alignment edit the chosen list's selected column, so they are offered only while
  // that column is the one shown.
  bool szerokoscDostepna() const;

  void WybMouseDown() { wybKlik(); }
  void WybKeyUp() { wybKlik(); }
  void PozMouseDown() { pozKlik(); }
  void PozKeyUp() { pozKlik(); }
  void WybEnter();
  void PozEnter();
  void WprowClick();
  void UsunClick();
  void goraClick();
  void DolClick();
  // The width spin and the alignment box: coded width := value × 2, plus 1 when right-aligned.
  void SzerChange(int wartosc, bool prawo);

  // Positions of this page := the chosen list's order, 0 for every other definition.
  void przebudujPozycje();

 private:
  void wybKlik();
  void pozKlik();
  bool lpPrzypiete() const;
  int pierwszyRuchomy() const { return lpPrzypiete() ? 1 : 0; }
  bool usunMozliwe() const;
  void ustawGoraDol();
  void pokazWyb();
  void pokazPoz();

  DefinicjeKolumn& defs_;
  Strona strona_;
  std::vector<int> wyb_, poz_;
  int zaznWyb_ = -1, zaznPoz_ = -1;
  Przyciski btn_;
  int pokazany_ = 0;
};

class TWybKolumn : public QWidget {
  Q_OBJECT
 public:
  TWybKolumn(DefinicjeKolumn& defs, Strona strona, QWidget* parent = nullptr);

  // The controls; their object names carry the page's suffix ("WybWyg", "GoraWyd", ...).
  QListWidget* Wyb;
  QListWidget* Poz;
  QPushButton* Wprow;
  QPushButton* Usun;
  QPushButton* Gora;
  QPushButton* Dol;
  QSpinBox* Szer;
  QCheckBox* Wyr;
  QLabel* Gru;
  QLabel* Naz;

  WyborKolumn& wybor() { return model_; }
  // Run once at start-up, after the definitions are loaded.
  void zbudujListy();
  // Run by the settings window's "&Zapisz" and "&Wyjdź" before anything else.
  void przebudujPozycje() { model_.przebudujPozycje(); }

  void WybMouseDown();
  void WybKeyUp();
  void PozMouseDown();
  void PozKeyUp();
  void WybEnter();
  void PozEnter();
  void WprowClick();
  void UsunClick();
  void goraClick();
  void DolClick();
  void SzerChange();
  void WyrClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void wykonaj(void (WyborKolumn::*operacja)());
  void odswiez();
  // Puts the shown definition into the title, name, width and alignment controls (PokazPoleWyg
  // on the main list's page, PokazPoleWyd on the print page); writes no definition.
  void PokazPole();
  WyborKolumn model_;
  DefinicjeKolumn& defs_;
};

}  // namespace zelt
