// The conversion steps the window and the converter share: source ranges at their bounds,
// pressure readings rounded to hundredths of a millibar, and result texts.
#include "core/conversion_steps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <cstring>

#include "core/unit_catalogues.h"
#include "core/vocabulary.h"

using namespace ruruzir;

namespace {

const MoistureModel kGoffGratch{Formulation::GoffGratch, EnhancementFactor::None};

double Above(double bound) {
  return std::nextafter(bound, std::numeric_limits<double>::infinity());
}
double Below(double bound) {
  return std::nextafter(bound, -std::numeric_limits<double>::infinity());
}

TEST(SourceRangeTest, BoundsAreIncludedAndTheNextNumberBeyondIsRefused) {
  struct Row {
    MoistureUnitCode unit;
    double low;
    double high;
  };
  const Row rows[] = {
      {MoistureUnitCode::DewFrostPointC, -140, 50},
      {MoistureUnitCode::DewFrostPointF, -220, 122},
      {MoistureUnitCode::PpmV, 0, 138670},
      {MoistureUnitCode::PpmWGas, 0, 138670},
      {MoistureUnitCode::LbsPerMmscf, 0, 5812},
      {MoistureUnitCode::GramsPerM3, 0, 93},
      {MoistureUnitCode::VapourPressureMbar, 0, 123.4},
      {MoistureUnitCode::PpmWLiquid, 0, 138670},
  };
  for (const Row& row : rows) {
    const int unit = Code(row.unit);
    SCOPED_TRACE(::testing::Message() << "unit " << unit);
    EXPECT_FALSE(IsOutsideSourceRange(unit, row.low));
    EXPECT_FALSE(IsOutsideSourceRange(unit, row.high));
    EXPECT_TRUE(IsOutsideSourceRange(unit, Below(row.low)));
    EXPECT_TRUE(IsOutsideSourceRange(unit, Above(row.high)));
    EXPECT_TRUE(IsOutsideSourceRange(unit, std::nan("")));
  }
  // Dew points over supercooled water and %RH accept every number.
  for (MoistureUnitCode unit : {MoistureUnitCode::DewPointC, MoistureUnitCode::DewPointF,
                                MoistureUnitCode::RelativeHumidity}) {
    EXPECT_FALSE(IsOutsideSourceRange(Code(unit), -1e30)) << Code(unit);
    EXPECT_FALSE(IsOutsideSourceRange(Code(unit), 1e30)) << Code(unit);
  }
}

// Readings become millibar in single precision, rounded to hundredths: the hundredths decide.
TEST(PressureReadingTest, MillibarAreRoundedToHundredths) {
  struct Row {
    PressureUnitCode unit;
    double reading;
    float millibar;  // worked out by hand from the unit's factor, then rounded
  };
  const Row rows[] = {
      {PressureUnitCode::Psi, 14.7, 1013.53f},     {PressureUnitCode::Psi, 14.696, 1013.25f},
      {PressureUnitCode::Psi, 1000, 68947.45f},    {PressureUnitCode::Psi, 100, 6894.74f},
      {PressureUnitCode::Atm, 1, 1013.25f},        {PressureUnitCode::Atm, 2.5, 2533.13f},
      {PressureUnitCode::Kpa, 101.3249, 1013.25f}, {PressureUnitCode::Kpa, 700, 7000.0f},
      {PressureUnitCode::Psig, 0, 1013.25f},       {PressureUnitCode::Psig, 100, 7908.01f},
      {PressureUnitCode::Bar, 7, 7000.0f},         {PressureUnitCode::Barg, 0, 1013.25f},
      {PressureUnitCode::Barg, 6, 7013.25f},       {PressureUnitCode::Mpa, 0.101325, 1013.25f},
      {PressureUnitCode::Pa, 101325, 1013.25f},    {PressureUnitCode::Pa, 1, 0.01f},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "unit " << Code(row.unit) << ", " << row.reading);
    EXPECT_EQ(PressureMbarFromReading(Code(row.unit), row.reading), row.millibar);
  }
  // Not given: one standard atmosphere in every unit.
  EXPECT_EQ(PressureMbarFromReading(Code(PressureUnitCode::Psig), NAN), 1013.25f);
  EXPECT_EQ(PressureMbarFromReading(Code(PressureUnitCode::Pa), NAN), 1013.25f);
  EXPECT_TRUE(std::isnan(PressureMbarFromReading(kConversionPressureUnitCount, 1013.25)));
  EXPECT_TRUE(std::isnan(PressureMbarFromReading(-1, 1013.25)));
}

// A gas has a pressure once the window holds one: 0.005 mbar is held in single precision as
// 0.0049999999, which rounds to 0. A full atmosphere below ambient is vacuum; no unit, no
// pressure.
TEST(PressureReadingTest, PossiblePressuresAreThoseTheWindowHolds) {
  const struct {
    int unit;
    double reading;
    bool possible;
  } rows[] = {
      {Code(PressureUnitCode::Mbar), 0.0051, true},
      {Code(PressureUnitCode::Mbar), 0.005, false},
      {Code(PressureUnitCode::Mbar), 0, false},
      {Code(PressureUnitCode::Kpa), 0.0006, true},
      {Code(PressureUnitCode::Psig), -14.69, true},
      {Code(PressureUnitCode::Psig), -14.696, false},
      {Code(PressureUnitCode::Atm), NAN, true},
      {Code(PressureUnitCode::Psi), -1, false},
      {Code(PressureUnitCode::Barg), -1.01325, false},
      {Code(PressureUnitCode::Barg), -1.0132, true},
      {Code(PressureUnitCode::Pa), 0.5, false},
      {kConversionPressureUnitCount, 1013.25, false},
      {-1, 1013.25, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(IsPossiblePressureReading(row.unit, row.reading), row.possible)
        << "unit " << row.unit << ", " << row.reading;
  }
}

std::string Result(MoistureUnitCode from, float value, float sourcePressure, MoistureUnitCode to,
                   float targetPressure, bool* sourceAnswered = nullptr) {
  const SideParameters side = DefaultSideParameters();
  char text[100];
  const ConversionOutcome outcome =
      ComposeResultText(Code(from), value, sourcePressure, side, Code(to), targetPressure, side,
                        kGoffGratch, text, sizeof text);
  if (sourceAnswered) *sourceAnswered = outcome != ConversionOutcome::NoSourceAnswer;
  return text;
}

// No water is an answer on the source side; as a dew point it has none.
TEST(ResultTextTest, ZeroSourceValue) {
  bool answered = false;
  EXPECT_EQ(Result(MoistureUnitCode::PpmV, 0, 1013.25f, MoistureUnitCode::PpmV, 7000, &answered),
            "0.0");
  EXPECT_TRUE(answered);
  EXPECT_EQ(Result(MoistureUnitCode::VapourPressureMbar, 0, 1013.25f,
                   MoistureUnitCode::DewFrostPointC, 1013.25f, &answered),
            "out of range");
  EXPECT_TRUE(answered);
  EXPECT_EQ(Result(MoistureUnitCode::DewFrostPointC, 0, 1013.25f, MoistureUnitCode::PpmV, 1013.25f),
            "6060.1");
}

// lb/MMSCF and g/m3 describe the gas at the source pressure: the target pressure changes
// nothing, while a dew point follows it.
TEST(ResultTextTest, ContentAndDensityTargetsUseTheSourcePressure) {
  for (MoistureUnitCode to : {MoistureUnitCode::LbsPerMmscf, MoistureUnitCode::GramsPerM3}) {
    SCOPED_TRACE(::testing::Message() << "unit " << Code(to));
    const std::string same = Result(MoistureUnitCode::DewFrostPointC, -20, 3000, to, 3000);
    EXPECT_EQ(Result(MoistureUnitCode::DewFrostPointC, -20, 3000, to, 1013.25f), same);
    EXPECT_EQ(Result(MoistureUnitCode::DewFrostPointC, -20, 3000, to, 20000), same);
    EXPECT_NE(Result(MoistureUnitCode::DewFrostPointC, -20, 1013.25f, to, 3000), same);
  }
  EXPECT_NE(
      Result(MoistureUnitCode::DewFrostPointC, -20, 3000, MoistureUnitCode::DewFrostPointC,
             1013.25f),
      Result(MoistureUnitCode::DewFrostPointC, -20, 3000, MoistureUnitCode::DewFrostPointC, 3000));
}

// The text is cut to its area, whatever it says; nothing is written beyond it.
TEST(ResultTextTest, TextAreaIsNeverOverrun) {
  struct Row {
    float vapourPressure;  // 1 mbar is 1e6 / 1012.25 = 987.9 ppmV; 2000 mbar, above the total, has
                           // no answer
    size_t size;
    const char* expected;  // a reading too long for the area is no reading
  };
  const Row rows[] = {
      {1, 1, ""},
      {1, 5, "out "},
      {1, 6, "987.9"},
      {2000, 5, "out "},
      {2000, 12, "out of rang"},
      {2000, 13, "out of range"},
  };
  const SideParameters side = DefaultSideParameters();
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.vapourPressure << " into " << row.size << " bytes");
    char area[32];
    std::memset(area, '#', sizeof area);
    ComposeResultText(Code(MoistureUnitCode::VapourPressureMbar), row.vapourPressure, 1013.25f,
                      side, Code(MoistureUnitCode::PpmV), 1013.25f, side, kGoffGratch, area,
                      row.size);
    area[sizeof area - 1] = '\0';
    EXPECT_STREQ(area, row.expected);
    for (size_t i = row.size; i + 1 < sizeof area; ++i) ASSERT_EQ(area[i], '#') << "byte " << i;
  }
}

}  // namespace
