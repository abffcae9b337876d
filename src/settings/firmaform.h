#pragma once
// The institution window "Dane instytucji Obowiązanej": the obligated institution's name,
// numbers, address, kind, its two responsible persons with their passwords and the
// administrator's password, the data folders and the report-file settings. Its controls are the
// institution record for the whole run: other windows read them there (the report writers take
// NIPIO, the format and nazpli; the sign-in the passwords and the persons' names; a new card
// NumIO and the units). "&Zapisz" writes the current institution's registry key with its units;
// "&Powrót" only closes, the edits and the units staying in force until the program ends.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "platform/edits.h"
#include "settings/daneio.h"
#include "settings/hasla.h"
#include "settings/jednostki.h"
#include "settings/zapisustawien.h"

namespace platform {
class RegistryStore;
}

namespace zelt {

class Program;

class TFirmaForm : public platform::ModalForm {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 1100000;

  explicit TFirmaForm(Program& program);

  QTabWidget* strony;

  // Page 1 "Instytucja obowiązana".
  QLineEdit* NazIO;
  QLineEdit* NumIO;
  QLineEdit* NIPIO;
  QLineEdit* RegIO;
  QLineEdit* KrIO;
  QLineEdit* WoIO;
  QLineEdit* PoIO;
  QLineEdit* GmIO;
  QLineEdit* KodIO;
  QLineEdit* MieIO;
  QLineEdit* UlIO;
  QLineEdit* NrDIO;
  QLineEdit* NrLIO;
  QComboBox* RoIO;
  QLineEdit* UwIO;
  QCheckBox* AkIO;

  // Page 2 "Osoby odpowiedz.".
  QGroupBox* Osoba1;
  QLineEdit* ImOs1IO;
  QLineEdit* NaOs1IO;
  QLineEdit* StOs1IO;
  QLineEdit* TeOs1IO;
  QLineEdit* FaOs1IO;
  QLineEdit* KoOs1IO;
  QLineEdit* HaOs1IO;
  QLineEdit* EmOs1IO;
  QGroupBox* Osoba2;
  QLineEdit* ImOs2IO;
  QLineEdit* NaOs2IO;
  QLineEdit* StOs2IO;
  QLineEdit* TeOs2IO;
  QLineEdit* FaOs2IO;
  QLineEdit* KoOs2IO;
  QLineEdit* HaOs2IO;
  QLineEdit* EmOs2IO;
  QLineEdit* HaAdmin;

  // Page 3 "Jedn.Organ.": the units, shown by the grid JedIO (its row r is row r + 1 of the
  // table, whose row 0 is the grid's header).
  QWidget* stronaJednostek;
  JednostkiIO jednostkiIO;
  QTableWidget* JedIO;
  QPushButton* DodajIO;
  QPushButton* editIO;
  QPushButton* UsunIO;

  // Page 4 "Katalogi danych".
  QLineEdit* kataldan;
  QLineEdit* katalpod;
  QGroupBox* format;
  QRadioButton* formatTxt;
  QRadioButton* formatXml;
  QLineEdit* kataleks;
  QLineEdit* nazpli;

  QPushButton* zapis;
  QPushButton* weryf;
  QPushButton* DrukIdent;
  QPushButton* dodaj;
  QPushButton* wyjscie;

  // The password edit of a role.
  QLineEdit* edycjaHasla(hasla::Rola rola) const;

  // The report-file layout as the radio group's item index: 0 TXT, 1 XML.
  int formatItemIndex() const;
  void setFormatItemIndex(int index);

  // Values of the key that other windows own: the initial folders of the main window's archive
  // and export dialogs. Held as loaded and written back.
  QString archdir, ekspdir;

  // Loads the current institution into the controls and copies its name, NIP and REGON onto the
  // splash. Run once, when the window is created at start-up.
  void FormCreate();
  // The record as the controls hold it now, the persons' must-change marks included; this is what
  // "&Zapisz" writes, and what the save-all step on exit writes.
  DaneIO dane() const;

  // The seat's number in force, for a new card's unit list: the 8 digits NumIO holds, else the
  // last 8 digits it held in this run, else "00000000". (The check and the number proposal read
  // the edit itself.)
  std::string numerSiedziby() const;

  // Writes the institution key and its unit subkeys in one batch: "&Zapisz" and the save-all step.
  // The save-all step writes the seat's number in force, and with none the stored one, never a
  // number NumIO holds that is not 8 digits.
  void zapiszDoRejestru(platform::RegistryStore& reg, KtoZapisuje kto);

  void zapisClick();
  void wyjscieClick();
  void HaOs1IOChange();
  void HaOs2IOChange();
  // The institution check on the controls and the units: fills the verification lists.
  virtual void weryfIO();
  void weryfClick();
  // Prints the identification form from the controls as they stand.
  void DrukIdentClick();
  // "Dodaj &IO": registers a further institution and ends the program through the save-all step.
  void dodajClick();

  // The units grid's current row in the table's numbering (0 when none).
  int biezacyWiersz() const;
  void setBiezacyWiersz(int w);
  void DodajIOClick();
  void editIOClick();
  void UsunIOClick();
  // After each key or mouse release on the grid (any change of its current row): "&Usuń" and
  // "&Edytuj" only on a unit row, "&Dodaj" only below 99 units.
  void JedIOKeyUp();
  void JedIOMouseUp() { JedIOKeyUp(); }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  // Each text edit with the value of the record that it holds.
  using PoleTekstu = std::pair<QLineEdit*, std::string& (*)(DaneIO&)>;
  std::vector<PoleTekstu> polaTekstowe() const;
  void ustaw(const DaneIO& d);
  // Shows jednostkiIO in the grid, keeping the current row where it can.
  void pokazJednostki();

  Program& program_;
  QButtonGroup* formatGrupa_;
  // The seat's number in force: 8 digits, put in force at the load and at each leaving.
  platform::DigitsInForce numerSiedziby_;
};

}  // namespace zelt
