#include "settings/firmaform.h"


#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <QValidator>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/folders.h"
#include "platform/geometry.h"
#include "platform/guard.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "register/program.h"
#include "reports/drukformularza.h"
#include "register/werform.h"
#include "register/glownyform.h"
#include "register/instytucje.h"
#include "register/wizytform.h"
#include "settings/addioform.h"
#include "settings/hasla.h"
#include "settings/jednform.h"
#include "settings/jednostki.h"
#include "settings/weryfio.h"

namespace zelt {

namespace {

// The short name in report-file names ("W03ABCDE.xml"): at most five ASCII letters and digits,
// in upper case; nothing that a file name could misread gets in.
class NazwaSkrotowa : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    if (input.size() > 5) return Invalid;
    for (QChar c : input)
      if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))) return Invalid;
    return Acceptable;
  }
};

QString q(const char* utf8) { return QString::fromUtf8(utf8); }
QString q(const std::string& cp) { return cp1250::toQ(cp); }
std::string cp(const QLineEdit* e) { return cp1250::fromUnicode(e->text()); }

QLineEdit* pole(QWidget* parent, const char* name, int maxLength) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMaxLength(maxLength);
  return e;
}

// The three password edits: one "*" per character, at most ten characters, no control characters.
QLineEdit* poleHasla(QWidget* parent, const char* name) {
  auto* e = pole(parent, name, static_cast<int>(hasla::kMaxDlugosc));
  e->setEchoMode(QLineEdit::Password);
  e->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\\x00-\\x1F]*")), e));
  platform::guardEdit(e, {.keepMaxLength = true});
  return e;
}

void wiersz(QGridLayout* g, int row, int col, const char* label, QWidget* w, int span = 1) {
  auto* l = new QLabel(q(label), w->parentWidget());
  l->setBuddy(w);
  g->addWidget(l, row, col);
  g->addWidget(w, row, col + 1, 1, span);
}

}  // namespace

TFirmaForm::TFirmaForm(Program& program) : program_(program) {
  setObjectName("FirmaForm");
  setWindowTitle(q("Dane instytucji Obowiązanej"));
  auto* lay = new QVBoxLayout(this);
  strony = new QTabWidget(this);
  strony->setObjectName("strony");
  lay->addWidget(strony);

  // Page 1: the institution.
  auto* s1 = new QWidget(strony);
  auto* g1 = new QGridLayout(s1);
  NazIO = pole(s1, "NazIO", 56);
  NumIO = pole(s1, "NumIO", 8);
  NumIO->setInputMask(QStringLiteral("99999999"));
  numerSiedziby_ = platform::DigitsInForce(NumIO, 8);
  NIPIO = pole(s1, "NIPIO", 10);
  RegIO = pole(s1, "RegIO", 9);
  KrIO = pole(s1, "KrIO", 29);
  WoIO = pole(s1, "WoIO", 29);
  PoIO = pole(s1, "PoIO", 13);
  GmIO = pole(s1, "GmIO", 13);
  KodIO = pole(s1, "KodIO", 5);
  MieIO = pole(s1, "MieIO", 21);
  UlIO = pole(s1, "UlIO", 29);
  NrDIO = pole(s1, "NrDIO", 6);
  NrLIO = pole(s1, "NrLIO", 6);
  RoIO = new QComboBox(s1);
  RoIO->setObjectName("RoIO");
  for (const char* r : kRodzajeIO) RoIO->addItem(q(r));
  RoIO->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  RoIO->setMinimumContentsLength(40);
  UwIO = pole(s1, "UwIO", 56);
  AkIO = new QCheckBox(q("Aktualizacja danych"), s1);
  AkIO->setObjectName("AkIO");
  AkIO->setToolTip(q("Zaznaczyć gdy chce się wydrukować korektę formularza identyfikacyjnego"));
  wiersz(g1, 0, 0, "Nazwa : ", NazIO, 3);
  wiersz(g1, 1, 0, "Numer : ", NumIO);
  wiersz(g1, 1, 2, "NIP : ", NIPIO);
  wiersz(g1, 2, 0, "REGON : ", RegIO);
  wiersz(g1, 2, 2, "Kraj : ", KrIO);
  wiersz(g1, 3, 0, "Województwo : ", WoIO);
  wiersz(g1, 3, 2, "Powiat : ", PoIO);
  wiersz(g1, 4, 0, "Gmina : ", GmIO);
  wiersz(g1, 4, 2, "Kod pocztowy : ", KodIO);
  wiersz(g1, 5, 0, "Miejscowość : ", MieIO);
  wiersz(g1, 5, 2, "Ulica : ", UlIO);
  wiersz(g1, 6, 0, "Nr domu :", NrDIO);
  wiersz(g1, 6, 2, "Nr lokalu : ", NrLIO);
  wiersz(g1, 7, 0, "Rodzaj :", RoIO, 3);
  wiersz(g1, 8, 0, "Uwagi : ", UwIO, 3);
  g1->addWidget(AkIO, 9, 1, 1, 3);
  g1->setRowStretch(10, 1);
  strony->addTab(s1, q("Instytucja obowiązana"));

  // Page 2: the responsible persons and the administrator's password.
  auto* s2 = new QWidget(strony);
  auto* l2 = new QVBoxLayout(s2);
  auto* osoby = new QHBoxLayout();
  struct Pola {
    QLineEdit** im; QLineEdit** na; QLineEdit** st; QLineEdit** te; QLineEdit** fa; QLineEdit** ko;
    QLineEdit** ha; QLineEdit** em;
  };
  auto osoba = [&](QGroupBox*& box, const char* tytul, const char* n, Pola p) {
    box = new QGroupBox(q(tytul), s2);
    auto* g = new QGridLayout(box);
    const std::string s(n);
    *p.im = pole(box, ("ImOs" + s + "IO").c_str(), 28);
    *p.na = pole(box, ("NaOs" + s + "IO").c_str(), 28);
    *p.st = pole(box, ("StOs" + s + "IO").c_str(), 29);
    *p.te = pole(box, ("TeOs" + s + "IO").c_str(), 13);
    *p.fa = pole(box, ("FaOs" + s + "IO").c_str(), 13);
    *p.ko = pole(box, ("KoOs" + s + "IO").c_str(), 9);
    *p.ha = poleHasla(box, ("HaOs" + s + "IO").c_str());
    *p.em = pole(box, ("EmOs" + s + "IO").c_str(), 46);
    wiersz(g, 0, 0, "Imię : ", *p.im);
    wiersz(g, 1, 0, "Nazwisko : ", *p.na);
    wiersz(g, 2, 0, "Stanowisko : ", *p.st);
    wiersz(g, 3, 0, "Telefon :", *p.te);
    wiersz(g, 4, 0, "Fax. :", *p.fa);
    wiersz(g, 5, 0, "Komórka :", *p.ko);
    wiersz(g, 6, 0, "Hasło : ", *p.ha);
    wiersz(g, 7, 0, "e-mail : ", *p.em);
    osoby->addWidget(box);
  };
  osoba(Osoba1, "Upoważniona osoba odpowiedzialna za przekazywanie informacji do ZELT 1", "1",
        {&ImOs1IO, &NaOs1IO, &StOs1IO, &TeOs1IO, &FaOs1IO, &KoOs1IO, &HaOs1IO, &EmOs1IO});
  osoba(Osoba2, "Upoważniona osoba odpowiedzialna za przekazywanie informacji do ZELT 2", "2",
        {&ImOs2IO, &NaOs2IO, &StOs2IO, &TeOs2IO, &FaOs2IO, &KoOs2IO, &HaOs2IO, &EmOs2IO});
  l2->addLayout(osoby);
  auto* admin = new QGridLayout();
  HaAdmin = poleHasla(s2, "HaAdmin");
  wiersz(admin, 0, 0, "Hasło administratora : ", HaAdmin);
  admin->setColumnStretch(2, 1);
  l2->addLayout(admin);
  l2->addStretch(1);
  strony->addTab(s2, q("Osoby odpowiedz."));
  // Only an edit by the user marks a password as set by the administrator; filling the edit from
  // the store or from the sign-in does not.
  connect(HaOs1IO, &QLineEdit::textEdited, this, [this] { HaOs1IOChange(); });
  connect(HaOs2IO, &QLineEdit::textEdited, this, [this] { HaOs2IOChange(); });

  // Page 3: the organisational units.
  stronaJednostek = new QWidget(strony);
  stronaJednostek->setObjectName("stronaJednostek");
  auto* l3 = new QVBoxLayout(stronaJednostek);
  JedIO = new QTableWidget(0, kKolumnJednostek, stronaJednostek);
  JedIO->setObjectName("JedIO");
  JedIO->verticalHeader()->setVisible(false);
  JedIO->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  JedIO->verticalHeader()->setMinimumSectionSize(16);
  JedIO->verticalHeader()->setDefaultSectionSize(18);
  JedIO->setSelectionBehavior(QAbstractItemView::SelectRows);
  JedIO->setSelectionMode(QAbstractItemView::SingleSelection);
  JedIO->setEditTriggers(QAbstractItemView::NoEditTriggers);
  JedIO->setWordWrap(false);
  JedIO->horizontalHeader()->setHighlightSections(false);
  // A header wider than its column shows its beginning, as the grid's fixed row drew it.
  JedIO->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  JedIO->horizontalHeader()->setMinimumSectionSize(16);
  for (int k = 0; k < kKolumnJednostek; ++k) JedIO->setColumnWidth(k, kKolumnyJednostek[static_cast<std::size_t>(k)].szerokosc);
  // The running number and the unit number are read whole whatever the font.
  const QFontMetrics fm = JedIO->fontMetrics();
  JedIO->setColumnWidth(kol::Lp, std::max(JedIO->columnWidth(kol::Lp), fm.horizontalAdvance(QStringLiteral("99")) + 10));
  JedIO->setColumnWidth(kol::Num, std::max(JedIO->columnWidth(kol::Num), fm.horizontalAdvance(QStringLiteral("00000000")) + 10));
  l3->addWidget(JedIO, 1);
  auto* p3 = new QHBoxLayout();
  DodajIO = new QPushButton(q("&Dodaj"), stronaJednostek);
  DodajIO->setObjectName("DodajIO");
  editIO = new QPushButton(q("&Edytuj"), stronaJednostek);
  editIO->setObjectName("editIO");
  editIO->setToolTip(q("Zmiana danych jednostki organizacyjnej"));
  UsunIO = new QPushButton(q("&Usuń"), stronaJednostek);
  UsunIO->setObjectName("UsunIO");
  for (QPushButton* b : {DodajIO, editIO, UsunIO}) {
    b->setAutoDefault(false);
    p3->addWidget(b);
  }
  p3->addStretch(1);
  l3->addLayout(p3);
  strony->addTab(stronaJednostek, q("Jedn.Organ."));
  connect(DodajIO, &QPushButton::clicked, this, [this] { DodajIOClick(); });
  connect(editIO, &QPushButton::clicked, this, [this] { editIOClick(); });
  connect(UsunIO, &QPushButton::clicked, this, [this] { UsunIOClick(); });
  connect(JedIO, &QTableWidget::currentCellChanged, this, [this] { JedIOKeyUp(); });
  pokazJednostki();

  // Page 4: folders and the report files.
  auto* s4 = new QWidget(strony);
  auto* l4 = new QVBoxLayout(s4);
  auto etykieta = [&](const char* text, QWidget* w) {
    auto* l = new QLabel(q(text), s4);
    l->setBuddy(w);
    l4->addWidget(l);
    l4->addWidget(w);
  };
  kataldan = pole(s4, "kataldan", 255);
  katalpod = pole(s4, "katalpod", 255);
  kataleks = pole(s4, "kataleks", 255);
  nazpli = pole(s4, "nazpli", 5);
  nazpli->setValidator(new NazwaSkrotowa(nazpli));
  format = new QGroupBox(q("Format generowanego pliku"), s4);
  format->setObjectName("format");
  auto* fg = new QGridLayout(format);
  formatTxt = new QRadioButton(q("Plik tekstowy"), format);
  formatXml = new QRadioButton(q("Plik w formacie XML"), format);
  fg->addWidget(formatTxt, 0, 0);
  fg->addWidget(formatXml, 0, 1);
  formatGrupa_ = new QButtonGroup(this);
  formatGrupa_->addButton(formatTxt, 0);
  formatGrupa_->addButton(formatXml, 1);
  formatTxt->setChecked(true);
  etykieta("Katalog danych", kataldan);
  etykieta("Katalog listy podmiotów", katalpod);
  l4->addWidget(format);
  etykieta("Katalog generowanych plików", kataleks);
  etykieta("Nazwa skrótowa dla nazw plików", nazpli);
  nazpli->setMaximumWidth(80);
  l4->addStretch(1);
  strony->addTab(s4, q("Katalogi danych"));

  auto* przyciski = new QHBoxLayout();
  struct B { QPushButton*& b; const char* name; const char* caption; const char* hint; };
  B lista[] = {
      {zapis, "zapis", "&Zapisz", "Zapisuje zmiany danych instytucji obowiązanej i zamyka edycję"},
      {weryf, "weryf", "&Weryfikuj", ""},
      {DrukIdent, "DrukIdent", "&Drukuj formularz identyfikacyjny", "Drukuje formularz identyfikacyjny lub jego korektę"},
      {dodaj, "dodaj", "Dodaj &IO", ""},
      {wyjscie, "wyjscie", "&Powrót",
       "Wychodzi bez zapisu wprowadzonych zmian - zmiany będą aktywne do opuszczenia programu"},
  };
  for (auto& b : lista) {
    b.b = new QPushButton(q(b.caption), this);
    b.b->setObjectName(b.name);
    b.b->setAutoDefault(false);
    if (*b.hint) b.b->setToolTip(q(b.hint));
    przyciski->addWidget(b.b);
  }
  weryf->setToolTip(q("Weryfikacja danych instytucji obowiązanej"));
  lay->addLayout(przyciski);
  connect(zapis, &QPushButton::clicked, this, [this] { zapisClick(); });
  connect(weryf, &QPushButton::clicked, this, [this] { weryfClick(); });
  connect(DrukIdent, &QPushButton::clicked, this, [this] { DrukIdentClick(); });
  connect(dodaj, &QPushButton::clicked, this, [this] { dodajClick(); });
  connect(wyjscie, &QPushButton::clicked, this, [this] { wyjscieClick(); });
  for (auto [e, v] : polaTekstowe()) platform::guardEdit(e);
  // Folders keep any character: the store holds them as Unicode text.
  for (QLineEdit* e : {kataldan, katalpod, kataleks}) platform::guardEdit(e, {.anyCharacter = true});
  ustaw(DaneIO{});
}

QLineEdit* TFirmaForm::edycjaHasla(hasla::Rola rola) const {
  switch (rola) {
    case hasla::Rola::Osoba1: return HaOs1IO;
    case hasla::Rola::Osoba2: return HaOs2IO;
    case hasla::Rola::Administrator: return HaAdmin;
  }
  return HaAdmin;
}

int TFirmaForm::formatItemIndex() const { return formatGrupa_->checkedId() == 1 ? 1 : 0; }

void TFirmaForm::setFormatItemIndex(int index) { (index == 1 ? formatXml : formatTxt)->setChecked(true); }

std::vector<TFirmaForm::PoleTekstu> TFirmaForm::polaTekstowe() const {
  using D = DaneIO;
  return {
      {NazIO, [](D& d) -> std::string& { return d.nazIO; }},
      {NumIO, [](D& d) -> std::string& { return d.numIO; }},
      {NIPIO, [](D& d) -> std::string& { return d.NIPIO; }},
      {RegIO, [](D& d) -> std::string& { return d.RegIO; }},
      {KrIO, [](D& d) -> std::string& { return d.KrIO; }},
      {WoIO, [](D& d) -> std::string& { return d.WoIO; }},
      {PoIO, [](D& d) -> std::string& { return d.PoIO; }},
      {GmIO, [](D& d) -> std::string& { return d.GmIO; }},
      {KodIO, [](D& d) -> std::string& { return d.KodIO; }},
      {MieIO, [](D& d) -> std::string& { return d.MieIO; }},
      {UlIO, [](D& d) -> std::string& { return d.UlIO; }},
      {NrDIO, [](D& d) -> std::string& { return d.NrDIO; }},
      {NrLIO, [](D& d) -> std::string& { return d.NrLIO; }},
      {UwIO, [](D& d) -> std::string& { return d.UwIO; }},
      {ImOs1IO, [](D& d) -> std::string& { return d.os[0].im; }},
      {NaOs1IO, [](D& d) -> std::string& { return d.os[0].na; }},
      {StOs1IO, [](D& d) -> std::string& { return d.os[0].st; }},
      {TeOs1IO, [](D& d) -> std::string& { return d.os[0].te; }},
      {FaOs1IO, [](D& d) -> std::string& { return d.os[0].fa; }},
      {KoOs1IO, [](D& d) -> std::string& { return d.os[0].ko; }},
      {HaOs1IO, [](D& d) -> std::string& { return d.os[0].haslo; }},
      {EmOs1IO, [](D& d) -> std::string& { return d.os[0].em; }},
      {ImOs2IO, [](D& d) -> std::string& { return d.os[1].im; }},
      {NaOs2IO, [](D& d) -> std::string& { return d.os[1].na; }},
      {StOs2IO, [](D& d) -> std::string& { return d.os[1].st; }},
      {TeOs2IO, [](D& d) -> std::string& { return d.os[1].te; }},
      {FaOs2IO, [](D& d) -> std::string& { return d.os[1].fa; }},
      {KoOs2IO, [](D& d) -> std::string& { return d.os[1].ko; }},
      {HaOs2IO, [](D& d) -> std::string& { return d.os[1].haslo; }},
      {EmOs2IO, [](D& d) -> std::string& { return d.os[1].em; }},
      {HaAdmin, [](D& d) -> std::string& { return d.haAdmin; }},
      {nazpli, [](D& d) -> std::string& { return d.NazPli; }},
  };
}

void TFirmaForm::ustaw(const DaneIO& dane) {
  DaneIO d = dane;
  for (auto [e, v] : polaTekstowe()) {
    e->setText(q(v(d)));
  }
  nazpli->setText(nazpli->text().toUpper());
  RoIO->setCurrentIndex(d.RoIO >= 0 && d.RoIO < RoIO->count() ? d.RoIO : -1);
  AkIO->setChecked(d.AkIO);
  setFormatItemIndex(d.Format);
  archdir = d.archdir;
  ekspdir = d.ekspdir;
}

DaneIO TFirmaForm::dane() const {
  DaneIO d;
  for (auto [e, v] : polaTekstowe()) v(d) = cp(e);
  // Folder names keep every character they have: they are stored as Unicode text when they must.
  d.KatDan = kataldan->text();
  d.KatPod = katalpod->text();
  d.KatEks = kataleks->text();
  d.RoIO = RoIO->currentIndex();
  d.AkIO = AkIO->isChecked();
  d.Format = formatItemIndex();
  d.archdir = archdir;
  d.ekspdir = ekspdir;
  d.JedIO = jednostkiIO.RowCount();
  for (int i = 0; i < 2; ++i) d.os[i].zmiana = zapisZeZnakiem(program_.stanHasel, i);
  return d;
}

void TFirmaForm::FormCreate() {
  Program& p = program_;
  auto& reg = p.svc.reg;
  p.stanHasel = 0;
  kataldan->setText(p.KatDan);
  katalpod->setText(p.KatPod);
  kataleks->setText(p.KatEks);
  platform::restoreGeometry(reg, *this, "Firma");
  if (p.aktualneIO.empty()) p.aktualneIO = "IO\\";
  const DaneIO d = wczytajIO(reg, p.aktualneIO);
  ustaw(d);
  numerSiedziby_.take();
  jednostkiIO = wczytajJednostki(reg, p.aktualneIO, d.JedIO);
  pokazJednostki();
  setBiezacyWiersz(1);
  const bool saJednostki = jednostkiIO.RowCount() >= 3;
  UsunIO->setEnabled(saJednostki);
  editIO->setEnabled(saJednostki);
  if (d.os[0].zmiana) p.stanHasel |= hasla::stan::kZmiana1;
  if (d.os[1].zmiana) p.stanHasel |= hasla::stan::kZmiana2;
  p.stanHasel &= 0xF0;
  // No installation stays open to an empty administrator's password: the first sign-in of an
  // institution without one asks the administrator to choose it.
  if (HaAdmin->text().isEmpty()) p.stanHasel |= hasla::stan::kZmianaAdmin;

  if (TwizytForm* splash = p.wizyt()) {
    splash->NazUzyt->setText(NazIO->text());
    splash->NipUzyt->setText(NIPIO->text());
    splash->RegUzyt->setText(RegIO->text());
  }
}

void TFirmaForm::weryfIO() { weryfikujIO(dane(), jednostkiIO, program_.listyWer); }

void TFirmaForm::weryfClick() {
  Program& p = program_;
  weryfIO();
  if (!p.listyWer.saUwagi())
    p.svc.dialogs.showMessage(q("Brak błędów"));
  else if (p.wer())
    p.wer()->pokazDoOdczytu();
}

void TFirmaForm::DrukIdentClick() { drukujFormularzIO(program_, *this); }

std::string TFirmaForm::numerSiedziby() const {
  return cp1250::fromUnicode(numerSiedziby_.value().value_or(QStringLiteral("00000000")));
}

void TFirmaForm::zapiszDoRejestru(platform::RegistryStore& reg, KtoZapisuje kto) {
  DaneIO d = dane();
  if (kto == KtoZapisuje::Wyjscie && !platform::exactDigits(NumIO->text(), 8)) {
    const std::string klucz = kluczInstytucji(program_.aktualneIO);
    if (const auto wMocy = numerSiedziby_.value())
      d.numIO = cp1250::fromUnicode(*wMocy);
    else
      d.numIO = reg.readString(platform::RegRoot::CurrentUser, klucz, "numIO").value_or(DaneIO{}.numIO);
  }
  platform::RegistryBatch batch(reg);
  const int staryJedIO = zapiszIO(reg, program_.aktualneIO, d);
  zapiszJednostki(reg, program_.aktualneIO, staryJedIO, jednostkiIO);
  batch.commit();
}

void TFirmaForm::zapisClick() {
  Program& p = program_;
  // The seat's number takes 8 digits. Only a number the user has typed is held to it: a stored one
  // is kept as it was loaded.
  if (NumIO->isModified() && !platform::exactDigits(NumIO->text(), 8)) {
    p.svc.dialogs.messageBox(q("Numer instytucji obowiązanej musi składać się z 8 cyfr"), windowTitle(),
                             platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    strony->setCurrentIndex(0);
    NumIO->setFocus();
    return;
  }
  weryfIO();
  if (p.listyWer.saUwagi() && p.wer() && p.wer()->pokazDoZapisu(q("Zapisz")) != TWerForm::kPotwierdz) {
    setModalResult(platform::mrCancel);  // closed without writing
    return;
  }
  auto& reg = p.svc.reg;
  if (p.aktualneIO.empty()) p.aktualneIO = "IO\\";
  // One batch: a store that cannot be written keeps the old data whole and the window open.
  platform::RegistryBatch batch(reg);
  const TwizytForm* splash = p.wizyt();
  zapiszKluczProgramu(reg, splash ? cp1250::fromUnicode(splash->Wersja->text()) : std::string(), p.IloscIO,
                      splash ? splash->WyborIO->currentIndex() : -1);
  zapiszDoRejestru(reg, KtoZapisuje::Okno);
  batch.commit();
  numerSiedziby_.take();
  setModalResult(platform::mrOk);
}

void TFirmaForm::wyjscieClick() {
  numerSiedziby_.take();
  setModalResult(platform::mrCancel);
}

void TFirmaForm::hideEvent(QHideEvent* e) {
  // However the window is left (the check's "&Wróć" and the close box too), a whole number the
  // user typed acts from now on.
  if (!e->spontaneous()) numerSiedziby_.take();
  platform::ModalForm::hideEvent(e);
}

void TFirmaForm::dodajClick() {
  Program& p = program_;
  auto& dialogs = p.svc.dialogs;
  if (p.IloscIO >= kMaxInstytucji) {
    dialogs.showMessage(q("Dodanie kolejnej instytucji niemożliwe (najwyżej 99 instytucji)"));
    return;
  }
  TAddIOForm* f = p.addIO();
  if (!f) return;
  f->AddIO->clear();
  if (dialogs.showModal(*f) != platform::mrOk) return;
  const std::string nazwa = cp1250::fromUnicode(f->AddIO->text().trimmed());
  if (nazwa.empty()) return;
  const int n = p.IloscIO + 1;
  // The count, the new key's name and its folders together; a store that cannot be written shows
  // the error and leaves the installation and this run as they were.
  if (!platform::guarded(dialogs, [&] {
        zapiszNowaInstytucje(p.svc.reg, n, nazwa, {p.KatDan, p.KatPod, p.KatEks});
      }))
    return;
  // The program names the new institution's folders itself, so it makes them too: its first start
  // would otherwise find none and warn of folders the user never chose.
  for (const QString& f : {p.KatDan, p.KatPod, p.KatEks})
    if (const QString nowy = folderNowejInstytucji(f, n); !nowy.isEmpty()) platform::makePrivatePath(nowy);
  p.IloscIO = n;
  // The new institution is chosen at the next start.
  if (TglownyForm* g = p.glowny()) g->zapiszUstawienia();
}

void TFirmaForm::pokazJednostki() {
  const int biezacy = JedIO->currentRow();
  const JednostkiIO& j = jednostkiIO;
  QStringList naglowki;
  for (int k = 0; k < kKolumnJednostek; ++k) naglowki << q(j.komorka(0, k));
  JedIO->setHorizontalHeaderLabels(naglowki);
  for (int k = 0; k < kKolumnJednostek; ++k) JedIO->horizontalHeaderItem(k)->setToolTip(naglowki[k]);
  JedIO->clearContents();
  JedIO->setRowCount(j.RowCount() - 1);
  for (int w = 1; w < j.RowCount(); ++w)
    for (int k = 0; k < kKolumnJednostek; ++k) JedIO->setItem(w - 1, k, new QTableWidgetItem(q(j.komorka(w, k))));
  if (biezacy >= 0) setBiezacyWiersz(std::min(biezacy + 1, j.RowCount() - 1));
  DodajIO->setEnabled(j.iloscJednostek() < kMaxJednostek);
}

int TFirmaForm::biezacyWiersz() const { return JedIO->currentRow() + 1; }

void TFirmaForm::setBiezacyWiersz(int w) {
  if (w >= 1 && w < jednostkiIO.RowCount()) JedIO->setCurrentCell(w - 1, std::max(JedIO->currentColumn(), 0));
}

void TFirmaForm::JedIOKeyUp() {
  const bool jednostka = jednostkiIO.wierszJednostki(biezacyWiersz());
  UsunIO->setEnabled(jednostka);
  editIO->setEnabled(jednostka);
  DodajIO->setEnabled(jednostkiIO.iloscJednostek() < kMaxJednostek);
}

void TFirmaForm::DodajIOClick() {
  TJednForm* f = program_.jedn();
  if (!f || jednostkiIO.iloscJednostek() >= kMaxJednostek) return;
  f->trybDodawania(jednostkiIO, zaproponujNumer(cp(NumIO), jednostkiIO));
  program_.svc.dialogs.showModal(*f);
  pokazJednostki();
  if (jednostkiIO.RowCount() > 2) {
    UsunIO->setEnabled(true);
    editIO->setEnabled(true);
  }
  JedIOKeyUp();
}

void TFirmaForm::editIOClick() {
  TJednForm* f = program_.jedn();
  const int w = biezacyWiersz();
  if (!f || !jednostkiIO.wierszJednostki(w)) return;
  f->trybEdycji(jednostkiIO, w);
  program_.svc.dialogs.showModal(*f);
  pokazJednostki();
  JedIO->setFocus();
}

void TFirmaForm::UsunIOClick() {
  if (!jednostkiIO.usun(biezacyWiersz())) return;
  pokazJednostki();
  JedIOKeyUp();
  JedIO->setFocus();
}

void TFirmaForm::HaOs1IOChange() { program_.stanHasel |= hasla::stan::kWpisane1; }
void TFirmaForm::HaOs2IOChange() { program_.stanHasel |= hasla::stan::kWpisane2; }

void TFirmaForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    program_.pomoc(kHelpContext);
    return;
  }
  platform::ModalForm::keyPressEvent(e);
}

}  // namespace zelt
