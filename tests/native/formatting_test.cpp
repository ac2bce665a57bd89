// Significant-digit formatting of edit-box numbers and the result formatting by unit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/number_text.h"
#include "core/reading_format.h"
#include "core/significant_format.h"

using namespace ruruzir;

namespace {

constexpr char kGuard = '\x5A';
constexpr size_t kGuardBytes = 16;

// A text area of `size` bytes followed by guard bytes that must stay untouched.
struct GuardedArea {
  explicit GuardedArea(size_t size) : size(size) { std::memset(bytes, kGuard, sizeof bytes); }
  char* text() { return bytes; }
  bool GuardIntact() const {
    for (size_t i = size; i < size + kGuardBytes; ++i) {
      if (bytes[i] != kGuard) return false;
    }
    return true;
  }
  bool Terminated() const { return size > 0 && std::memchr(bytes, '\0', size) != nullptr; }
  size_t size;
  char bytes[128 + kGuardBytes];
};

std::string Significant(double value, int digits) {
  GuardedArea area(100);
  FormatSignificant(value, digits, area.text(), area.size);
  EXPECT_TRUE(area.GuardIntact());
  EXPECT_TRUE(area.Terminated());
  return area.text();
}

std::string Reading(int unit, double value) {
  GuardedArea area(100);
  FormatReading(unit, area.text(), area.size, value);
  EXPECT_TRUE(area.GuardIntact());
  EXPECT_TRUE(area.Terminated());
  return area.text();
}

struct SignificantRow {
  double value;
  int digits;
  const char* text;
};

TEST(FormatSignificantTest, Examples) {
  const SignificantRow rows[] = {
      {0, 5, "0."},
      {20, 5, "20."},
      {-40, 5, "-40."},
      {123.456, 5, "123.46"},
      {138670, 5, "1.3867e+005"},
      {0.05, 5, "5.e-002"},
      {0.5, 5, "0.5"},
      {12340, 5, "12340"},
      {0.00123, 5, "1.23e-003"},
      {1013.25, 6, "1013.25"},
      {14.696, 7, "14.696"},
      {0.001, 7, "1.e-003"},
      {static_cast<double>(1.9f), 7, "1.9"},
  };
  for (const SignificantRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.value << " to " << row.digits << " digits");
    EXPECT_EQ(Significant(row.value, row.digits), row.text);
  }
}

TEST(FormatSignificantTest, FormAndCarry) {
  const SignificantRow rows[] = {
      // Exactly 10^N switches to exponent form; N integer digits are written without point.
      {100000, 5, "1.e+005"},
      {99999, 5, "99999"},
      {99999.6, 5, "100000"},  // the carry adds an integer digit, the form stays fixed
      {9.99996, 5, "10."},
      {0.999996, 5, "1."},
      {9999.96, 5, "10000."},
      {12345.6, 5, "12346"},
      {1234.56, 5, "1234.6"},
      // Exponent form is kept after a carry raises the exponent.
      {0.0999996, 5, "1.e-001"},
      {0.099999, 5, "9.9999e-002"},
      {0.09, 5, "9.e-002"},
      {0.1, 5, "0.1"},
      {1e300, 5, "1.e+300"},
      {1e-300, 5, "1.e-300"},
      {2.5e-308, 6, "2.5e-308"},
      // Values held in single precision, as the pressure fields write them.
      {static_cast<double>(14.696f), 7, "14.696"},
      {static_cast<double>(101.325f), 7, "101.325"},
      {static_cast<double>(1.0f), 7, "1."},
      {static_cast<double>(0.001f), 7, "1.e-003"},
      {static_cast<double>(14.7f), 6, "14.7"},
  };
  for (const SignificantRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.value << " to " << row.digits << " digits");
    EXPECT_EQ(Significant(row.value, row.digits), row.text);
  }
}

TEST(FormatSignificantTest, NegativeValues) {
  const SignificantRow rows[] = {
      {-123.456, 5, "-123.46"},    {-0.05, 5, "-5.e-002"},    {-138670, 5, "-1.3867e+005"},
      {-99999.6, 5, "-100000"},    {-0.5, 5, "-0.5"},         {-9.99996, 5, "-10."},
      {-0.0999996, 5, "-1.e-001"}, {-1013.25, 6, "-1013.25"},
  };
  for (const SignificantRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.value << " to " << row.digits << " digits");
    EXPECT_EQ(Significant(row.value, row.digits), row.text);
  }
}

TEST(FormatSignificantTest, RoundsTheSeventeenDigitStringHalvesUp) {
  // Exact binary halves round up (a printf conversion would round them to even).
  const SignificantRow rows[] = {
      {0.125, 2, "0.13"},       {2.5, 1, "3"}, {0.25, 1, "0.3"}, {0.1, 17, "0.10000000000000001"},
      {1013.25, 17, "1013.25"},
  };
  for (const SignificantRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.value << " to " << row.digits << " digits");
    EXPECT_EQ(Significant(row.value, row.digits), row.text);
  }
}

TEST(FormatSignificantTest, DigitCountIsClampedToOneThroughSeventeen) {
  const double values[] = {123.456, 5, 0.5, 138670, 0.1};
  for (double value : values) {
    SCOPED_TRACE(::testing::Message() << value);
    EXPECT_EQ(Significant(value, 0), Significant(value, 1));
    EXPECT_EQ(Significant(value, -5), Significant(value, 1));
    EXPECT_EQ(Significant(value, 30), Significant(value, 17));
  }
  EXPECT_EQ(Significant(123.456, 1), "1.e+002");
  EXPECT_EQ(Significant(5, 1), "5");
}

TEST(FormatSignificantTest, OutputsParseBackToTheRoundedValue) {
  const double values[] = {0, 20, -40, 123.456, 138670, 0.05, 0.00123, 1013.25, 99999.6, 1e-20};
  for (double value : values) {
    for (int digits : {5, 6, 7}) {
      SCOPED_TRACE(::testing::Message() << value << " to " << digits << " digits");
      const std::string text = Significant(value, digits);
      double parsed = -1;
      const char* end = ScanNumber(text.c_str(), &parsed);
      ASSERT_NE(end, nullptr);
      EXPECT_EQ(*end, '\0');
      EXPECT_NEAR(parsed, value, std::fabs(value) * 0.5 * std::pow(10.0, 1 - digits));
    }
  }
}

TEST(FormatSignificantTest, NonFiniteValuesGiveTheNotANumberText) {
  const double values[] = {std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
  for (double value : values) {
    SCOPED_TRACE(::testing::Message() << value);
    EXPECT_EQ(Significant(value, 5), kNotANumberText);
    EXPECT_EQ(Significant(value, 7), kNotANumberText);
  }
  ASSERT_GT(std::strlen(kNotANumberText), 0u);
  EXPECT_LT(std::strlen(kNotANumberText), 15u);  // fits the edit box read
  double parsed = 12345;
  EXPECT_EQ(ScanNumber(kNotANumberText, &parsed), nullptr);
  EXPECT_EQ(parsed, 12345);
}

TEST(FormatSignificantTest, SmallAreasAreNeverOverrun) {
  const double values[] = {138670, -0.0999996, 0, 1e300, std::numeric_limits<double>::quiet_NaN()};
  const size_t sizes[] = {1, 2, 4, 7, 11};
  for (double value : values) {
    for (size_t size : sizes) {
      SCOPED_TRACE(::testing::Message() << value << " into " << size << " bytes");
      GuardedArea area(size);
      FormatSignificant(value, 5, area.text(), area.size);
      EXPECT_TRUE(area.GuardIntact());
      EXPECT_TRUE(area.Terminated());
    }
  }
  GuardedArea empty(0);
  FormatSignificant(138670, 5, empty.text(), 0);
  EXPECT_TRUE(empty.GuardIntact());
  // An area that just holds the text gets all of it.
  GuardedArea exact(12);
  FormatSignificant(138670, 5, exact.text(), exact.size);
  EXPECT_STREQ(exact.text(), "1.3867e+005");
  EXPECT_TRUE(exact.GuardIntact());
}

struct ReadingRow {
  int unit;
  double value;
  const char* text;
};

TEST(FormatReadingTest, Examples) {
  const ReadingRow rows[] = {
      {4, 6060.0517578125, "6060.1"},
      {4, 100, "100.0"},
      {4, 0, "0.0"},
      {8, 0.05, "0.050"},
      {6, 0.5, "0.50"},
      {0, -40, "-40.0"},
      {9, 26.129114, "26.13"},
      {4, -5.5, "-5.50"},
      {8, 6.1029, "6.103"},
  };
  for (const ReadingRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "unit " << row.unit << ", " << row.value);
    EXPECT_EQ(Reading(row.unit, row.value), row.text);
  }
}

TEST(FormatReadingTest, MagnitudeThresholdsAreStrict) {
  const ReadingRow rows[] = {
      {4, 100.01, "100.0"},
      {4, 100, "100.0"},
      {4, 12345.678, "12345.7"},
      {4, 2000, "2000.0"},
      {4, 10.5, "10.50"},
      {4, 10, "10.0"},
      {4, 1.5, "1.50"},
      {4, 1, "1.0"},
      {4, 0.5, "0.50"},
      {4, 0.1, "0.10"},
      {4, 0.05, "0.050"},
      {4, 0.01, "0.010"},
      {4, 0.005, "0.0050"},
      {4, 0.001, "0.0010"},
      {4, 0.0005, "0.00050"},
      {4, 0.0001, "0.00010"},
      {4, 0.00001234, "0.00001234"},
      {4, 0.000012, "0.0000120"},
      {4, 1e20, "100000000000000000000.0"},
      {6, 239.26638, "239.3"},
      {7, 3.8326773, "3.833"},
      {5, 5625, "5625.0"},
      {10, 43.352985, "43.35"},
      {11, 6060.0517578125, "6060.1"},
      {-1, 0.5, "0.50"},
  };
  for (const ReadingRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "unit " << row.unit << ", " << row.value);
    EXPECT_EQ(Reading(row.unit, row.value), row.text);
  }
}

TEST(FormatReadingTest, DewPointUnitsAndRelativeHumidityIgnoreMagnitude) {
  const ReadingRow rows[] = {
      {0, 0, "0.0"},        {1, -0.04, "-0.0"},     {2, 27.68, "27.7"},     {3, 1234.56, "1234.6"},
      {3, 0.06, "0.1"},     {1, -139.9, "-139.9"},  {2, 0.001, "0.0"},      {9, 0, "0.0"},
      {9, 150.5, "150.50"}, {9, -3.14159, "-3.14"}, {9, 1234.5, "1234.50"}, {9, 0.001, "0.0"},
      {9, 100, "100.0"},
  };
  for (const ReadingRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "unit " << row.unit << ", " << row.value);
    EXPECT_EQ(Reading(row.unit, row.value), row.text);
  }
}

TEST(FormatReadingTest, NegativeValuesUseEightDecimals) {
  const ReadingRow rows[] = {
      {4, -5.5, "-5.50"},         {4, -1000, "-1000.0"}, {10, -0.000123, "-0.0001230"},
      {8, -123.456, "-123.4560"}, {4, -0.0, "-0.0"},     {6, -1e-9, "-0.0"},
  };
  for (const ReadingRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "unit " << row.unit << ", " << row.value);
    EXPECT_EQ(Reading(row.unit, row.value), row.text);
  }
}

TEST(FormatReadingTest, UnprintableValuesAreOutOfRange) {
  EXPECT_STREQ(kOutOfRangeText, "out of range");
  const double values[] = {1e300,
                           -1e300,
                           std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::max()};
  for (int unit : {0, 3, 4, 9, 10}) {
    for (double value : values) {
      SCOPED_TRACE(::testing::Message() << "unit " << unit << ", " << value);
      EXPECT_EQ(Reading(unit, value), kOutOfRangeText);
      GuardedArea area(16);
      FormatReading(unit, area.text(), area.size, value);
      EXPECT_STREQ(area.text(), kOutOfRangeText);
      EXPECT_TRUE(area.GuardIntact());
    }
  }
}

TEST(FormatReadingTest, SmallAreasAreNeverOverrun) {
  const double values[] = {6060.0517578125, -5.5, 0, 1e300};
  for (double value : values) {
    for (size_t size : {1u, 2u, 5u, 8u}) {
      SCOPED_TRACE(::testing::Message() << value << " into " << size << " bytes");
      GuardedArea area(size);
      FormatReading(4, area.text(), area.size, value);
      EXPECT_TRUE(area.GuardIntact());
      EXPECT_TRUE(area.Terminated());
    }
  }
}

}  // namespace
