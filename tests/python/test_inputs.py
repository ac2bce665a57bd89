"""What the package takes as numbers and how it pairs them: refusals of what is not a number or
would give a wrong one, Series paired by label, column labels, pint quantities, nullable pandas
columns and the number of threads."""
import datetime
import math
import re
import subprocess
import sys

import numpy as np
import pandas as pd
import pint
import pytest

import ruruzir

UREG = pint.UnitRegistry()
Q = UREG.Quantity
FRAME = pd.DataFrame({"f": [-40.0, -40.0], 0: [7000.0, 1013.25], "line_psig": [0.0, 87.0]},
                     index=["a", "b"])

# (what is given to ruruzir.convert(-40.0, "frost-c", "ppmv", ...), error, message)
BAD_INPUTS = [
    ({"values": True}, TypeError, "values must be numbers, not bool"),
    ({"values": np.array([True, False])}, TypeError, "not booleans"),
    ({"values": "-40"}, TypeError, "values must be numbers, not str"),
    ({"values": ["-40", -40.0]}, TypeError, "not strings"),
    ({"values": [-40.0, "x"]}, TypeError, "not strings"),
    ({"values": np.array([-40.0, "x"], dtype=object)}, TypeError, "not str 'x'"),
    ({"values": datetime.datetime(2026, 3, 1)}, TypeError, "not datetime"),
    ({"values": pd.Timestamp("2026-03-01")}, TypeError, "not Timestamp"),
    ({"values": pd.Series(pd.date_range("2026", periods=2))}, TypeError, "column of datetime"),
    ({"values": pd.Series([True, False])}, TypeError, "column of bool"),
    ({"values": pd.Series(["-40", "-30"])}, TypeError, "not str '-40'"),
    ({"values": np.array([1 + 2j])}, TypeError, "complex"),
    ({"values": FRAME}, TypeError, "is a DataFrame"),
    ({"pressure": True}, TypeError, "pressure must be numbers, not bool"),
    ({"pressure": "7000"}, TypeError, "pressure must be numbers, not str"),
    ({"target": {"ambient_c": np.datetime64("2026-03-01")}}, TypeError, "target ambient_c"),
    ({"source": {"molecular_weight": "18"}}, TypeError, "source molecular_weight"),
    ({"source": {"molecular_weight": [18.0, 29.0]}}, ValueError, "one number for all"),
    ({"source": {"mass": 1}}, ValueError, "unexpected keyword"),
    ({"source": 7}, TypeError, "ruruzir.Side or a dict"),
    ({"formulation": True}, TypeError, "formulation must be a name or an integer code"),
    ({"formulation": 1.0}, TypeError, "formulation must be a name or an integer code"),
    ({"formulation": "wexler"}, ValueError, "formulation='wexler'"),
    ({"target_pressure_unit": "PSI"}, ValueError, "target_pressure_unit='PSI'; the names: .*psia, psig"),
    ({"threads": True}, TypeError, "threads must be an integer, not True"),
    ({"threads": 2.0}, TypeError, "threads must be an integer"),
    ({"threads": 0}, ValueError, "threads must be 1 or more, not 0"),
    ({"threads": np.int64(-1)}, ValueError, "not -1"),
    # A column against values: n x n results.
    ({"values": np.full(3, -40.0), "pressure": np.full((3, 1), 7000.0)}, ValueError,
     r"pressure \(3, 1\) would give \(3, 3\), more results"),
    ({"values": np.full(3, -40.0), "pressure": np.full(2, 7000.0)}, ValueError,
     r"do not broadcast together: values \(3,\), pressure \(2,\)"),
    # pint: converted or refused, never stripped.
    ({"values": Q(-40.0, "bar")}, ValueError, "cannot be converted to degC"),
    ({"values": Q(5.0, "dimensionless"), "to_unit": "frost-c", "from_unit": "ppmv"},
     ValueError, "from_unit='ppmv' is no temperature"),
    ({"pressure": Q(7.0, "kelvin")}, ValueError, "cannot be converted to a pressure"),
    ({"pressure": Q(7.0, "bar"), "pressure_unit": "psig"}, ValueError,
     "pressure_unit is a gauge unit"),
    ({"target": {"ambient_c": Q(7.0, "bar")}}, ValueError, "target ambient_c is a pint"),
    ({"source": {"molecular_weight": Q(18.0, "g/mol")}}, TypeError, "pint quantity"),
]


@pytest.mark.parametrize("given, error, message", BAD_INPUTS,
                         ids=[str(index) for index in range(len(BAD_INPUTS))])
def test_bad_inputs_are_refused_with_what_they_are(given, error, message):
    arguments = {"values": -40.0, "from_unit": "frost-c", "to_unit": "ppmv", **given}
    with pytest.raises(error, match=message):
        ruruzir.convert(**arguments)


def test_column_labels_name_columns_and_refuse_names_of_none():
    # An integer label is the column it names, not the number 0 or 1.
    by_label = ruruzir.convert_column(FRAME, "f", "frost-c", "ppmv", pressure=0)
    assert by_label.tolist() == [18.31, 126.5]
    tuples = pd.DataFrame({("probe", "frost"): [-40.0], ("probe", "mbar"): [7000.0]})
    assert ruruzir.convert_column(tuples, ("probe", "frost"), "frost-c", "ppmv",
                                  pressure=("probe", "mbar")).tolist() == [18.31]
    # A number that is no label is a number.
    by_number = ruruzir.convert_column(FRAME, "f", "frost-c", "ppmv", pressure=7000.0)
    assert by_number.tolist() == [18.31, 18.31]
    for column, pressure, named in (("f", "line_mbar", "pressure='line_mbar'"),
                                    ("frost", 1013.25, "column='frost'"),
                                    (5, None, "column=5")):
        with pytest.raises(KeyError, match=named + " names no column.*'f', 0, 'line_psig'"):
            ruruzir.convert_column(FRAME, column, "frost-c", "ppmv", pressure=pressure)
    with pytest.raises(KeyError, match="target ambient_c='room'"):
        ruruzir.convert_column(FRAME, "f", "frost-c", "rh", target={"ambient_c": "room"})


# Frost points of -40 degC at 1013.25 mbar (row "a") and at 7000 mbar (row "b"): 126.5 and
# 18.31 ppmV, whatever order the pressures come in.
FROST = pd.Series([-40.0, -40.0], index=["a", "b"], name="frost_c")
SERIES = [
    (pd.Series([1013.25, 7000.0], index=["a", "b"]), [126.5, 18.31]),
    (pd.Series([7000.0, 1013.25], index=["b", "a"]), [126.5, 18.31]),
    (np.array([7000.0, 1013.25]), [18.31, 126.5]),  # an array pairs by position
    (pd.Series([1013.25, 7000.0], index=["a", "c"]), "'b'.* missing from it, \\['c'\\]"),
    (pd.Series([1013.25, 7000.0, 2.0], index=["a", "b", "c"]), "none of the values'.*'c'"),
    (pd.Series([1013.25, 7000.0], index=["a", "a"]), "'a', 'b'"),
    (pd.Series([1013.25]), "\\[0\\] of its own"),
]


@pytest.mark.parametrize("pressure, expected", SERIES, ids=[str(i) for i in range(len(SERIES))])
def test_series_pair_by_label_or_are_refused(pressure, expected):
    if isinstance(expected, str):
        with pytest.raises(ValueError, match="pressure is a Series whose index.*" + expected):
            ruruzir.convert(FROST, "frost-c", "ppmv", pressure=pressure)
        with pytest.raises(ValueError, match="pressure is a Series"):
            ruruzir.convert_column(FROST.to_frame(), "frost_c", "frost-c", "ppmv",
                                   pressure=pressure)
        return
    series = ruruzir.convert(FROST, "frost-c", "ppmv", pressure=pressure)
    assert series.index.tolist() == ["a", "b"] and series.name == "frost_c as ppmv"
    assert series.tolist() == expected
    in_frame = ruruzir.convert_column(FROST.to_frame(), "frost_c", "frost-c", "ppmv",
                                      pressure=pressure)
    assert in_frame.tolist() == expected


def test_temperatures_pair_by_label_too():
    ambient = pd.Series([30.0, 20.0], index=["b", "a"])
    rh = ruruzir.convert(pd.Series([0.0, 0.0], index=["a", "b"]), "frost-c", "rh",
                         target={"ambient_c": ambient})
    assert rh["a"] == 26.13 and rh["b"] < rh["a"] and rh.name == "rh"


def test_pint_quantities_are_converted_to_the_unit_read():
    plain = ruruzir.convert(-40.0, "frost-c", "ppmv", pressure=7000.0)
    assert ruruzir.convert(-40.0, "frost-c", "ppmv", pressure=Q(7.0, "bar")) == plain
    assert ruruzir.convert(-40.0, "frost-c", "ppmv", pressure=Q(7.0, "bar"),
                           pressure_unit="psia") == plain
    assert ruruzir.convert(Q(-40.0, "degF"), "frost-c", "ppmv") == 126.5  # -40 F is -40 C
    assert ruruzir.convert(Q(233.15, "kelvin"), "frost-f", "frost-f") == -40.0
    warm = ruruzir.convert(0.0, "frost-c", "rh", target={"ambient_c": Q(68.0, "degF")})
    assert warm == ruruzir.convert(0.0, "frost-c", "rh", target={"ambient_c": 20.0})
    per_value = ruruzir.convert([-40.0, -40.0], "frost-c", "ppmv",
                                pressure=Q(np.array([1.01325, 7.0]), "bar"))
    assert per_value.tolist() == [126.5, 18.31]


def test_nullable_columns_read_na_as_missing():
    frost = pd.Series([-40.0, pd.NA, -20.0], dtype="Float64")
    for values in (frost, pd.Series([-40, None, -20], dtype="Int64"),
                   pd.array([-40, None, -20], dtype="Int64")):
        results, statuses = ruruzir.convert(values, "frost-c", "ppmv", return_status=True)
        results = np.asarray(results)
        assert results[0] == 126.5 and math.isnan(results[1]) and results[2] > results[0]
        assert np.asarray(statuses)[1] != ruruzir.CONVERTED
    pressures = pd.Series([pd.NA, 7000.0], dtype="Float64")
    assert np.isnan(ruruzir.convert([-40.0, -40.0], "frost-c", "ppmv", pressure=pressures)[0])


def test_threads_take_any_integer_and_keep_each_status_in_place():
    frost = np.tile([-40.0, 75.0, np.nan, -20.0, -60.0], 7)
    alone, alone_statuses = ruruzir.convert(frost, "frost-c", "ppmv", return_status=True)
    for threads in (np.int64(2), 3, np.uint8(4)):
        results, statuses = ruruzir.convert(frost, "frost-c", "ppmv", return_status=True,
                                            threads=threads)
        np.testing.assert_array_equal(results, alone)
        np.testing.assert_array_equal(statuses, alone_statuses)
    # Left to its default, a large call runs one thread per core, each status still in place.
    many = np.tile(frost, 2000)
    results, statuses = ruruzir.convert(many, "frost-c", "ppmv", return_status=True)
    np.testing.assert_array_equal(results, np.tile(alone, 2000))
    np.testing.assert_array_equal(statuses, np.tile(alone_statuses, 2000))


# What is not given: one standard atmosphere on each side, the target's pressure in the
# source's pressure unit. A -40 degC frost point at one atmosphere is -21.6 at 7000 mbar.
NOT_GIVEN = [
    ({}, -40.0),
    ({"target_pressure": 7000}, -21.6),
    ({"pressure_unit": "kpa", "target_pressure": 700}, -21.6),
    ({"pressure_unit": "kpa", "pressure": 101.325, "target_pressure": 700}, -21.6),
    ({"pressure_unit": "atm", "target_pressure": 7000, "target_pressure_unit": "mbar"}, -21.6),
    ({"pressure_unit": "psig", "target_pressure": 7000, "target_pressure_unit": 0}, -21.6),
    ({"formulation": None, "enhancement": None, "precision": None, "source": {}}, -40.0),
]


@pytest.mark.parametrize("given, expected", NOT_GIVEN)
def test_what_is_not_given(given, expected):
    assert ruruzir.convert(-40.0, "frost-c", "frost-c", **given) == expected


# Each element's cause and the calculator's reason: (values, arguments, statuses, reasons).
CAUSES = [
    ([-40.0, np.nan, pd.NA], {}, ["CONVERTED", "MISSING", "MISSING"],
     ["", "values=nan is no number", "values=nan is no number"]),
    ([-140.1, 50.01], {}, ["OUT_OF_RANGE"] * 2, ["stay between -140\u00b0C and \\+50\u00b0C"] * 2),
    ([10.0], {"pressure": 5.0}, ["NO_ANSWER"], ["out of range"]),
    ([-40.0] * 4, {"pressure": [1013.25, 0.001, np.nan, 1e40]},
     ["CONVERTED", "VACUUM", "MISSING", "PRESSURE_TOO_HIGH"],
     ["", "pressure=0.001 mbar is at or below vacuum.*holds as 0 mbar",
      "pressure=nan mbar is no number", "pressure=1e\\+40 mbar is beyond the largest"]),
    ([-40.0] * 2, {"target_pressure": [-15.0, 7000.0], "target_pressure_unit": "psig"},
     ["VACUUM", "CONVERTED"], ["target_pressure=-15 psig is at or below vacuum: no gas", ""]),
    ([0.0] * 2, {"to_unit": "rh", "target": {"ambient_c": [20.0, -100.0]}},
     ["CONVERTED", "SIDE_VALUE"], ["", "target ambient_c=-100: stay between -80 and 200"]),
    ([-40.0] * 2, {"pressure": pd.NA}, ["MISSING"] * 2, ["pressure=nan mbar is no number"] * 2),
    ([None] * 300 + [-40.0], {}, ["MISSING"] * 300 + ["CONVERTED"],
     ["values=nan is no number"] * 300 + [""]),
]


@pytest.mark.parametrize("values, given, statuses, reasons", CAUSES,
                         ids=[str(index) for index in range(len(CAUSES))])
def test_each_element_has_its_cause_and_reason(values, given, statuses, reasons):
    arguments = {"to_unit": "ppmv", **given}
    results, found, texts = ruruzir.convert(np.array(values, dtype=object), "frost-c",
                                            return_status=True, reasons=True, **arguments)
    assert found.tolist() == [getattr(ruruzir, status) for status in statuses]
    assert np.isnan(results).tolist() == [status != "CONVERTED" for status in statuses]
    for text, expected in zip(texts, reasons):
        assert (text == "") if not expected else re.match(expected, text), (text, expected)
    words = ruruzir.status_text(found)
    assert words.tolist() == [ruruzir.status_text(int(status)) for status in found]


def test_status_texts_of_an_array():
    words = ruruzir.status_text(np.array([[0, 7], [-1, 99]]))
    assert words.tolist() == [["converted", ruruzir.status_text(7)], ["unknown status"] * 2]


SHARED_REFUSALS = [
    ({"target_pressure": 0.001}, "target_pressure=0.001 mbar is at or below vacuum: no gas has "
     "that pressure; .*this one holds as 0 mbar"),
    ({"target_pressure": 0.0}, "target_pressure=0 mbar is at or below vacuum: no gas has that "
     "pressure$"),
    ({"pressure": np.inf}, "pressure=inf mbar is beyond the largest"),
    ({"to_unit": 11}, "to_unit=11 names no moisture unit"),
    ({"to_unit": "ppmw-gas", "target": {"molecular_weight": 0}},
     "target molecular_weight=0 must be greater than 0"),
    ({"formulation": 9}, "formulation, enhancement or precision: names no"),
    ({"to_unit": "g-m3", "target": {"medium": 7}}, "target medium=7 names no density medium"),
    ({"to_unit": "rh", "target": {"ambient_c": 300}}, "target ambient_c=300: stay between -80"),
]


@pytest.mark.parametrize("given, message", SHARED_REFUSALS)
def test_what_all_values_share_is_refused_saying_what_happened(given, message):
    with pytest.raises(ValueError, match=message):
        ruruzir.convert([-40.0, -30.0], "frost-c", **{"to_unit": "ppmv", **given})


def test_the_package_needs_neither_pandas_nor_pint_nor_xarray():
    script = ("import sys\nfor name in ('pandas', 'pint', 'xarray', 'dask'):\n"
              "    sys.modules[name] = None\n"
              "import ruruzir\n"
              "print(ruruzir.convert([-40.0], 'frost-c', 'ppmv', pressure=7000).tolist())")
    run = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True)
    assert run.returncode == 0 and run.stdout.strip() == "[18.31]", run.stderr
