#include "settings/edpodmiotform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/geometry.h"
#include "platform/guard.h"
#include "platform/library.h"
#include "register/program.h"
#include "register/werform.h"
#include "settings/edpodmiot.h"
#include "settings/kodykrajform.h"
#include "settings/slownik.h"

namespace zelt {

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr int kDlugoscNazwy = 140;

void wypelnijListe(QComboBox* c, const std::vector<std::string>& pozycje) {
  c->clear();
  for (const auto& p : pozycje) c->addItem(cp1250::toQ(p));
}

void pokazUwage(QLabel* etykieta, QLineEdit* uwaga, bool tak) {
  etykieta->setVisible(tak);
  uwaga->setVisible(tak);
}

std::string tekst(const QLineEdit* e) { return cp1250::fromUnicode(e->text()); }

}  // namespace

TEdPodmiotForm::TEdPodmiotForm(Program& program) : program_(program) {
  setObjectName("EdPodmiotForm");
  setWindowTitle(u("Edycja danych podmiotu"));
  resize(566, 432);

  auto lista = [this](const char* name, const std::vector<std::string>& pozycje) {
    auto* c = new QComboBox(this);
    c->setObjectName(name);
    c->setEditable(false);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(20);
    wypelnijListe(c, pozycje);
    c->setCurrentIndex(-1);
    return c;
  };
  auto edycja = [this](const char* name, int limit, const char* hint = nullptr) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    if (limit > 0) e->setMaxLength(limit);
    if (hint) e->setToolTip(u(hint));
    platform::guardEdit(e);
    return e;
  };
  auto przycisk = [this](const char* name, const char* caption, const char* hint = nullptr) {
    auto* b = new QPushButton(u(caption), this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setDefault(false);
    if (hint) b->setToolTip(u(hint));
    return b;
  };

  TypPo = lista("TypPo", program_.listyKarty.zTypPo);
  TypPo->setToolTip(
      u("Kod statusu prawnego podmiotu. W przypadku wybrania 00 - inny należy podać szczegóły w polu uwag."));
  uwTypPo = edycja("uwTypPo", 255);
  Nz = new QPlainTextEdit(this);
  Nz->setObjectName("Nz");
  Nz->setTabChangesFocus(true);
  Nz->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Nz->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  Nz->setFixedHeight(3 * Nz->fontMetrics().lineSpacing() + 10);
  // Typed or pasted line breaks become blanks; 140 characters at most.
  platform::guardEdit(Nz, kDlugoscNazwy);
  Obyw = edycja("Obyw", 2,
                "Symbol kraju, którego osoba fizyczna jest obywatelem (ISO 3166 dwuliterowy). W przypadku "
                "podwójnego obywatelstwa należy podać w polu uwagi szczegóły.");
  PodObyw = przycisk("PodObyw", "Podpowiedź");
  uwObyw = edycja("uwObyw", 255, "Wypełniać gdy występuje drugie obywatelstwo");
  AdrKr = edycja("AdrKr", 2);
  PodAdrKr = przycisk("PodAdrKr", "Podpowiedź");
  AdrKod = edycja("AdrKod", 10);
  AdrM = edycja("AdrM", 35);
  AdrUl = edycja("AdrUl", 35);
  NrPes = edycja("NrPes", 11);
  NrReg = edycja("NrReg", 9);
  NrReS = edycja("NrReS", 10,
                 "Numer rejestru sądowego podmiotu ( w polu należy podać rodzaj numeru KRS. W razie nie posiadania "
                 "przez podmiot numeru KRS należy wpisać numer RHB.");
  NrSwt = edycja("NrSwt", 15);
  Nip = edycja("Nip", 10);
  RodzDokTo = lista("RodzDokTo", program_.listyKarty.zRodzDokTo);
  NrDokTo = edycja("NrDokTo", 25);
  // 25 characters typed; a longer stored remark is shown and kept whole.
  uwRodzDokTo = edycja("uwRodzDokTo", 25, "Wpisz rodzaj dokumentu tożsamości gdy wybrano inny");
  zapisz = przycisk("zapisz", "&Zapisz");
  Importuj = przycisk("Importuj", "&Importuj",
                      "Import z bazy użytkownika wymaga odpowiedniej dodatkowej biblioteki kelbrix.dll");
  anuluj = przycisk("anuluj", "&Anuluj");
  for (QLineEdit* e : {Obyw, AdrKr}) e->setFixedWidth(40);

  // Long labels wrap, so that the numbers beside the address keep room for their digits.
  auto etykieta = [this](const char* text, QWidget* dla) {
    auto* l = new QLabel(u(text), this);
    l->setBuddy(dla);
    l->setWordWrap(true);
    return l;
  };
  LuwTypPo = etykieta("Uwagi - typ podmiotu", uwTypPo);
  LuwTypPo->setObjectName("LuwTypPo");
  LuwRodzDokTo = etykieta("Uwagi - dokument tożsamości", uwRodzDokTo);
  LuwRodzDokTo->setObjectName("LuwRodzDokTo");

  auto* g = new QGridLayout;
  g->setVerticalSpacing(4);
  int r = 0;
  g->addWidget(etykieta("Typ podmiotu", TypPo), r, 0);
  g->addWidget(TypPo, r++, 1, 1, 3);
  g->addWidget(LuwTypPo, r, 0);
  g->addWidget(uwTypPo, r++, 1, 1, 3);
  g->addWidget(etykieta("Nazwisko, imię / nazwa", Nz), r, 0, Qt::AlignTop);
  g->addWidget(Nz, r++, 1, 1, 3);
  auto zPrzyciskiem = [](QLineEdit* e, QPushButton* b) {
    auto* h = new QHBoxLayout;
    h->addWidget(e);
    h->addWidget(b);
    h->addStretch();
    return h;
  };
  g->addWidget(etykieta("Obywatelstwo", Obyw), r, 0);
  g->addLayout(zPrzyciskiem(Obyw, PodObyw), r++, 1, 1, 3);
  g->addWidget(etykieta("Uwagi (drugie obywatelstwo)", uwObyw), r, 0);
  g->addWidget(uwObyw, r++, 1, 1, 3);
  // The address on the left, the numbers on the right.
  const int start = r;
  g->addWidget(etykieta("Kraj", AdrKr), r, 0);
  g->addLayout(zPrzyciskiem(AdrKr, PodAdrKr), r++, 1);
  const std::pair<const char*, QLineEdit*> adres[] = {{"Kod pocztowy", AdrKod}, {"Miejscowość", AdrM}, {"Ulica", AdrUl}};
  for (const auto& [t, e] : adres) {
    g->addWidget(etykieta(t, e), r, 0);
    g->addWidget(e, r++, 1);
  }
  int r2 = start;
  const std::pair<const char*, QLineEdit*> numery[] = {{"Numer PESEL", NrPes},
                                                       {"Numer REGON", NrReg},
                                                       {"Numer rejestru sądowego", NrReS},
                                                       {"Numer SWIFT", NrSwt},
                                                       {"Numer NIP", Nip}};
  for (const auto& [t, e] : numery) {
    g->addWidget(etykieta(t, e), r2, 2);
    g->addWidget(e, r2++, 3);
  }
  r = std::max(r, r2);
  const int cyfry = fontMetrics().horizontalAdvance(QStringLiteral("000000000000000")) + 12;
  for (const auto& [t, e] : numery) e->setMinimumWidth(cyfry);
  g->addWidget(etykieta("Dokument tożsamości", RodzDokTo), r, 0);
  g->addWidget(RodzDokTo, r++, 1, 1, 3);
  g->addWidget(etykieta("Seria, numer dokumentu tożsamości", NrDokTo), r, 0);
  g->addWidget(NrDokTo, r++, 1, 1, 3);
  g->addWidget(LuwRodzDokTo, r, 0);
  g->addWidget(uwRodzDokTo, r++, 1, 1, 3);
  g->setRowStretch(r, 1);
  g->setColumnStretch(1, 2);
  g->setColumnStretch(3, 1);
  g->setColumnMinimumWidth(0, 150);

  auto* przyciski = new QHBoxLayout;
  przyciski->addWidget(zapisz);
  przyciski->addStretch();
  przyciski->addWidget(Importuj);
  przyciski->addStretch();
  przyciski->addWidget(anuluj);
  auto* lay = new QVBoxLayout(this);
  lay->addLayout(g, 1);
  lay->addLayout(przyciski);

  // Tab passes the two-letter codes and the remarks; it reaches the pickers' buttons instead.
  QWidget* poprzedni = nullptr;
  for (QWidget* w : std::initializer_list<QWidget*>{TypPo, Nz, PodObyw, PodAdrKr, AdrKod, AdrM, AdrUl, NrPes, NrReg,
                                                    NrReS, NrSwt, Nip, RodzDokTo, NrDokTo, zapisz, Importuj, anuluj}) {
    if (poprzedni) setTabOrder(poprzedni, w);
    poprzedni = w;
  }
  for (QWidget* w : std::initializer_list<QWidget*>{Obyw, AdrKr, uwTypPo, uwRodzDokTo, uwObyw})
    w->setFocusPolicy(Qt::ClickFocus);

  // The two codes are shown, and so stored, in upper case (by the code page's own letters).
  for (QLineEdit* e : {Obyw, AdrKr}) {
    connect(e, &QLineEdit::textEdited, this, [e](const QString& t) {
      const QString duze = cp1250::toQ(cp1250::toUpper(cp1250::fromUnicode(t)));
      if (duze == t) return;
      const int kursor = e->cursorPosition();
      e->setText(duze);
      e->setCursorPosition(kursor);
    });
  }
  connect(TypPo, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (ladowanie_) return;
    typPo_ = i;
    TypPoChange();
  });
  connect(RodzDokTo, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (ladowanie_) return;
    rodzDokTo_ = i;
    RodzDokToChange();
  });
  connect(PodObyw, &QPushButton::clicked, this, [this] { PodObywClick(); });
  connect(PodAdrKr, &QPushButton::clicked, this, [this] { PodAdrKrClick(); });
  connect(zapisz, &QPushButton::clicked, this, [this] { zapiszClick(); });
  connect(anuluj, &QPushButton::clicked, this, [this] { anulujClick(); });
  connect(Importuj, &QPushButton::clicked, this, [this] { ImportujClick(); });

  TRekordPodmiotu pusty;
  czyscPodmiot(pusty);
  ustaw(pusty);
}

void TEdPodmiotForm::FormCreate() {
  platform::restoreGeometry(program_.svc.reg, *this, "EdPodmiot");
  platform::Library biblioteka(QString::fromLatin1(kBibliotekaImportu));
  Importuj->setEnabled(biblioteka.probe());
}

void TEdPodmiotForm::ustaw(const TRekordPodmiotu& r) {
  ladowanie_ = true;
  typPo_ = r.TypPo;
  rodzDokTo_ = r.RodzDokTo;
  TypPo->setCurrentIndex(r.TypPo >= 0 && r.TypPo < TypPo->count() ? r.TypPo : -1);
  RodzDokTo->setCurrentIndex(r.RodzDokTo >= 0 && r.RodzDokTo < RodzDokTo->count() ? r.RodzDokTo : -1);
  Nz->setPlainText(cp1250::toQ(r.Nz));
  Obyw->setText(cp1250::toQ(cp1250::toUpper(r.Obyw)));
  AdrKr->setText(cp1250::toQ(cp1250::toUpper(r.AdrKr)));
  const std::pair<QLineEdit*, const std::string*> teksty[] = {
      {AdrKod, &r.AdrKod}, {AdrM, &r.AdrM},   {AdrUl, &r.AdrUl}, {NrPes, &r.NrPes},     {NrReg, &r.NrReg},
      {NrReS, &r.NrReS},   {NrSwt, &r.NrSwt}, {Nip, &r.Nip},     {NrDokTo, &r.NrDokTo}, {uwObyw, &r.uwObyw}};
  for (const auto& [e, t] : teksty) e->setText(cp1250::toQ(*t));
  const bool uwTyp = r.TypPo == 0, uwDok = r.RodzDokTo == 0;
  pokazUwage(LuwTypPo, uwTypPo, uwTyp);
  uwTypPo->setText(uwTyp ? cp1250::toQ(r.uwTypPo) : QString());
  pokazUwage(LuwRodzDokTo, uwRodzDokTo, uwDok);
  uwRodzDokTo->setText(uwDok ? cp1250::toQ(r.uwRodzDokTo) : QString());
  rola_ = r.rolaPo;
  ladowanie_ = false;
}

TRekordPodmiotu TEdPodmiotForm::odczytaj() const {
  TRekordPodmiotu r;
  r.TypPo = typPo_;
  r.RodzDokTo = rodzDokTo_;
  // Wrapped on screen only: a line break would split a report line.
  r.Nz = cp1250::bezSterujacych(cp1250::fromUnicode(Nz->toPlainText()));
  r.Obyw = cp1250::toUpper(tekst(Obyw));
  r.AdrKr = cp1250::toUpper(tekst(AdrKr));
  r.AdrKod = tekst(AdrKod);
  r.AdrM = tekst(AdrM);
  r.AdrUl = tekst(AdrUl);
  r.NrPes = tekst(NrPes);
  r.NrReg = tekst(NrReg);
  r.NrReS = tekst(NrReS);
  r.NrSwt = tekst(NrSwt);
  r.Nip = tekst(Nip);
  r.NrDokTo = tekst(NrDokTo);
  r.uwTypPo = uwTypPoPokazane() ? tekst(uwTypPo) : std::string();
  r.uwRodzDokTo = uwRodzDokToPokazane() ? tekst(uwRodzDokTo) : std::string();
  r.uwObyw = tekst(uwObyw);
  r.rolaPo = rola_;
  return TRekordPodmiotu::decode(r.encode().data());
}

int TEdPodmiotForm::pokaz() {
  TypPo->setFocus();
  return program_.svc.dialogs.showModal(*this);
}

void TEdPodmiotForm::TypPoChange() { pokazUwage(LuwTypPo, uwTypPo, typPo_ == 0); }

void TEdPodmiotForm::RodzDokToChange() { pokazUwage(LuwRodzDokTo, uwRodzDokTo, rodzDokTo_ == 0); }

void TEdPodmiotForm::podpowiedzKraju(QLineEdit* pole, QWidget* dalej) {
  platform::guarded(program_.svc.dialogs, [&] {
    if (TKodykrajForm* kraje = program_.kodykraj()) {
      const int i = kraje->indeksKodu(tekst(pole));
      if (const auto w = kraje->pokaz(i >= 0 ? i : 0)) pole->setText(cp1250::toQ(kraje->kod(*w)));
    }
    dalej->setFocus();
  });
}

void TEdPodmiotForm::PodObywClick() { podpowiedzKraju(Obyw, PodAdrKr); }

void TEdPodmiotForm::PodAdrKrClick() { podpowiedzKraju(AdrKr, AdrKod); }

bool TEdPodmiotForm::weryfPodmiot() {
  const Slownik& kraje = program_.kodykraj() ? program_.kodykraj()->pozycje() : wbudowane::kraje();
  zelt::weryfPodmiot(odczytaj(), kraje, program_.listyWer);
  return program_.listyWer.saUwagi();
}

void TEdPodmiotForm::zapiszClick() {
  platform::guarded(program_.svc.dialogs, [this] {
    if (!weryfPodmiot()) {
      setModalResult(platform::mrOk);
      return;
    }
    // "&Wróć" (and the dialog's close box) goes back to the party for corrections.
    const int wynik = program_.wer()->pokazDoZapisu(u("Zapisz"));
    if (wynik != TWerForm::kWroc) setModalResult(wynik);
  });
}

void TEdPodmiotForm::anulujClick() { setModalResult(platform::mrCancel); }

void TEdPodmiotForm::ImportujClick() {
  platform::guarded(program_.svc.dialogs, [this] {
    platform::Library biblioteka(QString::fromLatin1(kBibliotekaImportu));
    auto r = importujPodmiot(biblioteka, TypPo->count(), RodzDokTo->count());
    if (!r) return;
    r->rolaPo = rola_;
    ustaw(*r);
  });
}

}  // namespace zelt
