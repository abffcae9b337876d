#include "settings/kodyform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/geometry.h"
#include "register/program.h"

namespace zelt {

TListaKodowForm::TListaKodowForm(Program& program, const char* objectName, const QString& caption,
                                 const char* listName, std::size_t dlugoscKodu, const Slownik& wbudowane)
    : program_(program), dlugoscKodu_(dlugoscKodu) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setCloseResult(platform::mrDismissed);
  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  lista_ = new QListWidget(this);
  lista_->setObjectName(listName);
  lista_->setSelectionMode(QAbstractItemView::SingleSelection);
  lay->addWidget(lista_);
  lista_->installEventFilter(this);
  lista_->viewport()->installEventFilter(this);
  ustawPozycje(wbudowane);
  // Wide enough for the built-in lines, within reason; the user may resize it.
  const int width = lista_->sizeHintForColumn(0) + lista_->verticalScrollBar()->sizeHint().width() + 8;
  resize(std::clamp(width, 360, 640), 430);
}

void TListaKodowForm::ustawPozycje(Slownik pozycje) {
  pozycje_ = std::move(pozycje);
  lista_->clear();
  for (const auto& line : pozycje_) lista_->addItem(cp1250::toQ(line));
}

void TListaKodowForm::utworz(const char* geometryKey, const QString& path, const QString& opis) {
  platform::restoreGeometry(program_.svc.reg, *this, geometryKey);
  Slownik lines = pozycje_;
  if (zaladujSlownik(program_, path, opis, lines)) ustawPozycje(std::move(lines));
}

std::optional<int> TListaKodowForm::pozycjaWyniku(int wynik, int ilePozycji) {
  if (wynik < 1 || wynik > ilePozycji) return std::nullopt;
  return wynik - 1;
}

std::optional<int> TListaKodowForm::pokaz(int zaznacz) {
  if (zaznacz >= 0 && zaznacz < lista_->count()) {
    lista_->setCurrentRow(zaznacz);
    lista_->scrollToItem(lista_->item(zaznacz));
  } else {
    lista_->setCurrentRow(-1);
  }
  lista_->setFocus();
  return pozycjaWyniku(program_.svc.dialogs.showModal(*this), lista_->count());
}

std::optional<std::string> TListaKodowForm::wybierzKod(std::string_view obecny) {
  const auto i = pokaz(indeksKodu(obecny));
  if (!i) return std::nullopt;
  return kod(*i);
}

bool TListaKodowForm::wybierzMysza(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return false;
  QListWidgetItem* item = lista_->itemAt(e->position().toPoint());
  if (!item) return true;
  const int row = lista_->row(item);
  lista_->setCurrentRow(row);
  setModalResult(row + 1);
  return true;
}

bool TListaKodowForm::wybierzKlawiszem(QKeyEvent* e) {
  if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) return false;
  const int row = lista_->currentRow();
  // The current row may be only focused, not selected: only a selected line is a choice.
  if (row >= 0 && lista_->item(row)->isSelected()) setModalResult(row + 1);
  return true;
}

bool TListaKodowForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lista_->viewport() && event->type() == QEvent::MouseButtonPress && mouseDown_)
    return mouseDown_(static_cast<QMouseEvent*>(event));
  if (watched == lista_ && event->type() == QEvent::KeyPress && keyDown_)
    return keyDown_(static_cast<QKeyEvent*>(event));
  return platform::ModalForm::eventFilter(watched, event);
}

}  // namespace zelt
