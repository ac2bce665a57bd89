#!/usr/bin/env python3
"""Times 1 M frost points converted through the ruruzir package, in one run on this machine
(wall-clock time, one thread unless said otherwise):

  frost -> ppmV         against a plain numpy formula (Goff-Gratch written out) and against one
                        ctypes call of ruruzir_convert per element
  frost -> frost point  at another pressure (the solver), against one ctypes call per element
  exact frost point     precision="exact" against the solver's tenths and against a vectorised
                        numpy Newton inversion of Goff-Gratch
  Series in and out     the same conversions of a pandas Series (index and name kept) against
                        the ndarray's

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
import pandas as pd

import ruruzir
from ruruzir import _library

SOURCE_MBAR = 1013.25
TARGET_MBAR = 7000.0


def goff_gratch_ppmv(frost_c, total_mbar):
    """Goff-Gratch saturation pressure over ice below 0 degC and over water from 0 degC up, as
    ppmV at the total pressure: the formula a data engineer would write by hand."""
    e = _saturation(frost_c)
    return e / (total_mbar - e) * 1e6


def _saturation(frost_c):
    """Goff-Gratch over ice below 0 degC, over water from 0 degC up, mbar."""
    t = frost_c + 273.15
    ice = 10.0 ** (-9.09718 * (273.16 / t - 1.0) - 3.56654 * np.log10(273.16 / t)
                   + 0.876793 * (1.0 - t / 273.16) + np.log10(6.1071))
    water = 10.0 ** (-7.90298 * (373.16 / t - 1.0) + 5.02808 * np.log10(373.16 / t)
                     - 1.3816e-7 * (10.0 ** (11.344 * (1.0 - t / 373.16)) - 1.0)
                     + 8.1328e-3 * (10.0 ** (-3.49149 * (373.16 / t - 1.0)) - 1.0)
                     + np.log10(1013.246))
    return np.where(frost_c < 0.0, ice, water)


def newton_frost_point(frost_c, source_mbar, target_mbar, steps=8):
    """The frost point at another pressure by a vectorised Newton inversion of Goff-Gratch: the
    same mole fraction, so the vapour pressure scales with the total pressure; the derivative by
    a central difference. The numpy way a data engineer would write it."""
    wanted = _saturation(frost_c) * (target_mbar / source_mbar)
    t = frost_c.copy()
    for _ in range(steps):
        step = 1e-4
        slope = (_saturation(t + step) - _saturation(t - step)) / (2 * step)
        t = t - (_saturation(t) - wanted) / slope
    return t


def per_element(values, target_unit, target_mbar):
    """One ruruzir_convert_request call per value through ctypes."""
    convert = _library.library.ruruzir_convert_request
    request = _library.Request()
    _library.library.ruruzir_default_request(ctypes.byref(request))
    request.source_pressure, request.target_unit = SOURCE_MBAR, target_unit
    request.target_pressure = target_mbar
    text = ctypes.create_string_buffer(_library.TEXT_SIZE)
    result, field = ctypes.c_double(), ctypes.c_int()
    out = np.empty(len(values))
    for i, value in enumerate(values.tolist()):
        convert(ctypes.byref(request), value, ctypes.byref(result), text, len(text),
                ctypes.byref(field))
        out[i] = result.value
    return out


def best(repeat, function, scale=1.0):
    """The best wall-clock and processor times of `repeat` runs (processor time is what a run
    costs on a machine that others share), each times `scale`, and the last answer."""
    # Every answer stays alive until the last run, as a frame's columns keep theirs: an answer
    # dropped at once hands its pages back for the next run's temporaries, which flatters numpy
    # (whose formula makes a dozen temporaries) far more than the package (one result array).
    walls, cpus, answers = [], [], []
    for _ in range(repeat):
        start, start_cpu = time.perf_counter(), time.process_time()
        answers.append(function())
        walls.append(time.perf_counter() - start)
        cpus.append(time.process_time() - start_cpu)
    return min(walls) * scale, min(cpus) * scale, answers[-1]


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

    scale = count / element_count
    repeat = arguments.repeat
    unrounded = np.random.default_rng(2).uniform(-80.0, 20.0, count)
    # Per-row line pressures in psig; the numpy formula takes them in mbar, converted in numpy.
    rows_psig = np.random.default_rng(3).uniform(0.0, 100.0, count)
    rows_mbar = (rows_psig + 14.6959) * 68.9476
    series = pd.Series(frost, index=pd.date_range("2026-01-01", periods=count, freq="min"),
                       name="frost_c")
    # One thread unless said: the goals compare one core's work with numpy's (one core too).
    to_ppmv = lambda values, threads=1: ruruzir.convert(  # noqa: E731
        values, "frost-c", "ppmv", threads=threads)
    to_frost_exact = lambda values: ruruzir.convert(  # noqa: E731
        values, "frost-c", "frost-c", target_pressure=TARGET_MBAR, precision="exact", threads=1)
    to_frost = lambda values, threads=1: ruruzir.convert(  # noqa: E731
        values, "frost-c", "frost-c", target_pressure=TARGET_MBAR, threads=threads)
    timed = {
        "numpy": best(repeat, lambda: goff_gratch_ppmv(frost, SOURCE_MBAR)),
        "ppmv": best(repeat, lambda: to_ppmv(frost)),
        "ppmv calls": best(1, lambda: per_element(frost[:element_count], 4, SOURCE_MBAR), scale),
        "frost": best(repeat, lambda: to_frost(frost)),
        "frost calls": best(1, lambda: per_element(frost[:element_count], 0, TARGET_MBAR), scale),
        # Readings come in tenths and repeat, which the library makes use of; values that never
        # repeat take the whole conversion every time.
        "ppmv unrounded": best(repeat, lambda: to_ppmv(unrounded)),
        "numpy unrounded": best(repeat, lambda: goff_gratch_ppmv(unrounded, SOURCE_MBAR)),
        "ppmv computed": best(repeat, lambda: ruruzir.convert(
            unrounded, "frost-c", "ppmv", precision="computed", threads=1)),
        "numpy rows": best(repeat, lambda: goff_gratch_ppmv(unrounded, rows_mbar)),
        "ppmv rows": best(repeat, lambda: ruruzir.convert(
            unrounded, "frost-c", "ppmv", pressure=rows_psig, pressure_unit="psig",
            threads=1)),
        "frost unrounded": best(repeat, lambda: to_frost(unrounded)),
        "ppmv unrounded default": best(repeat, lambda: to_ppmv(unrounded, None)),
        "frost unrounded default": best(repeat, lambda: to_frost(unrounded, None)),
        "frost exact": best(repeat, lambda: to_frost_exact(frost)),
        "frost exact unrounded": best(repeat, lambda: to_frost_exact(unrounded)),
        "frost newton": best(repeat, lambda: newton_frost_point(
            unrounded, SOURCE_MBAR, TARGET_MBAR)),
        "ppmv series": best(repeat, lambda: to_ppmv(series)),
        "frost series": best(repeat, lambda: to_frost(series)),
    }
    rows = [("frost -> ppmV", "numpy formula (baseline)", "numpy"),
            ("frost -> ppmV", "ruruzir.convert", "ppmv"),
            ("frost -> ppmV", "ctypes call per element", "ppmv calls"),
            ("frost -> frost", "ruruzir.convert", "frost"),
            ("frost -> frost", "ctypes call per element", "frost calls"),
            ("frost -> ppmV", "numpy formula, unrounded", "numpy unrounded"),
            ("frost -> ppmV", "ruruzir.convert, unrounded", "ppmv unrounded"),
            ("frost -> ppmV", "computed, unrounded", "ppmv computed"),
            ("frost -> ppmV", "numpy, per-row psig", "numpy rows"),
            ("frost -> ppmV", "ruruzir, per-row psig", "ppmv rows"),
            ("frost -> frost", "ruruzir.convert, unrounded", "frost unrounded"),
            ("frost -> ppmV", "unrounded, threads default", "ppmv unrounded default"),
            ("frost -> frost", "unrounded, threads default", "frost unrounded default"),
            ("frost -> frost", "exact", "frost exact"),
            ("frost -> frost", "exact, unrounded", "frost exact unrounded"),
            ("frost -> frost", "numpy Newton, unrounded", "frost newton"),
            ("frost -> ppmV", "Series in and out", "ppmv series"),
            ("frost -> frost", "Series in and out", "frost series")]
    print(f"{'':44} {'wall':>8}    {'processor':>9}   ns per value (wall, processor)")
    for conversion, how, key in rows:
        wall, cpu, _ = timed[key]
        print(f"{conversion:15} {how:28} {wall:8.3f} s  {cpu:8.3f} s   "
              f"{wall * 1e9 / count:7.1f} {cpu * 1e9 / count:7.1f}")
    by_hand, ppmv, at_target = timed["numpy"][2], timed["ppmv"][2], timed["frost"][2]
    # The same numbers both ways, and the formula agrees with the calculator's to its display.
    sample = frost[:2000]
    assert np.array_equal(per_element(sample, 4, SOURCE_MBAR), ppmv[:2000])
    assert np.array_equal(per_element(sample, 0, TARGET_MBAR), at_target[:2000])
    assert np.allclose(by_hand, ppmv, rtol=2e-3, atol=1e-3)
    for what, i in (("wall", 0), ("processor", 1)):
        ratio = timed["ppmv"][i] / timed["numpy"][i]
        unrounded_ratio = timed["ppmv unrounded"][i] / timed["numpy"][i]
        print(f"{what}: frost -> ppmV / numpy formula {ratio:.2f} (unrounded "
              f"{unrounded_ratio:.2f}; goal <= 1.5); frost -> frost "
              f"{timed['frost'][i] * 1e6 / count:.3f} s per million (unrounded "
              f"{timed['frost unrounded'][i] * 1e6 / count:.3f}; goal < 0.4)")
    # The package against the numpy formula on values that never repeat, same run, one thread.
    for what, i in (("wall", 0), ("processor", 1)):
        base = timed["numpy unrounded"][i]
        print(f"{what}: / numpy formula: shown {timed['ppmv unrounded'][i] / base:.2f} (goal <= 1.0),"
              f" computed {timed['ppmv computed'][i] / base:.2f} (goal <= 0.5), per-row psig "
              f"{timed['ppmv rows'][i] / timed['numpy rows'][i]:.2f} (goal <= 1.0); frost -> frost "
              f"{timed['frost unrounded'][i] * 1e9 / count:.0f} ns per value (goal < 60 where the "
              f"numpy formula takes 21), {timed['frost unrounded'][i] / base:.2f} times the numpy "
              "formula's ppmV")
    # threads left to its default against one thread, wall time (goal: half).
    print("wall: threads default / one thread: frost -> ppmV "
          f"{timed['ppmv unrounded default'][0] / timed['ppmv unrounded'][0]:.2f}, frost -> frost "
          f"{timed['frost unrounded default'][0] / timed['frost unrounded'][0]:.2f} (goal 0.5)")
    assert np.allclose(timed["numpy rows"][2], timed["ppmv rows"][2], rtol=2e-3, atol=1e-3)
    series_ppmv, series_frost = timed["ppmv series"][2], timed["frost series"][2]
    assert series_ppmv.index.equals(series.index) and np.array_equal(series_ppmv.to_numpy(), ppmv)
    assert np.array_equal(series_frost.to_numpy(), at_target)
    for what, i in (("wall", 0), ("processor", 1)):
        print(f"{what}: Series / ndarray: frost -> ppmV "
              f"{timed['ppmv series'][i] / timed['ppmv'][i]:.3f}, frost -> frost "
              f"{timed['frost series'][i] / timed['frost'][i]:.3f} (goal <= 1.10)")
    exact, newton = timed["frost exact unrounded"][2], timed["frost newton"][2]
    assert np.nanmax(np.abs(exact - newton)) < 0.01  # the same physics, to its formulas' digits
    for what, i in (("wall", 0), ("processor", 1)):
        print(f"{what}: exact / tenths: {timed['frost exact'][i] / timed['frost'][i]:.2f} "
              f"(unrounded {timed['frost exact unrounded'][i] / timed['frost unrounded'][i]:.2f}; "
              f"goal <= 2); exact / numpy Newton "
              f"{timed['frost exact unrounded'][i] / timed['frost newton'][i]:.2f} (goal < 1)")
    print(f"load average {os.getloadavg()[0]:.1f} on {os.cpu_count()} cores")
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
