#pragma once
// The institution window "Dane instytucji Obowiązanej": the obligated institution's name,
// numbers, address, kind, its two responsible persons with their passwords and the
// administrator's password, the data folders and the report-file settings. Its controls are the
// institution record for the whole run: other windows read them there (the report writers take
// NIPIO, the format and nazpli; the sign-in the passwords and the persons' names; a new card
// NumIO). "&Zapisz" writes the current institution's registry key; "&Powrót" only closes, the
// edits staying in force until the program ends.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "settings/daneio.h"
#include "settings/hasla.h"

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

  // Page 3 "Jedn.Organ.": the units grid and its buttons belong to the units' editor.
  QWidget* stronaJednostek;

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
  // and export dialogs, and the units grid's row count. Held as loaded and written back.
  std::string archdir, ekspdir;
  int JedIOWiersze = kMinJedIO;

  // Loads the current institution into the controls and copies its name, NIP and REGON onto the
  // splash. Run once, when the window is created at start-up.
  void FormCreate();
  // The record as the controls hold it now, the persons' must-change marks included; this is what
  // "&Zapisz" writes, and what the save-all step on exit writes.
  DaneIO dane() const;

  void zapisClick();
  void wyjscieClick();
  void HaOs1IOChange();
  void HaOs2IOChange();
  // The institution check before a save: fills the verification lists (empty until the check of
  // the institution's fields is added).
  virtual void weryfIO();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  // Each text edit with the value of the record that it holds.
  using PoleTekstu = std::pair<QLineEdit*, std::string& (*)(DaneIO&)>;
  std::vector<PoleTekstu> polaTekstowe() const;
  void ustaw(const DaneIO& d);

  Program& program_;
  QButtonGroup* formatGrupa_;
};

}  // namespace zelt
