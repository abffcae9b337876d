#include "settings/addioform.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/edits.h"

namespace zelt {

namespace {
QString q(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

TAddIOForm::TAddIOForm() {
  setObjectName("AddIOForm");
  setWindowTitle(q("Dodawanie kolejnej Instytucji Obowiązanej"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* lay = new QVBoxLayout(this);
  const char* const linie[] = {
      "Opcja ta służy do wprowadzenia danych dodatkowych Instytucji Obowiązanych, tak aby,",
      "na jednym komputerze i jednej instalacji programu można było prowadzić rejestry transakcji",
      "kilku instytucji (np. notarialne spółki cywilne).",
      "Aby uruchomić rejestr dla kolejnej instytucji tutaj należy wpisać nazwę tej instytucji i nacisnąć",
      "Zapisz, a następnie uruchomić ponownie program, wybrać nową instytucję i wprowadzić wszystkie jej dane.",
  };
  for (const char* l : linie) lay->addWidget(new QLabel(q(l), this));
  lay->addSpacing(8);
  auto* nazwa = new QHBoxLayout();
  AddIO = new QLineEdit(this);
  AddIO->setObjectName("AddIO");
  AddIO->setMaxLength(56);  // as the institution's name
  platform::guardEdit(AddIO);
  AddIO->setMinimumWidth(AddIO->fontMetrics().averageCharWidth() * 56);
  auto* et = new QLabel(q("Nazwa IO :"), this);
  et->setBuddy(AddIO);
  nazwa->addWidget(et);
  nazwa->addWidget(AddIO, 1);
  lay->addLayout(nazwa);
  zapisz = new QPushButton(q("&Zapisz"), this);
  zapisz->setObjectName("zapisz");
  anuluj = new QPushButton(q("&Anuluj"), this);
  anuluj->setObjectName("anuluj");
  for (QPushButton* b : {zapisz, anuluj}) b->setAutoDefault(false);
  auto* przyciski = new QHBoxLayout();
  przyciski->addStretch(1);
  przyciski->addWidget(zapisz);
  przyciski->addWidget(anuluj);
  przyciski->addStretch(1);
  lay->addLayout(przyciski);
  lay->setSizeConstraint(QLayout::SetFixedSize);
  connect(zapisz, &QPushButton::clicked, this, [this] { zapiszClick(); });
  connect(anuluj, &QPushButton::clicked, this, [this] { anulujClick(); });
}

void TAddIOForm::zapiszClick() { setModalResult(platform::mrOk); }
void TAddIOForm::anulujClick() { setModalResult(platform::mrCancel); }

}  // namespace zelt
