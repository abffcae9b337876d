// Columns and their cells, names, fonts and the two column containers.
#include <gtest/gtest.h>

#include "grid/kerrors.h"
#include "grid/kgridmodel.h"

using namespace kgrid;

namespace {

class ColumnTest : public ::testing::Test {
 protected:
  ColumnTest() {
    for (const char* n : {"A", "B", "C"}) {
      TKGridColumn& c = grid.Columns().Add();
      c.SetName(n);
      c.SetCaption(n);
    }
    grid.SetRowCount(3);
  }
  TKGridColumn& col(int i) { return grid.Columns().Items(i); }
  TKGridModel grid;
};

TEST_F(ColumnTest, MultiLineTextSetsTheFlagAndKeepsIt) {
  TKGridColumn& c = col(0);
  c.SetCells(1, "a\r\nb");
  EXPECT_EQ(c.StoredText(1), "a,b");
  EXPECT_EQ(c.Cells(1), "a\r\nb");
  EXPECT_EQ(c.CellFlags(1), TKCellFlags(cfMultiLine));
  c.SetCells(1, "Kowalski, Jan");
  EXPECT_EQ(c.Cells(1), "Kowalski, Jan");
  EXPECT_EQ(c.CellFlags(1), TKCellFlags(cfMultiLine)) << "the flag stays after a single-line write";
  EXPECT_EQ(c.CellFlags(0), 0u);
}

TEST_F(ColumnTest, FlagsWriteAddsMultiLineFromTheTextAndIntegerCellsDropFlags) {
  TKGridColumn& c = col(1);
  c.SetCells(0, "x\ny");
  c.SetCellFlags(0, cfButton);  // the text's line break keeps cfMultiLine
  EXPECT_EQ(c.CellFlags(0), TKCellFlags(cfButton | cfMultiLine));

  c.SetCellType(2, ctInteger);
  c.SetCellFlags(2, cfButton | cfReadOnly | cfMultiLine);
  EXPECT_EQ(c.CellFlags(2), TKCellFlags(cfReadOnly));
  EXPECT_EQ(c.CellType(2), ctInteger);
  c.SetCells(2, " 12abc");
  EXPECT_EQ(c.Cells(2), "12");
  c.SetCells(2, "a\r\nb");
  EXPECT_EQ(c.Cells(2), "0");
  EXPECT_EQ(c.CellFlags(2), TKCellFlags(cfReadOnly));
}

TEST_F(ColumnTest, CellTypeIsMaskedToSevenBits) {
  col(0).SetCellType(0, 0x81);
  EXPECT_EQ(col(0).CellType(0), 1);
  EXPECT_EQ(packCellWord(cfButton, 0x81), 0x00010002u);
}

TEST_F(ColumnTest, ColumnAddedLaterHasOneEmptyCellPerRow) {
  grid.SetCells(0, 2, "x");
  TKGridColumn& d = grid.Columns().Add();
  ASSERT_EQ(d.Store().size(), 3);
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(d.Cells(r), "");
    EXPECT_EQ(d.CellFlags(r), 0u);
  }
  EXPECT_EQ(grid.Cells(3, 2), "");
  EXPECT_EQ(d.Width(), 64);
  EXPECT_EQ(d.Color(), clNone);
  EXPECT_EQ(d.HeaderColor(), clNone);
  EXPECT_EQ(d.SortOrder(), csNone);
  EXPECT_EQ(d.DisplayIndex(), 3);
}

TEST_F(ColumnTest, DuplicateNameIsRefusedAndTheOldNameStays) {
  col(0).SetName("poNIP");
  try {
    col(1).SetName("poNIP");
    FAIL() << "no error";
  } catch (const EKGridColumnsError& e) {
    EXPECT_STREQ(e.what(), "Column name \"poNIP\" already exists");
  }
  EXPECT_EQ(col(1).Name(), "B");
  EXPECT_NO_THROW(col(0).SetName("poNIP"));  // its own name
  EXPECT_EQ(grid.Columns().FindByName("poNIP"), &col(0));
  EXPECT_EQ(grid.Columns().FindByName("ponip"), nullptr);
}

TEST_F(ColumnTest, ParentFontCopiesTheGridFontAndStaysOn) {
  TKGridColumn& c = col(0);
  TKGridFont big("Arial", 12, clRed);
  c.SetFont(big);
  EXPECT_FALSE(c.ParentFont());
  c.SetParentFont(true);
  EXPECT_TRUE(c.ParentFont());
  EXPECT_TRUE(c.Font().sameValue(grid.Font()));
  c.Font().SetSize(10);  // a change inside the font object
  EXPECT_FALSE(c.ParentFont());

  c.SetParentHeaderFont(true);
  EXPECT_TRUE(c.ParentHeaderFont());
  EXPECT_TRUE(c.HeaderFont().sameValue(grid.HeaderFont()));
  EXPECT_EQ(c.HeaderFont().Style(), unsigned(fsBold));
  c.SetHeaderFont(big);
  EXPECT_FALSE(c.ParentHeaderFont());
}

TEST_F(ColumnTest, GridFontReachesOnlyColumnsThatFollowIt) {
  col(1).SetFont(TKGridFont("Arial", 9, clBlue));
  grid.Font().SetSize(11);
  EXPECT_EQ(col(0).Font().Size(), 11);
  EXPECT_TRUE(col(0).ParentFont());
  EXPECT_EQ(col(1).Font().Size(), 9);
}

TEST(ColumnList, AddSortedPlacesByDisplayIndexAfterEqualOnes) {
  TKGridModel grid;
  TKGridColumns& cols = grid.Columns();
  for (int i = 0; i < 4; ++i) cols.Add();
  TKGridColumnList list;
  // Display indexes 0..3 as the grid gave them; insert copies by index.
  EXPECT_EQ(list.AddSorted(&cols.Items(2)), 0);
  EXPECT_EQ(list.AddSorted(&cols.Items(0)), 0);
  EXPECT_EQ(list.AddSorted(&cols.Items(3)), 2);
  EXPECT_EQ(list.AddSorted(&cols.Items(1)), 1);
  EXPECT_EQ(list.Items(0), &cols.Items(0));
  EXPECT_EQ(list.Items(3), &cols.Items(3));
  list.MoveColumn(3, 0);
  EXPECT_EQ(list.Items(0), &cols.Items(3));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list.Items(i)->DisplayIndex(), i);
  EXPECT_THROW(list.MoveColumn(0, 4), EKGridError);
}

TEST_F(ColumnTest, SetIndexMovesTheColumnAndRefusesBadIndexes) {
  grid.SetCells(0, 0, "a");
  grid.SetCells(2, 0, "c");
  col(2).SetIndex(0);  // C A B
  EXPECT_EQ(col(0).Name(), "C");
  EXPECT_EQ(grid.Cells(0, 0), "c");
  EXPECT_EQ(grid.Cells(1, 0), "a");

  for (int bad : {-1, 3, 100}) {
    try {
      col(1).SetIndex(bad);
      FAIL() << bad;
    } catch (const EKGridError& e) {
      EXPECT_STREQ(e.what(), "Wrong column index");
    }
  }
  EXPECT_EQ(col(1).Name(), "A");
  EXPECT_EQ(grid.Cells(1, 0), "a");
}

TEST_F(ColumnTest, SetIndexWithAHiddenColumnKeepsTheListWhole) {
  col(1).SetVisible(false);  // visible: A C
  col(0).SetIndex(2);        // collection B C A; visible C A
  ASSERT_EQ(grid.VisibleColumns().Count(), 2);
  EXPECT_EQ(grid.VisibleColumn(0).Name(), "C");
  EXPECT_EQ(grid.VisibleColumn(1).Name(), "A");
  EXPECT_EQ(grid.Columns().Items(0).Name(), "B");
  grid.Columns().Items(0).SetIndex(1);  // the hidden one: only the collection order changes
  EXPECT_EQ(grid.Columns().Items(1).Name(), "B");
  EXPECT_EQ(grid.VisibleColumn(0).Name(), "C");
  for (int i = 0; i < grid.VisibleColumns().Count(); ++i) EXPECT_EQ(grid.VisibleColumn(i).DisplayIndex(), i);
}

TEST_F(ColumnTest, DeletingTheActiveColumnLeavesTheGridConsistent) {
  grid.SetDataCol(1);
  ASSERT_EQ(grid.ActiveColumn(), &col(1));
  std::vector<std::string> seen;
  grid.OnActiveColChanged = [&](TKGridColumn*, TKGridColumn* now) { seen.push_back(now ? now->Name() : "-"); };
  grid.Columns().Delete(1);
  ASSERT_EQ(grid.VisibleColumns().Count(), 2);
  EXPECT_EQ(grid.VisibleColumn(1).Name(), "C");
  EXPECT_EQ(grid.ActiveColumn(), &grid.VisibleColumn(1));
  EXPECT_EQ(seen, std::vector<std::string>{"C"});
  grid.Columns().Clear();
  EXPECT_EQ(grid.DataCol(), -1);
  EXPECT_EQ(grid.ActiveColumn(), nullptr);
}

TEST_F(ColumnTest, ItemsOutsideTheCollectionRaise) {
  EXPECT_THROW(grid.Columns().Items(3), EKGridError);
  EXPECT_THROW(grid.Columns().Items(-1), EKGridError);
  EXPECT_THROW(col(0).Cells(3), EKGridError);
}

TEST(CellStore, RewritesKeepNeighboursAndCompact) {
  TKCellStore s;
  for (int i = 0; i < 1000; ++i) s.insert(i);
  for (int round = 0; round < 200; ++round)
    for (int i = 0; i < 1000; ++i) s.setText(i, std::string(std::size_t(10 + (i + round) % 50), char('a' + i % 26)));
  for (int i = 0; i < 1000; ++i)
    ASSERT_EQ(s.text(i), std::string(std::size_t(10 + (i + 199) % 50), char('a' + i % 26))) << i;
  EXPECT_LT(s.bytesUsed(), 200000u) << "dead texts are reclaimed";
  s.setText(5, s.text(7));  // a text taken from the store itself
  EXPECT_EQ(s.text(5), s.text(7));
  s.setText(6, s.text(6).substr(2));
  EXPECT_EQ(s.text(6), std::string(std::size_t(10 + (6 + 199) % 50) - 2, char('a' + 6)));
}

}  // namespace
