"""The package as its ecosystem expects it: examples in the docstrings that run, type hints
marked, the version, xarray in and out (dask too), the wheel's tag and where the library is
found."""
import doctest
import os
import subprocess
import sys
import zipfile

import numpy as np
import pytest
import xarray as xr

import ruruzir
from ruruzir import _inputs, _library

PYTHON_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, os.pardir,
                             "python")


@pytest.mark.parametrize("module", [ruruzir, _inputs, _library], ids=lambda m: m.__name__)
def test_docstring_examples_run(module):
    failed, tried = doctest.testmod(module, extraglobs={"ruruzir": ruruzir},
                                    optionflags=doctest.NORMALIZE_WHITESPACE)
    assert failed == 0 and (tried > 0 or module is not ruruzir)


def test_version_and_type_marker_are_installed():
    assert ruruzir.__version__ == ruruzir.version() and ruruzir.__version__.count(".") == 1
    assert os.path.isfile(os.path.join(os.path.dirname(ruruzir.__file__), "py.typed"))
    for function in (ruruzir.convert, ruruzir.convert_column, ruruzir.units):
        assert function.__annotations__ and "Examples" in function.__doc__


FROST = xr.DataArray(np.array([[-40.0, -20.0], [0.0, 75.0]]), dims=("time", "probe"),
                     coords={"time": [1, 2], "probe": ["x", "y"]}, name="frost")
# Probe x at one atmosphere, probe y at 7000 mbar, whatever order the pressures come in.
PRESSURES = xr.DataArray([7000.0, 1013.25], dims="probe", coords={"probe": ["y", "x"]})


@pytest.mark.parametrize("chunked", [False, True])
def test_dataarray_in_gives_dataarray_out(chunked):
    values = FROST.chunk({"time": 1}) if chunked else FROST
    results, statuses = ruruzir.convert(values, "frost-c", "ppmv", pressure=PRESSURES,
                                        return_status=True)
    assert isinstance(results, xr.DataArray) and results.name == "ppmv"
    assert results.dims == ("time", "probe") and results["probe"].values.tolist() == ["x", "y"]
    assert (type(results.data).__module__.startswith("dask")) == chunked
    expected = np.array([[126.5, ruruzir.convert(-20.0, "frost-c", "ppmv", pressure=7000.0)],
                         [6060.1, np.nan]])
    np.testing.assert_array_equal(results.values, expected)
    assert statuses.values.tolist() == [[0, 0], [0, ruruzir.OUT_OF_RANGE]]


def test_dataarrays_whose_labels_differ_are_refused():
    other = PRESSURES.assign_coords(probe=["y", "z"])
    with pytest.raises(ValueError, match="pressure is a DataArray whose 'probe'.*'x'.*'z'"):
        ruruzir.convert(FROST, "frost-c", "ppmv", pressure=other)
    with pytest.raises(TypeError, match="pressure is an xarray DataArray"):
        ruruzir.convert(FROST.values, "frost-c", "ppmv", pressure=PRESSURES)


def test_wheel_is_tagged_for_any_python_3_on_one_platform(tmp_path):
    subprocess.run([sys.executable, "-m", "pip", "wheel", "--quiet", "--no-index",
                    "--no-build-isolation", "--no-deps", "--wheel-dir", str(tmp_path),
                    PYTHON_SOURCE], check=True, env=dict(os.environ, RURUZIR_LIBRARY=_library.path))
    (wheel,) = os.listdir(tmp_path)
    assert wheel.startswith(f"ruruzir-{ruruzir.__version__}-py3-none-linux_")
    names = zipfile.ZipFile(tmp_path / wheel).namelist()
    assert "ruruzir/libruruzir.so" in names and "ruruzir/py.typed" in names


@pytest.mark.parametrize("library, found", [
    (None, "installed"), ("given", "given"), ("/nowhere/libruruzir.so", "ImportError")])
def test_library_is_found_beside_the_package_or_where_told(library, found):
    env = {key: value for key, value in os.environ.items() if key != "RURUZIR_LIBRARY"}
    if library == "given":
        library = os.path.realpath(_library.path)
    if library:
        env["RURUZIR_LIBRARY"] = library
    run = subprocess.run([sys.executable, "-c", "import ruruzir; print(ruruzir._library.path)"],
                         env=env, capture_output=True, text=True)
    if found == "ImportError":
        assert run.returncode != 0 and "cannot load the library /nowhere" in run.stderr
    elif found == "installed":
        assert run.stdout.strip() == os.path.join(os.path.dirname(ruruzir.__file__),
                                                  _library.LIBRARY_NAME)
    else:
        assert run.stdout.strip() == library


LOAD_WITH = """
import ctypes, sys
real = ctypes.CDLL
class Library:
    def __init__(self, path):
        self.real = real(path)
    def __getattr__(self, name):
        if name == sys.argv[1]:
            return lambda *arguments: int(sys.argv[2])
        return getattr(self.real, name)
ctypes.CDLL = Library
import ruruzir
"""


@pytest.mark.parametrize("function, answer, message", [
    ("ruruzir_version_number", 3005000, "version number 3005000, this package is laid out for"),
    ("ruruzir_request_size", 8, "struct ruruzir_request of 8 bytes"),
    ("ruruzir_columns_size", 40, "struct ruruzir_columns of 40 bytes"),
    ("ruruzir_side_size", 48, "struct ruruzir_side of 48 bytes"),
    ("ruruzir_status_count", 12, "has 12 statuses"),
    ("ruruzir_status_count", 11, None),
])
def test_a_library_laid_out_otherwise_is_refused_at_import(function, answer, message):
    run = subprocess.run([sys.executable, "-c", LOAD_WITH, function, str(answer)],
                         capture_output=True, text=True)
    if message is None:
        assert run.returncode == 0, run.stderr
    else:
        assert run.returncode != 0 and "ImportError: ruruzir: the library" in run.stderr
        assert message in run.stderr
