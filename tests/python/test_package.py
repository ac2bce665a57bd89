"""The ruruzir package as installed: the library's reference table, arrays and their shapes,
names and aliases, the reasons of refusals, the pandas helper and the unit listing."""
import csv
import math
import os

import numpy as np
import pandas as pd
import pytest

import ruruzir

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "api_reference.csv")


def reference_rows():
    with open(TABLE, encoding="utf-8") as table:
        lines = [line for line in table if line.strip() and not line.startswith("#")]
    return [row for row in csv.reader(lines, delimiter=";") if not row[8]]  # no text area here


def unit(field):
    return int(field) if field.isdigit() else field


# The calls of earlier versions, which the table describes, fold the causes the package reports
# into the statuses they gave (api/ruruzir.h).
EARLIER = {ruruzir.NO_ANSWER: ruruzir.OUT_OF_RANGE, ruruzir.MISSING: ruruzir.BAD_NUMBER,
           ruruzir.VACUUM: ruruzir.BAD_NUMBER, ruruzir.PRESSURE_TOO_HIGH: ruruzir.BAD_NUMBER,
           ruruzir.SIDE_VALUE: ruruzir.BAD_NUMBER}


@pytest.mark.parametrize("row", reference_rows(), ids=lambda row: " ".join(row[:5]))
def test_reference_table(row):
    value, source, pressure, pressure_unit, target, target_pressure, target_unit = row[:7]
    molecular_weight, _, status, text, reason = row[7:]
    try:
        results, statuses, reasons = ruruzir.convert(
            float(value), unit(source), unit(target), pressure=float(pressure),
            pressure_unit=unit(pressure_unit), target_pressure=float(target_pressure),
            target_pressure_unit=unit(target_unit),
            target=ruruzir.Side(molecular_weight=float(molecular_weight or 29)),
            return_status=True, reasons=True)
    except ValueError as error:
        # Refusals of what all values share name the argument the library's field names.
        assert int(status) in (ruruzir.BAD_CODE, ruruzir.BAD_NUMBER)
        assert str(error).split()[0].rstrip(":").split("=")[0] in (
            "pressure", "target_pressure", "from_unit", "to_unit", "target", "unknown")
        return
    assert EARLIER.get(int(statuses), int(statuses)) == int(status)
    if int(status) == ruruzir.CONVERTED and text:
        assert float(results) == float(text) and reasons == ""
    elif int(status) == ruruzir.OUT_OF_RANGE:
        assert reasons == text  # the calculator's own message
    assert math.isnan(results) == (int(status) != ruruzir.CONVERTED)


def test_arrays_keep_their_shape_and_broadcast_per_value_pressures():
    frost = np.array([[-40.0, -20.0], [0.0, 60.0]])
    results, statuses = ruruzir.convert(frost, "frost-c", "frost-c", target_pressure=7000,
                                        return_status=True)
    assert results.shape == (2, 2) and statuses.shape == (2, 2)
    assert results[0, 0] == -21.6 and math.isnan(results[1, 1])
    assert statuses.tolist() == [[0, 0], [0, ruruzir.OUT_OF_RANGE]]
    # One pressure per value, or one for all: the same numbers as value by value.
    pressures = [1013.25, 2000.0, 7000.0]
    together = ruruzir.convert([-40.0] * 3, "frost-c", "ppmv", pressure=pressures)
    alone = [float(ruruzir.convert(-40.0, "frost-c", "ppmv", pressure=p)) for p in pressures]
    assert together.tolist() == alone
    in_threads = ruruzir.convert([-40.0] * 3, "frost-c", "ppmv", pressure=pressures, threads=2)
    assert in_threads.tolist() == alone
    # Lists, pandas Series and the per-value ambient temperature of %RH.
    rh = ruruzir.convert(pd.Series([0.0, 0.0]), "frost-c", "rh", target={"ambient_c": [20, 30]})
    assert rh[0] == 26.13 and rh[1] < rh[0]


def test_computed_precision_and_model_names():
    shown = ruruzir.convert(0.0, "frost-c", "ppmv")
    computed = ruruzir.convert(0.0, "frost-c", "ppmv", precision="computed")
    assert shown == 6060.1 and computed != shown and abs(computed - shown) <= 0.05
    # Exact: the formulation's own root, not the solver's tenths.
    same = {"precision": "computed"}, {"precision": "exact"}
    computed, exact = (ruruzir.convert(-65.71754, "frost-c", "frost-c", **p) for p in same)
    assert computed == -65.7 and abs(exact + 65.71754) <= 1e-9
    at_7000 = ruruzir.convert(-40.0, "frost-c", "frost-c", target_pressure=7000.0,
                              precision="exact")
    assert at_7000 != -21.6 and abs(at_7000 + 21.6) < 0.05
    plain = ruruzir.convert(-40.0, "frost-c", "ppmv", pressure=20000.0)
    for model in ({"formulation": "magnus"}, {"enhancement": "bogel"},
                  {"enhancement": "greenspan"}, {"formulation": "hyland-wexler"}):
        changed = ruruzir.convert(-40.0, "frost-c", "ppmv", pressure=20000.0, **model)
        assert changed != plain, model


def test_pandas_column_with_pressures_from_another_column():
    frame = pd.DataFrame({"frost": [-40.0, -40.0, 70.0], "bar": [1.01325, 7.0, 1.0]},
                         index=[10, 11, 12])
    frame["mbar"] = frame["bar"] * 1000
    series = ruruzir.convert_column(frame, "frost", "frost-c", "frost-c", pressure=1013.25,
                                    target_pressure="mbar")
    assert series.index.tolist() == [10, 11, 12] and series.name == "frost as frost-c"
    assert series[10] == -40.0 and series[11] == -21.6 and math.isnan(series[12])


# Names, aliases and ranges as the calculator's messages and the converter state them.
UNITS = [
    ("moisture", "frost-c", (), -140.0, 50.0),
    ("moisture", "ppmv", ("ppm",), 0.0, 138670.0),
    ("moisture", "g-m3", ("g/m3",), 0.0, 93.0),
    ("moisture", "rh", ("%rh",), None, None),
    ("pressure", "barg", (), None, None),
    ("pressure", "pa", (), None, None),
    ("formulation", "goff-gratch", (), None, None),
    ("medium", "natural-gas", (), None, None),
]


@pytest.mark.parametrize("kind, name, aliases, low, high", UNITS)
def test_units_list_names_aliases_and_ranges(kind, name, aliases, low, high):
    listed = ruruzir.units(kind)
    unit = listed[name]
    assert set(aliases) <= set(unit.aliases) and unit.label and unit.description
    if low is not None:
        assert (unit.low, unit.high) == (low, high)
    elif kind != "moisture":
        assert unit.low is None
    # Each name and alias converts as the unit itself.
    for alias in (name,) + unit.aliases:
        if kind == "moisture":
            assert ruruzir.convert(unit.low if unit.low is not None and math.isfinite(unit.low)
                                   else 1.0, alias, "ppmv").dtype == np.float64
    assert list(listed).index(name) == unit.code


def test_unit_captions_and_kinds():
    moisture = ruruzir.units()
    assert list(moisture)[:2] == ["frost-c", "dew-c"] and len(moisture) == 11
    assert moisture["frost-c"].caption.startswith("\u00b0C")
    assert "\u00b5g/g" in moisture["ppmw-liquid"].caption
    assert list(ruruzir.units("pressure"))[:5] == ["mbar", "psia", "psig", "atm", "kpa"]
    with pytest.raises(ValueError, match="kind must be one of"):
        ruruzir.units("colour")
