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
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass
from typing import Any, Dict, List, Optional, Tuple, Union

import numpy as np

from . import _inputs, _library
from ._library import (BAD_CODE, BAD_NUMBER, CONVERTED, NO_AREA, OUT_OF_RANGE,  # noqa: F401
                       TEXT_TOO_SMALL, status_text)

__version__: str = _library.version()

__all__ = ["convert", "convert_column", "units", "Side", "status_text", "version",
           "__version__", "CONVERTED", "OUT_OF_RANGE", "BAD_CODE", "BAD_NUMBER"]

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
    """One argument that may hold one number for all values or one per value."""

    def __init__(self, what: str, given: Any):
        self.what, self.given = what, given
        self.array: Optional[np.ndarray] = None


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
            threads: int = 1) -> Any:
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
        "shown" (default): the number the calculator's result text shows; "computed": the
        number before it is rounded for display.
    return_status : bool
        Also return each value's status (``ruruzir.status_text`` says it in words).
    threads : int
        Convert in this many threads at once, each a slice of the values (leave it at 1 where
        a scheduler such as Dask already runs one conversion per core).

    Returns
    -------
    ndarray or Series
        float64 shaped like the values (or, for one value, like the per-value arguments);
        NaN where a value has no answer. A Series of values gives a Series on its index, named
        after what it holds. With `return_status`, a pair: the results and the int32 statuses.

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
            precision=precision, return_status=return_status, threads=threads)
    lib = _library.library
    source, target = _side(source, "source"), _side(target, "target")
    if target_pressure_unit is None:
        target_pressure_unit = pressure_unit
    count = _inputs.threads(threads)
    units = (_library.code(_library.MOISTURE_UNITS, from_unit, "from_unit"),
             _library.code(_library.MOISTURE_UNITS, to_unit, "to_unit"))
    values = _moisture(values, units[0], "values", "from_unit")
    index = values.index if _inputs.is_series(values) else None
    sides: List[Any] = []
    arguments: List[Tuple[Any, str, _Argument]] = []
    for number, (what, given, given_unit, side) in enumerate((
            ("pressure", pressure, pressure_unit, source),
            ("target_pressure", target_pressure, target_pressure_unit, target))):
        unit_what = "pressure_unit" if number == 0 else "target_pressure_unit"
        prefix = "source" if number == 0 else "target"
        array_side = _library.ArraySide()
        array_side.unit = units[number]
        pressure_code = _library.code(_library.PRESSURE_UNITS, given_unit, unit_what)
        given, pressure_code = _pressure(given, pressure_code, what, unit_what)
        lib.ruruzir_default_side(array_side.parameters)
        parameters = array_side.parameters
        for field in ("molecular_weight", "henry_constant"):
            given_value = getattr(side, field)
            if given_value is not None:
                setattr(parameters, field, _shared_number(given_value, f"{prefix} {field}"))
        if side.medium is not None:
            parameters.density_medium = _library.code(_library.MEDIA, side.medium,
                                                      f"{prefix} medium")
        if given is None:
            array_side.pressure_unit, array_side.pressure = _library.atmosphere(pressure_code)
        else:
            array_side.pressure_unit = pressure_code
        for field, what_here, given_value in (
                ("pressure", what, given),
                ("ambient_temperature_c", f"{prefix} ambient_c", _temperature(
                    side.ambient_c, f"{prefix} ambient_c")),
                ("prevailing_temperature_c", f"{prefix} prevailing_c", _temperature(
                    side.prevailing_c, f"{prefix} prevailing_c"))):
            if given_value is not None:
                if index is not None:
                    given_value = _inputs.align(index, given_value, what_here)
                arguments.append((array_side, field, _Argument(what_here, given_value)))
        sides.append(array_side)

    value_array = _inputs.numbers(values, "values")
    per_value = [("values", value_array)]
    for array_side, field, argument in arguments:
        argument.array = _inputs.numbers(argument.given, argument.what)
        if argument.array.ndim == 0:
            target_object = array_side if field == "pressure" else array_side.parameters
            setattr(target_object, field, float(argument.array))
        else:
            per_value.append((argument.what, argument.array))
    shape = _inputs.common_shape(per_value)
    flat = np.ascontiguousarray(np.broadcast_to(value_array, shape)).reshape(-1)
    keep = []  # the per-value arrays stay alive until the calls have returned
    for array_side, field, argument in arguments:
        if argument.array.ndim:
            array = np.ascontiguousarray(np.broadcast_to(argument.array, shape)).reshape(-1)
            keep.append((array_side, field, array))

    results = np.empty(flat.shape, dtype=np.float64)
    statuses = np.empty(flat.shape, dtype=np.int32)
    codes = (_library.code(_library.FORMULATIONS, formulation, "formulation"),
             _library.code(_library.ENHANCEMENTS, enhancement, "enhancement"),
             _library.code(_library.PRECISIONS, precision, "precision"))
    bounds = [int(bound) for bound in np.linspace(0, flat.size, min(count, max(flat.size, 1)) + 1)]

    def convert_slice(first: int, end: int) -> int:
        slice_sides = [_library.ArraySide.from_buffer_copy(side) for side in sides]
        for array_side, field, array in keep:
            pointer = _library.doubles(array[first:end])
            copy = slice_sides[sides.index(array_side)]
            setattr(copy, {"pressure": "pressures",
                           "ambient_temperature_c": "ambient_temperatures_c",
                           "prevailing_temperature_c": "prevailing_temperatures_c"}[field],
                    pointer)
        return lib.ruruzir_convert_array(
            end - first, flat[first:end].ctypes.data, slice_sides[0], slice_sides[1], *codes,
            results[first:end].ctypes.data, statuses[first:end].ctypes.data)

    if len(bounds) > 2:
        with ThreadPoolExecutor(len(bounds) - 1) as pool:
            status = max(pool.map(convert_slice, bounds[:-1], bounds[1:]))
    else:
        status = convert_slice(0, flat.size)
    del keep
    if status != CONVERTED:
        raise ValueError(f"{status_text(status)} (in a pressure or side parameter shared by all "
                         f"values)")
    results, statuses = results.reshape(shape), statuses.reshape(shape)
    if index is not None:
        import pandas as pd

        name = _library.name(_library.MOISTURE_UNITS, units[1])
        if values.name is not None:
            name = f"{values.name} as {name}"
        results = pd.Series(results, index=index, name=name)
        statuses = pd.Series(statuses, index=index, name="status")
    return (results, statuses) if return_status else results


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
    return_status = options["return_status"]

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
        output_dtypes=[np.float64, np.int32] if return_status else [np.float64],
        **({"output_core_dims": [[], []]} if return_status else {}))
    if return_status:
        return outputs[0].rename(name), outputs[1].rename("status")
    return outputs.rename(name)


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


def units(kind: str = "moisture") -> Dict[str, str]:
    """The units of a kind as {name: caption}, by code order.

    Parameters
    ----------
    kind : {"moisture", "pressure"}

    Returns
    -------
    dict
        The names the package and ruruzir-convert take, with the captions the calculator's
        lists show.

    Examples
    --------
    >>> list(ruruzir.units())[:2]
    ['frost-c', 'dew-c']
    """
    kinds = {"moisture": _library.MOISTURE_UNITS, "pressure": _library.PRESSURE_UNITS}
    if kind not in kinds:
        raise ValueError(f"kind must be one of {list(kinds)}, not {kind!r}")
    kind_code = kinds[kind]
    return {_library.name(kind_code, code): _library.caption(kind_code, code)
            for code in range(_library.library.ruruzir_unit_count(kind_code))}
