#!/usr/bin/env python3
"""Converts a historian's export of frost points, too large for one machine, with Dask: the CSV
parts are read as one dask.dataframe and each partition is converted where it lies, by the
ruruzir package on the workers.

    python3 dask_convert.py                     # sample parts, a local cluster of 2 processes
    python3 dask_convert.py 'export/part-*.csv' # your parts (columns frost_c and line_mbar)
    python3 dask_convert.py --scheduler tcp://scheduler:8786 's3://bucket/export/*.csv'

On a real cluster every worker needs the ruruzir package installed (pip install ./python in
the workers' environment) and must reach the CSV paths (a shared file system or an object
store); nothing else changes. The result is checked against the same conversion in this
process for files small enough to read here (--check).
"""
import argparse
import glob
import os
import tempfile

import dask.dataframe as dd
import numpy as np
import pandas as pd
from distributed import Client, LocalCluster

import ruruzir


def write_sample_parts(folder, parts=4, rows=50_000):
    """Hygrometer readings every minute: frost points in tenths, line pressure in mbar."""
    random = np.random.default_rng(2026)
    paths = []
    for part in range(parts):
        frame = pd.DataFrame({
            "time": pd.date_range("2026-01-01", periods=rows, freq="min") + pd.Timedelta(
                minutes=part * rows),
            "frost_c": np.round(random.normal(-45.0, 8.0, rows), 1),
            "line_mbar": np.round(random.uniform(6800.0, 7200.0, rows), 1),
        })
        paths.append(os.path.join(folder, f"part-{part:03d}.csv"))
        frame.to_csv(paths[-1], index=False)
    return os.path.join(folder, "part-*.csv")


def ppmv_of(frame):
    """The moisture of every row as ppmV, per partition: the frost points were measured at the
    line pressure."""
    return frame.map_partitions(ruruzir.convert_column, "frost_c", "frost-c", "ppmv",
                                pressure="line_mbar", meta=("ppmv", "f8"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("parts", nargs="?", help="CSV parts (a glob); default: sample parts")
    parser.add_argument("--scheduler", help="address of a running Dask scheduler")
    parser.add_argument("--check", action="store_true",
                        help="compare with the conversion in this process")
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        pattern = arguments.parts or write_sample_parts(folder)
        if arguments.scheduler:
            cluster, client = None, Client(arguments.scheduler)
        else:
            cluster = LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                   dashboard_address=":0")
            client = Client(cluster)
        try:
            frame = dd.read_csv(pattern)
            ppmv = ppmv_of(frame).compute()
        finally:
            client.close()
            if cluster is not None:
                cluster.close(timeout=30)
        print(f"{len(ppmv)} readings in {frame.npartitions} partitions: "
              f"median {ppmv.median():.1f} ppmV, {int(ppmv.isna().sum())} without an answer")
        if arguments.check or not arguments.parts:
            whole = pd.concat([pd.read_csv(path) for path in sorted(glob.glob(pattern))])
            single = ruruzir.convert_column(whole, "frost_c", "frost-c", "ppmv",
                                            pressure="line_mbar")
            np.testing.assert_array_equal(ppmv.to_numpy(), single.to_numpy())
            print("equal to the conversion in one process, element for element")
    return 0


if __name__ == "__main__":
    raise SystemExit(main())
