// The grid as a widget: what it paints, and real mouse and key events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "grid/kstrgrid.h"
#include "gridfixture.h"
#include "platform/cp1250.h"

using namespace kgrid;

inline void PrintTo(const QColor& c, std::ostream* os) { *os << c.name().toStdString(); }

namespace {

class GridWidgetTest : public ::testing::Test {
 protected:
  void build(int columns, int rows, int width = 64) {
    gridtest::build(grid, columns, rows, width);
    grid.resize(800, 300);
    grid.show();
    QApplication::processEvents();
  }
  QImage picture() { return grid.viewport()->grab().toImage(); }
  QColor pixel(int x, int y) { return picture().pixelColor(x, y); }
  // A point in a cell, clear of its text.
  QPoint blankOf(int col, int baseRow) {
    const QRect r = grid.CellRectOnScreen(col, baseRow);
    return QPoint(r.right() - 4, r.top() + 3);
  }
  QPoint centre(int col, int baseRow) { return grid.CellRectOnScreen(col, baseRow).center(); }
  TKStringGrid grid;
};

TEST_F(GridWidgetTest, PaintsTheActiveRowAndColumnInTheirColours) {
  build(3, 4);
  grid.SetActiveColColor(clAqua);
  grid.SetActiveRowColor(clYellow);
  grid.SetDataRow(2);
  QApplication::processEvents();
  EXPECT_EQ(pixel(blankOf(1, 3).x(), blankOf(1, 3).y()), QColor(255, 255, 0)) << "current row";
  EXPECT_EQ(pixel(blankOf(0, 1).x(), blankOf(0, 1).y()), QColor(0, 255, 255)) << "current column";
  EXPECT_EQ(pixel(blankOf(1, 1).x(), blankOf(1, 1).y()), QColor(255, 255, 255)) << "plain cell";
  EXPECT_EQ(pixel(blankOf(0, 0).x(), blankOf(0, 0).y()), QColor(128, 128, 128)) << "active header";
  EXPECT_EQ(pixel(blankOf(1, 0).x(), blankOf(1, 0).y()), QColor(240, 240, 240)) << "other header";
}

// What is on the screen: the window's backing store, where a cell that was not repainted keeps
// its old colour (a grab of the widget would paint everything afresh).
QImage onScreen(QWidget& w) {
  QApplication::processEvents();
  return w.screen()->grabWindow(w.winId()).toImage();
}

// The register list adds its rows one by one, so no column has been reported active when the user
// first moves: the column left must lose its colour all the same, and the header with it; so must
// every later column left, by mouse or key.
TEST_F(GridWidgetTest, TheColumnLeftIsRepaintedAtOnce) {
  for (int c = 0; c < 4; ++c) {
    TKGridColumn& col = grid.Columns().Add();
    col.SetName(std::string(1, char('A' + c)));
    col.SetCaption(col.Name());
  }
  for (int r = 0; r < 6; ++r) grid.AddRow();
  grid.SetActiveColColor(clAqua);
  grid.SetActiveRowColor(clYellow);
  grid.resize(400, 200);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  const QColor aqua(0, 255, 255), yellow(255, 255, 0), white(255, 255, 255);
  const QColor activeHeader(128, 128, 128), header(240, 240, 240);
  auto at = [&](const QImage& img, int col, int baseRow) {
    return img.pixelColor(grid.viewport()->mapTo(&grid, blankOf(col, baseRow)));
  };
  QImage img = onScreen(grid);
  EXPECT_EQ(at(img, 0, 3), aqua) << "column 0 is current at the start";

  struct Step {
    const char* name;
    std::function<void()> move;
    int col, row;  // current afterwards (base row)
  } steps[] = {
      {"click on another row and column", [&] { QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(2, 5)); }, 2, 5},
      {"key left", [&] { QTest::keyClick(&grid, Qt::Key_Left); }, 1, 5},
      {"click in the same row", [&] { QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(3, 5)); }, 3, 5},
      {"key up", [&] { QTest::keyClick(&grid, Qt::Key_Up); }, 3, 4},
  };
  for (const auto& s : steps) {
    s.move();
    img = onScreen(grid);
    for (int col = 0; col < 4; ++col) {
      EXPECT_EQ(at(img, col, 0), col == s.col ? activeHeader : header) << s.name << ", header " << col;
      for (int row = 1; row <= 6; ++row) {
        const QColor want = row == s.row ? yellow : col == s.col ? aqua : white;
        EXPECT_EQ(at(img, col, row), want) << s.name << ", cell " << col << "," << row;
      }
    }
  }
  if (qEnvironmentVariableIsSet("ZELT_SHOT_DIR")) img.save(qEnvironmentVariable("ZELT_SHOT_DIR") + "/grid_active_column.png");
}

TEST_F(GridWidgetTest, EmptyGridShowsTheHeaderAndOneBlankRow) {
  build(2, 0);
  const QImage img = picture();
  const QPoint blank = blankOf(1, 1);
  EXPECT_EQ(img.pixelColor(blank), QColor(255, 255, 225)) << "the blank row is the current row";
  const QPoint below(blank.x(), blank.y() + 19);
  EXPECT_EQ(img.pixelColor(below), QColor(255, 255, 255)) << "nothing below it";
  // The caption is drawn: some dark pixels in the header cell.
  int dark = 0;
  const QRect h = grid.CellRectOnScreen(1, 0);
  for (int x = h.left(); x < h.left() + 20; ++x)
    for (int y = h.top() + 2; y < h.bottom(); ++y) dark += img.pixelColor(x, y).value() < 100;
  EXPECT_GT(dark, 5);
}

// Columns 50 pixels wide, twelve of them: a real click at x = 505 is on column 9 (a layout
// without grid lines would take it for column 10). The glyph shows the order.
TEST_F(GridWidgetTest, HeaderClickThroughTheMouseSortsAndDrawsTheGlyph) {
  build(12, 3, 50);
  for (int r = 0; r < 3; ++r) grid.SetCells(9, r, std::to_string(2 - r));
  const QRect h = grid.CellRectOnScreen(9, 0);
  const int x0 = h.left() + h.width() - 20, ym = h.top() + 10;
  EXPECT_EQ(pixel(x0 + 4, ym - 2), QColor(240, 240, 240)) << "no glyph before sorting";

  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(505, 8));
  EXPECT_EQ(grid.Columns().Items(9).SortOrder(), csAsc);
  EXPECT_EQ(grid.Columns().Items(10).SortOrder(), csNone);
  EXPECT_EQ(grid.Cells(9, 0), "0");
  QApplication::processEvents();
  QImage img = picture();
  EXPECT_EQ(img.pixelColor(x0 + 4, ym - 2), QColor(192, 192, 192)) << "inside the up triangle";
  EXPECT_EQ(img.pixelColor(x0 + 4, ym), QColor(0, 0, 0)) << "its black base";
  EXPECT_EQ(img.pixelColor(x0 + 4, ym - 6), QColor(240, 240, 240)) << "above its tip";

  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, QPoint(505, 8));
  EXPECT_EQ(grid.Columns().Items(9).SortOrder(), csDsc);
  EXPECT_EQ(grid.Cells(9, 0), "2");
  QApplication::processEvents();
  img = picture();
  EXPECT_EQ(img.pixelColor(x0 + 4, ym - 3), QColor(192, 192, 192)) << "inside the down triangle";
  EXPECT_EQ(img.pixelColor(x0 + 4, ym - 5), QColor(0, 0, 0)) << "its black top";

  // A press on one header and a release on another: no sort.
  QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, QPoint(30, 8));
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, QPoint(80, 8));
  EXPECT_EQ(grid.Columns().Items(0).SortOrder(), csNone);
  EXPECT_EQ(grid.Columns().Items(1).SortOrder(), csNone);
  EXPECT_EQ(grid.Columns().Items(9).SortOrder(), csDsc);
}

TEST_F(GridWidgetTest, KeysAndClicksMoveTheCurrentRow) {
  build(3, 30);
  int clicks = 0, doubles = 0;
  grid.OnClick = [&] { ++clicks; };
  grid.OnDblClick = [&] { ++doubles; };
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(1, 3));
  EXPECT_EQ(grid.DataRow(), 2);
  EXPECT_EQ(grid.DataCol(), 1);
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.DataRow(), 3);
  QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(grid.DataRow(), 29);
  EXPECT_GT(grid.TopRow(), 1) << "scrolled to the last row";
  EXPECT_EQ(grid.verticalScrollBar()->value(), grid.TopRow() - 1);
  EXPECT_EQ(clicks, 3);
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, centre(1, grid.TopRow()));
  EXPECT_EQ(doubles, 1);
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint(30, 8));
  EXPECT_EQ(doubles, 1) << "a double click on a header is two header clicks, not a choice";
}

TEST_F(GridWidgetTest, CellButtonShowsOnTheCurrentCellAndFires) {
  build(3, 3);
  int pressed = 0;
  grid.OnButtonClick = [&] { ++pressed; };
  grid.SetCellFlags(1, 1, cfButton);
  grid.SetDataRow(1);
  grid.SetDataCol(1);
  grid.viewport()->repaint();
  ASSERT_NE(grid.CellButton(), nullptr);
  ASSERT_TRUE(grid.CellButton()->isVisible());
  const QRect cell = grid.CellRectOnScreen(1, 2);
  EXPECT_EQ(grid.CellButton()->geometry(), QRect(cell.right() + 1 - 16, cell.top() + 1, 16, 16));
  EXPECT_EQ(grid.CellButton()->text(), QString::fromUtf8("\u00B7\u00B7\u00B7"));
  QTest::mouseClick(grid.CellButton(), Qt::LeftButton);
  EXPECT_EQ(pressed, 1);
  QTest::keyClick(&grid, Qt::Key_Return);
  EXPECT_EQ(pressed, 2);
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_FALSE(grid.CellButton()->isVisible());
  // A cell too narrow for the button keeps it hidden.
  grid.Columns().Items(1).SetWidth(18);
  grid.SetDataRow(1);
  grid.viewport()->repaint();
  EXPECT_FALSE(grid.CellButton()->isVisible());
}

TEST_F(GridWidgetTest, EditorStoresOnEnterAndRestoresOnEsc) {
  build(2, 2);
  grid.SetOptions(grid.Options() | goEditing);
  std::string cancelled;
  grid.OnCancelEdit = [&](int, int, const std::string& v) { cancelled = v; };
  QTest::keyClick(&grid, Qt::Key_F2);
  ASSERT_TRUE(grid.EditorMode());
  EXPECT_EQ(grid.InplaceEditor()->toPlainText(), "a0");
  QKeyEvent polish(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("ł"));
  QApplication::sendEvent(grid.InplaceEditor(), &polish);
  QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return);
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(grid.Cells(0, 0), cp1250::fromUtf8("a0ł"));

  QTest::keyClick(&grid, Qt::Key_F2);
  QTest::keyClicks(grid.InplaceEditor(), "zzz");
  QTest::keyClick(grid.InplaceEditor(), Qt::Key_Escape);
  EXPECT_FALSE(grid.EditorMode());
  EXPECT_EQ(grid.Cells(0, 0), cp1250::fromUtf8("a0ł"));
  EXPECT_EQ(cancelled, cp1250::fromUtf8("a0ł"));

  // Ctrl+Enter makes the cell multi-line; the editor then keeps line breaks.
  QTest::keyClick(&grid, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(grid.CellFlags(0, 0), TKCellFlags(cfMultiLine));
  ASSERT_TRUE(grid.EditorMode());
  EXPECT_EQ(grid.InplaceEditor()->height(), 100);
  QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return, Qt::ControlModifier);
  QTest::keyClicks(grid.InplaceEditor(), "b");
  QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return);
  EXPECT_EQ(grid.Cells(0, 0), cp1250::fromUtf8("a0ł\r\nb"));

  // Integer cells take digits only.
  grid.SetCellType(1, 1, ctInteger);
  grid.SetDataRow(1);
  grid.SetDataCol(1);
  QTest::keyClick(&grid, Qt::Key_F2);
  grid.InplaceEditor()->clear();
  QTest::keyClicks(grid.InplaceEditor(), "4x2");
  QTest::keyClick(grid.InplaceEditor(), Qt::Key_Return);
  EXPECT_EQ(grid.Cells(1, 1), "42");
}

TEST_F(GridWidgetTest, KeyboardContextMenuOpensAtTheCurrentCell) {
  build(2, 3);
  grid.SetDataRow(1);
  QPoint at;
  grid.OnContextPopup = [&](int x, int y) { at = QPoint(x, y); };
  QContextMenuEvent e(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
  QApplication::sendEvent(grid.viewport(), &e);
  const QRect r = grid.CellRectOnScreen(0, 2);
  EXPECT_EQ(at, grid.viewport()->mapToGlobal(r.topLeft()));
}

}  // namespace
