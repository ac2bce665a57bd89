"""Builds the ruruzir package around the library of a finished build: nothing is compiled here.

The library is taken from $RURUZIR_LIBRARY when set, else from the native build next to this
folder (build/native/libruruzir.so, or ruruzir.dll of build/windows on Windows), and copied into
the package, which loads it from there. The wheel holds no extension module, only the library:
it is tagged py3-none-PLATFORM, the platform being this machine's or $RURUZIR_WHEEL_PLATFORM
(win_amd64 for the cross-built ruruzir.dll).
"""
import os
import shutil
import sys

from setuptools import setup
from setuptools.command.build_py import build_py
from setuptools.dist import Distribution
from wheel.bdist_wheel import bdist_wheel

HERE = os.path.dirname(os.path.abspath(__file__))
LIBRARY_NAMES = ("ruruzir.dll", "libruruzir.so")


def built_library():
    path = os.environ.get("RURUZIR_LIBRARY")
    if not path:
        build = "windows" if sys.platform == "win32" else "native"
        name = LIBRARY_NAMES[sys.platform != "win32"]
        path = os.path.join(HERE, os.pardir, "build", build, name)
    path = os.path.realpath(path)
    if not os.path.isfile(path):
        sys.exit(f"ruruzir: no library at {path}: build it first "
                 f"(cmake --build build/native --target ruruzir) or set RURUZIR_LIBRARY")
    return path


class BuildWithLibrary(build_py):
    """Copies the built library into the package."""

    def run(self):
        super().run()
        library = built_library()
        name = LIBRARY_NAMES[0] if library.lower().endswith(".dll") else LIBRARY_NAMES[1]
        for stale in LIBRARY_NAMES:  # another platform's library from an earlier build
            if os.path.exists(os.path.join(self.build_lib, "ruruzir", stale)):
                os.remove(os.path.join(self.build_lib, "ruruzir", stale))
        shutil.copyfile(library, os.path.join(self.build_lib, "ruruzir", name))


class BinaryDistribution(Distribution):
    """The package carries a machine's library: its wheel is for that platform only."""

    def has_ext_modules(self):
        return True


class PlatformWheel(bdist_wheel):
    """py3-none-PLATFORM: any Python 3 on one platform, as ctypes loads the library."""

    def get_tag(self):
        platform = os.environ.get("RURUZIR_WHEEL_PLATFORM") or super().get_tag()[2]
        return "py3", "none", platform


setup(cmdclass={"build_py": BuildWithLibrary, "bdist_wheel": PlatformWheel},
      distclass=BinaryDistribution)
