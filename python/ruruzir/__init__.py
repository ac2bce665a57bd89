"""Moisture conversions of the Ruruzir Dewpoint Calculator for numpy, pandas and Dask.

The numbers are the calculator's own: the package calls the library the calculator's
command-line converter is built from (api/ruruzir.h), one call per array.

    >>> import ruruzir
    >>> float(ruruzir.convert(-40, "frost-c", "frost-c", target_pressure=7000))
    -21.6

Units are named as ruruzir-convert names them (``ruruzir.units()`` lists them): moisture units
"frost-c", "dew-c", "frost-f", "dew-f", "ppmv", "ppmw-gas", "lb-mmscf", "g-m3", "mbar-vp", "rh",
"ppmw-liquid" (and the aliases "ppm", "lb/mmscf", "g/m3", "%rh"); pressure units "mbar", "psia",
"psig", "atm", "kpa". A bare "psi" is refused: it is read as absolute by some and as gauge by
others.
"""
import ctypes
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass
from typing import Any

import numpy as np

from . import _library
from ._library import (BAD_CODE, BAD_NUMBER, CONVERTED, NO_AREA, OUT_OF_RANGE,  # noqa: F401
                       TEXT_TOO_SMALL, status_text)

__all__ = ["convert", "convert_column", "units", "Side", "status_text", "version", "CONVERTED",
           "OUT_OF_RANGE", "BAD_CODE", "BAD_NUMBER"]

FORMULATIONS = {"hyland-wexler": 0, "goff-gratch": 1, "sonntag": 2, "magnus": 3}
ENHANCEMENTS = {"none": 0, "bogel": 1, "greenspan": 2}
MEDIA = {"water": 0, "air": 1, "natural-gas": 2}
PRECISIONS = {"shown": 0, "computed": 1}

_STANDARD_ATMOSPHERE_MBAR = 1013.25  # what a pressure not given stands for, in any unit


def version():
    """The library's version, e.g. "3.4"."""
    return _library.library.ruruzir_version().decode("ascii")


@dataclass
class Side:
    """One side's parameters; each unit reads only its own. Defaults are the calculator's.

    ambient_c        %RH: ambient (dry-bulb) temperature, degC; a number or one per value
    molecular_weight ppmW in a gas: molecular weight of the gas, g/mol (air 29)
    henry_constant   ppmW in a liquid: Henry's constant, ppmW per mbar of water vapour
                     pressure (hexane 1.9)
    prevailing_c     g/m3: temperature of the gas, degC; a number or one per value
    medium           g/m3: "water" (the moist gas itself), "air" or "natural-gas"
    """

    ambient_c: Any = 20.0
    molecular_weight: float = 29.0
    henry_constant: float = 1.9
    prevailing_c: Any = 20.0
    medium: str = "natural-gas"


def _refuse(status, what):
    raise ValueError(f"{_library.status_text(status)} ({what})")


def _code(table, name, what):
    """A code by name from `table`, or an int code as it is (the library checks it)."""
    if isinstance(name, (int, np.integer)) and not isinstance(name, bool):
        return int(name)
    code = table.get(str(name).lower()) if isinstance(name, str) else None
    if code is None:
        _refuse(BAD_CODE, f"{what}={name!r}")
    return code


def _unit_code(kind, name, what):
    if isinstance(name, (int, np.integer)) and not isinstance(name, bool):
        return int(name)
    code = -1
    if isinstance(name, str):
        code = _library.library.ruruzir_unit_code(kind, name.encode("utf-8", "replace"))
    if code < 0:
        hint = ": say psia or psig" if isinstance(name, str) and name.lower() == "psi" else ""
        _refuse(BAD_CODE, f"{what}={name!r}{hint}")
    return code


def _side(side, what):
    if side is None:
        return Side()
    if isinstance(side, dict):
        try:
            return Side(**side)
        except TypeError as error:
            raise ValueError(f"{what}: {error}") from None
    if not isinstance(side, Side):
        raise ValueError(f"{what} must be a ruruzir.Side or a dict, not {type(side).__name__}")
    return side


def _doubles(values):
    return np.asarray(values, dtype=np.float64)


def _pointer(array):
    return array.ctypes.data_as(_library._double_p) if array is not None else None


def convert(values, from_unit, to_unit, pressure=None, pressure_unit="mbar",
            target_pressure=None, target_pressure_unit=None, source=None, target=None,
            formulation="goff-gratch", enhancement="none", precision="shown",
            return_status=False, threads=1):
    """Converts moisture values from one unit and pressure to another, as the calculator does.

    values                the moisture values in `from_unit`: a number, a list or an array
    from_unit, to_unit    moisture unit names (see the module's help) or codes
    pressure              total pressure of the values, in `pressure_unit`: a number, or one per
                          value; None: one standard atmosphere (1013.25 mbar)
    pressure_unit         "mbar" (default), "psia", "psig", "atm" or "kpa"
    target_pressure       total pressure to convert to, in `target_pressure_unit`; a number or one
                          per value; None: one standard atmosphere
    target_pressure_unit  default: `pressure_unit`
    source, target        each side's parameters: a ruruzir.Side or a dict of its fields; None:
                          the calculator's defaults. Side temperatures may be one per value.
    formulation           saturation vapour pressure: "goff-gratch" (default), "hyland-wexler",
                          "sonntag" or "magnus"
    enhancement           enhancement factor: "none" (default), "bogel" or "greenspan"
    precision             "shown": the number the calculator's result text shows (default);
                          "computed": the computed number before it is rounded for display (dew
                          and frost points stay the solver's tenths)
    return_status         also return each value's status (ruruzir.CONVERTED, OUT_OF_RANGE,
                          BAD_NUMBER; ruruzir.status_text(code) says why)
    threads               convert in this many threads at once, each a slice of the values
                          (default 1; leave it at 1 where a scheduler such as Dask already runs
                          one conversion per core)

    Returns a float64 numpy array shaped like the broadcast inputs, NaN where a value has no
    answer (outside its unit's range, no result, or NaN itself), and with return_status an int32
    array of statuses too. Raises ValueError with the library's reason for an unknown unit or
    name and for parameters shared by all values that are impossible (an infinite pressure, a
    molecular weight of 0, ...).
    """
    lib = _library.library
    source, target = _side(source, "source"), _side(target, "target")
    if target_pressure_unit is None:
        target_pressure_unit = pressure_unit
    sides = []
    per_value = []
    for what, unit, given, given_unit, side in (
            ("source", from_unit, pressure, pressure_unit, source),
            ("target", to_unit, target_pressure, target_pressure_unit, target)):
        array_side = _library.ArraySide()
        array_side.unit = _unit_code(_library.MOISTURE_UNITS, unit,
                                     "from_unit" if what == "source" else "to_unit")
        pressure_code = _unit_code(_library.PRESSURE_UNITS, given_unit,
                                   "pressure_unit" if what == "source" else "target_pressure_unit")
        if given is None:
            array_side.pressure_unit = 0
            array_side.pressure = _STANDARD_ATMOSPHERE_MBAR
        else:
            array_side.pressure_unit = pressure_code
        lib.ruruzir_default_side(array_side.parameters)
        parameters = array_side.parameters
        try:
            parameters.molecular_weight = float(side.molecular_weight)
            parameters.henry_constant = float(side.henry_constant)
        except (TypeError, ValueError):
            _refuse(BAD_NUMBER, f"{what} molecular_weight and henry_constant must be numbers")
        parameters.density_medium = _code(MEDIA, side.medium, f"{what} medium")
        fields = [("pressure", given), ("ambient_temperatures_c", side.ambient_c),
                  ("prevailing_temperatures_c", side.prevailing_c)]
        for field, given_value in fields:
            if given_value is None:
                continue
            array = _doubles(given_value)
            if array.ndim == 0:
                if field == "pressure":
                    array_side.pressure = float(array)
                else:
                    setattr(parameters, field.replace("temperatures", "temperature"),
                            float(array))
            else:
                per_value.append((array_side, field, array))
        sides.append(array_side)

    values = _doubles(values)
    shape = np.broadcast_shapes(values.shape, *(array.shape for _, _, array in per_value))
    values = np.ascontiguousarray(np.broadcast_to(values, shape)).reshape(-1)
    keep = []  # the per-value arrays stay alive until the call has returned
    for array_side, field, array in per_value:
        array = np.ascontiguousarray(np.broadcast_to(array, shape)).reshape(-1)
        keep.append(array)
        setattr(array_side, "pressures" if field == "pressure" else field, _pointer(array))

    results = np.empty(values.shape, dtype=np.float64)
    statuses = np.empty(values.shape, dtype=np.int32) if return_status else None
    codes = (_code(FORMULATIONS, formulation, "formulation"),
             _code(ENHANCEMENTS, enhancement, "enhancement"),
             _code(PRECISIONS, precision, "precision"))
    if not isinstance(threads, int) or threads < 1:
        raise ValueError(f"threads must be a positive int, not {threads!r}")
    # Each thread converts one contiguous slice: its own sides, pointing into the arrays at its
    # first element. The library call lets go of the interpreter lock.
    bounds = [int(bound) for bound in
              np.linspace(0, values.size, min(threads, max(values.size, 1)) + 1)]

    def convert_slice(first, end):
        slice_sides = []
        for side in sides:
            copy = _library.ArraySide.from_buffer_copy(side)
            for field in ("pressures", "ambient_temperatures_c", "prevailing_temperatures_c"):
                pointer = getattr(side, field)
                if pointer:
                    address = ctypes.cast(pointer, ctypes.c_void_p).value + 8 * first
                    setattr(copy, field, ctypes.cast(ctypes.c_void_p(address), _library._double_p))
            slice_sides.append(copy)
        return lib.ruruzir_convert_array(
            end - first, values.ctypes.data + 8 * first, slice_sides[0], slice_sides[1], *codes,
            results.ctypes.data + 8 * first,
            statuses.ctypes.data + 4 * first if statuses is not None else None)

    if len(bounds) > 2:
        with ThreadPoolExecutor(len(bounds) - 1) as pool:
            status = max(pool.map(convert_slice, bounds[:-1], bounds[1:]))
    else:
        status = convert_slice(0, values.size)
    del keep
    if status != CONVERTED:
        _refuse(status, "in a unit, model or medium code" if status == BAD_CODE
                else "in a pressure or side parameter shared by all values")
    results = results.reshape(shape)
    return (results, statuses.reshape(shape)) if return_status else results


def _column_or_value(frame, given):
    """A column's values when `given` names a column of `frame`, else `given` itself."""
    if isinstance(given, str) and given in frame.columns:
        return frame[given].to_numpy(dtype=np.float64)
    return given


def convert_column(frame, column, from_unit, to_unit, pressure=None, target_pressure=None,
                   source=None, target=None, **options):
    """Converts the column `column` of a pandas DataFrame; returns a Series on its index.

    `pressure`, `target_pressure` and the temperatures of `source` and `target` (ambient_c,
    prevailing_c) may each name another column of the frame, which then gives one value per
    row; every other argument is that of ruruzir.convert (units, pressure units, model,
    precision). The Series is named after `to_unit`; NaN where a row has no answer.
    """
    import pandas as pd

    sides = []
    for side, what in ((source, "source"), (target, "target")):
        side = _side(side, what)
        sides.append(Side(ambient_c=_column_or_value(frame, side.ambient_c),
                          molecular_weight=side.molecular_weight,
                          henry_constant=side.henry_constant,
                          prevailing_c=_column_or_value(frame, side.prevailing_c),
                          medium=side.medium))
    results = convert(frame[column].to_numpy(dtype=np.float64), from_unit, to_unit,
                      pressure=_column_or_value(frame, pressure),
                      target_pressure=_column_or_value(frame, target_pressure), source=sides[0],
                      target=sides[1], **options)
    if options.get("return_status"):
        return (pd.Series(results[0], index=frame.index, name=str(to_unit)),
                pd.Series(results[1], index=frame.index, name="status"))
    return pd.Series(results, index=frame.index, name=str(to_unit))


def units(kind="moisture"):
    """The units of a kind ("moisture" or "pressure") as {name: caption}, by code order: the
    names the package and ruruzir-convert take, the captions as the calculator's lists show
    them (Python text; encode("utf-8") for UTF-8 bytes)."""
    kinds = {"moisture": _library.MOISTURE_UNITS, "pressure": _library.PRESSURE_UNITS}
    kind_code = _code(kinds, kind, "kind")
    lib = _library.library
    listed = {}
    caption = (ctypes.c_char * _library.TEXT_SIZE)()
    for code in range(lib.ruruzir_unit_count(kind_code)):
        status = lib.ruruzir_unit_caption(kind_code, code, caption, len(caption))
        if status != CONVERTED:
            _refuse(status, f"caption of unit {code}")
        listed[lib.ruruzir_unit_name(kind_code, code).decode("ascii")] = (
            caption.value.decode("cp1252"))
    return listed
