#pragma once
// The settings window "Konfiguracja". The settings live in its controls for the whole run: other
// windows read them through the typed accessors below, and "&Zapisz" (or the save-all step on
// exit) stores them under the configuration key.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <string>

#include "platform/dialogs.h"
#include "platform/edits.h"
#include "settings/slownik.h"
#include "settings/zapisustawien.h"

namespace platform {
class RegistryStore;
}

namespace zelt {

class Program;
class TWybKolumn;

// Calibration and layer switches of one boxed print; the texts as typed ("1,000", "+3,000").
struct UstawieniaWydruku {
  QString skalaX, skalaY, polozenieX, polozenieY;
  bool ramki = true, opisy = true, zawartosc = true;
};

// The parts a new card's transaction number gets appended.
struct NumeracjaEwidencyjna {
  bool jednostka = false, dzien = false, miesiac = false, rok = false;
};

// Presets of a new card (texts Windows-1250; list choices as item indexes, -1 for none). The kind
// code is the one in force: empty when none of four digits was ever held in this run.
struct DomyslneKarty {
  std::string kRodzTr, miejsce, waluta, kraj;
  int spDysp = -1, typPo = -1, rodzDokTo = -1;
};

struct Zapamietywanie {
  bool okna = true, rejestr = true, konfiguracja = true, io = true;
};

class TKonfigForm : public platform::ModalForm {
  Q_OBJECT
 public:
  explicit TKonfigForm(Program& program);

  QTabWidget* Konfig;
  // Page "Drukarka"
  QLineEdit *SkTrX, *SkTrY, *PoTrX, *PoTrY;
  QCheckBox *RaTr, *OpTr, *ZaTr;
  QLineEdit *SkIoX, *SkIoY, *PoIoX, *PoIoY;
  QCheckBox *RaIo, *OpIo, *ZaIo;
  QComboBox* WybDruk;
  // Page "Domyślne"
  QCheckBox *NrEwIO, *NrEwDz, *NrEwMc, *NrEwRo;
  QLineEdit* domkRodzTr;
  QPushButton* domkRodzTrPod;
  QComboBox* domspDysp;
  QLineEdit* domMiejsce;
  QLineEdit* domWaluta;
  QPushButton* domWalutaPod;
  QComboBox* domTypPo;
  QLineEdit* domKraj;
  QPushButton* domKrajPod;
  QComboBox* domRodzDokTo;
  // Pages "Wygląd rejestru" and "Wydruk rejestru" host the column choosers.
  TWybKolumn* WygladRej;
  TWybKolumn* WydrukRej;
  // Page "Auto zapamiętywanie"
  QCheckBox *zapokna, *zaprej, *zapkonf, *zapIO;
  // Page "Weryfikacja": stored and shown only, no check consults them
  QCheckBox *werkodtra, *werkodwal, *werkwota, *werkodpodm, *werkodkraj, *werPes, *werReg, *werNip, *werNRB;
  QPushButton* zapis;
  QPushButton* wyjscie;

  // Creation at start-up: dictionaries from the data folder, position, the stored values and the
  // column definitions, the chooser lists, the printers. (The main list's columns and the
  // register load follow it.)
  void FormCreate();
  void zapisClick();
  void wyjscieClick();
  void domkRodzTrPodClick();
  void domWalutaPodClick();
  void domKrajPodClick();

  // Writes the configuration values in their stored order, in one change of the store; the column
  // definitions only when asked. "&Zapisz" writes the four numbering switches and the kind code
  // as the edit holds it; the save-all step leaves the switches out, writes the kind code in
  // force, and with none leaves the stored one. "druk" only when a printer is chosen, so that a
  // printer missing for one run keeps its stored name. Throws platform::IoError when the store
  // cannot be written.
  void zapiszWartosci(platform::RegistryStore& reg, KtoZapisuje kto, bool zKolumnami) const;

  // Typed readers of the current settings.
  UstawieniaWydruku kartaTransakcji() const;
  UstawieniaWydruku formularzIO() const;
  QString drukarka() const;  // empty when no printer is chosen
  NumeracjaEwidencyjna numeracja() const;
  DomyslneKarty domyslne() const;
  Zapamietywanie zapamietywanie() const;

  static constexpr int kHelpContext = 1110000;

  // The lists' built-in items.
  static Slownik wbudowaneSposoby();
  static Slownik wbudowaneDokumenty();
  static Slownik wbudowaneTypy();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void wczytajWartosci();
  void wybierzDrukarke(const std::string& nazwa);
  Program& program_;
  std::string zapisanaDrukarka_;
  // The default kind code in force: four digits, put in force at the load and at each leaving.
  platform::DigitsInForce kodRodzaju_;
};

}  // namespace zelt
