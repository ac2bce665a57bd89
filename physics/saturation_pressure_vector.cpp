// The saturation formulations and enhancement factors of saturation_pressure.cpp, several
// temperatures per instruction: the same expressions in the same order, with Highway's vector
// exp, log and log10 in place of the C library's. Highway compiles this file once per
// instruction set (SSE2 up to AVX-512) and picks the best the processor has at run time.
#include "physics/saturation_pressure.h"

#ifndef RURUZIR_VECTOR_SATURATION

#include <cmath>

namespace ruruzir {

bool HasVectorSaturation() {
  return false;
}

void SaturationPressureArray(bool overIce, size_t count, const double*, const double*,
                             const MoistureModel&, double* pressures, double* errors) {
  for (size_t i = 0; i < count; ++i) pressures[i] = errors[i] = NAN;
  (void)overIce;
}

}  // namespace ruruzir

#else

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "physics/saturation_pressure_vector.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
// Included once per target, after foreach_target.h.
#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include <cmath>

#include "physics/temperature_scale.h"

HWY_BEFORE_NAMESPACE();
namespace ruruzir {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;
using D = hn::ScalableTag<double>;
using V = hn::Vec<D>;

HWY_INLINE V K(double c) {
  return hn::Set(D(), c);
}
HWY_INLINE V Log10(V x) {
  return hn::Log10(D(), x);
}
HWY_INLINE V Ln(V x) {
  return hn::Log(D(), x);
}
HWY_INLINE V Exp(V x) {
  return hn::Exp(D(), x);
}
// 10^x as e^(x ln 10): the product adds at most one rounding of x ln 10 to the exponent.
HWY_INLINE V Pow10(V x) {
  return Exp(x * K(2.302585092994045684));
}

V GoffGratchWater(V kelvin) {
  const V r = K(373.16) / kelvin;
  const V one = K(1.0);
  const V logPressure =
      K(5.02808) * Log10(r) - K(7.90298) * (r - one) -
      K(1.3816e-7) * (Pow10(K(11.344) * (one - kelvin * K(0.0026798156286847465))) - one) +
      K(8.1328e-3) * (Pow10(K(-3.49149) * (r - one)) - one) + K(std::log10(1013.246));
  return Pow10(logPressure);
}

V GoffGratchIce(V kelvin) {
  const V r = K(273.16) / kelvin;
  const V one = K(1.0);
  const V logPressure = K(0.876793) * (one - kelvin * K(0.0036608581051398447)) -
                        (K(3.56654) * Log10(r) + K(9.09718) * (r - one)) + K(std::log10(6.1071));
  return Pow10(logPressure);
}

V HylandWexlerWater(V kelvin) {
  const V lnPressureKpa = K(6.5459673) * Ln(kelvin) + K(4.1764768e-5) * kelvin * kelvin -
                          (K(5800.2206) / kelvin + K(0.048640239) * kelvin + K(5.516256)) -
                          K(1.4452093e-8) * kelvin * kelvin * kelvin;
  return K(10.0) * Exp(lnPressureKpa);
}

V HylandWexlerIce(V kelvin) {
  const V k2 = kelvin * kelvin;
  const V lnPressureKpa =
      K(4.1635019) * Ln(kelvin) + (K(2.0747826e-9) * kelvin + K(6.2215701e-7)) * k2 -
      (K(5674.5359) / kelvin + K(0.009677843) * kelvin + K(0.51523058)) - K(9.484024e-13) * k2 * k2;
  return K(10.0) * Exp(lnPressureKpa);
}

V SonntagWater(V kelvin) {
  return K(0.01) * Exp(K(2.433502) * Ln(kelvin) + K(21.2409642) - K(6096.9385) / kelvin -
                       K(0.02711193) * kelvin + K(1.673952e-5) * kelvin * kelvin);
}

V SonntagIce(V kelvin) {
  return K(0.01) * Exp(K(0.010613868) * kelvin - K(6024.5282) / kelvin + K(29.32707) -
                       K(1.3198825e-5) * kelvin * kelvin - K(0.49382577) * Ln(kelvin));
}

V MagnusWater(V t) {
  return K(0.01) * Exp(K(17.62) * t / (t + K(243.12)) + K(6.4154242378));
}

V MagnusIce(V t) {
  return K(0.01) * Exp(K(22.46) * t / (t + K(272.2)) + K(6.4154242378));
}

// onIce() in the lanes `ice` marks, onWater() in the others; each evaluated only where some
// lane needs it (a block of frost points seldom needs the water equation).
template <class OnIce, class OnWater>
V Choose(hn::Mask<D> ice, OnIce onIce, OnWater onWater) {
  if (hn::AllTrue(D(), ice)) return onIce();
  if (hn::AllFalse(D(), ice)) return onWater();
  return hn::IfThenElse(ice, onIce(), onWater());
}

// The base pressure over ice where `ice` is set, over water elsewhere.
V BasePressure(Formulation formulation, hn::Mask<D> ice, V t) {
  const V kelvin = t + K(kKelvinOffset);
  switch (formulation) {
    case Formulation::GoffGratch:
      return Choose(
          ice, [&] { return GoffGratchIce(kelvin); }, [&] { return GoffGratchWater(kelvin); });
    case Formulation::HylandWexler:
      return Choose(
          ice, [&] { return HylandWexlerIce(kelvin); }, [&] { return HylandWexlerWater(kelvin); });
    case Formulation::Sonntag:
      return Choose(
          ice, [&] { return SonntagIce(kelvin); }, [&] { return SonntagWater(kelvin); });
    case Formulation::Magnus:
      break;
  }
  return Choose(
      ice, [&] { return MagnusIce(t); }, [&] { return MagnusWater(t); });
}

struct Greenspan {
  double a0, a1, a2, a3, b0, b1, b2, b3;
};
constexpr Greenspan kWater = {3.53624e-4, 2.93228e-5, 2.61474e-7,  8.57538e-9,
                              -10.7588,   6.32529e-2, -2.53591e-4, 6.33784e-7};
constexpr Greenspan kSupercooled = {3.62183e-4, 2.60553e-5, 3.86501e-7,  3.82449e-9,
                                    -10.7604,   6.39725e-2, -2.63416e-4, 1.67254e-6};
constexpr Greenspan kIce = {3.64449e-4, 2.93631e-5, 4.88635e-7,  4.36543e-9,
                            -10.7271,   7.61989e-2, -1.74771e-4, 2.46721e-6};

// The factor's logarithm (its error grows with it).
V GreenspanExponent(const Greenspan& c, V e, V p, V t) {
  const V alpha = ((K(c.a3) * t + K(c.a2)) * t + K(c.a1)) * t + K(c.a0);
  const V beta = K(c.b0) + K(c.b1) * t + K(c.b2) * t * t + K(c.b3) * t * t * t;
  return alpha * (K(1.0) - e / p) + Exp(beta) * (p / e - K(1.0));
}

V BogelWaterFactor(V e, V p, V t) {
  return K(1.0) + (K(1e-4) * e / (t + K(273.0))) *
                      ((K(38.0) + K(173.0) * Exp(t * K(-0.023255813953488372))) * (K(1.0) - e / p) +
                       (K(6.39) + K(4.28) * Exp(t * K(-0.009345794392523364))) * (p / e - K(1.0)));
}

V BogelIceFactor(V e, V p, V t) {
  return K(1.0) +
         (K(1e-5) * e / (t + K(273.0))) *
             ((K(2100.0) - K(65.0) * t) * (K(1.0) - e / p) +
              (K(109.0) - K(0.35) * t + t * t * K(0.0029585798816568047)) * (p / e - K(1.0)));
}

// e times the factor; `ice` marks the lanes whose ice set applies. *growth is what multiplies the
// base pressure's relative error in the result, less one: twice the factor's logarithm for
// Greenspan, twice the factor less one for Bogel (at least (F - 1) / F times the sensitivity to e).
V Enhance(EnhancementFactor factor, hn::Mask<D> ice, V e, V p, V t, V* growth) {
  switch (factor) {
    case EnhancementFactor::Greenspan: {
      const auto water = [&] {
        return Choose(
            t < K(0.0), [&] { return GreenspanExponent(kSupercooled, e, p, t); },
            [&] { return GreenspanExponent(kWater, e, p, t); });
      };
      const V exponent = Choose(
          ice, [&] { return GreenspanExponent(kIce, e, p, t); }, water);
      // Beyond 600 the vector exp leaves its range (706): no bound, the scalar path decides.
      const V size = hn::Abs(exponent);
      *growth = hn::IfThenElse(size < K(600.0), K(2.0) * size, K(HUGE_VAL));
      return e * Exp(exponent);
    }
    case EnhancementFactor::Bogel: {
      const V f = Choose(
          ice, [&] { return BogelIceFactor(e, p, t); }, [&] { return BogelWaterFactor(e, p, t); });
      *growth = K(2.0) * hn::Abs(f - K(1.0));
      return e * f;
    }
    case EnhancementFactor::None:
      break;
  }
  *growth = K(0.0);
  return e;
}

V Saturation(bool overIce, V t, V p, const MoistureModel& model, V* error) {
  const auto belowZero = t < K(0.0);
  const auto noLane = hn::Lt(K(1.0), K(0.0));
  // Over water, Hyland-Wexler takes its ice equation below 0 degC, with the water factor.
  const auto baseIce =
      overIce || model.formulation == Formulation::HylandWexler ? belowZero : noLane;
  const V e = BasePressure(model.formulation, baseIce, t);
  V growth;
  const V enhanced = Enhance(model.enhancement, overIce ? belowZero : noLane, e, p, t, &growth);
  // Outside the span the bound was shown for, no bound: the scalar path decides there.
  auto shown = hn::And(t >= K(kVectorLowestC), t <= K(kVectorHighestC));
  if (model.enhancement != EnhancementFactor::None) {
    // ... and of a mixture that can be: the base pressure below the total pressure.
    shown = hn::And(shown, hn::And(p >= K(kVectorLowestMbar), p <= K(kVectorHighestMbar)));
    shown = hn::And(shown, e < p);
  }
  *error = hn::IfThenElse(shown, K(kVectorSaturationError) * (K(1.0) + growth), K(HUGE_VAL));
  return enhanced;
}

void SaturationBlock(bool overIce, size_t count, const double* temperatures,
                     const double* totalPressures, const MoistureModel& model, double* pressures,
                     double* errors) {
  const D d;
  const size_t lanes = hn::Lanes(d);
  size_t i = 0;
  V error;
  for (; i + lanes <= count; i += lanes) {
    hn::StoreU(Saturation(overIce, hn::LoadU(d, temperatures + i), hn::LoadU(d, totalPressures + i),
                          model, &error),
               d, pressures + i);
    hn::StoreU(error, d, errors + i);
  }
  if (i == count) return;
  // The last few: padded with 0 degC at one atmosphere, which every formulation takes.
  HWY_ALIGN double t[HWY_MAX_BYTES / sizeof(double)];
  HWY_ALIGN double p[HWY_MAX_BYTES / sizeof(double)];
  HWY_ALIGN double out[HWY_MAX_BYTES / sizeof(double)];
  HWY_ALIGN double bound[HWY_MAX_BYTES / sizeof(double)];
  for (size_t j = 0; j < lanes; ++j) {
    t[j] = i + j < count ? temperatures[i + j] : 0.0;
    p[j] = i + j < count ? totalPressures[i + j] : 1013.25;
  }
  hn::Store(Saturation(overIce, hn::Load(d, t), hn::Load(d, p), model, &error), d, out);
  hn::Store(error, d, bound);
  for (size_t j = 0; i + j < count; ++j) {
    pressures[i + j] = out[j];
    errors[i + j] = bound[j];
  }
}

}  // namespace HWY_NAMESPACE
}  // namespace ruruzir
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace ruruzir {

HWY_EXPORT(SaturationBlock);

bool HasVectorSaturation() {
  return true;
}

void SaturationPressureArray(bool overIce, size_t count, const double* temperaturesC,
                             const double* totalPressuresMbar, const MoistureModel& model,
                             double* pressures, double* errors) {
  HWY_DYNAMIC_DISPATCH(SaturationBlock)
  (overIce, count, temperaturesC, totalPressuresMbar, model, pressures, errors);
}

}  // namespace ruruzir
#endif  // HWY_ONCE
#endif  // RURUZIR_VECTOR_SATURATION
