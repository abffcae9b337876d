#include "grid/kstrgrid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "platform/cp1250.h"

namespace kgrid {

namespace {

QRect toQRect(const TRect& r) { return QRect(r.Left, r.Top, r.width(), r.height()); }

QColor colourOr(TColor c, TColor fallback) {
  QColor q = toQColor(c);
  return q.isValid() ? q : toQColor(fallback);
}

// Stored texts break lines with CR LF, the editor with LF.
QString toEditor(const std::string& text) {
  QString s = cp1250::toQ(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar('\r'), QChar('\n'));
  return s;
}

std::string fromEditor(QString text) {
  text.replace(QChar('\n'), QStringLiteral("\r\n"));
  return cp1250::fromUnicode(text);
}

}  // namespace

// ---------------------------------------------------------------- TKSGInplaceEdit

TKSGInplaceEdit::TKSGInplaceEdit(TKStringGrid& grid) : QPlainTextEdit(grid.viewport()), grid_(grid) {
  setObjectName(QStringLiteral("InplaceEdit"));
  setFrameShape(QFrame::NoFrame);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(true);
  hide();
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { caretCheck(); });
}

void TKSGInplaceEdit::UpdateStyle(int col, int baseRow) {
  const int row = baseRow - 1;
  TKGridColumn& c = grid_.VisibleColumn(col);
  multiLine_ = c.CellFlags(row) & cfMultiLine;
  integer_ = c.CellType(row) == ctInteger;
  setVerticalScrollBarPolicy(multiLine_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(multiLine_ ? QFrame::Box : QFrame::NoFrame);
  setFont(c.Font().toQFont());
  setViewportMargins(0, 0, 0, 0);
  document()->setDocumentMargin(1);
}

void TKSGInplaceEdit::BoundsChanged(const TRect& cell, int gridHeight) {
  QRect r = toQRect(cell);
  if (multiLine_) {
    r.setHeight(100);
    // Taller than the cell: kept inside the grid by moving it up, its bottom on the cell's.
    if (r.bottom() >= gridHeight) r.moveBottom(cell.Bottom - 1);
  }
  setGeometry(r);
  ensureCursorVisible();
}

void TKSGInplaceEdit::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  switch (e->key()) {
    case Qt::Key_Escape:
      grid_.cancelEdit();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (multiLine_ && ctrl && !integer_) {
        insertPlainText(QStringLiteral("\n"));
        return;
      }
      grid_.commitEdit();
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      if (multiLine_) break;  // they move within the lines
      grid_.commitEdit();
      grid_.keyPressEvent(e);
      return;
    default:
      break;
  }
  const QString t = e->text();
  if (integer_ && !t.isEmpty() && t[0].isPrint() && !(t[0] >= QChar('0') && t[0] <= QChar('9'))) {
    QApplication::beep();
    return;
  }
  QPlainTextEdit::keyPressEvent(e);
}

void TKSGInplaceEdit::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  if (isVisible() && e->reason() != Qt::PopupFocusReason) grid_.commitEdit();
}

void TKSGInplaceEdit::caretCheck() {
  const int caret = textCursor().position();
  if (caret == lastCaret_) return;
  lastCaret_ = caret;
  if (grid_.OnSelChange) grid_.OnSelChange();
}

// ---------------------------------------------------------------- TKStringGrid

TKStringGrid::TKStringGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  horizontalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setSingleStep(1);
  updateScrollBars();
}

TKStringGrid::~TKStringGrid() {
  // The editor and the button go while the grid is still whole: a focused editor hears of its
  // focus leaving as the window goes, and must then find no editor to commit into a dead grid.
  delete std::exchange(editor_, nullptr);
  delete std::exchange(cellButton_, nullptr);
}

QRect TKStringGrid::CellRectOnScreen(int col, int baseRow) const { return toQRect(CellRect(col, baseRow)); }

bool TKStringGrid::rowOnScreen(int baseRow) const {
  return baseRow == 0 || (baseRow >= TopRow() && baseRow <= TopRow() + VisibleRowCount() + 1);
}

void TKStringGrid::InvalidateCell(int col, int baseRow) {
  if (!isVisible() || !rowOnScreen(baseRow)) return;
  const TRect r = CellRect(col, baseRow);
  if (!r.isEmpty()) viewport()->update(toQRect(r).adjusted(0, 0, GridLineWidth(), GridLineWidth()));
}

void TKStringGrid::InvalidateRow(int baseRow) {
  if (!isVisible() || !rowOnScreen(baseRow)) return;
  const int pitch = DefaultRowHeight() + GridLineWidth();
  const int top = baseRow == 0 ? 0 : pitch * (1 + baseRow - TopRow());
  viewport()->update(QRect(0, top, viewport()->width(), pitch));
}

void TKStringGrid::InvalidateCol(int col) {
  if (!isVisible()) return;
  for (const ColumnSpan& s : ColumnsOnScreen())
    if (s.col == col) viewport()->update(QRect(s.left, 0, s.right - s.left + GridLineWidth(), viewport()->height()));
}

void TKStringGrid::InvalidateGrid() {
  if (isVisible()) viewport()->update();
}

void TKStringGrid::LayoutChanged() { updateScrollBars(); }

void TKStringGrid::TopLeftChanged() {
  HideCellButton();
  if (EditorMode()) commitEdit();
  updateScrollBars();
}

void TKStringGrid::HideCellButton() {
  if (cellButton_) cellButton_->hide();
}

void TKStringGrid::BeginBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void TKStringGrid::EndBusy() { QApplication::restoreOverrideCursor(); }

void TKStringGrid::updateScrollBars() {
  // A hidden grid (the register list while it is loaded) catches up when it is shown.
  if (syncingScroll_ || !isVisible()) return;
  syncingScroll_ = true;
  const TScrollStyle s = ScrollBars();
  const auto vPolicy = s == ssVertical || s == ssBoth ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  const auto hPolicy = s == ssHorizontal || s == ssBoth ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  if (verticalScrollBarPolicy() != vPolicy) setVerticalScrollBarPolicy(vPolicy);
  if (horizontalScrollBarPolicy() != hPolicy) setHorizontalScrollBarPolicy(hPolicy);
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, MaxTopRow() - 1);
  v->setPageStep(std::max(1, VisibleRowCount()));
  v->setValue(TopRow() - 1);
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(0, MaxLeftCol() - FixedCols()));
  h->setPageStep(std::max(1, VisibleColCount()));
  h->setValue(LeftCol() - FixedCols());
  syncingScroll_ = false;
}

void TKStringGrid::showEvent(QShowEvent* e) {
  QAbstractScrollArea::showEvent(e);
  SetClientSize(viewport()->width(), viewport()->height());
  updateScrollBars();
}

void TKStringGrid::scrollContentsBy(int, int) {
  if (syncingScroll_) return;
  syncingScroll_ = true;
  SetTopRow(verticalScrollBar()->value() + 1);
  SetLeftCol(horizontalScrollBar()->value() + FixedCols());
  syncingScroll_ = false;
  viewport()->update();
}

void TKStringGrid::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  SetClientSize(viewport()->width(), viewport()->height());
  updateScrollBars();
}

// ---------------------------------------------------------------- painting

void TKStringGrid::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  p.fillRect(e->rect(), toQColor(Color()));
  if (ColCount() == 0) return;  // nothing is drawn without a visible column
  const auto spans = ColumnsOnScreen();
  const int pitch = DefaultRowHeight() + GridLineWidth();
  auto paintRow = [&](int baseRow, int top) {
    for (const ColumnSpan& s : spans) {
      const TRect r{s.left, top, s.right, top + DefaultRowHeight()};
      if (!e->rect().intersects(toQRect(r).adjusted(0, 0, GridLineWidth(), GridLineWidth()))) continue;
      drawCell(p, s.col, baseRow, r);
    }
  };
  paintRow(0, 0);
  for (int row = TopRow(), top = pitch; row < BaseRowCount() && top < viewport()->height(); ++row, top += pitch)
    paintRow(row, top);
  placeCellButton();
}

void TKStringGrid::drawCell(QPainter& p, int col, int baseRow, const TRect& r) {
  const TKCellLook look = CellLook(col, baseRow);
  const QRect qr = toQRect(r);
  p.save();
  p.setClipRect(qr);
  p.fillRect(qr, colourOr(look.background, Color()));
  if (!look.text.empty()) {
    const QFont f = look.font.toQFont();
    const QFontMetrics fm(f);
    const QString text = cp1250::toQ(look.text);
    const int tw = fm.horizontalAdvance(text);
    int x = r.Left + 3;
    if (look.alignment == taRightJustify) x = r.Right - 3 - tw;
    if (look.alignment == taCenter) x = r.Left + (r.width() - tw) / 2;
    const int y = r.Top + (r.height() - fm.height()) / 2;
    p.setFont(f);
    p.setPen(colourOr(look.font.Color(), clWindowText));
    p.drawText(x, y + fm.ascent(), text);
  }
  const TKGridColumn& c = VisibleColumn(col);
  if (baseRow == 0 && c.SortOrder() != csNone) drawSortGlyph(p, r, c.SortOrder(), look.background);
  p.restore();
  drawLines(p, col, baseRow, r);
  if (baseRow == 0) {
    if (OnDrawHeader) OnDrawHeader(col, r, look.state, p);
  } else if (OnDrawCell) {
    OnDrawCell(col, baseRow - 1, r, look.state, p);
  }
}

void TKStringGrid::drawSortGlyph(QPainter& p, const TRect& r, TColumnSorting order, TColor background) {
  const int x0 = r.Right - 20, ym = r.Top + 10;
  p.fillRect(QRect(QPoint(r.Right - 23, r.Top + 2), QPoint(r.Right - 2, r.Bottom - 3)),
             colourOr(background, clBtnFace));
  p.setRenderHint(QPainter::Antialiasing, false);
  QPolygon poly;
  QLine white;
  if (order == csAsc) {
    poly << QPoint(x0, ym) << QPoint(x0, ym - 1) << QPoint(x0 + 4, ym - 5) << QPoint(x0 + 8, ym - 1)
         << QPoint(x0 + 8, ym);
    white = QLine(x0, ym - 1, x0 + 4, ym - 5);
  } else {
    poly << QPoint(x0, ym - 5) << QPoint(x0 + 8, ym - 5) << QPoint(x0 + 8, ym - 4) << QPoint(x0 + 4, ym)
         << QPoint(x0, ym - 4);
    white = QLine(x0, ym - 4, x0 + 4, ym);
  }
  p.setBrush(toQColor(clSilver));
  p.setPen(toQColor(clBlack));
  p.drawPolygon(poly);
  p.setPen(toQColor(clWhite));
  p.drawLine(white);
  p.setBrush(Qt::NoBrush);
}

void TKStringGrid::drawLines(QPainter& p, int col, int baseRow, const TRect& r) {
  const bool fixed = baseRow == 0 || col < FixedCols();
  const TGridOptions o = Options();
  const bool vert = fixed ? (o & goFixedVertLine) : (o & goVertLine);
  const bool horz = fixed ? (o & goFixedHorzLine) : (o & goHorzLine);
  const int lw = GridLineWidth();
  if (lw <= 0) return;
  const QColor line = fixed ? QColor(105, 105, 105) : toQColor(clSilver);
  if (vert) p.fillRect(QRect(r.Right, r.Top, lw, r.height() + lw), line);
  if (horz) p.fillRect(QRect(r.Left, r.Bottom, r.width() + lw, lw), line);
  if (fixed) {  // the raised edge of fixed cells
    p.fillRect(QRect(r.Left, r.Top, r.width(), 1), Qt::white);
    p.fillRect(QRect(r.Left, r.Top, 1, r.height()), Qt::white);
  }
}

// ---------------------------------------------------------------- cell button

void TKStringGrid::placeCellButton() {
  if (IsEmpty() || ColCount() == 0 || DataRow() < 0) {
    HideCellButton();
    return;
  }
  const TKCellFlags f = CellFlags(Col(), DataRow());
  const TRect r = CellRect(Col(), Row());
  if (!(f & cfButton) || (f & cfReadOnly) || r.isEmpty()) {
    HideCellButton();
    return;
  }
  const int h = r.height() - 2, w = h;
  if (w + 3 > r.width()) {
    HideCellButton();
    return;
  }
  if (!cellButton_) {
    cellButton_ = new QPushButton(QString::fromUtf8("\u00B7\u00B7\u00B7"), viewport());
    cellButton_->setObjectName(QStringLiteral("CellButton"));
    cellButton_->setFocusPolicy(Qt::NoFocus);
    cellButton_->setFont(TKGridFont("Arial", 10, clBtnFace).toQFont());
    connect(cellButton_, &QPushButton::clicked, this, [this] { cellButtonClicked(); });
  }
  const QRect g(r.Right - w, r.Top + 1, w, h);
  if (cellButton_->geometry() != g) cellButton_->setGeometry(g);
  if (!cellButton_->isVisible()) cellButton_->show();
}

void TKStringGrid::cellButtonClicked() {
  if (OnButtonClick) OnButtonClick();
  if (!IsEmpty() && ColCount() > 0 && !(CellFlags(Col(), DataRow()) & cfButton)) HideCellButton();
  InvalidateCell(Col(), Row());
}

// ---------------------------------------------------------------- mouse and keys

TShiftState TKStringGrid::shiftOf(const QInputEvent* e) const {
  TShiftState s = 0;
  const auto m = e->modifiers();
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (auto* me = dynamic_cast<const QMouseEvent*>(e)) {
    if (me->buttons() & Qt::LeftButton) s |= ssLeft;
    if (me->buttons() & Qt::RightButton) s |= ssRight;
    if (me->buttons() & Qt::MiddleButton) s |= ssMiddle;
  }
  return s;
}

static TMouseButton buttonOf(const QMouseEvent* e) {
  if (e->button() == Qt::RightButton) return mbRight;
  if (e->button() == Qt::MiddleButton) return mbMiddle;
  return mbLeft;
}

void TKStringGrid::mousePressEvent(QMouseEvent* e) {
  if (EditorMode()) commitEdit();
  setFocus(Qt::MouseFocusReason);
  const QPoint pt = e->position().toPoint();
  MouseDown(buttonOf(e), shiftOf(e), pt.x(), pt.y());
}

void TKStringGrid::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  if (MouseMove(shiftOf(e), pt.x(), pt.y()) == TGridCursor::HSplit)
    viewport()->setCursor(Qt::SplitHCursor);
  else
    viewport()->unsetCursor();
}

void TKStringGrid::mouseReleaseEvent(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  MouseUp(buttonOf(e), shiftOf(e), pt.x(), pt.y());
}

void TKStringGrid::mouseDoubleClickEvent(QMouseEvent* e) {
  mousePressEvent(e);  // the second press of a double click is a press as well
  const QPoint pt = e->position().toPoint();
  if (e->button() == Qt::LeftButton) DblClick(pt.x(), pt.y());
}

void TKStringGrid::keyboardMove(int col, int baseRow, bool extend) {
  if (MoveCurrent(col, baseRow, !(extend && (Options() & goRangeSelect))) && OnClick) OnClick();
}

void TKStringGrid::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  const int page = std::max(1, VisibleRowCount());
  const int last = BaseRowCount() - 1;
  const bool hasCell = !IsEmpty() && ColCount() > 0;
  const TKCellFlags flags = hasCell ? CellFlags(Col(), DataRow()) : 0;
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (ctrl && !(flags & cfButton) && hasCell) SetCellFlags(Col(), DataRow(), flags | cfMultiLine);
      if ((flags & cfButton) && !(flags & cfReadOnly)) {
        cellButtonClicked();
        return;
      }
      if (flags & cfReadOnly) return;
      if (Options() & goEditing) ShowEditor();
      return;
    case Qt::Key_F2:
      ShowEditor();
      return;
    case Qt::Key_Up: keyboardMove(Col(), Row() - 1, shift); return;
    case Qt::Key_Down: keyboardMove(Col(), Row() + 1, shift); return;
    case Qt::Key_Left: keyboardMove(Col() - 1, Row(), shift); return;
    case Qt::Key_Right: keyboardMove(Col() + 1, Row(), shift); return;
    case Qt::Key_PageUp:
      SetTopRow(TopRow() - page);
      keyboardMove(Col(), Row() - page, shift);
      return;
    case Qt::Key_PageDown:
      SetTopRow(TopRow() + page);
      keyboardMove(Col(), Row() + page, shift);
      return;
    case Qt::Key_Home: keyboardMove(ctrl ? Col() : FixedCols(), ctrl ? 1 : Row(), shift); return;
    case Qt::Key_End: keyboardMove(ctrl ? Col() : ColCount() - 1, ctrl ? last : Row(), shift); return;
    case Qt::Key_Tab:
      if (Options() & goTabs) {
        keyboardMove(Col() + 1, Row(), false);
        return;
      }
      break;
    default:
      break;
  }
  const QString t = e->text();
  if ((Options() & goEditing) && !t.isEmpty() && t[0].isPrint() && !ctrl && CanEditShow()) {
    ShowEditor();
    if (editor_ && editor_->isVisible()) {
      editor_->setPlainText(QString());
      QApplication::sendEvent(editor_, e);
    }
    return;
  }
  QAbstractScrollArea::keyPressEvent(e);
}

bool TKStringGrid::focusNextPrevChild(bool next) {
  if (Options() & goTabs) return false;  // Tab moves between cells
  return QAbstractScrollArea::focusNextPrevChild(next);
}

void TKStringGrid::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  setFocused(true);
}

void TKStringGrid::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  if (!editor_ || !editor_->hasFocus()) setFocused(false);
}

void TKStringGrid::contextMenuEvent(QContextMenuEvent* e) {
  QPoint pos = e->globalPos();
  if (e->reason() == QContextMenuEvent::Keyboard && ColCount() > 0) {
    const TRect r = CellRect(Col(), Row());
    pos = viewport()->mapToGlobal(QPoint(r.Left, r.Top));
  }
  if (OnContextPopup) OnContextPopup(pos.x(), pos.y());
  if (popupMenu_) popupMenu_->popup(pos);
  e->accept();
}

// ---------------------------------------------------------------- editor

bool TKStringGrid::EditorMode() const { return editor_ && editor_->isVisible(); }

void TKStringGrid::ShowEditorRequested() { ShowEditor(); }

void TKStringGrid::ShowEditor() {
  if (!CanEditShow()) return;
  if (!editor_) editor_ = new TKSGInplaceEdit(*this);
  editor_->UpdateStyle(Col(), Row());
  editor_->setPlainText(toEditor(GetEditText(Col(), Row())));
  editor_->BoundsChanged(CellRect(Col(), Row()), viewport()->height());
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  editor_->moveCursor(QTextCursor::End);
}

void TKStringGrid::HideEditor() {
  if (editor_) editor_->hide();
}

void TKStringGrid::commitEdit() {
  if (!EditorMode()) return;
  const std::string text = fromEditor(editor_->toPlainText());
  HideEditor();
  SetEditText(Col(), Row(), text);
  setFocus(Qt::OtherFocusReason);
}

void TKStringGrid::cancelEdit() {
  if (!EditorMode()) return;
  restoring_ = true;
  const std::string text = GetEditText(Col(), Row());
  editor_->setPlainText(toEditor(text));
  HideEditor();
  if (OnCancelEdit) OnCancelEdit(Col(), DataRow(), text);
  restoring_ = false;
  setFocus(Qt::OtherFocusReason);
}

}  // namespace kgrid
