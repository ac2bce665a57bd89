#!/usr/bin/env python3
"""Converts a -40 degC frost point at 1013.25 mbar to the frost point at 7000 mbar with the
Ruruzir library (ruruzir.dll or libruruzir.so) through ctypes alone, and prints the result text
(the ruruzir package, python/, does this and more for arrays: see package_tour.py).

    python3 examples/python/convert.py [path of the library]

Without an argument the library is taken from $RURUZIR_LIBRARY, else from the native build
(build/native/libruruzir.so) or, on Windows, ruruzir.dll next to this script or on the PATH.
"""
import ctypes
import math
import os
import sys

# Codes of api/ruruzir.h.
CONVERTED, OUT_OF_RANGE, BAD_CODE, BAD_NUMBER, TEXT_TOO_SMALL, NO_AREA = range(6)
FROST_POINT_C = 0  # moisture unit: dew/frost point, degC
MBAR = 0  # pressure unit
GOFF_GRATCH = 1
ENHANCEMENT_NONE = 0


def library_path():
    if len(sys.argv) > 1:
        return sys.argv[1]
    if os.environ.get("RURUZIR_LIBRARY"):
        return os.environ["RURUZIR_LIBRARY"]
    if os.name == "nt":
        here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ruruzir.dll")
        return here if os.path.exists(here) else "ruruzir.dll"
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    return os.path.join(root, "build", "native", "libruruzir.so")


def load(path):
    library = ctypes.CDLL(path)
    library.ruruzir_convert.restype = ctypes.c_int
    library.ruruzir_convert.argtypes = [
        ctypes.c_double, ctypes.c_int, ctypes.c_double, ctypes.c_int, ctypes.c_void_p,
        ctypes.c_int, ctypes.c_double, ctypes.c_int, ctypes.c_void_p,
        ctypes.c_int, ctypes.c_int, ctypes.POINTER(ctypes.c_double),
        ctypes.c_char_p, ctypes.c_size_t,
    ]
    return library


def main():
    library = load(library_path())
    text = ctypes.create_string_buffer(100)
    result = ctypes.c_double(math.nan)
    # No sides (None): the calculator's defaults, which frost points do not use anyway. The
    # ruruzir package (python/ruruzir/_library.py) declares struct ruruzir_side for ctypes.
    status = library.ruruzir_convert(
        -40.0, FROST_POINT_C, 1013.25, MBAR, None, FROST_POINT_C, 7000.0, MBAR, None,
        GOFF_GRATCH, ENHANCEMENT_NONE, ctypes.byref(result), text, len(text))
    # Texts are Windows-1252 (a range message carries the degree sign).
    print(text.value.decode("cp1252"))
    return 0 if status == CONVERTED else 1


if __name__ == "__main__":
    sys.exit(main())
