"""The package on Dask: CSV parts read as one dask.dataframe, converted per partition on a local
cluster of two worker processes, equal element for element to the conversion in one process."""
import os

import dask.dataframe as dd
import numpy as np
import pandas as pd
from distributed import Client, LocalCluster

import ruruzir


def test_partitions_on_two_worker_processes(tmp_path):
    random = np.random.default_rng(7)
    parts = []
    for part in range(3):
        frame = pd.DataFrame({"frost_c": np.round(random.uniform(-100, 60, 3000), 1),
                              "line_mbar": random.uniform(500, 20000, 3000)})
        frame.loc[::97, "frost_c"] = np.nan  # missing readings
        frame.to_csv(tmp_path / f"part-{part}.csv", index=False)
        parts.append(frame)
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                      dashboard_address=":0") as cluster, Client(cluster) as client:
        frame = dd.read_csv(str(tmp_path / "part-*.csv"))
        assert frame.npartitions == 3
        converted = frame.map_partitions(ruruzir.convert_column, "frost_c", "frost-c", "ppmv",
                                         pressure="line_mbar", meta=("ppmv", "f8")).compute()
        # Both workers are other processes, and each loaded the package's own library.
        found = client.run(lambda: (os.getpid(), ruruzir._library.path))
    assert len(found) == 2 and os.getpid() not in {pid for pid, _ in found.values()}
    assert {path for _, path in found.values()} == {ruruzir._library.path}
    single = ruruzir.convert_column(pd.concat(parts), "frost_c", "frost-c", "ppmv",
                                    pressure="line_mbar")
    np.testing.assert_array_equal(converted.to_numpy(), single.to_numpy())
    assert 0 < int(single.isna().sum()) < len(single) // 2
