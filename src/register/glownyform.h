#pragma once
// The main window "Informacja dla ZELT": the register list and the commands on it.
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "grid/kstrgrid.h"

namespace zip {
class TZipPacker;
}

namespace zelt {

class Program;
struct Wybor;

class TglownyForm : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 1030000;
  static constexpr int kHelpOProgramie = 1120200;

  explicit TglownyForm(Program& program);
  ~TglownyForm() override;

  kgrid::TKStringGrid* lista;
  QLabel* GrupaWys;
  QLabel* PoleWys;
  QPushButton* dodaj;
  QPushButton* Edytuj;
  QPushButton* Usun;
  QPushButton* DrukKar;
  QPushButton* DrukRej;
  QPushButton* Wyslij;
  QPushButton* Zamknij;
  // Status bar with two panels; panel 1 shows who signed in.
  QStatusBar* stat;
  QLabel* statPanel[2];

  // Main menu: "Plik", "Opcje", "Podmiot", "Pomoc".
  QAction *ArchMen, *ImpMen, *ExpMen, *WyjMen;
  QAction *JedMen, *konMen;
  QAction* Listapodmiotw1;
  QAction *PomMen, *StronafirmyTarvo1, *ProgMen;
  // Popup menu of the list.
  QMenu* GlowneMenu;
  QMenu *Drukkart1, *Wysaniekart1;  // "Druk &kart", "&Wysłanie kart
  QAction *Dodaj1, *Edytuj1, *Usu1;
  QAction *Tylkowybrane1, *Wybranezpowizanymi1, *Niewydrukowane1, *Drukrejestru1;
  QAction *Tylkowybrane2, *Wybranezpowizanymi2, *Niewysane1, *Zamknicieprogramu1;

  // The work that other parts of the program do for these commands: set where that work is
  // built. A command whose work is not set stays disabled.
  std::function<int()> pokazEdycje;    // the card editor, modally, over the prepared card
  std::function<int()> pokazPodmioty;  // the parties list, modally, without its take-over button
  std::function<void(const std::vector<std::int32_t>&)> drukujKarty;   // card print batch
  std::function<void(const std::vector<std::int32_t>&)> generujPliki;  // send
  std::function<void()> DrukRejClick;  // register print
  std::function<void()> ImpMenClick, ExpMenClick;
  std::function<void()> ArchMenClick;
  // The zip component of the archive command.
  std::unique_ptr<zip::TZipPacker> ZipPacker;

  // Restores the window's position and settles the institution and its folders. False when the
  // user closed the institution chooser: the program then ends and writes nothing.
  bool FormCreate();
  // The one rule for the commands' state, run after every change of the list's rows and of the
  // work set above: the commands on rows need rows, and every command needs its work.
  void ustawPrzyciski();
  // After the sign-in: the administrator's menus and the signed-in person on the status bar.
  void poZalogowaniu();
  // The save-all step and the end of the program, for the close box, "&Zamknij", "&Wyjście" and
  // "&Zamknięcie programu" (written with the settings it saves).
  void zapiszUstawienia();

  void dodajClick();
  void EdytujClick();
  void UsunClick();
  void DrukKarClick();
  void Wybranezpowizanymi1Click();
  void Niewydrukowane1Click();
  void WyslijClick();
  void Wybranezpowizanymi2Click();
  void Niewysane1Click();
  void ZamknijClick() { zapiszUstawienia(); }
  void JedMenClick();
  void konMenClick();
  void Listapodmiotw1Click();
  void PomMenClick();
  void ProgMenClick();
  void StronafirmyTarvo1Click() { StronaTarvo(); }
  void StronaTarvo();
  void EmailTarvo();
  // The labels for the column just entered.
  void listaActiveColChanged(kgrid::TKGridColumn* nowa);
  // The same labels for the current cell as it is now (after a move, a delete or a save).
  void pokazEtykiety();
  void FormCanResize(QSize rozmiar);

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void zbudujMenu();
  void ulozKontrolki();
  // Hands a batch on, saying first when it was cut.
  void przekaz(const Wybor& w, const std::function<void(const std::vector<std::int32_t>&)>& dokad);
  void wybrane(const std::function<void(const std::vector<std::int32_t>&)>& dokad);
  void zPowiazanymi(const std::function<void(const std::vector<std::int32_t>&)>& dokad);
  Program& program_;
};

}  // namespace zelt
