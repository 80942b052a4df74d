// The editor's screen model: the layout's cells and pixels, and the grid's
// plain-text form that the demo and the replay print.
#include "tools/edit/ScreenGrid.h"

#include <gtest/gtest.h>

#include "tools/edit/EditLayout.h"

namespace {

TEST(EditLayout, PixelsFallOnCellsAndTheWorkAreaLeavesOutTheLastTwoRows) {
  const CEditLayout layout(80, 24);
  const RECT rcEditor = layout.EditorCells();
  EXPECT_EQ(rcEditor.left, layout.GutterCells().right);
  EXPECT_EQ(rcEditor.right, 80);
  EXPECT_EQ(rcEditor.top, 1);
  EXPECT_EQ(rcEditor.bottom, layout.StatusRow());
  const RECT rcPixels = layout.EditorPixels();
  EXPECT_EQ(rcPixels.left, rcEditor.left * CEditLayout::kCellWidth);
  EXPECT_EQ(rcPixels.bottom, 22 * CEditLayout::kCellHeight);
  const RECT rcWork = layout.WorkAreaPixels();
  EXPECT_EQ(rcWork.bottom, 22 * CEditLayout::kCellHeight);
  EXPECT_EQ(rcWork.right, layout.ScreenPixels().cx);
  EXPECT_EQ(layout.ScreenPixels().cy, 24 * CEditLayout::kCellHeight);
}

TEST(EditLayout, CellOfAPixelRoundsDownAlsoBelowZero) {
  EXPECT_EQ(CEditLayout::RowOfPixel(0), 0);
  EXPECT_EQ(CEditLayout::RowOfPixel(15), 0);
  EXPECT_EQ(CEditLayout::RowOfPixel(16), 1);
  EXPECT_EQ(CEditLayout::RowOfPixel(-1), -1);
  EXPECT_EQ(CEditLayout::RowOfPixel(-16), -1);
  EXPECT_EQ(CEditLayout::RowOfPixel(-17), -2);
  EXPECT_EQ(CEditLayout::ColumnOfPixel(-9), -2);
  EXPECT_EQ(CEditLayout::ColumnOfPixel(23, 8), 2);
  EXPECT_EQ(CEditLayout::ColumnOfPixel(5, 0), 5) << "a zero cell width is taken as 1";
}

TEST(EditLayout, AScreenIsHeldBetweenTheMinimumAndTheMaximum) {
  const CEditLayout huge(5000, 5000);
  EXPECT_EQ(huge.GetColumns(), CEditLayout::kMaxColumns);
  EXPECT_EQ(huge.GetRows(), CEditLayout::kMaxRows);
  EXPECT_LE(huge.ScreenPixels().cx, 32767);
  EXPECT_LE(huge.ScreenPixels().cy, 32767);

  const CEditLayout layout(3, 2);
  EXPECT_EQ(layout.GetColumns(), CEditLayout::kMinColumns);
  EXPECT_EQ(layout.GetRows(), CEditLayout::kMinRows);
  EXPECT_LT(layout.EditorCells().left, layout.EditorCells().right);
  EXPECT_LT(layout.EditorCells().top, layout.EditorCells().bottom);
}

TEST(ScreenGrid, PutClipsAndShowsUnprintableBytesAsOneCell) {
  CScreenGrid grid(8, 2);
  EXPECT_EQ(grid.Put(0, 5, "abcdef", kAttrNormal), 8);
  EXPECT_EQ(grid.Put(1, 0, std::string("a\tb\x01\xe9", 5), kAttrNormal, 4), 4);
  grid.Put(5, 0, "outside", kAttrNormal);
  grid.Put(0, -2, "xyz", kAttrNormal);
  EXPECT_EQ(grid.ToText(), "z    abc\na b?\n");
}

TEST(ScreenGrid, TextFormBracketsTheMarkAndInsertsTheCaret) {
  CScreenGrid grid(20, 3);
  grid.Put(0, 2, "f(a, bb)", kAttrTip);
  grid.SetAttr(0, 7, 9, kAttrTipMark);
  grid.Put(1, 0, "x = f(", kAttrNormal);
  grid.SetCaret(1, 6);
  EXPECT_EQ(grid.ToText(), "  f(a, [bb])\nx = f(|\n\n");

  // A mark that reaches the row's end is closed there; a caret at the
  // first cell comes first.
  CScreenGrid edge(4, 1);
  edge.Put(0, 0, "ab", kAttrNormal);
  edge.Put(0, 2, "cd", kAttrTipMark);
  edge.SetCaret(0, 0);
  EXPECT_EQ(edge.ToText(), "|ab[cd]\n");
}

}  // namespace
