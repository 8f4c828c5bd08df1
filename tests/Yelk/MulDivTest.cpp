#include "Yelk/MulDiv.h"

#include <gtest/gtest.h>

#include <climits>

TEST(MulDivTest, RoundsHalvesAwayFromZeroAndRefusesWhatDoesNotFit) {
  struct Case {
    int number, numerator, denominator, expected;
  };
  const Case cases[] = {
      {1, 1, 2, 1},      {-1, 1, 2, -1},   {1, -1, 2, -1},   {-1, -1, 2, 1},  {3, 1, 2, 2},
      {-3, 1, 2, -2},    {5, 1, 4, 1},     {-5, 1, 4, -1},   {7, 1, 4, 2},    {-7, 1, 4, -2},
      {1, 1, -2, -1},    {10, 10, 3, 33},  {100, 1, 3, 33},  {200, 1, 3, 67}, {0, 5, 7, 0},
      {5, 7, 0, -1},     {0, 0, 0, -1},    {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {INT_MAX, 2, 2, INT_MAX},            {INT_MAX, 2, 1, -1},
      {INT_MIN, 1, 1, INT_MIN},            {INT_MIN, 1, -1, -1},
      {INT_MIN, 2, 2, INT_MIN},            {65536, 65536, 4, 1073741824},
      {65536, 65536, 2, -1},               {-65536, 65536, 2, INT_MIN},
      {INT_MAX, INT_MAX, 1, -1},           {46341, 46341, 1, -1},
      {46340, 46340, 1, 2147395600},       {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
}
