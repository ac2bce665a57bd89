// The array path against the single call, element by element: the vector kernel's saturation
// pressures within their stated bound, the numeric display rounding against the text read back,
// and whole array calls against one call per value with its text (statuses, and values to the
// bit). RURUZIR_ARRAY_DIFF_COUNT sets the values per request (scripts/array-diff.sh).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "core/conversion_request.h"
#include "core/number_text.h"
#include "core/unit_catalogues.h"
#include "core/reading_format.h"
#include "physics/composition.h"
#include "physics/dew_point_solver.h"
#include "physics/rounding.h"
#include "physics/saturation_pressure.h"
#include "physics/unit_conversion.h"

using namespace ruruzir;

namespace {

size_t ValuesPerRequest() {
  const char* text = std::getenv("RURUZIR_ARRAY_DIFF_COUNT");
  return text && *text ? std::strtoull(text, nullptr, 10) : 300;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

const Formulation kFormulations[] = {Formulation::HylandWexler, Formulation::GoffGratch,
                                     Formulation::Sonntag, Formulation::Magnus};
const EnhancementFactor kFactors[] = {EnhancementFactor::None, EnhancementFactor::Bogel,
                                      EnhancementFactor::Greenspan};

std::vector<MoistureModel> EveryModel() {
  std::vector<MoistureModel> models;
  for (const Formulation formulation : kFormulations)
    for (const EnhancementFactor factor : kFactors) models.push_back({formulation, factor});
  return models;
}

// The kernel keeps well inside its bound (a sixteenth of it) over the whole range, pressures
// from 1 to 20000 mbar.
TEST(VectorSaturation, WithinItsBoundOfTheScalarFunctions) {
  if (!HasVectorSaturation()) GTEST_SKIP() << "built without the vector kernel";
  std::mt19937_64 random(26);
  std::uniform_real_distribution<double> temperature(kVectorLowestC, kVectorHighestC),
      logPressure(std::log10(kVectorLowestMbar), std::log10(kVectorHighestMbar));
  constexpr size_t kCount = 20000;
  std::vector<double> t(kCount), p(kCount), vector(kCount), bound(kCount);
  for (size_t i = 0; i < kCount; ++i) {
    t[i] = i % 4 == 0 ? std::nextafter(0.0, i % 8 ? 1.0 : -1.0) : temperature(random);
    p[i] = std::pow(10.0, logPressure(random));
  }
  for (const MoistureModel& model : EveryModel()) {
    for (const bool ice : {false, true}) {
      SaturationPressureArray(ice, kCount - 3, t.data(), p.data(), model, vector.data(),
                              bound.data());
      double worst = 0.0;
      for (size_t i = 0; i < kCount - 3; ++i) {
        const double scalar = ice ? SaturationPressureIce(t[i], p[i], model)
                                  : SaturationPressureWater(t[i], p[i], model);
        if (!(bound[i] < 1e-6) || vector[i] == scalar) continue;  // unusable, or alike
        const double apart = std::fabs(vector[i] / scalar - 1.0);
        ASSERT_TRUE(std::isfinite(apart)) << t[i] << " " << p[i] << " " << vector[i];
        worst = std::fmax(worst, apart / bound[i]);
      }
      EXPECT_LT(worst, 1.0 / 16) << static_cast<int>(model.formulation) << " "
                                 << static_cast<int>(model.enhancement) << " " << ice;
    }
  }
}

// Beyond the span the bound was shown for, the kernel claims none, whatever its number (a dew
// point of 37338 degC at 33.5 bar once came out as a plausible lb/MMscf).
TEST(VectorSaturation, NoBoundBeyondItsSpan) {
  if (!HasVectorSaturation()) GTEST_SKIP() << "built without the vector kernel";
  struct Case {
    double t, p;
    EnhancementFactor factor;
  } const cases[] = {
      {37338.0, 486223.0, EnhancementFactor::None},     {-150.5, 1013.25, EnhancementFactor::None},
      {100.5, 1013.25, EnhancementFactor::None},        {-1e300, 1013.25, EnhancementFactor::None},
      {20.0, 33524000.0, EnhancementFactor::Greenspan}, {20.0, 20001.0, EnhancementFactor::Bogel},
      {-20.0, 0.5, EnhancementFactor::Greenspan},       {NAN, 1013.25, EnhancementFactor::None},
  };
  for (const Case& c : cases) {
    for (const bool ice : {false, true}) {
      double pressure, bound;
      SaturationPressureArray(ice, 1, &c.t, &c.p, MoistureModel{Formulation::GoffGratch, c.factor},
                              &pressure, &bound);
      EXPECT_FALSE(bound < 1.0) << c.t << " degC at " << c.p << " mbar, ice " << ice;
    }
  }
}

// The table behind RoundDecimal (every per-row pressure) is the C library's pow, place by place.
TEST(PowerOfTen, IsTheLibrarysPow) {
  for (int place = -30; place <= 30; ++place) {
    EXPECT_TRUE(SameBits(PowerOfTen(place), std::pow(10.0, place))) << place;
  }
}

// The number of the text, without the text: ties (exact in binary), the edges of the decimals
// by magnitude and their float neighbours, random floats of every size, in every unit.
TEST(ShownReadingValue, IsTheNumberOfTheTextReadBack) {
  std::vector<float> samples = {0.0f,     -0.0f,    100.25f, 100.75f, 10.125f,
                                1.0625f,  0.03125f, 2.5f,    -82.25f, -0.05f,
                                0.00005f, 1e-9f,    1e14f,   5e14f,   3e38f};
  for (const float edge : {100.0f, 10.0f, 1.0f, 0.1f, 0.01f, 0.001f, 0.0001f, -0.05f, 0.05f}) {
    float below = edge, above = edge;
    for (int i = 0; i < 4; ++i) {
      samples.push_back(below = std::nextafter(below, -HUGE_VALF));
      samples.push_back(above = std::nextafter(above, HUGE_VALF));
    }
  }
  std::mt19937_64 random(2026);
  std::uniform_real_distribution<double> exponent(-9.0, 16.0);
  for (int i = 0; i < 200000; ++i) {
    const float value = static_cast<float>(std::pow(10.0, exponent(random)));
    samples.push_back(i % 3 ? value : -value);
    // a float at an exact tie of some decimals: k + 1/2 over a power of two
    samples.push_back(static_cast<float>((random() % 4000000 + 0.5) / (1 << (random() % 20))));
  }
  int compared = 0;
  for (int unit = 0; unit <= 10; ++unit) {
    for (const float value : samples) {
      double shown;
      if (!ShownReadingValue(unit, value, &shown)) {
        EXPECT_TRUE(!std::isfinite(value) || std::fabs(value) > 5e6) << value;
        continue;
      }
      char text[kResultTextSize];
      FormatReading(unit, text, sizeof text, value);
      double read = NAN;
      ASSERT_NE(ScanNumber(text, &read), nullptr) << text;
      ASSERT_TRUE(SameBits(shown, read)) << unit << " " << value << " " << text << " " << shown;
      ++compared;
    }
  }
  EXPECT_GT(compared, 4000000);
}

// Values that hit the hard cases of a request: tenths, the range's ends, both sides of 0 degC,
// random doubles; the readings either side of a boundary of the ppmV's display (the decimal at
// which its text changes, met by the secant method, and the nearest float reading with two
// neighbours each way); and, a sixty-fourth of them, float readings whose ppmV lies within 2^-36
// of a float rounding boundary (found by walking float neighbours with the scalar functions),
// where the kernel may have to fall back. Readings and pressures are floats, as the request
// holds them.
std::vector<double> HardValues(const ConversionRequest& request, std::mt19937_64& random,
                               size_t count) {
  const bool fahrenheit = request.sourceUnit == 2 || request.sourceUnit == 3;
  const double low = fahrenheit ? -220.0 : -140.0, high = fahrenheit ? 122.0 : 50.0;
  std::vector<double> values = {low,
                                high,
                                std::nextafter(low, 0.0),
                                std::nextafter(high, 0.0),
                                0.0,
                                -0.0,
                                32.0,
                                1e-300,
                                -1e-300,
                                NAN,
                                HUGE_VAL,
                                low - 0.1,
                                high + 60.0,
                                37338.0,
                                -273.0};
  std::uniform_real_distribution<double> uniform(low, high);
  for (size_t i = 0; values.size() < count / 2; ++i) {
    const double value = uniform(random);
    values.push_back(i % 2 ? std::round(value * 10.0) / 10.0 : value);
  }
  const MoistureModel model = request.model;
  const double p = static_cast<float>(request.sourcePressure.reading);
  const auto ppm = [&](double value) {
    double celsius;
    bool ice;
    DewPointSource(static_cast<MoistureUnitCode>(request.sourceUnit), value, &celsius, &ice);
    return PpmVFromPressure(
        ice ? SaturationPressureIce(celsius, p, model) : SaturationPressureWater(celsius, p, model),
        p);
  };
  const auto text = [](double ppmV) {
    double shown = NAN;
    ShownReadingValue(Code(MoistureUnitCode::PpmV), static_cast<float>(ppmV), &shown);
    return shown;
  };
  const size_t walks = count / 64 + 1, first = values.size();
  size_t walked = 0, straddled = 0;
  while (values.size() < count) {
    float value = static_cast<float>(uniform(random));
    const double start = ppm(value);
    if (!(start > 1e-6 && start < 1e6)) continue;
    if (walked < walks) {
      for (int step = 0; step < 400000; ++step) {
        value = std::nextafter(value, HUGE_VALF);
        const double ppmV = ppm(value);
        const float f = static_cast<float>(ppmV);
        const double side = ppmV < f ? std::nextafter(f, 0.0f) : std::nextafter(f, HUGE_VALF);
        if (std::fabs(ppmV - (f + side) * 0.5) < 0x1p-36 * ppmV) break;
      }
      values.push_back(value);
      ++walked;
      continue;
    }
    // The first float up from the start's whose text differs, by halving over the floats' order.
    const double shown = text(start);
    const float startFloat = static_cast<float>(start);
    std::uint32_t same, differs;
    std::memcpy(&same, &startFloat, sizeof same);
    differs = same + (1u << 20);
    while (differs - same > 1) {
      const std::uint32_t bits = same + (differs - same) / 2;
      float middle;
      std::memcpy(&middle, &bits, sizeof middle);
      (text(middle) == shown ? same : differs) = bits;
    }
    float below, above;
    std::memcpy(&below, &same, sizeof below);
    std::memcpy(&above, &differs, sizeof above);
    const double boundary = (static_cast<double>(below) + above) * 0.5;
    double x0 = value, x1 = value + 1e-3, g0 = start - boundary, g1 = ppm(x1) - boundary;
    for (int step = 0; step < 40 && g1 != 0.0 && g1 != g0 && std::isfinite(g1); ++step) {
      const double x2 = x1 - g1 * (x1 - x0) / (g1 - g0);
      x0 = x1, g0 = g1, x1 = x2, g1 = ppm(x1) - boundary;
    }
    float reading = static_cast<float>(x1), lowest = reading, highest = reading;
    for (int i = 0; i < 2; ++i) {
      lowest = std::nextafter(lowest, -HUGE_VALF);
      highest = std::nextafter(highest, HUGE_VALF);
      values.push_back(lowest);
      values.push_back(highest);
    }
    values.push_back(reading);
    straddled += text(ppm(lowest)) != text(ppm(highest));
  }
  // The search has to meet its boundaries, or these values are no harder than random ones.
  EXPECT_GE(straddled * 5 * 10, (values.size() - first - walked) * 9) << request.sourceUnit;
  return values;
}

// One model per test, so that scripts/array-diff.sh can share the models out among processes.
class ArrayDifferential : public testing::TestWithParam<MoistureModel> {};

TEST_P(ArrayDifferential, EveryElementIsTheSingleCallsResult) {
  const MoistureModel model = GetParam();
  std::mt19937_64 random(126 + 8 * static_cast<int>(model.formulation) +
                         static_cast<int>(model.enhancement));
  const size_t count = ValuesPerRequest();
  size_t compared = 0;
  for (int source = 0; source <= 3; ++source) {
    ConversionRequest request = DefaultConversionRequest();
    request.sourceUnit = source;
    request.model = model;
    const double pressures[] = {1013.25, 7000.0, 30000.0, 2.5};
    request.sourcePressure.reading = pressures[random() % 4];
    request.targetPressure.reading = request.sourcePressure.reading;
    const std::vector<double> values = HardValues(request, random, count);
    std::vector<double> results(values.size()), rowResults(values.size());
    std::vector<int> statuses(values.size()), rowStatuses(values.size());
    // Per-row pressures in psig (missing, vacuum and huge ones among them), one target
    // pressure in bar.
    std::vector<double> rows(values.size());
    std::uniform_real_distribution<double> psig(-14.0, 400.0);
    const double oddRows[] = {NAN, -14.7, -20.0, 1e40, 0.0, 486223.0, 3e5};
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = i % 50 < 7 ? oddRows[i % 50] : psig(random);
    const RequestColumns columns{rows.data(), nullptr, nullptr, nullptr, nullptr, nullptr};
    for (int target = 0; target <= 10; ++target) {
      request.targetUnit = target;
      for (const Precision precision : {Precision::Shown, Precision::Computed}) {
        request.precision = precision;
        // Dew point targets run the solver: a tenth of the values.
        const size_t n = target <= 3 ? values.size() / 10 : values.size();
        ConvertRequestArray(request, n, values.data(), nullptr, results.data(), statuses.data());
        ConversionRequest rowRequest = request;
        rowRequest.sourcePressure = {Code(PressureUnitCode::Psig), 0.0};
        rowRequest.targetPressure = {Code(PressureUnitCode::Bar), 5.0};
        ConvertRequestArray(rowRequest, n, values.data(), &columns, rowResults.data(),
                            rowStatuses.data());
        for (size_t i = 0; i < n; ++i) {
          rowRequest.sourcePressure.reading = rows[i];
          // A missing row is a missing reading, not one atmosphere as in a single call.
          const ValueAnswer row = std::isnan(rows[i])
                                      ? ValueAnswer{{RequestStatus::Missing, 0, nullptr}, NAN}
                                      : ConvertRequestValue(rowRequest, values[i], nullptr, 0);
          ASSERT_EQ(rowStatuses[i], static_cast<int>(row.refusal.status)) << rows[i];
          ASSERT_TRUE(SameBits(rowResults[i], row.value) ||
                      (std::isnan(rowResults[i]) && std::isnan(row.value)))
              << source << "->" << target << " " << values[i] << " at " << rows[i] << " psig";
        }
        for (size_t i = 0; i < n; ++i) {
          char text[kResultTextSize];
          const ValueAnswer one = ConvertRequestValue(request, values[i], text, sizeof text);
          double read = NAN;
          if (precision == Precision::Shown && one.refusal.status == RequestStatus::Converted) {
            ScanNumber(text, &read);
            ASSERT_TRUE(SameBits(read, one.value)) << text;
          }
          ASSERT_EQ(statuses[i], static_cast<int>(one.refusal.status))
              << source << "->" << target << " " << values[i];
          ASSERT_TRUE(SameBits(results[i], one.value) ||
                      (std::isnan(results[i]) && std::isnan(one.value)))
              << source << "->" << target << " f" << static_cast<int>(model.formulation) << " e"
              << static_cast<int>(model.enhancement) << " p" << request.sourcePressure.reading
              << " " << values[i] << ": " << results[i] << " vs " << one.value << " " << text;
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, count * 4);
}

INSTANTIATE_TEST_SUITE_P(EveryModel, ArrayDifferential, testing::ValuesIn(EveryModel()));

// The array solver against the single solvers, answer by answer to the bit: partial pressures of
// every size, ones whose crossing lies at a temperature the bisection tests (where the pair
// cannot settle the answer) or next to 0 degC, ones with no answer, and total pressures at the
// edges of the factors' bands, for every model, both curves and the solvers' precisions.
class ArraySolver : public testing::TestWithParam<MoistureModel> {};

TEST_P(ArraySolver, EveryAnswerIsTheSolversBitForBit) {
  const MoistureModel model = GetParam();
  std::mt19937_64 random(2612 + 8 * static_cast<int>(model.formulation) +
                         static_cast<int>(model.enhancement));
  const size_t count = ValuesPerRequest() * 10;
  std::uniform_real_distribution<double> logPartial(-10.0, 3.3), logTotal(0.0, 4.5),
      celsius(-139.0, 59.0), unit(-1.0, 1.0);
  const double totals[] = {1013.25, 4.99, 5.0, 20000.0, 20000.5, 7000.0, 30.0, 1.0, NAN};
  size_t compared = 0;
  for (const bool ice : {true, false}) {
    std::vector<double> partial(count), total(count), answers(count);
    for (size_t i = 0; i < count; ++i) {
      total[i] = i % 3 ? totals[i % 9] : std::pow(10.0, logTotal(random));
      double t = celsius(random);
      switch (i % 6) {
        case 0:
          partial[i] = std::pow(10.0, logPartial(random));
          continue;
        case 1:  // a crossing at a temperature the bisection compares, give or take a hair
          t = -40.0 + std::round(t * 16384.0 / 100.0) * 100.0 / 16384.0 +
              (unit(random) > 0 ? 0.01 : -0.01) + unit(random) * 1e-6;
          break;
        case 2:  // next to 0 degC, where the equations switch
          t = unit(random) * 0.4;
          break;
        case 3:
          if (i % 60 == 3) {
            const double none[] = {0.0, -1.0, NAN, HUGE_VAL, 1e-300};
            partial[i] = none[i / 60 % 5];
            continue;
          }
          break;
        default:
          break;
      }
      partial[i] = ice ? SaturationPressureIce(t, total[i], model)
                       : SaturationPressureWater(t, total[i], model);
    }
    for (const DewPointPrecision precision :
         {DewPointPrecision::Tenths, DewPointPrecision::DecimalTenths}) {
      SolveDewPointArray(ice, count, partial.data(), total.data(), model, precision,
                         answers.data());
      for (size_t i = 0; i < count; ++i) {
        const double one = ice ? SolveDewFrostPoint(partial[i], total[i], model, precision)
                               : SolveDewPoint(partial[i], total[i], model, precision);
        ASSERT_TRUE(SameBits(answers[i], one))
            << "f" << static_cast<int>(model.formulation) << " e"
            << static_cast<int>(model.enhancement) << " ice " << ice << " " << partial[i]
            << " mbar at " << total[i] << ": " << answers[i] << " vs " << one;
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, count * 2 * 2);
}

INSTANTIATE_TEST_SUITE_P(EveryModel, ArraySolver, testing::ValuesIn(EveryModel()));

}  // namespace
