#include "register/werform.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/geometry.h"
#include "platform/shell.h"
#include "register/program.h"

namespace zelt {

namespace {

QTableWidget* nowaSiatka(QWidget* parent, const char* name, const QString& ostatniNaglowek) {
  auto* g = new QTableWidget(1, 4, parent);
  g->setObjectName(name);
  g->setHorizontalHeaderLabels({QStringLiteral("Lp"), QStringLiteral("Pole"), QStringLiteral("Nazwa pola"),
                                ostatniNaglowek});
  g->verticalHeader()->setVisible(false);
  g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  g->verticalHeader()->setMinimumSectionSize(16);
  g->verticalHeader()->setDefaultSectionSize(16);
  g->setSelectionBehavior(QAbstractItemView::SelectRows);
  g->setSelectionMode(QAbstractItemView::SingleSelection);
  g->setEditTriggers(QAbstractItemView::NoEditTriggers);
  g->setWordWrap(false);
  QHeaderView* h = g->horizontalHeader();
  h->setSectionResizeMode(QHeaderView::Interactive);
  h->setHighlightSections(false);
  h->setMinimumSectionSize(16);
  h->setDefaultSectionSize(150);
  h->resizeSection(0, 25);
  h->resizeSection(1, 150);
  h->resizeSection(2, 150);
  // The message takes the rest of the width; in a narrow window it keeps a readable minimum and
  // the grid scrolls sideways to it.
  h->setStretchLastSection(true);
  return g;
}

QLabel* nowaEtykieta(QWidget* parent, const QString& text) {
  auto* l = new QLabel(text, parent);
  QFont f = l->font();
  f.setBold(true);
  l->setFont(f);
  return l;
}

// Shows the rows of one list; with no rows the grid holds one empty row.
void wypelnij(QTableWidget& g, const std::vector<Uwaga>& lista) {
  g.clearContents();
  g.setRowCount(lista.empty() ? 1 : static_cast<int>(lista.size()));
  for (int i = 0; i < static_cast<int>(lista.size()); ++i) {
    const Uwaga& u = lista[static_cast<std::size_t>(i)];
    const QString komorki[4] = {QString::number(u.lp), cp1250::toQ(u.pole), cp1250::toQ(u.nazwa),
                                cp1250::toQ(u.tekst)};
    for (int c = 0; c < 4; ++c) {
      auto* it = new QTableWidgetItem(komorki[c]);
      it->setToolTip(komorki[c]);  // a long message is cut in its cell
      g.setItem(i, c, it);
    }
  }
  g.setCurrentCell(0, 0);
}

}  // namespace

TWerForm::TWerForm(Program& program) : program_(program) {
  setObjectName("WerForm");
  setWindowTitle(QStringLiteral("Weryfikacja"));
  resize(571, 402);
  setMinimumSize(420, 260);

  etBledy = nowaEtykieta(this, QStringLiteral("Błędy krytyczne :"));
  bledy = nowaSiatka(this, "bledy", QStringLiteral("Błąd"));
  etOstrze = nowaEtykieta(this, QStringLiteral("Ostrzeżenia :"));
  ostrze = nowaSiatka(this, "ostrze", QStringLiteral("Ostrzeżenie"));
  etBledy->setBuddy(bledy);
  etOstrze->setBuddy(ostrze);

  zapisz = new QPushButton(QStringLiteral("&Zapisz"), this);
  zapisz->setObjectName("zapisz");
  zamknij = new QPushButton(QStringLiteral("&Wróć"), this);
  zamknij->setObjectName("zamknij");
  wroc = new QPushButton(QStringLiteral("&Anuluj"), this);
  wroc->setObjectName("wroc");
  // No default button: see keyPressEvent.
  for (QPushButton* b : {zapisz, zamknij, wroc}) b->setAutoDefault(false);
  connect(zapisz, &QPushButton::clicked, this, [this] { zapiszClick(); });
  connect(zamknij, &QPushButton::clicked, this, [this] { zamknijClick(); });
  connect(wroc, &QPushButton::clicked, this, [this] { wrocClick(); });
  setCloseResult(kWroc);

  auto* lay = new QVBoxLayout(this);
  lay->addWidget(etBledy);
  lay->addWidget(bledy, 1);
  lay->addWidget(etOstrze);
  lay->addWidget(ostrze, 1);
  auto* przyciski = new QHBoxLayout;
  przyciski->addWidget(zapisz);
  przyciski->addStretch();
  przyciski->addWidget(zamknij);
  przyciski->addStretch();
  przyciski->addWidget(wroc);
  lay->addLayout(przyciski);

  platform::restoreGeometry(program_.svc.reg, *this, "Weryf");
}

int TWerForm::pokazDoZapisu(const QString& caption) {
  zapisz->setText(caption);
  zapisz->setVisible(true);
  return program_.svc.dialogs.showModal(*this);
}

int TWerForm::pokazDoOdczytu() {
  zapisz->setVisible(false);
  return program_.svc.dialogs.showModal(*this);
}

void TWerForm::dodajblad(std::string_view pole, std::string_view nazwa, std::uint8_t nr, std::string_view tekst) {
  program_.listyWer.dodajblad(pole, nazwa, nr, tekst);
}

void TWerForm::dodajostrze(std::string_view pole, std::string_view nazwa, std::uint8_t nr,
                           std::string_view tekst) {
  program_.listyWer.dodajostrze(pole, nazwa, nr, tekst);
}

void TWerForm::FormActivate() {
  wypelnij(*bledy, program_.listyWer.bledy());
  wypelnij(*ostrze, program_.listyWer.ostrze());
}

void TWerForm::zapiszClick() { setModalResult(kPotwierdz); }
void TWerForm::zamknijClick() { setModalResult(kWroc); }
void TWerForm::wrocClick() { setModalResult(kAnuluj); }

void TWerForm::showEvent(QShowEvent* e) {
  FormActivate();
  platform::ModalForm::showEvent(e);
}

void TWerForm::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
    program_.pomoc(kHelpContext);
    return;
  }
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    // Enter presses the button that has the focus, and nothing elsewhere: in a grid it must not
    // answer for the user.
    auto* b = qobject_cast<QPushButton*>(focusWidget());
    if (b && (b == zapisz || b == zamknij || b == wroc)) b->click();
    return;
  }
  // Esc goes through reject(), which answers "back" (2), never "go on".
  platform::ModalForm::keyPressEvent(e);
}

}  // namespace zelt
