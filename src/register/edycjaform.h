#pragma once
// The card editor "Karta Transakcji - ZELT": a view of Program::karta on seven pages. Every
// user's edit goes into the card at once; pokaz() fills every control from the card and shows
// the editor modally. The field rules (remark visibility, exit checks) are the card's own
// functions (karta.h); this window adds what needs widgets: pages, focus, pickers, messages.
//
// Exit checks run when the focus moves from a checked field to another control of this window:
// not to "&Powrót", not to another window (a picker, a message box, a popup), not while the
// window closes, and never one inside another.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "register/weryfikacjakarty.h"

namespace zelt {

class Program;
class TListaKodowForm;
struct StronaPodmiotu;
struct OpisRoli;

class TedycjaForm : public platform::ModalForm {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 1040000;
  // The pages, counted from 0.
  enum Strona { Identyfikacja, Transakcja, Dysponenci, WImieniu, Beneficjenci, Rachunki, Uwagi };

  explicit TedycjaForm(Program& program);

  QTabWidget* Wprowadzanie;
  // 1.Identyfikacja
  QLineEdit* nrEwT;
  QLabel* RozNum;
  QComboBox* NrRejDat;
  QDateEdit* rejDat;
  QComboBox* jedIO;
  QComboBox* Status;
  QGroupBox* Info;
  QLineEdit *ilblad, *ilos, *Wprowa;
  QCheckBox *bdr, *bpl;
  // 2.Transakcja
  QLineEdit* kRodzTr;
  QPushButton* kRodzTrPod;
  QComboBox *kPwz, *kPdjrz, *spDysp;
  QLineEdit* nrDokT;
  QDateEdit* tDat;
  QLineEdit *tM, *tKw, *tJ, *tKwZ, *tJZ;
  QPushButton *PodtJ, *PodtJZ;
  // 3.Dysponenci
  QComboBox* zLis;
  QPushButton *zDodaj, *zUsun;
  QComboBox* zTypPo;
  QPlainTextEdit* zNz;
  QLineEdit *zObyw, *zAdrKr, *zAdrKod, *zAdrM, *zAdrUl, *zNrPes, *zNrReg, *zNrReS, *zNrSwt, *zNip, *zNrDokTo;
  QPushButton *PodzObyw, *dwaobyw, *PodzAdrKr, *DysNaLis, *DysZLis;
  QComboBox* zRodzDokTo;
  // 4.W imieniu
  QComboBox* pLis;
  QPushButton *pDodaj, *pUsun;
  QComboBox* pTypPo;
  QPlainTextEdit* pNz;
  QLineEdit *pAdrKr, *pAdrKod, *pAdrM, *pAdrUl;
  QPushButton *PodpAdrKr, *PelNaLis, *PelZLis;
  // 5.Beneficjenci
  QComboBox* bLis;
  QPushButton *bDodaj, *bUsun;
  QComboBox* bTypPo;
  QPlainTextEdit* bNz;
  QLineEdit *bAdrKr, *bAdrKod, *bAdrM, *bAdrUl;
  QPushButton *PodbAdrKr, *BenNaLis, *BenZLis;
  // 6.Rachunki uczestniczące
  QLineEdit *nrRachZ, *nrRachN;
  // 7.Uwagi
  QLineEdit *uwkRodzTr, *uwkPwz, *uwkPdjrz, *uwspDysp, *uwzTypPo, *uwzObyw, *uwzRodzDokTo, *uwpTypPo, *uwbTypPo,
      *uwInne;
  QPushButton *zapisz, *Weryfikuj, *wyjdz;

  // Creation at start-up: the window's position, then the card's lists (with their splash lines).
  void FormCreate();
  // Fills every control from Program::karta and shows the editor modally; its modal result.
  int pokaz();
  // Each showing: page 1 with the focus in nrEwT.
  void FormActivate();
  // Every control from the card, as the program's own change: no handler of the user's changes
  // runs (no number search, no page or focus moved, no remark emptied).
  void pokazKarte();

  // Handlers of the user's work.
  void wyjdzClick();
  void kRodzTrPodClick();
  void PodtJClick();
  void PodtJZClick();
  void dwaobywClick();
  // The parties-file buttons: a party chosen in the parties list into the page ("Wprowadź &z
  // listy"); the page's party onto the list ("Wprowadź &na listę"): the ordering party's page as it
  // is, the on-behalf party and the beneficiary as the party editor, preset from the page, accepts them.
  void DysZLisClick();
  void PelZLisClick();
  void BenZLisClick();
  void DysNaLisClick();
  void PelNaLisClick();
  void BenNaLisClick();
  void rejDatChange();
  void RozNumOdswiez();
  // "&Zapisz": the shown party entries stored, the card checked, the findings shown to be confirmed
  // (or, with an error that blocks a save, only read), then the card saved (see zapiskarty.h) and
  // the editor closed. "&Wróć" in the findings, or a save that fails, leaves the editor open.
  void zapiszClick();
  // A registration number chosen in NrRejDat: that record's counts, marks and party entries shown.
  void NrRejDatChange();
  // The user's click on the printed or sent mark of the chosen record.
  void bdrClick();
  void bplClick();
  // "&Weryfikuj": the shown party entries stored, the card checked, its totals shown, then
  // "Brak błędów" or the findings for reading.
  void WeryfikujClick();
  // The card check over Program::karta (see weryfikacjakarty.h).
  WynikWeryfikacji weryfikacja();
  // Prints the current record (Program::aktualnyRekord) as one card.
  void drukujkarte();

  // The page and the control that the focus goes to, as one step (the exit check of the control
  // left runs after it, as for a move of the user's).
  void przejdz(int strona, QWidget* cel);

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building.
  QWidget* strona(const char* name, const QString& caption);
  QLabel* etykieta(QWidget* parent, const char* text, QWidget* dla);
  QLineEdit* edycja(QWidget* parent, const char* name, int limit, const char* hint);
  QPlainTextEdit* nazwa(QWidget* parent, const char* name, const char* hint);
  QComboBox* lista(QWidget* parent, const char* name, bool tekstowa, const char* hint);
  QPushButton* przycisk(QWidget* parent, const char* name, const char* caption, const char* hint);
  QDateEdit* data(QWidget* parent, const char* name, const char* hint);
  void zbudujIdentyfikacje();
  void zbudujTransakcje();
  void zbudujPodmiot(int nr);
  void zbudujRachunki();
  void zbudujUwagi();
  void ustawKolejnosc();
  void powiaz();

  // Model both ways: a binding per control, its refill from the card, and the user's change.
  void wiaz(QLineEdit* e, std::string* pole, std::function<void()> poZmianie = {});
  void wiaz(QPlainTextEdit* e, std::string* pole);
  void wiazIndeks(QComboBox* c, std::int32_t* pole, std::function<bool(std::int32_t)> zmiana);
  void wiazTekst(QComboBox* c, std::string* pole, std::function<void()> poZmianie);
  void wiaz(QDateEdit* d, double* pole, std::function<void()> poZmianie);
  void widocznosc();
  // A party page's name list and its "Dodaj" and "Usuń" over the role's list in the card.
  void wiazListe(const OpisRoli& r, QComboBox* lis, QPushButton* dodaj, QPushButton* usun, QPlainTextEdit* nz);
  // Brings a remark up after the user's change asked for it (only while the editor is on screen).
  void pokazUwage(QLineEdit* uwaga);
  void podmiotZmieniony(StronaPodmiotu& s, QLineEdit* uwaga, bool pokazana);
  void zListy(const OpisRoli& r);
  void naListePrzezEdytor(const OpisRoli& r);
  void powiazPodmioty();

  // Focus and exit checks.
  void zmianaFokusu(QWidget* stary, QWidget* nowy);
  QWidget* kontrolka(QWidget* w) const;
  void sprawdzWyjscie(QWidget* pole, QWidget* dokad);
  void ustawFokus(QWidget* w);
  void dalej(QWidget* w);
  bool klawisz(QWidget* w, QKeyEvent* e);
  void sprawdzRodzaj();
  void sprawdzKod(std::string& pole, TListaKodowForm& picker, const QString& blad);
  void podpowiedzKodu(std::string& pole, TListaKodowForm& picker);
  void rodzajZPodpowiedzi(int wynik);
  void komunikat(const char* utf8);

  Program& program_;
  std::vector<std::function<void()>> zModelu_;  // refills of every bound control
  std::vector<std::vector<QWidget*>> kolejnosc_;  // per page, the controls in tab order, tab stops or not
  std::map<QWidget*, QLabel*> etykiety_;
  int ladowanie_ = 0;     // the program fills the controls: no user's handler runs
  int przejscie_ = 0;     // a move of the program's own: no exit check from the focus change
  bool sprawdzanie_ = false;
  bool zamykanie_ = false;
};

}  // namespace zelt
