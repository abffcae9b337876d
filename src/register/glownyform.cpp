#include "register/glownyform.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <algorithm>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "platform/folders.h"
#include "platform/geometry.h"
#include "platform/guard.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/wholefile.h"
#include "register/archiwizacja.h"
#include "register/instytucje.h"
#include "register/karta.h"
#include "register/polecenia.h"
#include "register/program.h"
#include "register/wizytform.h"
#include "settings/firmaform.h"
#include "settings/daneio.h"
#include "settings/konfigform.h"
#include "zip/zippack.h"

namespace zelt {

namespace {
QString u(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

TglownyForm::TglownyForm(Program& program)
    : ZipPacker(std::make_unique<zip::TZipPacker>(program.svc.dialogs)), program_(program) {
  setObjectName("glownyForm");
  ZipPacker->setShell(&program.svc.shell);
  ArchMenClick = [this] { archiwizuj(program_, *ZipPacker); };
  setWindowTitle(QStringLiteral("Informacja dla ZELT"));
  setMinimumSize(550, 250);
  auto* central = new QWidget(this);
  // The list follows the window's size (FormCanResize); the labels sit under it and the buttons
  // stay at the bottom left.
  lista = new kgrid::TKStringGrid(central);
  lista->setObjectName("lista");
  // The grid's own options (no row selection, no editing): the active row and column show in aqua.
  lista->SetActiveColColor(kgrid::clAqua);
  lista->SetActiveRowColor(kgrid::clAqua);
  lista->SetActiveRowFontColor(kgrid::clBlack);
  lista->SetScrollBars(kgrid::ssVertical);
  GrupaWys = new QLabel(central);
  GrupaWys->setObjectName("GrupaWys");
  PoleWys = new QLabel(central);
  PoleWys->setObjectName("PoleWys");
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
    b.b = new QPushButton(u(b.caption), central);
    b.b->setObjectName(b.name);
    b.b->setToolTip(u(b.hint));
    b.b->setStatusTip(u(b.hint));
  }
  setCentralWidget(central);
  central->installEventFilter(this);

  connect(dodaj, &QPushButton::clicked, this, [this] { dodajClick(); });
  connect(Edytuj, &QPushButton::clicked, this, [this] { EdytujClick(); });
  connect(Usun, &QPushButton::clicked, this, [this] { UsunClick(); });
  connect(DrukKar, &QPushButton::clicked, this, [this] { DrukKarClick(); });
  connect(DrukRej, &QPushButton::clicked, this, [this] {
    if (DrukRejClick) DrukRejClick();
  });
  connect(Wyslij, &QPushButton::clicked, this, [this] { WyslijClick(); });
  connect(Zamknij, &QPushButton::clicked, this, [this] { ZamknijClick(); });
  lista->OnActiveColChanged = [this](kgrid::TKGridColumn*, kgrid::TKGridColumn* nowa) { listaActiveColChanged(nowa); };
  // The grid reports a new column before its current cell moves there: the labels are written
  // again once the cell has moved, so that they show the cell the user is on.
  lista->OnCurrentMoved = [this] { pokazEtykiety(); };

  stat = statusBar();
  stat->setObjectName("stat");
  stat->setSizeGripEnabled(false);
  for (int i = 0; i < 2; ++i) {
    statPanel[i] = new QLabel(stat);
    statPanel[i]->setObjectName(QStringLiteral("stat%1").arg(i));
    statPanel[i]->setFrameShape(QFrame::Panel);
    statPanel[i]->setFrameShadow(QFrame::Sunken);
  }
  statPanel[0]->setFixedWidth(50);
  stat->addWidget(statPanel[0]);
  stat->addWidget(statPanel[1], 1);  // the last panel takes the rest of the bar

  zbudujMenu();
  // The design's client area holds the status bar but not the menu bar.
  resize(542, 337 + menuBar()->sizeHint().height());
  ustawPrzyciski();
}

void TglownyForm::zbudujMenu() {
  auto akcja = [this](QMenu* m, const char* name, const char* caption, const char* hint,
                      std::function<void()> fn) {
    QAction* a = m->addAction(u(caption));
    a->setObjectName(name);
    if (hint) {
      a->setToolTip(u(hint));
      a->setStatusTip(u(hint));
    }
    connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
    return a;
  };
  // A command whose work is built elsewhere calls that work when it is set.
  auto praca = [this](std::function<void()> TglownyForm::*fn) {
    return [this, fn] {
      if (this->*fn) (this->*fn)();
    };
  };

  QMenuBar* MainMenu1 = menuBar();
  MainMenu1->setObjectName("MainMenu1");
  QMenu* plik = MainMenu1->addMenu(u("Plik"));
  plik->setToolTipsVisible(true);
  ArchMen = akcja(plik, "ArchMen", "&Archiwizacja", "Archiwizacja danych i konfiguracji", praca(&TglownyForm::ArchMenClick));
  plik->addSeparator();
  ImpMen = akcja(plik, "ImpMen", "&Importuj", "Import danych z innego komputera", praca(&TglownyForm::ImpMenClick));
  ExpMen = akcja(plik, "ExpMen", "&Exportuj", "Eksport danych do innego komputera", praca(&TglownyForm::ExpMenClick));
  plik->addSeparator();
  WyjMen = akcja(plik, "WyjMen", "&Wyjście", nullptr, [this] { ZamknijClick(); });

  QMenu* opcje = MainMenu1->addMenu(u("Opcje"));
  opcje->setToolTipsVisible(true);
  JedMen = akcja(opcje, "JedMen", "&Jednostka Obowiązana", "Wprowadzanie danych Instytucji Obowiązanej",
                 [this] { JedMenClick(); });
  konMen = akcja(opcje, "konMen", "&Konfiguracja", "Wprowadzanie konfiguracji programu", [this] { konMenClick(); });
  // Only the administrator's sign-in opens them.
  JedMen->setEnabled(false);
  konMen->setEnabled(false);

  QMenu* podmiot = MainMenu1->addMenu(u("Podmiot"));
  Listapodmiotw1 = akcja(podmiot, "Listapodmiotw1", "&Lista podmiotów", nullptr, [this] { Listapodmiotw1Click(); });

  QMenu* pomoc = MainMenu1->addMenu(u("Pomoc"));
  pomoc->setToolTipsVisible(true);
  PomMen = akcja(pomoc, "PomMen", "&Pomoc", "Instrukcja obsługi programu", [this] { PomMenClick(); });
  StronafirmyTarvo1 = akcja(pomoc, "StronafirmyTarvo1", "&Strona firmy Tarvo", nullptr,
                            [this] { StronafirmyTarvo1Click(); });
  pomoc->addSeparator();
  ProgMen = akcja(pomoc, "ProgMen", "&O programie", "Informacje o wersji i użytkowniku", [this] { ProgMenClick(); });

  GlowneMenu = new QMenu(this);
  GlowneMenu->setObjectName("GlowneMenu");
  Dodaj1 = akcja(GlowneMenu, "Dodaj1", "&Dodaj", nullptr, [this] { dodajClick(); });
  Edytuj1 = akcja(GlowneMenu, "Edytuj1", "&Edytuj", nullptr, [this] { EdytujClick(); });
  Usu1 = akcja(GlowneMenu, "Usu1", "&Usuń", nullptr, [this] { UsunClick(); });
  GlowneMenu->addSeparator();
  QMenu* drukKart = Drukkart1 = GlowneMenu->addMenu(u("Druk &kart"));
  drukKart->setObjectName("Drukkart1");
  Tylkowybrane1 = akcja(drukKart, "Tylkowybrane1", "&Tylko wybrane", nullptr, [this] { DrukKarClick(); });
  Wybranezpowizanymi1 = akcja(drukKart, "Wybranezpowizanymi1", "&Wybrane z powiązanymi", nullptr,
                              [this] { Wybranezpowizanymi1Click(); });
  Niewydrukowane1 = akcja(drukKart, "Niewydrukowane1", "&Niewydrukowane", nullptr, [this] { Niewydrukowane1Click(); });
  Drukrejestru1 = akcja(GlowneMenu, "Drukrejestru1", "Druk &rejestru", nullptr, praca(&TglownyForm::DrukRejClick));
  GlowneMenu->addSeparator();
  QMenu* wysylanie = Wysaniekart1 = GlowneMenu->addMenu(u("&Wysłanie kart"));
  wysylanie->setObjectName("Wysaniekart1");
  Tylkowybrane2 = akcja(wysylanie, "Tylkowybrane2", "&Tylko wybrane", nullptr, [this] { WyslijClick(); });
  Wybranezpowizanymi2 = akcja(wysylanie, "Wybranezpowizanymi2", "&Wybrane z powiązanymi", nullptr,
                              [this] { Wybranezpowizanymi2Click(); });
  Niewysane1 = akcja(wysylanie, "Niewysane1", "&Niewysłane", nullptr, [this] { Niewysane1Click(); });
  GlowneMenu->addSeparator();
  Zamknicieprogramu1 = akcja(GlowneMenu, "Zamknicieprogramu1", "&Zamknięcie programu", nullptr,
                             [this] { ZamknijClick(); });
  lista->SetPopupMenu(GlowneMenu);
}

void TglownyForm::ustawPrzyciski() {
  const bool wiersze = lista->RowCount() > 0;
  const bool edycja = bool(pokazEdycje), druk = bool(drukujKarty), wysylka = bool(generujPliki);
  auto ustaw = [](bool wlaczone, QPushButton* przycisk, std::initializer_list<QAction*> pozycje) {
    if (przycisk) przycisk->setEnabled(wlaczone);
    for (QAction* a : pozycje) a->setEnabled(wlaczone);
  };
  ustaw(edycja, dodaj, {Dodaj1});
  ustaw(wiersze && edycja, Edytuj, {Edytuj1});
  ustaw(wiersze, Usun, {Usu1});
  ustaw(wiersze && druk, DrukKar, {Tylkowybrane1, Wybranezpowizanymi1});
  ustaw(druk, nullptr, {Niewydrukowane1});
  ustaw(wiersze && DrukRejClick, DrukRej, {Drukrejestru1});
  ustaw(wiersze && wysylka, Wyslij, {Tylkowybrane2, Wybranezpowizanymi2});
  ustaw(wysylka, nullptr, {Niewysane1});
  ustaw(bool(ArchMenClick), nullptr, {ArchMen});
  ustaw(bool(ImpMenClick), nullptr, {ImpMen});
  ustaw(wiersze && ExpMenClick, nullptr, {ExpMen});
  ustaw(bool(pokazPodmioty), nullptr, {Listapodmiotw1});
  // A submenu with nothing to choose in it is disabled itself.
  for (QMenu* m : {Drukkart1, Wysaniekart1}) {
    const auto pozycje = m->actions();
    m->menuAction()->setEnabled(
        std::any_of(pozycje.begin(), pozycje.end(), [](QAction* a) { return !a->isSeparator() && a->isEnabled(); }));
  }
}

void TglownyForm::poZalogowaniu() {
  JedMen->setEnabled(program_.administrator);
  konMen->setEnabled(program_.administrator);
  statPanel[1]->setText(program_.panelZalogowany);
}

void TglownyForm::dodajClick() {
  if (!pokazEdycje) return;
  platform::guarded(program_.svc.dialogs, [&] {
    UstawieniaNowejKarty u;
    if (TKonfigForm* k = program_.konfig()) {
      u.domyslne = k->domyslne();
      u.numeracja = k->numeracja();
    }
    if (TFirmaForm* f = program_.firma()) {
      u.NumIO = f->numerSiedziby();
      u.jednostki = f->jednostkiIO.listaKarty();
    }
    u.zalogowany = program_.zalogowany;
    u.dzis = program_.svc.clock.today();
    przygotujNowaKarte(program_, u);
    pokazEdycje();
    pokazEtykiety();  // the save may have written the current row
  });
}

void TglownyForm::EdytujClick() {
  if (!pokazEdycje || lista->RowCount() == 0) return;
  platform::guarded(program_.svc.dialogs, [&] {
    auto nr = numerRekordu(*lista, program_.ukladListy.kolumnaLp(), lista->DataRow());
    if (!nr) return;
    std::int32_t n = *nr;
    const Wczytanie w = wczytajKarte(program_, n, lista);
    if (w == Wczytanie::BrakPliku) program_.svc.dialogs.showMessage(u("Brak pliku danych"));
    // Only a card that loaded is opened: never the one shown before.
    if (w != Wczytanie::Wczytana) return;
    program_.trybKarty = 0;
    program_.karta.NrRejDatAktywny = program_.karta.NrRejDat.size() >= 2;
    pokazEdycje();
    pokazEtykiety();
  });
}

void TglownyForm::UsunClick() {
  if (lista->RowCount() == 0) return;
  platform::guarded(program_.svc.dialogs, [&] {
    usunKarty(program_.transakDat(), *lista, program_.ukladListy.kolumnaLp(), wybraneWiersze(*lista),
              program_.svc.dialogs);
  });
  ustawPrzyciski();
}

void TglownyForm::przekaz(const Wybor& w, const std::function<void(const std::vector<std::int32_t>&)>& dokad) {
  const QString uwaga = komunikatWyboru(w);
  if (!uwaga.isEmpty()) program_.svc.dialogs.showMessage(uwaga);
  dokad(w.rekordy);
}

void TglownyForm::wybrane(const std::function<void(const std::vector<std::int32_t>&)>& dokad) {
  if (!dokad || lista->RowCount() == 0) return;
  platform::guarded(program_.svc.dialogs, [&] {
    przekaz(tylkoWybrane(*lista, program_.ukladListy.kolumnaLp(), wybraneWiersze(*lista)), dokad);
  });
}

void TglownyForm::zPowiazanymi(const std::function<void(const std::vector<std::int32_t>&)>& dokad) {
  if (!dokad || lista->RowCount() == 0) return;
  platform::guarded(program_.svc.dialogs, [&] {
    const auto rekordy = rekordyWierszy(*lista, program_.ukladListy.kolumnaLp(), wybraneWiersze(*lista));
    if (auto w = zelt::zPowiazanymi(program_.transakDat(), rekordy)) przekaz(*w, dokad);
  });
}

void TglownyForm::DrukKarClick() { wybrane(drukujKarty); }
void TglownyForm::WyslijClick() { wybrane(generujPliki); }
void TglownyForm::Wybranezpowizanymi1Click() { zPowiazanymi(drukujKarty); }
void TglownyForm::Wybranezpowizanymi2Click() { zPowiazanymi(generujPliki); }

void TglownyForm::Niewydrukowane1Click() {
  if (!drukujKarty) return;
  platform::guarded(program_.svc.dialogs, [&] {
    if (auto w = bezLicznika(program_.transakDat(), Licznik::Wydruki)) przekaz(*w, drukujKarty);
  });
}

void TglownyForm::Niewysane1Click() {
  if (!generujPliki) return;
  platform::guarded(program_.svc.dialogs, [&] {
    if (auto w = bezLicznika(program_.transakDat(), Licznik::Wyslania)) przekaz(*w, generujPliki);
  });
}

void TglownyForm::JedMenClick() {
  if (program_.administrator && program_.firma()) program_.svc.dialogs.showModal(*program_.firma());
}

void TglownyForm::konMenClick() {
  if (program_.administrator && program_.konfig()) program_.svc.dialogs.showModal(*program_.konfig());
}

void TglownyForm::Listapodmiotw1Click() {
  if (pokazPodmioty) pokazPodmioty();
}

void TglownyForm::PomMenClick() { program_.pomoc(0); }

void TglownyForm::ProgMenClick() {
  if (TwizytForm* w = program_.wizyt()) w->oProgramie(kHelpOProgramie);
}

void TglownyForm::StronaTarvo() {
  if (!program_.svc.shell.openUrl(u(kStronaAutora))) program_.svc.dialogs.showMessage(u("Błąd w czasie otwierania rejestru"));
}

void TglownyForm::EmailTarvo() {
  if (!program_.svc.shell.openMail(u(kEmailAutora), u("Rejestr transakcji ZELT")))
    program_.svc.dialogs.showMessage(u("Błąd w czasie otwierania rejestru"));
}

void TglownyForm::listaActiveColChanged(kgrid::TKGridColumn* nowa) {
  if (!nowa) return;
  const int kolumna = lista->VisibleColumns().IndexOf(nowa);
  std::optional<std::string> wartosc;
  if (lista->RowCount() > 0 && kolumna >= 0 && lista->DataRow() >= 0) wartosc = lista->Cells(kolumna, lista->DataRow());
  const auto e = etykietyAktywnejKolumny(program_.definicjeKolumn, nowa->Name(), wartosc);
  GrupaWys->setText(cp1250::toQ(e.GrupaWys));
  PoleWys->setText(cp1250::toQ(e.PoleWys));
}

void TglownyForm::pokazEtykiety() {
  if (lista->DataCol() >= 0) listaActiveColChanged(&lista->VisibleColumn(lista->DataCol()));
}

void TglownyForm::FormCanResize(QSize rozmiar) {
  lista->resize(rozmiarListy(rozmiar));
  ulozKontrolki();
}

void TglownyForm::ulozKontrolki() {
  QWidget* c = centralWidget();
  const int x = 4;
  lista->move(x, 0);
  int y = lista->geometry().bottom() + 3;
  for (QLabel* l : {GrupaWys, PoleWys}) {
    const int h = l->sizeHint().height();
    l->setGeometry(x, y, std::max(0, c->width() - 2 * x), h);
    y += h + 1;
  }
  // One row of equal buttons, as wide as their captions need; in a window too narrow for that,
  // each is as wide as its own caption, and what is left is shared out.
  QPushButton* const rzad[] = {dodaj, Edytuj, Usun, DrukKar, DrukRej, Wyslij, Zamknij};
  constexpr int kOdstep = 2, kIlosc = int(std::size(rzad)), kMargines = 8;
  const int miejsce = c->width() - 2 * x - (kIlosc - 1) * kOdstep;
  int szer = 75, wys = 0, potrzebne = 0;
  int tekst[kIlosc];
  for (int i = 0; i < kIlosc; ++i) {
    QPushButton* b = rzad[i];
    szer = std::max(szer, b->sizeHint().width());
    wys = std::max(wys, b->sizeHint().height());
    tekst[i] = b->fontMetrics().horizontalAdvance(b->text().remove(QLatin1Char('&'))) + kMargines;
    potrzebne += tekst[i];
  }
  const bool rowne = szer * kIlosc <= miejsce || potrzebne > miejsce;
  const int reszta = rowne ? 0 : (miejsce - potrzebne) / kIlosc;
  int bx = x;
  for (int i = 0; i < kIlosc; ++i) {
    const int w = rowne ? std::min(szer, std::max(0, miejsce / kIlosc)) : tekst[i] + reszta;
    rzad[i]->setGeometry(bx, c->height() - wys - 4, w, wys);
    bx += w + kOdstep;
  }
}

TglownyForm::~TglownyForm() = default;

void TglownyForm::closeEvent(QCloseEvent* e) {
  // Not while the archive is being written: the program would end with it half made.
  if (ZipPacker->Busy()) {
    e->ignore();
    return;
  }
  zapiszUstawienia();
  e->accept();
}

bool TglownyForm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == centralWidget() && e->type() == QEvent::Resize) ulozKontrolki();
  return QMainWindow::eventFilter(watched, e);
}

void TglownyForm::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  FormCanResize(size());
}

void TglownyForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    program_.pomoc(kHelpContext);
    return;
  }
  QMainWindow::keyPressEvent(e);
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
    // Made for the user alone: the register holds personal identity numbers.
    if (d.byDefault && platform::makePrivatePath(d.path)) continue;
    reported << d.path;
    program_.svc.dialogs.messageBox(QStringLiteral("Brak katalogu ") + d.path, QStringLiteral("Rejestr Transakcji"),
                                    platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  }
  // What writers killed at their work left in this institution's folders (a partial report in the
  // folder the reports are taken from); no writer runs before the windows read their data.
  for (const QString& k : {f.KatDan, f.KatEks, wczytajIO(reg, program_.aktualneIO).archdir})
    platform::removeWholeFileTemporaries(k);
  return true;
}

}  // namespace zelt
