#!/usr/bin/env python3
"""The ruruzir package in three steps: the calculator's worked example, a numpy array, and a
pandas column read from a CSV file with the pressure of each row from another column.

    pip install --no-build-isolation ./python   # once, after building the library
    python3 examples/python/package_tour.py
"""
import os

import numpy as np
import pandas as pd

import ruruzir

HERE = os.path.dirname(os.path.abspath(__file__))

# 1. A -40 degC frost point at 1013.25 mbar is a -21.6 degC frost point at 7000 mbar.
print("worked example:", float(ruruzir.convert(-40, "frost-c", "frost-c", target_pressure=7000)))

# 2. An array of frost points at 1 atm as ppmV; NaN where there is no answer, and why.
frost = np.array([-60.0, -40.0, -20.0, 0.0, 75.0])
ppmv, statuses, reasons = ruruzir.convert(frost, "frost-c", "ppmv", return_status=True,
                                          reasons=True)
for value, converted, status, reason in zip(frost, ppmv, statuses, reasons):
    print(f"{value:6.1f} degC -> {converted:9.2f} ppmV  ({ruruzir.status_text(status)}"
          f"{': ' + reason if reason else ''})")

# 3. A logger's CSV: frost points measured at the line pressure (psig), as the dew point at
#    atmospheric pressure and as %RH at each row's ambient temperature.
readings = pd.read_csv(os.path.join(HERE, "readings.csv"), parse_dates=["time"])
readings["frost_at_1_atm"] = ruruzir.convert_column(
    readings, "frost_c", "frost-c", "frost-c", pressure="line_pressure_psig",
    pressure_unit="psig", target_pressure=0)
readings["rh_percent"] = ruruzir.convert_column(
    readings, "frost_c", "frost-c", "rh", pressure="line_pressure_psig", pressure_unit="psig",
    target_pressure=0, target=ruruzir.Side(ambient_c="ambient_c"))
print(readings.to_string(index=False))
