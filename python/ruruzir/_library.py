"""The shared library (api/ruruzir.h) as ctypes sees it.

Found at $RURUZIR_LIBRARY when set, else beside this file (where the wheel puts it), else in
the native build of the source tree this file belongs to (an editable install).
"""
import ctypes
import os
import sys
from typing import Any, Optional, Tuple

import numpy as np

LIBRARY_NAME = "ruruzir.dll" if sys.platform == "win32" else "libruruzir.so"
HERE = os.path.dirname(os.path.abspath(__file__))

# enum ruruzir_status
CONVERTED, OUT_OF_RANGE, BAD_CODE, BAD_NUMBER, TEXT_TOO_SMALL, NO_AREA = range(6)
# enum ruruzir_unit_kind
MOISTURE_UNITS, PRESSURE_UNITS = 0, 1
FORMULATIONS, ENHANCEMENTS, MEDIA, PRECISIONS = 2, 3, 4, 5
TEXT_SIZE = 100  # RURUZIR_TEXT_SIZE

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


class ArraySide(ctypes.Structure):
    """struct ruruzir_array_side."""

    _fields_ = [
        ("unit", ctypes.c_int),
        ("pressure_unit", ctypes.c_int),
        ("pressure", ctypes.c_double),
        ("pressures", _double_p),
        ("parameters", Side),
        ("ambient_temperatures_c", _double_p),
        ("prevailing_temperatures_c", _double_p),
    ]


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


def _load():
    path = find()
    try:
        library = ctypes.CDLL(path)
    except OSError as error:
        raise ImportError(f"ruruzir: cannot load the library {path}: {error}") from None
    signatures = {
        "ruruzir_convert": (ctypes.c_int, [
            ctypes.c_double, ctypes.c_int, ctypes.c_double, ctypes.c_int, ctypes.POINTER(Side),
            ctypes.c_int, ctypes.c_double, ctypes.c_int, ctypes.POINTER(Side), ctypes.c_int,
            ctypes.c_int, _double_p, ctypes.c_char_p, ctypes.c_size_t]),
        "ruruzir_convert_array": (ctypes.c_int, [
            ctypes.c_size_t, ctypes.c_void_p, ctypes.POINTER(ArraySide),
            ctypes.POINTER(ArraySide), ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_void_p,
            ctypes.c_void_p]),
        "ruruzir_status_text": (ctypes.c_char_p, [ctypes.c_int]),
        "ruruzir_default_side": (None, [ctypes.POINTER(Side)]),
        "ruruzir_unit_count": (ctypes.c_int, [ctypes.c_int]),
        "ruruzir_unit_name": (ctypes.c_char_p, [ctypes.c_int, ctypes.c_int]),
        "ruruzir_unit_code": (ctypes.c_int, [ctypes.c_int, ctypes.c_char_p]),
        "ruruzir_unit_caption": (ctypes.c_int, [
            ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_size_t]),
        "ruruzir_version": (ctypes.c_char_p, []),
    }
    for name_, (result, arguments) in signatures.items():
        function = getattr(library, name_)
        function.restype = result
        function.argtypes = arguments
    return library, path


library, path = _load()

# Until the library names every kind: the names of the model and medium codes.
_NAMES = {FORMULATIONS: ["hyland-wexler", "goff-gratch", "sonntag", "magnus"],
          ENHANCEMENTS: ["none", "bogel", "greenspan"],
          MEDIA: ["water", "air", "natural-gas"], PRECISIONS: ["shown", "computed"]}
_DEFAULTS = {MOISTURE_UNITS: 0, PRESSURE_UNITS: 0, FORMULATIONS: 1, ENHANCEMENTS: 0, MEDIA: 2,
             PRECISIONS: 0}
MILLIBAR = 0


def version() -> str:
    return library.ruruzir_version().decode("ascii")


def status_text(status: Any) -> str:
    """The library's short English reason for a status code."""
    return library.ruruzir_status_text(int(status)).decode("ascii")


def name(kind: int, code: int) -> str:
    if kind in _NAMES:
        return _NAMES[kind][code]
    return library.ruruzir_unit_name(kind, code).decode("ascii")


def code(kind: int, given: Any, what: str) -> int:
    """A code by name or alias, an integer code as it is (the library checks it), None: the
    calculator's default. True is no code."""
    if given is None:
        return _DEFAULTS[kind]
    if isinstance(given, (bool, np.bool_)):
        raise TypeError(f"{what} must be a name or an integer code, not {given!r}")
    if isinstance(given, (int, np.integer)):
        return int(given)
    if not isinstance(given, str):
        raise TypeError(f"{what} must be a name or an integer code, not "
                        f"{type(given).__name__}")
    if kind in _NAMES:
        found = _NAMES[kind].index(given.lower()) if given.lower() in _NAMES[kind] else -1
    else:
        found = library.ruruzir_unit_code(kind, given.encode("utf-8", "replace"))
    if found < 0:
        hint = ": say psia or psig" if given.lower() == "psi" else ""
        raise ValueError(f"{status_text(BAD_CODE)} ({what}={given!r}{hint})")
    return found


def caption(kind: int, code_: int) -> str:
    text = ctypes.create_string_buffer(TEXT_SIZE)
    status = library.ruruzir_unit_caption(kind, code_, text, len(text))
    if status != CONVERTED:
        raise ValueError(f"{status_text(status)} (caption of unit {code_})")
    return text.value.decode("cp1252")


def is_gauge(pressure_unit: int) -> bool:
    return name(PRESSURE_UNITS, pressure_unit).endswith("g")


def atmosphere(pressure_unit: int) -> Tuple[int, float]:
    return MILLIBAR, 1013.25


def pint_temperature_unit(moisture_unit: int) -> Optional[str]:
    """pint's name of the temperature scale of a dew or frost point unit; None for the others."""
    label = caption(MOISTURE_UNITS, moisture_unit)
    return {"\u00b0C": "degC", "\u00b0F": "degF"}.get(label[:2])


def doubles(array: np.ndarray) -> Any:
    return array.ctypes.data_as(_double_p)
