// MulDiv: rounding of the 64-bit quotient and the failure value.
#include "Win32Base.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 3, 2), 2);     // 1.5
  EXPECT_EQ(MulDiv(-1, 3, 2), -2);   // -1.5
  EXPECT_EQ(MulDiv(1, -3, 2), -2);
  EXPECT_EQ(MulDiv(1, 3, -2), -2);   // a negative divisor negates the result
  EXPECT_EQ(MulDiv(-1, -3, -2), -2);
  EXPECT_EQ(MulDiv(-1, -3, 2), 2);
  EXPECT_EQ(MulDiv(5, 1, 2), 3);     // 2.5
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
}

TEST(MulDiv, RoundsToNearestOtherwise) {
  EXPECT_EQ(MulDiv(5, 1, 3), 2);     // 1.67
  EXPECT_EQ(MulDiv(4, 1, 3), 1);     // 1.33
  EXPECT_EQ(MulDiv(-4, 1, 3), -1);
  EXPECT_EQ(MulDiv(-5, 1, 3), -2);
  EXPECT_EQ(MulDiv(10, 96, 72), 13);   // 13.33: a 10-point font at 96 dpi
  EXPECT_EQ(MulDiv(-11, 96, 72), -15); // -14.67
  EXPECT_EQ(MulDiv(-12, 96, 72), -16);
  EXPECT_EQ(MulDiv(0, 5, -7), 0);
}

TEST(MulDiv, KeepsTheProductInSixtyFourBits) {
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
  EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
}

TEST(MulDiv, FailsWithMinusOne) {
  EXPECT_EQ(MulDiv(12, 34, 0), -1);
  EXPECT_EQ(MulDiv(0, 0, 0), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);   // does not fit
  EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);
}

}  // namespace
