#pragma once
// The main window "Informacja dla ZELT": the register list and the commands on it.
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

#include "grid/kstrgrid.h"

namespace zelt {

class Program;

class TglownyForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TglownyForm(Program& program);

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

  // Restores the window's position and settles the institution and its folders. False when the
  // user closed the institution chooser: the program then ends and writes nothing.
  bool FormCreate();
  // The commands that act on rows are enabled only while the list has rows.
  void ustawPrzyciski();
  // The save-all step and the end of the program, for the close box, "&Zamknij", "&Wyjście" and
  // "&Zamknięcie programu" (written with the settings it saves).
  void zapiszUstawienia();

 private:
  Program& program_;
};

}  // namespace zelt
