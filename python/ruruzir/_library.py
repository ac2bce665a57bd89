"""The shared library (api/ruruzir.h) as ctypes sees it, and everything the package knows of the
calculator's vocabulary, read from it once at import: names, aliases, labels, defaults, limits,
sizes and statuses. The package states none of them itself.

The library is found at $RURUZIR_LIBRARY when set, else beside this file (where the wheel puts
it), else in the native build of the source tree this file belongs to (an editable install).
The package refuses to load a library whose version number or struct sizes differ from the
header it lays its structs out for.
"""
import ctypes
import math
import os
import sys
from typing import Any, Dict, List, NamedTuple, Optional, Tuple

import numpy as np

LIBRARY_NAME = "ruruzir.dll" if sys.platform == "win32" else "libruruzir.so"
HERE = os.path.dirname(os.path.abspath(__file__))

# The header this binding lays its structs out for: RURUZIR_VERSION_NUMBER.
VERSION_NUMBER = 3004000

# enum ruruzir_status: the binding names the statuses it branches on; their count and texts
# are the library's.
(CONVERTED, OUT_OF_RANGE, BAD_CODE, BAD_NUMBER, TEXT_TOO_SMALL, NO_AREA, NO_ANSWER, MISSING,
 VACUUM, PRESSURE_TOO_HIGH, SIDE_VALUE) = range(11)
# enum ruruzir_kind
MOISTURE_UNITS, PRESSURE_UNITS, FORMULATIONS, ENHANCEMENTS, MEDIA, PRECISIONS = range(6)
# enum ruruzir_quantity
AMBIENT_TEMPERATURE, MOLECULAR_WEIGHT, HENRY_CONSTANT, PREVAILING_TEMPERATURE, PRESSURE, VALUE = (
    range(6))
# enum ruruzir_field
(FIELD_NONE, FIELD_VALUE, FIELD_SOURCE_UNIT, FIELD_SOURCE_PRESSURE, FIELD_TARGET_UNIT,
 FIELD_TARGET_PRESSURE, FIELD_MODEL, FIELD_SOURCE_SIDE, FIELD_TARGET_SIDE) = (
    0, 1, 2, 3, 4, 5, 6, 7, 12)

_double_p = ctypes.POINTER(ctypes.c_double)


class Side(ctypes.Structure):
    """struct ruruzir_side."""

    _fields_ = [
        ("ambient_temperature_c", ctypes.c_double),
        ("molecular_weight", ctypes.c_double),
        ("henry_constant", ctypes.c_double),
        ("prevailing_temperature_c", ctypes.c_double),
        ("density_medium", ctypes.c_int),
    ]


class Request(ctypes.Structure):
    """struct ruruzir_request."""

    _fields_ = [
        ("source_unit", ctypes.c_int),
        ("source_pressure_unit", ctypes.c_int),
        ("source_pressure", ctypes.c_double),
        ("source", Side),
        ("target_unit", ctypes.c_int),
        ("target_pressure_unit", ctypes.c_int),
        ("target_pressure", ctypes.c_double),
        ("target", Side),
        ("formulation", ctypes.c_int),
        ("enhancement", ctypes.c_int),
        ("precision", ctypes.c_int),
    ]


class Columns(ctypes.Structure):
    """struct ruruzir_columns. Per-element readings, each null or `count` doubles."""

    _fields_ = [(name, _double_p) for name in (
        "source_pressures", "target_pressures", "source_ambient_c", "target_ambient_c",
        "source_prevailing_c", "target_prevailing_c")]


def find() -> str:
    """The library's path: $RURUZIR_LIBRARY, beside this file, or the source tree's build."""
    given = os.environ.get("RURUZIR_LIBRARY")
    if given:
        return given
    beside = os.path.join(HERE, LIBRARY_NAME)
    if os.path.isfile(beside):
        return beside
    build = os.path.join(HERE, os.pardir, os.pardir, "build",
                         "windows" if sys.platform == "win32" else "native", LIBRARY_NAME)
    if os.path.isfile(build):
        return os.path.normpath(build)
    raise ImportError(f"ruruzir: no {LIBRARY_NAME} beside {HERE} nor in the source tree's build; "
                      f"build the library (cmake --build build/native --target ruruzir) or set "
                      f"RURUZIR_LIBRARY to its path")


_char_p, _int, _size = ctypes.c_char_p, ctypes.c_int, ctypes.c_size_t
_int_p = ctypes.POINTER(ctypes.c_int)
SIGNATURES = {
    "ruruzir_version_number": (_int, []),
    "ruruzir_version": (_char_p, []),
    "ruruzir_text_size": (_size, []),
    "ruruzir_side_size": (_size, []),
    "ruruzir_request_size": (_size, []),
    "ruruzir_columns_size": (_size, []),
    "ruruzir_status_count": (_int, []),
    "ruruzir_status_text": (_char_p, [_int]),
    "ruruzir_count": (_int, [_int]),
    "ruruzir_name": (_char_p, [_int, _int]),
    "ruruzir_code": (_int, [_int, _char_p]),
    "ruruzir_alias": (_char_p, [_int, _int, _int_p]),
    "ruruzir_label": (_char_p, [_int, _int]),
    "ruruzir_description": (_char_p, [_int, _int]),
    "ruruzir_default_code": (_int, [_int]),
    "ruruzir_atmosphere_reading": (_char_p, [_int]),
    "ruruzir_limits": (_int, [_int, _int, _double_p, _double_p, _int_p]),
    "ruruzir_unit_caption": (_int, [_int, _int, _char_p, _size]),
    "ruruzir_default_request": (None, [ctypes.POINTER(Request)]),
    "ruruzir_convert_request": (_int, [ctypes.POINTER(Request), ctypes.c_double, _double_p,
                                       _char_p, _size, _int_p]),
    "ruruzir_convert_request_array": (_int, [ctypes.POINTER(Request), _size, ctypes.c_void_p,
                                             ctypes.POINTER(Columns), ctypes.c_void_p,
                                             ctypes.c_void_p]),
}


def _load() -> Tuple[Any, str]:
    path = find()
    try:
        library = ctypes.CDLL(path)
    except OSError as error:
        raise ImportError(f"ruruzir: cannot load the library {path}: {error}") from None
    for name_, (result, arguments) in SIGNATURES.items():
        try:
            function = getattr(library, name_)
        except AttributeError:
            raise ImportError(f"ruruzir: the library {path} has no {name_}: it is older than "
                              f"this package") from None
        function.restype = result
        function.argtypes = arguments
    found = library.ruruzir_version_number()
    if found != VERSION_NUMBER:
        raise ImportError(f"ruruzir: the library {path} is version number {found}, this package "
                          f"is laid out for {VERSION_NUMBER}: install them together")
    for struct, size in ((Side, library.ruruzir_side_size()),
                         (Request, library.ruruzir_request_size()),
                         (Columns, library.ruruzir_columns_size())):
        if ctypes.sizeof(struct) != size:
            raise ImportError(f"ruruzir: the library {path} has a {struct.__doc__.split('.')[0]} "
                              f"of {size} bytes, this package lays out {ctypes.sizeof(struct)}")
    if library.ruruzir_status_count() != SIDE_VALUE + 1:
        raise ImportError(f"ruruzir: the library {path} has {library.ruruzir_status_count()} "
                          f"statuses, this package knows {SIDE_VALUE + 1}")
    return library, path


library, path = _load()
TEXT_SIZE: int = library.ruruzir_text_size()
STATUS_TEXTS: List[str] = [library.ruruzir_status_text(status).decode("ascii")
                           for status in range(library.ruruzir_status_count())]


def _text(raw: Optional[bytes]) -> str:
    return raw.decode("cp1252") if raw is not None else ""


class Choice(NamedTuple):
    """One code of a kind as the library names it."""

    code: int
    name: str
    aliases: Tuple[str, ...]
    label: str
    description: str


def _choices(kind: int) -> List[Choice]:
    aliases: Dict[int, List[str]] = {}
    code = ctypes.c_int()
    index = 0
    while True:
        alias = library.ruruzir_alias(kind, index, ctypes.byref(code))
        if alias is None:
            break
        aliases.setdefault(code.value, []).append(alias.decode("ascii"))
        index += 1
    choices = []
    for code_ in range(library.ruruzir_count(kind)):
        name_ = library.ruruzir_name(kind, code_).decode("ascii")
        choices.append(Choice(code_, name_, tuple(a for a in aliases.get(code_, []) if a != name_),
                              _text(library.ruruzir_label(kind, code_)),
                              _text(library.ruruzir_description(kind, code_))))
    return choices


CHOICES: Dict[int, List[Choice]] = {kind: _choices(kind) for kind in range(PRECISIONS + 1)}
DEFAULTS: Dict[int, int] = {kind: library.ruruzir_default_code(kind) for kind in CHOICES}


def limits(quantity: int, unit: int = 0) -> Tuple[float, float, bool]:
    """(low, high, included): the limits of a side value, of pressures, or of a unit's values."""
    low, high, included = ctypes.c_double(), ctypes.c_double(), ctypes.c_int()
    status = library.ruruzir_limits(quantity, unit, ctypes.byref(low), ctypes.byref(high),
                                    ctypes.byref(included))
    if status != CONVERTED:
        raise ValueError(f"{STATUS_TEXTS[status]} (limits of quantity {quantity}, unit {unit})")
    return low.value, high.value, bool(included.value)


RANGES: Dict[int, Tuple[float, float, bool]] = {
    choice.code: limits(VALUE, choice.code) for choice in CHOICES[MOISTURE_UNITS]}
ATMOSPHERE_READINGS: Dict[int, str] = {
    choice.code: library.ruruzir_atmosphere_reading(choice.code).decode("ascii")
    for choice in CHOICES[PRESSURE_UNITS]}
# The unit in which one standard atmosphere reads 1013.25: millibar, which pint converts to.
MILLIBAR: int = next(code_ for code_, reading in ATMOSPHERE_READINGS.items()
                     if float(reading) == 1013.25)


def version() -> str:
    return library.ruruzir_version().decode("ascii")


def status_text(status: Any) -> Any:
    """The library's short English reason for a status, or an array of them for an array."""
    if np.ndim(status) == 0:
        status = int(status)
        return STATUS_TEXTS[status] if 0 <= status < len(STATUS_TEXTS) else (
            library.ruruzir_status_text(status).decode("ascii"))
    texts = np.array(STATUS_TEXTS + ["unknown status"], dtype=object)
    codes = np.asarray(status)
    return texts[np.where((codes >= 0) & (codes < len(STATUS_TEXTS)), codes, len(STATUS_TEXTS))]


def name(kind: int, code_: int) -> str:
    choices = CHOICES[kind]
    return choices[code_].name if 0 <= code_ < len(choices) else str(code_)


def code(kind: int, given: Any, what: str) -> int:
    """A code by name or alias, an integer code as it is (the library checks it), None: the
    calculator's default. True is no code."""
    if given is None:
        return DEFAULTS[kind]
    if isinstance(given, (bool, np.bool_)):
        raise TypeError(f"{what} must be a name or an integer code, not {given!r}")
    if isinstance(given, (int, np.integer)):
        return int(given)
    if not isinstance(given, str):
        raise TypeError(f"{what} must be a name or an integer code, not "
                        f"{type(given).__name__}")
    found = library.ruruzir_code(kind, given.encode("utf-8", "replace"))
    if found < 0:
        known = ", ".join(choice.name for choice in CHOICES[kind])
        raise ValueError(f"{STATUS_TEXTS[BAD_CODE]} ({what}={given!r}; the names: {known}; "
                         f"ruruzir.units() lists the aliases)")
    return found


def caption(kind: int, code_: int) -> str:
    text = ctypes.create_string_buffer(TEXT_SIZE)
    status = library.ruruzir_unit_caption(kind, code_, text, len(text))
    if status != CONVERTED:
        raise ValueError(f"{STATUS_TEXTS[status]} (caption of unit {code_})")
    return text.value.decode("cp1252")


def is_gauge(pressure_unit: int) -> bool:
    """A gauge unit reads one standard atmosphere as 0."""
    reading = ATMOSPHERE_READINGS.get(pressure_unit)
    return reading is not None and float(reading) == 0.0


def pint_temperature_unit(moisture_unit: int) -> Optional[str]:
    """pint's name of the temperature scale of a dew or frost point unit (its label starts
    with one); None for the other units."""
    if not 0 <= moisture_unit < len(CHOICES[MOISTURE_UNITS]):
        return None
    label = CHOICES[MOISTURE_UNITS][moisture_unit].label
    for scale, pint_unit in (("\u00b0C", "degC"), ("\u00b0F", "degF")):
        if scale in label:
            return pint_unit
    return None


def doubles(array: Optional[np.ndarray]) -> Any:
    return array.ctypes.data_as(_double_p) if array is not None else None


def middle_of_range(unit: int) -> float:
    """A value its unit accepts: to ask the library about what all values share."""
    low, high, _ = RANGES.get(unit, (-math.inf, math.inf, True))
    if math.isfinite(low) and math.isfinite(high):
        return (low + high) / 2
    if math.isfinite(low):
        return low + 1.0
    if math.isfinite(high):
        return high - 1.0
    return 0.0
