#pragma once
// A grid column owns its cells: one stored text and one 32-bit cell word per data row. The
// grid holds every column in a collection (TKGridColumns, collection order) and the visible ones
// in display order (TKGridColumnList); column indexes of the grid's interface are display
// positions.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "grid/kgraphics.h"

namespace kgrid {

class TKGridModel;

enum TColumnSorting { csNone, csAsc, csDsc };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TImeMode { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata,
                imChinese, imSHanguel, imHanguel };

// The flag set of a cell, bits 0-2 of its cell word.
enum TKCellFlag : std::uint32_t { cfMultiLine = 1, cfButton = 2, cfReadOnly = 4 };
using TKCellFlags = std::uint32_t;
inline constexpr TKCellFlags kCellFlagMask = 7;

// The cell word: flags in bits 0-2, the 7-bit cell type (0 text, 1 integer) in bits 16-22.
constexpr std::uint32_t packCellWord(TKCellFlags flags, int type) {
  return (flags & kCellFlagMask) | ((std::uint32_t(type) & 0x7F) << 16);
}
constexpr TKCellFlags cellWordFlags(std::uint32_t word) { return word & kCellFlagMask; }
constexpr int cellWordType(std::uint32_t word) { return int((word >> 16) & 0x7F); }
inline constexpr int ctText = 0, ctInteger = 1;

// The cells of one column, 12 bytes a cell: the stored texts lie packed in one buffer and each
// cell keeps its offset, length and cell word, so that a register of 100,000 rows and 48 columns
// needs no allocation per cell and a row exchange moves 12 bytes. A rewritten text is appended
// and the buffer is compacted once half of it is dead.
class TKCellStore {
 public:
  int size() const { return int(slots_.size()); }
  std::string_view text(int i) const {
    const Slot& s = slots_[std::size_t(i)];
    return std::string_view(buffer_.data() + s.off, s.len);
  }
  std::uint32_t word(int i) const { return slots_[std::size_t(i)].word; }
  void setWord(int i, std::uint32_t w) { slots_[std::size_t(i)].word = w; }
  void setText(int i, std::string_view t);
  void insert(int i);  // an empty text with cell word 0
  void erase(int first, int last);
  void clear();
  void swap(int a, int b) { std::swap(slots_[std::size_t(a)], slots_[std::size_t(b)]); }
  // New cell i is old cell order[i].
  void permute(const std::vector<int>& order);
  void move(int from, int to);
  // Room for this many cells, growing geometrically so that rows appended one at a time stay
  // linear.
  void reserve(int rows) {
    if (slots_.capacity() < std::size_t(rows)) slots_.reserve(std::max(std::size_t(rows), slots_.capacity() * 2));
  }
  std::size_t bytesUsed() const {
    return slots_.capacity() * sizeof(Slot) + buffer_.capacity();
  }
  // A cell at the end with its stored text and cell word as they are.
  void append(std::string_view stored, std::uint32_t word);
  // A cell at the end whose stored text is the comma text of these lines.
  void appendCommaText(std::string_view lines, std::uint32_t word);
  void reserveText(std::size_t bytes) { buffer_.reserve(bytes); }
  std::size_t textBytes() const { return buffer_.size(); }
  void appendEmpty(int count) { slots_.resize(slots_.size() + std::size_t(count)); }
  // The other store's cells after these; its buffer is taken whole when this store is empty.
  void append(TKCellStore&& other);

 private:
  struct Slot {
    std::uint32_t off = 0, len = 0, word = 0;
  };
  void compact();
  std::vector<Slot> slots_;
  std::string buffer_;
  std::size_t dead_ = 0;
};

// The cells of one column for rows appended in bulk (TKGridModel::AppendRows), made apart from
// the grid and on any thread: each text is stored as SetCells stores it in a new text cell.
class TKCellBlock {
 public:
  void reserve(int cells) { store_.reserve(cells); }
  // Room for this many bytes of stored text.
  void reserveText(std::size_t bytes) { store_.reserveText(bytes); }
  std::size_t textBytes() const { return store_.textBytes(); }
  void append(std::string_view text);
  int size() const { return store_.size(); }
  // New cell i is old cell order[i].
  void permute(const std::vector<int>& order) { store_.permute(order); }
  // The first `cells` cells kept, the others dropped.
  void truncate(int cells) {
    if (cells < store_.size()) store_.erase(cells, store_.size() - 1);
  }
  const TKCellStore& Store() const { return store_; }

 private:
  friend class TKGridModel;
  TKCellStore store_;
};

class TKGridColumns;

class TKGridColumn {
 public:
  explicit TKGridColumn(TKGridColumns& collection);
  ~TKGridColumn();
  TKGridColumn(const TKGridColumn&) = delete;
  TKGridColumn& operator=(const TKGridColumn&) = delete;

  TKGridColumns& Collection() const { return *collection_; }
  TKGridModel* Grid() const;

  // Cells of data rows counted from 0. Reads decode the comma text; a row outside the column
  // raises EKGridError "Wrong row index".
  std::string Cells(int row) const;
  void SetCells(int row, std::string_view value);
  // The stored comma text, as a multi-line cell is drawn.
  std::string_view StoredText(int row) const;
  TKCellFlags CellFlags(int row) const;
  void SetCellFlags(int row, TKCellFlags flags);
  int CellType(int row) const;
  // Makes a cell an integer cell (1) or a text cell (0); the type is masked to 7 bits.
  void SetCellType(int row, int type);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  // What a column list shows for the column: the caption, or a default name.
  std::string DisplayName() const;
  int Width() const { return width_; }
  void SetWidth(int v);
  TKGridFont& Font() { return font_; }
  const TKGridFont& Font() const { return font_; }
  void SetFont(const TKGridFont& f) { font_.Assign(f); }
  TKGridFont& HeaderFont() { return headerFont_; }
  const TKGridFont& HeaderFont() const { return headerFont_; }
  void SetHeaderFont(const TKGridFont& f) { headerFont_.Assign(f); }
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TColor HeaderColor() const { return headerColor_; }
  void SetHeaderColor(TColor v);
  int DisplayIndex() const { return displayIndex_; }
  const std::string& Name() const { return name_; }
  // Raises EKGridColumnsError when another column has the name; the old name then stays.
  void SetName(const std::string& v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  TColumnSorting SortOrder() const { return sortOrder_; }
  void SetSortOrder(TColumnSorting v);
  const std::string& ImeName() const { return imeName_; }
  void SetImeName(const std::string& v) { imeName_ = v; }
  TImeMode ImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode v) { imeMode_ = v; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  bool ParentHeaderFont() const { return parentHeaderFont_; }
  void SetParentHeaderFont(bool v);
  // The position in the collection; moves the column there and in the display order.
  int Index() const;
  void SetIndex(int v);
  // Copies the properties (not the cells) of another column.
  void Assign(const TKGridColumn& o);

  const TKCellStore& Store() const { return cells_; }

 private:
  friend class TKGridColumns;
  friend class TKGridColumnList;
  friend class TKGridModel;
  void checkRow(int row) const;
  void invalidateCell(int row) const;
  void invalidateGrid() const;
  void copyParentFont(TKGridFont& target, const TKGridFont& source);

  TKGridColumns* collection_;
  std::string caption_;
  int width_ = 64;
  TKGridFont font_;
  TColor color_ = clNone;
  TColor headerColor_ = clNone;
  TKGridFont headerFont_;
  int displayIndex_ = -1;
  std::string name_;
  bool readOnly_ = false;
  TKCellStore cells_;
  bool visible_ = true;
  TColumnSorting sortOrder_ = csNone;
  std::string imeName_;
  TImeMode imeMode_ = imDisable;
  TAlignment alignment_ = taLeftJustify;
  bool parentFont_ = true;
  bool parentHeaderFont_ = true;
  bool copyingParent_ = false;
};

class TKGridColumns {
 public:
  explicit TKGridColumns(TKGridModel* grid) : grid_(grid) {}
  ~TKGridColumns();
  TKGridColumns(const TKGridColumns&) = delete;
  TKGridColumns& operator=(const TKGridColumns&) = delete;

  TKGridModel* Grid() const { return grid_; }
  int Count() const { return int(items_.size()); }
  // Raises EKGridError "Wrong column index" outside 0 .. Count - 1.
  TKGridColumn& Items(int index) const;
  TKGridColumn& Add();
  // Removes and destroys the column at a collection index.
  void Delete(int index);
  void Clear();
  void InsertRow(int row);
  void DeleteRow(int row);
  void DeleteRows(int first, int last);
  void ClearData();
  // The first column with exactly this name (byte comparison), nullptr when there is none.
  TKGridColumn* FindByName(std::string_view name) const;
  int IndexOf(const TKGridColumn* c) const;
  // Takes the other collection's columns (their properties, not their cells).
  void Assign(const TKGridColumns& o);

 private:
  friend class TKGridColumn;
  friend class TKGridModel;
  TKGridModel* grid_;
  std::vector<std::unique_ptr<TKGridColumn>> items_;
};

// The visible columns in display order. Invariant: every column's display index is its position.
class TKGridColumnList {
 public:
  int Count() const { return int(items_.size()); }
  TKGridColumn* Items(int position) const { return items_[std::size_t(position)]; }
  // Places a column by its display index (-1: at the end), after columns of equal index.
  int AddSorted(TKGridColumn* c);
  // Moves an entry and renumbers every display index.
  void MoveColumn(int from, int to);
  int IndexOf(const TKGridColumn* c) const;
  void Remove(const TKGridColumn* c);
  // Appends without touching display indexes (the list of sorted columns).
  void Append(TKGridColumn* c) { items_.push_back(c); }
  void Clear() { items_.clear(); }
  void Renumber();
  const std::vector<TKGridColumn*>& items() const { return items_; }

 private:
  std::vector<TKGridColumn*> items_;
};

}  // namespace kgrid
