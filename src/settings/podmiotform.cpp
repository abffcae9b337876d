#include "settings/podmiotform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <deque>
#include <future>
#include <vector>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/geometry.h"
#include "platform/guard.h"
#include "register/program.h"
#include "settings/edpodmiot.h"
#include "settings/edpodmiotform.h"
#include "settings/konfigform.h"

namespace zelt {

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

std::string bezKresekIBlankow(std::string_view s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s)
    if (c != '-' && c != ' ') r += c;
  return r;
}

bool zawiera(const std::string& tekst, const std::string& wzor) {
  return wzor.empty() || tekst.find(wzor) != std::string::npos;
}

// A party's row, cell by cell in column order: the one place that says what a row shows.
template <class F>
void komorkiWiersza(int numer, const TRekordPodmiotu& r, std::string& adres, F&& komorka) {
  komorka(TPodmiotForm::poNIP, std::string_view(r.Nip));
  komorka(TPodmiotForm::poNz, std::string_view(r.Nz));
  adres.assign(r.AdrM).append(" ").append(r.AdrUl);
  komorka(TPodmiotForm::poAd, std::string_view(adres));
  char liczba[16];
  const auto koniec = std::to_chars(liczba, liczba + sizeof liczba, numer).ptr;
  komorka(TPodmiotForm::NrRec, std::string_view(liczba, static_cast<std::size_t>(koniec - liczba)));
}

constexpr std::size_t kKolumn = 4;

// The list's rows made apart from the grid (also on a worker thread): each column's cells in
// one block, appended to the grid at once.
struct Wiersze {
  int ile = 0;
  std::vector<kgrid::TKCellBlock> bloki;  // in column order
};

// The live parties that `przepusc` lets through (every one without it), in file order, or sorted
// by name as the grid's sort orders them: the grid then finds them in order at once.
Wiersze zbudujWiersze(const PlikPodmiotow& plik, const std::function<bool(const TRekordPodmiotu&)>& przepusc,
                      bool poNazwie) {
  Wiersze w;
  w.bloki.resize(kKolumn);
  const int najwiecej = static_cast<int>(std::min<qint64>(plik.ilosc(), PlikPodmiotow::kMaksimum));
  for (auto& b : w.bloki) b.reserve(najwiecej);
  std::string adres;
  plik.zywe(TPodmiotForm::kPolaWiersza, [&](qint64 k, const TRekordPodmiotu& r) {
    if (przepusc && !przepusc(r)) return true;
    komorkiWiersza(static_cast<int>(k), r, adres,
                   [&](int kolumna, std::string_view t) { w.bloki[static_cast<std::size_t>(kolumna)].append(t); });
    ++w.ile;
    return true;
  });
  if (poNazwie) {
    // In the grid's own order: stable, by its sort keys, byte by byte.
    const kgrid::TKCellStore& nazwy = w.bloki[TPodmiotForm::poNz].Store();
    std::deque<std::string> dekodowane;
    std::vector<std::string_view> klucze(static_cast<std::size_t>(w.ile));
    for (int i = 0; i < w.ile; ++i) klucze[static_cast<std::size_t>(i)] = kgrid::TKGridModel::SortKey(nazwy.text(i), dekodowane);
    std::vector<int> kolejnosc(static_cast<std::size_t>(w.ile));
    for (int i = 0; i < w.ile; ++i) kolejnosc[static_cast<std::size_t>(i)] = i;
    std::stable_sort(kolejnosc.begin(), kolejnosc.end(),
                     [&](int a, int b) { return klucze[static_cast<std::size_t>(a)] < klucze[static_cast<std::size_t>(b)]; });
    for (auto& b : w.bloki) b.permute(kolejnosc);
  }
  return w;
}

}  // namespace

struct WierszePodmiotowWTle {
  QString plik;
  std::future<Wiersze> wynik;
};

void rozpocznijListePodmiotow(Program& program) {
  auto p = std::make_shared<WierszePodmiotowWTle>();
  p->plik = TPodmiotForm::plikPodmiotow(program).path();
  p->wynik = std::async(std::launch::async, [plik = p->plik] { return zbudujWiersze(PlikPodmiotow(plik), {}, true); });
  program.podmiotyWTle = std::move(p);
}

bool TPodmiotForm::zgodnyNIP(std::string_view a, std::string_view b) {
  // Walked in step, not copied: the NIP search compares with every party of the file.
  auto nastepny = [](std::string_view s, std::size_t i) {
    while (i < s.size() && (s[i] == '-' || s[i] == ' ')) ++i;
    return i;
  };
  std::size_t i = nastepny(a, 0), j = nastepny(b, 0);
  for (; i < a.size() && j < b.size(); i = nastepny(a, i + 1), j = nastepny(b, j + 1))
    if (a[i] != b[j]) return false;
  return i == a.size() && j == b.size();
}

TPodmiotForm::TPodmiotForm(Program& program) : program_(program) {
  setObjectName("PodmiotForm");
  setWindowTitle(q("Lista podmiotów"));
  resize(544, 331);

  Podmiot = new kgrid::TKStringGrid(this);
  Podmiot->setObjectName("Podmiot");
  Podmiot->setToolTip(q("Lista podmiotów"));
  Podmiot->SetOptions(Podmiot->Options() | kgrid::goRowSelect);
  Podmiot->SetScrollBars(kgrid::ssVertical);
  Podmiot->SetAutoSort(true);
  const struct {
    const char* name;
    const char* caption;
    int width;
  } kolumny[] = {{"poNIP", "NIP", 70}, {"poNz", "Nazwa/Nazwisko", 200}, {"poAd", "Adres", 200}, {"NrRec", "Nr.Rec", 0}};
  for (const auto& k : kolumny) {
    kgrid::TKGridColumn& c = Podmiot->Columns().Add();
    c.SetName(k.name);
    c.SetCaption(cp1250::fromUtf8(k.caption));
    c.SetWidth(k.width);
    kgrid::TKGridFont naglowek = c.HeaderFont();
    naglowek.SetStyle(naglowek.Style() | kgrid::fsBold);
    c.SetHeaderFont(naglowek);
  }

  auto filtr = [this](const char* name, int maxLength, const char* hint) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    e->setToolTip(q(hint));
    platform::guardEdit(e);
    return e;
  };
  // 13 characters: a NIP typed with its dashes ("123-456-32-18"); stored NIPs keep 10.
  fNip = filtr("fNip", 13, "Wzór NIP kreski nieistotne");
  fNz = filtr("fNz", 140, "Fragment wzoru nazwy/nazwiska ");
  FAdrM = filtr("FAdrM", 35, "Fragment adresu - miejscowości podmiotu");
  fAdrUl = filtr("fAdrUl", 35, "Fragment adresu ulicy podmiotu");

  auto przycisk = [this](const char* name, const char* caption, const char* hint) {
    auto* b = new QPushButton(q(caption), this);
    b->setObjectName(name);
    b->setToolTip(q(hint));
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::ClickFocus);  // skipped by Tab
    return b;
  };
  dodaj = przycisk("dodaj", "&Dodaj", "Dodanie podmiotu do listy");
  edytuj = przycisk("edytuj", "&Edytuj", "Edycja danych podmiotu");
  usun = przycisk("usun", "&Usuń", "Usuwanie podmiotu z listy");
  filtruj = przycisk("filtruj", "&Filtruj", "Wybranie podmiotów spełniających powyższe kryteria");
  zapisz = przycisk("zapisz", "&Wprowadź", "Wprowadzenie podmiotu do karty transakcji");
  Zamknij = przycisk("Zamknij", "&Zamknij", "Zamknięcie okna");

  PodmiotMenu = new QMenu(this);
  PodmiotMenu->setObjectName("PodmiotMenu");
  Dodaj1 = PodmiotMenu->addAction(q("&Dodaj"));
  Edytuj1 = PodmiotMenu->addAction(q("&Edytuj"));
  Usun1 = PodmiotMenu->addAction(q("&Usuń"));
  PodmiotMenu->addSeparator();
  Filtruj1 = PodmiotMenu->addAction(q("&Filtruj"));
  PodmiotMenu->addSeparator();
  Wprowadz1 = PodmiotMenu->addAction(q("&Wprowadź"));
  Zamknij1 = PodmiotMenu->addAction(q("&Zamknij"));
  Podmiot->SetPopupMenu(PodmiotMenu);

  auto* lay = new QVBoxLayout(this);
  lay->addWidget(Podmiot, 1);
  auto* filtry = new QGridLayout();
  const std::pair<const char*, QLineEdit*> etykiety[] = {{"NIP :", fNip}, {"Nazwa", fNz}, {"Miejscowość", FAdrM}, {"Ulica", fAdrUl}};
  int i = 0;
  for (const auto& [tekst, e] : etykiety) {
    auto* l = new QLabel(q(tekst), this);
    l->setBuddy(e);
    filtry->addWidget(l, i / 2, (i % 2) * 2);
    filtry->addWidget(e, i / 2, (i % 2) * 2 + 1);
    ++i;
  }
  filtry->setColumnStretch(1, 1);
  filtry->setColumnStretch(3, 2);
  lay->addLayout(filtry);
  auto* przyciski = new QHBoxLayout();
  for (QPushButton* b : {dodaj, edytuj, usun, filtruj, zapisz, Zamknij}) przyciski->addWidget(b);
  przyciski->addStretch(1);
  lay->addLayout(przyciski);

  connect(dodaj, &QPushButton::clicked, this, [this] { dodajClick(); });
  connect(edytuj, &QPushButton::clicked, this, [this] { edytujClick(); });
  connect(usun, &QPushButton::clicked, this, [this] { usunClick(); });
  connect(filtruj, &QPushButton::clicked, this, [this] { filtrujClick(); });
  connect(zapisz, &QPushButton::clicked, this, [this] { zapiszClick(); });
  connect(Zamknij, &QPushButton::clicked, this, [this] { ZamknijClick(); });
  connect(Dodaj1, &QAction::triggered, this, [this] { dodajClick(); });
  connect(Edytuj1, &QAction::triggered, this, [this] { edytujClick(); });
  connect(Usun1, &QAction::triggered, this, [this] { usunClick(); });
  connect(Filtruj1, &QAction::triggered, this, [this] { filtrujClick(); });
  connect(Wprowadz1, &QAction::triggered, this, [this] { zapiszClick(); });
  connect(Zamknij1, &QAction::triggered, this, [this] { ZamknijClick(); });
  Podmiot->OnDblClick = [this] { zapiszClick(); };
}

PlikPodmiotow TPodmiotForm::plikPodmiotow(const Program& program) {
  // The data folder until the creation has settled the parties folder.
  const QString& folder = program.KatPod.isEmpty() ? program.KatDan : program.KatPod;
  return PlikPodmiotow(folder + QStringLiteral("/klienci.dat"));
}

PlikPodmiotow TPodmiotForm::plik() const { return plikPodmiotow(program_); }

void TPodmiotForm::FormCreate() {
  platform::restoreGeometry(program_.svc.reg, *this, "Podmiot");
  if (program_.KatPod.isEmpty()) program_.KatPod = program_.KatDan;
  wczytaj();
}

int TPodmiotForm::pokaz(bool zWprowadzeniem) {
  zapisz->setVisible(zWprowadzeniem);
  Wprowadz1->setVisible(zWprowadzeniem);
  return program_.svc.dialogs.showModal(*this);
}

void TPodmiotForm::wczytaj() {
  platform::guarded(program_.svc.dialogs, [this] { wypelnij(true); });
}

void TPodmiotForm::filtrujClick() {
  platform::guarded(program_.svc.dialogs, [this] { wypelnij(false); });
}

// Rebuilds the rows from the file: every live record when `wszystkie`, sorted by name; else
// those that every non-empty filter lets through, in file order.
void TPodmiotForm::wypelnij(bool wszystkie) {
  kgrid::TKGridColumn& nazwa = Podmiot->Columns().Items(poNz);
  Podmiot->Clear();
  nazwa.SetSortOrder(kgrid::csNone);
  // The rows read at the start are taken once, for the first load of the same file.
  std::shared_ptr<WierszePodmiotowWTle> wTle = std::move(program_.podmiotyWTle);
  Wiersze w;
  if (wszystkie && wTle && wTle->plik == plik().path()) {
    w = wTle->wynik.get();
  } else if (wszystkie) {
    w = zbudujWiersze(plik(), {}, true);
  } else {
    const std::string nip = cp1250::fromUnicode(fNip->text());
    const std::string nz = cp1250::fromUnicode(fNz->text());
    const std::string m = cp1250::fromUnicode(FAdrM->text());
    const std::string ul = cp1250::fromUnicode(fAdrUl->text());
    w = zbudujWiersze(
        plik(),
        [&](const TRekordPodmiotu& r) {
          return (nip.empty() || zgodnyNIP(nip, r.Nip)) && zawiera(r.Nz, nz) && zawiera(r.AdrM, m) && zawiera(r.AdrUl, ul);
        },
        false);
  }
  if (w.ile == 0) return;
  // Every column of the list is shown: each one's block goes to its place in the display order.
  std::vector<kgrid::TKCellBlock> widoczne;
  for (const kgrid::TKGridColumn* c : Podmiot->VisibleColumns().items())
    widoczne.push_back(std::move(w.bloki[static_cast<std::size_t>(c->Index())]));
  Podmiot->AppendRows(w.ile, widoczne);
  // The whole list comes sorted by name as the grid sorts: it is not sorted again.
  if (wszystkie) Podmiot->SetSortedBy(nazwa, kgrid::csAsc);
}

void TPodmiotForm::wpiszWiersz(int w, int numer, const TRekordPodmiotu& r) {
  std::string adres;
  komorkiWiersza(numer, r, adres, [&](int kolumna, std::string_view t) { Podmiot->SetCells(kolumna, w, t); });
}

int TPodmiotForm::wierszRekordu(int numer) const {
  const std::string tekst = std::to_string(numer);
  for (int w = 0; w < Podmiot->RowCount(); ++w)
    if (Podmiot->Cells(NrRec, w) == tekst) return w;
  return -1;
}

std::optional<int> TPodmiotForm::numerBiezacego() const {
  const int w = Podmiot->DataRow();
  if (w < 0) return std::nullopt;
  const std::string tekst = Podmiot->Cells(NrRec, w);
  int n = -1;
  const auto [koniec, blad] = std::from_chars(tekst.data(), tekst.data() + tekst.size(), n);
  if (tekst.empty() || tekst[0] < '0' || tekst[0] > '9' || blad != std::errc() || koniec != tekst.data() + tekst.size() || n < 0) return std::nullopt;
  if (!plik().czytajZywy(n)) return std::nullopt;
  return n;
}

bool TPodmiotForm::dopisz(const TRekordPodmiotu& r) {
  const auto n = plik().dopisz(r);
  if (!n) {
    program_.svc.dialogs.showMessage(PlikPodmiotow::komunikatPelnej());
    return false;
  }
  Podmiot->AddRow();
  wpiszWiersz(Podmiot->RowCount() - 1, static_cast<int>(*n), r);
  return true;
}

bool TPodmiotForm::dopiszPodmiot(TRekordPodmiotu r) {
  bool dopisany = false;
  platform::guarded(program_.svc.dialogs, [&] {
    r.rolaPo = TRekordPodmiotu::Brak;
    dopisany = dopisz(r);
  });
  return dopisany;
}

std::optional<int> TPodmiotForm::szukajNIP(const std::string& nip) const {
  std::optional<int> znaleziony;
  // Without this, a party with no NIP would be offered for every other party without one.
  if (bezKresekIBlankow(nip).empty()) return znaleziony;
  // The file, not the grid: a filter may hide the party.
  plik().zywe(TRekordPodmiotu::pNip, [&](qint64 k, const TRekordPodmiotu& r) {
    if (zgodnyNIP(nip, r.Nip)) znaleziony = static_cast<int>(k);
    return !znaleziony;
  });
  return znaleziony;
}

bool TPodmiotForm::naListe(const TRekordPodmiotu& r) {
  bool zapisany = false;
  platform::guarded(program_.svc.dialogs, [&] {
    std::optional<int> n = szukajNIP(r.Nip);
    if (n) {
      const int odp = program_.svc.dialogs.ask(q("Podmiot o podanym NIP już jest na liście, czy nadpisać ? "),
                                               platform::MsgButtons::YesNoCancel);
      if (odp != platform::IdYes && odp != platform::IdNo) return;
      if (odp == platform::IdNo) n.reset();
    }
    if (!n) {
      zapisany = dopisz(r);
      return;
    }
    if (!plik().zapisz(*n, r)) return;
    if (const int w = wierszRekordu(*n); w >= 0) wpiszWiersz(w, *n, r);
    zapisany = true;
  });
  return zapisany;
}

bool TPodmiotForm::zmienPodmiot(TRekordPodmiotu r) {
  bool zmieniony = false;
  platform::guarded(program_.svc.dialogs, [&] {
    const auto n = numerBiezacego();
    if (!n) return;
    const int w = Podmiot->DataRow();
    const auto stary = plik().czytajZywy(*n);
    if (!stary) return;
    r.rolaPo = stary->rolaPo;
    if (!plik().zapisz(*n, r)) return;
    wpiszWiersz(w, *n, r);
    zmieniony = true;
  });
  return zmieniony;
}

void TPodmiotForm::dodajClick() {
  platform::guarded(program_.svc.dialogs, [this] {
    // A full file is said before anything is typed that could not be kept.
    if (plik().ilosc() >= PlikPodmiotow::kMaksimum) {
      program_.svc.dialogs.showMessage(PlikPodmiotow::komunikatPelnej());
      return;
    }
    TEdPodmiotForm* edytor = program_.edPodmiot();
    if (!edytor) return;
    TRekordPodmiotu r;
    czyscPodmiot(r);
    if (TKonfigForm* konfig = program_.konfig()) {
      const DomyslneKarty d = konfig->domyslne();
      r.TypPo = d.typPo;
      r.RodzDokTo = d.rodzDokTo;
      r.Obyw = d.kraj;
      r.AdrKr = d.kraj;
    }
    edytor->ustaw(r);
    if (edytor->pokaz() != platform::mrOk) return;
    dopiszPodmiot(edytor->odczytaj());
  });
}

void TPodmiotForm::edytujClick() {
  platform::guarded(program_.svc.dialogs, [this] {
    const auto n = numerBiezacego();
    TEdPodmiotForm* edytor = program_.edPodmiot();
    if (!n || !edytor) return;
    const auto r = plik().czytajZywy(*n);
    if (!r) return;
    edytor->ustaw(*r);
    if (edytor->pokaz() != platform::mrOk) return;
    zmienPodmiot(edytor->odczytaj());
  });
}

void TPodmiotForm::usunClick() {
  platform::guarded(program_.svc.dialogs, [this] {
    const auto n = numerBiezacego();
    if (!n) return;
    const int w = Podmiot->DataRow();
    if (program_.svc.dialogs.ask(q("Czy jesteś pewien, że chcesz usunąć z listy podmiot ? "), platform::MsgButtons::YesNo) !=
        platform::IdYes)
      return;
    if (plik().usun(*n)) Podmiot->DeleteRow(w);
  });
}

void TPodmiotForm::zapiszClick() {
  // Never a take-over without a party behind the row.
  platform::guarded(program_.svc.dialogs, [this] {
    if (numerBiezacego()) setModalResult(platform::mrOk);
  });
}

void TPodmiotForm::ZamknijClick() { setModalResult(platform::mrCancel); }

void TPodmiotForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    program_.pomoc(kHelpContext);
    return;
  }
  platform::ModalForm::keyPressEvent(e);
}

void TPodmiotForm::resizeEvent(QResizeEvent* e) {
  platform::ModalForm::resizeEvent(e);
  const int szer = std::max(0, (width() - Podmiot->Columns().Items(poNIP).Width() - 15) / 2);
  Podmiot->Columns().Items(poNz).SetWidth(szer);
  Podmiot->Columns().Items(poAd).SetWidth(szer);
}

}  // namespace zelt
