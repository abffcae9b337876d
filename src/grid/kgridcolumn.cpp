#include "grid/kgridcolumn.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "grid/kerrors.h"
#include "grid/kgridmodel.h"
#include "grid/kstrings.h"
#include "grid/kutils.h"

namespace kgrid {

namespace {

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

// ---------------------------------------------------------------- TKCellStore

void TKCellStore::setText(int i, std::string_view t) {
  Slot& s = slots_[std::size_t(i)];
  if (t.size() <= s.len) {
    // Fits where the old text was; memmove because the text may come from this buffer.
    if (!t.empty()) std::memmove(buffer_.data() + s.off, t.data(), t.size());
    dead_ += s.len - t.size();
    s.len = std::uint32_t(t.size());
    return;
  }
  std::string copy;
  if (!buffer_.empty() && t.data() >= buffer_.data() && t.data() < buffer_.data() + buffer_.size()) {
    copy.assign(t);
    t = copy;
  }
  dead_ += s.len;
  s.len = 0;
  if (dead_ > 65536 && dead_ > buffer_.size() / 2) compact();
  if (buffer_.size() + t.size() > std::numeric_limits<std::uint32_t>::max()) {
    compact();
    if (buffer_.size() + t.size() > std::numeric_limits<std::uint32_t>::max())
      throw std::length_error("column text too large");
  }
  Slot& slot = slots_[std::size_t(i)];
  slot.off = std::uint32_t(buffer_.size());
  slot.len = std::uint32_t(t.size());
  buffer_.append(t);
}

void TKCellStore::append(std::string_view stored, std::uint32_t word) {
  if (buffer_.size() + stored.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("column text too large");
  slots_.push_back(Slot{std::uint32_t(buffer_.size()), std::uint32_t(stored.size()), word});
  buffer_.append(stored);
}

void TKCellStore::appendCommaText(std::string_view lines, std::uint32_t word) {
  const std::size_t off = buffer_.size();
  KStrings::AppendLinesAsCommaText(buffer_, lines);
  if (buffer_.size() > std::numeric_limits<std::uint32_t>::max()) {
    buffer_.resize(off);
    throw std::length_error("column text too large");
  }
  slots_.push_back(Slot{std::uint32_t(off), std::uint32_t(buffer_.size() - off), word});
}

void TKCellStore::append(TKCellStore&& other) {
  if (slots_.empty() && buffer_.empty()) {
    std::swap(slots_, other.slots_);
    std::swap(buffer_, other.buffer_);
    std::swap(dead_, other.dead_);
  } else {
    if (buffer_.size() + other.buffer_.size() > std::numeric_limits<std::uint32_t>::max())
      throw std::length_error("column text too large");
    const auto shift = std::uint32_t(buffer_.size());
    slots_.reserve(slots_.size() + other.slots_.size());
    for (Slot s : other.slots_) {
      s.off += shift;
      slots_.push_back(s);
    }
    buffer_.append(other.buffer_);
    dead_ += other.dead_;
  }
  other.clear();
}

void TKCellBlock::append(std::string_view text) {
  if (KStrings::IsPlainText(text)) {
    store_.append(text, 0);
    return;
  }
  // As SetCells: comma text, and a value with a line break makes a multi-line cell.
  store_.appendCommaText(text, hasLineBreak(text) ? packCellWord(cfMultiLine, ctText) : 0);
}

void TKCellStore::insert(int i) { slots_.insert(slots_.begin() + i, Slot{}); }

void TKCellStore::erase(int first, int last) {
  for (int i = first; i <= last; ++i) dead_ += slots_[std::size_t(i)].len;
  slots_.erase(slots_.begin() + first, slots_.begin() + last + 1);
  if (slots_.empty()) clear();
}

void TKCellStore::clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  buffer_.clear();
  buffer_.shrink_to_fit();
  dead_ = 0;
}

void TKCellStore::permute(const std::vector<int>& order) {
  std::vector<Slot> next;
  next.reserve(slots_.size());
  for (int from : order) next.push_back(slots_[std::size_t(from)]);
  slots_.swap(next);
}

void TKCellStore::move(int from, int to) {
  if (from < to)
    std::rotate(slots_.begin() + from, slots_.begin() + from + 1, slots_.begin() + to + 1);
  else if (from > to)
    std::rotate(slots_.begin() + to, slots_.begin() + from, slots_.begin() + from + 1);
}

void TKCellStore::compact() {
  std::string next;
  next.reserve(buffer_.size() - dead_);
  for (Slot& s : slots_) {
    const std::uint32_t off = std::uint32_t(next.size());
    next.append(buffer_, s.off, s.len);
    s.off = s.len ? off : 0;
  }
  buffer_.swap(next);
  dead_ = 0;
}

// ---------------------------------------------------------------- TKGridColumn

TKGridColumn::TKGridColumn(TKGridColumns& collection) : collection_(&collection) {
  TKGridModel* g = Grid();
  if (g) {
    width_ = g->DefaultColWidth();
    copyParentFont(font_, g->Font());
    copyParentFont(headerFont_, g->HeaderFont());
    cells_.reserve(g->RowCount());
    for (int i = 0; i < g->RowCount(); ++i) cells_.insert(i);
  }
  font_.OnChange = [this] {
    if (!copyingParent_) parentFont_ = false;
    invalidateGrid();
  };
  headerFont_.OnChange = [this] {
    if (!copyingParent_) parentHeaderFont_ = false;
    invalidateGrid();
  };
}

TKGridColumn::~TKGridColumn() = default;

TKGridModel* TKGridColumn::Grid() const { return collection_ ? collection_->Grid() : nullptr; }

void TKGridColumn::checkRow(int row) const {
  if (row < 0 || row >= cells_.size()) throwWrongRowIndex();
}

void TKGridColumn::invalidateCell(int row) const {
  TKGridModel* g = Grid();
  if (g && visible_ && displayIndex_ >= 0) g->InvalidateCell(displayIndex_, row + 1);
}

void TKGridColumn::invalidateGrid() const {
  if (TKGridModel* g = Grid()) g->InvalidateGrid();
}

void TKGridColumn::copyParentFont(TKGridFont& target, const TKGridFont& source) {
  // The copy must not read as a change made by the user, which would clear the Parent flag.
  copyingParent_ = true;
  target.Assign(source);
  copyingParent_ = false;
}

std::string TKGridColumn::Cells(int row) const {
  checkRow(row);
  return KStrings::CommaTextToLines(cells_.text(row));
}

std::string_view TKGridColumn::StoredText(int row) const {
  checkRow(row);
  return cells_.text(row);
}

void TKGridColumn::SetCells(int row, std::string_view value) {
  checkRow(row);
  switch (CellType(row)) {
    case ctText:
      if (KStrings::IsPlainText(value)) {
        cells_.setText(row, value);
      } else {
        const bool multi = hasLineBreak(value);
        cells_.setText(row, KStrings::LinesToCommaText(value));
        if (multi) SetCellFlags(row, CellFlags(row) | cfMultiLine);
      }
      break;
    case ctInteger:
      cells_.setText(row, std::to_string(KUtils::SafeStrToInt(value)));
      break;
    default:
      return;
  }
  invalidateCell(row);
}

TKCellFlags TKGridColumn::CellFlags(int row) const {
  checkRow(row);
  return cellWordFlags(cells_.word(row));
}

int TKGridColumn::CellType(int row) const {
  checkRow(row);
  return cellWordType(cells_.word(row));
}

void TKGridColumn::SetCellFlags(int row, TKCellFlags flags) {
  checkRow(row);
  flags &= kCellFlagMask;
  if (flags == CellFlags(row)) return;
  if (hasLineBreak(KStrings::CommaTextToLines(cells_.text(row)))) flags |= cfMultiLine;
  const int type = CellType(row);
  if (type == ctInteger) flags &= ~TKCellFlags(cfMultiLine | cfButton);
  cells_.setWord(row, packCellWord(flags, type));
  invalidateCell(row);
}

void TKGridColumn::SetCellType(int row, int type) {
  checkRow(row);
  cells_.setWord(row, packCellWord(CellFlags(row), type));
  invalidateCell(row);
}

void TKGridColumn::SetCaption(const std::string& v) {
  caption_ = v;
  invalidateGrid();
}

std::string TKGridColumn::DisplayName() const {
  return caption_.empty() ? "TKGridColumn" : caption_;
}

void TKGridColumn::SetWidth(int v) {
  width_ = v;
  if (TKGridModel* g = Grid(); g && visible_) g->UpdateColumns();
}

void TKGridColumn::SetColor(TColor v) {
  color_ = v;
  invalidateGrid();
}

void TKGridColumn::SetHeaderColor(TColor v) {
  headerColor_ = v;
  invalidateGrid();
}

void TKGridColumn::SetAlignment(TAlignment v) {
  alignment_ = v;
  invalidateGrid();
}

void TKGridColumn::SetName(const std::string& v) {
  if (v == name_) return;
  if (collection_ && collection_->FindByName(v)) throwColumnNameExists(v);
  name_ = v;
}

void TKGridColumn::SetVisible(bool v) {
  if (v == visible_) return;
  visible_ = v;
  TKGridModel* g = Grid();
  if (!g) return;
  g->RebuildVisibleColumns();
  g->activeColumn_ = nullptr;
  g->SelectCell(g->col_, g->row_);
}

void TKGridColumn::SetSortOrder(TColumnSorting v) {
  if (v == sortOrder_) return;
  sortOrder_ = v;
  TKGridModel* g = Grid();
  if (!g) return;
  if (g->AutoSort() && v != csNone)
    g->SortWithBusyCursor();
  else
    g->InvalidateGrid();
}

void TKGridColumn::SetParentFont(bool v) {
  if (v) {
    if (TKGridModel* g = Grid()) copyParentFont(font_, g->Font());
  }
  parentFont_ = v;
}

void TKGridColumn::SetParentHeaderFont(bool v) {
  if (v) {
    if (TKGridModel* g = Grid()) copyParentFont(headerFont_, g->HeaderFont());
  }
  parentHeaderFont_ = v;
}

int TKGridColumn::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void TKGridColumn::SetIndex(int v) {
  if (!collection_ || v < 0 || v >= collection_->Count()) throwWrongColIndex();
  auto& items = collection_->items_;
  const int from = Index();
  if (from != v) {
    auto moved = std::move(items[std::size_t(from)]);
    items.erase(items.begin() + from);
    items.insert(items.begin() + v, std::move(moved));
  }
  TKGridModel* g = Grid();
  if (!g || !visible_) return;  // a hidden column only moves in the collection
  TKGridColumnList& list = g->visible_;
  const int pos = list.IndexOf(this);
  if (pos < 0) return;
  list.MoveColumn(pos, std::min(v, list.Count() - 1));
  g->UpdateColumns();
}

void TKGridColumn::Assign(const TKGridColumn& o) {
  SetCaption(o.caption_);
  width_ = o.width_;
  SetFont(o.font_);
  SetHeaderFont(o.headerFont_);
  color_ = o.color_;
  headerColor_ = o.headerColor_;
  SetName(o.name_);
  readOnly_ = o.readOnly_;
  imeName_ = o.imeName_;
  imeMode_ = o.imeMode_;
  alignment_ = o.alignment_;
  SetParentFont(o.parentFont_);
  SetParentHeaderFont(o.parentHeaderFont_);
  SetVisible(o.visible_);
  SetSortOrder(o.sortOrder_);
}

// ---------------------------------------------------------------- TKGridColumns

TKGridColumns::~TKGridColumns() {
  grid_ = nullptr;  // the columns go without calling back into a grid that is being destroyed
  items_.clear();
}

TKGridColumn& TKGridColumns::Items(int index) const {
  if (index < 0 || index >= Count()) throwWrongColIndex();
  return *items_[std::size_t(index)];
}

TKGridColumn& TKGridColumns::Add() {
  items_.push_back(std::make_unique<TKGridColumn>(*this));
  TKGridColumn& c = *items_.back();
  if (grid_) grid_->columnAdded(c);
  return c;
}

void TKGridColumns::Delete(int index) {
  if (index < 0 || index >= Count()) throwWrongColIndex();
  // The column leaves the grid's lists before its cells and fonts are freed.
  std::unique_ptr<TKGridColumn> gone = std::move(items_[std::size_t(index)]);
  items_.erase(items_.begin() + index);
  if (grid_) grid_->columnRemoved(*gone);
}

void TKGridColumns::Clear() {
  while (Count() > 0) Delete(Count() - 1);
}

void TKGridColumns::InsertRow(int row) {
  for (auto& c : items_) c->cells_.insert(row);
}

void TKGridColumns::DeleteRow(int row) { DeleteRows(row, row); }

void TKGridColumns::DeleteRows(int first, int last) {
  for (auto& c : items_) c->cells_.erase(first, last);
}

void TKGridColumns::ClearData() {
  for (auto& c : items_) c->cells_.clear();
}

TKGridColumn* TKGridColumns::FindByName(std::string_view name) const {
  for (auto& c : items_)
    if (c->name_ == name) return c.get();
  return nullptr;
}

int TKGridColumns::IndexOf(const TKGridColumn* c) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == c) return int(i);
  return -1;
}

void TKGridColumns::Assign(const TKGridColumns& o) {
  if (&o == this) return;
  Clear();
  for (const auto& src : o.items_) Add().Assign(*src);
}

// ---------------------------------------------------------------- TKGridColumnList

int TKGridColumnList::AddSorted(TKGridColumn* c) {
  if (c->displayIndex_ == -1) c->displayIndex_ = Count();
  std::size_t pos = 0;
  while (pos < items_.size() && items_[pos]->displayIndex_ <= c->displayIndex_) ++pos;
  items_.insert(items_.begin() + std::ptrdiff_t(pos), c);
  return int(pos);
}

void TKGridColumnList::MoveColumn(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count()) throwWrongColIndex();
  TKGridColumn* c = items_[std::size_t(from)];
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, c);
  Renumber();
}

int TKGridColumnList::IndexOf(const TKGridColumn* c) const {
  auto it = std::find(items_.begin(), items_.end(), c);
  return it == items_.end() ? -1 : int(it - items_.begin());
}

void TKGridColumnList::Remove(const TKGridColumn* c) {
  auto it = std::find(items_.begin(), items_.end(), c);
  if (it != items_.end()) items_.erase(it);
}

void TKGridColumnList::Renumber() {
  for (std::size_t i = 0; i < items_.size(); ++i) items_[i]->displayIndex_ = int(i);
}

}  // namespace kgrid
