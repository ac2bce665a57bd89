// Reading numbers from typed and stored texts, the same on every C runtime.
#include "core/number_text.h"
#include "physics/rounding.h"

#include <gtest/gtest.h>

#include <string>

#include <cfloat>
#include <climits>
#include <cmath>

using namespace ruruzir;

namespace {

struct ParseRow {
  const char* text;
  double value;
};

TEST(ParseNumberTest, LeadingNumberOrZero) {
  const ParseRow rows[] = {
      {"12abc", 12},
      {"abc", 0},
      {"  -1.5e2x", -150},
      {"1.5d2", 1.5},  // no "d" exponents
      {"inf", 0},
      {"nan", 0},
      {"-inf", 0},
      {"0x10", 0},  // the leading 0 is read, the x ends the number
      {".", 0},
      {"-", 0},
      {"+", 0},
      {"", 0},
      {"1e", 1},
      {"1e+", 1},
      {"1E-", 1},
      {"+.5", 0.5},
      {"5.", 5},
      {".25", 0.25},
      {"-.e5", 0},
      {"enter new val", 0},
      {"N/A", 0},
      {"out of range", 0},
      {"1,5", 1.5},  // a decimal comma
      {"1013.25", 1013.25},
      {"-40.", -40},
      {"1.3867e+005", 138670},
      {"5.e-002", 0.05},
      {"1.E3", 1000},
      {"  +7", 7},
      {"1e-400", 0},
      {"00012.50", 12.5},
      {"- 5", 0},
  };
  for (const ParseRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "\"" << row.text << "\"");
    EXPECT_DOUBLE_EQ(ParseNumber(row.text), row.value);
  }
}

// Typed texts read a comma where the point could stand as the point; the settings texts and
// the converter (ScanNumber) end the number at any comma.
TEST(ScanTypedNumberTest, ACommaIsAPointOnlyWhereAPointCouldStand) {
  struct Row {
    const char* text;
    double typed;
    int typedLength;  // -1: no number
    double plain;
    int plainLength;
  };
  const Row rows[] = {
      {"7,5", 7.5, 3, 7, 1},        {"7,5,0", 7.5, 3, 7, 1},     {"7.5,3", 7.5, 3, 7.5, 3},
      {",5", 0.5, 2, 0, -1},        {"-1,5e2x", -150, 6, -1, 2}, {"12,", 12, 3, 12, 2},
      {"1e5,3", 1e5, 3, 1e5, 3},    {"1 ,5", 1, 1, 1, 1},        {",", 0, -1, 0, -1},
      {"  +0,125", 0.125, 8, 0, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "\"" << row.text << "\"");
    double typed = -99;
    const char* typedEnd = ScanTypedNumber(row.text, &typed);
    EXPECT_EQ(typedEnd ? typedEnd - row.text : -1, row.typedLength);
    if (typedEnd) {
      EXPECT_EQ(typed, row.typed);
    }
    EXPECT_EQ(ParseNumber(row.text), row.typed);
    double plain = -99;
    const char* plainEnd = ScanNumber(row.text, &plain);
    EXPECT_EQ(plainEnd ? plainEnd - row.text : -1, row.plainLength);
    if (plainEnd) {
      EXPECT_EQ(plain, row.plain);
    }
  }
}

TEST(ParseNumberTest, DecimalTextsReadAsTheNearestDouble) {
  EXPECT_EQ(ParseNumber("0.1"), 0.1);
  EXPECT_EQ(ParseNumber("1013.25"), 1013.25);
  EXPECT_EQ(ParseNumber("123.456"), 123.456);
  EXPECT_EQ(ParseNumber("14.696"), 14.696);
  EXPECT_EQ(ParseNumber("-0.0000004"), -0.0000004);
}

// Texts with more digits than a double holds still read as the nearest double, also where
// a digit far behind the point decides between two neighbours.
TEST(ParseNumberTest, LongDigitStringsRoundCorrectly) {
  // Just above the midpoint between 1 and the next double: rounds up.
  EXPECT_EQ(ParseNumber("1.000000000000000111022302462515654042363166809082031250000001"),
            1.0000000000000002);
  // Exactly the midpoint: ties to even, down to 1.
  EXPECT_EQ(ParseNumber("1.00000000000000011102230246251565404236316680908203125"), 1.0);
  // The deciding digit behind 900 zeros.
  const std::string aboveHalf = "0.5" + std::string(900, '0') + "1";
  EXPECT_EQ(ParseNumber(aboveHalf.c_str()), 0.5);
  const std::string midpoint =
      "1.00000000000000011102230246251565404236316680908203125" + std::string(900, '0') + "1";
  EXPECT_EQ(ParseNumber(midpoint.c_str()), 1.0000000000000002);
  const std::string scaled = "1" + std::string(900, '0') + "e-900";
  EXPECT_EQ(ParseNumber(scaled.c_str()), 1.0);
}

TEST(ParseNumberTest, ExponentBeyondTheDoubleRange) {
  const double value = ParseNumber("1e999");
  EXPECT_GT(value, 1e308);
  EXPECT_LT(ParseNumber("-1e999"), -1e308);
}

struct ScanRow {
  const char* text;
  bool found;
  double value;
  int consumed;  // characters up to the end of the number
};

// A minus zero keeps its sign.
TEST(ScanNumberTest, MinusZeroIsNegative) {
  for (const char* text : {"-0", "-0.000", "  -0e5", "-.0"}) {
    double value = 1;
    ASSERT_NE(ScanNumber(text, &value), nullptr) << text;
    EXPECT_EQ(value, 0.0) << text;
    EXPECT_TRUE(std::signbit(value)) << text;
  }
  double value = -1;
  ASSERT_NE(ScanNumber("+0", &value), nullptr);
  EXPECT_FALSE(std::signbit(value));
}

TEST(ScanNumberTest, ReportsWhereTheNumberEnds) {
  const ScanRow rows[] = {
      {"12abc", true, 12, 2},     {"  -1.5e2x", true, -150, 8}, {"1e", true, 1, 1},
      {"1e+", true, 1, 1},        {"+.5", true, 0.5, 3},        {"5.", true, 5, 2},
      {"1,5,4", true, 1, 1},      {"0x10", true, 0, 1},         {"1.5d2", true, 1.5, 3},
      {"-40,0", true, -40, 3},    {"7 ", true, 7, 1},           {"abc", false, 0, 0},
      {".", false, 0, 0},         {"-", false, 0, 0},           {"", false, 0, 0},
      {"   ", false, 0, 0},       {"inf", false, 0, 0},         {"nan", false, 0, 0},
      {"e5", false, 0, 0},        {"+-1", false, 0, 0},         {"\t-7.5", true, -7.5, 5},
      {"\n\v\f\r 3", true, 3, 6}, {"1.2.3", true, 1.2, 3},
  };
  for (const ScanRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "\"" << row.text << "\"");
    double value = -777;
    const char* end = ScanNumber(row.text, &value);
    if (row.found) {
      ASSERT_NE(end, nullptr);
      EXPECT_EQ(end - row.text, row.consumed);
      EXPECT_DOUBLE_EQ(value, row.value);
    } else {
      EXPECT_EQ(end, nullptr);
      EXPECT_EQ(value, -777);  // untouched
    }
  }
}

struct IntegerRow {
  const char* text;
  bool found;
  int value;
  int consumed;
};

TEST(ScanIntegerTest, SignedDecimalsSaturate) {
  const IntegerRow rows[] = {
      {"1019,1022", true, 1019, 4},
      {" 42,", true, 42, 3},
      {"+7", true, 7, 2},
      {"-0", true, 0, 2},
      {"3.7", true, 3, 1},
      {"-12x", true, -12, 3},
      {"2147483647", true, INT_MAX, 10},
      {"2147483648", true, INT_MAX, 10},
      {"99999999999", true, INT_MAX, 11},
      {"-2147483648", true, INT_MIN, 11},
      {"-99999999999", true, INT_MIN, 12},
      {"123456789012345678901234567890", true, INT_MAX, 30},
      {"-123456789012345678901234567890", true, INT_MIN, 31},
      {"000123", true, 123, 6},
      {"abc", false, 0, 0},
      {"-", false, 0, 0},
      {"", false, 0, 0},
      {".5", false, 0, 0},
      {"- 5", false, 0, 0},
  };
  for (const IntegerRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "\"" << row.text << "\"");
    int value = -777;
    const char* end = ScanInteger(row.text, &value);
    if (row.found) {
      ASSERT_NE(end, nullptr);
      EXPECT_EQ(end - row.text, row.consumed);
      EXPECT_EQ(value, row.value);
    } else {
      EXPECT_EQ(end, nullptr);
      EXPECT_EQ(value, -777);
    }
  }
}

// Single precision rounds to nearest; from halfway past the largest float on, a cast gives an
// infinity, and so does ToSingle.
TEST(ToSingleTest, RoundsToNearestAndOverflowsAtTheHalfwayPoint) {
  struct Row {
    double value;
    float expected;
  };
  const double halfway = 3.4028235677973366e38;
  const Row rows[] = {
      {halfway, HUGE_VALF},
      {-halfway, -HUGE_VALF},
      {std::nextafter(halfway, 0.0), FLT_MAX},
      {-std::nextafter(halfway, 0.0), -FLT_MAX},
      {1e300, HUGE_VALF},
      {0.1, 0.1f},
      {-40.0, -40.0f},
      {1e-50, 0.0f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << ::testing::PrintToString(row.value));
    EXPECT_EQ(ToSingle(row.value), row.expected);
  }
}

}  // namespace
