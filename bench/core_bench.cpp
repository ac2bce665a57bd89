// Timings of the calculator's core: saturation pressures, the solvers, the unit conversions
// and the two number formatters. The main window runs one ToPpmV, one FromPpmV and one
// FormatReading on every paint.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/calculator_values.h"
#include "core/conversion_request.h"
#include "core/reading_format.h"
#include "core/significant_format.h"
#include "core/unit_catalogues.h"
#include "physics/dew_point_solver.h"
#include "physics/saturation_pressure.h"
#include "physics/composition.h"
#include "physics/unit_conversion.h"
#include "physics/reference_bisection.h"

using namespace ruruzir;

namespace {

// One side's parameters for the frost-point conversions: air at 15.6 degC.
const SideParameters kAirSide{25, 16, 8.6, 15.6, DensityMedium::Air};

// A formulation or enhancement factor as a benchmark argument.
template <typename Choice>
constexpr int64_t Arg(Choice choice) {
  return static_cast<int64_t>(choice);
}

// The model of the benchmark's first two arguments.
MoistureModel ModelOf(const benchmark::State& state) {
  return MoistureModel{static_cast<Formulation>(state.range(0)),
                       static_cast<EnhancementFactor>(state.range(1))};
}

void FormulationsAndFactors(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"svp", "factor"});
  for (Formulation formulation : {Formulation::HylandWexler, Formulation::GoffGratch,
                                  Formulation::Sonntag, Formulation::Magnus}) {
    for (EnhancementFactor factor :
         {EnhancementFactor::None, EnhancementFactor::Bogel, EnhancementFactor::Greenspan})
      bench->Args({Arg(formulation), Arg(factor)});
  }
}

// Temperatures from -80 to +50 degC, stepped so that both branches are taken.
double NextTemperature(double t) {
  return t > 50 ? -80.0 : t + 0.37;
}

void BM_SaturationPressureWater(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  double t = -80;
  double pressure = 1013.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SaturationPressureWater(t, pressure, model));
    t = NextTemperature(t);
    benchmark::DoNotOptimize(pressure);
  }
}
BENCHMARK(BM_SaturationPressureWater)->Apply(FormulationsAndFactors);

void BM_SaturationPressureIce(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  double t = -80;
  double pressure = 1013.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SaturationPressureIce(t, pressure, model));
    t = NextTemperature(t);
    benchmark::DoNotOptimize(pressure);
  }
}
BENCHMARK(BM_SaturationPressureIce)->Apply(FormulationsAndFactors);

// Partial pressures from 1e-5 to about 150 mbar, log-stepped.
double NextPartialPressure(double e) {
  return e > 150 ? 1e-5 : e * 1.37;
}

// Partial pressures from 0.01 to 100 mbar, 0.01 * 1.1^k: the solvers' inputs of the
// comparisons below, cycled.
double NextSolverInput(double e) {
  return e > 100 ? 0.01 : e * 1.1;
}

// The baseline of the solvers: a bare loop of the plain fixed bisection (the reference of the
// tests), over ice, without an enhancement factor, at 1013.25 mbar.
void BM_BareBisection(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  double e = 0.01;
  double pressure = 1013.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReferenceBisection(SaturationPressureIce, e, pressure, model));
    e = NextSolverInput(e);
    benchmark::DoNotOptimize(pressure);
  }
}
BENCHMARK(BM_BareBisection)
    ->Args({Arg(Formulation::HylandWexler), Arg(EnhancementFactor::None)})
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::None)});

// The solver on the same inputs; at most 0.4 times the bare bisection is the goal.
void BM_SolveDewFrostPointLikeBisection(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  double e = 0.01;
  double pressure = 1013.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SolveDewFrostPoint(e, pressure, model));
    e = NextSolverInput(e);
    benchmark::DoNotOptimize(pressure);
  }
}
BENCHMARK(BM_SolveDewFrostPointLikeBisection)
    ->Args({Arg(Formulation::HylandWexler), Arg(EnhancementFactor::None)})
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::None)})
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::Greenspan)});

void BM_SolveDewFrostPoint(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  double e = 1e-5;
  double pressure = 1013.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SolveDewFrostPoint(e, pressure, model));
    e = NextPartialPressure(e);
    benchmark::DoNotOptimize(pressure);
  }
}
BENCHMARK(BM_SolveDewFrostPoint)
    ->Args({Arg(Formulation::Sonntag), Arg(EnhancementFactor::None)})
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::Greenspan)});

void BM_SolveDewPoint(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  double e = 1e-5;
  double pressure = 1013.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(SolveDewPoint(e, pressure, model));
    e = NextPartialPressure(e);
    benchmark::DoNotOptimize(pressure);
  }
}
BENCHMARK(BM_SolveDewPoint)
    ->Args({Arg(Formulation::Sonntag), Arg(EnhancementFactor::None)})
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::Greenspan)});

// Frost points from -80 to +50 degC at 1013.25 mbar, re-expressed at 2000 mbar: a full
// conversion frost point -> frost point, ToPpmV then FromPpmV.
void BM_FrostPointConversion(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  double t = -80;
  for (auto _ : state) {
    const double ppmV = ToPpmV(MoistureUnitCode::DewFrostPointC, t, 1013.25, kAirSide, model);
    benchmark::DoNotOptimize(
        FromPpmV(MoistureUnitCode::DewFrostPointC, ppmV, 2000, kAirSide, 1013.25, model));
    t = NextTemperature(t);
  }
}
BENCHMARK(BM_FrostPointConversion)
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::None)})
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::Greenspan)});

// Its baseline: the same conversion with the plain bisection in FromPpmV's place, as it was
// done before the solvers walked the bisection's path.
void BM_FrostPointConversionBisection(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  double t = -80;
  for (auto _ : state) {
    const double ppmV = ToPpmV(MoistureUnitCode::DewFrostPointC, t, 1013.25, kAirSide, model);
    benchmark::DoNotOptimize(
        ReferenceBisection(SaturationPressureIce, PressureFromPpmV(ppmV, 2000), 2000, model));
    t = NextTemperature(t);
  }
}
BENCHMARK(BM_FrostPointConversionBisection)
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::None)})
    ->Args({Arg(Formulation::GoffGratch), Arg(EnhancementFactor::Greenspan)});

// Frost points at 1013.25 mbar re-expressed at 2000 mbar in each precision of the solver
// (argument "precision": 0 tenths, 1 decimal tenths, 2 exact), over the inputs of
// BM_FrostPointConversion. The goal: exact within twice the tenths of the same model.
void BM_FrostPointAtAnotherPressure(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  const DewPointPrecision precision = static_cast<DewPointPrecision>(state.range(2));
  double t = -80;
  for (auto _ : state) {
    const double ppmV = ToPpmV(MoistureUnitCode::DewFrostPointC, t, 1013.25, kAirSide, model);
    benchmark::DoNotOptimize(FromPpmV(MoistureUnitCode::DewFrostPointC, ppmV, 2000, kAirSide,
                                      1013.25, model, precision));
    t = NextTemperature(t);
  }
}

// The models the precision and array benchmarks run.
constexpr MoistureModel kBenchModels[] = {{Formulation::GoffGratch, EnhancementFactor::None},
                                          {Formulation::GoffGratch, EnhancementFactor::Greenspan},
                                          {Formulation::Sonntag, EnhancementFactor::Bogel},
                                          {Formulation::HylandWexler, EnhancementFactor::None}};

void ModelsAndPrecisions(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"svp", "factor", "precision"});
  for (const MoistureModel& model : kBenchModels) {
    for (DewPointPrecision precision : {DewPointPrecision::Tenths, DewPointPrecision::Exact}) {
      bench->Args({Arg(model.formulation), Arg(model.enhancement), Arg(precision)});
    }
  }
}
BENCHMARK(BM_FrostPointAtAnotherPressure)->Apply(ModelsAndPrecisions);

// The solvers alone in each precision, over ice and over water, on the partial pressures of
// BM_SolveDewFrostPoint at 2000 mbar.
template <double (*Solve)(double, double, const MoistureModel&, DewPointPrecision)>
void SolverIn(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  const DewPointPrecision precision = static_cast<DewPointPrecision>(state.range(2));
  double e = 1e-5;
  double pressure = 2000;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Solve(e, pressure, model, precision));
    e = NextPartialPressure(e);
    benchmark::DoNotOptimize(pressure);
  }
}
void BM_SolveDewFrostPointIn(benchmark::State& state) {
  SolverIn<SolveDewFrostPoint>(state);
}
BENCHMARK(BM_SolveDewFrostPointIn)->Apply(ModelsAndPrecisions);
void BM_SolveDewPointIn(benchmark::State& state) {
  SolverIn<SolveDewPoint>(state);
}
BENCHMARK(BM_SolveDewPointIn)->Apply(ModelsAndPrecisions);

// A representative source value for each moisture unit, and a small spread around it.
const double kUnitValues[] = {-20, -20, 10, 10, 5000, 3000, 200, 4, 5, 40, 20};

// One conversion cycle: the value into ppmV at the source pressure, then back out of ppmV in
// the same unit at the target pressure.
void BM_ToPpmVFromPpmV(benchmark::State& state) {
  const MoistureModel model = MoistureModel{Formulation::GoffGratch, EnhancementFactor::Greenspan};
  const SideParameters source{25, 16, 8.6, 15.6, DensityMedium::NaturalGas};
  const SideParameters target{30, 28, 1.9, 20, DensityMedium::Air};
  const int unit = static_cast<int>(state.range(0));
  const double base = kUnitValues[unit];
  double step = 0;
  for (auto _ : state) {
    const double value = base * (1 + step);
    const double ppmV = ToPpmV(static_cast<MoistureUnitCode>(unit), value, 1013.25, source, model);
    benchmark::DoNotOptimize(
        FromPpmV(static_cast<MoistureUnitCode>(unit), ppmV, 2000, target, 1013.25, model));
    step = step > 0.05 ? 0 : step + 0.001;
  }
}
BENCHMARK(BM_ToPpmVFromPpmV)->ArgName("unit")->DenseRange(0, 10);

void BM_FormatSignificant(benchmark::State& state) {
  const double values[] = {0, 20, -40, 123.456, 138670, 0.05, 1013.25, 14.696, 99999.6};
  const int digits = static_cast<int>(state.range(0));
  char text[100];
  size_t i = 0;
  for (auto _ : state) {
    FormatSignificant(values[i], digits, text, sizeof text);
    benchmark::DoNotOptimize(text);
    benchmark::ClobberMemory();
    i = i + 1 == sizeof values / sizeof values[0] ? 0 : i + 1;
  }
}
BENCHMARK(BM_FormatSignificant)->ArgName("digits")->Arg(5)->Arg(6)->Arg(7);

void BM_FormatReading(benchmark::State& state) {
  struct Reading {
    int unit;
    double value;
  };
  const Reading readings[] = {
      {4, 6060.0517578125}, {0, -40}, {9, 26.129114}, {8, 0.05}, {6, 0.5}, {4, -5.5}, {4, 0},
      {7, 3.8326773}};
  char text[100];
  size_t i = 0;
  for (auto _ : state) {
    FormatReading(readings[i].unit, text, sizeof text, readings[i].value);
    benchmark::DoNotOptimize(text);
    benchmark::ClobberMemory();
    i = i + 1 == sizeof readings / sizeof readings[0] ? 0 : i + 1;
  }
}
BENCHMARK(BM_FormatReading);

}  // namespace

// The array path against one call per value (its baseline), on frost points that do not repeat
// (-80 to +20 degC): into ppmV and into frost points at 7000 mbar, shown and computed, for the
// models of ModelsAndPrecisions (argument "precision": 0 shown, 1 computed). Per value.
constexpr size_t kArrayValues = 1 << 16;

std::vector<double> UnroundedFrostPoints() {
  std::vector<double> values(kArrayValues);
  for (size_t i = 0; i < values.size(); ++i)
    values[i] = -80.0 + 100.0 * (i * 0.6180339887 - std::floor(i * 0.6180339887));
  return values;
}

ConversionRequest ArrayRequest(benchmark::State& state, int targetUnit) {
  ConversionRequest request = DefaultConversionRequest();
  request.model = ModelOf(state);
  request.targetUnit = targetUnit;
  request.targetPressure.reading = targetUnit == 0 ? 7000.0 : 1013.25;
  request.precision = state.range(2) ? Precision::Computed : Precision::Shown;
  return request;
}

void ArrayPath(benchmark::State& state, int targetUnit) {
  const ConversionRequest request = ArrayRequest(state, targetUnit);
  const std::vector<double> values = UnroundedFrostPoints();
  std::vector<double> results(values.size());
  for (auto _ : state) {
    ConvertRequestArray(request, values.size(), values.data(), nullptr, results.data(), nullptr);
    benchmark::DoNotOptimize(results.data());
  }
  state.SetItemsProcessed(state.iterations() * values.size());
}

void SingleCalls(benchmark::State& state, int targetUnit) {
  const ConversionRequest request = ArrayRequest(state, targetUnit);
  const std::vector<double> values = UnroundedFrostPoints();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ConvertRequestValue(request, values[i], nullptr, 0).value);
    i = (i + 1) % values.size();
  }
  state.SetItemsProcessed(state.iterations());
}

void ArrayModels(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"svp", "factor", "computed"});
  for (const MoistureModel& model : kBenchModels) {
    for (int computed : {0, 1})
      bench->Args({Arg(model.formulation), Arg(model.enhancement), computed});
  }
}
void BM_ArrayFrostToFrost(benchmark::State& state) {
  ArrayPath(state, 0);
}
void BM_SingleFrostToFrost(benchmark::State& state) {
  SingleCalls(state, 0);
}
void BM_ArrayFrostToPpmV(benchmark::State& state) {
  ArrayPath(state, 4);
}
void BM_SingleFrostToPpmV(benchmark::State& state) {
  SingleCalls(state, 4);
}
// The floor under the array path: the kernel's saturation pressures alone, one a value. Frost
// point to frost point takes three a value (the source's, and the solver's pair).
void BM_VectorSaturationIce(benchmark::State& state) {
  const MoistureModel model = ModelOf(state);
  const std::vector<double> temperatures = UnroundedFrostPoints();
  const std::vector<double> pressures(temperatures.size(), 7000.0);
  std::vector<double> saturation(temperatures.size()), bounds(temperatures.size());
  for (auto _ : state) {
    SaturationPressureArray(true, temperatures.size(), temperatures.data(), pressures.data(), model,
                            saturation.data(), bounds.data());
    benchmark::DoNotOptimize(saturation.data());
  }
  state.SetItemsProcessed(state.iterations() * temperatures.size());
}
void VectorModels(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"svp", "factor"});
  for (const MoistureModel& model : kBenchModels)
    bench->Args({Arg(model.formulation), Arg(model.enhancement)});
}

BENCHMARK(BM_VectorSaturationIce)->Apply(VectorModels);
BENCHMARK(BM_ArrayFrostToFrost)->Apply(ArrayModels);
BENCHMARK(BM_SingleFrostToFrost)->Apply(ArrayModels);
BENCHMARK(BM_ArrayFrostToPpmV)->Apply(ArrayModels);
BENCHMARK(BM_SingleFrostToPpmV)->Apply(ArrayModels);

BENCHMARK_MAIN();
