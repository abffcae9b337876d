#pragma once
// Everything of the string grid but its widget: columns and rows, the current cell and the
// selection, scrolling positions and the cell layout on screen, the header-click state machine,
// sorting and the colour rules of each cell. TKStringGrid (kstrgrid.h) adds painting, keys, the
// cell button and the editor on top; this class is tested without any window.
//
// Rows: every row of the interface is a data row counted from 0; grid ("base") row 0 is the
// header and data row r is base row r + 1. Columns: every column index is a position among the
// visible columns. An empty grid shows the header and one blank row, with RowCount 0, DataRow -1.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/kgraphics.h"
#include "grid/kgridcolumn.h"

namespace kgrid {

// A rectangle of cells (columns and rows inclusive).
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
};
// A rectangle of pixels; Right and Bottom are exclusive.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int width() const { return Right - Left; }
  int height() const { return Bottom - Top; }
  bool isEmpty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect&) const = default;
};

enum TGridOption : unsigned {
  goFixedVertLine = 1 << 0, goFixedHorzLine = 1 << 1, goVertLine = 1 << 2, goHorzLine = 1 << 3,
  goRangeSelect = 1 << 4, goDrawFocusSelected = 1 << 5, goRowSizing = 1 << 6,
  goColSizing = 1 << 7, goRowMoving = 1 << 8, goColMoving = 1 << 9, goEditing = 1 << 10,
  goTabs = 1 << 11, goRowSelect = 1 << 12, goAlwaysShowEditor = 1 << 13,
  goThumbTracking = 1 << 14
};
using TGridOptions = unsigned;
inline constexpr TGridOptions kDefaultGridOptions =
    goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

enum TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// What OnGetCellProps may change before a data cell is drawn.
struct TKCellProperties {
  TKGridFont Font;
  TColor Color = clNone;
  TAlignment Alignment = taLeftJustify;
};

// How one cell is drawn: the font (with the text colour), the background, the alignment and
// the text; all colours already resolved through the fallbacks.
struct TKCellLook {
  TKGridFont font;
  TColor background = clNone;
  TAlignment alignment = taLeftJustify;
  std::string text;
  TGridDrawState state = 0;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned;
enum class TGridCursor { Default, HSplit };

class TKGridModel {
 public:
  TKGridModel();
  virtual ~TKGridModel();
  TKGridModel(const TKGridModel&) = delete;
  TKGridModel& operator=(const TKGridModel&) = delete;

  // ---- rows and cells
  int RowCount() const { return empty_ ? 0 : int(rows_.size()); }
  // Fewer rows delete at the end, more rows are appended; a negative count is refused
  // ("Wrong row index").
  void SetRowCount(int v);
  int DataRow() const { return empty_ ? -1 : row_ - 1; }
  int DataCol() const { return visible_.Count() == 0 ? -1 : col_; }
  // Moves the current cell (through SelectCell); refused positions raise EKGridError.
  void SetDataRow(int row);
  void SetDataCol(int col);
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, std::string_view text);
  // Flags and type read as empty and 0 while the grid is empty or has no visible column.
  TKCellFlags CellFlags(int col, int row) const;
  void SetCellFlags(int col, int row, TKCellFlags flags);
  int CellType(int col, int row) const;
  void SetCellType(int col, int row, int type);
  void AddRow() { AddRows(1); }
  void AddRows(int count);
  // `count` rows appended at the end in one step, as AddRows and SetCells on each would make
  // them: one block of `count` cells per visible column in display order; the columns not shown
  // get empty cells. One layout change and one repaint request for all; the blocks are left
  // empty. Blocks that do not fit (another number of them, or of cells) raise EKGridError.
  void AppendRows(int count, std::vector<TKCellBlock>& blocks);
  // Inserts an empty row before `row`, 0 .. RowCount.
  void InsertRow(int row);
  void DeleteRow(int row) { DeleteRows(row, row); }
  // Deletes first .. last; nothing when first > last.
  void DeleteRows(int first, int last);
  // Empties every column; the columns and their settings stay.
  void Clear();
  // The selection in data rows; -1 .. -1 while the grid is empty.
  TGridRect DataSelection() const;
  bool IsEmpty() const { return empty_; }
  // Grows whenever rows change places or their cells are emptied wholesale (moved, exchanged,
  // sorted, inserted before others, cleared): a caller that keeps rows by their positions knows
  // from it that they may have moved.
  std::uint64_t RowMoves() const { return rowMoves_; }
  // A number the caller may keep with each row; it moves with its row.
  std::intptr_t RowObject(int row) const;
  void SetRowObject(int row, std::intptr_t v);

  // ---- columns
  TKGridColumns& Columns() { return columns_; }
  const TKGridColumns& Columns() const { return columns_; }
  void SetColumns(const TKGridColumns& other) { columns_.Assign(other); }
  const TKGridColumnList& VisibleColumns() const { return visible_; }
  // The column at a display position; raises "Wrong column index".
  TKGridColumn& VisibleColumn(int col) const;
  TKGridColumn* ActiveColumn() const { return activeColumn_; }
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int v);
  // Moves a visible column, as the user drags one (OnColumnMoved fires).
  void MoveColumn(int from, int to);
  // Moves a data row with its cells in every column (OnRowMoved fires).
  void MoveRow(int from, int to);

  // ---- sorting
  bool AutoSort() const { return autoSort_; }
  void SetAutoSort(bool v);
  // Sorts by the visible columns whose SortOrder is set, in display order; stable, and nothing
  // moves when no column is sorted.
  void SortRows();
  // The text a stored cell text is sorted by, as SortRows takes it: the text itself when plain,
  // else its lines decoded, kept at the end of `decoded` (whose strings stay where they are).
  // Keys are compared byte by byte, a prefix first.
  static std::string_view SortKey(std::string_view stored, std::deque<std::string>& decoded);
  // Column `c` alone sorted `v`, for rows the caller put in the order SortRows would give them
  // (stable, by SortKey): nothing is moved.
  void SetSortedBy(TKGridColumn& c, TColumnSorting v);
  int CompareRows(int r1, int r2) const;
  void ExchangeRows(int a, int b);

  // ---- look
  TColor Color() const { return color_; }
  void SetColor(TColor v) { setColour(color_, v); }
  TKGridFont& Font() { return font_; }
  const TKGridFont& Font() const { return font_; }
  void SetFont(const TKGridFont& f) { font_.Assign(f); }
  TColor ActiveHeaderColor() const { return activeHeaderColor_; }
  void SetActiveHeaderColor(TColor v) { setColour(activeHeaderColor_, v); }
  TColor ActiveColColor() const { return activeColColor_; }
  void SetActiveColColor(TColor v);
  TColor ActiveRowColor() const { return activeRowColor_; }
  void SetActiveRowColor(TColor v) { setColour(activeRowColor_, v); }
  TColor ActiveRowFontColor() const { return activeRowFontColor_; }
  void SetActiveRowFontColor(TColor v);
  TColor HeaderColor() const { return headerColor_; }
  void SetHeaderColor(TColor v) { setColour(headerColor_, v); }
  TColor SelectedColor() const { return selectedColor_; }
  void SetSelectedColor(TColor v) { setColour(selectedColor_, v); }
  TColor SelectedFontColor() const { return selectedFontColor_; }
  void SetSelectedFontColor(TColor v) { setColour(selectedFontColor_, v); }
  TColor ActiveFixedColor() const { return activeFixedColor_; }
  void SetActiveFixedColor(TColor v) { setColour(activeFixedColor_, v); }
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor v) { setColour(fixedColor_, v); }
  TKGridFont& ActiveHeaderFont() { return activeHeaderFont_; }
  void SetActiveHeaderFont(const TKGridFont& f) { activeHeaderFont_.Assign(f); }
  TKGridFont& HeaderFont() { return headerFont_; }
  const TKGridFont& HeaderFont() const { return headerFont_; }
  void SetHeaderFont(const TKGridFont& f) { headerFont_.Assign(f); }
  TKGridFont& ActiveFixedFont() { return activeFixedFont_; }
  void SetActiveFixedFont(const TKGridFont& f) { activeFixedFont_.Assign(f); }
  TKGridFont& FixedFont() { return fixedFont_; }
  void SetFixedFont(const TKGridFont& f) { fixedFont_.Assign(f); }
  bool DefaultLook() const { return defaultLook_; }
  void SetDefaultLook(bool v);

  // ---- the base grid
  int ColCount() const { return visible_.Count(); }
  int BaseRowCount() const { return empty_ ? 2 : int(rows_.size()) + 1; }
  int Col() const { return col_; }
  int Row() const { return row_; }
  int TopRow() const { return topRow_; }
  void SetTopRow(int v);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int v);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int v) { defaultColWidth_ = v; }
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int v);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int v);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions v);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool Focused() const { return focused_; }

  // ---- layout on screen (client coordinates)
  void SetClientSize(int width, int height);
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  // The cell's rectangle, empty when it is not on screen.
  TRect CellRect(int col, int baseRow) const;
  // Left edges of the columns on screen (fixed ones, then from LeftCol), with their column
  // indexes; the last entry ends at the right edge of the last column shown.
  struct ColumnSpan {
    int col, left, right;  // right exclusive; a grid line follows
  };
  std::vector<ColumnSpan> ColumnsOnScreen() const;
  int HeaderBandHeight() const { return defaultRowHeight_; }
  // The header column under x (strictly inside its edges by more than a pixel), or -1.
  int HeaderColumnAt(int x, int y) const;
  // The cell under a point; false outside the cells.
  bool MouseCoord(int x, int y, int& col, int& baseRow) const;
  int VisibleColCount() const;  // scrolled columns fully shown
  int VisibleRowCount() const;  // data rows fully shown
  int MaxTopRow() const;
  int MaxLeftCol() const;
  // The whole drawing rule for one cell, OnGetCellProps included.
  TKCellLook CellLook(int col, int baseRow) const;
  TGridDrawState DrawState(int col, int baseRow) const;

  // ---- input, as the widget feeds it (positions in client coordinates)
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  TGridCursor MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void DblClick(int x, int y);
  // Moves the current cell as the base grid does: through SelectCell, then the selection
  // follows (or grows from its anchor), and the cell is scrolled into view.
  bool MoveCurrent(int col, int baseRow, bool moveAnchor);
  int PressedHeaderColumn() const { return pressedHeader_; }
  bool SizingFixedColumn() const { return sizing_; }

  // ---- editing
  bool CanEditShow() const;
  std::string GetEditText(int col, int baseRow) const;
  void SetEditText(int col, int baseRow, const std::string& value);

  // ---- events (rows given to them are data rows)
  std::function<void(int ACol, int ARow, bool& CanSelect)> OnSelectCell;
  std::function<void(TKGridColumn* OldActiveCol, TKGridColumn* NewActiveCol)> OnActiveColChanged;
  std::function<void(int ACol, int ARow, TKCellProperties& CellProps)> OnGetCellProps;
  std::function<void(int ACol)> OnHeaderClick;
  std::function<void(const TKGridColumnList& SortedColumns, int Index1, int Index2, int& Result)>
      OnCompareRows;
  std::function<void(int ACol, int ARow, std::string& Value)> OnGetEditText;
  std::function<void(int ACol, int ARow, const std::string& Value)> OnSetEditText;
  std::function<void(int ACol, int ARow, const std::string& Value)> OnCancelEdit;
  std::function<void(int FromIndex, int ToIndex)> OnColumnMoved;
  std::function<void(int FromIndex, int ToIndex)> OnRowMoved;
  // The current cell has moved (by any means), or rows were deleted under it. OnActiveColChanged
  // comes earlier, while the cell left is still current.
  std::function<void()> OnCurrentMoved;
  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

  // Memory held by the cells of all columns, in bytes.
  std::size_t CellBytes() const;

 protected:
  friend class TKGridColumn;
  friend class TKGridColumns;

  virtual bool SelectCell(int col, int baseRow);
  virtual void ActiveColChanged(TKGridColumn* oldCol, TKGridColumn* newCol);

  // What the widget does about changes; nothing without one.
  virtual void InvalidateCell(int /*col*/, int /*baseRow*/) {}
  virtual void InvalidateRow(int /*baseRow*/) {}
  virtual void InvalidateCol(int /*col*/) {}
  virtual void InvalidateGrid() {}
  virtual void LayoutChanged() {}     // columns, widths or rows changed: scroll ranges
  virtual void TopLeftChanged() {}    // scrolled
  virtual void HideCellButton() {}
  virtual void BeginBusy() {}         // hourglass while sorting
  virtual void EndBusy() {}
  virtual void ShowEditorRequested() {}  // a click on the current cell of an editable grid

  void setFocused(bool v);
  void RebuildVisibleColumns();
  void UpdateColumns();
  void ClampFixedCols();
  void SortWithBusyCursor();
  // Clicks and drags of the base grid in the cell area.
  void BaseMouseDown(TShiftState shift, int x, int y);
  bool restoring_ = false;

 private:
  void setColour(TColor& field, TColor v);
  void columnAdded(TKGridColumn& c);
  void columnRemoved(TKGridColumn& c);
  void headerClicked(int col);
  TGridRect selectionRect() const;
  void checkCol(int col) const;
  void checkRow(int row) const;
  // The column of a cell, after the column test and then the row test.
  TKGridColumn& cellColumn(int col, int row) const;
  void clampCurrent();
  void scrollIntoView(int col, int baseRow);
  void rowsChanged();
  int rowPitch() const { return defaultRowHeight_ + gridLineWidth_; }
  int fixedWidth() const;
  int columnExtent(int col) const;
  bool onSizableEdge(int x, int y, int& col) const;

  TKGridColumns columns_;
  TKGridColumnList visible_;
  bool empty_ = true;
  std::vector<std::intptr_t> rows_;
  TKGridColumn* activeColumn_ = nullptr;
  int wantedFixedCols_ = 0;
  int fixedCols_ = 0;

  TColor color_ = clWindow;
  TKGridFont font_{"MS Sans Serif", 8, clWindowText};
  TColor activeHeaderColor_ = clGray;
  TColor activeColColor_ = clNone;
  TColor activeRowColor_ = clInfoBk;
  TColor activeRowFontColor_ = clNone;
  TColor headerColor_ = clBtnFace;
  TColor selectedColor_ = clHighlight;
  TColor selectedFontColor_ = clHighlightText;
  TKGridFont activeHeaderFont_{"MS Sans Serif", 8, clWhite, fsBold};
  TKGridFont headerFont_{"MS Sans Serif", 8, clWindowText, fsBold};
  TColor activeFixedColor_ = clGray;
  TKGridFont activeFixedFont_{"MS Sans Serif", 8, clWhite};
  TColor fixedColor_ = clBtnFace;
  TKGridFont fixedFont_{"MS Sans Serif", 8, clWindowText};
  bool defaultLook_ = false;
  bool autoSort_ = true;
  std::uint64_t rowMoves_ = 0;
  const TKGridColumnList* sortedColumns_ = nullptr;  // only while sorting

  int col_ = 0, row_ = 1;              // current cell (base coordinates)
  int anchorCol_ = 0, anchorRow_ = 1;  // other corner of the selection
  int topRow_ = 1, leftCol_ = 0;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 18;
  int gridLineWidth_ = 1;
  TGridOptions options_ = kDefaultGridOptions;
  TScrollStyle scrollBars_ = ssBoth;
  int clientWidth_ = 0, clientHeight_ = 0;
  bool focused_ = false;

  // mouse state
  int pressedHeader_ = -1;
  bool sizing_ = false;
  bool overEdge_ = false;
  int sizingCol_ = -1;
  int sizingX_ = 0;
  bool selecting_ = false;
};

}  // namespace kgrid
