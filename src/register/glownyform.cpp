#include "register/glownyform.h"

#include <QDir>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "platform/geometry.h"
#include "platform/registry.h"
#include "register/instytucje.h"
#include "register/program.h"
#include "register/wizytform.h"

namespace zelt {

TglownyForm::TglownyForm(Program& program) : program_(program) {
  setObjectName("glownyForm");
  setWindowTitle(QStringLiteral("Informacja dla ZELT"));
  setMinimumSize(550, 250);
  resize(542, 337);
  auto* central = new QWidget(this);
  auto* lay = new QVBoxLayout(central);
  lista = new kgrid::TKStringGrid(central);
  lista->setObjectName("lista");
  lista->SetOptions(lista->Options() | kgrid::goRowSelect);
  lista->SetScrollBars(kgrid::ssVertical);
  lay->addWidget(lista, 1);
  GrupaWys = new QLabel(central);
  GrupaWys->setObjectName("GrupaWys");
  PoleWys = new QLabel(central);
  PoleWys->setObjectName("PoleWys");
  lay->addWidget(GrupaWys);
  lay->addWidget(PoleWys);
  auto* buttons = new QHBoxLayout();
  struct B { QPushButton*& b; const char* name; const char* caption; const char* hint; };
  B list[] = {
      {dodaj, "dodaj", "&Dodaj", "Dodanie nowej pozycji do rejestru transakcji"},
      {Edytuj, "Edytuj", "&Edytuj", "Edycja danych rejestru transakcji"},
      {Usun, "Usun", "&Usuń", "Edycja danych rejestru transakcji"},
      {DrukKar, "DrukKar", "Druk &Karty", "Wydruk karty transakcji"},
      {DrukRej, "DrukRej", "Druk &Rejstru", "Wydruk rejestru transakcji"},
      {Wyslij, "Wyslij", "&Wyślij", "Przygotowanie pliku do teletransmisji"},
      {Zamknij, "Zamknij", "&Zamknij", "Wyjście z programu"},
  };
  for (auto& b : list) {
    b.b = new QPushButton(QString::fromUtf8(b.caption), central);
    b.b->setObjectName(b.name);
    b.b->setToolTip(QString::fromUtf8(b.hint));
    // The commands come with the register commands; until then the buttons do nothing.
    b.b->setEnabled(false);
    buttons->addWidget(b.b);
  }
  buttons->addStretch(1);
  lay->addLayout(buttons);
  setCentralWidget(central);
}

void TglownyForm::ustawPrzyciski() {
  const bool wiersze = lista->RowCount() > 0;
  for (QPushButton* b : {Edytuj, Usun, DrukKar, DrukRej, Wyslij}) b->setEnabled(wiersze);
}

bool TglownyForm::FormCreate() {
  auto& reg = program_.svc.reg;
  platform::restoreGeometry(reg, *this, "Glowne");

  ListaInstytucji lista = czytajInstytucje(reg);
  program_.IloscIO = lista.IloscIO;
  const QString dokumenty = folderDokumentow(reg, program_.svc.shell);
  int n = 1;
  if (lista.IloscIO >= 2) {
    TwizytForm& splash = *program_.wizyt();
    splash.WyborIO->clear();
    for (const auto& name : lista.nazwy) splash.WyborIO->addItem(cp1250::toQ(name));
    splash.WyborIO->setCurrentIndex(lista.wybor);
    splash.WyborIO->setVisible(true);
    splash.Wybierz->setVisible(true);
    splash.Wybierz->setEnabled(splash.WyborIO->currentIndex() >= 0);
    splash.hide();
    const int r = program_.svc.dialogs.showModal(splash);
    splash.WyborIO->setVisible(false);
    splash.Wybierz->setVisible(false);
    if (r != platform::mrOk || splash.WyborIO->currentIndex() < 0) return false;
    n = splash.WyborIO->currentIndex() + 1;
    splash.show();
    splash.repaint();
  }
  program_.aktualneIO = podkluczIO(n);
  const Foldery f = folderyInstytucji(reg, n, dokumenty);
  program_.KatDan = f.KatDan;
  program_.KatPod = f.KatPod;
  program_.KatEks = f.KatEks;

  // The default folders are made when missing so that the first save works; a folder that the
  // institution's data names may be an unmounted or network folder, so it is only reported.
  struct D { const QString& path; bool byDefault; };
  const D folders[] = {{f.KatDan, f.domyslnyDan}, {f.KatPod, f.domyslnyPod}, {f.KatEks, f.domyslnyEks}};
  QStringList reported;
  for (const auto& d : folders) {
    if (QDir(d.path).exists() || reported.contains(d.path)) continue;
    if (d.byDefault && QDir().mkpath(d.path)) continue;
    reported << d.path;
    program_.svc.dialogs.messageBox(QStringLiteral("Brak katalogu ") + d.path, QStringLiteral("Rejestr Transakcji"),
                                    platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  }
  return true;
}

}  // namespace zelt
