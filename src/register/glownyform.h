#pragma once
// The main window "Informacja dla ZELT": the register list and the commands on it.
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

namespace zelt {

class Program;

class TglownyForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TglownyForm(Program& program);

  QWidget* lista;
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

 private:
  Program& program_;
};

}  // namespace zelt
