// Every moisture unit into and out of ppmV.
#include "physics/unit_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "tests/native/model_names.h"
#include "core/calculator_values.h"
#include "core/conversion_steps.h"
#include "core/unit_catalogues.h"
#include "core/vocabulary.h"
#include "physics/composition.h"

using namespace ruruzir;

namespace {

// The model the test has chosen with Use() (none: options 0 and 0, Magnus without a factor).
MoistureModel model = MoistureModel{Formulation::Magnus, EnhancementFactor::None};

class UnitConversionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model = MoistureModel{Formulation::Magnus, EnhancementFactor::None};
    Use(Formulation::GoffGratch, EnhancementFactor::Greenspan);
  }
  void Use(Formulation formulation, EnhancementFactor factor) { model = {formulation, factor}; }
};

// One side's parameters as the conversions take them.
struct Side {
  double ambient;
  double molecularWeight;
  double henry;
  double prevailing;
  int medium;
};

SideParameters Parameters(const Side& side) {
  return {side.ambient, side.molecularWeight, side.henry, side.prevailing,
          DensityMediumFromChoice(side.medium)};
}

double To(int unit, double value, double pressure, const Side& side) {
  return ToPpmV(static_cast<MoistureUnitCode>(unit), value, pressure, Parameters(side), model);
}

double From(int unit, double ppmV, double pressure, const Side& side, double reference,
            DewPointPrecision precision = DewPointPrecision::Tenths) {
  return FromPpmV(static_cast<MoistureUnitCode>(unit), ppmV, pressure, Parameters(side), reference,
                  model, precision);
}

struct FromRow {
  int unit;
  double atLowPressure;   // at 1013.25 mbar, M 16, K 8.6, Ta 25, Tp 15.6, medium 1030
  double atHighPressure;  // at 2000 mbar, M 28, K 1.9, Ta 30, Tp 20, medium 1029
  double tolerance;       // half a unit of the last digit shown
};

TEST_F(UnitConversionTest, FromPpmVReferenceTable) {
  const Side low{25, 16, 8.6, 15.6, kMediumNaturalGas};
  const Side high{30, 28, 1.9, 20, kMediumAir};
  const FromRow rows[] = {
      {0, -2.4, 6.8, 1e-9},
      {1, -2.6, 6.8, 1e-9},
      {2, 27.68, 44.24, 1e-9},
      {3, 27.32, 44.24, 1e-9},
      {4, 5000, 5000, 0},
      {5, 5625, 3214.2857, 0.00005},
      {6, 239.26638, 239.26638, 0.000005},
      {7, 3.8326773, 5.5239562, 0.00000005},
      {8, 5.0410448, 9.9502488, 0.00000005},
      {9, 15.861272, 23.301428, 0.0000005},
      {10, 43.352985, 18.905473, 0.0000005},
      {11, 1013.25, 2000, 0},
  };
  for (const FromRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "unit " << row.unit);
    EXPECT_NEAR(From(row.unit, 5000, 1013.25, low, 1500), row.atLowPressure,
                row.tolerance * (1 + 1e-9));
    EXPECT_NEAR(From(row.unit, 5000, 2000, high, 1500), row.atHighPressure,
                row.tolerance * (1 + 1e-9));
  }
}

struct ToRow {
  int unit;
  double value;
  double pressure;
  double molecularWeight;
  double expected;
  double tolerance;
};

TEST_F(UnitConversionTest, ToPpmVReferenceValues) {
  const ToRow rows[] = {
      {0, -20, 1013.25, 29, 1022.6195, 0.00005},
      {1, -20, 1013.25, 29, 1243.2890, 0.00005},
      {5, 10, 1013.25, 28, 15.555556, 0.0000005},
      {5, 10, 50000, 28, 15.555556, 0.0000005},  // the pressure is not used
      {8, 10, 2000, 29, 5025.1256, 0.00005},
      {4, 1234.5, 7000, 29, 1234.5, 0},
  };
  for (const ToRow& row : rows) {
    SCOPED_TRACE(::testing::Message() << "unit " << row.unit << ", x " << row.value);
    const Side side{20, row.molecularWeight, 1.9, 20, kMediumNaturalGas};
    EXPECT_NEAR(To(row.unit, row.value, row.pressure, side), row.expected,
                row.tolerance * (1 + 1e-9));
  }
}

TEST_F(UnitConversionTest, NoSolutionCases) {
  const Side side{20, 29, 1.9, 20, kMediumNaturalGas};
  // Natural gas above about 395600 mbar, and more water than pure vapour at the pressure.
  EXPECT_EQ(To(Code(MoistureUnitCode::LbsPerMmscf), 40, 500000, side), NO_SOLUTION);
  EXPECT_EQ(To(Code(MoistureUnitCode::GramsPerM3), 0.3, 500000, side), NO_SOLUTION);
  EXPECT_EQ(To(Code(MoistureUnitCode::LbsPerMmscf), 1e6, 1013.25, side), NO_SOLUTION);
  // A ppmV whose dew point lies above +60 degC: no temperature in degF either.
  const double wet = PpmVFromPressure(250, 1013.25);
  for (int unit : {Code(MoistureUnitCode::DewFrostPointC), Code(MoistureUnitCode::DewPointC),
                   Code(MoistureUnitCode::DewFrostPointF), Code(MoistureUnitCode::DewPointF)}) {
    SCOPED_TRACE(::testing::Message() << "unit " << unit);
    EXPECT_EQ(From(unit, wet, 1013.25, side, 1013.25), NO_SOLUTION);
    EXPECT_EQ(From(unit, 0.0, 1013.25, side, 1013.25), NO_SOLUTION);
    EXPECT_EQ(From(unit, -5.0, 1013.25, side, 1013.25), NO_SOLUTION);
  }
}

TEST_F(UnitConversionTest, IndexOutsideTheCatalogueReturnsTheTotalPressure) {
  const Side side{20, 29, 1.9, 20, kMediumNaturalGas};
  for (int unit : {-1, 11, 12, 1000, -1000}) {
    SCOPED_TRACE(::testing::Message() << "unit " << unit);
    EXPECT_EQ(To(unit, 5000, 1013.25, side), 1013.25);
    EXPECT_EQ(To(unit, -40, 2000, side), 2000);
    EXPECT_EQ(From(unit, 5000, 1013.25, side, 1500), 1013.25);
    EXPECT_EQ(From(unit, 5000, 777.5, side, 1500), 777.5);
  }
}

TEST_F(UnitConversionTest, NaturalGasAndDensityTargetsUseTheReferencePressure) {
  const Side side{20, 29, 1.9, 15.6, kMediumNaturalGas};
  for (int unit : {Code(MoistureUnitCode::LbsPerMmscf), Code(MoistureUnitCode::GramsPerM3)}) {
    SCOPED_TRACE(::testing::Message() << "unit " << unit);
    const double atReference = From(unit, 5000, 1500, side, 1500);
    EXPECT_EQ(From(unit, 5000, 300, side, 1500), atReference);
    EXPECT_EQ(From(unit, 5000, 9000, side, 1500), atReference);
    EXPECT_NE(From(unit, 5000, 1500, side, 3000), atReference);
  }
}

// A dew point in degF is the degC dew point rounded to tenths, then converted.
TEST_F(UnitConversionTest, DewPointsInFahrenheitFollowTheRoundedCelsiusValue) {
  const Side side{20, 29, 1.9, 20, kMediumNaturalGas};
  const struct {
    int celsiusUnit;
    int fahrenheitUnit;
    double celsius;
    double fahrenheit;  // by hand: celsius * 1.8 + 32
  } rows[] = {
      {0, 2, -40.0, -40.0}, {0, 2, -20.0, -4.0}, {0, 2, 0.0, 32.0},    {0, 2, 10.0, 50.0},
      {0, 2, -12.3, 9.86},  {1, 3, -20.0, -4.0}, {1, 3, -35.5, -31.9}, {1, 3, 25.0, 77.0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << "unit " << row.celsiusUnit << ", " << row.celsius);
    const double ppmV = To(row.celsiusUnit, row.celsius, 1013.25, side);
    ASSERT_DOUBLE_EQ(From(row.celsiusUnit, ppmV, 1013.25, side, 1013.25), row.celsius);
    EXPECT_NEAR(From(row.fahrenheitUnit, ppmV, 1013.25, side, 1013.25), row.fahrenheit, 1e-9);
    // As decimal tenths, both are the doubles nearest to their decimals.
    EXPECT_EQ(From(row.celsiusUnit, ppmV, 1013.25, side, 1013.25, DewPointPrecision::DecimalTenths),
              row.celsius);
    EXPECT_EQ(
        From(row.fahrenheitUnit, ppmV, 1013.25, side, 1013.25, DewPointPrecision::DecimalTenths),
        row.fahrenheit);
  }
}

// --- Round trips: FromPpmV(u, ToPpmV(u, x, P, ...), P, ..., P) ---------------------------

struct Options {
  Formulation formulation;
  EnhancementFactor factor;
};

const Options kOptionSets[] = {{Formulation::GoffGratch, EnhancementFactor::Greenspan},
                               {Formulation::Sonntag, EnhancementFactor::None},
                               {Formulation::HylandWexler, EnhancementFactor::Bogel},
                               {Formulation::Magnus, EnhancementFactor::None}};
const double kPressures[] = {200, 1013.25, 3000, 10000};

struct DewRow {
  int unit;
  std::vector<double> values;
  double tolerance;
};

TEST_F(UnitConversionTest, RoundTripDewPoints) {
  const Side side{20, 29, 1.9, 20, kMediumNaturalGas};
  const DewRow rows[] = {
      {Code(MoistureUnitCode::DewFrostPointC),
       {-120, -80, -65.71754, -40, -20.05, -0.3, 0, 0.04, 15.55, 45, 55},
       0.1},
      {Code(MoistureUnitCode::DewPointC),
       {-100, -60, -40, -20.05, -0.3, 0, 0.04, 15.55, 45, 55},
       0.1},
      {Code(MoistureUnitCode::DewFrostPointF),
       {-180, -100, -40, 0, 31.5, 32, 33, 60, 100, 130},
       0.18},
      {Code(MoistureUnitCode::DewPointF), {-140, -76, -40, 0, 31.5, 32, 33, 60, 100, 130}, 0.18},
  };
  for (const Options& options : kOptionSets) {
    Use(options.formulation, options.factor);
    for (const DewRow& row : rows) {
      for (double pressure : kPressures) {
        for (double value : row.values) {
          SCOPED_TRACE(::testing::Message()
                       << "formulation " << options.formulation << ", factor " << options.factor
                       << ", unit " << row.unit << ", P " << pressure << ", x " << value);
          const double ppmV = To(row.unit, value, pressure, side);
          ASSERT_GT(ppmV, 0);
          const double back = From(row.unit, ppmV, pressure, side, pressure);
          ASSERT_NE(back, NO_SOLUTION);
          EXPECT_NEAR(back, value, row.tolerance * (1 + 1e-9));
          // Exact dew points come back as they went (degF: 1.8 times the degC tolerance).
          EXPECT_NEAR(From(row.unit, ppmV, pressure, side, pressure, DewPointPrecision::Exact),
                      value, 1e-8 * row.tolerance);
        }
      }
    }
  }
}

// Units without a solver come back up to rounding.
void ExpectExactRoundTrip(int unit, double value, double pressure, const Side& side) {
  SCOPED_TRACE(::testing::Message() << "unit " << unit << ", P " << pressure << ", x " << value);
  const double ppmV = To(unit, value, pressure, side);
  ASSERT_NE(ppmV, NO_SOLUTION);
  EXPECT_NEAR(From(unit, ppmV, pressure, side, pressure), value, 1e-9 * (1 + std::fabs(value)));
}

TEST_F(UnitConversionTest, RoundTripUnitsWithoutSolver) {
  for (const Options& options : kOptionSets) {
    SCOPED_TRACE(::testing::Message()
                 << "formulation " << options.formulation << ", factor " << options.factor);
    Use(options.formulation, options.factor);
    for (double pressure : kPressures) {
      for (double value : {0.0, 1.0, 5000.0, 138670.0}) {
        ExpectExactRoundTrip(Code(MoistureUnitCode::PpmV), value, pressure,
                             Side{20, 29, 1.9, 20, 1030});
      }
      for (double weight : {2.016, 29.0, 64.06}) {
        for (double value : {0.0, 0.5, 100.0, 12345.6, 138670.0}) {
          ExpectExactRoundTrip(Code(MoistureUnitCode::PpmWGas), value, pressure,
                               Side{20, weight, 1.9, 20, 1030});
        }
      }
      for (double value : {0.0, 0.001, 6.1, 100.0, 123.4}) {
        ExpectExactRoundTrip(Code(MoistureUnitCode::VapourPressureMbar), value, pressure,
                             Side{20, 29, 1.9, 20, 1030});
      }
      for (double ambient : {-30.0, 0.0, 25.0, 50.0}) {
        for (double value : {0.0, 1.0, 50.0, 100.0, 140.0}) {
          ExpectExactRoundTrip(Code(MoistureUnitCode::RelativeHumidity), value, pressure,
                               Side{ambient, 29, 1.9, 20, 1030});
        }
      }
      for (double henry : {0.35, 1.9, 8.6, 52.0}) {
        for (double value : {0.0, 0.01, 10.0, 50.0, 300.0}) {
          if (value / henry >= 0.8 * pressure) continue;  // keep e below the total pressure
          ExpectExactRoundTrip(Code(MoistureUnitCode::PpmWLiquid), value, pressure,
                               Side{20, 29, henry, 20, 1030});
        }
      }
    }
  }
}

TEST_F(UnitConversionTest, RoundTripNaturalGasContent) {
  struct Row {
    double pressure;
    double value;
  };
  const Row rows[] = {
      {200, 0},        {200, 0.01},  {200, 10},        {200, 1000},     {200, 5000},  {1013.25, 0},
      {1013.25, 0.05}, {1013.25, 1}, {1013.25, 288.5}, {1013.25, 1800}, {3000, 0.01}, {3000, 5},
      {3000, 100},     {3000, 180},  {10000, 0.01},    {10000, 1},      {10000, 5},
  };
  const Side side{20, 29, 1.9, 20, kMediumNaturalGas};
  for (const Options& options : kOptionSets) {
    Use(options.formulation, options.factor);
    for (const Row& row : rows) {
      SCOPED_TRACE(::testing::Message() << "formulation " << options.formulation << ", P "
                                        << row.pressure << ", x " << row.value);
      const double ppmV = To(Code(MoistureUnitCode::LbsPerMmscf), row.value, row.pressure, side);
      ASSERT_NE(ppmV, NO_SOLUTION);
      const double back =
          From(Code(MoistureUnitCode::LbsPerMmscf), ppmV, row.pressure, side, row.pressure);
      // The bisection accepts a partial pressure e when the content at e - 1e-7 and at
      // e + 1e-7 brackets the target.
      const double e = PressureFromPpmV(ppmV, row.pressure);
      const double bracket = NaturalGasWaterContent(e + 1e-7, row.pressure) -
                             NaturalGasWaterContent(std::max(e - 1e-7, 0.0), row.pressure);
      EXPECT_NEAR(back, row.value, bracket + 1e-9 * (1 + row.value));
    }
  }
}

TEST_F(UnitConversionTest, RoundTripDensity) {
  struct Row {
    int medium;
    double pressure;
    double prevailing;
    double value;
  };
  const Row rows[] = {
      {kMediumAir, 200, 60, 0},
      {kMediumAir, 200, 60, 93},
      {kMediumAir, 1013.25, 20, 0.01},
      {kMediumAir, 1013.25, 20, 4.5},
      {kMediumAir, 1013.25, -10, 50},
      {kMediumAir, 10000, 20, 93},
      {kMediumWaterVapour, 1013.25, 20, 1000},
      {kMediumWaterVapour, 1013.25, 20, 1150},
      {kMediumWaterVapour, 1013.25, 20, 1200},
      {kMediumWaterVapour, 3000, -10, 3000},
      {kMediumWaterVapour, 3000, -10, 3900},
      {kMediumWaterVapour, 200, 60, 150},
      {kMediumWaterVapour, 200, 60, 200},
      {kMediumNaturalGas, 200, 60, 0.001},
      {kMediumNaturalGas, 200, 60, 1},
      {kMediumNaturalGas, 200, 60, 50},
      {kMediumNaturalGas, 1013.25, 20, 0.001},
      {kMediumNaturalGas, 1013.25, 20, 1},
      {kMediumNaturalGas, 1013.25, 20, 10},
      {kMediumNaturalGas, 1013.25, 20, 30},
      {kMediumNaturalGas, 3000, -10, 0.5},
      {kMediumNaturalGas, 3000, -10, 3},
      {kMediumNaturalGas, 10000, 20, 0.01},
      {kMediumNaturalGas, 10000, 20, 0.05},
  };
  for (const Options& options : kOptionSets) {
    Use(options.formulation, options.factor);
    for (const Row& row : rows) {
      SCOPED_TRACE(::testing::Message()
                   << "formulation " << options.formulation << ", medium " << row.medium << ", P "
                   << row.pressure << ", T " << row.prevailing << ", x " << row.value);
      const Side side{20, 29, 1.9, row.prevailing, row.medium};
      const double ppmV = To(Code(MoistureUnitCode::GramsPerM3), row.value, row.pressure, side);
      ASSERT_NE(ppmV, NO_SOLUTION);
      const double back =
          From(Code(MoistureUnitCode::GramsPerM3), ppmV, row.pressure, side, row.pressure);
      double tolerance = 1e-9 * (1 + row.value);
      if (row.medium == kMediumNaturalGas) {
        const double e = PressureFromPpmV(ppmV, row.pressure);
        tolerance += VapourDensity(e + 1e-7, row.pressure, row.prevailing,
                                   DensityMediumFromChoice(row.medium)) -
                     VapourDensity(std::max(e - 1e-7, 0.0), row.pressure, row.prevailing,
                                   DensityMediumFromChoice(row.medium));
      }
      EXPECT_NEAR(back, row.value, tolerance);
    }
  }
}

TEST_F(UnitConversionTest, RelativeHumidityUsesTheWaterFunctionAtTheAmbientTemperature) {
  // Below freezing %RH is relative to supercooled water: a frost point equal to the ambient
  // temperature is less than 100 %RH.
  Use(Formulation::Sonntag, EnhancementFactor::None);
  const Side side{-20, 29, 1.9, 20, kMediumNaturalGas};
  const double ppmV = To(Code(MoistureUnitCode::DewFrostPointC), -20, 1013.25, side);
  const double humidity =
      From(Code(MoistureUnitCode::RelativeHumidity), ppmV, 1013.25, side, 1013.25);
  EXPECT_NEAR(humidity, 100 * 1.03239 / 1.25587, 0.01);
  // With Hyland-Wexler the water function uses the ice equation below freezing.
  Use(Formulation::HylandWexler, EnhancementFactor::None);
  const double ppmVHw = To(Code(MoistureUnitCode::DewFrostPointC), -20, 1013.25, side);
  EXPECT_NEAR(From(Code(MoistureUnitCode::RelativeHumidity), ppmVHw, 1013.25, side, 1013.25), 100,
              1e-9);
}

// Natural gas is specified in pounds per million standard cubic feet at line pressure.
TEST_F(UnitConversionTest, NaturalGasContentAtLinePressure) {
  Use(Formulation::GoffGratch, EnhancementFactor::None);
  const SideParameters side = DefaultSideParameters();
  const float linePressure = PressureMbarFromReading(Code(PressureUnitCode::Psi), 1000);
  char text[100];
  // The pipeline tariff of 7 lb at 1000 psia is a frost point just above 32 degF.
  ASSERT_EQ(ComposeResultText(Code(MoistureUnitCode::LbsPerMmscf), 7.0f, linePressure, side,
                              Code(MoistureUnitCode::DewFrostPointF), linePressure, side, model,
                              text, sizeof text),
            ConversionOutcome::Converted);
  EXPECT_STREQ(text, "32.4");
  ASSERT_EQ(ComposeResultText(Code(MoistureUnitCode::LbsPerMmscf), 7.0f, linePressure, side,
                              Code(MoistureUnitCode::DewFrostPointC), linePressure, side, model,
                              text, sizeof text),
            ConversionOutcome::Converted);
  EXPECT_STREQ(text, "0.2");
  ASSERT_EQ(ComposeResultText(Code(MoistureUnitCode::DewFrostPointF), 32.4f, linePressure, side,
                              Code(MoistureUnitCode::LbsPerMmscf), linePressure, side, model, text,
                              sizeof text),
            ConversionOutcome::Converted);
  EXPECT_NEAR(std::atof(text), 7.0, 0.05) << text;

  const Side gas{20, 16, 1.9, 20, kMediumNaturalGas};
  const double psia[] = {14.7, 100, 300, 500, 1000, 1500};
  for (const double reading : psia) {
    const double pressure = PressureMbarFromReading(Code(PressureUnitCode::Psi), reading);
    for (int tenths = -400; tenths <= 200; tenths += 25) {
      const double dewPoint = tenths / 10.0;
      SCOPED_TRACE(::testing::Message() << reading << " psia, " << dewPoint << " degC");
      const double pounds =
          From(Code(MoistureUnitCode::LbsPerMmscf),
               To(Code(MoistureUnitCode::DewFrostPointC), dewPoint, pressure, gas), pressure, gas,
               pressure);
      const double ppmV =
          To(Code(MoistureUnitCode::LbsPerMmscf), static_cast<float>(pounds), pressure, gas);
      ASSERT_NE(ppmV, NO_SOLUTION);
      EXPECT_NEAR(From(Code(MoistureUnitCode::DewFrostPointC), ppmV, pressure, gas, pressure),
                  dewPoint, 0.1 + 1e-9);
      // The same content as a natural-gas density.
      const double grams = From(Code(MoistureUnitCode::GramsPerM3),
                                To(Code(MoistureUnitCode::DewFrostPointC), dewPoint, pressure, gas),
                                pressure, gas, pressure);
      const double fromDensity =
          To(Code(MoistureUnitCode::GramsPerM3), static_cast<float>(grams), pressure, gas);
      ASSERT_NE(fromDensity, NO_SOLUTION);
      EXPECT_NEAR(
          From(Code(MoistureUnitCode::DewFrostPointC), fromDensity, pressure, gas, pressure),
          dewPoint, 0.1 + 1e-9);
    }
  }
}

}  // namespace
