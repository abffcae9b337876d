#include "settings/konfigform.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <optional>
#include <tuple>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/errors.h"
#include "platform/geometry.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/popuplist.h"
#include "platform/shell.h"
#include "register/program.h"
#include "settings/kodwalutyform.h"
#include "settings/kodykrajform.h"
#include "settings/podpowform.h"
#include "settings/wybkolumn.h"
#include "register/glownyform.h"
#include "register/ladowanie.h"
#include "register/listykarty.h"
#include "settings/kolumnygrid.h"

namespace zelt {

using platform::RegRoot;

namespace {

constexpr std::string_view kKonfig = "\\SOFTWARE\\Tarvo\\ZELT\\Konfig\\";

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

Slownik lista(std::initializer_list<const char*> utf8) {
  Slownik out;
  for (const char* s : utf8) out.push_back(cp1250::fromUtf8(s));
  return out;
}

void wypelnij(QComboBox* combo, const Slownik& items) {
  combo->clear();
  for (const auto& s : items) combo->addItem(cp1250::toQ(s));
  combo->setCurrentIndex(-1);
}

// Edits whose codes are shown and stored in upper case.
void wielkieLitery(QLineEdit* e) {
  QObject::connect(e, &QLineEdit::textEdited, e, [e](const QString& t) {
    const int pos = e->cursorPosition();
    e->setText(t.toUpper());
    e->setCursorPosition(pos);
  });
}

}  // namespace

Slownik TKonfigForm::wbudowaneSposoby() {
  return lista({"0 - inne", "1 - osobiście", "2 - telefonicznie (także faks)", "3 - elektronicznie (także internet)",
                "4 - wrzutnia depozytowa, depozyt", "5 - za pośrednictwem poczty"});
}

Slownik TKonfigForm::wbudowaneDokumenty() {
  return lista({"00 - inne", "DO - dowód osobisty", "PA - paszport", "DT - dowód tymczasowy",
                "KS - karta stałego pobytu", "KC - karta czasowego pobytu"});
}

Slownik TKonfigForm::wbudowaneTypy() {
  // The same party types as the card's ordering party and the party editor.
  return ListyKarty::wbudowane().zTypPo;
}

TKonfigForm::TKonfigForm(Program& program) : program_(program) {
  setObjectName("KonfigForm");
  setWindowTitle(q("Konfiguracja"));
  setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  auto* lay = new QVBoxLayout(this);
  Konfig = new QTabWidget(this);
  Konfig->setObjectName("Konfig");
  Konfig->setFocusPolicy(Qt::NoFocus);
  // All six tabs in sight, whatever the desktop's font: the window is never narrower than they are.
  Konfig->setUsesScrollButtons(false);
  lay->addWidget(Konfig, 1);

  auto edit = [](QWidget* parent, const char* name, const char* text, const char* hint) {
    auto* e = new QLineEdit(q(text), parent);
    e->setObjectName(name);
    if (hint) e->setToolTip(q(hint));
    return e;
  };
  auto check = [](QWidget* parent, const char* name, const char* caption, const char* hint, bool on) {
    auto* c = new QCheckBox(q(caption), parent);
    c->setObjectName(name);
    if (hint) c->setToolTip(q(hint));
    c->setChecked(on);
    return c;
  };
  auto podpowiedz = [](QWidget* parent, const char* name, const char* hint) {
    auto* b = new QPushButton(q("Podpowiedź"), parent);
    b->setObjectName(name);
    if (hint) b->setToolTip(q(hint));
    return b;
  };

  // "Drukarka"
  {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto group = [&](const char* title, QLineEdit*& sx, QLineEdit*& sy, QLineEdit*& px, QLineEdit*& py,
                     QCheckBox*& ra, QCheckBox*& op, QCheckBox*& za, const char* names[7], const char* defaults[4],
                     const char* hints[7]) {
      auto* g = new QGroupBox(q(title), page);
      auto* grid = new QGridLayout(g);
      sx = edit(g, names[0], defaults[0], hints[0]);
      sy = edit(g, names[1], defaults[1], hints[1]);
      px = edit(g, names[2], defaults[2], hints[2]);
      py = edit(g, names[3], defaults[3], hints[3]);
      grid->addWidget(new QLabel(q("Skala X :"), g), 0, 0);
      grid->addWidget(sx, 0, 1);
      grid->addWidget(new QLabel(q("Skala Y :"), g), 1, 0);
      grid->addWidget(sy, 1, 1);
      grid->addWidget(new QLabel(q("Położenie X :"), g), 0, 2);
      grid->addWidget(px, 0, 3);
      grid->addWidget(new QLabel(q("Położenie Y :"), g), 1, 2);
      grid->addWidget(py, 1, 3);
      ra = check(g, names[4], "Drukowanie ramek", hints[4], true);
      op = check(g, names[5], "Drukowanie opisów pól", hints[5], true);
      za = check(g, names[6], "Drukowanie zawartości", hints[6], true);
      grid->addWidget(ra, 0, 4);
      grid->addWidget(op, 1, 4);
      grid->addWidget(za, 2, 4);
      v->addWidget(g);
    };
    const char* trNames[7] = {"SkTrX", "SkTrY", "PoTrX", "PoTrY", "RaTr", "OpTr", "ZaTr"};
    const char* trDefaults[4] = {"1,000", "1,000", "+3,000", "+0,000"};
    const char* trHints[7] = {"Dopasuj skalę tak aby szerokość karty transakcji wynosiła 190mm",
                              "Dopasuj skalę tak aby wysokość karty transakcji wynosiła 283mm",
                              "Dopasuj wartość tak aby lewy margines karty transakcji wynosił 10mm",
                              "Dopasuj wartość tak aby górny margines karty transakcji wynosił 7mm",
                              "Wyłącz gdy drukujesz na formularzu", "Wyłącz gdy drukujesz na formularzu",
                              "Wyłącz gdy chcesz wydrukować pusty formularz"};
    group("Karta transakcji", SkTrX, SkTrY, PoTrX, PoTrY, RaTr, OpTr, ZaTr, trNames, trDefaults, trHints);
    const char* ioNames[7] = {"SkIoX", "SkIoY", "PoIoX", "PoIoY", "RaIo", "OpIo", "ZaIo"};
    const char* ioDefaults[4] = {"1,000", "1,000", "+7,000", "+5,000"};
    const char* ioHints[7] = {"Dopasuj skalę tak aby szerokość formularza wynosiła 183mm",
                              "Dopasuj skalę tak aby wysokość formularza wynosiła 264mm",
                              "Dopasuj wartość tak aby lewy margines formularza wynosił 13mm",
                              "Dopasuj wartość tak aby górny margines formularza wynosił 12mm",
                              nullptr, nullptr, nullptr};
    group("Formularz identyfikacyjny instytucji", SkIoX, SkIoY, PoIoX, PoIoY, RaIo, OpIo, ZaIo, ioNames, ioDefaults,
          ioHints);
    auto* h = new QHBoxLayout;
    h->addWidget(new QLabel(q("Drukarka :"), page));
    WybDruk = new QComboBox(page);
    WybDruk->setObjectName("WybDruk");
    WybDruk->setToolTip(q("Wskaż drukarkę na której należy drukować formularze"));
    h->addWidget(WybDruk, 1);
    v->addLayout(h);
    v->addStretch(1);
    Konfig->addTab(page, q("Drukarka"));
  }

  // "Domyślne"
  {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* g = new QGroupBox(q("Dopisywane wartości w numerze ewidencyjnym transakcji"), page);
    auto* gh = new QHBoxLayout(g);
    NrEwIO = check(g, "NrEwIO", "Numer jednostki IO",
                   "Zaznaczyć gdy każda jednostka IO prowadzi odrebną numerację dokumentów", false);
    NrEwDz = check(g, "NrEwDz", "Dzień", "Zaznaczyć gdy prowadzona jest numeracja od 1 każdego dnia", false);
    NrEwMc = check(g, "NrEwMc", "Miesiąc", "Zaznaczyć gdy prowadzona jest numeracja od 1 każdego dnia lub miesiąca",
                   false);
    NrEwRo = check(g, "NrEwRo", "Rok",
                   "Zaznaczyć gdy prowadzona jest numeracja od 1 każdego dnia miesiąca lub roku", false);
    for (auto* c : {NrEwIO, NrEwDz, NrEwMc, NrEwRo}) gh->addWidget(c);
    v->addWidget(g);
    auto* f = new QGridLayout;
    int row = 0;
    auto line = [&](const char* label, QWidget* w, QWidget* button = nullptr) {
      f->addWidget(new QLabel(q(label), page), row, 0);
      f->addWidget(w, row, 1);
      if (button) f->addWidget(button, row, 2);
      ++row;
    };
    domkRodzTr = edit(page, "domkRodzTr", "", "Symbol rodzaju transakcji klawisz podpowiedź ułatwi wpisanie właściwego kodu");
    domkRodzTr->setInputMask("0000");
    domkRodzTr->setText("0607");
    kodRodzaju_ = platform::DigitsInForce(domkRodzTr, 4);
    domkRodzTrPod = podpowiedz(page, "domkRodzTrPod", "Pozwala wybrac kod Rodzaju transakcji");
    line("Domyślny kod transakcji", domkRodzTr, domkRodzTrPod);
    auto wybor = [&](const char* name, const char* hint) {
      auto* c = new QComboBox(page);
      c->setObjectName(name);
      c->setToolTip(q(hint));
      c->setMinimumContentsLength(30);
      platform::fitPopupToItems(*c);
      return c;
    };
    domspDysp = wybor("domspDysp",
                      "Symbol sposobu wydania dyspozycji w przypadku wybrania 0 - inne należy w polu uwagi "
                      "podać szczegóły podczas edycji");
    line("Domyślny sposób wydania dyspozycji", domspDysp);
    domMiejsce = edit(page, "domMiejsce", "", "Miejscowość w której została zrealizowana transakcja.");
    domMiejsce->setMaxLength(35);
    line("Domyślne miejsce realizacji transakcji", domMiejsce);
    domWaluta = edit(page, "domWaluta", "PLN",
                     "Symbol waluty zgodnie z symbolami walutowymi ISO 4217 (w przypadku polskich złotych: PLN).");
    domWaluta->setMaxLength(3);
    wielkieLitery(domWaluta);
    domWalutaPod = podpowiedz(page, "domWalutaPod", "Wykaz kodów walut");
    line("Domyślna waluta", domWaluta, domWalutaPod);
    domTypPo = wybor("domTypPo",
                     "Kod statusu prawnego podmiotu. W przypadku wybrania 00 - inny należy podać szczegóły w polu "
                     "uwag podczas edycji");
    line("Domyślny typ podmiotu", domTypPo);
    domKraj = edit(page, "domKraj", "PL",
                   "Symbol kraju, którego osoba fizyczna jest obywatelem (ISO 3166 dwuliterowy). W przypadku "
                   "podwójnego obywatelstwa należy podać w polu uwagi szczegóły podczas edycji");
    domKraj->setMaxLength(2);
    wielkieLitery(domKraj);
    domKrajPod = podpowiedz(page, "domKrajPod", "Pozwala wybrać kod kraju z listy");
    line("Domyślny kraj", domKraj, domKrajPod);
    domRodzDokTo = wybor("domRodzDokTo",
                         "Symbol dokumentu tożsamości na podstawie, którego stwierdzono tożsamość osoby "
                         "fizycznej gdy kod 00 - inny należy podać szczegóły w polu uwagi.");
    line("Domyślny dokument tożsamości ", domRodzDokTo);
    v->addLayout(f);
    v->addStretch(1);
    wypelnij(domspDysp, wbudowaneSposoby());
    wypelnij(domTypPo, wbudowaneTypy());
    wypelnij(domRodzDokTo, wbudowaneDokumenty());
    Konfig->addTab(page, q("Domyślne"));
  }

  WygladRej = new TWybKolumn(program_.definicjeKolumn, Strona::Wyglad);
  WygladRej->setObjectName("WygladRej");
  Konfig->addTab(WygladRej, q("Wygląd rejestru"));
  WydrukRej = new TWybKolumn(program_.definicjeKolumn, Strona::Wydruk);
  WydrukRej->setObjectName("WydrukRej");
  Konfig->addTab(WydrukRej, q("Wydruk rejestru"));

  // A page of check boxes, one under another, all checked at first.
  auto znaczniki = [&](const char* title, std::initializer_list<std::tuple<QCheckBox**, const char*, const char*>> boxes) {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    for (auto [box, name, caption] : boxes) v->addWidget(*box = check(page, name, caption, nullptr, true));
    v->addStretch(1);
    Konfig->addTab(page, q(title));
  };
  znaczniki("Auto zapamiętywanie", {{&zapokna, "zapokna", "Zapamiętywanie położenia i rozmaru okien"},
                                     {&zaprej, "zaprej", "Zapamiętywanie układu rejestru transakcji"},
                                     {&zapkonf, "zapkonf", "Zapamiętywanie konfiguracji"},
                                     {&zapIO, "zapIO", "Zapamiętywanie zmian danych IO"}});
  znaczniki("Weryfikacja", {{&werkodtra, "werkodtra", "Kod transakcji"},
                            {&werkodwal, "werkodwal", "Kod waluty"},
                            {&werkwota, "werkwota", "Poprawność kwoty"},
                            {&werkodpodm, "werkodpodm", "Kod podmiotu"},
                            {&werkodkraj, "werkodkraj", "Kod kraju"},
                            {&werPes, "werPes", "PESEL"},
                            {&werReg, "werReg", "REGON"},
                            {&werNip, "werNip", "NIP"},
                            {&werNRB, "werNRB", "Nr. Konta NRB"}});

  auto* buttons = new QHBoxLayout;
  zapis = new QPushButton(q("&Zapisz"), this);
  zapis->setObjectName("zapis");
  zapis->setToolTip(q("Zapisuje zmiany konfiguracji i zamyka okno"));
  wyjscie = new QPushButton(q("&Wyjdź"), this);
  wyjscie->setObjectName("wyjscie");
  wyjscie->setToolTip(q("Powraca bez zapisania dokonanych zmian"));
  for (auto* b : {zapis, wyjscie}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
  }
  buttons->addStretch(1);
  buttons->addWidget(zapis);
  buttons->addWidget(wyjscie);
  lay->addLayout(buttons);

  lay->activate();  // the window's minimum size now holds every tab, also for a stored smaller size
  resize(size().expandedTo(QSize(660, 380)));

  for (QLineEdit* e : {SkTrX, SkTrY, PoTrX, PoTrY, SkIoX, SkIoY, PoIoX, PoIoY, domkRodzTr, domMiejsce, domWaluta, domKraj})
    platform::guardEdit(e);
  connect(zapis, &QPushButton::clicked, this, [this] { zapisClick(); });
  connect(wyjscie, &QPushButton::clicked, this, [this] { wyjscieClick(); });
  connect(domkRodzTrPod, &QPushButton::clicked, this, [this] { domkRodzTrPodClick(); });
  connect(domWalutaPod, &QPushButton::clicked, this, [this] { domWalutaPodClick(); });
  connect(domKrajPod, &QPushButton::clicked, this, [this] { domKrajPodClick(); });
}

namespace {

// The stored values in the order in which they are read and written; each names its control
// by a member of its own type.
struct Wartosc {
  enum Rodzaj { Tekst, Znacznik, Indeks, Drukarka } rodzaj;
  const char* nazwa;
  QLineEdit* TKonfigForm::* tekst = nullptr;
  QCheckBox* TKonfigForm::* znacznik = nullptr;
  QComboBox* TKonfigForm::* lista = nullptr;
  bool numeracja = false;
};

const std::vector<Wartosc>& wartosci() {
  using F = TKonfigForm;
  auto t = [](const char* n, QLineEdit* F::* c) { return Wartosc{Wartosc::Tekst, n, c, nullptr, nullptr}; };
  auto b = [](const char* n, QCheckBox* F::* c, bool nr = false) {
    return Wartosc{Wartosc::Znacznik, n, nullptr, c, nullptr, nr};
  };
  auto i = [](const char* n, QComboBox* F::* c) { return Wartosc{Wartosc::Indeks, n, nullptr, nullptr, c}; };
  static const std::vector<Wartosc> list = {
      t("SkTrX", &F::SkTrX), t("SkTrY", &F::SkTrY), t("PoTrX", &F::PoTrX), t("PoTrY", &F::PoTrY),
      b("RaTr", &F::RaTr), b("OpTr", &F::OpTr), b("ZaTr", &F::ZaTr),
      t("SkIOX", &F::SkIoX), t("SkIOY", &F::SkIoY), t("PoIOX", &F::PoIoX), t("PoIOY", &F::PoIoY),
      b("RaIO", &F::RaIo), b("OpIO", &F::OpIo), b("ZaIO", &F::ZaIo),
      Wartosc{Wartosc::Drukarka, "druk", nullptr, nullptr, &F::WybDruk},
      b("NrEwIO", &F::NrEwIO, true), b("NrEwDz", &F::NrEwDz, true), b("NrEwMc", &F::NrEwMc, true),
      b("NrEwRo", &F::NrEwRo, true),
      t("domkRodzTr", &F::domkRodzTr), i("domspDysp", &F::domspDysp), t("domMiejsce", &F::domMiejsce),
      t("domWaluta", &F::domWaluta), i("domTypPo", &F::domTypPo), t("domKraj", &F::domKraj),
      i("domRodzDokTo", &F::domRodzDokTo),
      b("zapokna", &F::zapokna), b("zaprej", &F::zaprej), b("zapkonf", &F::zapkonf), b("zapIO", &F::zapIO),
      b("werkodtra", &F::werkodtra), b("werkodwal", &F::werkodwal), b("werkwota", &F::werkwota),
      b("werkodpodm", &F::werkodpodm), b("werkodkraj", &F::werkodkraj), b("werPes", &F::werPes),
      b("werReg", &F::werReg), b("werNip", &F::werNip), b("werNRB", &F::werNRB),
  };
  return list;
}

}  // namespace

void TKonfigForm::FormCreate() {
  auto wczytaj = [&](const char* plik, const char* opis, QComboBox* combo) {
    Slownik items;
    for (int k = 0; k < combo->count(); ++k) items.push_back(cp1250::fromUnicode(combo->itemText(k)));
    if (zaladujSlownik(program_, program_.plikDanych(q(plik)), q(opis), items)) wypelnij(combo, items);
  };
  wczytaj("sposoby.txt", "ładowanie kodów sposobów wydania dyspozycji", domspDysp);
  wczytaj("dokument.txt", "ładowanie typów dokumentów", domRodzDokTo);
  wczytaj("podmioty.txt", "ładowanie kodów podmiotów", domTypPo);
  platform::restoreGeometry(program_.svc.reg, *this, "Konfig");
  wczytajWartosci();
  kodRodzaju_.take();
  program_.definicjeKolumn = wczytajDefinicje(program_.svc.reg);
  WygladRej->zbudujListy();
  WydrukRej->zbudujListy();
  TglownyForm* glowny = program_.glowny();
  if (glowny) {
    program_.ukladListy = zbudujKolumnyListy(*glowny->lista, program_.definicjeKolumn);
    const auto e = etykietyPierwszejKolumny(*glowny->lista, program_.definicjeKolumn);
    glowny->GrupaWys->setText(cp1250::toQ(e.GrupaWys));
    glowny->PoleWys->setText(cp1250::toQ(e.PoleWys));
  }
  WybDruk->clear();
  WybDruk->addItems(program_.svc.printers.names());
  WybDruk->setCurrentIndex(-1);
  wybierzDrukarke(zapisanaDrukarka_);
  if (glowny) {
    zaladujRejestr(program_, *glowny->lista);
    glowny->ustawPrzyciski();
  }
}

void TKonfigForm::wczytajWartosci() {
  const auto& reg = program_.svc.reg;
  if (!reg.keyExists(RegRoot::CurrentUser, kKonfig)) return;
  for (const auto& w : wartosci()) {
    switch (w.rodzaj) {
      case Wartosc::Tekst:
        if (auto v = reg.readString(RegRoot::CurrentUser, kKonfig, w.nazwa)) (this->*w.tekst)->setText(cp1250::toQ(*v));
        break;
      case Wartosc::Znacznik:
        if (auto v = reg.readInteger(RegRoot::CurrentUser, kKonfig, w.nazwa)) (this->*w.znacznik)->setChecked(*v != 0);
        break;
      case Wartosc::Indeks: {
        QComboBox* combo = this->*w.lista;
        const int idx = reg.readInteger(RegRoot::CurrentUser, kKonfig, w.nazwa).value_or(1);
        // An index outside the list leaves no item chosen.
        combo->setCurrentIndex(idx >= 0 && idx < combo->count() ? idx : -1);
        break;
      }
      case Wartosc::Drukarka:
        zapisanaDrukarka_ = reg.readString(RegRoot::CurrentUser, kKonfig, w.nazwa).value_or("");
        break;
    }
  }
}

void TKonfigForm::wybierzDrukarke(const std::string& nazwa) {
  if (nazwa.empty()) return;
  const QString n = cp1250::toQ(nazwa);
  for (int k = 0; k < WybDruk->count(); ++k)
    if (WybDruk->itemText(k) == n) WybDruk->setCurrentIndex(k);  // the last equal name wins
}

void TKonfigForm::zapiszWartosci(platform::RegistryStore& reg, KtoZapisuje kto, bool zKolumnami) const {
  platform::RegistryBatch batch(reg);
  for (const auto& w : wartosci()) {
    if (w.numeracja && kto == KtoZapisuje::Wyjscie) continue;
    switch (w.rodzaj) {
      case Wartosc::Tekst: {
        std::optional<QString> tekst = (this->*w.tekst)->text();
        if (w.tekst == &TKonfigForm::domkRodzTr && kto == KtoZapisuje::Wyjscie) tekst = kodRodzaju_.value();
        if (tekst) reg.writeString(RegRoot::CurrentUser, kKonfig, w.nazwa, cp1250::fromUnicode(*tekst));
        break;
      }
      case Wartosc::Znacznik:
        reg.writeInteger(RegRoot::CurrentUser, kKonfig, w.nazwa, (this->*w.znacznik)->isChecked() ? 1 : 0);
        break;
      case Wartosc::Indeks:
        reg.writeInteger(RegRoot::CurrentUser, kKonfig, w.nazwa, (this->*w.lista)->currentIndex());
        break;
      case Wartosc::Drukarka:
        if (WybDruk->currentIndex() >= 0)
          reg.writeString(RegRoot::CurrentUser, kKonfig, w.nazwa, cp1250::fromUnicode(WybDruk->currentText()));
        break;
    }
  }
  if (zKolumnami) zapiszDefinicje(reg, program_.definicjeKolumn);
  batch.commit();
}

void TKonfigForm::zapisClick() {
  // The default kind code takes four digits. Only a code the user has typed is held to it: a
  // stored one is kept as it was loaded.
  if (domkRodzTr->isModified() && !platform::exactDigits(domkRodzTr->text(), 4)) {
    program_.svc.dialogs.messageBox(q("Kod rodzaju transakcji musi składać się z 4 cyfr"), q("Konfiguracja"),
                                    platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    Konfig->setCurrentIndex(1);
    domkRodzTr->setFocus();
    return;
  }
  WygladRej->przebudujPozycje();
  WydrukRej->przebudujPozycje();
  try {
    zapiszWartosci(program_.svc.reg, KtoZapisuje::Okno, true);
  } catch (const platform::IoError& e) {
    // Nothing of the change reached the store; the window stays open with the user's values.
    program_.svc.dialogs.messageBox(q("Błąd zapisu konfiguracji\n") + QString::fromUtf8(e.what()), q("Konfiguracja"),
                                    platform::MsgButtons::Ok, platform::MsgIcon::Error);
    return;
  }
  kodRodzaju_.take();
  setModalResult(platform::mrOk);
}

void TKonfigForm::wyjscieClick() {
  WygladRej->przebudujPozycje();
  WydrukRej->przebudujPozycje();
  kodRodzaju_.take();
  setModalResult(platform::mrCancel);
}

void TKonfigForm::hideEvent(QHideEvent* e) {
  // However the window is left (the close box too), a whole code the user typed acts from now on.
  if (!e->spontaneous()) kodRodzaju_.take();
  platform::ModalForm::hideEvent(e);
}

void TKonfigForm::domkRodzTrPodClick() {
  if (auto kod = program_.podpow()->wybierzKod(cp1250::fromUnicode(domkRodzTr->text())))
    domkRodzTr->setText(cp1250::toQ(*kod));
}

void TKonfigForm::domWalutaPodClick() {
  auto* picker = program_.kodwaluty();
  if (auto idx = picker->pokaz(0)) domWaluta->setText(cp1250::toQ(picker->kod(*idx)));
}

void TKonfigForm::domKrajPodClick() {
  auto* picker = program_.kodykraj();
  if (auto idx = picker->pokaz(0)) domKraj->setText(cp1250::toQ(picker->kod(*idx)));
}

void TKonfigForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    program_.pomoc(kHelpContext);
    return;
  }
  platform::ModalForm::keyPressEvent(e);
}

UstawieniaWydruku TKonfigForm::kartaTransakcji() const {
  return {SkTrX->text(), SkTrY->text(), PoTrX->text(), PoTrY->text(), RaTr->isChecked(), OpTr->isChecked(),
          ZaTr->isChecked()};
}

UstawieniaWydruku TKonfigForm::formularzIO() const {
  return {SkIoX->text(), SkIoY->text(), PoIoX->text(), PoIoY->text(), RaIo->isChecked(), OpIo->isChecked(),
          ZaIo->isChecked()};
}

QString TKonfigForm::drukarka() const { return WybDruk->currentIndex() >= 0 ? WybDruk->currentText() : QString(); }

NumeracjaEwidencyjna TKonfigForm::numeracja() const {
  return {NrEwIO->isChecked(), NrEwDz->isChecked(), NrEwMc->isChecked(), NrEwRo->isChecked()};
}

DomyslneKarty TKonfigForm::domyslne() const {
  DomyslneKarty d;
  d.kRodzTr = cp1250::fromUnicode(kodRodzaju_.value().value_or(QString()));
  d.miejsce = cp1250::fromUnicode(domMiejsce->text());
  d.waluta = cp1250::fromUnicode(domWaluta->text());
  d.kraj = cp1250::fromUnicode(domKraj->text());
  d.spDysp = domspDysp->currentIndex();
  d.typPo = domTypPo->currentIndex();
  d.rodzDokTo = domRodzDokTo->currentIndex();
  return d;
}

Zapamietywanie TKonfigForm::zapamietywanie() const {
  return {zapokna->isChecked(), zaprej->isChecked(), zapkonf->isChecked(), zapIO->isChecked()};
}

}  // namespace zelt
