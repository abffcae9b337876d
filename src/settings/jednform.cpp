#include "settings/jednform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/geometry.h"
#include "register/program.h"

namespace zelt {

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

QLineEdit* pole(QWidget* parent, const char* name, int maxLength, const char* hint = nullptr) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMaxLength(maxLength);
  if (hint) e->setToolTip(q(hint));
  platform::guardEdit(e);
  return e;
}

}  // namespace

TJednForm::TJednForm(Program& program) : program_(program) {
  setObjectName("JednForm");
  setWindowTitle(q("Edycja danych jednoski organizacyjnej"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  NazIO = pole(this, "NazIO", 56, "Nazwa jednostki organizacyjnej");
  NumIO = pole(this, "NumIO", 8, "Wewnętrzny numer jednostki organizacyjnej");
  NumIO->setInputMask(QStringLiteral("99999999"));
  WojIO = pole(this, "WojIO", 29);
  KodIO = pole(this, "KodIO", 5, "Adres jednostki - kod pocztowy bez kreski");
  MieIO = pole(this, "MieIO", 21);
  UliIO = pole(this, "UliIO", 29);
  TelIO = pole(this, "TelIO", 13);
  FaxIO = pole(this, "FaxIO", 13);

  auto* lay = new QVBoxLayout(this);
  auto* g = new QGridLayout();
  auto wiersz = [&](int r, int c, const char* label, QLineEdit* e, int span = 1) {
    auto* l = new QLabel(q(label), this);
    l->setBuddy(e);
    g->addWidget(l, r, c);
    g->addWidget(e, r, c + 1, 1, span);
  };
  wiersz(0, 0, "Numer :", NumIO);
  wiersz(1, 0, "Nazwa :", NazIO, 3);
  wiersz(2, 0, "Województwo : ", WojIO);
  wiersz(2, 2, "Kod pocztowy : ", KodIO);
  wiersz(3, 0, "Miejscowość : ", MieIO);
  wiersz(3, 2, "Ulica : ", UliIO);
  wiersz(4, 0, "Telefon :", TelIO);
  wiersz(4, 2, "Fax :", FaxIO);
  NumIO->setFixedWidth(NumIO->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
  KodIO->setFixedWidth(KodIO->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
  NazIO->setMinimumWidth(NazIO->fontMetrics().averageCharWidth() * 56);
  lay->addLayout(g);

  Zapis = new QPushButton(q("&Wprowadź"), this);
  Zapis->setObjectName("Zapis");
  Zapis->setToolTip(q("Wprowadzenie danych jednostki"));
  wyjscie = new QPushButton(q("&Powrót"), this);
  wyjscie->setObjectName("wyjscie");
  wyjscie->setToolTip(q("Wyjście bez wprowadzenia danych"));
  for (QPushButton* b : {Zapis, wyjscie}) b->setAutoDefault(false);
  auto* przyciski = new QHBoxLayout();
  przyciski->addStretch(1);
  przyciski->addWidget(Zapis);
  przyciski->addWidget(wyjscie);
  lay->addLayout(przyciski);
  lay->setSizeConstraint(QLayout::SetFixedSize);
  connect(Zapis, &QPushButton::clicked, this, [this] { ZapisClick(); });
  connect(wyjscie, &QPushButton::clicked, this, [this] { wyjscieClick(); });

  setTabOrder(NazIO, NumIO);
  setTabOrder(NumIO, WojIO);
  setTabOrder(WojIO, KodIO);
  setTabOrder(KodIO, MieIO);
  setTabOrder(MieIO, UliIO);
  setTabOrder(UliIO, TelIO);
  setTabOrder(TelIO, FaxIO);
  setTabOrder(FaxIO, Zapis);
  setTabOrder(Zapis, wyjscie);
}

void TJednForm::FormCreate() { platform::restoreGeometry(program_.svc.reg, *this, "Jednostka"); }

void TJednForm::trybDodawania(JednostkiIO& j, const std::string& numer) {
  jednostki_ = &j;
  wiersz_ = 0;
  NumIO->setEnabled(true);
  NumIO->setText(cp1250::toQ(numer));
  for (QLineEdit* e : {NazIO, WojIO, KodIO, MieIO, UliIO, TelIO, FaxIO}) e->clear();
}

void TJednForm::trybEdycji(JednostkiIO& j, int w) {
  jednostki_ = &j;
  wiersz_ = w;
  NumIO->setEnabled(false);
  const auto edycje = edycjeKolumn();
  for (int k = kol::Num; k < kKolumnJednostek; ++k) edycje[static_cast<std::size_t>(k)]->setText(cp1250::toQ(j.komorka(w, k)));
}

std::array<QLineEdit*, kKolumnJednostek> TJednForm::edycjeKolumn() const {
  return {nullptr, NumIO, NazIO, UliIO, KodIO, MieIO, WojIO, TelIO, FaxIO};
}

JednostkiIO::Wiersz TJednForm::wiersz() const {
  JednostkiIO::Wiersz w;
  const auto edycje = edycjeKolumn();
  for (int k = kol::Num; k < kKolumnJednostek; ++k)
    w[static_cast<std::size_t>(k)] = cp1250::fromUnicode(edycje[static_cast<std::size_t>(k)]->text());
  return w;
}

void TJednForm::ZapisClick() {
  if (!jednostki_) return;
  if (trybDodawania()) {
    // The mask takes blanks too: a stored unit always carries its whole 8-digit number.
    if (!platform::exactDigits(NumIO->text(), 8)) {
      program_.svc.dialogs.showMessage(q("Numer jednostki musi składać się z 8 cyfr"));
      return;
    }
    jednostki_->dodaj(wiersz());
  } else if (jednostki_->wierszJednostki(wiersz_)) {
    // Only what the user changed: an untouched stored value goes back as stored, never cut to
    // its edit's length.
    JednostkiIO::Wiersz w = jednostki_->wiersz(wiersz_);
    const auto edycje = edycjeKolumn();
    for (int k = kol::Naz; k < kKolumnJednostek; ++k)
      if (edycje[static_cast<std::size_t>(k)]->isModified())
        w[static_cast<std::size_t>(k)] = cp1250::fromUnicode(edycje[static_cast<std::size_t>(k)]->text());
    jednostki_->zmien(wiersz_, w);
  }
  setModalResult(platform::mrOk);
}

void TJednForm::wyjscieClick() { setModalResult(platform::mrCancel); }

void TJednForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    program_.pomoc(kHelpContext);
    return;
  }
  platform::ModalForm::keyPressEvent(e);
}

}  // namespace zelt
