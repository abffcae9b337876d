// The grid without its widget: rows, indexes, selection, sorting, header clicks and colours.
#include <gtest/gtest.h>

#include <random>

#include "grid/kerrors.h"
#include "gridfixture.h"
#include "grid/kgridmodel.h"
#include "platform/cp1250.h"

using namespace kgrid;

namespace {

// A grid with named columns, rows filled "<column><row>", and a screen of 800 x 400.
class GridTest : public ::testing::Test {
 protected:
  void build(int columns, int rows, int width = 64) {
    gridtest::build(grid, columns, rows, width);
    grid.SetClientSize(800, 400);
  }
  std::vector<std::string> column(int c) {
    std::vector<std::string> out;
    for (int r = 0; r < grid.RowCount(); ++r) out.push_back(grid.Cells(c, r));
    return out;
  }
  void fillColumn(int c, const std::vector<std::string>& texts) {
    for (std::size_t r = 0; r < texts.size(); ++r) grid.SetCells(c, int(r), texts[r]);
  }
  // A left click at a point: press and release without moving.
  void click(int x, int y) {
    grid.MouseDown(mbLeft, ssLeft, x, y);
    grid.MouseUp(mbLeft, 0, x, y);
  }
  int headerX(int col, int dx = 10) { return grid.CellRect(col, 0).Left + dx; }
  TKGridModel grid;
};

// ---------------------------------------------------------------- empty state and rows

TEST_F(GridTest, NewGridIsEmptyWithHeaderAndOneBlankRow) {
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.DataRow(), -1);
  EXPECT_EQ(grid.DataCol(), -1);
  build(2, 0);
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.DataRow(), -1);
  EXPECT_EQ(grid.DataCol(), 0);
  EXPECT_EQ(grid.BaseRowCount(), 2);
  EXPECT_EQ(grid.DataSelection(), (TGridRect{0, -1, 0, -1}));
  EXPECT_EQ(grid.CellFlags(0, 0), 0u);  // read as empty while there are no rows
  EXPECT_THROW(grid.Cells(0, 0), EKGridError);
  EXPECT_EQ(grid.CellLook(0, 1).text, "");

  grid.AddRow();
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.DataRow(), 0);
  grid.DeleteRow(0);
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.DataRow(), -1);
  EXPECT_TRUE(grid.IsEmpty());
}

TEST_F(GridTest, RowCountOnAnEmptyGridMakesTheCurrentColumnActive) {
  build(3, 0);
  std::vector<TKGridColumn*> seen;
  grid.OnActiveColChanged = [&](TKGridColumn*, TKGridColumn* c) { seen.push_back(c); };
  grid.SetRowCount(3);
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.ActiveColumn(), &grid.VisibleColumn(0));
  EXPECT_EQ(seen, std::vector<TKGridColumn*>{&grid.VisibleColumn(0)});
  grid.SetRowCount(1);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_THROW(grid.SetRowCount(-1), EKGridError);
  EXPECT_EQ(grid.RowCount(), 1);
}

TEST_F(GridTest, ClearKeepsColumnsAndTheirSettings) {
  build(3, 4);
  grid.Columns().Items(1).SetWidth(120);
  grid.SetAutoSort(false);
  grid.Columns().Items(2).SetSortOrder(csDsc);
  grid.Clear();
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.DataRow(), -1);
  ASSERT_EQ(grid.Columns().Count(), 3);
  EXPECT_EQ(grid.Columns().Items(1).Caption(), "B");
  EXPECT_EQ(grid.Columns().Items(1).Width(), 120);
  EXPECT_EQ(grid.Columns().Items(2).SortOrder(), csDsc);
  EXPECT_EQ(grid.Columns().Items(0).Store().size(), 0);
}

// Column test first, then the row test; nothing changes on a refused write.
struct IndexCase {
  int col, row;
  const char* error;  // nullptr: valid
};
void PrintTo(const IndexCase& c, std::ostream* os) { *os << c.col << "," << c.row; }

class GridIndexTest : public GridTest, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(GridIndexTest, CellsChecksColumnThenRow) {
  build(3, 2);
  const IndexCase& c = GetParam();
  if (!c.error) {
    EXPECT_EQ(grid.Cells(c.col, c.row), std::string(1, char('a' + c.col)) + std::to_string(c.row));
    return;
  }
  auto expectError = [&](const std::function<void()>& f) {
    try {
      f();
      ADD_FAILURE() << "no error";
    } catch (const EKGridError& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
  };
  expectError([&] { grid.Cells(c.col, c.row); });
  expectError([&] { grid.SetCells(c.col, c.row, "x"); });
  expectError([&] { grid.SetCellFlags(c.col, c.row, cfButton); });
  expectError([&] { grid.CellType(c.col, c.row); });
  for (int col = 0; col < 3; ++col) EXPECT_NE(column(col), std::vector<std::string>(2, "x"));
}

INSTANTIATE_TEST_SUITE_P(Indexes, GridIndexTest,
                         ::testing::Values(IndexCase{0, 0, nullptr}, IndexCase{2, 1, nullptr},
                                           IndexCase{3, 0, "Wrong column index"},
                                           IndexCase{-1, 0, "Wrong column index"},
                                           IndexCase{3, 2, "Wrong column index"},
                                           IndexCase{-1, -1, "Wrong column index"},
                                           IndexCase{0, 2, "Wrong row index"},
                                           IndexCase{1, -1, "Wrong row index"}));

TEST_F(GridTest, ColumnIndexesCountVisibleColumns) {
  build(4, 2);
  grid.Columns().Items(1).SetVisible(false);  // A C D
  grid.Columns().Items(3).SetWidth(0);        // D stays addressable with no room on screen
  EXPECT_EQ(grid.Cells(1, 1), "c1");
  EXPECT_EQ(grid.Cells(2, 1), "d1");
  EXPECT_THROW(grid.Cells(3, 0), EKGridError);
  EXPECT_EQ(grid.CellRect(2, 1), TRect{});
}

TEST_F(GridTest, RowRangeWritesAreRefusedWithoutChange) {
  build(2, 3);
  EXPECT_THROW(grid.InsertRow(4), EKGridError);
  EXPECT_THROW(grid.InsertRow(-1), EKGridError);
  EXPECT_THROW(grid.DeleteRows(1, 3), EKGridError);
  EXPECT_THROW(grid.DeleteRows(-1, 0), EKGridError);
  EXPECT_THROW(grid.DeleteRow(3), EKGridError);
  grid.DeleteRows(2, 1);  // first after last: nothing
  EXPECT_EQ(column(0), (std::vector<std::string>{"a0", "a1", "a2"}));
  grid.InsertRow(3);  // at the end
  grid.InsertRow(0);
  EXPECT_EQ(column(1), (std::vector<std::string>{"", "b0", "b1", "b2", ""}));
  grid.DeleteRows(1, 3);
  EXPECT_EQ(column(0), (std::vector<std::string>{"", ""}));
}

// A random run of inserts, deletes, exchanges, moves and added columns never lets the columns
// fall out of step: each row's cells stay together.
TEST_F(GridTest, RowsStayWholeUnderRandomChanges) {
  build(3, 0);
  grid.Columns().Items(1).SetVisible(false);
  std::vector<std::vector<std::string>> model;  // expected rows, one text per collection column
  std::mt19937 rng(7);
  int next = 0;
  auto collectionText = [&](int c, int r) { return grid.Columns().Items(c).Cells(r); };
  for (int step = 0; step < 2000; ++step) {
    const int n = grid.RowCount();
    const int cols = grid.Columns().Count();
    switch (rng() % 6) {
      case 0:
      case 1: {
        const int at = int(rng() % unsigned(n + 1));
        grid.InsertRow(at);
        std::vector<std::string> row;
        for (int c = 0; c < cols; ++c) {
          row.push_back("r" + std::to_string(next) + "c" + std::to_string(c));
          grid.Columns().Items(c).SetCells(at, row.back());
        }
        ++next;
        model.insert(model.begin() + at, row);
        break;
      }
      case 2:
        if (n > 0) {
          const int first = int(rng() % unsigned(n));
          const int last = std::min(n - 1, first + int(rng() % 3));
          grid.DeleteRows(first, last);
          model.erase(model.begin() + first, model.begin() + last + 1);
        }
        break;
      case 3:
        if (n > 1) {
          const int a = int(rng() % unsigned(n)), b = int(rng() % unsigned(n));
          grid.ExchangeRows(a, b);
          std::swap(model[std::size_t(a)], model[std::size_t(b)]);
        }
        break;
      case 4:
        if (n > 1) {
          const int a = int(rng() % unsigned(n)), b = int(rng() % unsigned(n));
          grid.MoveRow(a, b);
          auto row = model[std::size_t(a)];
          model.erase(model.begin() + a);
          model.insert(model.begin() + b, row);
        }
        break;
      case 5:
        if (cols < 8 && rng() % 10 == 0) {
          TKGridColumn& c = grid.Columns().Add();
          c.SetVisible(rng() % 2);
          for (auto& row : model) row.push_back("");
        }
        break;
    }
    ASSERT_EQ(grid.RowCount(), int(model.size()));
    for (int c = 0; c < grid.Columns().Count(); ++c)
      ASSERT_EQ(grid.Columns().Items(c).Store().size(), grid.RowCount()) << "column " << c;
  }
  for (int r = 0; r < grid.RowCount(); ++r)
    for (int c = 0; c < grid.Columns().Count(); ++c) ASSERT_EQ(collectionText(c, r), model[std::size_t(r)][std::size_t(c)]);
}

// Rows appended in bulk are the rows AddRow and SetCells make, cell for cell (stored text, flags,
// the text read back), over texts that are stored as they are and texts that become comma text,
// on an empty grid and after rows already there, with a column not shown; and the whole append
// asks for one layout change and no repaint of single cells.
TEST(BulkRows, AppendedRowsAreTheRowsSetCellsMakes) {
  struct Counting : TKGridModel {
    int layouts = 0, cells = 0;
    void LayoutChanged() override { ++layouts; }
    void InvalidateCell(int, int) override { ++cells; }
  };
  const std::vector<std::string> texts = {"", "plain", "two words", "a,b", "say \"x\"", "line\r\nnext",
                                          "lf\nonly", "\t", std::string(300, 'x'), "x\"", ",", "end "};
  for (int before : {0, 3}) {
    Counting bulk, single;
    for (TKGridModel* g : {static_cast<TKGridModel*>(&bulk), static_cast<TKGridModel*>(&single)}) {
      gridtest::build(*g, 3, before);
      g->Columns().Items(1).SetVisible(false);  // shown: A C
    }
    std::vector<TKCellBlock> blocks(2);
    for (std::size_t i = 0; i < texts.size(); ++i) {
      blocks[0].append(texts[i]);
      blocks[1].append(texts[texts.size() - 1 - i]);
    }
    bulk.layouts = bulk.cells = 0;
    bulk.AppendRows(int(texts.size()), blocks);
    EXPECT_EQ(bulk.layouts, 1) << before;
    EXPECT_EQ(bulk.cells, 0) << before;
    EXPECT_EQ(blocks[0].size(), 0) << "the block's cells went to the grid";
    for (std::size_t i = 0; i < texts.size(); ++i) {
      single.AddRow();
      single.SetCells(0, single.RowCount() - 1, texts[i]);
      single.SetCells(1, single.RowCount() - 1, texts[texts.size() - 1 - i]);
    }
    ASSERT_EQ(bulk.RowCount(), single.RowCount()) << before;
    EXPECT_EQ(bulk.DataRow(), single.DataRow());
    EXPECT_EQ(bulk.DataCol(), single.DataCol());
    for (int c = 0; c < 3; ++c) {
      const TKGridColumn& b = bulk.Columns().Items(c);
      const TKGridColumn& s = single.Columns().Items(c);
      ASSERT_EQ(b.Store().size(), s.Store().size()) << "column " << c;
      for (int r = 0; r < bulk.RowCount(); ++r) {
        EXPECT_EQ(b.StoredText(r), s.StoredText(r)) << "column " << c << " row " << r;
        EXPECT_EQ(b.CellFlags(r), s.CellFlags(r)) << "column " << c << " row " << r;
        EXPECT_EQ(b.Cells(r), s.Cells(r)) << "column " << c << " row " << r;
      }
    }
    // The appended cells take later writes as any other cell does.
    bulk.SetCells(0, before, "changed");
    EXPECT_EQ(bulk.Cells(0, before), "changed");
    EXPECT_EQ(bulk.Cells(0, before + 1), texts[1]);
  }
}

TEST(BulkRows, BlocksThatDoNotFitTheColumnsAreRefusedWithoutChange) {
  TKGridModel g;
  gridtest::build(g, 2, 1);
  std::vector<TKCellBlock> one(1), uneven(2);
  one[0].append("x");
  uneven[0].append("x");
  EXPECT_THROW(g.AppendRows(1, one), EKGridError);
  EXPECT_THROW(g.AppendRows(1, uneven), EKGridError);
  EXPECT_THROW(g.AppendRows(2, one), EKGridError);
  EXPECT_EQ(g.RowCount(), 1);
  EXPECT_EQ(g.Columns().Items(0).Store().size(), 1);
  std::vector<TKCellBlock> none(2);
  g.AppendRows(0, none);
  EXPECT_EQ(g.RowCount(), 1) << "no rows, nothing appended";
  // A list that shows no column still gets its rows.
  TKGridModel bare;
  std::vector<TKCellBlock> noBlocks;
  bare.AppendRows(3, noBlocks);
  EXPECT_EQ(bare.RowCount(), 3);
}

TEST_F(GridTest, DataSelectionInDataRows) {
  build(3, 6);
  grid.SetDataRow(2);
  grid.MoveCurrent(2, 5, false);  // drag down to data row 4
  EXPECT_EQ(grid.DataSelection(), (TGridRect{0, 2, 2, 4}));
  grid.SetOptions(grid.Options() | goRowSelect);
  EXPECT_EQ(grid.DataSelection(), (TGridRect{0, 2, 2, 4}));
  grid.SetOptions(kDefaultGridOptions);  // without range selection the anchor follows
  grid.SetOptions(grid.Options() & ~TGridOptions(goRangeSelect));
  EXPECT_EQ(grid.DataSelection(), (TGridRect{2, 4, 2, 4}));
}

// Rows deleted under a selection: the rows that slide up into its place were never chosen, so
// the selection shrinks to the current cell, wherever the delete leaves it.
TEST_F(GridTest, ADeleteLeavesNoRowSelectedThatWasNot) {
  const struct {
    const char* name;
    int first, last;  // deleted data rows
    int current;      // data row current afterwards
  } cases[] = {
      {"the whole selection", 1, 3, 2},
      {"above it", 0, 0, 3},
      {"below it, to the end", 4, 5, 3},
      {"everything", 0, 5, -1},
  };
  for (const auto& c : cases) {
    TKGridModel g;
    gridtest::build(g, 3, 6);
    g.SetDataRow(1);
    g.MoveCurrent(1, 4, false);  // data rows 1 to 3, current on 3
    ASSERT_EQ(g.DataSelection(), (TGridRect{0, 1, 1, 3})) << c.name;
    g.DeleteRows(c.first, c.last);
    EXPECT_EQ(g.DataRow(), c.current) << c.name;
    EXPECT_EQ(g.DataSelection().Top, g.DataSelection().Bottom) << c.name;
    EXPECT_EQ(g.DataSelection().Top, c.current) << c.name;
    for (int r = 0; r < g.RowCount(); ++r)
      for (int col = 0; col < g.ColCount(); ++col)
        EXPECT_EQ(bool(g.DrawState(col, r + 1) & gdSelected), r == g.DataRow() && col == g.DataCol())
            << c.name << " cell " << col << "," << r;
  }
}

// OnCurrentMoved comes once the current cell has moved, by a click, a key or a write of the row
// or column, and after rows are deleted under it; OnActiveColChanged comes before the move.
TEST_F(GridTest, TheCurrentCellIsReportedAfterItMoved) {
  build(3, 6);
  std::vector<std::pair<int, int>> moved;
  std::vector<int> activeAtRow;
  grid.OnCurrentMoved = [&] { moved.emplace_back(grid.DataCol(), grid.DataRow()); };
  grid.OnActiveColChanged = [&](TKGridColumn*, TKGridColumn*) { activeAtRow.push_back(grid.DataRow()); };
  click(grid.CellRect(2, 4).Left + 5, grid.CellRect(2, 4).Top + 5);
  grid.SetDataRow(0);
  grid.SetDataRow(0);  // no move, no report
  grid.MoveCurrent(1, 2, true);
  grid.DeleteRow(1);
  EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{2, 3}, {2, 0}, {1, 1}, {1, 1}}));
  EXPECT_EQ(activeAtRow, (std::vector<int>{0, 0})) << "still on the row left";
}

TEST_F(GridTest, FixedColumnsAreClampedToTheVisibleColumns) {
  build(3, 2);
  grid.SetFixedCols(5);
  EXPECT_EQ(grid.FixedCols(), 2);
  EXPECT_EQ(grid.DataCol(), 2) << "the current cell leaves the fixed columns";
  grid.Columns().Items(2).SetVisible(false);
  EXPECT_EQ(grid.FixedCols(), 1);
  EXPECT_EQ(grid.DataCol(), 1);
  grid.SetFixedCols(0);
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_THROW(grid.SetFixedCols(-1), EKGridError);
}

// ---------------------------------------------------------------- sorting

std::vector<std::string> bytes(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* s : utf8) out.push_back(cp1250::fromUtf8(s));
  return out;
}

struct SortCase {
  const char* name;
  std::vector<std::string> texts;
  TColumnSorting order;
  std::vector<std::string> sorted;
};
void PrintTo(const SortCase& c, std::ostream* os) { *os << c.name; }

class OrdinalSort : public GridTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(OrdinalSort, SortsByWindows1250Bytes) {
  const SortCase& c = GetParam();
  build(1, int(c.texts.size()));
  fillColumn(0, c.texts);
  grid.Columns().Items(0).SetSortOrder(c.order);  // AutoSort is on: sorts at once
  EXPECT_EQ(column(0), c.sorted);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OrdinalSort,
    ::testing::Values(
        SortCase{"NumbersAsText", {"9", "10", ""}, csAsc, {"", "10", "9"}},
        SortCase{"NumbersAsTextDescending", {"9", "10", ""}, csDsc, {"9", "10", ""}},
        // Z (0x5A) < a (0x61) < ś (0x9C) < Ł (0xA3): bytes, not the alphabet or a locale
        SortCase{"PolishAscending",
                 bytes({"adam", "Zenon", "Łukasz", "śliwa", "Ab", "Abc"}),
                 csAsc,
                 bytes({"Ab", "Abc", "Zenon", "adam", "śliwa", "Łukasz"})},
        SortCase{"PolishDescending",
                 bytes({"adam", "Zenon", "Łukasz", "śliwa", "Ab", "Abc"}),
                 csDsc,
                 bytes({"Łukasz", "śliwa", "adam", "Zenon", "Abc", "Ab"})},
        SortCase{"QuotedTextsCompareDecoded",
                 {"Nowak", "\"Kowalski, Jan\"", "Kowalski, Adam", "a b"},
                 csAsc,
                 {"\"Kowalski, Jan\"", "Kowalski, Adam", "Nowak", "a b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTest, SecondSortedColumnBreaksTiesInDisplayOrder) {
  build(3, 4);
  grid.SetAutoSort(false);
  fillColumn(0, {"b", "a", "b", "a"});
  fillColumn(2, {"1", "2", "0", "1"});
  grid.Columns().Items(2).SetSortOrder(csDsc);
  grid.Columns().Items(0).SetSortOrder(csAsc);
  grid.SortRows();
  EXPECT_EQ(column(0), (std::vector<std::string>{"a", "a", "b", "b"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"2", "1", "1", "0"}));
  EXPECT_EQ(column(1), (std::vector<std::string>{"b1", "b3", "b0", "b2"}));
  // C moved in front of A: now it decides first
  grid.MoveColumn(2, 0);
  grid.VisibleColumn(0).SetSortOrder(csAsc);
  grid.SortRows();
  EXPECT_EQ(column(0), (std::vector<std::string>{"0", "1", "1", "2"}));
  EXPECT_EQ(column(1), (std::vector<std::string>{"b", "a", "b", "a"}));
  EXPECT_EQ(column(2), (std::vector<std::string>{"b2", "b3", "b0", "b1"}));
}

// CompareRows over several sorted columns, with short texts (held inside the string) and long
// ones: each comparison reads both texts whole. (Under the address sanitizer the earlier views
// into a growing vector of texts showed as a use after free.)
TEST_F(GridTest, CompareRowsOverSeveralSortedColumns) {
  build(3, 4);
  const std::string x(100, 'x');
  fillColumn(0, {"k", "k", "k", "j"});
  fillColumn(1, {"m", "m", "n", "z"});
  fillColumn(2, {x + "q", x + "p", x + "a", x + "z"});
  for (int c = 0; c < 3; ++c) grid.Columns().Items(c).SetSortOrder(csAsc);
  // Sorted by the three: (j z xz), (k m xp), (k m xq), (k n xa).
  ASSERT_EQ(column(2), (std::vector<std::string>{x + "z", x + "p", x + "q", x + "a"}));
  EXPECT_EQ(grid.CompareRows(0, 1), -1) << "decided by the first";
  EXPECT_EQ(grid.CompareRows(1, 2), -1) << "decided by the third, a long text";
  EXPECT_EQ(grid.CompareRows(2, 1), 1);
  EXPECT_EQ(grid.CompareRows(2, 3), -1) << "decided by the second";
  EXPECT_EQ(grid.CompareRows(3, 3), 0);
}

TEST_F(GridTest, OnCompareRowsHasTheLastWord) {
  build(2, 4);
  fillColumn(0, {"10", "9", "100", "1"});
  int calls = 0;
  grid.OnCompareRows = [&](const TKGridColumnList& cols, int i1, int i2, int& result) {
    ++calls;
    ASSERT_EQ(cols.Count(), 1);
    const int a = std::stoi(cols.Items(0)->Cells(i1)), b = std::stoi(cols.Items(0)->Cells(i2));
    result = a < b ? -1 : (a > b ? 1 : 0);
  };
  grid.Columns().Items(0).SetSortOrder(csAsc);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "9", "10", "100"}));
  EXPECT_EQ(grid.CompareRows(1, 2), -1) << "9 before 10 by the handler, not by the bytes";
}

TEST_F(GridTest, NoSortedColumnLeavesTheRowsAlone) {
  build(2, 5);
  fillColumn(0, {"e", "d", "c", "b", "a"});
  int calls = 0;
  grid.OnCompareRows = [&](const TKGridColumnList&, int, int, int&) { ++calls; };
  grid.SetAutoSort(true);
  grid.SortRows();
  EXPECT_EQ(column(0), (std::vector<std::string>{"e", "d", "c", "b", "a"}));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(grid.CompareRows(0, 1), 0);
}

TEST_F(GridTest, EqualRowsKeepTheirOrderAndAWildComparisonStaysBounded) {
  build(2, 200);
  for (int r = 0; r < 200; ++r) grid.SetCells(0, r, r % 2 ? "x" : "y");
  grid.Columns().Items(0).SetSortOrder(csAsc);
  for (int r = 1; r < 100; ++r) {
    EXPECT_EQ(grid.Cells(0, r), "x");
    EXPECT_LT(std::stoi(grid.Cells(1, r - 1).substr(1)), std::stoi(grid.Cells(1, r).substr(1)));
  }
  std::mt19937 rng(3);
  grid.OnCompareRows = [&](const TKGridColumnList&, int, int, int& result) { result = int(rng() % 3) - 1; };
  grid.Columns().Items(0).SetSortOrder(csDsc);
  std::vector<std::string> b = column(1);
  std::sort(b.begin(), b.end());
  std::vector<std::string> expected;
  for (int r = 0; r < 200; ++r) expected.push_back("b" + std::to_string(r));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(b, expected) << "every row is still there once";
}

// Sorting moves whole rows: hidden and zero-width columns and every cell word go along.
TEST_F(GridTest, SortMovesTextsAndCellWordsOfEveryColumn) {
  build(4, 5);
  grid.SetAutoSort(false);
  grid.Columns().Items(1).SetVisible(false);
  grid.Columns().Items(3).SetWidth(0);
  fillColumn(0, {"3", "1", "4", "0", "2"});
  TKGridColumn& hidden = grid.Columns().Items(1);
  hidden.SetCellFlags(2, cfButton);
  grid.SetCellFlags(2, 2, cfReadOnly);
  grid.SetCells(1, 0, "multi\r\nline");
  grid.Columns().Items(0).SetSortOrder(csAsc);
  grid.SortRows();
  EXPECT_EQ(column(0), (std::vector<std::string>{"0", "1", "2", "3", "4"}));
  const std::vector<int> from = {3, 1, 4, 0, 2};  // old row of each new row
  for (int r = 0; r < 5; ++r) {
    const int old = from[std::size_t(r)];
    EXPECT_EQ(hidden.Cells(r), "b" + std::to_string(old));
    EXPECT_EQ(hidden.CellFlags(r), old == 2 ? TKCellFlags(cfButton) : 0u);
    EXPECT_EQ(grid.CellFlags(2, r), old == 2 ? TKCellFlags(cfReadOnly) : 0u);
    EXPECT_EQ(grid.Cells(2, r), "d" + std::to_string(old));
  }
  EXPECT_EQ(grid.Cells(1, 3), "multi\r\nline");
  EXPECT_EQ(grid.CellFlags(1, 3), TKCellFlags(cfMultiLine));
}

// ---------------------------------------------------------------- header clicks

TEST_F(GridTest, HeaderClicksSortAscendingThenDescending) {
  build(3, 3);
  fillColumn(1, {"m", "z", "a"});
  std::vector<int> clicked;
  grid.OnHeaderClick = [&](int c) { clicked.push_back(c); };
  click(headerX(1), 5);
  EXPECT_EQ(grid.Columns().Items(1).SortOrder(), csAsc);
  EXPECT_EQ(column(1), (std::vector<std::string>{"a", "m", "z"}));
  click(headerX(1), 5);
  EXPECT_EQ(grid.Columns().Items(1).SortOrder(), csDsc);
  EXPECT_EQ(column(1), (std::vector<std::string>{"z", "m", "a"}));
  click(headerX(0), 5);
  EXPECT_EQ(grid.Columns().Items(1).SortOrder(), csNone);
  EXPECT_EQ(grid.Columns().Items(0).SortOrder(), csAsc);
  EXPECT_EQ(clicked, (std::vector<int>{1, 1, 0}));
  EXPECT_EQ(grid.DataRow(), 0) << "a header press selects nothing";
}

TEST_F(GridTest, HeaderPressAndReleaseOnDifferentColumnsDoesNothing) {
  build(3, 3);
  int clicks = 0;
  grid.OnHeaderClick = [&](int) { ++clicks; };
  grid.MouseDown(mbLeft, ssLeft, headerX(0), 5);
  EXPECT_EQ(grid.PressedHeaderColumn(), 0);
  grid.MouseUp(mbLeft, 0, headerX(2), 5);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(grid.Columns().Items(0).SortOrder(), csNone);
  EXPECT_EQ(grid.Columns().Items(2).SortOrder(), csNone);
  // released below the header band
  grid.MouseDown(mbLeft, ssLeft, headerX(0), 5);
  grid.MouseUp(mbLeft, 0, headerX(0), 30);
  EXPECT_EQ(clicks, 0);
}

TEST_F(GridTest, MovingWhilePressedTurnsTheHeaderPressIntoACellPress) {
  build(3, 5);
  grid.MouseDown(mbLeft, ssLeft, headerX(1), 5);
  grid.MouseMove(ssLeft, headerX(1), 19 * 3 + 5);  // down into data row 1
  EXPECT_EQ(grid.PressedHeaderColumn(), -1);
  grid.MouseUp(mbLeft, 0, headerX(1), 19 * 3 + 5);
  EXPECT_EQ(grid.Columns().Items(1).SortOrder(), csNone);
  EXPECT_EQ(grid.DataRow(), 2);
  EXPECT_EQ(grid.DataCol(), 1);
}

TEST_F(GridTest, AutoSortOffStillReportsTheClick) {
  build(2, 3);
  fillColumn(0, {"c", "a", "b"});
  grid.SetAutoSort(false);
  int clicked = -1;
  grid.OnHeaderClick = [&](int c) { clicked = c; };
  click(headerX(0), 5);
  EXPECT_EQ(clicked, 0);
  EXPECT_EQ(grid.Columns().Items(0).SortOrder(), csNone);
  EXPECT_EQ(column(0), (std::vector<std::string>{"c", "a", "b"}));
}

// Columns are 50 wide plus a grid line each; after ten of them a layout without the lines
// would be ten pixels off and sort the neighbour.
TEST_F(GridTest, HeaderHitTestUsesTheRealColumnEdges) {
  build(12, 2, 50);
  grid.SetClientSize(1000, 300);
  EXPECT_EQ(grid.CellRect(10, 0), (TRect{510, 0, 560, 18}));
  struct Probe {
    int x, col;
  };
  for (Probe p : {Probe{505, 9}, Probe{555, 10}, Probe{512, 10}, Probe{511, -1}, Probe{558, 10}, Probe{559, -1},
                  Probe{557, 10}, Probe{560, -1}, Probe{2, 0}, Probe{1, -1}})
    EXPECT_EQ(grid.HeaderColumnAt(p.x, 5), p.col) << "x " << p.x;
  click(505, 5);
  EXPECT_EQ(grid.Columns().Items(9).SortOrder(), csAsc);
  click(510, 5);  // on the edge margin: no column
  EXPECT_EQ(grid.Columns().Items(9).SortOrder(), csAsc);
  EXPECT_EQ(grid.Columns().Items(10).SortOrder(), csNone);
}

TEST_F(GridTest, ClickOnAPartlyShownColumnScrollsByOne) {
  build(12, 2, 100);
  grid.SetClientSize(750, 300);  // 7 columns fully shown, the 8th in part
  ASSERT_EQ(grid.VisibleColCount(), 7);
  click(headerX(7, 20), 5);
  EXPECT_EQ(grid.LeftCol(), 1);
  for (int i = 0; i < 10; ++i) {
    const auto spans = grid.ColumnsOnScreen();
    click(spans.back().left + 5, 5);
  }
  EXPECT_EQ(grid.LeftCol(), grid.MaxLeftCol()) << "never past the last column";
}

TEST_F(GridTest, FixedColumnEdgeSizesTheColumn) {
  build(3, 2);
  grid.SetFixedCols(1);
  EXPECT_EQ(grid.MouseMove(0, 64, 5), TGridCursor::HSplit);
  EXPECT_EQ(grid.MouseMove(0, 64 + 65, 5), TGridCursor::Default) << "only fixed columns";
  grid.MouseDown(mbLeft, ssLeft, 63, 5);
  ASSERT_TRUE(grid.SizingFixedColumn());
  grid.MouseMove(ssLeft, 83, 5);
  grid.MouseMove(ssLeft, -200, 5);
  grid.MouseUp(mbLeft, 0, -200, 5);
  EXPECT_FALSE(grid.SizingFixedColumn());
  EXPECT_EQ(grid.Columns().Items(0).Width(), 1) << "never below one pixel";
  EXPECT_EQ(grid.Columns().Items(0).SortOrder(), csNone);
}

TEST_F(GridTest, CellClicksSelectAndShiftExtends) {
  build(3, 6);
  int clicks = 0;
  grid.OnClick = [&] { ++clicks; };
  click(grid.CellRect(2, 2).Left + 5, grid.CellRect(2, 2).Top + 5);
  EXPECT_EQ(grid.DataRow(), 1);
  EXPECT_EQ(grid.DataCol(), 2);
  const TRect r = grid.CellRect(1, 5);
  grid.MouseDown(mbLeft, ssLeft | ssShift, r.Left + 3, r.Top + 3);
  grid.MouseUp(mbLeft, ssShift, r.Left + 3, r.Top + 3);
  EXPECT_EQ(grid.DataSelection(), (TGridRect{1, 1, 2, 4}));
  EXPECT_EQ(clicks, 2);
  bool allow = false;
  grid.OnSelectCell = [&](int, int, bool& can) { can = allow; };
  click(grid.CellRect(0, 1).Left + 5, grid.CellRect(0, 1).Top + 5);
  EXPECT_EQ(grid.DataRow(), 4) << "OnSelectCell refused the move";
}

// ---------------------------------------------------------------- colours

struct LookCase {
  const char* name;
  std::function<void(TKGridModel&)> setup;
  int col, baseRow;
  TColor background, fontColour;
};
void PrintTo(const LookCase& c, std::ostream* os) { *os << c.name; }

class CellColours : public GridTest, public ::testing::WithParamInterface<LookCase> {};

TEST_P(CellColours, FollowTheFallbacks) {
  build(3, 4);
  grid.SetDataRow(1);  // current cell: column 0, base row 2
  GetParam().setup(grid);
  const TKCellLook look = grid.CellLook(GetParam().col, GetParam().baseRow);
  EXPECT_EQ(look.background, GetParam().background);
  EXPECT_EQ(look.font.Color(), GetParam().fontColour);
}

void none(TKGridModel&) {}

INSTANTIATE_TEST_SUITE_P(
    Rules, CellColours,
    ::testing::Values(
        LookCase{"PlainCellTakesTheGridColour", none, 1, 1, clWindow, clWindowText},
        LookCase{"ColumnColour", [](TKGridModel& g) { g.Columns().Items(1).SetColor(clYellow); }, 1, 1,
                 clYellow, clWindowText},
        LookCase{"ColumnFontColour",
                 [](TKGridModel& g) { g.Columns().Items(1).Font().SetColor(clNavy); }, 1, 1, clWindow, clNavy},
        LookCase{"CurrentColumnWithoutActiveColColour", none, 0, 1, clWindow, clWindowText},
        LookCase{"CurrentColumnColour", [](TKGridModel& g) { g.SetActiveColColor(clAqua); }, 0, 1, clAqua,
                 clWindowText},
        LookCase{"CurrentRow", none, 1, 2, clInfoBk, clWindowText},
        LookCase{"RegisterListCurrentRow",
                 [](TKGridModel& g) {
                   g.SetActiveColColor(clAqua);
                   g.SetActiveRowColor(clAqua);
                   g.SetActiveRowFontColor(clBlack);
                 },
                 2, 2, clAqua, clBlack},
        LookCase{"CurrentRowWithoutItsColourTakesTheColumns",
                 [](TKGridModel& g) {
                   g.SetActiveRowColor(clNone);
                   g.Columns().Items(1).SetColor(clLime);
                   g.Columns().Items(1).Font().SetColor(clMaroon);
                 },
                 1, 2, clLime, clMaroon},
        LookCase{"RowSelectUsesSelectedColours",
                 [](TKGridModel& g) { g.SetOptions(g.Options() | goRowSelect); }, 2, 2, clHighlight,
                 clHighlightText},
        LookCase{"SelectedOtherRow", [](TKGridModel& g) { g.MoveCurrent(1, 4, false); }, 1, 2, clHighlight,
                 clHighlightText},
        LookCase{"SelectedWithoutItsColours",
                 [](TKGridModel& g) {
                   g.MoveCurrent(1, 4, false);
                   g.SetSelectedColor(clNone);
                   g.SetSelectedFontColor(clNone);
                   g.Columns().Items(1).SetColor(clSilver);
                 },
                 1, 2, clSilver, clWindowText},
        LookCase{"HeaderOfCurrentColumn", none, 0, 0, clGray, clWhite},
        LookCase{"HeaderOfOtherColumn", none, 1, 0, clBtnFace, clWindowText},
        LookCase{"ColumnHeaderColour", [](TKGridModel& g) { g.Columns().Items(1).SetHeaderColor(clRed); }, 1,
                 0, clRed, clWindowText},
        LookCase{"HeaderWithoutAnyColourTakesTheColumns",
                 [](TKGridModel& g) {
                   g.SetHeaderColor(clNone);
                   g.Columns().Items(1).SetColor(clYellow);
                 },
                 1, 0, clYellow, clWindowText},
        LookCase{"ActiveHeaderWithoutItsColours",
                 [](TKGridModel& g) {
                   g.SetActiveHeaderColor(clNone);
                   g.ActiveHeaderFont().SetColor(clNone);
                   g.Columns().Items(0).SetHeaderColor(clRed);
                   g.Columns().Items(0).HeaderFont().SetColor(clBlue);
                 },
                 0, 0, clRed, clBlue},
        LookCase{"DefaultLookHeaderTakesTheCanvas",
                 [](TKGridModel& g) {
                   g.SetDefaultLook(true);
                   g.Columns().Items(1).SetHeaderColor(clRed);
                 },
                 1, 0, clBtnFace, clWindowText},
        LookCase{"DefaultLookActiveColumnIsTheColumnColour",
                 [](TKGridModel& g) {
                   g.SetDefaultLook(true);
                   g.SetActiveColColor(clAqua);
                 },
                 0, 1, clWindow, clWindowText},
        LookCase{"DefaultLookCurrentRowIsTheColumnColour",
                 [](TKGridModel& g) {
                   g.SetDefaultLook(true);
                   g.Columns().Items(1).SetColor(clYellow);
                 },
                 1, 2, clYellow, clWindowText},
        LookCase{"DefaultLookRowSelectTakesTheCanvas",
                 [](TKGridModel& g) {
                   g.SetDefaultLook(true);
                   g.SetOptions(g.Options() | goRowSelect);
                 },
                 1, 2, clHighlight, clHighlightText},
        LookCase{"FixedCell", [](TKGridModel& g) { g.SetFixedCols(1); }, 0, 1, clBtnFace, clWindowText},
        LookCase{"FixedCellOfCurrentRow", [](TKGridModel& g) { g.SetFixedCols(1); }, 0, 2, clGray, clWhite},
        LookCase{"FixedCellWithoutColourTakesTheColumns",
                 [](TKGridModel& g) {
                   g.SetFixedCols(1);
                   g.SetFixedColor(clNone);
                   g.SetActiveFixedColor(clNone);
                   g.Columns().Items(0).SetColor(clLime);
                 },
                 0, 2, clLime, clWhite},
        LookCase{"CellPropsMayRecolour",
                 [](TKGridModel& g) {
                   g.OnGetCellProps = [](int c, int r, TKCellProperties& p) {
                     if (c == 1 && r == 0) p.Color = clRed;
                   };
                 },
                 1, 1, clRed, clWindowText}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTest, MultiLineCellsShowTheirCommaText) {
  build(2, 2);
  grid.SetCells(1, 0, "Jan\r\nKowalski, Adam");
  grid.SetCells(1, 1, "Kowalski, Jan");
  EXPECT_EQ(grid.CellLook(1, 1).text, "Jan,\"Kowalski, Adam\"");
  EXPECT_EQ(grid.CellLook(1, 2).text, "Kowalski, Jan");
  EXPECT_EQ(grid.CellLook(1, 0).text, "B");
}

// ---------------------------------------------------------------- editing rules

TEST_F(GridTest, EditingNeedsOptionsAnEditableCellAndRows) {
  build(2, 2);
  EXPECT_FALSE(grid.CanEditShow());
  grid.SetOptions(grid.Options() | goEditing);
  EXPECT_TRUE(grid.CanEditShow());
  grid.SetCellFlags(0, 0, cfButton);
  EXPECT_FALSE(grid.CanEditShow());
  grid.SetCellFlags(0, 0, cfReadOnly);
  EXPECT_FALSE(grid.CanEditShow());
  grid.SetCellFlags(0, 0, 0);
  grid.Columns().Items(0).SetReadOnly(true);
  EXPECT_FALSE(grid.CanEditShow());
  grid.Columns().Items(0).SetReadOnly(false);
  grid.SetOptions(grid.Options() | goRowSelect);
  EXPECT_FALSE(grid.CanEditShow());
  grid.SetOptions(grid.Options() & ~TGridOptions(goRowSelect));
  grid.Clear();
  EXPECT_FALSE(grid.CanEditShow());
}

TEST_F(GridTest, EditTextPassesThroughItsEvents) {
  build(2, 2);
  std::string set;
  grid.OnGetEditText = [](int, int, std::string& v) { v += "!"; };
  grid.OnSetEditText = [&](int c, int r, const std::string& v) { set = std::to_string(c) + std::to_string(r) + v; };
  EXPECT_EQ(grid.GetEditText(1, 2), "b1!");
  grid.SetEditText(1, 2, "new");
  EXPECT_EQ(set, "11new");
  EXPECT_EQ(grid.Cells(1, 1), "new");
  grid.SetEditText(1, 0, "header");  // the header row takes no text
  EXPECT_EQ(grid.Columns().Items(1).Caption(), "B");
}

}  // namespace
