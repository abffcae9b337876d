#pragma once
// TKStringGrid: the program's string grid, used for the register list and the parties list.
//
// For the windows that use it (rows are data rows from 0, columns are positions among the
// visible columns; texts are Windows-1250 byte strings):
//   Columns().Add() -> TKGridColumn&; Columns().Items(i), Count(), FindByName(name), Clear()
//   TKGridColumn: SetCaption, SetName (unique, else EKGridColumnsError), SetWidth, SetAlignment,
//                 SetVisible, SetSortOrder(csNone/csAsc/csDsc), SetColor, SetFont, ...
//   RowCount() / SetRowCount(n), AddRow(), AddRows(n), InsertRow(r), DeleteRow(r),
//   DeleteRows(first, last), Clear() (the columns stay)
//   Cells(col, row) / SetCells(col, row, text), CellFlags / SetCellFlags (cfMultiLine,
//   cfButton, cfReadOnly), CellType
//   DataRow() (-1 while empty), DataCol() (-1 without columns), SetDataRow(r),
//   DataSelection() (Top/Bottom -1 while empty)
//   FixedCols, AutoSort (on: a header click sorts), SortRows(), CompareRows(), ExchangeRows()
//   colours and fonts: ActiveColColor, ActiveRowColor, ActiveRowFontColor, HeaderColor, ...
//   Options() / SetOptions(goRowSelect | ...), SetScrollBars(ssVertical), SetPopupMenu(menu)
//   events (std::function, assign a lambda): OnClick, OnDblClick, OnSelectCell,
//   OnActiveColChanged (before the move), OnCurrentMoved (after it), OnGetCellProps, OnDrawCell, OnDrawHeader, OnHeaderClick,
//   OnCompareRows, OnButtonClick, OnGetEditText, OnSetEditText, OnCancelEdit, OnSelChange,
//   OnContextPopup, OnColumnMoved, OnRowMoved
// Index errors raise EKGridError ("Wrong column index", "Wrong row index"); a window's handler
// runs inside the event-loop guard, but should check RowCount() before reading a row.
//
// The widget is a custom-painted scroll area rather than a QTableView over a model: the grid's
// own rules (the header is row 0 of the cell matrix, a blank row while empty, a header press
// that selects nothing, fixed columns, per-cell colours worked out by rules of their own) map
// one to one onto painting cells, and 4.8 million cells need no item model in between.
#include <QAbstractScrollArea>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>

#include "grid/kgridmodel.h"

class QPainter;
class QPushButton;

namespace kgrid {

class TKStringGrid;

// The in-place editor: one line, or several for a cfMultiLine cell (Ctrl+Enter breaks a line).
class TKSGInplaceEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TKSGInplaceEdit(TKStringGrid& grid);
  // Sets the editor up for the cell (col, baseRow): multi-line mode, integer keys, font.
  void UpdateStyle(int col, int baseRow);
  bool MultiLine() const { return multiLine_; }
  // Places the editor over a cell rectangle (taller for a multi-line cell).
  void BoundsChanged(const TRect& cell, int gridHeight);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void caretCheck();
  TKStringGrid& grid_;
  bool multiLine_ = false;
  bool integer_ = false;
  int lastCaret_ = -1;
};

class TKStringGrid : public QAbstractScrollArea, public TKGridModel {
  Q_OBJECT
 public:
  explicit TKStringGrid(QWidget* parent = nullptr);
  ~TKStringGrid() override;

  // The painter draws on the grid; the rectangle is the cell's.
  std::function<void(int ACol, int ARow, const TRect& Rect, TGridDrawState State, QPainter& Canvas)>
      OnDrawCell;
  std::function<void(int ACol, const TRect& Rect, TGridDrawState State, QPainter& Canvas)> OnDrawHeader;
  std::function<void()> OnButtonClick;
  std::function<void(int X, int Y)> OnContextPopup;  // screen position
  std::function<void()> OnSelChange;

  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

  // The editor: shown when the Options allow editing and the current cell may be edited.
  void ShowEditor();
  void HideEditor();
  bool EditorMode() const;
  TKSGInplaceEdit* InplaceEditor() const { return editor_; }
  QPushButton* CellButton() const { return cellButton_; }
  // The cell's rectangle on the viewport (the widget's drawing surface).
  QRect CellRectOnScreen(int col, int baseRow) const;

 protected:
  friend class TKSGInplaceEdit;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;

  void InvalidateCell(int col, int baseRow) override;
  void InvalidateRow(int baseRow) override;
  void InvalidateCol(int col) override;
  void InvalidateGrid() override;
  void LayoutChanged() override;
  void TopLeftChanged() override;
  void HideCellButton() override;
  void BeginBusy() override;
  void EndBusy() override;
  void ShowEditorRequested() override;

 private:
  void drawCell(QPainter& p, int col, int baseRow, const TRect& r);
  void drawSortGlyph(QPainter& p, const TRect& r, TColumnSorting order, TColor background);
  void drawLines(QPainter& p, int col, int baseRow, const TRect& r);
  void placeCellButton();
  void cellButtonClicked();
  void updateScrollBars();
  bool rowOnScreen(int baseRow) const;
  void commitEdit();
  void cancelEdit();
  void keyboardMove(int col, int baseRow, bool extend);
  TShiftState shiftOf(const QInputEvent* e) const;

  TKSGInplaceEdit* editor_ = nullptr;
  QPushButton* cellButton_ = nullptr;
  QPointer<QMenu> popupMenu_;
  bool syncingScroll_ = false;
};

}  // namespace kgrid
