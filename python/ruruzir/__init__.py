"""Moisture conversions of the Ruruzir Dewpoint Calculator for numpy, pandas, xarray and Dask.

The numbers are the calculator's own: the package calls the library the calculator's
command-line converter is built from (api/ruruzir.h), one call per array.

Units are named as ruruzir-convert names them; ``ruruzir.units()`` lists them with their
aliases and ranges, ``ruruzir.units("pressure")`` the pressure units. A bare "psi" is refused:
it is read as absolute by some and as gauge by others.

Examples
--------
>>> import ruruzir
>>> float(ruruzir.convert(-40, "frost-c", "frost-c", target_pressure=7000))
-21.6
"""
import ctypes
import math
import os
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass
from typing import Any, Dict, List, NamedTuple, Optional, Tuple, Union

import numpy as np

from . import _inputs, _library
from ._library import (BAD_CODE, BAD_NUMBER, CONVERTED, MISSING, NO_ANSWER,  # noqa: F401
                       OUT_OF_RANGE, PRESSURE_TOO_HIGH, SIDE_VALUE, VACUUM, status_text)

__version__: str = _library.version()

__all__ = ["convert", "convert_column", "units", "Unit", "Side", "status_text", "version",
           "__version__", "CONVERTED", "OUT_OF_RANGE", "BAD_CODE", "BAD_NUMBER", "NO_ANSWER",
           "MISSING", "VACUUM", "PRESSURE_TOO_HIGH", "SIDE_VALUE"]

Numbers = Any  # a number, a sequence or array of numbers, a pandas Series or a pint quantity


def version() -> str:
    """The library's version.

    Returns
    -------
    str
        The version as ``ruruzir-convert --version`` shows it, e.g. "3.4".

    Examples
    --------
    >>> ruruzir.version() == ruruzir.__version__
    True
    """
    return _library.version()


@dataclass
class Side:
    """One side's parameters; each unit reads only its own. None: the calculator's default.

    Parameters
    ----------
    ambient_c : number, array, Series or pint quantity, optional
        %RH: ambient (dry-bulb) temperature, degC; one for all values or one per value.
    molecular_weight : float, optional
        ppmW in a gas: molecular weight of the gas, g/mol.
    henry_constant : float, optional
        ppmW in a liquid: Henry's constant, ppmW per mbar of water vapour pressure.
    prevailing_c : number, array, Series or pint quantity, optional
        g/m3: temperature of the gas, degC; one for all values or one per value.
    medium : str or int, optional
        g/m3: what the density is the density of, by name or code.

    Examples
    --------
    >>> ruruzir.Side(ambient_c=25.0).ambient_c
    25.0
    """

    ambient_c: Any = None
    molecular_weight: Any = None
    henry_constant: Any = None
    prevailing_c: Any = None
    medium: Any = None


def _side(side: Any, what: str) -> Side:
    if side is None:
        return Side()
    if isinstance(side, dict):
        try:
            return Side(**side)
        except TypeError as error:
            raise ValueError(f"{what}: {error}") from None
    if not isinstance(side, Side):
        raise TypeError(f"{what} must be a ruruzir.Side or a dict, not {type(side).__name__}")
    return side


def _shared_number(given: Any, what: str) -> float:
    array = _inputs.numbers(given, what)
    if array.ndim != 0:
        raise ValueError(f"{what} must be one number for all values, not shape {array.shape}")
    return float(array)


class _Argument:
    """One argument that may hold one number for all values (then it goes into the request's
    `field`) or one per value (the request's column `column`)."""

    def __init__(self, what: str, given: Any, column: str, field: Tuple[Any, str]):
        self.what, self.given, self.column, self.field = what, given, column, field
        self.array: Optional[np.ndarray] = None


# What part of a call a field of the library's refusals stands for.
_FIELDS = {_library.FIELD_VALUE: "values", _library.FIELD_SOURCE_UNIT: "from_unit",
           _library.FIELD_SOURCE_PRESSURE: "pressure", _library.FIELD_TARGET_UNIT: "to_unit",
           _library.FIELD_TARGET_PRESSURE: "target_pressure",
           _library.FIELD_MODEL: "formulation, enhancement or precision"}
_SIDE_FIELDS = ["ambient_c", "molecular_weight", "henry_constant", "prevailing_c", "medium"]


def _field_name(field: int) -> str:
    if field in _FIELDS:
        return _FIELDS[field]
    for prefix, first in (("source", _library.FIELD_SOURCE_SIDE),
                          ("target", _library.FIELD_TARGET_SIDE)):
        if first <= field < first + len(_SIDE_FIELDS):
            return f"{prefix} {_SIDE_FIELDS[field - first]}"
    return "the request"


def _ask(request: Any, value: float) -> Tuple[int, str, int]:
    """The library's status, text and field for one value of a request."""
    result, field = ctypes.c_double(), ctypes.c_int()
    text = ctypes.create_string_buffer(_library.TEXT_SIZE)
    status = _library.library.ruruzir_convert_request(ctypes.byref(request), value,
                                                      ctypes.byref(result), text, len(text),
                                                      ctypes.byref(field))
    return status, text.value.decode("cp1252"), field.value


def _explain(request: Any, status: int, text: str, field: int, number: Optional[float]) -> str:
    """A refusal in words: the argument, its number and unit, and the library's reason."""
    if field in (_library.FIELD_NONE, _library.FIELD_VALUE) and status != _library.MISSING:
        return text  # the calculator's own message ("stay between ...", "out of range")
    what = _field_name(field)
    if number is None:
        return f"{what}: {text}"
    shown = f"{what}={number:g}"
    if field in (_library.FIELD_SOURCE_PRESSURE, _library.FIELD_TARGET_PRESSURE):
        unit = request.source_pressure_unit if field == _library.FIELD_SOURCE_PRESSURE else (
            request.target_pressure_unit)
        shown += " " + _library.CHOICES[_library.PRESSURE_UNITS][unit].label
    joined = f"{shown} {text}" if text.startswith(("is ", "must ", "names ")) else f"{shown}: {text}"
    if status == _library.VACUUM and number > 0:
        joined += ("; pressures are held in millibar to hundredths, as the calculator holds "
                   "them, and this one holds as 0 mbar")
    return joined


def _field_number(request: Any, field: int) -> Optional[float]:
    if field in (_library.FIELD_SOURCE_UNIT, _library.FIELD_TARGET_UNIT):
        return request.source_unit if field == _library.FIELD_SOURCE_UNIT else (
            request.target_unit)
    if field == _library.FIELD_SOURCE_PRESSURE:
        return request.source_pressure
    if field == _library.FIELD_TARGET_PRESSURE:
        return request.target_pressure
    for prefix, first in (("source", _library.FIELD_SOURCE_SIDE),
                          ("target", _library.FIELD_TARGET_SIDE)):
        if first <= field < first + len(_SIDE_FIELDS):
            side = getattr(request, prefix)
            return getattr(side, _library.Side._fields_[field - first][0])
    return None


def _shared_refusal(request: Any) -> str:
    """Why the library refused what all values share, asked with a value its unit takes."""
    status, text, field = _ask(request, _library.middle_of_range(request.source_unit))
    return _explain(request, status, text, field, _field_number(request, field))


# The per-value columns in the order the library checks them, and the arguments they come from.
_COLUMN_ORDER = ["source_ambient_c", "source_prevailing_c", "target_ambient_c",
                 "target_prevailing_c", "source_pressures", "target_pressures"]
_COLUMN_ARGUMENTS = {"source_ambient_c": "source ambient_c", "target_ambient_c": "target ambient_c",
                     "source_prevailing_c": "source prevailing_c",
                     "target_prevailing_c": "target prevailing_c",
                     "source_pressures": "pressure", "target_pressures": "target_pressure"}


def _reasons(request: Any, values: np.ndarray, columns: Dict[str, np.ndarray],
             statuses: np.ndarray) -> np.ndarray:
    """The calculator's reason for each value that was not converted ("" for the others),
    asked of the library once for each distinct row of inputs that failed."""
    reasons = np.full(values.shape, "", dtype=object)
    failed = np.flatnonzero(statuses != CONVERTED)
    if failed.size == 0:
        return reasons
    names = list(columns)
    rows = np.column_stack([values[failed]] + [columns[name][failed] for name in names])
    distinct, inverse = np.unique(rows, axis=0, return_inverse=True)
    texts = []
    # A request holds no missing reading (NaN there is one standard atmosphere): an element
    # missing one of its own is told with the library's words for a missing value.
    missing_text = _ask(request, math.nan)[1]
    for row in distinct:
        one = _library.Request.from_buffer_copy(request)
        absent = [name for name, number in zip(names, row[1:]) if math.isnan(number)]
        if absent and not math.isnan(row[0]):
            first = min(absent, key=_COLUMN_ORDER.index)
            unit = ""
            if first.endswith("pressures"):
                unit = " " + _library.CHOICES[_library.PRESSURE_UNITS][getattr(
                    one, first.split("_")[0] + "_pressure_unit")].label
            texts.append(f"{_COLUMN_ARGUMENTS[first]}=nan{unit} {missing_text}")
            continue
        for name, number in zip(names, row[1:]):
            prefix, kind = name.split("_", 1)
            if kind == "pressures":
                setattr(one, f"{prefix}_pressure", number)
            else:
                setattr(getattr(one, prefix), {"ambient_c": "ambient_temperature_c",
                                               "prevailing_c": "prevailing_temperature_c"}[kind],
                        number)
        status, text, field = _ask(one, row[0])
        number = row[0] if field == _library.FIELD_VALUE else _field_number(one, field)
        texts.append(_explain(one, status, text, field, number))
    reasons[failed] = np.array(texts, dtype=object)[inverse.reshape(-1)]
    return reasons


def _temperature(given: Any, what: str) -> Any:
    if _inputs.is_quantity(given):
        return _inputs.quantity_magnitude(given, _inputs.PINT_CELSIUS, what, "degC")
    return given


def _pressure(given: Any, unit: int, what: str, unit_what: str) -> Tuple[Any, int]:
    """A pint pressure is converted to millibar (absolute); a gauge unit cannot take it, as a
    quantity does not say whether it is gauge."""
    if not _inputs.is_quantity(given):
        return given, unit
    if _library.is_gauge(unit):
        raise ValueError(f"{what} is a pint quantity of {given.units} but {unit_what} is a gauge "
                         f"unit ({_library.name(_library.PRESSURE_UNITS, unit)}): a quantity "
                         f"does not say whether it is gauge; give {unit_what} an absolute unit "
                         f"or {what} plain numbers")
    millibar = _inputs.quantity_magnitude(given, _inputs.PINT_MILLIBAR, what, "a pressure")
    return millibar, _library.MILLIBAR


def _moisture(given: Any, unit: int, what: str, unit_what: str) -> Any:
    """A pint temperature for a dew or frost point in degC or degF; any other quantity is
    refused, as the other moisture units have no pint unit that says what they are."""
    if not _inputs.is_quantity(given):
        return given
    pint_unit = _library.pint_temperature_unit(unit)
    if pint_unit is None:
        raise ValueError(f"{what} is a pint quantity of {given.units}, but {unit_what}="
                         f"{_library.name(_library.MOISTURE_UNITS, unit)!r} is no temperature: "
                         f"give plain numbers in that unit")
    return _inputs.quantity_magnitude(given, pint_unit, what, pint_unit)


def convert(values: Numbers, from_unit: Union[str, int], to_unit: Union[str, int],
            pressure: Numbers = None, pressure_unit: Union[str, int, None] = None,
            target_pressure: Numbers = None,
            target_pressure_unit: Union[str, int, None] = None,
            source: Union[Side, Dict[str, Any], None] = None,
            target: Union[Side, Dict[str, Any], None] = None,
            formulation: Union[str, int, None] = None, enhancement: Union[str, int, None] = None,
            precision: Union[str, int, None] = None, return_status: bool = False,
            reasons: bool = False, threads: Optional[int] = None) -> Any:
    """Converts moisture values from one unit and pressure to another, as the calculator does.

    Parameters
    ----------
    values : number, sequence, ndarray, pandas Series or pint quantity
        The moisture values in `from_unit`. pd.NA and NaN are missing readings. A pint
        temperature is converted to a degC or degF dew or frost point unit.
    from_unit, to_unit : str or int
        Moisture unit names or aliases (``ruruzir.units()``), or codes.
    pressure : number, array, Series or pint quantity, optional
        Total pressure of the values in `pressure_unit`, one for all or one per value.
        None: one standard atmosphere. A pint pressure is converted (absolute).
    pressure_unit : str or int, optional
        Default: the calculator's (``ruruzir.units("pressure")``).
    target_pressure : number, array, Series or pint quantity, optional
        Total pressure to convert to, in `target_pressure_unit`. None: one standard atmosphere.
    target_pressure_unit : str or int, optional
        Default: `pressure_unit`.
    source, target : ruruzir.Side or dict, optional
        Each side's parameters; None: the calculator's defaults.
    formulation, enhancement : str or int, optional
        Saturation vapour pressure formulation and enhancement factor; default: the
        calculator's.
    precision : str or int, optional
        Which number besides the text (``ruruzir.units("precision")``): by default the one the
        calculator's result text shows; "computed": before it is rounded for display (dew and
        frost points in the solver's tenths); "exact": dew and frost points as the root of the
        formulation itself.
    return_status : bool
        Also return each value's status by cause: ``ruruzir.CONVERTED``, ``OUT_OF_RANGE``
        (outside its unit's range), ``NO_ANSWER`` (no result in the target unit), ``MISSING``
        (NaN or pd.NA, the value's or its own pressure's or temperature's), ``VACUUM``,
        ``PRESSURE_TOO_HIGH``, ``SIDE_VALUE``; ``ruruzir.status_text`` says each in words.
    reasons : bool
        Also return each value's reason as the calculator words it ("" where converted):
        "stay between -140°C and +50°C", "out of range", "pressure=0 mbar is at or below
        vacuum: ...".
    threads : int, optional
        Convert in this many threads at once, each a slice of the values (set it to 1 where
        a scheduler such as Dask already runs one conversion per core). By default one per
        core for 65536 values or more, where the threads cost less than they save; one below.

    Returns
    -------
    ndarray or Series
        float64 shaped like the values (or, for one value, like the per-value arguments);
        NaN where a value has no answer. A Series of values gives a Series on its index, named
        after what it holds, and a DataArray a DataArray with its coordinates. With
        `return_status` and `reasons`, a tuple: the results, the int32 statuses, the reasons.

    Raises
    ------
    TypeError
        For what is not a number (True, a date, a string) and an argument of the wrong kind.
    ValueError
        For an unknown name, a Series whose index does not pair with the values', shapes that
        would broadcast into more results than values, a pint quantity of another dimension,
        and a parameter shared by all values that the calculator refuses (with its reason).

    Examples
    --------
    >>> ruruzir.convert([-40.0, 75.0], "frost-c", "ppmv").tolist()
    [126.5, nan]
    >>> results, statuses, reasons = ruruzir.convert([-40.0, 75.0], "frost-c", "ppmv",
    ...                                              return_status=True, reasons=True)
    >>> statuses.tolist() == [ruruzir.CONVERTED, ruruzir.OUT_OF_RANGE], reasons[1]
    (True, 'stay between -140°C and +50°C')
    >>> import pandas as pd
    >>> ruruzir.convert(pd.Series([-40.0], index=["a"], name="frost"), "frost-c", "ppmv")
    a    126.5
    Name: frost as ppmv, dtype: float64
    """
    if _inputs.is_dataarray(values):
        return _convert_dataarray(
            values, from_unit, to_unit, pressure=pressure, pressure_unit=pressure_unit,
            target_pressure=target_pressure, target_pressure_unit=target_pressure_unit,
            source=source, target=target, formulation=formulation, enhancement=enhancement,
            precision=precision, return_status=return_status, reasons=reasons, threads=threads)
    source, target = _side(source, "source"), _side(target, "target")
    if target_pressure_unit is None:
        target_pressure_unit = pressure_unit
    count = None if threads is None else _inputs.threads(threads)
    request = _library.Request()
    _library.library.ruruzir_default_request(ctypes.byref(request))
    request.source_unit = _library.code(_library.MOISTURE_UNITS, from_unit, "from_unit")
    request.target_unit = _library.code(_library.MOISTURE_UNITS, to_unit, "to_unit")
    request.formulation = _library.code(_library.FORMULATIONS, formulation, "formulation")
    request.enhancement = _library.code(_library.ENHANCEMENTS, enhancement, "enhancement")
    request.precision = _library.code(_library.PRECISIONS, precision, "precision")
    values = _moisture(values, request.source_unit, "values", "from_unit")
    index = values.index if _inputs.is_series(values) else None
    # What may be one number for all values or one per value: (name, given, where it goes).
    arguments: List[_Argument] = []
    for prefix, given, given_unit, side in (("source", pressure, pressure_unit, source),
                                            ("target", target_pressure, target_pressure_unit,
                                             target)):
        what = "pressure" if prefix == "source" else "target_pressure"
        unit_what = "pressure_unit" if prefix == "source" else "target_pressure_unit"
        unit = _library.code(_library.PRESSURE_UNITS, given_unit, unit_what)
        given, unit = _pressure(given, unit, what, unit_what)
        setattr(request, f"{prefix}_pressure_unit", unit)
        parameters = getattr(request, prefix)
        for field in ("molecular_weight", "henry_constant"):
            if getattr(side, field) is not None:
                setattr(parameters, field,
                        _shared_number(getattr(side, field), f"{prefix} {field}"))
        if side.medium is not None:
            parameters.density_medium = _library.code(_library.MEDIA, side.medium,
                                                      f"{prefix} medium")
        for name, column, given_value, field in (
                (what, f"{prefix}_pressures", given, (request, f"{prefix}_pressure")),
                (f"{prefix} ambient_c", f"{prefix}_ambient_c",
                 _temperature(side.ambient_c, f"{prefix} ambient_c"),
                 (parameters, "ambient_temperature_c")),
                (f"{prefix} prevailing_c", f"{prefix}_prevailing_c",
                 _temperature(side.prevailing_c, f"{prefix} prevailing_c"),
                 (parameters, "prevailing_temperature_c"))):
            if given_value is not None:
                if index is not None:
                    given_value = _inputs.align(index, given_value, name)
                arguments.append(_Argument(name, given_value, column, field))

    value_array = _inputs.numbers(values, "values")
    per_value = [("values", value_array)]
    for argument in arguments:
        argument.array = _inputs.numbers(argument.given, argument.what)
        # One number for all goes into the request; NaN there would mean "not given", so a
        # missing reading for all values goes in as a column, and each value is missing.
        if argument.array.ndim == 0 and not np.isnan(argument.array):
            setattr(*argument.field, float(argument.array))
        else:
            per_value.append((argument.what, argument.array))
    shape = _inputs.common_shape(per_value)
    flat = np.ascontiguousarray(np.broadcast_to(value_array, shape)).reshape(-1)
    columns = {argument.column: np.ascontiguousarray(
        np.broadcast_to(argument.array, shape)).reshape(-1)
        for argument in arguments if argument.array.ndim or np.isnan(argument.array)}

    results = np.empty(flat.shape, dtype=np.float64)
    statuses = np.empty(flat.shape, dtype=np.int32)
    if count is None:
        count = (os.cpu_count() or 1) if flat.size >= 65536 else 1
    bounds = [int(bound) for bound in np.linspace(0, flat.size, min(count, max(flat.size, 1)) + 1)]

    def convert_slice(first: int, end: int) -> int:
        slice_columns = _library.Columns(**{name: _library.doubles(array[first:end])
                                            for name, array in columns.items()})
        return _library.library.ruruzir_convert_request_array(
            ctypes.byref(request), end - first, flat[first:end].ctypes.data,
            ctypes.byref(slice_columns), results[first:end].ctypes.data,
            statuses[first:end].ctypes.data)

    if len(bounds) > 2:
        with ThreadPoolExecutor(len(bounds) - 1) as pool:
            status = max(pool.map(convert_slice, bounds[:-1], bounds[1:]))
    else:
        status = convert_slice(0, flat.size)
    if status != CONVERTED:
        raise ValueError(_shared_refusal(request))
    outputs = [results.reshape(shape)]
    if return_status:
        outputs.append(statuses.reshape(shape))
    if reasons:
        outputs.append(_reasons(request, flat, columns, statuses).reshape(shape))
    if index is not None:
        import pandas as pd

        name = _library.name(_library.MOISTURE_UNITS, request.target_unit)
        if values.name is not None:
            name = f"{values.name} as {name}"
        names = [name] + ["status"] * return_status + ["reason"] * reasons
        outputs = [pd.Series(output, index=index, name=output_name)
                   for output, output_name in zip(outputs, names)]
    return tuple(outputs) if len(outputs) > 1 else outputs[0]


def _convert_dataarray(values: Any, from_unit: Any, to_unit: Any, **options: Any) -> Any:
    """A DataArray through xarray.apply_ufunc: its coordinates kept, per-value arguments that
    are DataArrays aligned and broadcast by dimension name, dask arrays converted per chunk."""
    import xarray as xr

    source, target = _side(options.pop("source"), "source"), _side(options.pop("target"),
                                                                    "target")
    given = {"pressure": options.pop("pressure"),
             "target_pressure": options.pop("target_pressure"),
             "source.ambient_c": source.ambient_c, "source.prevailing_c": source.prevailing_c,
             "target.ambient_c": target.ambient_c, "target.prevailing_c": target.prevailing_c}
    arrays = {key: _inputs.align_dataarray(values, value, key)
              for key, value in given.items() if _inputs.is_dataarray(value)}
    keys = list(arrays)
    extra = [np.int32] * bool(options["return_status"]) + [object] * bool(options["reasons"])

    def kernel(value_block: np.ndarray, *blocks: np.ndarray) -> Any:
        now = dict(given, **dict(zip(keys, blocks)))
        sides = {prefix: Side(ambient_c=now[prefix + ".ambient_c"],
                              molecular_weight=side.molecular_weight,
                              henry_constant=side.henry_constant,
                              prevailing_c=now[prefix + ".prevailing_c"], medium=side.medium)
                 for prefix, side in (("source", source), ("target", target))}
        return convert(value_block, from_unit, to_unit, pressure=now["pressure"],
                       target_pressure=now["target_pressure"], source=sides["source"],
                       target=sides["target"], **options)

    name = _library.name(_library.MOISTURE_UNITS,
                         _library.code(_library.MOISTURE_UNITS, to_unit, "to_unit"))
    outputs = xr.apply_ufunc(
        kernel, values, *arrays.values(), dask="parallelized",
        output_dtypes=[np.float64] + extra,
        **({"output_core_dims": [[]] * (1 + len(extra))} if extra else {}))
    if not extra:
        return outputs.rename(name)
    names = [name] + ["status"] * bool(options["return_status"]) + ["reason"] * bool(
        options["reasons"])
    return tuple(output.rename(output_name) for output, output_name in zip(outputs, names))


def convert_column(frame: Any, column: Any, from_unit: Union[str, int], to_unit: Union[str, int],
                   pressure: Any = None, target_pressure: Any = None,
                   source: Union[Side, Dict[str, Any], None] = None,
                   target: Union[Side, Dict[str, Any], None] = None, **options: Any) -> Any:
    """Converts one column of a pandas DataFrame; returns a Series on the frame's index.

    Parameters
    ----------
    frame : pandas.DataFrame
    column : hashable
        The label of the column of values (any label: "frost_c", 0, ("probe", "frost")).
    from_unit, to_unit : str or int
        As for ``ruruzir.convert``.
    pressure, target_pressure : column label, number, array or Series, optional
        A label of a column of `frame` is that column (one pressure per row); otherwise as for
        ``ruruzir.convert``.
    source, target : ruruzir.Side or dict, optional
        Their temperatures (ambient_c, prevailing_c) may also be column labels.
    **options
        The other arguments of ``ruruzir.convert``.

    Returns
    -------
    Series, or a pair of Series with ``return_status=True``
        Named after what it holds; NaN where a row has no answer.

    Raises
    ------
    KeyError
        When `column`, or a string given for a pressure or temperature, names no column (the
        message lists the columns).
    TypeError, ValueError
        As ``ruruzir.convert``.

    Examples
    --------
    >>> import pandas as pd
    >>> frame = pd.DataFrame({"frost_c": [-40.0, -40.0], "line_mbar": [1013.25, 7000.0]})
    >>> ruruzir.convert_column(frame, "frost_c", "frost-c", "ppmv", pressure="line_mbar")
    0    126.50
    1     18.31
    Name: frost_c as ppmv, dtype: float64
    """
    sides = []
    for side, what in ((source, "source"), (target, "target")):
        side = _side(side, what)
        sides.append(Side(
            ambient_c=_inputs.column_or_value(frame, side.ambient_c, f"{what} ambient_c"),
            molecular_weight=side.molecular_weight, henry_constant=side.henry_constant,
            prevailing_c=_inputs.column_or_value(frame, side.prevailing_c,
                                                 f"{what} prevailing_c"),
            medium=side.medium))
    return convert(_inputs.frame_column(frame, column), from_unit, to_unit,
                   pressure=_inputs.column_or_value(frame, pressure, "pressure"),
                   target_pressure=_inputs.column_or_value(frame, target_pressure,
                                                           "target_pressure"),
                   source=sides[0], target=sides[1], **options)


class Unit(NamedTuple):
    """One choice as the library names it: a unit, a formulation, a medium, ..."""

    code: int
    aliases: Tuple[str, ...]
    label: str
    caption: str
    description: str
    low: Optional[float]  # a moisture unit's range (bounds included); None for other kinds
    high: Optional[float]


_KINDS = {"moisture": _library.MOISTURE_UNITS, "pressure": _library.PRESSURE_UNITS,
          "formulation": _library.FORMULATIONS, "enhancement": _library.ENHANCEMENTS,
          "medium": _library.MEDIA, "precision": _library.PRECISIONS}


def units(kind: str = "moisture") -> Dict[str, Unit]:
    """The names a kind of choice takes, with their aliases, labels and ranges, by code order.

    Parameters
    ----------
    kind : {"moisture", "pressure", "formulation", "enhancement", "medium", "precision"}

    Returns
    -------
    dict
        {name: Unit}: the names the package and ruruzir-convert take, each with its code, its
        aliases, its label, the caption the calculator's lists show, what it means, and for a
        moisture unit its range (``low`` and ``high`` belong to it; infinite where the unit has
        no bound).

    Raises
    ------
    ValueError
        For another kind.

    Examples
    --------
    >>> list(ruruzir.units())[:2]
    ['frost-c', 'dew-c']
    >>> ruruzir.units()["ppmv"].aliases
    ('ppm',)
    """
    if kind not in _KINDS:
        raise ValueError(f"kind must be one of {list(_KINDS)}, not {kind!r}")
    kind_code = _KINDS[kind]
    listed = {}
    for choice in _library.CHOICES[kind_code]:
        low = high = None
        if kind_code == _library.MOISTURE_UNITS:
            low, high, _ = _library.RANGES[choice.code]
        caption = (_library.caption(kind_code, choice.code)
                   if kind_code in (_library.MOISTURE_UNITS, _library.PRESSURE_UNITS)
                   else choice.label)
        listed[choice.name] = Unit(choice.code, choice.aliases, choice.label, caption,
                                   choice.description, low, high)
    return listed
