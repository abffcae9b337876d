#pragma once
// The parties list "Lista podmiotów": the live records of klienci.dat in a grid, filtered by NIP,
// name, town and street; from it the card editor takes a party into a card. Every change is
// written to the file first and only then shown in the grid.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <optional>
#include <string_view>
#include <vector>

#include "grid/kstrgrid.h"
#include "platform/dialogs.h"
#include "settings/plikpodmiotow.h"

namespace zelt {

class Program;

// Starts reading the whole parties list's rows from klienci.dat on a worker thread, once the
// parties folder is settled; the list's first load takes them (and reads the file itself when
// the folder changed since).
void rozpocznijListePodmiotow(Program& program);

class TPodmiotForm : public platform::ModalForm {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 1040301;
  // The grid's columns, as the card reads them.
  enum Kolumna { poNIP = 0, poNz = 1, poAd = 2, NrRec = 3 };

  explicit TPodmiotForm(Program& program);

  kgrid::TKStringGrid* Podmiot;
  QLineEdit* fNip;
  QLineEdit* fNz;
  QLineEdit* FAdrM;
  QLineEdit* fAdrUl;
  QPushButton* dodaj;
  QPushButton* edytuj;
  QPushButton* usun;
  QPushButton* filtruj;
  QPushButton* zapisz;
  QPushButton* Zamknij;
  QMenu* PodmiotMenu;
  QAction* Dodaj1;
  QAction* Edytuj1;
  QAction* Usun1;
  QAction* Filtruj1;
  QAction* Wprowadz1;
  QAction* Zamknij1;

  // klienci.dat in the parties folder.
  PlikPodmiotow plik() const;
  static PlikPodmiotow plikPodmiotow(const Program& program);

  // Restores the geometry, settles the parties folder (the data folder when it is empty) and
  // loads the list sorted by name.
  void FormCreate();
  // Shows the list modally; the take-over button "&Wprowadź" only when `zWprowadzeniem`.
  int pokaz(bool zWprowadzeniem);

  // "&Dodaj": the party editor preset from the settings' defaults; on its acceptance the party is
  // appended. A full file is said before the editor opens.
  void dodajClick();
  // "&Edytuj": the current row's party in the party editor; on its acceptance rewritten in place.
  void edytujClick();
  void filtrujClick();
  void usunClick();
  void zapiszClick();
  void ZamknijClick();

  // The record number of the current row, when its cell holds a whole number of a live record
  // of the file; nothing without a current row.
  std::optional<int> numerBiezacego() const;
  // Appends a party (its role byte 0) and a row for it; the full list is said and nothing changes.
  bool dopiszPodmiot(TRekordPodmiotu r);
  // Rewrites the current row's party in place (its stored role byte kept) and updates the row.
  bool zmienPodmiot(TRekordPodmiotu r);
  // A card's party written onto the list as it is (its role byte included): over the first live
  // party of the file whose NIP agrees, when the user says Yes to the question (its row updated
  // when listed), else appended with a row; Cancel writes nothing. A NIP that is empty without
  // its dashes and blanks agrees with none. True when written.
  bool naListe(const TRekordPodmiotu& r);
  // The number of the first live party of the file whose NIP agrees with `nip`; nothing for a NIP
  // empty without its dashes and blanks.
  std::optional<int> szukajNIP(const std::string& nip) const;
  // Writes row `w`'s cells from a party and its number: the one row writer of the list. It reads
  // the parts in kPolaWiersza and no other, and the filters test no other.
  static constexpr TRekordPodmiotu::Pola kPolaWiersza =
      TRekordPodmiotu::pNip | TRekordPodmiotu::pNz | TRekordPodmiotu::pAdrM | TRekordPodmiotu::pAdrUl;
  void wpiszWiersz(int w, int numer, const TRekordPodmiotu& r);
  // The row that shows record `numer`, or -1.
  int wierszRekordu(int numer) const;

  // Equal NIPs once every dash and blank is taken out of both.
  static bool zgodnyNIP(std::string_view a, std::string_view b);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void wczytaj();
  void wypelnij(bool wszystkie);
  // Appends the record as it is and its row; the full list is said and nothing changes.
  bool dopisz(const TRekordPodmiotu& r);
  Program& program_;
};

}  // namespace zelt
