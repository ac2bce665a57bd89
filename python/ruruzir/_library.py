"""The shared library (api/ruruzir.h) as ctypes sees it: loaded from this package's folder."""
import ctypes
import os
import sys

LIBRARY_NAME = "ruruzir.dll" if sys.platform == "win32" else "libruruzir.so"

# enum ruruzir_status
CONVERTED, OUT_OF_RANGE, BAD_CODE, BAD_NUMBER, TEXT_TOO_SMALL, NO_AREA = range(6)
# enum ruruzir_unit_kind
MOISTURE_UNITS, PRESSURE_UNITS = 0, 1
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


def _load():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), LIBRARY_NAME)
    library = ctypes.CDLL(path)
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
    for name, (result, arguments) in signatures.items():
        function = getattr(library, name)
        function.restype = result
        function.argtypes = arguments
    return library, path


library, path = _load()


def status_text(status):
    """The library's short English reason for a status code."""
    return library.ruruzir_status_text(int(status)).decode("ascii")
