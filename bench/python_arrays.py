#!/usr/bin/env python3
"""Times 1 M frost points converted through the ruruzir package, in one run on this machine
(wall-clock time, one thread unless said otherwise):

  frost -> ppmV         against a plain numpy formula (Goff-Gratch written out) and against one
                        ctypes call of ruruzir_convert per element
  frost -> frost point  at another pressure (the solver), against one ctypes call per element

    /usr/bin/python3 bench/python_arrays.py [--count N] [--repeat R] [--element-count M]

Run it with the Python that has the package installed (scripts/test.sh installs it into
build/python-venv). Each time is the best of R runs; the per-element calls are timed on M
values (default: all of them) and scaled to N.
"""
import argparse
import ctypes
import os
import time

import numpy as np

import ruruzir
from ruruzir import _library

SOURCE_MBAR = 1013.25
TARGET_MBAR = 7000.0


def goff_gratch_ppmv(frost_c, total_mbar):
    """Goff-Gratch saturation pressure over ice below 0 degC and over water from 0 degC up, as
    ppmV at the total pressure: the formula a data engineer would write by hand."""
    t = frost_c + 273.15
    ice = 10.0 ** (-9.09718 * (273.16 / t - 1.0) - 3.56654 * np.log10(273.16 / t)
                   + 0.876793 * (1.0 - t / 273.16) + np.log10(6.1071))
    water = 10.0 ** (-7.90298 * (373.16 / t - 1.0) + 5.02808 * np.log10(373.16 / t)
                     - 1.3816e-7 * (10.0 ** (11.344 * (1.0 - t / 373.16)) - 1.0)
                     + 8.1328e-3 * (10.0 ** (-3.49149 * (373.16 / t - 1.0)) - 1.0)
                     + np.log10(1013.246))
    e = np.where(frost_c < 0.0, ice, water)
    return e / (total_mbar - e) * 1e6


def per_element(values, target_unit, target_mbar):
    """One ruruzir_convert call per value through ctypes."""
    convert = _library.library.ruruzir_convert
    text = ctypes.create_string_buffer(_library.TEXT_SIZE)
    result = ctypes.c_double()
    out = np.empty(len(values))
    for i, value in enumerate(values.tolist()):
        convert(value, 0, SOURCE_MBAR, 0, None, target_unit, target_mbar, 0, None, 1, 0,
                ctypes.byref(result), text, len(text))
        out[i] = result.value
    return out


def best(repeat, function):
    times = []
    for _ in range(repeat):
        start = time.perf_counter()
        answer = function()
        times.append(time.perf_counter() - start)
    return min(times), answer


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=1_000_000)
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--element-count", type=int, default=0)
    arguments = parser.parse_args()
    count = arguments.count
    element_count = arguments.element_count or count
    frost = np.round(np.random.default_rng(1).uniform(-80.0, 20.0, count), 1)
    print(f"{count} frost points in tenths, -80 to +20 degC, {SOURCE_MBAR} mbar; best of "
          f"{arguments.repeat}; per-element calls timed on {element_count} and scaled")

    rows = []
    numpy_s, by_hand = best(arguments.repeat, lambda: goff_gratch_ppmv(frost, SOURCE_MBAR))
    rows.append(("frost -> ppmV", "numpy formula (baseline)", numpy_s))
    package_s, ppmv = best(arguments.repeat, lambda: ruruzir.convert(frost, "frost-c", "ppmv"))
    rows.append(("frost -> ppmV", "ruruzir.convert", package_s))
    calls_s, _ = best(1, lambda: per_element(frost[:element_count], 4, SOURCE_MBAR))
    rows.append(("frost -> ppmV", "ctypes call per element", calls_s * count / element_count))
    frost_s, at_target = best(arguments.repeat, lambda: ruruzir.convert(
        frost, "frost-c", "frost-c", target_pressure=TARGET_MBAR))
    rows.append(("frost -> frost", "ruruzir.convert", frost_s))
    calls_frost_s, _ = best(1, lambda: per_element(frost[:element_count], 0, TARGET_MBAR))
    rows.append(("frost -> frost", "ctypes call per element",
                 calls_frost_s * count / element_count))
    # Readings come in tenths and repeat, which the library makes use of; values that never
    # repeat take the full conversion every time.
    unrounded = np.random.default_rng(2).uniform(-80.0, 20.0, count)
    rows.append(("frost -> ppmV", "ruruzir.convert, unrounded", best(
        arguments.repeat, lambda: ruruzir.convert(unrounded, "frost-c", "ppmv"))[0]))
    rows.append(("frost -> frost", "ruruzir.convert, unrounded", best(
        arguments.repeat, lambda: ruruzir.convert(unrounded, "frost-c", "frost-c",
                                                  target_pressure=TARGET_MBAR))[0]))
    rows.append(("frost -> frost", "unrounded, threads=2", best(
        arguments.repeat, lambda: ruruzir.convert(unrounded, "frost-c", "frost-c",
                                                  target_pressure=TARGET_MBAR, threads=2))[0]))

    for conversion, how, seconds in rows:
        print(f"{conversion:15} {how:28} {seconds:8.3f} s  {seconds * 1e9 / count:7.1f} ns/value")
    # The same numbers both ways, and the formula agrees with the calculator's to its display.
    sample = frost[:2000]
    assert np.array_equal(per_element(sample, 4, SOURCE_MBAR), ppmv[:2000])
    assert np.array_equal(per_element(sample, 0, TARGET_MBAR), at_target[:2000])
    assert np.allclose(by_hand, ppmv, rtol=2e-3, atol=1e-3)
    print(f"frost -> ppmV: package / numpy formula = {package_s / numpy_s:.2f} (goal <= 1.5)")
    print(f"frost -> frost: {frost_s / count * 1e6:.3f} s per million (goal < 0.4); "
          f"load average {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores")
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
