// The fixed bisection over temperature that finds dew and frost points, and the exact root.
//
// The bisection's answer is decided only by its comparisons of the saturation pressure just
// above and just below each estimate with the partial pressure. The solvers first enclose the
// crossing, the temperature where the saturation pressure meets the partial pressure, between
// two evaluated temperatures a fraction of a millikelvin apart (usually with two or four
// evaluations). Where the saturation pressure is known to rise with temperature, every
// comparison at a temperature outside the enclosure is then known without evaluating, and where
// the bisection ends follows from the binary tree of its estimates; a comparison inside the
// enclosure is evaluated exactly as the bisection evaluates it. The answer is therefore the
// bisection's, bit for bit. Where the rise is not known, the plain bisection runs.
//
// The exact root starts from what the bisection's answer leaves: the enclosure, or the pair of
// temperatures that answer was accepted between, and closes in on the crossing with secant steps
// (usually one more evaluation).
#include "physics/dew_point_solver.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <mutex>

#include "physics/rounding.h"
#include "physics/saturation_pressure.h"
#include "physics/temperature_scale.h"

namespace ruruzir {
namespace {

constexpr double kFirstEstimateC = -40.0;  // every search starts here
constexpr double kFirstStepC = 100.0;      // halved before each move
constexpr double kSmallestStepC = 0.01;    // a halved step below this ends the search
constexpr double kAcceptanceHalfWidthC = 0.01;

using SaturationFunction = double (*)(double, double, const MoistureModel&);

// Raises or lowers the estimate by halved steps until the partial pressure lies between the
// saturation pressures just below and just above it, and returns that estimate (the caller
// rounds it). An unordered comparison (a NaN pressure) accepts nothing and ends the search
// without an answer.
double Bisect(SaturationFunction saturation, double partialPressure, double totalPressure,
              const MoistureModel& model) {
  double estimate = kFirstEstimateC;
  double step = kFirstStepC;
  for (;;) {
    const double above = saturation(estimate + kAcceptanceHalfWidthC, totalPressure, model);
    if (above < partialPressure) {
      step *= 0.5;
      estimate += step;
    } else {
      const double below = saturation(estimate - kAcceptanceHalfWidthC, totalPressure, model);
      if (below > partialPressure) {
        step *= 0.5;
        estimate -= step;
      } else if (below <= partialPressure && partialPressure <= above) {
        return estimate;
      } else {
        return NO_SOLUTION;
      }
    }
    if (step < kSmallestStepC) return NO_SOLUTION;
  }
}

// ---------------------------------------------------------------------------------------------
// Where the saturation pressure rises with temperature.
//
// Every temperature the bisection tests lies within -139.998 .. +59.998 degC. On
// kLowestC .. kHighestC every formulation rises with temperature, over ice and over water, by
// at least 0.04 of its value per kelvin. An enhancement factor keeps that for total pressures
// of kFactorLowestMbar to kFactorHighestMbar (at least 0.005 per kelvin), except Greenspan's
// over supercooled water, whose factor grows so fast towards the cold end as the total pressure
// rises that the saturation pressure falls there: kGreenspanWaterLowestC gives the lowest
// temperature from which it rises, 2 K above where the rise was found to stop.
//
// At 0 degC both functions switch equations (ice or supercooled water below, water above), and
// with an enhancement factor the pressure may step down there by up to 0.2 %. Within the
// pressure range above, every value below 0 degC stays below the value at +kZeroBandC and every
// value from 0 degC up stays above the value at -kZeroBandC.
constexpr double kLowestC = -140.02;
constexpr double kHighestC = 60.02;
constexpr double kFactorLowestMbar = 5.0;
constexpr double kFactorHighestMbar = 20000.0;
constexpr double kZeroBandC = 0.2;

constexpr int kPressureBands = 8;
constexpr double kBandTopMbar[kPressureBands] = {10, 30, 100, 300, 1000, 3000, 10000, 20000};
// Rows: the formulations in the order of Formulation (Hyland-Wexler, Goff-Gratch, Sonntag,
// Magnus).
constexpr double kGreenspanWaterLowestC[4][kPressureBands] = {
    {kLowestC, kLowestC, kLowestC, kLowestC, kLowestC, kLowestC, -135.2, -123.8},
    {kLowestC, -136.9, -134.4, -131.8, -128.5, -124.8, -119.8, -113.7},
    {kLowestC, kLowestC, kLowestC, kLowestC, kLowestC, kLowestC, kLowestC, -135.9},
    {kLowestC, kLowestC, kLowestC, kLowestC, kLowestC, kLowestC, -132.0, -123.8},
};

enum class Curve { Ice, Water };

struct GuessTable;

// The saturation function of one solve: what it is, and where it rises.
struct Inversion {
  SaturationFunction saturation;
  Curve curve;
  double totalPressure;
  double lowestC;                // the function rises from here to kHighestC
  bool iceGuess;                 // Magnus' ice equation guesses better below 0 degC
  const GuessTable* guessTable;  // without an enhancement factor: the function's guesses
  MoistureModel model;
  bool rises;  // FindRisingRange found where the function rises
};

// Guesses of the crossing without an enhancement factor, where the total pressure plays no part:
// 1/(absolute temperature of the crossing) at ln(partial pressure) = kGuessFirstLn, ...,
// kGuessLastLn, found once per formulation and function by bisection, and interpolated
// quadratically. Over the solvers' range the guess lies within 6e-5 degC of the crossing, except
// within a few degrees of 0 degC where the equations switch. The guesses only choose where to
// evaluate: they never decide a comparison.
constexpr int kGuessIntervals = 128;
constexpr double kGuessFirstLn = -28.0;
constexpr double kGuessLastLn = 5.5;
constexpr double kGuessStepLn = (kGuessLastLn - kGuessFirstLn) / kGuessIntervals;
constexpr double kGuessSpreadC = 2e-4;

constexpr int kFormulationCount = 4;

// Each entry is found when a guess first needs it (a conversion needs three of the 129), from
// whichever thread needs it first; two threads that find one at once find the same bits.
struct GuessTable {
  SaturationFunction saturation;
  Formulation formulation;
  mutable std::atomic<uint64_t> reciprocalKelvinBits[kGuessIntervals + 1];  // 0: not found yet
};

// 1/(absolute temperature of the crossing) at entry i, by bisection.
double FindGuessEntry(const GuessTable& table, int i) {
  const MoistureModel model{table.formulation, EnhancementFactor::None};
  const double partialPressure = std::exp(kGuessFirstLn + i * kGuessStepLn);
  double lo = -190.0;  // beyond the range, so that the guesses near its ends are good as well
  double hi = 90.0;
  for (int step = 0; step < 60; ++step) {
    const double middle = 0.5 * (lo + hi);
    if (table.saturation(middle, 0.0, model) < partialPressure) {
      lo = middle;
    } else {
      hi = middle;
    }
  }
  return 1.0 / (0.5 * (lo + hi) + kKelvinOffset);
}

// Kept out of line: the entries are found once, and read for every guess.
[[gnu::noinline]] double FindAndKeepGuessEntry(const GuessTable& table, int i) {
  const double entry = FindGuessEntry(table, i);
  uint64_t bits;
  std::memcpy(&bits, &entry, sizeof bits);
  table.reciprocalKelvinBits[i].store(bits, std::memory_order_release);
  return entry;
}

inline double GuessEntry(const GuessTable& table, int i) {
  const uint64_t bits = table.reciprocalKelvinBits[i].load(std::memory_order_acquire);
  if (bits == 0) return FindAndKeepGuessEntry(table, i);
  double entry;
  std::memcpy(&entry, &bits, sizeof entry);
  return entry;
}

// The guesses of one formulation and function; what they are set once, on first use.
const GuessTable& GuessTableFor(Formulation formulation, Curve curve,
                                SaturationFunction saturation) {
  struct Tables {
    std::once_flag set[kFormulationCount][2];
    GuessTable table[kFormulationCount][2];
  };
  static Tables tables;
  const int row = static_cast<int>(formulation);
  const int column = static_cast<int>(curve);
  GuessTable& table = tables.table[row][column];
  std::call_once(tables.set[row][column], [&] {
    table.saturation = saturation;
    table.formulation = formulation;
  });
  return table;
}

double TableGuess(const GuessTable& table, double lnPartial) {
  const double x = (lnPartial - kGuessFirstLn) * (1.0 / kGuessStepLn);
  // Beyond the table the crossing lies far beyond the solvers' range.
  if (x < 0.0) return kLowestC;
  if (x > kGuessIntervals) return kHighestC;
  const int i = x < 1.0                   ? 1
                : x > kGuessIntervals - 1 ? kGuessIntervals - 1
                                          : static_cast<int>(x + 0.5);
  const double w = x - i;
  const double below = GuessEntry(table, i - 1);
  const double at = GuessEntry(table, i);
  const double above = GuessEntry(table, i + 1);
  const double slope = 0.5 * (above - below);
  const double bend = above - 2.0 * at + below;
  return 1.0 / (at + w * (slope + 0.5 * w * bend)) - kKelvinOffset;
}

// Fills in where the saturation function rises at the total pressure, for the options in force;
// false when that is not known.
bool FindRisingRange(Inversion& inversion) {
  const MoistureModel& model = inversion.model;
  inversion.lowestC = kLowestC;
  // Hyland-Wexler continues water below 0 degC with its ice equation.
  inversion.iceGuess =
      inversion.curve == Curve::Ice || model.formulation == Formulation::HylandWexler;
  inversion.guessTable = nullptr;
  if (model.enhancement == EnhancementFactor::None) {  // the total pressure is not used
    inversion.guessTable = &GuessTableFor(model.formulation, inversion.curve, inversion.saturation);
    return true;
  }
  const double p = inversion.totalPressure;
  if (!(p >= kFactorLowestMbar && p <= kFactorHighestMbar)) return false;
  if (model.enhancement != EnhancementFactor::Greenspan || inversion.curve != Curve::Water) {
    return true;
  }
  int band = 0;
  while (p > kBandTopMbar[band]) ++band;
  inversion.lowestC = kGreenspanWaterLowestC[static_cast<int>(model.formulation)][band];
  return true;
}

// ---------------------------------------------------------------------------------------------
// Finding the crossing.

// Margin, degC, between a tested temperature and a point whose saturation pressure was
// evaluated: over it the pressure changes by at least 5e-9 of its value (at 0.005 per kelvin),
// a million times more than the rounding errors of the equations.
constexpr double kMarginC = 1e-6;
// The crossing is enclosed to within this width: so narrow that the bisection's path seldom
// tests a temperature inside it.
constexpr double kEnclosureC = 1e-3;
constexpr int kMostNewtonSteps = 10;

// The crossing lies above `below` and under `above`: the saturation pressure at `below` is at
// most the partial pressure, at `above` at least. An infinite end means nothing is known there.
// The pressures evaluated at the ends are kept for the exact root.
struct Enclosure {
  double below = -INFINITY;
  double above = INFINITY;
  double pressureBelow = NAN;
  double pressureAbove = NAN;
};

// Magnus' equations as a first guess and for the slope of ln(saturation pressure).
constexpr double kMagnusLnMbar = 1.8103414;  // ln 6.112
constexpr double kMagnusWaterA = 17.62, kMagnusWaterB = 243.12;
constexpr double kMagnusIceA = 22.46, kMagnusIceB = 272.2;

double MagnusInverse(double a, double b, double lnRatio) {
  return lnRatio >= a * 0.5 ? kHighestC : b * lnRatio / (a - lnRatio);
}

double MagnusSlope(Curve curve, double t) {
  const bool ice = curve == Curve::Ice && t < 0.0;
  const double a = ice ? kMagnusIceA : kMagnusWaterA;
  const double b = ice ? kMagnusIceB : kMagnusWaterB;
  return a * b / ((t + b) * (t + b));
}

double Larger(double a, double b) {
  return a > b ? a : b;
}
double Smaller(double a, double b) {
  return a < b ? a : b;
}

double Clamp(double t, double lo, double hi) {
  return t < lo ? lo : t > hi ? hi : t;
}

// Notes an evaluated point in the enclosure, by the side of the partial pressure its saturation
// pressure lies on.
void Note(Enclosure& enclosure, double t, double pressure, double partialPressure) {
  if (pressure <= partialPressure && t > enclosure.below) {
    enclosure.below = t;
    enclosure.pressureBelow = pressure;
  }
  if (pressure >= partialPressure && t < enclosure.above) {
    enclosure.above = t;
    enclosure.pressureAbove = pressure;
  }
}

bool PositiveFinite(double pressure) {
  return pressure > 0.0 && pressure < INFINITY;
}

// True when the enclosure says where every tested comparison goes: it is narrow, or an
// evaluated end of the range shows the crossing to lie beyond it.
bool Enclosed(const Inversion& inversion, const Enclosure& enclosure) {
  return enclosure.above - enclosure.below <= kEnclosureC || enclosure.above == inversion.lowestC ||
         enclosure.below == kHighestC;
}

// Newton steps on g(t) = ln(saturation pressure / partial pressure) from t, the slope from the
// last two points (from Magnus' equation at first). Each evaluated point narrows the enclosure;
// once the next point is predicted to lie close to the crossing, it is placed a little beyond
// it, so that it closes the enclosure from the other side. False when the function misbehaves
// (not a positive finite pressure) or the steps do not settle.
bool NewtonSteps(const Inversion& inversion, double partialPressure, double t,
                 Enclosure& enclosure) {
  const double lowest = inversion.lowestC;
  const double lnPartial = std::log(partialPressure);
  double previousT = NAN;
  double previousG = NAN;
  for (int i = 0; i < kMostNewtonSteps; ++i) {
    const double pressure = inversion.saturation(t, inversion.totalPressure, inversion.model);
    if (!PositiveFinite(pressure)) return false;
    Note(enclosure, t, pressure, partialPressure);
    if (Enclosed(inversion, enclosure)) return true;
    const double g = std::log(pressure) - lnPartial;
    double slope = (g - previousG) / (t - previousT);
    if (!(slope > 0.0 && slope < INFINITY)) slope = MagnusSlope(inversion.curve, t);
    const double step = -g / slope;
    double next = t + step;
    if (std::fabs(step) < 0.5 * kEnclosureC) {
      next += step > 0.0 ? 0.25 * kEnclosureC : -0.25 * kEnclosureC;
    }
    next = Clamp(next, lowest, kHighestC);
    if (!(next > enclosure.below && next < enclosure.above)) {
      next = std::isfinite(enclosure.below) && std::isfinite(enclosure.above)
                 ? 0.5 * (enclosure.below + enclosure.above)
                 : Clamp(t + (step > 0.0 ? 1.0 : -1.0), lowest, kHighestC);
    }
    previousT = t;
    previousG = g;
    t = next;
  }
  return false;
}

// ln x for a positive finite x within 2e-4, enough for a first guess: the binary exponent and a
// polynomial of the mantissa (subnormal numbers come out near -709, which serves as well).
double RoughLog(double x) {
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  const int exponent = static_cast<int>((bits >> 52) & 0x7FFu) - 1023;
  bits = (bits & 0x000FFFFFFFFFFFFFu) | 0x3FF0000000000000u;
  double mantissa;
  std::memcpy(&mantissa, &bits, sizeof mantissa);
  const double z = mantissa - 1.0;
  return exponent * 0.6931471805599453 +
         ((((-0.05486825639731308 * z + 0.21642894936549284) * z - 0.4640913407843089) * z +
           0.9954340913579192) *
              z +
          0.00014083345733357957);
}

// Half the distance of the first two points, degC, around Magnus' guess.
constexpr double kFirstSpreadC = 0.25;

// ---------------------------------------------------------------------------------------------
// Walking the bisection's path.

// What is known of the saturation pressure at a tested temperature against the partial pressure.
enum class Known { Below, Above, Unknown };

Known Compare(const Inversion& inversion, const Enclosure& enclosure, double t) {
  if (t < inversion.lowestC) return Known::Unknown;
  if (t <= enclosure.below - kMarginC) return Known::Below;
  if (t >= enclosure.above + kMarginC) return Known::Above;
  return Known::Unknown;
}

// The bisection of Bisect, step for step, with the comparisons known from the enclosure taken
// as known and every other one evaluated.
double Replay(const Inversion& inversion, double partialPressure, const Enclosure& enclosure) {
  double estimate = kFirstEstimateC;
  double step = kFirstStepC;
  for (;;) {
    const double aboveC = estimate + kAcceptanceHalfWidthC;
    bool aboveIsLess;     // saturation(aboveC) < partial pressure
    bool aboveReachesIt;  // partial pressure <= saturation(aboveC)
    switch (Compare(inversion, enclosure, aboveC)) {
      case Known::Below:
        aboveIsLess = true;
        aboveReachesIt = false;
        break;
      case Known::Above:
        aboveIsLess = false;
        aboveReachesIt = true;
        break;
      default: {
        const double above = inversion.saturation(aboveC, inversion.totalPressure, inversion.model);
        aboveIsLess = above < partialPressure;
        aboveReachesIt = partialPressure <= above;
      }
    }
    if (aboveIsLess) {
      step *= 0.5;
      estimate += step;
    } else {
      const double belowC = estimate - kAcceptanceHalfWidthC;
      bool belowIsGreater;  // saturation(belowC) > partial pressure
      bool belowReachesIt;  // saturation(belowC) <= partial pressure
      switch (Compare(inversion, enclosure, belowC)) {
        case Known::Below:
          belowIsGreater = false;
          belowReachesIt = true;
          break;
        case Known::Above:
          belowIsGreater = true;
          belowReachesIt = false;
          break;
        default: {
          const double below =
              inversion.saturation(belowC, inversion.totalPressure, inversion.model);
          belowIsGreater = below > partialPressure;
          belowReachesIt = below <= partialPressure;
        }
      }
      if (belowIsGreater) {
        step *= 0.5;
        estimate -= step;
      } else if (belowReachesIt && aboveReachesIt) {
        return estimate;
      } else {
        return NO_SOLUTION;
      }
    }
    if (step < kSmallestStepC) return NO_SOLUTION;
  }
}

// The estimates the bisection tests are -40 + n * kGridC for even n with |n| < kGridEnd: the
// first one n = 0, after the first move n = +-8192, ..., after the 13th move (0.0122 degC) an
// even n. A 14th move would end the search without an answer.
constexpr double kGridC = 100.0 / 16384;
constexpr int kGridEnd = 16384;

int HighestBit(unsigned bits) {
#if defined(__GNUC__)
  return 31 - __builtin_clz(bits);
#else
  int k = 0;
  while ((bits >> (k + 1)) != 0) ++k;
  return k;
#endif
}

double GridEstimate(int n) {
  return kFirstEstimateC + n * kGridC;
}

// Where the bisection ends, found without walking its path, when every comparison it makes is
// known from the enclosure; false when one is not (then Replay evaluates).
//
// The search moves up from every estimate whose comparison above is known to be below the
// partial pressure (those from the grid's bottom to A - 1) and down from every estimate whose
// comparison below is known to be above it (B + 1 to the top). It stops at the first estimate
// of A..B it visits: the one nearest the root of the binary tree of estimates, that is the one
// divisible by the highest power of two.
bool FindPathEnd(const Enclosure& enclosure, double& result) {
  const double upLimit = enclosure.below - kMarginC;    // above this, not known below
  const double downLimit = enclosure.above + kMarginC;  // under this, not known above
  const auto knownUp = [upLimit](int n) {
    return GridEstimate(n) + kAcceptanceHalfWidthC <= upLimit;
  };
  const auto knownDown = [downLimit](int n) {
    return GridEstimate(n) - kAcceptanceHalfWidthC >= downLimit;
  };
  // The grid index just below t, kept within reach of the grid's ends; A and B lie within one
  // index of the exact quotient, so counting the known moves around it finds them.
  const auto gridIndex = [](double t) {
    const double q = (t - kFirstEstimateC) * (1.0 / kGridC) + kGridEnd;
    return q < 3                  ? 3 - kGridEnd
           : q > 2 * kGridEnd - 3 ? kGridEnd - 3
                                  : static_cast<int>(q) - kGridEnd;
  };
  const int up = gridIndex(upLimit - kAcceptanceHalfWidthC);
  const int first = up - 1 + knownUp(up - 1) + knownUp(up) + knownUp(up + 1);  // A
  const int down = gridIndex(downLimit + kAcceptanceHalfWidthC);
  const int last = down + 1 - knownDown(down - 1) - knownDown(down) - knownDown(down + 1);  // B
  // Only even indices inside the grid are tested.
  const int lowest = first < 2 - kGridEnd ? 2 - kGridEnd : first;
  const int highest = last > kGridEnd - 2 ? kGridEnd - 2 : last;
  if (lowest > highest) {
    result = NO_SOLUTION;
    return true;
  }
  const unsigned lo = static_cast<unsigned>(lowest + kGridEnd);
  const unsigned hi = static_cast<unsigned>(highest + kGridEnd);
  unsigned node = lo;
  if (lo != hi) {
    const int k = HighestBit(lo ^ hi);  // the highest bit in which lo and hi differ
    const unsigned mask = (2u << k) - 1;
    node = (lo & mask) == 0 ? lo : (hi >> k) << k;
  }
  if ((node & 1u) != 0) {
    result = NO_SOLUTION;
    return true;
  }
  const double estimate = GridEstimate(static_cast<int>(node) - kGridEnd);
  if (estimate + kAcceptanceHalfWidthC >= downLimit &&
      estimate - kAcceptanceHalfWidthC <= upLimit) {
    result = estimate;
    return true;
  }
  return false;
}

// Where the bisection ends once the enclosure is known.
double Finish(const Inversion& inversion, double partialPressure, const Enclosure& enclosure) {
  // Near 0 degC the switch of equations may step the pressure down.
  if (enclosure.below < kZeroBandC && enclosure.above > -kZeroBandC) {
    return Bisect(inversion.saturation, partialPressure, inversion.totalPressure, inversion.model);
  }
  double result;
  if (inversion.lowestC == kLowestC && FindPathEnd(enclosure, result)) return result;
  return Replay(inversion, partialPressure, enclosure);
}

// The pair of the last round: `spread` either side of `estimate`, within lowest .. kHighestC.
void PlacePair(double estimate, double spread, double lowest, double* pair) {
  const double t = Clamp(estimate, lowest, kHighestC);
  pair[0] = Larger(t - spread, lowest);
  pair[1] = Smaller(t + spread, kHighestC);
}

// With an enhancement factor, the first round: the two temperatures either side of Magnus'
// guess, into t; returns the guess (clamped).
double FirstRound(const Inversion& inversion, double partialPressure, double* t) {
  const double lnRatio = RoughLog(partialPressure) - kMagnusLnMbar;
  const double guess = inversion.iceGuess && lnRatio < 0.0
                           ? MagnusInverse(kMagnusIceA, kMagnusIceB, lnRatio)
                           : MagnusInverse(kMagnusWaterA, kMagnusWaterB, lnRatio);
  const double lowest = inversion.lowestC;
  const double centre = Clamp(guess, lowest + kFirstSpreadC, kHighestC - kFirstSpreadC);
  t[0] = Larger(centre - kFirstSpreadC, lowest);
  t[1] = Smaller(centre + kFirstSpreadC, kHighestC);
  return centre;
}

// ln(saturation pressure) is nearly linear in 1/(absolute temperature), so the line through the
// first round's pair t (pressures p) in those terms meets ln(partial pressure) close to the
// crossing, within about 2e-3 of the squared distance to the farther point: that estimate, and
// the spread of the last round around it. False where the pair does not rise.
bool SecondRound(double partialPressure, const double* t, const double* p, double* estimate,
                 double* spread) {
  const double reciprocal = 1.0 / partialPressure;
  const double g1 = std::log(p[0] * reciprocal);
  const double g2 = std::log(p[1] * reciprocal);
  if (!(g2 > g1)) return false;
  // 1/T = 1/T1 + w (1/T2 - 1/T1) with w = g1 / (g1 - g2), in one division.
  const double kelvin1 = t[0] + kKelvinOffset;
  const double kelvin2 = t[1] + kKelvinOffset;
  const double dg = g1 - g2;
  *estimate = kelvin1 * kelvin2 * dg / (kelvin2 * dg + g1 * (kelvin1 - kelvin2)) - kKelvinOffset;
  const double far = Larger(std::fabs(*estimate - t[0]), std::fabs(*estimate - t[1]));
  *spread = Smaller(4e-3 * far * far + 2e-5, 0.4 * kEnclosureC);
  return true;
}

// A solver's estimate in the precisions that round it.
double Rounded(double estimate, DewPointPrecision precision) {
  if (estimate == NO_SOLUTION) return NO_SOLUTION;
  return precision == DewPointPrecision::DecimalTenths
             ? NearestDecimalTenth(RoundDecimal(estimate, -1))
             : RoundDecimal(estimate, -1);
}

// The last round: two independent evaluations a little either side of a close estimate of the
// crossing. Where the bisection ends is worked out for that pair while it is evaluated (it
// depends on the pair's temperatures only); when the pair encloses the crossing, that is the
// answer. Otherwise Newton steps continue from the estimate.
double Close(const Inversion& inversion, double partialPressure, double estimate, double spread,
             Enclosure& enclosure) {
  const double lowest = inversion.lowestC;
  const double t = Clamp(estimate, lowest, kHighestC);
  double ends[2];
  PlacePair(estimate, spread, lowest, ends);
  Enclosure pair;
  pair.below = ends[0];
  pair.above = ends[1];
  const double p3 = inversion.saturation(pair.below, inversion.totalPressure, inversion.model);
  const double p4 = inversion.saturation(pair.above, inversion.totalPressure, inversion.model);
  double result = NO_SOLUTION;
  const bool resultKnown = lowest == kLowestC &&
                           (pair.below >= kZeroBandC || pair.above <= -kZeroBandC) &&
                           FindPathEnd(pair, result);
  if (resultKnown && p3 <= partialPressure && partialPressure <= p4 && p4 < INFINITY) {
    enclosure = {pair.below, pair.above, p3, p4};
    return result;
  }
  if (!PositiveFinite(p3) || !PositiveFinite(p4)) {
    return Bisect(inversion.saturation, partialPressure, inversion.totalPressure, inversion.model);
  }
  Note(enclosure, pair.below, p3, partialPressure);
  Note(enclosure, pair.above, p4, partialPressure);
  if (!Enclosed(inversion, enclosure) && !NewtonSteps(inversion, partialPressure, t, enclosure)) {
    return Bisect(inversion.saturation, partialPressure, inversion.totalPressure, inversion.model);
  }
  return Finish(inversion, partialPressure, enclosure);
}

// Without an enhancement factor the guess table leads straight to the last round. With one, a
// first round comes before: two independent evaluations straddling the guess from Magnus'
// equation. ln(saturation pressure) is nearly linear in 1/(absolute temperature), so the line
// through the pair in those terms meets ln(partial pressure) close to the crossing, within about
// 2e-3 of the squared distance to the farther point.
//
// Returns the estimate where the bisection ends, not yet rounded, or NO_SOLUTION; `enclosure`
// holds what was learnt of the crossing, and `inversion` where the function rises.
double Solve(Inversion& inversion, double partialPressure, Enclosure& enclosure) {
  inversion.rises =
      partialPressure > 0.0 && partialPressure < INFINITY && FindRisingRange(inversion);
  if (!inversion.rises) {
    return Bisect(inversion.saturation, partialPressure, inversion.totalPressure, inversion.model);
  }
  if (inversion.guessTable != nullptr) {
    const double guess = TableGuess(*inversion.guessTable, std::log(partialPressure));
    return Close(inversion, partialPressure, guess, kGuessSpreadC, enclosure);
  }
  double t[2], p[2];
  const double centre = FirstRound(inversion, partialPressure, t);
  for (int k = 0; k < 2; ++k) {
    p[k] = inversion.saturation(t[k], inversion.totalPressure, inversion.model);
  }
  if (!PositiveFinite(p[0]) || !PositiveFinite(p[1])) {
    return Bisect(inversion.saturation, partialPressure, inversion.totalPressure, inversion.model);
  }
  Note(enclosure, t[0], p[0], partialPressure);
  Note(enclosure, t[1], p[1], partialPressure);
  if (Enclosed(inversion, enclosure)) return Finish(inversion, partialPressure, enclosure);
  double estimate, spread;
  if (!SecondRound(partialPressure, t, p, &estimate, &spread)) {
    if (!NewtonSteps(inversion, partialPressure, centre, enclosure)) {
      return Bisect(inversion.saturation, partialPressure, inversion.totalPressure,
                    inversion.model);
    }
    return Finish(inversion, partialPressure, enclosure);
  }
  return Close(inversion, partialPressure, estimate, spread, enclosure);
}

// ---------------------------------------------------------------------------------------------
// The exact root.
//
// Where the bisection accepts an estimate E, the saturation pressure at E - 0.01 is at most the
// partial pressure and at E + 0.01 at least: a crossing lies between them. Where the function
// rises, that crossing is the only one, and the enclosure (a millikelvin or less wide, its ends
// evaluated) holds it too; elsewhere the pair E -+ 0.01 is evaluated and encloses it. Secant
// steps on g = saturation pressure / partial pressure - 1 then close in: over an enclosure of a
// millikelvin the first lands within about 1e-8 degC, the next within about 1e-13. The error of
// a secant point t between a and b is about g''/(2 g') (t - a) (b - t); once that, with g'' from
// the last three points, is below kPredictedErrorC, t is the root, without evaluating it; below
// kCorrectableC, t corrected by it (g'' is known to a part in a thousand or so). A
// midpoint replaces a secant step where the enclosure has not halved over the last two steps.

constexpr double kPredictedErrorC = 1e-13;
constexpr double kCorrectableC = 1e-10;
// Near the crossing g rises as ln(saturation pressure) does, by at most about 0.35 per kelvin
// over the solvers' range: a steeper enclosure holds a step of the function.
constexpr double kSteepestSlope = 2.0;
// An enclosure this narrow is the root's (to the resolution of a double near 60 degC).
constexpr double kSettledWidthC = 1e-12;
constexpr int kMostRefiningSteps = 160;  // halving at least every third step

// True when the enclosure holds the only crossing in E -+ 0.01: its evaluated ends bracket the
// partial pressure and it lies where the function rises, clear of 0 degC.
bool RisingEnclosure(const Inversion& inversion, double partialPressure, double estimate,
                     const Enclosure& enclosure) {
  return inversion.rises && std::isfinite(enclosure.below) && std::isfinite(enclosure.above) &&
         enclosure.below < enclosure.above && enclosure.pressureBelow <= partialPressure &&
         partialPressure <= enclosure.pressureAbove && enclosure.below >= inversion.lowestC &&
         estimate - kAcceptanceHalfWidthC >= inversion.lowestC && enclosure.above <= kHighestC &&
         (enclosure.below >= kZeroBandC || enclosure.above <= -kZeroBandC);
}

// The end b of a settled enclosure: the root, unless the function steps there (a factor read
// far out of its range), which is no root.
double Settled(double a, double ga, double b, double gb) {
  return gb - ga <= kSteepestSlope * (b - a) + kSettledWidthC ? b : NO_SOLUTION;
}

// g at a saturation pressure: its sign is exactly that of the pressure's difference.
double Excess(double pressure, double partialPressure) {
  return (pressure - partialPressure) / partialPressure;
}

// The crossing between a (the saturation pressure at most the partial pressure there, g = ga)
// and b (at least, g = gb).
double Refine(const Inversion& inversion, double partialPressure, double a, double ga, double b,
              double gb) {
  const auto g = [&](double t) {
    return Excess(inversion.saturation(t, inversion.totalPressure, inversion.model),
                  partialPressure);
  };
  // The equations switch at 0 degC: the largest double below it evaluates the lower equation
  // at 0 degC. Either side of 0 becomes an end, or the step at 0 holds the partial pressure.
  if (a < 0.0 && 0.0 < b) {
    const double g0 = g(0.0);
    if (g0 == 0.0) return 0.0;
    if (g0 < 0.0) {
      a = 0.0;
      ga = g0;
    } else if (g0 >= 0.0) {
      const double justBelow = -std::numeric_limits<double>::denorm_min();
      const double gJustBelow = g(justBelow);
      if (gJustBelow < 0.0) return 0.0;
      b = justBelow;
      gb = gJustBelow;
    }
  }
  double dropped = NAN;  // the end the last evaluated point replaced, and its g
  double gDropped = NAN;
  double widthBefore[2] = {INFINITY, INFINITY};
  for (int i = 0; i < kMostRefiningSteps; ++i) {
    if (ga == 0.0) return a;
    if (gb == 0.0) return b;
    const double width = b - a;
    if (width <= kSettledWidthC) return Settled(a, ga, b, gb);
    const double slope = (gb - ga) / width;
    bool secant = width <= 0.5 * widthBefore[1];
    double t = secant ? a - ga / slope : NAN;
    if (!(t > a && t < b)) {
      secant = false;
      t = 0.5 * (a + b);
      if (!(t > a && t < b)) return Settled(a, ga, b, gb);
    }
    if (secant && slope <= kSteepestSlope) {
      // g''/2 from the three points a, b and the dropped end, and the secant's error.
      const double bend = (slope - (ga - gDropped) / (a - dropped)) / (b - dropped);
      const double error = bend / slope * (t - a) * (b - t);
      if (std::fabs(error) <= kPredictedErrorC) return t;
      if (std::fabs(error) <= kCorrectableC) return Clamp(t + error, a, b);
    }
    const double gt = g(t);
    if (gt <= 0.0) {
      dropped = a;
      gDropped = ga;
      a = t;
      ga = gt;
    } else if (gt > 0.0) {
      dropped = b;
      gDropped = gb;
      b = t;
      gb = gt;
    } else {
      return NO_SOLUTION;  // no pressure inside an evaluated enclosure
    }
    widthBefore[1] = widthBefore[0];
    widthBefore[0] = width;
  }
  return NO_SOLUTION;  // not reached: the enclosure halves at least every third step
}

// The crossing in E -+ 0.01, the bisection's answer E before rounding.
double ExactRoot(const Inversion& inversion, double partialPressure, double estimate,
                 const Enclosure& enclosure) {
  // The bisection answers for some partial pressures that are not a positive number, and, where
  // an enhancement factor reads the total pressure, for some that are not a positive number or
  // lie beneath the partial pressure (a mixture that cannot be): the saturation pressure does
  // not cross the partial pressure there, it is infinite, steps over it or is lost in rounding.
  if (!PositiveFinite(partialPressure) ||
      (inversion.model.enhancement != EnhancementFactor::None &&
       !(PositiveFinite(inversion.totalPressure) && partialPressure <= inversion.totalPressure))) {
    return NO_SOLUTION;
  }
  if (RisingEnclosure(inversion, partialPressure, estimate, enclosure)) {
    return Refine(inversion, partialPressure, enclosure.below,
                  Excess(enclosure.pressureBelow, partialPressure), enclosure.above,
                  Excess(enclosure.pressureAbove, partialPressure));
  }
  const double below = estimate - kAcceptanceHalfWidthC;
  const double above = estimate + kAcceptanceHalfWidthC;
  const double atBelow = inversion.saturation(below, inversion.totalPressure, inversion.model);
  const double atAbove = inversion.saturation(above, inversion.totalPressure, inversion.model);
  // The bisection compared these very values.
  if (!(atBelow <= partialPressure && partialPressure <= atAbove)) return NO_SOLUTION;
  return Refine(inversion, partialPressure, below, Excess(atBelow, partialPressure), above,
                Excess(atAbove, partialPressure));
}

double SolveAt(Inversion inversion, double partialPressure, DewPointPrecision precision) {
  Enclosure enclosure;
  const double estimate = Solve(inversion, partialPressure, enclosure);
  if (estimate == NO_SOLUTION) return NO_SOLUTION;
  if (precision == DewPointPrecision::Exact) {
    return ExactRoot(inversion, partialPressure, estimate, enclosure);
  }
  return Rounded(estimate, precision);
}

Inversion IceInversion(double totalPressureMbar, const MoistureModel& model) {
  return {
      SaturationPressureIce, Curve::Ice, totalPressureMbar, kLowestC, true, nullptr, model, false};
}

Inversion WaterInversion(double totalPressureMbar, const MoistureModel& model) {
  return {SaturationPressureWater,
          Curve::Water,
          totalPressureMbar,
          kLowestC,
          false,
          nullptr,
          model,
          false};
}

// ---------------------------------------------------------------------------------------------
// Many partial pressures at once.
//
// The bisection's answer follows from any enclosure of the crossing, however it was found:
// FindPathEnd where it can, else Finish, which evaluates only the comparisons the enclosure
// leaves open. The array solver places its pairs as Solve does, with the saturation pressures
// evaluated several per instruction (SaturationPressureArray), and takes a narrow pair as the
// enclosure only where the kernel's bound leaves no doubt on which side of the partial pressure
// each end lies: a scalar value s and the kernel's v with bound b satisfy |v / s - 1| <= b, so
// s < v (1 + 2b) and s > v (1 - 2b) for any b below a quarter. A pair that does not enclose the
// crossing leads to the next one as Solve's first round does, for at most kArrayRounds rounds;
// an element still open then is solved by SolveAt.

constexpr size_t kArrayBlock = 128;
constexpr int kArrayRounds = 3;

bool SurelyAtMost(double kernel, double bound, double partialPressure) {
  return kernel * (1.0 + 2.0 * bound) < partialPressure;
}
bool SurelyAtLeast(double kernel, double bound, double partialPressure) {
  return kernel * (1.0 - 2.0 * bound) > partialPressure && kernel < INFINITY;
}

// The elements of one block still open, with their pairs.
struct ArrayBlock {
  size_t open = 0;
  size_t element[kArrayBlock];
  double partial[kArrayBlock];
  double t[2 * kArrayBlock], total[2 * kArrayBlock];
  double pressure[2 * kArrayBlock], bound[2 * kArrayBlock];
};

}  // namespace

void SolveDewPointArray(bool overIce, size_t count, const double* partialPressuresMbar,
                        const double* totalPressuresMbar, const MoistureModel& model,
                        DewPointPrecision precision, double* answers) {
  // The inversion of the last total pressure asked for: most arrays have one.
  Inversion inversion{};
  double inversionTotal = 0.0;
  bool known = false;
  const auto inversionOf = [&](size_t i) -> const Inversion& {
    if (!known ||
        std::memcmp(&inversionTotal, &totalPressuresMbar[i], sizeof inversionTotal) != 0) {
      known = true;
      inversionTotal = totalPressuresMbar[i];
      inversion =
          overIce ? IceInversion(inversionTotal, model) : WaterInversion(inversionTotal, model);
      inversion.rises = FindRisingRange(inversion);
    }
    return inversion;
  };
  const bool vector = HasVectorSaturation() && precision != DewPointPrecision::Exact;
  ArrayBlock block;
  for (size_t start = 0; start < count; start += kArrayBlock) {
    const size_t end = count - start < kArrayBlock ? count : start + kArrayBlock;
    block.open = 0;
    for (size_t i = start; i < end; ++i) {
      const double partialPressure = partialPressuresMbar[i];
      const Inversion& held = inversionOf(i);
      if (!vector || !PositiveFinite(partialPressure) || !held.rises || held.lowestC != kLowestC) {
        answers[i] = SolveAt(held, partialPressure, precision);
        continue;
      }
      const size_t k = block.open++;
      block.element[k] = i;
      block.partial[k] = partialPressure;
      double* t = &block.t[2 * k];
      if (held.guessTable != nullptr) {
        // Straight to the last round, around the table's guess.
        PlacePair(TableGuess(*held.guessTable, std::log(partialPressure)), kGuessSpreadC, kLowestC,
                  t);
      } else {
        FirstRound(held, partialPressure, t);
      }
    }
    for (int round = 0; round < kArrayRounds && block.open > 0; ++round) {
      for (size_t k = 0; k < block.open; ++k) {
        block.total[2 * k] = block.total[2 * k + 1] = totalPressuresMbar[block.element[k]];
      }
      SaturationPressureArray(overIce, 2 * block.open, block.t, block.total, model, block.pressure,
                              block.bound);
      size_t stillOpen = 0;
      for (size_t k = 0; k < block.open; ++k) {
        const size_t i = block.element[k];
        const double partialPressure = block.partial[k];
        double* t = &block.t[2 * k];
        const double* p = &block.pressure[2 * k];
        const double* bound = &block.bound[2 * k];
        double estimate, spread;
        if (t[1] - t[0] <= kEnclosureC && SurelyAtMost(p[0], bound[0], partialPressure) &&
            SurelyAtLeast(p[1], bound[1], partialPressure)) {
          Enclosure pair;
          pair.below = t[0];
          pair.above = t[1];
          if (!(pair.below >= kZeroBandC || pair.above <= -kZeroBandC) ||
              !FindPathEnd(pair, estimate)) {
            // The scalar solver would hold this very enclosure: it evaluates what it leaves open.
            estimate = Finish(inversionOf(i), partialPressure, pair);
          }
          answers[i] = Rounded(estimate, precision);
        } else if (round + 1 < kArrayRounds && PositiveFinite(p[0]) && PositiveFinite(p[1]) &&
                   SecondRound(partialPressure, t, p, &estimate, &spread) &&
                   std::isfinite(estimate)) {
          PlacePair(estimate, spread, kLowestC, t);
          const size_t j = stillOpen++;
          block.element[j] = i;
          block.partial[j] = partialPressure;
          block.t[2 * j] = t[0];
          block.t[2 * j + 1] = t[1];
        } else {
          answers[i] = SolveAt(inversionOf(i), partialPressure, precision);
        }
      }
      block.open = stillOpen;
    }
  }
}

double NearestDecimalTenth(double tenths) {
  if (tenths == NO_SOLUTION || !std::isfinite(tenths)) return tenths;
  return std::nearbyint(tenths * 10.0) / 10.0;
}

double SolveDewFrostPoint(double partialPressureMbar, double totalPressureMbar,
                          const MoistureModel& model, DewPointPrecision precision) {
  return SolveAt(IceInversion(totalPressureMbar, model), partialPressureMbar, precision);
}

double SolveDewPoint(double partialPressureMbar, double totalPressureMbar,
                     const MoistureModel& model, DewPointPrecision precision) {
  return SolveAt(WaterInversion(totalPressureMbar, model), partialPressureMbar, precision);
}

double KnownRiseFromC(bool overIce, double totalPressureMbar, const MoistureModel& model) {
  Inversion inversion =
      overIce ? IceInversion(totalPressureMbar, model) : WaterInversion(totalPressureMbar, model);
  return FindRisingRange(inversion) ? inversion.lowestC : NAN;
}

}  // namespace ruruzir
