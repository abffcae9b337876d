#include "grid/kgridmodel.h"

#include <algorithm>
#include <deque>
#include <cstring>
#include <numeric>

#include "grid/kerrors.h"
#include "grid/kstrings.h"

namespace kgrid {

namespace {

// The ordinal order of Windows-1250 bytes: unsigned byte by byte, a prefix first.
int compareTexts(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  if (n) {
    const int r = std::memcmp(a.data(), b.data(), n);
    if (r) return r < 0 ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// One comparison rule for the public CompareRows and for the sort, which reads prepared keys.
template <class TextOf>
int compareBy(const TKGridColumnList& cols, int r1, int r2, TextOf textOf) {
  for (int k = 0; k < cols.Count(); ++k) {
    int r = compareTexts(textOf(k, r1), textOf(k, r2));
    if (cols.Items(k)->SortOrder() == csDsc) r = -r;
    if (r) return r;
  }
  return 0;
}

// A stable bottom-up merge sort of positions; every loop is bounded by the counts, so an
// inconsistent comparison can only give an odd order, never run away.
template <class Less>
void mergeSort(std::vector<int>& a, Less less) {
  const std::size_t n = a.size();
  std::vector<int> tmp(n);
  for (std::size_t width = 1; width < n; width *= 2) {
    for (std::size_t lo = 0; lo < n; lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      std::size_t i = lo, j = mid, k = lo;
      if (mid < hi && !less(a[mid], a[mid - 1])) {  // already in order
        std::copy(a.begin() + std::ptrdiff_t(lo), a.begin() + std::ptrdiff_t(hi),
                  tmp.begin() + std::ptrdiff_t(lo));
        continue;
      }
      while (i < mid && j < hi) tmp[k++] = less(a[j], a[i]) ? a[j++] : a[i++];
      while (i < mid) tmp[k++] = a[i++];
      while (j < hi) tmp[k++] = a[j++];
    }
    a.swap(tmp);
  }
}

}  // namespace

TKGridModel::TKGridModel() : columns_(this) {
  font_.OnChange = [this] {
    for (auto& c : columns_.items_)
      if (c->ParentFont()) c->SetParentFont(true);
    InvalidateGrid();
  };
  headerFont_.OnChange = [this] {
    for (auto& c : columns_.items_)
      if (c->ParentHeaderFont()) c->SetParentHeaderFont(true);
    InvalidateGrid();
  };
  for (TKGridFont* f : {&activeHeaderFont_, &activeFixedFont_, &fixedFont_})
    f->OnChange = [this] { InvalidateGrid(); };
}

TKGridModel::~TKGridModel() {
  for (TKGridFont* f : {&font_, &headerFont_, &activeHeaderFont_, &activeFixedFont_, &fixedFont_})
    f->OnChange = nullptr;
}

// ---------------------------------------------------------------- checks

void TKGridModel::checkCol(int col) const {
  if (col < 0 || col >= visible_.Count()) throwWrongColIndex();
}

void TKGridModel::checkRow(int row) const {
  if (row < 0 || row >= RowCount()) throwWrongRowIndex();
}

TKGridColumn& TKGridModel::VisibleColumn(int col) const {
  checkCol(col);
  return *visible_.Items(col);
}

// ---------------------------------------------------------------- rows and cells

void TKGridModel::SetRowCount(int v) {
  if (v < 0) throwWrongRowIndex();
  const int n = RowCount();
  if (v < n) {
    DeleteRows(v, n - 1);
  } else if (v > n) {
    const bool wasEmpty = empty_;
    AddRows(v - n);
    if (wasEmpty) SelectCell(col_, row_);
  }
}

void TKGridModel::SetDataRow(int row) {
  checkRow(row);
  MoveCurrent(col_, row + 1, true);
}

void TKGridModel::SetDataCol(int col) {
  checkCol(col);
  MoveCurrent(col, row_, true);
}

TKGridColumn& TKGridModel::cellColumn(int col, int row) const {
  checkCol(col);
  checkRow(row);
  return *visible_.Items(col);
}

std::string TKGridModel::Cells(int col, int row) const { return cellColumn(col, row).Cells(row); }

void TKGridModel::SetCells(int col, int row, std::string_view text) { cellColumn(col, row).SetCells(row, text); }

TKCellFlags TKGridModel::CellFlags(int col, int row) const {
  if (empty_ || visible_.Count() == 0) return 0;
  return cellColumn(col, row).CellFlags(row);
}

void TKGridModel::SetCellFlags(int col, int row, TKCellFlags flags) {
  cellColumn(col, row).SetCellFlags(row, flags);
}

int TKGridModel::CellType(int col, int row) const {
  if (empty_ || visible_.Count() == 0) return 0;
  return cellColumn(col, row).CellType(row);
}

void TKGridModel::SetCellType(int col, int row, int type) { cellColumn(col, row).SetCellType(row, type); }

void TKGridModel::AddRows(int count) {
  if (count <= 0) return;
  const int n = RowCount();
  if (rows_.capacity() < std::size_t(n + count))
    rows_.reserve(std::max(std::size_t(n + count), rows_.capacity() * 2));
  for (auto& c : columns_.items_) {
    c->cells_.reserve(n + count);
    for (int i = 0; i < count; ++i) c->cells_.insert(n + i);
  }
  rows_.resize(std::size_t(n + count), 0);
  empty_ = false;
  rowsChanged();
}

void TKGridModel::AppendRows(int count, std::vector<TKCellBlock>& blocks) {
  if (count < 0) throwWrongRowIndex();
  if (int(blocks.size()) != visible_.Count()) throw EKGridError("Wrong number of column blocks");
  for (const auto& b : blocks)
    if (b.size() != count) throw EKGridError("Wrong number of cells in a column block");
  if (count == 0) return;
  const int n = RowCount();
  for (auto& c : columns_.items_) {
    const int at = c->visible_ ? visible_.IndexOf(c.get()) : -1;
    if (at >= 0) {
      c->cells_.append(std::move(blocks[std::size_t(at)].store_));
    } else {
      c->cells_.reserve(n + count);
      c->cells_.appendEmpty(count);
    }
  }
  rows_.resize(std::size_t(n + count), 0);
  empty_ = false;
  rowsChanged();
}

void TKGridModel::InsertRow(int row) {
  if (row < 0 || row > RowCount()) throwWrongRowIndex();
  ++rowMoves_;
  columns_.InsertRow(row);
  rows_.insert(rows_.begin() + row, 0);
  empty_ = false;
  rowsChanged();
}

void TKGridModel::DeleteRows(int first, int last) {
  if (first > last) return;
  if (first < 0 || last >= RowCount()) throwWrongRowIndex();
  HideCellButton();
  columns_.DeleteRows(first, last);
  rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
  if (rows_.empty()) empty_ = true;
  // The rows that slide up were not chosen: the selection shrinks to the current cell.
  anchorCol_ = col_;
  anchorRow_ = row_;
  rowsChanged();
  if (OnCurrentMoved) OnCurrentMoved();
}

void TKGridModel::Clear() {
  ++rowMoves_;
  HideCellButton();
  columns_.ClearData();
  rows_.clear();
  rows_.shrink_to_fit();
  empty_ = true;
  rowsChanged();
  if (OnCurrentMoved) OnCurrentMoved();
}

void TKGridModel::rowsChanged() {
  clampCurrent();
  LayoutChanged();
  InvalidateGrid();
}

TGridRect TKGridModel::selectionRect() const {
  TGridRect r{std::min(anchorCol_, col_), std::min(anchorRow_, row_), std::max(anchorCol_, col_),
              std::max(anchorRow_, row_)};
  if (options_ & goRowSelect) {
    r.Left = fixedCols_;
    r.Right = std::max(fixedCols_, visible_.Count() - 1);
  }
  return r;
}

TGridRect TKGridModel::DataSelection() const {
  TGridRect r = selectionRect();
  if (empty_) return {r.Left, -1, r.Right, -1};
  return {r.Left, r.Top - 1, r.Right, r.Bottom - 1};
}

std::intptr_t TKGridModel::RowObject(int row) const {
  checkRow(row);
  return rows_[std::size_t(row)];
}

void TKGridModel::SetRowObject(int row, std::intptr_t v) {
  checkRow(row);
  rows_[std::size_t(row)] = v;
}

// ---------------------------------------------------------------- columns

void TKGridModel::columnAdded(TKGridColumn& c) {
  const int pos = c.Visible() ? visible_.AddSorted(&c) : -1;
  visible_.Renumber();
  if (pos == 0) ActiveColChanged(nullptr, &c);
  UpdateColumns();
}

void TKGridModel::columnRemoved(TKGridColumn& c) {
  if (activeColumn_ == &c) activeColumn_ = nullptr;
  visible_.Remove(&c);
  RebuildVisibleColumns();
  SelectCell(col_, row_);
}

void TKGridModel::RebuildVisibleColumns() {
  TKGridColumn* before = col_ < visible_.Count() ? visible_.Items(col_) : nullptr;
  visible_.Clear();
  for (auto& c : columns_.items_)
    if (c->Visible()) visible_.AddSorted(c.get());
  visible_.Renumber();
  ClampFixedCols();
  clampCurrent();
  TKGridColumn* after = col_ < visible_.Count() ? visible_.Items(col_) : nullptr;
  if (before != after) SelectCell(col_, row_);
  UpdateColumns();
}

void TKGridModel::ClampFixedCols() {
  const int n = visible_.Count();
  fixedCols_ = n == 0 ? 0 : std::min(wantedFixedCols_, n - 1);
}

void TKGridModel::UpdateColumns() {
  ClampFixedCols();
  clampCurrent();
  LayoutChanged();
  InvalidateGrid();
}

void TKGridModel::SetFixedCols(int v) {
  if (v < 0) throwWrongColIndex();
  wantedFixedCols_ = v;
  RebuildVisibleColumns();
}

void TKGridModel::MoveColumn(int from, int to) {
  checkCol(from);
  checkCol(to);
  visible_.MoveColumn(from, to);
  UpdateColumns();
  if (visible_.Items(col_) != activeColumn_) SelectCell(col_, row_);
  if (OnColumnMoved) OnColumnMoved(from, to);
}

void TKGridModel::MoveRow(int from, int to) {
  checkRow(from);
  checkRow(to);
  ++rowMoves_;
  for (auto& c : columns_.items_) c->cells_.move(from, to);
  if (from < to)
    std::rotate(rows_.begin() + from, rows_.begin() + from + 1, rows_.begin() + to + 1);
  else if (from > to)
    std::rotate(rows_.begin() + to, rows_.begin() + from, rows_.begin() + from + 1);
  InvalidateGrid();
  if (OnRowMoved) OnRowMoved(from, to);
}

// ---------------------------------------------------------------- sorting

void TKGridModel::SetAutoSort(bool v) {
  autoSort_ = v;
  if (v) SortWithBusyCursor();
}

void TKGridModel::SortWithBusyCursor() {
  BeginBusy();
  try {
    SortRows();
  } catch (...) {
    EndBusy();
    throw;
  }
  EndBusy();
}

void TKGridModel::SortRows() {
  TKGridColumnList sorted;
  for (TKGridColumn* c : visible_.items())
    if (c->SortOrder() != csNone) sorted.Append(c);
  if (sorted.Count() == 0) return;  // nothing decides an order: the rows stay as they are
  ++rowMoves_;
  const int n = RowCount();

  // Each sorted column's texts, decoded once; most cells are plain and are read in place.
  std::vector<std::vector<std::string_view>> keys(std::size_t(sorted.Count()));
  std::deque<std::string> decoded;
  for (int k = 0; k < sorted.Count(); ++k) {
    const TKCellStore& cells = sorted.Items(k)->cells_;
    auto& kk = keys[std::size_t(k)];
    kk.resize(std::size_t(n));
    for (int r = 0; r < n; ++r) kk[std::size_t(r)] = SortKey(cells.text(r), decoded);
  }

  struct SortedScope {
    const TKGridColumnList*& slot;
    ~SortedScope() { slot = nullptr; }
  } scope{sortedColumns_};
  sortedColumns_ = &sorted;

  std::vector<int> order(static_cast<std::size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  mergeSort(order, [&](int a, int b) {
    int r = compareBy(sorted, a, b, [&](int k, int row) { return keys[std::size_t(k)][std::size_t(row)]; });
    if (OnCompareRows) OnCompareRows(sorted, a, b, r);
    return r < 0;
  });

  // Rows already in order (a list loaded sorted) are left where they are.
  bool moved = false;
  for (std::size_t i = 0; i < order.size() && !moved; ++i) moved = order[i] != int(i);
  if (moved) {
    for (auto& c : columns_.items_) c->cells_.permute(order);
    std::vector<std::intptr_t> rows(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) rows[i] = rows_[std::size_t(order[i])];
    rows_.swap(rows);
  }
  HideCellButton();
  InvalidateGrid();
}

std::string_view TKGridModel::SortKey(std::string_view stored, std::deque<std::string>& decoded) {
  if (KStrings::IsPlainText(stored)) return stored;
  return decoded.emplace_back(KStrings::CommaTextToLines(stored));
}

void TKGridModel::SetSortedBy(TKGridColumn& c, TColumnSorting v) {
  for (auto& k : columns_.items_) k->sortOrder_ = csNone;
  c.sortOrder_ = v;
  ++rowMoves_;
  HideCellButton();
  InvalidateGrid();
}

int TKGridModel::CompareRows(int r1, int r2) const {
  checkRow(r1);
  checkRow(r2);
  TKGridColumnList own;
  if (!sortedColumns_)
    for (TKGridColumn* c : visible_.items())
      if (c->SortOrder() != csNone) own.Append(c);
  const TKGridColumnList& cols = sortedColumns_ ? *sortedColumns_ : own;
  // Each text is returned by value: both live until their comparison ends. (Views into a vector of
  // them would dangle once the second push_back moved the first.)
  int r = compareBy(cols, r1, r2, [&](int k, int row) { return cols.Items(k)->Cells(row); });
  if (OnCompareRows && cols.Count() > 0) OnCompareRows(cols, r1, r2, r);
  return r;
}

void TKGridModel::ExchangeRows(int a, int b) {
  checkRow(a);
  checkRow(b);
  ++rowMoves_;
  for (auto& c : columns_.items_) c->cells_.swap(a, b);
  std::swap(rows_[std::size_t(a)], rows_[std::size_t(b)]);
  InvalidateRow(a + 1);
  InvalidateRow(b + 1);
}

// ---------------------------------------------------------------- look

void TKGridModel::setColour(TColor& field, TColor v) {
  field = v;
  InvalidateGrid();
}

void TKGridModel::SetActiveColColor(TColor v) {
  activeColColor_ = v;
  InvalidateCol(col_);
}

void TKGridModel::SetActiveRowFontColor(TColor v) {
  activeRowFontColor_ = v;
  InvalidateRow(row_);
}

void TKGridModel::SetDefaultLook(bool v) {
  defaultLook_ = v;
  InvalidateGrid();
}

TGridDrawState TKGridModel::DrawState(int col, int baseRow) const {
  TGridDrawState s = 0;
  if (baseRow == 0 || col < fixedCols_) return gdFixed;
  const TGridRect sel = selectionRect();
  if (col >= sel.Left && col <= sel.Right && baseRow >= sel.Top && baseRow <= sel.Bottom) s |= gdSelected;
  if (focused_ && col == col_ && baseRow == row_) s |= gdFocused;
  return s;
}

TKCellLook TKGridModel::CellLook(int col, int baseRow) const {
  TKCellLook look;
  const TKGridColumn& C = VisibleColumn(col);
  const TGridDrawState state = DrawState(col, baseRow);
  look.state = state;
  const bool selected = state & gdSelected, focused = state & gdFocused;
  const bool rowSelect = options_ & goRowSelect;

  // What the plain grid would have put on the canvas for this cell.
  TColor canvasBrush, canvasFont = font_.Color();
  if (state & gdFixed)
    canvasBrush = clBtnFace;
  else if (selected && (!focused || (options_ & (goDrawFocusSelected | goRowSelect)))) {
    canvasBrush = clHighlight;
    canvasFont = clHighlightText;
  } else {
    canvasBrush = color_;
  }

  const TColor CC = C.Color() != clNone ? C.Color() : color_;
  const TColor CF = C.Font().Color();
  auto orElse = [](TColor v, TColor fallback) { return v != clNone ? v : fallback; };
  const bool dl = defaultLook_;
  const TColor fixedFontColour = dl ? canvasFont : orElse(fixedFont_.Color(), canvasFont);
  const TColor headerFontColour = dl ? canvasFont : orElse(C.HeaderFont().Color(), canvasFont);
  const TColor activeFixedFontColour = dl ? fixedFontColour : orElse(activeFixedFont_.Color(), fixedFontColour);
  const TColor activeHeaderFontColour = dl ? headerFontColour : orElse(activeHeaderFont_.Color(), headerFontColour);
  const TColor activeRowFontColour = dl ? canvasFont : orElse(activeRowFontColor_, CF);
  const TColor selectedFontColour = dl ? canvasFont : orElse(selectedFontColor_, CF);
  const TColor fixedColour = dl ? canvasBrush : orElse(fixedColor_, CC);
  const TColor headerColour = dl ? canvasBrush : orElse(orElse(C.HeaderColor(), headerColor_), CC);
  const TColor activeFixedColour = dl ? fixedColour : orElse(activeFixedColor_, fixedColour);
  const TColor activeHeaderColour = dl ? headerColour : orElse(activeHeaderColor_, headerColour);
  const TColor activeColColour = dl ? CC : orElse(activeColColor_, CC);
  const TColor activeRowColour = dl ? (rowSelect ? canvasBrush : CC) : orElse(activeRowColor_, CC);
  const TColor selectedColour = dl ? canvasBrush : orElse(selectedColor_, CC);

  if (baseRow == 0) {
    if (col == col_) {
      look.background = activeHeaderColour;
      look.font = activeHeaderFont_;
      look.font.SetColor(activeHeaderFontColour);
    } else {
      look.background = headerColour;
      look.font = C.HeaderFont();
      look.font.SetColor(headerFontColour);
    }
    look.text = C.Caption();
    look.alignment = C.Alignment();
    return look;
  }

  TColor fontColour;
  if (col >= fixedCols_) {
    look.font = C.Font();
    fontColour = CF;
    look.background = col == col_ ? activeColColour : CC;
    if (baseRow != row_ &&
        ((selected && !focused) || ((selected || focused) && (options_ & goDrawFocusSelected)))) {
      look.background = selectedColour;
      fontColour = selectedFontColour;
    }
    if (baseRow == row_) {
      look.background = rowSelect ? selectedColour : activeRowColour;
      fontColour = rowSelect ? selectedFontColour : activeRowFontColour;
    }
  } else if (baseRow == row_) {
    look.font = activeFixedFont_;
    look.background = activeFixedColour;
    fontColour = activeFixedFontColour;
  } else {
    look.font = fixedFont_;
    look.background = fixedColour;
    fontColour = fixedFontColour;
  }
  look.font.SetColor(fontColour);
  look.alignment = C.Alignment();

  if (OnGetCellProps) {
    TKCellProperties props{look.font, look.background, look.alignment};
    OnGetCellProps(col, baseRow - 1, props);
    look.background = props.Color;
    look.alignment = props.Alignment;
  }
  if (!empty_ && baseRow - 1 < int(rows_.size())) {
    const int row = baseRow - 1;
    look.text = (C.CellFlags(row) & cfMultiLine) ? std::string(C.StoredText(row)) : C.Cells(row);
  }
  return look;
}

// ---------------------------------------------------------------- current cell and selection

bool TKGridModel::SelectCell(int col, int baseRow) {
  if (visible_.Count() == 0) {
    activeColumn_ = nullptr;
    return false;
  }
  if (!empty_ && OnSelectCell) {
    bool canSelect = true;
    OnSelectCell(col, baseRow - 1, canSelect);
    if (!canSelect) return false;
  }
  InvalidateRow(row_);
  InvalidateRow(baseRow);
  HideCellButton();
  TKGridColumn* next = visible_.Items(std::clamp(col, 0, visible_.Count() - 1));
  if (activeColumn_ == next) return true;
  TKGridColumn* old = activeColumn_;
  activeColumn_ = next;
  ActiveColChanged(old, next);
  return true;
}

void TKGridModel::ActiveColChanged(TKGridColumn* oldCol, TKGridColumn* newCol) {
  if (oldCol && oldCol->DisplayIndex() >= 0) InvalidateCol(oldCol->DisplayIndex());
  if (newCol && newCol->DisplayIndex() >= 0) InvalidateCol(newCol->DisplayIndex());
  if (OnActiveColChanged) OnActiveColChanged(oldCol, newCol);
}

bool TKGridModel::MoveCurrent(int col, int baseRow, bool moveAnchor) {
  const int n = visible_.Count();
  if (n == 0) return false;
  col = std::clamp(col, fixedCols_, n - 1);
  baseRow = std::clamp(baseRow, 1, BaseRowCount() - 1);
  if (!SelectCell(col, baseRow)) return false;
  const TGridRect before = selectionRect();
  const int oldRow = row_, oldCol = col_;
  col_ = col;
  row_ = baseRow;
  if (moveAnchor || !(options_ & goRangeSelect)) {
    anchorCol_ = col_;
    anchorRow_ = row_;
  }
  const TGridRect after = selectionRect();
  if (before.Top == before.Bottom && after.Top == after.Bottom && !(options_ & goRowSelect) &&
      before.Left == before.Right && after.Left == after.Right) {
    InvalidateRow(oldRow);
    InvalidateRow(row_);
  } else {
    InvalidateGrid();
  }
  // The current column is drawn in its own colour, whichever column the grid last reported as
  // active: both the column left and the column entered are drawn again.
  if (oldCol != col_) {
    InvalidateCol(oldCol);
    InvalidateCol(col_);
  }
  scrollIntoView(col_, row_);
  if ((oldCol != col_ || oldRow != row_) && OnCurrentMoved) OnCurrentMoved();
  return true;
}

void TKGridModel::clampCurrent() {
  const int n = visible_.Count();
  const int lastRow = BaseRowCount() - 1;
  if (n == 0) {
    col_ = anchorCol_ = 0;
  } else {
    col_ = std::clamp(col_, fixedCols_, n - 1);
    anchorCol_ = std::clamp(anchorCol_, fixedCols_, n - 1);
  }
  row_ = std::clamp(row_, 1, lastRow);
  anchorRow_ = std::clamp(anchorRow_, 1, lastRow);
  leftCol_ = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
  topRow_ = std::clamp(topRow_, 1, MaxTopRow());
}

void TKGridModel::scrollIntoView(int col, int baseRow) {
  if (clientWidth_ <= 0 || clientHeight_ <= 0) return;
  const int oldTop = topRow_, oldLeft = leftCol_;
  const int rows = std::max(1, VisibleRowCount());
  if (baseRow < topRow_)
    topRow_ = baseRow;
  else if (baseRow >= topRow_ + rows)
    topRow_ = baseRow - rows + 1;
  topRow_ = std::clamp(topRow_, 1, MaxTopRow());
  if (col >= fixedCols_) {
    if (col < leftCol_) leftCol_ = col;
    while (leftCol_ < col && leftCol_ < MaxLeftCol() && col >= leftCol_ + VisibleColCount()) ++leftCol_;
  }
  if (topRow_ != oldTop || leftCol_ != oldLeft) {
    TopLeftChanged();
    InvalidateGrid();
  }
}

void TKGridModel::SetTopRow(int v) {
  v = std::clamp(v, 1, MaxTopRow());
  if (v == topRow_) return;
  topRow_ = v;
  TopLeftChanged();
  InvalidateGrid();
}

void TKGridModel::SetLeftCol(int v) {
  v = std::clamp(v, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
  if (v == leftCol_) return;
  leftCol_ = v;
  TopLeftChanged();
  InvalidateGrid();
}

void TKGridModel::SetDefaultRowHeight(int v) {
  defaultRowHeight_ = std::max(1, v);
  UpdateColumns();
}

void TKGridModel::SetGridLineWidth(int v) {
  gridLineWidth_ = std::max(0, v);
  UpdateColumns();
}

void TKGridModel::SetOptions(TGridOptions v) {
  options_ = v;
  if (!(options_ & goRangeSelect)) {
    anchorCol_ = col_;
    anchorRow_ = row_;
  }
  UpdateColumns();
}

void TKGridModel::SetScrollBars(TScrollStyle v) {
  scrollBars_ = v;
  LayoutChanged();
}

void TKGridModel::setFocused(bool v) {
  if (focused_ == v) return;
  focused_ = v;
  InvalidateRow(row_);
}

// ---------------------------------------------------------------- layout

void TKGridModel::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  clampCurrent();
}

int TKGridModel::columnExtent(int col) const {
  const int w = visible_.Items(col)->Width();
  return w > 0 ? w + gridLineWidth_ : 0;
}

int TKGridModel::fixedWidth() const {
  int x = 0;
  for (int c = 0; c < fixedCols_; ++c) x += columnExtent(c);
  return x;
}

std::vector<TKGridModel::ColumnSpan> TKGridModel::ColumnsOnScreen() const {
  std::vector<ColumnSpan> spans;
  int x = 0;
  auto add = [&](int c) {
    const int w = visible_.Items(c)->Width();
    if (w <= 0) return;  // a column of width 0 takes no room on screen
    spans.push_back({c, x, x + w});
    x += w + gridLineWidth_;
  };
  for (int c = 0; c < fixedCols_ && c < visible_.Count(); ++c) add(c);
  for (int c = leftCol_; c < visible_.Count() && (clientWidth_ <= 0 || x < clientWidth_); ++c) add(c);
  return spans;
}

int TKGridModel::HeaderColumnAt(int x, int y) const {
  if (y < 0 || y >= HeaderBandHeight()) return -1;
  for (const ColumnSpan& s : ColumnsOnScreen())
    if (x > s.left + 1 && x < s.right - 1) return s.col;
  return -1;
}

bool TKGridModel::MouseCoord(int x, int y, int& col, int& baseRow) const {
  if (x < 0 || y < 0) return false;
  const int pitch = rowPitch();
  if (y < pitch) {
    baseRow = 0;
  } else {
    baseRow = topRow_ + (y - pitch) / pitch;
    if (baseRow >= BaseRowCount()) return false;
  }
  for (const ColumnSpan& s : ColumnsOnScreen())
    if (x >= s.left && x < s.right + gridLineWidth_) {
      col = s.col;
      return true;
    }
  return false;
}

TRect TKGridModel::CellRect(int col, int baseRow) const {
  if (col < 0 || col >= visible_.Count() || baseRow < 0 || baseRow >= BaseRowCount()) return {};
  int top;
  if (baseRow == 0)
    top = 0;
  else if (baseRow >= topRow_)
    top = rowPitch() * (1 + baseRow - topRow_);
  else
    return {};
  if (clientHeight_ > 0 && top >= clientHeight_) return {};
  for (const ColumnSpan& s : ColumnsOnScreen())
    if (s.col == col) return {s.left, top, s.right, top + defaultRowHeight_};
  return {};
}

int TKGridModel::VisibleRowCount() const {
  return std::max(0, (clientHeight_ - rowPitch()) / rowPitch());
}

int TKGridModel::VisibleColCount() const {
  int x = fixedWidth(), count = 0;
  for (int c = leftCol_; c < visible_.Count(); ++c) {
    const int w = visible_.Items(c)->Width();
    if (x + std::max(0, w) > clientWidth_) break;
    ++count;
    x += columnExtent(c);
  }
  return count;
}

int TKGridModel::MaxTopRow() const {
  const int rows = clientHeight_ > 0 ? std::max(1, VisibleRowCount()) : 1;
  return std::max(1, BaseRowCount() - rows);
}

int TKGridModel::MaxLeftCol() const {
  const int n = visible_.Count();
  if (n == 0) return 0;
  if (clientWidth_ <= 0) return std::max(fixedCols_, n - 1);
  const int avail = clientWidth_ - fixedWidth();
  int used = 0, first = n;
  for (int c = n - 1; c >= fixedCols_; --c) {
    const int w = std::max(0, visible_.Items(c)->Width());
    if (used + w > avail && first < n) break;
    used += columnExtent(c);
    first = c;
  }
  return std::max(fixedCols_, std::min(first, n - 1));
}

// ---------------------------------------------------------------- mouse

bool TKGridModel::onSizableEdge(int x, int y, int& col) const {
  if (y < 0 || y >= HeaderBandHeight()) return false;
  for (const ColumnSpan& s : ColumnsOnScreen()) {
    if (s.col >= fixedCols_ && !(options_ & goColSizing)) continue;
    if (std::abs(x - s.right) <= 3) {
      col = s.col;
      return true;
    }
  }
  return false;
}

void TKGridModel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button != mbLeft) return;
  if (y >= 0 && y < HeaderBandHeight()) {
    int edge;
    if (onSizableEdge(x, y, edge)) {
      sizing_ = true;
      sizingCol_ = edge;
      sizingX_ = x;
      return;
    }
    // Remembered only: a header press does not select anything.
    pressedHeader_ = HeaderColumnAt(x, y);
    return;
  }
  BaseMouseDown(shift, x, y);
}

void TKGridModel::BaseMouseDown(TShiftState shift, int x, int y) {
  int col, baseRow;
  if (!MouseCoord(x, y, col, baseRow)) return;
  if (baseRow == 0 || col < fixedCols_) return;  // fixed cells select nothing
  if (!empty_ && col == col_ && baseRow == row_) {
    if (CellFlags(col, baseRow - 1) & cfReadOnly) return;
    if (options_ & goEditing) ShowEditorRequested();
  }
  const bool extend = (shift & ssShift) && (options_ & goRangeSelect);
  MoveCurrent(col, baseRow, !extend);
  selecting_ = true;
}

TGridCursor TKGridModel::MouseMove(TShiftState shift, int x, int y) {
  if (pressedHeader_ != -1) {
    pressedHeader_ = -1;
    BaseMouseDown(shift & ~TShiftState(ssShift), x, y);
    return TGridCursor::Default;
  }
  if (sizing_) {
    TKGridColumn& c = *visible_.Items(sizingCol_);
    c.SetWidth(std::max(1, c.Width() + x - sizingX_));
    sizingX_ = x;
    return TGridCursor::HSplit;
  }
  if (!(shift & (ssLeft | ssRight | ssMiddle))) {
    int edge;
    overEdge_ = onSizableEdge(x, y, edge);
    return overEdge_ ? TGridCursor::HSplit : TGridCursor::Default;
  }
  if (selecting_ && (shift & ssLeft) && (options_ & goRangeSelect)) {
    int col, baseRow;
    if (MouseCoord(x, y, col, baseRow) && baseRow > 0) MoveCurrent(col, baseRow, false);
  }
  return TGridCursor::Default;
}

void TKGridModel::MouseUp(TMouseButton button, TShiftState, int x, int y) {
  if (button != mbLeft) return;
  if (sizing_) {
    sizing_ = false;
    sizingCol_ = -1;
    UpdateColumns();
  }
  if (pressedHeader_ != -1) {
    const int pressed = pressedHeader_;
    pressedHeader_ = -1;
    if (HeaderColumnAt(x, y) == pressed) headerClicked(pressed);
  }
  if (selecting_) {
    selecting_ = false;
    if (OnClick) OnClick();
  }
}

void TKGridModel::headerClicked(int col) {
  TKGridColumn& clicked = *visible_.Items(col);
  if (autoSort_) {
    const TColumnSorting next = clicked.SortOrder() == csAsc ? csDsc : csAsc;
    for (auto& c : columns_.items_) c->SetSortOrder(csNone);
    clicked.SetSortOrder(next);
  }
  if (OnHeaderClick) OnHeaderClick(col);
  InvalidateCol(col);
  if (col >= fixedCols_ && col >= leftCol_ + VisibleColCount()) SetLeftCol(std::min(leftCol_ + 1, MaxLeftCol()));
}

void TKGridModel::DblClick(int, int y) {
  // Only in the cells: a quick second click on a header is a sort, not a choice of the row.
  if (y >= HeaderBandHeight() && OnDblClick) OnDblClick();
}

// ---------------------------------------------------------------- editing

bool TKGridModel::CanEditShow() const {
  if ((options_ & (goEditing | goRowSelect)) != goEditing) return false;
  if (visible_.Count() == 0 || empty_) return false;
  const TKGridColumn& c = *visible_.Items(col_);
  if (c.ReadOnly()) return false;
  const TKCellFlags f = c.CellFlags(row_ - 1);
  return !(f & cfButton) && !(f & cfReadOnly);
}

std::string TKGridModel::GetEditText(int col, int baseRow) const {
  if (empty_ || visible_.Count() == 0 || baseRow < 1) return {};
  std::string text = Cells(col, baseRow - 1);
  if (OnGetEditText) OnGetEditText(col, baseRow - 1, text);
  return text;
}

void TKGridModel::SetEditText(int col, int baseRow, const std::string& value) {
  if (restoring_ || baseRow < 1 || empty_ || visible_.Count() == 0) return;
  if (OnSetEditText) OnSetEditText(col, baseRow - 1, value);
  SetCells(col, baseRow - 1, value);
}

std::size_t TKGridModel::CellBytes() const {
  std::size_t bytes = rows_.capacity() * sizeof(std::intptr_t);
  for (const auto& c : columns_.items_) bytes += c->cells_.bytesUsed();
  return bytes;
}

}  // namespace kgrid
