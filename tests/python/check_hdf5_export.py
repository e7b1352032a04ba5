"""Reads an HDF5 export with h5py and compares it with what the exporting test expects (JSON):
values, axes in m, element positions and every parameter attribute, numbers exactly.
Usage: check_hdf5_export.py FILE.h5 EXPECTED.json"""
import json
import sys

import h5py
import numpy as np

path, expected_path = sys.argv[1:3]
expected = json.load(open(expected_path, encoding="utf-8"))
with h5py.File(path, "r") as f:
    values = f["values"]
    assert values.attrs["axes"].decode() == "x y", values.attrs["axes"]
    assert np.array_equal(values[()], np.array(expected["values"])), "values"
    assert np.array_equal(f["x"][()], expected["x"]) and f["x"].attrs["units"] == b"m", "x"
    assert np.array_equal(f["y"][()], expected["y"]) and f["y"].attrs["units"] == b"m", "y"
    assert np.array_equal(f["elements"][()], expected["elements"]), "elements"
    assert f.attrs["software"].decode().startswith("Kormax "), f.attrs["software"]
    for name, want in expected["attributes"].items():
        got = f.attrs[name]
        if isinstance(want, str):
            assert got.decode("utf-8") == want, (name, got, want)
        else:
            assert np.array_equal(got, want), (name, got, want)
print("hdf5 export matches:", len(expected["attributes"]), "attributes")
