#include "settings/podpowform.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QStandardItemModel>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/geometry.h"
#include "platform/shell.h"
#include "register/program.h"

namespace zelt {

std::optional<int> wynikRodzaju(int kategoria, int tytul) {
  if (kategoria < 0 || kategoria >= kKategorieRodzaju || tytul < 0 || tytul >= kTytulyRodzaju) return std::nullopt;
  return (kategoria + 1) * 100 + tytul;
}

std::optional<std::pair<int, int>> indeksyWyniku(int wynik) {
  if (wynik < 100 || wynik >= (kKategorieRodzaju + 1) * 100) return std::nullopt;
  return std::pair{wynik / 100 - 1, wynik % 100};
}

std::string kodRodzaju(int wynik) {
  std::string kod(1, '0');
  kod += std::to_string(wynik);
  return kod;
}

std::optional<std::pair<int, int>> indeksyRodzaju(std::string_view kod) {
  if (kod.size() != 4 || kod[0] != '0') return std::nullopt;
  for (char c : kod)
    if (c < '0' || c > '9') return std::nullopt;
  return indeksyWyniku((kod[1] - '0') * 100 + (kod[2] - '0') * 10 + (kod[3] - '0'));
}

TpodpowForm::TpodpowForm(Program& program) : program_(program) {
  setObjectName("podpowForm");
  setWindowTitle(QStringLiteral("Podpowiedź kodu rodzaju transakcji"));
  setCloseResult(platform::mrDismissed);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  auto* lay = new QVBoxLayout(this);
  auto* grid = new QGridLayout();
  Label1 = new QLabel(QStringLiteral("Kategoria transakcji"), this);
  Label2 = new QLabel(QStringLiteral("Tytuł transakcji"), this);
  Podrodz = new QComboBox(this);
  Podrodz->setObjectName("Podrodz");
  Podtytul = new QComboBox(this);
  Podtytul->setObjectName("Podtytul");
  Label1->setBuddy(Podrodz);
  Label2->setBuddy(Podtytul);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Podrodz, 0, 1);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(Podtytul, 1, 1);
  grid->setColumnStretch(1, 1);
  lay->addLayout(grid);
  zamknij = new QPushButton(QStringLiteral("&Zamknij"), this);
  zamknij->setObjectName("zamknij");
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(zamknij);
  lay->addLayout(buttons);

  for (QComboBox* c : {Podrodz, Podtytul}) {
    // The titles are long: the lists stay a sensible width and the drop-down shows them whole.
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(60);
    c->installEventFilter(this);
    connect(c, &QComboBox::currentIndexChanged, this, [this] { odswiezZamknij(); });
  }
  connect(zamknij, &QPushButton::clicked, this, [this] { zamknijClick(); });

  ustawKategorie(wbudowane::kategorie());
  ustawTytuly(wbudowane::tytuly());
  // The closed lists show each built-in line whole.
  for (QComboBox* c : {Podrodz, Podtytul}) {
    int tekst = 0;
    for (int i = 0; i < c->count(); ++i) tekst = std::max(tekst, c->fontMetrics().horizontalAdvance(c->itemText(i)));
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    const QRect pole = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
    c->setMinimumWidth(c->width() - pole.width() + tekst);
  }
  setFixedSize(sizeHint());
}

void TpodpowForm::wypelnij(QComboBox* combo, const Slownik& lines, int limit) {
  combo->clear();
  for (const auto& line : lines) combo->addItem(cp1250::toQ(line));
  // Lines past the limit are shown but cannot be chosen: they would make no four-digit code.
  if (auto* model = qobject_cast<QStandardItemModel*>(combo->model()))
    for (int i = limit; i < model->rowCount(); ++i) model->item(i)->setEnabled(false);
  combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 24);
  combo->setCurrentIndex(-1);
  odswiezZamknij();
}

void TpodpowForm::ustawKategorie(Slownik lines) {
  kategorie_ = std::move(lines);
  wypelnij(Podrodz, kategorie_, kKategorieRodzaju);
}

void TpodpowForm::ustawTytuly(Slownik lines) {
  tytuly_ = std::move(lines);
  wypelnij(Podtytul, tytuly_, kTytulyRodzaju);
}

void TpodpowForm::FormCreate() {
  platform::restoreGeometry(program_.svc.reg, *this, "Podpow");
  Slownik lines = kategorie_;
  if (zaladujSlownik(program_, program_.plikDanych(QStringLiteral("kategorie.txt")),
                     QStringLiteral("ładowanie kategorii transakcji"), lines))
    ustawKategorie(std::move(lines));
  lines = tytuly_;
  if (zaladujSlownik(program_, program_.plikDanych(QStringLiteral("tytuly.txt")),
                     QStringLiteral("ładowanie tytułów transakcji"), lines))
    ustawTytuly(std::move(lines));
}

void TpodpowForm::odswiezZamknij() {
  zamknij->setEnabled(wynikRodzaju(Podrodz->currentIndex(), Podtytul->currentIndex()).has_value());
}

void TpodpowForm::zamknijClick() {
  if (auto w = wynikRodzaju(Podrodz->currentIndex(), Podtytul->currentIndex())) setModalResult(*w);
}

bool TpodpowForm::PodrodzKeyDown(QKeyEvent* e) {
  if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) return false;
  focusNextChild();
  return true;
}

bool TpodpowForm::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Podrodz || watched == Podtytul) && event->type() == QEvent::KeyPress)
    return PodrodzKeyDown(static_cast<QKeyEvent*>(event));
  return platform::ModalForm::eventFilter(watched, event);
}

void TpodpowForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    program_.pomoc(kHelpContext);
    return;
  }
  platform::ModalForm::keyPressEvent(e);
}

std::optional<int> TpodpowForm::pokaz(int kategoria, int tytul) {
  Podrodz->setCurrentIndex(kategoria >= 0 && kategoria < Podrodz->count() ? kategoria : -1);
  Podtytul->setCurrentIndex(tytul >= 0 && tytul < Podtytul->count() ? tytul : -1);
  odswiezZamknij();
  Podrodz->setFocus();
  const int wynik = program_.svc.dialogs.showModal(*this);
  const auto indeksy = indeksyWyniku(wynik);
  if (!indeksy || indeksy->first >= Podrodz->count() || indeksy->second >= Podtytul->count()) return std::nullopt;
  return wynik;
}

std::optional<std::string> TpodpowForm::wybierzKod(std::string_view obecny) {
  const auto indeksy = indeksyRodzaju(obecny);
  const auto wynik = indeksy ? pokaz(indeksy->first, indeksy->second) : pokaz(-1, -1);
  if (!wynik) return std::nullopt;
  return kodRodzaju(*wynik);
}

}  // namespace zelt
