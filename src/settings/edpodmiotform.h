#pragma once
// The party editor "Edycja danych podmiotu": one party of the parties file, added or changed from
// the parties list, or put on the list from the card's on-behalf and beneficiary pages. Callers
// preset it with ustaw(), show it with pokaz() and, on result 1, take odczytaj(): one preset and
// one reader for every caller, so that the remark rule is the same everywhere.
//
// The type and document lists are the card editor's (Program::listyKarty), so that a stored index
// names the same item in klienci.dat and in a card.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/dialogs.h"
#include "settings/rekordpodmiotu.h"

namespace zelt {

class Program;

class TEdPodmiotForm : public platform::ModalForm {
  Q_OBJECT
 public:
  explicit TEdPodmiotForm(Program& program);

  QComboBox* TypPo;
  QLabel* LuwTypPo;
  QLineEdit* uwTypPo;
  QPlainTextEdit* Nz;
  QLineEdit* Obyw;
  QPushButton* PodObyw;
  QLineEdit* uwObyw;
  QLineEdit* AdrKr;
  QPushButton* PodAdrKr;
  QLineEdit* AdrKod;
  QLineEdit* AdrM;
  QLineEdit* AdrUl;
  QLineEdit* NrPes;
  QLineEdit* NrReg;
  QLineEdit* NrReS;
  QLineEdit* NrSwt;
  QLineEdit* Nip;
  QComboBox* RodzDokTo;
  QLineEdit* NrDokTo;
  QLabel* LuwRodzDokTo;
  QLineEdit* uwRodzDokTo;
  QPushButton* zapisz;
  QPushButton* Importuj;
  QPushButton* anuluj;

  // Restores the geometry and probes the import library: without it "&Importuj" stays disabled
  // for the whole run.
  void FormCreate();

  // The preset: every control from the record; each remark with its label shown (and filled)
  // for index 0, else hidden and emptied. A stored index that the list does not hold shows no
  // item and is kept until the user chooses one.
  void ustaw(const TRekordPodmiotu& r);
  // The reader: the record the controls hold. A remark whose edit is hidden is empty, the name
  // holds no line break, the two country codes are upper case, texts are cut to their capacity;
  // the role byte is the preset's.
  TRekordPodmiotu odczytaj() const;
  // Shows the editor modally: 1 when the party is accepted.
  int pokaz();

  // Whether a remark edit is shown: the editor's own state, which holds while the window is closed.
  bool uwTypPoPokazane() const { return !uwTypPo->isHidden(); }
  bool uwRodzDokToPokazane() const { return !uwRodzDokTo->isHidden(); }

  void TypPoChange();
  void RodzDokToChange();
  void PodObywClick();
  void PodAdrKrClick();
  void zapiszClick();
  void anulujClick();
  void ImportujClick();
  // The party check over the controls into the program's verification lists; true when it found
  // anything.
  bool weryfPodmiot();

 private:
  void podpowiedzKraju(QLineEdit* pole, QWidget* dalej);
  Program& program_;
  std::int32_t typPo_ = -1, rodzDokTo_ = -1;
  std::uint8_t rola_ = TRekordPodmiotu::Brak;
  bool ladowanie_ = false;
};

}  // namespace zelt
