"""Builds the ruruzir package around the library of a finished build: nothing is compiled here.

The library is taken from $RURUZIR_LIBRARY when set, else from the native build next to this
folder (build/native/libruruzir.so, or ruruzir.dll of build/windows on Windows), and copied into
the package, which loads it from there.
"""
import os
import shutil
import sys

from setuptools import setup
from setuptools.command.build_py import build_py
from setuptools.dist import Distribution

HERE = os.path.dirname(os.path.abspath(__file__))
LIBRARY_NAME = "ruruzir.dll" if sys.platform == "win32" else "libruruzir.so"


def built_library():
    path = os.environ.get("RURUZIR_LIBRARY")
    if not path:
        build = "windows" if sys.platform == "win32" else "native"
        path = os.path.join(HERE, os.pardir, "build", build, LIBRARY_NAME)
    path = os.path.realpath(path)
    if not os.path.isfile(path):
        sys.exit(f"ruruzir: no library at {path}: build it first "
                 f"(cmake --build build/native --target ruruzir) or set RURUZIR_LIBRARY")
    return path


class BuildWithLibrary(build_py):
    """Copies the built library into the package."""

    def run(self):
        super().run()
        target = os.path.join(self.build_lib, "ruruzir", LIBRARY_NAME)
        shutil.copyfile(built_library(), target)


class BinaryDistribution(Distribution):
    """The package carries a machine's library: its wheel is for that platform only."""

    def has_ext_modules(self):
        return True


setup(cmdclass={"build_py": BuildWithLibrary}, distclass=BinaryDistribution)
