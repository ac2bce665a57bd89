"""What the package accepts as numbers, and how the arguments of one call line up.

Every argument that can hold numbers goes through `numbers`: plain Python and numpy numbers,
sequences and arrays of them, pandas Series and arrays (nullable dtypes included: pd.NA is a
missing reading, NaN), and pint quantities, converted to the unit the call reads them in. What
is not a number (True, a date, a string) is a TypeError, never read as one. pandas, pint and
xarray are optional: nothing here imports them; an object is theirs only when its module is
loaded already.
"""
import datetime
import numbers as _numbers
import operator
import sys
from typing import Any, Sequence, Tuple

import numpy as np

# pint's own unit names for the temperatures and the pressures it converts for us.
PINT_CELSIUS = "degC"
PINT_MILLIBAR = "millibar"


def _pandas():
    return sys.modules.get("pandas")


def is_series(given: Any) -> bool:
    pd = _pandas()
    return pd is not None and isinstance(given, pd.Series)


def is_dataarray(given: Any) -> bool:
    xr = sys.modules.get("xarray")
    return xr is not None and isinstance(given, xr.DataArray)


def align_dataarray(values: Any, given: Any, what: str) -> Any:
    """A DataArray argument put in the order of the values' coordinates where each shared
    dimension has the same labels; refused, naming them, where the labels differ."""
    for dim in given.dims:
        if dim in values.indexes and dim in given.indexes:
            mine, theirs = values.indexes[dim], given.indexes[dim]
            if mine.equals(theirs):
                continue
            if mine.is_unique and theirs.is_unique and len(mine.symmetric_difference(theirs)) == 0:
                given = given.reindex({dim: mine})
                continue
            raise ValueError(f"{what} is a DataArray whose {dim!r} coordinate does not pair with "
                             f"the values': {_labels(mine.difference(theirs))} of the values' "
                             f"missing from it, {_labels(theirs.difference(mine))} of its own not "
                             f"in the values'")
    return given


def is_quantity(given: Any) -> bool:
    """A pint Quantity (of any registry), told by what it has rather than by its class."""
    return (type(given).__module__.startswith("pint")
            and all(hasattr(given, name) for name in ("magnitude", "units", "to")))


def _not_a_number(what: str, given: Any) -> TypeError:
    shown = repr(given)
    if len(shown) > 40:
        shown = shown[:37] + "..."
    return TypeError(f"{what} must be numbers, not {type(given).__name__} {shown}")


_NOT_NUMBER_KINDS = {"b": "booleans", "M": "dates", "m": "time spans", "U": "strings",
                     "S": "bytes", "c": "complex numbers", "V": "records"}


def _is_missing(element: Any) -> bool:
    pd = _pandas()
    return element is None or (pd is not None and element is pd.NA)


def _object_numbers(array: np.ndarray, what: str) -> np.ndarray:
    """An object array element by element: real numbers, None and pd.NA only."""
    out = np.empty(array.shape, dtype=np.float64)
    for position, element in np.ndenumerate(array):
        if _is_missing(element):
            out[position] = np.nan
        elif isinstance(element, _numbers.Real) and not isinstance(element, (bool, np.bool_)):
            out[position] = float(element)
        else:
            raise _not_a_number(what, element)
    return out


def _from_pandas(given: Any, what: str) -> np.ndarray:
    pd = _pandas()
    dtype = given.dtype
    if pd.api.types.is_bool_dtype(dtype) or not (
            pd.api.types.is_numeric_dtype(dtype) or pd.api.types.is_object_dtype(dtype)):
        raise TypeError(f"{what} must be numbers, not a column of {dtype}")
    if pd.api.types.is_object_dtype(dtype):
        return _object_numbers(np.asarray(given, dtype=object), what)
    if pd.api.types.is_extension_array_dtype(dtype):  # Float64, Int64: pd.NA is missing
        with np.errstate(invalid="ignore"):  # the values under pd.NA are cast, then replaced
            return given.to_numpy(dtype=np.float64, na_value=np.nan)
    return np.asarray(given, dtype=np.float64)


def numbers(given: Any, what: str) -> np.ndarray:
    """`given` as float64 (a view where it is float64 already), or TypeError naming `what`."""
    if isinstance(given, (str, bytes, bool, np.bool_, datetime.date, datetime.time,
                          datetime.timedelta, np.datetime64, np.timedelta64)):
        raise _not_a_number(what, given)
    if _is_missing(given):
        return np.array(np.nan)
    pd = _pandas()
    if pd is not None:
        if isinstance(given, pd.DataFrame):
            raise TypeError(f"{what} is a DataFrame: give one column (or use convert_column)")
        if isinstance(given, (pd.Series, pd.Index, pd.api.extensions.ExtensionArray)):
            return _from_pandas(given, what)
    if is_dataarray(given):
        raise TypeError(f"{what} is an xarray DataArray, which only goes with values that are "
                        f"one: give the values as a DataArray too, or {what} as numbers")
    if is_quantity(given):
        raise TypeError(f"{what} is a pint quantity of {given.units}, which this argument "
                        f"cannot take: give plain numbers in its unit")
    array = np.asarray(given)
    kind = array.dtype.kind
    if kind in _NOT_NUMBER_KINDS:
        raise TypeError(f"{what} must be numbers, not {_NOT_NUMBER_KINDS[kind]} ({array.dtype})")
    if kind == "O":
        return _object_numbers(array, what)
    return array.astype(np.float64, copy=False)


def quantity_magnitude(given: Any, unit: str, what: str, allowed: str) -> Any:
    """A pint quantity's magnitude in pint's `unit`; refused when it is of another dimension."""
    try:
        return given.to(unit).magnitude
    except Exception as error:  # pint's DimensionalityError, or an offset unit it cannot add
        raise ValueError(f"{what} is a pint quantity of {given.units}, which cannot be "
                         f"converted to {allowed}: {error}") from None


def threads(given: Any) -> int:
    """Any integer (numpy's too) of 1 or more; True is no count of threads."""
    if isinstance(given, (bool, np.bool_)):
        raise TypeError(f"threads must be an integer, not {given!r}")
    try:
        count = operator.index(given)
    except TypeError:
        raise TypeError(f"threads must be an integer, not {type(given).__name__} "
                        f"{given!r}") from None
    if count < 1:
        raise ValueError(f"threads must be 1 or more, not {count}")
    return count


def align(index: Any, given: Any, what: str) -> Any:
    """A Series argument put in the order of `index` (the values' index), as pandas pairs
    Series: by label. Refused when the labels are not the same set, naming the difference."""
    if not is_series(given) or given.index.equals(index):
        return given
    if index.is_unique and given.index.is_unique:
        missing, extra = index.difference(given.index), given.index.difference(index)
        if len(missing) == 0 and len(extra) == 0:
            return given.reindex(index)
    else:
        missing, extra = index, given.index
    raise ValueError(f"{what} is a Series whose index does not pair with the values' index: "
                     f"{_labels(missing)} of the values' index missing from it, "
                     f"{_labels(extra)} of its own not in the values' index (align or reindex "
                     f"them, or pass .to_numpy() to pair by position)")


def _labels(index: Any) -> str:
    shown = [repr(label) for label in list(index[:5])]
    more = f" and {len(index) - 5} more" if len(index) > 5 else ""
    return "[" + ", ".join(shown) + "]" + more if shown else "none"


def common_shape(arrays: Sequence[Tuple[str, np.ndarray]]) -> Tuple[int, ...]:
    """The shape the arrays broadcast to; refused where broadcasting would make more results
    than the largest argument has elements (an (n, 1) column against n values gives n * n)."""
    try:
        shape = np.broadcast_shapes(*(array.shape for _, array in arrays))
    except ValueError:
        raise ValueError("these shapes do not broadcast together: " + ", ".join(
            f"{what} {array.shape}" for what, array in arrays)) from None
    largest = max(array.size for _, array in arrays)
    if int(np.prod(shape, dtype=np.int64)) > largest:
        raise ValueError("broadcasting " + ", ".join(
            f"{what} {array.shape}" for what, array in arrays if array.ndim)
            + f" would give {shape}, more results than any argument has values: give each "
            f"per-value argument the values' shape (e.g. column.ravel())")
    return shape


def column_or_value(frame: Any, given: Any, what: str) -> Any:
    """A column of `frame` when `given` is a label of one (any hashable: 0 and ("a", "b") as
    well as "line_psig"); a string naming no column is refused with the columns listed."""
    try:
        hash(given)
    except TypeError:
        return given
    if given is None or is_quantity(given):
        return given
    try:
        found = given in frame.columns
    except (TypeError, ValueError):
        found = False
    if found:
        return frame[given]
    if isinstance(given, str):
        raise KeyError(f"{what}={given!r} names no column of the frame; its columns: "
                       f"{list(frame.columns)}")
    return given


def frame_column(frame: Any, column: Any) -> Any:
    try:
        hash(column)
        found = column in frame.columns
    except (TypeError, ValueError):
        found = False
    if not found:
        raise KeyError(f"column={column!r} names no column of the frame; its columns: "
                       f"{list(frame.columns)}")
    return frame[column]

