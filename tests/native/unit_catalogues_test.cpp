// The moisture and pressure unit catalogues and the two pressure conversion rules.
#include "core/unit_catalogues.h"

#include <gtest/gtest.h>

#include "physics/rounding.h"
#include "tests/expected_unit_texts.h"

#include <cstring>
#include <string>

#include "physics/dew_point_solver.h"

using namespace ruruzir;

namespace {

TEST(UnitCataloguesTest, MoistureItemTextsAreByteExact) {
  for (int code = 0; code < kMoistureUnitCount; ++code) {
    SCOPED_TRACE(::testing::Message() << "code " << code);
    const std::string actual(MoistureUnits[code].itemText);
    EXPECT_EQ(actual, std::string(kExpectedMoistureItemTexts[code]));
    EXPECT_LT(actual.size(), sizeof MoistureUnits[code].itemText);
  }
}

// Each named code is the row whose text names that unit.
TEST(UnitCataloguesTest, CodesNameTheRows) {
  const struct {
    MoistureUnitCode unit;
    const char* begins;
  } moisture[] = {
      {MoistureUnitCode::DewFrostPointC,
       "\xB0"
       "C  ...  dew/frost"},
      {MoistureUnitCode::DewPointC,
       "\xB0"
       "C  ...  dewpoint (no ice)"},
      {MoistureUnitCode::DewFrostPointF,
       "\xB0"
       "F  ...  dew/frost"},
      {MoistureUnitCode::DewPointF,
       "\xB0"
       "F  ...  dewpoint (no ice)"},
      {MoistureUnitCode::PpmV, "ppmV"},
      {MoistureUnitCode::PpmWGas, "ppmW(mol/mol)"},
      {MoistureUnitCode::LbsPerMmscf, "lbs H2O"},
      {MoistureUnitCode::GramsPerM3, "grams H2O"},
      {MoistureUnitCode::VapourPressureMbar, "mb  ..."},
      {MoistureUnitCode::RelativeHumidity, "%RH"},
      {MoistureUnitCode::PpmWLiquid, "ppmW(\xB5g/g)"},
  };
  for (const auto& row : moisture) {
    const std::string text = MoistureUnits[Code(row.unit)].itemText;
    EXPECT_EQ(text.compare(0, std::strlen(row.begins), row.begins), 0) << text;
  }
  const struct {
    PressureUnitCode unit;
    const char* name;
  } pressure[] = {{PressureUnitCode::Mbar, "mBAR"},
                  {PressureUnitCode::Psi, "PSI"},
                  {PressureUnitCode::Psig, "PSIG"},
                  {PressureUnitCode::Atm, "ATM"},
                  {PressureUnitCode::Kpa, "kPa"}};
  for (const auto& row : pressure) EXPECT_STREQ(PressureUnits[Code(row.unit)].name, row.name);
}

TEST(UnitCataloguesTest, ParameterisedUnitsAndCaptions) {
  struct Row {
    int code;
    bool parameterised;
    const char* caption;
  };
  const Row rows[] = {
      {0, false, kExpectedMoistureItemTexts[0]},
      {1, false, kExpectedMoistureItemTexts[1]},
      {2, false, kExpectedMoistureItemTexts[2]},
      {3, false, kExpectedMoistureItemTexts[3]},
      {4, false, kExpectedMoistureItemTexts[4]},
      {5, true, "ppmW(mol/mol)  ...  parts per million by weight"},
      {6, false, kExpectedMoistureItemTexts[6]},
      {7, true, "grams H2O per meter\xB3... vapor density"},
      {8, false, kExpectedMoistureItemTexts[8]},
      {9, true, "%RH  ...  percent Relative Humidity"},
      {10, true, "ppmW(\xB5g/g)  ...  parts per million by weight"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "code " << row.code);
    EXPECT_EQ(IsParameterisedUnit(row.code), row.parameterised);
    EXPECT_EQ(CaptionLength(row.code), static_cast<int>(std::strlen(row.caption)));
    EXPECT_EQ(std::string(MoistureUnits[row.code].itemText, CaptionLength(row.code)),
              std::string(row.caption));
    EXPECT_EQ(std::strchr(MoistureUnits[row.code].itemText, '|') != nullptr, row.parameterised);
  }
  EXPECT_EQ(CaptionLength(Code(MoistureUnitCode::PpmWGas)), 47);  // the longest caption
  for (int code : {-1, 11, 100}) EXPECT_FALSE(IsParameterisedUnit(code)) << code;
}

TEST(UnitCataloguesTest, CodeRangeChecks) {
  for (int code = -3; code < 15; ++code) {
    EXPECT_EQ(IsMoistureUnitCode(code), code >= 0 && code <= 10) << code;
    EXPECT_EQ(IsPressureUnitCode(code), code >= 0 && code <= 4) << code;
  }
}

struct ConversionRow {
  int code;
  double reading;
  double millibar;
  double tolerance;  // half a unit of the last digit shown
};

TEST(UnitCataloguesTest, ReadingsToMillibar) {
  const ConversionRow rows[] = {
      {Code(PressureUnitCode::Psig), 0, 1013.25, 0},
      {Code(PressureUnitCode::Psi), 0, 0, 0},
      {Code(PressureUnitCode::Psi), 14.5038, 999.99998, 0.000005},
      {Code(PressureUnitCode::Atm), 1, 1013.2534, 0.00005},
      {Code(PressureUnitCode::Kpa), 100, 999.99999, 0.000005},
      {Code(PressureUnitCode::Mbar), 1013.25, 1013.25, 0},
      {Code(PressureUnitCode::Mbar), -3.5, -3.5, 0},
  };
  for (const ConversionRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "code " << row.code << ", reading " << row.reading);
    EXPECT_NEAR(PressureToMbar(row.code, row.reading), row.millibar, row.tolerance * (1 + 1e-9));
  }
}

TEST(UnitCataloguesTest, MillibarToReadings) {
  const ConversionRow rows[] = {
      {Code(PressureUnitCode::Atm), 0.9999967, 1013.25, 0.00000005},
      {Code(PressureUnitCode::Psig), 0, 1013.25, 0},
      {Code(PressureUnitCode::Psi), 0, 0, 0},
      {Code(PressureUnitCode::Mbar), 1013.25, 1013.25, 0},
  };
  for (const ConversionRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "code " << row.code << ", mbar " << row.millibar);
    EXPECT_NEAR(MbarToPressure(row.code, row.millibar), row.reading, row.tolerance * (1 + 1e-9));
  }
}

TEST(UnitCataloguesTest, StandardAtmosphereInEveryUnitAfterRounding) {
  // A pressure re-expressed in a new unit is rounded to thousandths.
  struct Row {
    int code;
    double shown;
  };
  const Row rows[] = {{Code(PressureUnitCode::Mbar), 1013.25},
                      {Code(PressureUnitCode::Psi), 14.696},
                      {Code(PressureUnitCode::Psig), 0},
                      {Code(PressureUnitCode::Atm), 1},
                      {Code(PressureUnitCode::Kpa), 101.325}};
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "code " << row.code);
    const float reading = static_cast<float>(MbarToPressure(row.code, 1013.25));
    EXPECT_NEAR(RoundDecimal(reading, -3), row.shown, 1e-9);
    // And back: the reading shown converts to 1013.25 mbar at hundredths.
    const float millibar = static_cast<float>(PressureToMbar(row.code, row.shown));
    EXPECT_NEAR(RoundDecimal(millibar, -2), 1013.25, 1e-9);
  }
  EXPECT_NEAR(RoundDecimal(static_cast<float>(MbarToPressure(Code(PressureUnitCode::Atm), 1)), -3),
              0.001, 1e-12);
}

TEST(UnitCataloguesTest, RulesAreInverse) {
  for (int code = 0; code < kPressureUnitCount; ++code) {
    for (double millibar : {0.0, 1.0, 1013.25, 2000.0, 123456.0}) {
      SCOPED_TRACE(::testing::Message() << "code " << code << ", mbar " << millibar);
      EXPECT_NEAR(PressureToMbar(code, MbarToPressure(code, millibar)), millibar,
                  1e-9 * (1 + millibar));
    }
  }
}

}  // namespace
