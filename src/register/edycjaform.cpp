#include "register/edycjaform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTabBar>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/geometry.h"
#include "platform/guard.h"
#include "register/karta.h"
#include "register/listykarty.h"
#include "register/numeracja.h"
#include "register/program.h"
#include "register/glownyform.h"
#include "register/werform.h"
#include "register/zapiskarty.h"
#include "reports/drukkarty.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/konfigform.h"
#include "settings/podpowform.h"

namespace zelt {

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The party's name as its record holds it.
constexpr int kDlugoscNazwy = 140;

// The lowest date typed into a date field; a stored earlier date lowers it for its card only.
const QDate kNajwczesniej(2002, 1, 1);

void wypelnijListe(QComboBox* c, const std::vector<std::string>& pozycje) {
  QStringList l;
  for (const auto& p : pozycje) l << cp1250::toQ(p);
  c->clear();
  c->addItems(l);
}

bool enter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }
bool tab(const QKeyEvent* e) { return e->key() == Qt::Key_Tab && !(e->modifiers() & Qt::ShiftModifier); }

const char* const kHintTyp = "Kod statusu prawnego podmiotu. W przypadku wybrania 00 - inny należy podać szczegóły w polu uwag.";
const char* const kHintNazwa =
    "Nazwisko i imię osoby fizycznej lub nazwa osoby prawnej, jednostki organizacyjnej nie posiadającej osobowości "
    "prawnej.";
const char* const kHintObyw =
    "Symbol kraju, którego osoba fizyczna jest obywatelem (ISO 3166 dwuliterowy). W przypadku podwójnego "
    "obywatelstwa należy podać w polu uwagi szczegóły.";
const char* const kHintKraj =
    "Symbol kraju zameldowania osoby fizycznej albo siedziby osoby prawnej lub jednostki organizacyjnej nie "
    "posiadającej osobowości prawnej.";
const char* const kHintKod =
    "Kod miejscowości zameldowania osoby fizycznej albo siedziby osoby prawnej lub jednostki organizacyjnej nie "
    "posiadającej osobowości prawnej.";
const char* const kHintMiejscowosc =
    "Nazwa miejscowości zameldowania osoby fizycznej albo siedziby osoby prawnej lub jednostki organizacyjnej nie "
    "posiadającej osobowości prawnej.";
const char* const kHintUlica =
    "Nazwa ulicy (placu, alei) oraz nr domu, mieszkania w miejscowości zameldowania osoby fizycznej albo siedziby "
    "osoby prawnej lub jednostki organizacyjnej nie posiadającej osobowości prawnej.";
const char* const kHintNaListe =
    "Wprowadzenie na listę kontrahentów w celu szybszego wprowadzenia danych dla kolejnych transakcji z tym samym "
    "kontrahentem.";
const char* const kHintZListy = "Szybkie wprowadzenie danych kontrahenta wcześniej wpisanego na listę.";
const char* const kHintWalut = "Wykaz kodów walut";

}  // namespace

TedycjaForm::TedycjaForm(Program& program) : program_(program) {
  setObjectName("edycjaForm");
  setWindowTitle(u("Karta Transakcji - ZELT"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  Wprowadzanie = new QTabWidget(this);
  Wprowadzanie->setObjectName("Wprowadzanie");
  Wprowadzanie->tabBar()->setExpanding(false);
  Wprowadzanie->setUsesScrollButtons(false);
  zbudujIdentyfikacje();
  zbudujTransakcje();
  zbudujPodmiot(3);
  zbudujPodmiot(4);
  zbudujPodmiot(5);
  zbudujRachunki();
  zbudujUwagi();

  zapisz = przycisk(this, "zapisz", "&Zapisz", "Zapis karty transakcji i wyjście");
  Weryfikuj = przycisk(this, "Weryfikuj", "&Weryfikuj", "Weryfikacja poprawności danych");
  wyjdz = przycisk(this, "wyjdz", "&Powrót", "Wyjście bez zapisu zmian");
  auto* przyciski = new QHBoxLayout;
  przyciski->addWidget(zapisz);
  przyciski->addStretch();
  przyciski->addWidget(Weryfikuj);
  przyciski->addStretch();
  przyciski->addWidget(wyjdz);
  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(6, 6, 6, 6);
  lay->setSpacing(6);
  lay->addWidget(Wprowadzanie, 1);
  lay->addLayout(przyciski);

  ustawKolejnosc();
  powiaz();
  powiazPodmioty();
  setCloseResult(platform::mrCancel);

  // The design's size, or more where the pages need it so that nothing is clipped.
  const QSize potrzebne = minimumSizeHint();
  setFixedSize(std::max(600, potrzebne.width()), std::max(452, potrzebne.height()));

  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* stary, QWidget* nowy) {
    platform::guarded(program_.svc.dialogs, [&] { zmianaFokusu(stary, nowy); });
  });
}

// ---- building ----

QWidget* TedycjaForm::strona(const char* name, const QString& caption) {
  auto* s = new QWidget;
  s->setObjectName(name);
  Wprowadzanie->addTab(s, caption);
  return s;
}

QLabel* TedycjaForm::etykieta(QWidget* parent, const char* text, QWidget* dla) {
  auto* l = new QLabel(u(text), parent);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  if (dla) {
    l->setBuddy(dla);
    etykiety_[dla] = l;
  }
  return l;
}

QLineEdit* TedycjaForm::edycja(QWidget* parent, const char* name, int limit, const char* hint) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMaxLength(limit);
  if (hint) e->setToolTip(u(hint));
  e->installEventFilter(this);
  platform::guardEdit(e);
  return e;
}

QPlainTextEdit* TedycjaForm::nazwa(QWidget* parent, const char* name, const char* hint) {
  auto* e = new QPlainTextEdit(parent);
  e->setObjectName(name);
  e->setToolTip(u(hint));
  e->setTabChangesFocus(true);
  e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  e->setFixedHeight(2 * e->fontMetrics().lineSpacing() + 10);
  e->installEventFilter(this);
  // Typed or pasted text as every stored text: a line break or a tab becomes a blank.
  platform::guardEdit(e, kDlugoscNazwy);
  return e;
}

QComboBox* TedycjaForm::lista(QWidget* parent, const char* name, bool tekstowa, const char* hint) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  // A list whose item index is stored takes no typed text (it would store -1); a text list takes
  // typed text without making it an item.
  c->setEditable(tekstowa);
  c->setInsertPolicy(QComboBox::NoInsert);
  c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  c->setMinimumContentsLength(8);
  if (hint) c->setToolTip(u(hint));
  c->installEventFilter(this);
  if (tekstowa) platform::guardEdit(c);
  return c;
}

QPushButton* TedycjaForm::przycisk(QWidget* parent, const char* name, const char* caption, const char* hint) {
  auto* b = new QPushButton(u(caption), parent);
  b->setObjectName(name);
  // No default button: Enter in a field presses nothing.
  b->setAutoDefault(false);
  b->setDefault(false);
  if (hint) b->setToolTip(u(hint));
  b->installEventFilter(this);
  return b;
}

QDateEdit* TedycjaForm::data(QWidget* parent, const char* name, const char* hint) {
  auto* d = new QDateEdit(parent);
  d->setObjectName(name);
  d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  d->setCalendarPopup(true);
  d->setMinimumDate(kNajwczesniej);
  d->setMaximumDate(QDate(9999, 12, 31));
  d->setToolTip(u(hint));
  d->installEventFilter(this);
  return d;
}

void TedycjaForm::zbudujIdentyfikacje() {
  QWidget* s = strona("Identyfikacja", u("1.Identyfikacja"));
  auto* g = new QGridLayout(s);
  g->setVerticalSpacing(6);
  nrEwT = edycja(s, "nrEwT", 25,
                 "Niepowtarzalny numer transakcji w ewidencji instytucji obowiązanej prowadzonej na podstawie "
                 "odrębnych przepisów");
  RozNum = new QLabel(s);
  RozNum->setObjectName("RozNum");
  NrRejDat = lista(s, "NrRejDat", true, "Numer sekwencyjny transakcji w dniu wskazanym w polu 03.");
  rejDat = data(s, "rejDat", "Data wprowadzenia transakcji do rejestru instytucji obowiązanej");
  jedIO = lista(s, "jedIO", true,
                "Numer jednostki realizującej dyspozycję do przeprowadzenia transakcji, który jest nadawany w ramach "
                "wewnętrznych procedur przez jednostkę obowiązaną. Jest to kod unikatowy bez możliwości powtórnego "
                "wykorzystania");
  Status = lista(s, "Status", false,
                 "Kod statusu informacji przekazywanych o transakcji przez jednostkę obowiązaną gdy - korekta "
                 "transakcji należy wypełnić jedynie pola 01-05 (identyfikacja) oraz pola, których korekta dotyczy.");
  int r = 0;
  g->addWidget(etykieta(s, "01.Numer ewidencyjny transakcji", nrEwT), r, 0);
  auto* numer = new QHBoxLayout;
  numer->addWidget(nrEwT, 3);
  numer->addWidget(RozNum, 2);
  g->addLayout(numer, r++, 1);
  g->addWidget(etykieta(s, "02.Numer rejestracji transakcji", NrRejDat), r, 0);
  g->addWidget(NrRejDat, r++, 1, Qt::AlignLeft);
  g->addWidget(etykieta(s, "03.Data rejestracji transakcji (rrrr mm dd)", rejDat), r, 0);
  g->addWidget(rejDat, r++, 1, Qt::AlignLeft);
  g->addWidget(etykieta(s, "04.Numer jednostki organizacyjnej", jedIO), r, 0);
  g->addWidget(jedIO, r++, 1);
  g->addWidget(etykieta(s, "05.Status rekordu transakcji", Status), r, 0);
  g->addWidget(Status, r++, 1);
  NrRejDat->setMinimumContentsLength(6);

  Info = new QGroupBox(QStringLiteral("Info"), s);
  Info->setObjectName("Info");
  auto* gi = new QGridLayout(Info);
  auto tylkoDoOdczytu = [&](const char* name) {
    QLineEdit* e = edycja(Info, name, 255, nullptr);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::ClickFocus);
    return e;
  };
  ilblad = tylkoDoOdczytu("ilblad");
  ilos = tylkoDoOdczytu("ilos");
  Wprowa = tylkoDoOdczytu("Wprowa");
  ilblad->setFixedWidth(50);
  ilos->setFixedWidth(50);
  bdr = new QCheckBox(u("- była wydrukowana karta transakcji"), Info);
  bdr->setObjectName("bdr");
  bpl = new QCheckBox(u("- był wygenerowany plik"), Info);
  bpl->setObjectName("bpl");
  gi->addWidget(ilblad, 0, 0);
  gi->addWidget(new QLabel(u("- ilość błędów"), Info), 0, 1);
  gi->addWidget(ilos, 1, 0);
  gi->addWidget(new QLabel(u("- ilość ostrzeżeń"), Info), 1, 1);
  gi->addWidget(bdr, 2, 0, 1, 3);
  gi->addWidget(bpl, 3, 0, 1, 3);
  gi->addWidget(new QLabel(u("Osoba wprowadzająca dokument - "), Info), 4, 0, 1, 2);
  gi->addWidget(Wprowa, 4, 2);
  gi->setColumnStretch(2, 1);
  g->addWidget(Info, r++, 0, 1, 2);
  g->setRowStretch(r, 1);
  g->setColumnStretch(1, 1);
}

void TedycjaForm::zbudujTransakcje() {
  QWidget* s = strona("Transakcja", u("2.Transakcja"));
  auto* g = new QGridLayout(s);
  g->setVerticalSpacing(5);
  kRodzTr = edycja(s, "kRodzTr", 4,
                   "Symbol rodzaju transakcji klawisz podpowiedź ułatwi wpisanie właściwego kodu");
  kRodzTrPod = przycisk(s, "kRodzTrPod", "Podpowiedź", "Pomaga wybrać właściwy kod transakcji");
  kPwz = lista(s, "kPwz", false,
               "W przypadku wpisania kodu transakcji powiązanej w polu uwag należy podać szczegóły");
  kPdjrz = lista(s, "kPdjrz", true,
                 "W przypadku wypełnienia tego pola w polu uwagi należy podać szczegóły. Po uzgodnieniu z ZELT "
                 "instytucja obowiązana może otrzymać dwu cyfrowe oznaczenia wskazujące okoliczności, że środki użyte "
                 "mogą pochodzić z nielegalnych lub nieujawnionych źródeł.");
  spDysp = lista(s, "spDysp", false,
                 "Symbol sposobu wydania dyspozycji w przypadku wybrania 0 - inne należy w polu uwagi podać "
                 "szczegóły.");
  nrDokT = edycja(s, "nrDokT", 12,
                  "Numer dokumentu na podstawie którego zrealizowana została trasakcja, np. nr czeku, nr umowy itp.");
  tDat = data(s, "tDat", "data przeprowadzenia transakcji przez instytucję obowiązaną");
  tM = edycja(s, "tM", 35, "Miejscowość w której została zrealizowana transakcja.");
  tKw = edycja(s, "tKw", 15,
               "Kwota zrealizowanej transakcji. Separator miejsc dziesiętnych: znak przecinka. Kwotę podać z "
               "dokładnościa dwóch miejsc po przecinku");
  tJ = edycja(s, "tJ", 3,
              "Symbol waluty zgodnie z symbolami walutowymi ISO 4217 (w przypadku polskich złotych: PLN).");
  PodtJ = przycisk(s, "PodtJ", "Podpowiedź", kHintWalut);
  tKwZ = edycja(s, "tKwZ", 15,
                "Kwota po dokonaniu wymiany wartości dewizowych (pole to należy wypełniać tylko w przypadku wymiany "
                "wartości dewizowych)  Separator miejsc dziesiętnych: znak przecinka. Kwotę podać z dokładnościa "
                "dwóch miejsc po przecinku");
  tJZ = edycja(s, "tJZ", 3,
               "Symbol waluty po dokonaniu wymiany wartości dewizowych (pole to należy wypełniać tylko w przypadku "
               "wymiany wartości dewizowych) zgodnie z symbolami walutowymi ISO 4217 (w przypadku polskich złotych: "
               "PLN).");
  PodtJZ = przycisk(s, "PodtJZ", "Podpowiedź", kHintWalut);
  for (QLineEdit* e : {kRodzTr, tJ, tJZ}) e->setFixedWidth(60);

  int r = 0;
  auto wiersz = [&](const char* text, QWidget* w, QWidget* obok = nullptr, bool waski = false) {
    g->addWidget(etykieta(s, text, w), r, 0);
    if (obok) {
      auto* h = new QHBoxLayout;
      h->addWidget(w);
      h->addWidget(obok);
      h->addStretch();
      g->addLayout(h, r, 1);
    } else {
      g->addWidget(w, r, 1, waski ? Qt::AlignLeft : Qt::Alignment());
    }
    ++r;
  };
  wiersz("06.Kod rodzaju transakcji", kRodzTr, kRodzTrPod);
  wiersz("07.Kod powiązania transakcji", kPwz);
  wiersz("08.Kod transakcji podejrzanej", kPdjrz);
  wiersz("09.Sposób wydania dyspozycji", spDysp);
  wiersz("10.Numer dokumentu transakcji", nrDokT);
  wiersz("11.Data realizacji transakcji", tDat, nullptr, true);
  wiersz("12.Miejsce realizacji transakcji", tM);
  wiersz("13.Kwota transakcji", tKw);
  wiersz("14.Jednostka transakcji", tJ, PodtJ);
  wiersz("15.Kwota transakcji po zamianie ", tKwZ);
  wiersz("16.Jednostka trans. po zamianie", tJZ, PodtJZ);
  g->setRowStretch(r, 1);
  g->setColumnStretch(1, 1);
}

void TedycjaForm::zbudujPodmiot(int nr) {
  const bool z = nr == 3, p = nr == 4;
  QWidget* s = z ? strona("Dysponenci", u("3.Dysponenci"))
                 : p ? strona("WImieniu", u("4.W imieniu")) : strona("Beneficjenci", u("5.Beneficjenci"));
  auto* g = new QGridLayout(s);
  g->setVerticalSpacing(4);
  // The page's controls share their names but for the first letter.
  auto nazwaObiektu = [&](const char* rdzen) { return std::string(z ? "z" : p ? "p" : "b") + rdzen; };
  auto* lis = lista(s, nazwaObiektu("Lis").c_str(), false, nullptr);
  auto* dodaj = przycisk(s, nazwaObiektu("Dodaj").c_str(), "Dodaj", nullptr);
  auto* usun = przycisk(s, nazwaObiektu("Usun").c_str(), "Usuń", nullptr);
  auto* typ = lista(s, nazwaObiektu("TypPo").c_str(), false, kHintTyp);
  auto* nz = nazwa(s, nazwaObiektu("Nz").c_str(), kHintNazwa);
  auto* kr = edycja(s, nazwaObiektu("AdrKr").c_str(), 2, z ? kHintKraj : p ? kHintKraj : kHintObyw);
  auto* podKr = przycisk(s, z ? "PodzAdrKr" : p ? "PodpAdrKr" : "PodbAdrKr", "Podpowiedź", nullptr);
  auto* kod = edycja(s, nazwaObiektu("AdrKod").c_str(), 10, kHintKod);
  auto* m = edycja(s, nazwaObiektu("AdrM").c_str(), 35, kHintMiejscowosc);
  auto* ul = edycja(s, nazwaObiektu("AdrUl").c_str(), 35, kHintUlica);
  auto* naLis = przycisk(s, z ? "DysNaLis" : p ? "PelNaLis" : "BenNaLis", "Wprowadź &na listę", kHintNaListe);
  auto* zLisB = przycisk(s, z ? "DysZLis" : p ? "PelZLis" : "BenZLis", "Wprowadź &z listy", kHintZListy);
  kr->setFixedWidth(40);

  auto* gora = new QHBoxLayout;
  gora->addWidget(etykieta(s, z ? "Lista dysponentów : " : p ? "Lista : " : "Lista beneficjentów : ", nullptr));
  gora->addWidget(lis, 1);
  gora->addWidget(dodaj);
  gora->addWidget(usun);
  int r = 0;
  g->addLayout(gora, r++, 0, 1, 4);
  const char* numery[] = {z ? "17.Typ podmiotu" : p ? "31.Typ podmiotu" : "37.Typ podmiotu",
                          z ? "18.Nazwisko, imię / nazwa" : p ? "32.Nazwisko, imię / nazwa" : "38.Nazwisko, imię / nazwa",
                          z ? "20.Kraj" : p ? "33.Kraj" : "39.Kraj",
                          z ? "21.Kod pocztowy" : p ? "34.Kod pocztowy" : "40.Kod pocztowy",
                          z ? "22.Miejscowość" : p ? "35.Miejscowość" : "41.Miejscowość",
                          z ? "23.Ulica" : p ? "36.Ulica" : "42.Ulica"};
  g->addWidget(etykieta(s, numery[0], typ), r, 0);
  g->addWidget(typ, r++, 1, 1, 3);
  g->addWidget(etykieta(s, numery[1], nz), r, 0, Qt::AlignTop);
  g->addWidget(nz, r++, 1, 1, 3);
  auto krajZPrzyciskiem = [&](QLineEdit* e, QPushButton* b, QPushButton* b2 = nullptr) {
    auto* h = new QHBoxLayout;
    h->addWidget(e);
    h->addWidget(b);
    if (b2) h->addWidget(b2);
    h->addStretch();
    return h;
  };
  if (z) {
    zObyw = edycja(s, "zObyw", 2, kHintObyw);
    zObyw->setFixedWidth(40);
    PodzObyw = przycisk(s, "PodzObyw", "Podpowiedź", nullptr);
    dwaobyw = przycisk(s, "dwaobyw", "Drugie obywatelstwo", nullptr);
    zNrPes = edycja(s, "zNrPes", 11, "Numer PESEL osoby fizycznej");
    zNrReg = edycja(s, "zNrReg", 9, "Numer REGON podmiotu prowadzącego działalność gospodarczą.");
    zNrReS = edycja(s, "zNrReS", 10,
                    "Numer rejestru sądowego podmiotu ( w polu należy podać rodzaj numeru KRS. W razie nie posiadania "
                    "przez podmiot numeru KRS należy wpisać numer RHB.");
    zNrSwt = edycja(s, "zNrSwt", 15, "Numer SWIFT instytucji finansowej.");
    zNip = edycja(s, "zNip", 10, "Nip podmiotu.");
    zRodzDokTo = lista(s, "zRodzDokTo", false,
                       "Symbol dokumentu tożsamości na podstawie, którego stwierdzono tożsamość osoby fizycznej gdy kod "
                       "00 - inny należy podać szczegóły w polu uwagi.");
    zNrDokTo = edycja(s, "zNrDokTo", 25,
                      "Seria, numer dokumentu tożsamości na podstawie, którego stwierdzono tożsamość osoby fizycznej.");
    // Two columns: the address on the left, the numbers on the right.
    const int start = r;
    g->addWidget(etykieta(s, "19.Obywatelstwo", zObyw), r, 0);
    g->addLayout(krajZPrzyciskiem(zObyw, PodzObyw), r++, 1);
    g->addWidget(dwaobyw, r++, 1, Qt::AlignLeft);
    g->addWidget(etykieta(s, numery[2], kr), r, 0);
    g->addLayout(krajZPrzyciskiem(kr, podKr), r++, 1);
    g->addWidget(etykieta(s, numery[3], kod), r, 0);
    g->addWidget(kod, r++, 1);
    g->addWidget(etykieta(s, numery[4], m), r, 0);
    g->addWidget(m, r++, 1);
    g->addWidget(etykieta(s, numery[5], ul), r, 0);
    g->addWidget(ul, r++, 1);
    int r2 = start;
    const std::pair<const char*, QLineEdit*> numeryPodmiotu[] = {{"24.Numer PESEL", zNrPes},
                                                                 {"25.Numer REGON", zNrReg},
                                                                 {"26.Numer rejestru sądowego", zNrReS},
                                                                 {"27.Numer SWIFT", zNrSwt},
                                                                 {"28.Numer NIP", zNip}};
    for (const auto& [tekst, e] : numeryPodmiotu) {
      g->addWidget(etykieta(s, tekst, e), r2, 2);
      g->addWidget(e, r2++, 3);
    }
    r = std::max(r, r2);
    g->addWidget(etykieta(s, "29.Dokument tożsamości", zRodzDokTo), r, 0);
    g->addWidget(zRodzDokTo, r++, 1, 1, 3);
    g->addWidget(etykieta(s, "30.Seria, numer dokumentu tożsamości", zNrDokTo), r, 0);
    g->addWidget(zNrDokTo, r++, 1, 1, 3);
  } else {
    g->addWidget(etykieta(s, numery[2], kr), r, 0);
    g->addLayout(krajZPrzyciskiem(kr, podKr), r++, 1, 1, 3);
    g->addWidget(etykieta(s, numery[3], kod), r, 0);
    g->addWidget(kod, r++, 1, 1, 3);
    g->addWidget(etykieta(s, numery[4], m), r, 0);
    g->addWidget(m, r++, 1, 1, 3);
    g->addWidget(etykieta(s, numery[5], ul), r, 0);
    g->addWidget(ul, r++, 1, 1, 3);
  }
  g->setRowStretch(r++, 1);
  auto* dol = new QHBoxLayout;
  dol->addWidget(naLis);
  dol->addStretch();
  dol->addWidget(zLisB);
  g->addLayout(dol, r, 0, 1, 4);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(3, 1);

  if (z) {
    zLis = lis, zDodaj = dodaj, zUsun = usun, zTypPo = typ, zNz = nz, zAdrKr = kr, PodzAdrKr = podKr;
    zAdrKod = kod, zAdrM = m, zAdrUl = ul, DysNaLis = naLis, DysZLis = zLisB;
  } else if (p) {
    pLis = lis, pDodaj = dodaj, pUsun = usun, pTypPo = typ, pNz = nz, pAdrKr = kr, PodpAdrKr = podKr;
    pAdrKod = kod, pAdrM = m, pAdrUl = ul, PelNaLis = naLis, PelZLis = zLisB;
  } else {
    bLis = lis, bDodaj = dodaj, bUsun = usun, bTypPo = typ, bNz = nz, bAdrKr = kr, PodbAdrKr = podKr;
    bAdrKod = kod, bAdrM = m, bAdrUl = ul, BenNaLis = naLis, BenZLis = zLisB;
  }
}

void TedycjaForm::zbudujRachunki() {
  QWidget* s = strona("Rachunki", u("6.Rachunki uczestniczące"));
  auto* g = new QGridLayout(s);
  nrRachZ = edycja(s, "nrRachZ", 56,
                   "Numer rachunku podmiotu wydającego dyspozycję w swoim imieniu lub w imieniu, którego dyspozycję "
                   "wydano.");
  nrRachN = edycja(s, "nrRachN", 56, "Numer rachunku beneficjenta.");
  g->addWidget(etykieta(s, "43.Numer rachunku źródłowego", nrRachZ), 0, 0);
  g->addWidget(nrRachZ, 1, 0);
  g->addWidget(etykieta(s, "44.Numer rachunku docelowego", nrRachN), 2, 0);
  g->addWidget(nrRachN, 3, 0);
  g->setRowStretch(4, 1);
}

void TedycjaForm::zbudujUwagi() {
  QWidget* s = strona("Uwagi", u("7.Uwagi"));
  auto* v = new QVBoxLayout(s);
  v->setSpacing(1);
  v->setContentsMargins(6, 4, 6, 4);
  struct Uwaga {
    QLineEdit*& e;
    const char* name;
    const char* label;
    int limit;
    const char* hint;
  };
  // The limits are those of the register record's fields.
  const Uwaga uwagi[] = {
      {uwkRodzTr, "uwkRodzTr", "45. a) Uwagi dotyczące pola 06.Kod rodzaju transakcji", 255,
       "Jeżeli w polu 06.Kod rodzaju transakcji wybrano inny należy podać szczegóły"},
      {uwkPwz, "uwkPwz", "45. b) Uwagi dotyczące pola 07.Kod powiązania transakcji", 255,
       "Jeżeli w polu 07.Kod powiązania transakcji wybrano transakcję powiązaną należy podać szczegóły m.in. z jaką "
       "lub jakimi transakcjami jest powiązana."},
      {uwkPdjrz, "uwkPdjrz", "45. c) Uwagi dotyczące pola 08.Kod transakcji podejrzanej", 255,
       "Jeżeli wypełniono pole 08.Kod transakcji podejrzanej należy podać szczegóły"},
      {uwspDysp, "uwspDysp", "45. d) Uwagi dotyczące pola 09.Sposób wydania dyspozycji", 255,
       "Jeżeli w polu 09.Sposób wydania dyspozycji wybrano inny należy podać szczegóły"},
      {uwzTypPo, "uwzTypPo", "45. e) Uwagi dotyczące pola 17.Typ podmiotu dysponenta", 255,
       "Jeżeli w polu 17.Typ podmiotu dysponenta wybrano inny należy podać szczegóły"},
      {uwzObyw, "uwzObyw", "45. f) Uwagi dotyczące pola 19.Drugie obywatelstwo dysponenta", 255, nullptr},
      {uwzRodzDokTo, "uwzRodzDokTo", "45. g) Uwagi dotyczące pola 29.Dokument tożsamości dysponenta", 255, nullptr},
      {uwpTypPo, "uwpTypPo", "45. h) Uwagi dotyczące pola 31.Typ podmiotu w imieniu którego jest dyspozycja", 255,
       nullptr},
      {uwbTypPo, "uwbTypPo", "45. i) Uwagi dotyczące pola 37.Typ podmiotu beneficjenta", 127, nullptr},
      {uwInne, "uwInne", "45. Uwagi dotyczące pozostałych pól wpisać numer pola : treść uwag", 127, nullptr},
  };
  for (const auto& w : uwagi) {
    w.e = edycja(s, w.name, w.limit, w.hint);
    v->addWidget(etykieta(s, w.label, w.e));
    v->addWidget(w.e);
    v->addSpacing(2);
  }
  v->addStretch(1);
}

void TedycjaForm::ustawKolejnosc() {
  // The controls that are no tab stops keep their places: Tab passes over them, Enter does not.
  kolejnosc_ = {
      {nrEwT, rejDat, jedIO, Status, NrRejDat},
      {kRodzTrPod, kPwz, kPdjrz, spDysp, nrDokT, tDat, tM, tKw, PodtJ, tKwZ, PodtJZ, kRodzTr, tJ, tJZ},
      {zTypPo, zNz, PodzObyw, PodzAdrKr, zAdrKod, zAdrM, zAdrUl, zNrPes, zNrReg, zNrReS, zNrSwt, zNip, zRodzDokTo,
       zNrDokTo, zObyw, zAdrKr, dwaobyw, zLis, zDodaj, zUsun},
      {pTypPo, pNz, PodpAdrKr, pAdrKod, pAdrM, pAdrUl, pAdrKr, pLis, pDodaj, pUsun},
      {bTypPo, bNz, PodbAdrKr, bAdrKod, bAdrM, bAdrUl, bAdrKr, bLis, bDodaj, bUsun},
      {nrRachZ, nrRachN},
      {uwkRodzTr, uwkPwz, uwkPdjrz, uwspDysp, uwzTypPo, uwzObyw, uwzRodzDokTo, uwpTypPo, uwbTypPo, uwInne},
  };
  QWidget* poprzedni = nullptr;
  for (const auto& s : kolejnosc_)
    for (QWidget* w : s) {
      if (poprzedni) setTabOrder(poprzedni, w);
      poprzedni = w;
    }
  // Reached by the mouse or by the program, never by Tab.
  for (QWidget* w : std::initializer_list<QWidget*>{Status, kRodzTr, tJ, tJZ, zObyw, zAdrKr, dwaobyw, pAdrKr, bAdrKr,
                                                    DysNaLis, DysZLis, PelNaLis, PelZLis, BenNaLis, BenZLis, zapisz,
                                                    Weryfikuj, wyjdz})
    w->setFocusPolicy(Qt::ClickFocus);
  // A click on a tab focuses the tab row, as leaving a field for it; a page shown so puts the focus
  // into none of its fields, so that looking through the pages checks nothing.
  Wprowadzanie->tabBar()->setFocusPolicy(Qt::StrongFocus);
  Wprowadzanie->tabBar()->installEventFilter(this);
}

// ---- model both ways ----

void TedycjaForm::wiaz(QLineEdit* e, std::string* pole, std::function<void()> poZmianie) {
  // Shown in upper case, and so stored.
  const bool wielkie = e == tJ || e == zObyw || e == zAdrKr || e == pAdrKr || e == bAdrKr;
  connect(e, &QLineEdit::textEdited, this, [this, e, pole, poZmianie, wielkie](const QString& t) {
    if (ladowanie_) return;
    // By the code page's own upper case, so that a letter never turns into one it cannot hold.
    const QString duze = wielkie ? cp1250::toQ(cp1250::toUpper(cp1250::fromUnicode(t))) : t;
    if (duze != t) {
      const int kursor = e->cursorPosition();
      e->setText(duze);
      e->setCursorPosition(kursor);
      e->setModified(true);  // still the user's text, under the typing rule
    }
    *pole = cp1250::fromUnicode(e->text());
    if (poZmianie) platform::guarded(program_.svc.dialogs, poZmianie);
  });
  zModelu_.push_back([e, pole] {
    const QString t = cp1250::toQ(*pole);
    if (e->text() != t) e->setText(t);
  });
}

void TedycjaForm::wiaz(QPlainTextEdit* e, std::string* pole) {
  connect(e, &QPlainTextEdit::textChanged, this, [this, e, pole] {
    if (ladowanie_) return;
    *pole = cp1250::fromUnicode(e->toPlainText());
  });
  zModelu_.push_back([e, pole] {
    const QString t = cp1250::toQ(*pole);
    if (e->toPlainText() != t) e->setPlainText(t);
  });
}

void TedycjaForm::wiazIndeks(QComboBox* c, std::int32_t* pole, std::function<bool(std::int32_t)> zmiana) {
  connect(c, &QComboBox::activated, this, [this, pole, zmiana](int i) {
    if (ladowanie_) return;
    platform::guarded(program_.svc.dialogs, [&] {
      if (zmiana) zmiana(i);
      else *pole = i;
      widocznosc();
    });
  });
  // An index that the list cannot show stays in the card until the user chooses an item.
  zModelu_.push_back([c, pole] { c->setCurrentIndex(*pole >= 0 && *pole < c->count() ? *pole : -1); });
}

void TedycjaForm::wiazTekst(QComboBox* c, std::string* pole, std::function<void()> poZmianie) {
  auto zmiana = [this, pole, poZmianie](const QString& t) {
    if (ladowanie_) return;
    *pole = cp1250::fromUnicode(t);
    if (poZmianie) platform::guarded(program_.svc.dialogs, poZmianie);
  };
  connect(c->lineEdit(), &QLineEdit::textEdited, this, zmiana);
  connect(c, &QComboBox::activated, this, [c, zmiana](int i) { zmiana(c->itemText(i)); });
  zModelu_.push_back([c, pole] {
    const QString t = cp1250::toQ(*pole);
    if (c->currentText() != t) c->setEditText(t);
  });
}

void TedycjaForm::wiaz(QDateEdit* d, double* pole, std::function<void()> poZmianie) {
  connect(d, &QDateEdit::dateChanged, this, [this, pole, poZmianie](const QDate& data) {
    if (ladowanie_) return;
    *pole = platform::dateToDays(data);
    if (poZmianie) platform::guarded(program_.svc.dialogs, poZmianie);
  });
  zModelu_.push_back([d, pole] {
    // A stored date stays as it is: an early one lowers this card's minimum, none is bounded above.
    const auto data = platform::daysToDate(*pole);
    d->setMinimumDate(data && *data < kNajwczesniej ? *data : kNajwczesniej);
    if (data && d->date() != *data) d->setDate(*data);
  });
}

void TedycjaForm::powiaz() {
  Karta& k = program_.karta;
  // 1.Identyfikacja
  wiaz(nrEwT, &k.nrEwT);
  // A typed number chooses no record; an item chosen chooses its record.
  wiazTekst(NrRejDat, &k.NrRejDatTekst, [&k] { k.NrRejDatWybrany = -1; });
  wiaz(rejDat, &k.rejDat, [this] { rejDatChange(); });
  wiazTekst(jedIO, &k.jedIO, [this] { RozNumOdswiez(); });
  wiazIndeks(Status, &k.Status, {});
  zModelu_.push_back([this, &k] {
    // The lists whose items come with the card.
    QStringList numery;
    for (const auto& n : k.NrRejDat) numery << cp1250::toQ(n);
    QStringList obecne;
    for (int i = 0; i < NrRejDat->count(); ++i) obecne << NrRejDat->itemText(i);
    if (numery != obecne) {
      NrRejDat->clear();
      NrRejDat->addItems(numery);
    }
    NrRejDat->setCurrentIndex(k.NrRejDatWybrany >= 0 && k.NrRejDatWybrany < NrRejDat->count() ? k.NrRejDatWybrany : -1);
    NrRejDat->setEditText(cp1250::toQ(k.NrRejDatTekst));
    NrRejDat->setEnabled(k.NrRejDatAktywny);
    QStringList jednostki;
    for (const auto& j : k.jedIOPozycje) jednostki << cp1250::toQ(j);
    obecne.clear();
    for (int i = 0; i < jedIO->count(); ++i) obecne << jedIO->itemText(i);
    if (jednostki != obecne) {
      jedIO->clear();
      jedIO->addItems(jednostki);
    }
    jedIO->setEditText(cp1250::toQ(k.jedIO));
    RozNum->setText(cp1250::toQ(k.RozNum));
    ilblad->setText(cp1250::toQ(k.ilblad));
    ilos->setText(cp1250::toQ(k.ilos));
    Wprowa->setText(cp1250::toQ(k.Wprowa));
    bdr->setChecked(k.bdr);
    bpl->setChecked(k.bpl);
  });
  // 2.Transakcja
  wiaz(kRodzTr, &k.kRodzTr, [this, &k] {
    const bool uwaga = zmienKRodzTr(k, k.kRodzTr);
    widocznosc();
    if (uwaga) pokazUwage(uwkRodzTr);
  });
  wiazIndeks(kPwz, &k.kPwz, [this, &k](std::int32_t i) {
    if (zmienKPwz(k, i)) pokazUwage(uwkPwz);
    return true;
  });
  wiazTekst(kPdjrz, &k.kPdjrz, [this, &k] {
    const bool uwaga = zmienKPdjrz(k, k.kPdjrz);
    widocznosc();
    if (uwaga) pokazUwage(uwkPdjrz);
  });
  wiazIndeks(spDysp, &k.spDysp, [this, &k](std::int32_t i) {
    if (zmienSpDysp(k, i)) pokazUwage(uwspDysp);
    return true;
  });
  wiaz(nrDokT, &k.nrDokT);
  wiaz(tDat, &k.tDat, [this] { RozNumOdswiez(); });
  wiaz(tM, &k.tM);
  wiaz(tKw, &k.tKw);
  wiaz(tJ, &k.tJ);
  wiaz(tKwZ, &k.tKwZ);
  wiaz(tJZ, &k.tJZ);
  // 3.-5. the party pages
  wiazIndeks(zTypPo, &k.z.pola.TypPo, [this, &k](std::int32_t i) {
    if (zmienTypPo(k.z, i)) pokazUwage(uwzTypPo);
    return true;
  });
  wiaz(zNz, &k.z.pola.Nz);
  wiaz(zObyw, &k.z.pola.Obyw);
  wiaz(zAdrKr, &k.z.pola.AdrKr);
  wiaz(zAdrKod, &k.z.pola.AdrKod);
  wiaz(zAdrM, &k.z.pola.AdrM);
  wiaz(zAdrUl, &k.z.pola.AdrUl);
  wiaz(zNrPes, &k.z.pola.NrPes);
  wiaz(zNrReg, &k.z.pola.NrReg);
  wiaz(zNrReS, &k.z.pola.NrReS);
  wiaz(zNrSwt, &k.z.pola.NrSwt);
  wiaz(zNip, &k.z.pola.Nip);
  wiazIndeks(zRodzDokTo, &k.z.pola.RodzDokTo, [this, &k](std::int32_t i) {
    if (zmienRodzDokTo(k.z, i)) pokazUwage(uwzRodzDokTo);
    return true;
  });
  wiaz(zNrDokTo, &k.z.pola.NrDokTo);
  wiazIndeks(pTypPo, &k.p.pola.TypPo, [this, &k](std::int32_t i) {
    if (zmienTypPo(k.p, i)) pokazUwage(uwpTypPo);
    return true;
  });
  wiaz(pNz, &k.p.pola.Nz);
  wiaz(pAdrKr, &k.p.pola.AdrKr);
  wiaz(pAdrKod, &k.p.pola.AdrKod);
  wiaz(pAdrM, &k.p.pola.AdrM);
  wiaz(pAdrUl, &k.p.pola.AdrUl);
  wiazIndeks(bTypPo, &k.b.pola.TypPo, [this, &k](std::int32_t i) {
    if (zmienTypPo(k.b, i)) pokazUwage(uwbTypPo);
    return true;
  });
  wiaz(bNz, &k.b.pola.Nz);
  wiaz(bAdrKr, &k.b.pola.AdrKr);
  wiaz(bAdrKod, &k.b.pola.AdrKod);
  wiaz(bAdrM, &k.b.pola.AdrM);
  wiaz(bAdrUl, &k.b.pola.AdrUl);
  wiazListe(kRolaDysponenta, zLis, zDodaj, zUsun, zNz);
  wiazListe(kRolaWImieniu, pLis, pDodaj, pUsun, pNz);
  wiazListe(kRolaBeneficjenta, bLis, bDodaj, bUsun, bNz);
  // 6.-7.
  wiaz(nrRachZ, &k.nrRachZ);
  wiaz(nrRachN, &k.nrRachN);
  wiaz(uwkRodzTr, &k.uwkRodzTr);
  wiaz(uwkPwz, &k.uwkPwz);
  wiaz(uwkPdjrz, &k.uwkPdjrz);
  wiaz(uwspDysp, &k.uwspDysp);
  wiaz(uwzTypPo, &k.z.pola.uwTypPo);
  wiaz(uwzObyw, &k.z.pola.uwObyw);
  wiaz(uwzRodzDokTo, &k.z.pola.uwRodzDokTo);
  wiaz(uwpTypPo, &k.p.pola.uwTypPo);
  wiaz(uwbTypPo, &k.b.pola.uwTypPo);
  wiaz(uwInne, &k.uwInne);

  connect(wyjdz, &QPushButton::clicked, this, [this] { wyjdzClick(); });
  auto obsluga = [this](void (TedycjaForm::*fn)()) {
    return [this, fn] { platform::guarded(program_.svc.dialogs, [&] { (this->*fn)(); }); };
  };
  connect(kRodzTrPod, &QPushButton::clicked, this, obsluga(&TedycjaForm::kRodzTrPodClick));
  connect(PodtJ, &QPushButton::clicked, this, obsluga(&TedycjaForm::PodtJClick));
  connect(PodtJZ, &QPushButton::clicked, this, obsluga(&TedycjaForm::PodtJZClick));
  connect(dwaobyw, &QPushButton::clicked, this, obsluga(&TedycjaForm::dwaobywClick));
  connect(Weryfikuj, &QPushButton::clicked, this, obsluga(&TedycjaForm::WeryfikujClick));
  connect(zapisz, &QPushButton::clicked, this, obsluga(&TedycjaForm::zapiszClick));
  connect(NrRejDat, &QComboBox::activated, this, [this, &k](int i) {
    if (ladowanie_) return;
    k.NrRejDatWybrany = i;
    platform::guarded(program_.svc.dialogs, [&] { NrRejDatChange(); });
  });
  // Only the user's click: the program's own setting of a mark changes no count.
  connect(bdr, &QCheckBox::clicked, this, obsluga(&TedycjaForm::bdrClick));
  connect(bpl, &QCheckBox::clicked, this, obsluga(&TedycjaForm::bplClick));
  struct Kraj {
    QPushButton* przycisk;
    StronaPodmiotu Karta::*strona;
    std::string TRekordPodmiotu::*pole;
    QWidget* dalej;
  };
  const Kraj kraje[] = {{PodzObyw, &Karta::z, &TRekordPodmiotu::Obyw, PodzAdrKr},
                        {PodzAdrKr, &Karta::z, &TRekordPodmiotu::AdrKr, zAdrKod},
                        {PodpAdrKr, &Karta::p, &TRekordPodmiotu::AdrKr, pAdrKod},
                        {PodbAdrKr, &Karta::b, &TRekordPodmiotu::AdrKr, bAdrKod}};
  for (const Kraj& kr : kraje) {
    connect(kr.przycisk, &QPushButton::clicked, this, [this, kr] {
      platform::guarded(program_.svc.dialogs, [&] {
        if (TListaKodowForm* kraj = program_.kodykraj())
          podpowiedzKodu((program_.karta.*kr.strona).pola.*kr.pole, *kraj);
        ustawFokus(kr.dalej);
      });
    });
  }
}

void TedycjaForm::widocznosc() {
  const Karta& k = program_.karta;
  auto pokazane = [this](QWidget* w, bool tak) {
    w->setVisible(tak);
    if (auto it = etykiety_.find(w); it != etykiety_.end()) it->second->setVisible(tak);
  };
  pokazane(uwkRodzTr, k.uwkRodzTrWidoczna);
  uwkRodzTr->setEnabled(k.uwkRodzTrWidoczna);
  pokazane(uwkPwz, k.uwkPwzWidoczna);
  pokazane(uwkPdjrz, k.uwkPdjrzWidoczna);
  uwkPdjrz->setEnabled(k.uwkPdjrzWidoczna);
  pokazane(uwspDysp, k.uwspDyspWidoczna);
  uwspDysp->setEnabled(k.uwspDyspWidoczna);
  pokazane(uwzTypPo, k.z.uwTypPoWidoczna);
  pokazane(uwzObyw, k.z.uwObywWidoczna);
  pokazane(uwzRodzDokTo, k.z.uwRodzDokToWidoczna);
  pokazane(uwpTypPo, k.p.uwTypPoWidoczna);
  pokazane(uwbTypPo, k.b.uwTypPoWidoczna);
  pokazane(tKwZ, k.kwotaZWidoczna);
  pokazane(tJZ, k.kwotaZWidoczna);
  PodtJZ->setVisible(k.kwotaZWidoczna);
  // The rule may have emptied what it hid.
  ++ladowanie_;
  for (const auto& f : zModelu_) f();
  --ladowanie_;
}

void TedycjaForm::wiazListe(const OpisRoli& r, QComboBox* lis, QPushButton* dodaj, QPushButton* usun,
                            QPlainTextEdit* nz) {
  Karta& k = program_.karta;
  ListaPodmiotow& l = k.*(r.lista);
  StronaPodmiotu& s = k.*(r.strona);
  // The items are the entries' names; the shown entry's item is selected.
  auto pozycje = [this, lis, dodaj, usun, &l] {
    ++ladowanie_;
    QStringList nazwy;
    for (const auto& w : l.wpisy) nazwy << cp1250::toQ(w.Nz);
    QStringList obecne;
    for (int i = 0; i < lis->count(); ++i) obecne << lis->itemText(i);
    if (obecne != nazwy) {
      lis->clear();
      lis->addItems(nazwy);
    }
    lis->setCurrentIndex(l.indeks >= 1 && l.indeks <= lis->count() ? l.indeks - 1 : -1);
    dodaj->setEnabled(moznaDodac(l));
    usun->setEnabled(moznaUsunac(l));
    --ladowanie_;
  };
  zModelu_.push_back(pozycje);
  auto domyslne = [this] {
    const TKonfigForm* konfig = program_.konfig();
    return konfig ? konfig->domyslne() : DomyslneKarty{};
  };
  // The editor's own changes of the name (a new entry, a shown one) are the list operations' own.
  connect(nz, &QPlainTextEdit::textChanged, this, [this, &r, &l, &s, nz, pozycje] {
    if (ladowanie_) return;
    zmienNazwe(r, l, s, cp1250::fromUnicode(nz->toPlainText()));
    pozycje();
  });
  connect(lis, &QComboBox::activated, this, [this, &r, &l, &s](int i) {
    if (ladowanie_) return;
    wybierzWpis(r, l, s, i);
    pokazKarte();
  });
  connect(dodaj, &QPushButton::clicked, this, [this, &r, &l, &s, domyslne] {
    if (dodajWpis(r, l, s, domyslne())) pokazKarte();
  });
  connect(usun, &QPushButton::clicked, this, [this, &r, &l, &s, domyslne] {
    if (usunWpis(r, l, s, domyslne())) pokazKarte();
  });
}

void TedycjaForm::pokazKarte() {
  ++ladowanie_;
  for (const auto& f : zModelu_) f();
  widocznosc();
  --ladowanie_;
}

void TedycjaForm::pokazUwage(QLineEdit* uwaga) {
  widocznosc();
  if (isVisible()) przejdz(Uwagi, uwaga);
}

// ---- creation and showing ----

void TedycjaForm::FormCreate() {
  platform::restoreGeometry(program_.svc.reg, *this, "Edycja");
  wczytajListyKarty(program_, program_.listyKarty);
  const ListyKarty& l = program_.listyKarty;
  wypelnijListe(Status, l.Status);
  wypelnijListe(kPwz, l.kPwz);
  wypelnijListe(kPdjrz, l.kPdjrz);
  wypelnijListe(spDysp, l.spDysp);
  wypelnijListe(zRodzDokTo, l.zRodzDokTo);
  wypelnijListe(zTypPo, l.zTypPo);
  wypelnijListe(pTypPo, l.pTypPo);
  wypelnijListe(bTypPo, l.bTypPo);
  kPdjrz->setEditText(QStringLiteral("    "));
}

int TedycjaForm::pokaz() {
  zamykanie_ = false;
  pokazKarte();
  return program_.svc.dialogs.showModal(*this);
}

void TedycjaForm::FormActivate() {
  ++przejscie_;
  Wprowadzanie->setCurrentIndex(Identyfikacja);
  nrEwT->setFocus(Qt::OtherFocusReason);
  --przejscie_;
}

void TedycjaForm::showEvent(QShowEvent* e) {
  platform::ModalForm::showEvent(e);
  // Only the window's own showing; a picker or a message box closing shows nothing of it again.
  if (!e->spontaneous()) FormActivate();
}

void TedycjaForm::closeEvent(QCloseEvent* e) {
  zamykanie_ = true;
  platform::ModalForm::closeEvent(e);
}

void TedycjaForm::drukujkarte() { zelt::drukujkarte(program_); }

void TedycjaForm::wyjdzClick() {
  zamykanie_ = true;
  setModalResult(platform::mrCancel);
}

void TedycjaForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
    program_.pomoc(kHelpContext);
    return;
  }
  // Esc does not close the editor and Enter presses no button: either would save or drop the card.
  if (e->key() == Qt::Key_Escape || enter(e)) return;
  platform::ModalForm::keyPressEvent(e);
}

// ---- handlers ----

void TedycjaForm::rejDatChange() {
  Karta& k = program_.karta;
  k.NrRejDatTekst = wolnyNrRejDat(program_.transakDat(), k.rejDat);
  ++ladowanie_;
  NrRejDat->setEditText(cp1250::toQ(k.NrRejDatTekst));
  --ladowanie_;
}

void TedycjaForm::RozNumOdswiez() {
  Karta& k = program_.karta;
  const NumeracjaEwidencyjna n = program_.konfig() ? program_.konfig()->numeracja() : NumeracjaEwidencyjna{};
  k.RozNum = przyrostekNumeru(n, k.jedIO, platform::daysToDate(k.tDat).value_or(QDate()));
  RozNum->setText(cp1250::toQ(k.RozNum));
}

void TedycjaForm::rodzajZPodpowiedzi(int wynik) {
  Karta& k = program_.karta;
  const bool uwaga = zmienKRodzTr(k, kodRodzaju(wynik));
  widocznosc();
  if (uwaga) pokazUwage(uwkRodzTr);
}

void TedycjaForm::kRodzTrPodClick() {
  TpodpowForm* picker = program_.podpow();
  if (!picker) return;
  Karta& k = program_.karta;
  const auto [kategoria, tytul] = indeksyKoduRodzaju(k.kRodzTr);
  const bool oba = kategoria >= 0 && tytul >= 0;
  if (const auto w = picker->pokaz(oba ? kategoria : -1, oba ? tytul : -1)) {
    zmienKRodzTr(k, kodRodzaju(*w));
    widocznosc();
  }
  if (k.uwkRodzTrWidoczna && uwagaRodzaju(k.kRodzTr)) przejdz(Uwagi, uwkRodzTr);
  else przejdz(Transakcja, kRodzTr);
}

void TedycjaForm::podpowiedzKodu(std::string& pole, TListaKodowForm& picker) {
  const int i = picker.indeksKodu(pole);
  if (const auto w = picker.pokaz(i >= 0 ? i : 0)) {
    pole = picker.kod(*w);
    widocznosc();
  }
}

void TedycjaForm::PodtJClick() {
  if (TListaKodowForm* w = program_.kodwaluty()) podpowiedzKodu(program_.karta.tJ, *w);
  if (program_.karta.kwotaZWidoczna) przejdz(Transakcja, tKwZ);
  else przejdz(Dysponenci, zTypPo);
}

void TedycjaForm::PodtJZClick() {
  if (TListaKodowForm* w = program_.kodwaluty()) podpowiedzKodu(program_.karta.tJZ, *w);
  przejdz(Dysponenci, zTypPo);
}

WynikWeryfikacji TedycjaForm::weryfikacja() { return zelt::weryfikacja(program_); }

void TedycjaForm::WeryfikujClick() {
  Karta& k = program_.karta;
  zapiszPokazane(k);
  weryfikacja();
  k.ilblad = std::to_string(program_.licznikiRekordow.bledow);
  k.ilos = std::to_string(program_.licznikiRekordow.ostrzezen);
  pokazKarte();
  if (!program_.listyWer.saUwagi()) komunikat("Brak błędów");
  else if (program_.wer()) program_.wer()->pokazDoOdczytu();
}

void TedycjaForm::zapiszClick() {
  Karta& k = program_.karta;
  zapiszPokazane(k);
  const WynikWeryfikacji w = weryfikacja();
  pokazKarte();  // the check's tidying in sight, also when the user goes back to the card
  if (program_.listyWer.saUwagi()) {
    TWerForm* wer = program_.wer();
    if (!wer) return;
    const int r = w.blokuje ? wer->pokazDoOdczytu() : wer->pokazDoZapisu(QStringLiteral("Zapisz"));
    if (r == TWerForm::kAnuluj) {
      zamykanie_ = true;
      setModalResult(platform::mrCancel);
      return;
    }
    if (r != TWerForm::kPotwierdz || w.blokuje) return;
  }
  TglownyForm* glowny = program_.glowny();
  const NumeracjaEwidencyjna numeracja = program_.konfig() ? program_.konfig()->numeracja() : NumeracjaEwidencyjna{};
  if (zapiszKarte(program_, numeracja, w.numeryDnia, glowny ? glowny->lista : nullptr) != Zapis::Zapisano) return;
  if (glowny) glowny->ustawPrzyciski();
  zamykanie_ = true;
  setModalResult(platform::mrOk);
}

void TedycjaForm::NrRejDatChange() {
  Karta& k = program_.karta;
  if (k.NrRejDatWybrany < 0) return;
  const DomyslneKarty d = program_.konfig() ? program_.konfig()->domyslne() : DomyslneKarty{};
  wybierzRekordKarty(k, program_.licznikiRekordow, d, k.NrRejDatWybrany + 1);
  pokazKarte();
}

void TedycjaForm::bdrClick() {
  oznaczRekord(program_.karta, program_.licznikiRekordow, Znacznik::Wydruk, bdr->isChecked());
}

void TedycjaForm::bplClick() {
  oznaczRekord(program_.karta, program_.licznikiRekordow, Znacznik::Wysylka, bpl->isChecked());
}

void TedycjaForm::dwaobywClick() {
  drugieObywatelstwo(program_.karta.z);
  pokazUwage(uwzObyw);
}

// ---- focus, exit checks, keys ----

void TedycjaForm::ustawFokus(QWidget* w) {
  ++przejscie_;
  for (int s = 0; s < Wprowadzanie->count(); ++s)
    if (Wprowadzanie->widget(s)->isAncestorOf(w)) Wprowadzanie->setCurrentIndex(s);
  w->setFocus(Qt::OtherFocusReason);
  --przejscie_;
}

void TedycjaForm::przejdz(int strona, QWidget* cel) {
  QWidget* stary = kontrolka(QApplication::focusWidget());
  ++przejscie_;
  Wprowadzanie->setCurrentIndex(strona);
  cel->setFocus(Qt::TabFocusReason);
  --przejscie_;
  if (stary && stary != cel && !sprawdzanie_ && !zamykanie_) {
    sprawdzanie_ = true;
    platform::guarded(program_.svc.dialogs, [&] { sprawdzWyjscie(stary, cel); });
    sprawdzanie_ = false;
  }
}

QWidget* TedycjaForm::kontrolka(QWidget* w) const {
  // The focus may sit in a part of a control (a list's or a date's edit).
  while (w && w->parentWidget() &&
         (qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget())))
    w = w->parentWidget();
  return w && w->window() == this ? w : nullptr;
}

void TedycjaForm::zmianaFokusu(QWidget* stary, QWidget* nowy) {
  if (przejscie_ || sprawdzanie_ || zamykanie_ || !isVisible()) return;
  stary = kontrolka(stary);
  nowy = kontrolka(nowy);
  // Only a move to another control of this window: a picker, a message box, a popup or another
  // window is no exit, and neither is the way out without saving.
  if (!stary || !nowy || stary == nowy || nowy == wyjdz) return;
  sprawdzanie_ = true;
  sprawdzWyjscie(stary, nowy);
  sprawdzanie_ = false;
}

void TedycjaForm::komunikat(const char* utf8) { program_.svc.dialogs.showMessage(u(utf8)); }

void TedycjaForm::sprawdzKod(std::string& pole, TListaKodowForm& picker, const QString& blad) {
  if (picker.indeksKodu(pole) >= 0) return;
  program_.svc.dialogs.showMessage(blad);
  // A list with no usable code has nothing to give: the card check reports the field.
  if (!maUzytecznyKod(picker.pozycje(), picker.dlugoscKodu())) return;
  if (const auto w = picker.pokaz(0)) {
    pole = picker.kod(*w);
    widocznosc();
  }
}

void TedycjaForm::sprawdzRodzaj() {
  TpodpowForm* picker = program_.podpow();
  if (!picker) return;
  Karta& k = program_.karta;
  const int kategorii = std::min<int>(static_cast<int>(picker->kategorie().size()), kKategorieRodzaju);
  const int tytulow = std::min<int>(static_cast<int>(picker->tytuly().size()), kTytulyRodzaju);
  const KodRodzaju wynik = sprawdzKodRodzaju(k.kRodzTr, kategorii, tytulow);
  if (wynik == KodRodzaju::Dobry) return;
  komunikat(wynik == KodRodzaju::BlednaKategoria ? "Błędny kod kategorii transakcji" : "Błędny kod tytułu transakcji");
  ustawFokus(kRodzTr);
  if (const auto w = picker->pokaz(indeksyKoduRodzaju(k.kRodzTr).first, -1)) rodzajZPodpowiedzi(*w);
}

void TedycjaForm::sprawdzWyjscie(QWidget* pole, QWidget* dokad) {
  Karta& k = program_.karta;
  const QString bladWaluty = u("Błędny kod waluty"), bladKraju = u("Błędny kod kraju");
  if (pole == nrEwT) {
    if (!numerEwidencyjnyPoprawny(k.nrEwT)) {
      komunikat("Numer ewidencyjny może zawierać tylko cyfry 0..9");
      ustawFokus(nrEwT);
    }
  } else if (pole == kRodzTr) {
    // Its own button opens the picker on the code anyway.
    if (dokad != kRodzTrPod) sprawdzRodzaj();
  } else if (pole == tJ || pole == tJZ) {
    if (dokad != (pole == tJ ? PodtJ : PodtJZ))
      if (TListaKodowForm* w = program_.kodwaluty()) sprawdzKod(pole == tJ ? k.tJ : k.tJZ, *w, bladWaluty);
  } else if (pole == PodtJ || pole == PodtJZ) {
    if ((pole == PodtJ ? k.tJ : k.tJZ).empty()) {
      komunikat("Brak kodu waluty");
      ustawFokus(pole);
    }
  } else if (pole == zObyw || pole == zAdrKr || pole == pAdrKr || pole == bAdrKr) {
    const std::pair<QWidget*, QWidget*> przyciski[] = {
        {zObyw, PodzObyw}, {zAdrKr, PodzAdrKr}, {pAdrKr, PodpAdrKr}, {bAdrKr, PodbAdrKr}};
    for (auto [p, b] : przyciski)
      if (p == pole && dokad == b) return;
    std::string& kod = pole == zObyw ? k.z.pola.Obyw : pole == zAdrKr ? k.z.pola.AdrKr
                                                     : pole == pAdrKr ? k.p.pola.AdrKr
                                                                      : k.b.pola.AdrKr;
    if (TListaKodowForm* kraj = program_.kodykraj()) sprawdzKod(kod, *kraj, bladKraju);
  } else if (pole == zTypPo) {
    if (k.z.pola.TypPo < 0) {
      komunikat("To pole musi być wypełnione");
      ustawFokus(zTypPo);
    }
  }
}

void TedycjaForm::dalej(QWidget* w) {
  for (std::size_t s = 0; s < kolejnosc_.size(); ++s) {
    const auto& l = kolejnosc_[s];
    const auto it = std::find(l.begin(), l.end(), w);
    if (it == l.end()) continue;
    QWidget* strona = Wprowadzanie->widget(static_cast<int>(s));
    const std::size_t start = static_cast<std::size_t>(it - l.begin());
    for (std::size_t i = 1; i < l.size(); ++i) {
      QWidget* c = l[(start + i) % l.size()];
      if (c->isEnabled() && c->isVisibleTo(strona) && c->focusPolicy() != Qt::NoFocus) {
        przejdz(static_cast<int>(s), c);
        return;
      }
    }
    return;
  }
}

bool TedycjaForm::klawisz(QWidget* w, QKeyEvent* e) {
  const Karta& k = program_.karta;
  const bool en = enter(e), tb = tab(e);
  if (w == Wprowadzanie->tabBar()) {
    if (e->key() != Qt::Key_Left && e->key() != Qt::Key_Right) return false;
    const int n = Wprowadzanie->count();
    Wprowadzanie->setCurrentIndex((Wprowadzanie->currentIndex() + (e->key() == Qt::Key_Right ? 1 : n - 1)) % n);
    return true;
  }
  if (w == jedIO || w == Status) {
    if (!en && !tb && e->key() != Qt::Key_Down) return false;
    przejdz(Transakcja, kRodzTrPod);
    return true;
  }
  if (w == kRodzTr) {
    if (!en && !tb) return false;
    if (k.uwkRodzTrWidoczna && uwagaRodzaju(k.kRodzTr)) przejdz(Uwagi, uwkRodzTr);
    else przejdz(Transakcja, kPwz);
    return true;
  }
  const std::pair<QWidget*, std::pair<int, QWidget*>> zUwag[] = {
      {uwkRodzTr, {Transakcja, kPwz}},   {uwkPwz, {Transakcja, kPdjrz}},     {uwkPdjrz, {Transakcja, spDysp}},
      {uwspDysp, {Transakcja, nrDokT}},  {uwzTypPo, {Dysponenci, zNz}},      {uwzObyw, {Dysponenci, zNrDokTo}},
      {uwzRodzDokTo, {WImieniu, pNz}},   {uwbTypPo, {Beneficjenci, bNz}},
  };
  for (const auto& [uwaga, cel] : zUwag)
    if (w == uwaga) {
      if (!en && !tb) return false;
      przejdz(cel.first, cel.second);
      return true;
    }
  if (w == tJ || w == tJZ) {
    if (!en && !tb) return false;
    if (w == tJ && k.kwotaZWidoczna) przejdz(Transakcja, tKwZ);
    else przejdz(Dysponenci, zTypPo);
    return true;
  }
  if (w == PodtJ || w == PodtJZ) {
    if (!tb) return false;
    if ((w == PodtJ ? k.tJ : k.tJZ).empty()) {
      komunikat("Brak kodu waluty");
      return true;
    }
    if (w == PodtJ && k.kwotaZWidoczna) dalej(PodtJ);
    else przejdz(Dysponenci, zTypPo);
    return true;
  }
  if (w == zNrDokTo) {
    if (!en && !tb) return false;
    przejdz(WImieniu, pTypPo);
    return true;
  }
  if (w == bAdrUl && tb) {
    przejdz(Rachunki, nrRachZ);
    return true;
  }
  if ((w == zTypPo || w == pTypPo || w == bTypPo) && (en || tb)) {
    dalej(w);
    return true;
  }
  static const char* const enterDalej[] = {
      "nrEwT",   "rejDat",    "kPwz",    "kPdjrz", "spDysp",  "nrDokT",  "tDat",      "tM",      "tKw",
      "tKwZ",    "zNz",       "zObyw",   "PodzObyw", "zAdrKr", "PodzAdrKr", "zAdrKod", "zAdrM",  "zAdrUl",
      "zNrPes",  "zNrReg",    "zNrReS",  "zNrSwt", "zNip",    "zRodzDokTo", "pNz",     "pAdrKr", "PodpAdrKr",
      "pAdrKod", "pAdrM",     "pAdrUl",  "bNz",    "bAdrKr",  "PodbAdrKr", "bAdrKod", "bAdrM",  "bAdrUl"};
  if (en)
    for (const char* n : enterDalej)
      if (w->objectName() == QLatin1String(n)) {
        dalej(w);
        return true;
      }
  return false;
}

bool TedycjaForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* w = qobject_cast<QWidget*>(watched);
    auto* e = static_cast<QKeyEvent*>(event);
    if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
      program_.pomoc(kHelpContext);
      return true;
    }
    bool zuzyty = false;
    platform::guarded(program_.svc.dialogs, [&] { zuzyty = w && klawisz(w, e); });
    return zuzyty;
  }
  return platform::ModalForm::eventFilter(watched, event);
}

}  // namespace zelt
