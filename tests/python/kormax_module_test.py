"""The Python module against the calculator: the same job computed by kormax-calc in a job folder
and by the module must give the numbers of the result files to the last written digit; the first
```python block of README.md runs as written.

Run by ctest with PYTHONPATH at the built module, KORMAX_CALC the calculator, KORMAX_SOURCE_DIR."""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

import numpy as np

import kormax

CALC = os.environ["KORMAX_CALC"]
SOURCE = pathlib.Path(os.environ["KORMAX_SOURCE_DIR"])
EXAMPLE = SOURCE / "data" / "shipped" / "Elements_Quist_Marvane.txt"

# Values that survive the job files' six significant digits unchanged.
ELEMENTS = np.array([[0.01, -0.02], [-0.01, 0.0], [0.05, 0.03], [0.0, 0.04], [-0.03, -0.035]])
ARRAY = dict(aperture=0.17, curvature_radius=0.13, element_radius=0.0035, frequency=1e6, hole_radius=0.02)
FOCUS = (0.002, -0.001, 0.12)
GRIDS = {  # grid_calc.txt of field jobs / grid_scan.txt of scans
    "xy": kormax.Grid("xy", 0.12, (21, 17), (-0.004, -0.003), (0.0004, 0.0004)),
    "yz": kormax.Grid("yz", 0.0, (17, 25), (-0.003, 0.1), (0.0004, 0.002)),
}
REGIONS = {  # focus-shift regions of scans
    "xy": kormax.Grid("xy", 0.12, (3, 3), (-0.002, -0.002), (0.002, 0.002)),
    "yz": kormax.Grid("yz", 0.0, (3, 3), (-0.002, 0.11), (0.002, 0.01)),
}


def grid_text(g):
    return "\n".join([g.plane, "0" if g.plane == "yz" else "%g" % g.fixed] +
                     ["%g" % v for v in (*g.count, *g.start, *g.step)])


def write_job(folder, grid, region=None):
    lines = {
        "array.txt": ["Название решетки:    Quist-Marvane",
                      "Апертура решетки, м:     %g" % ARRAY["aperture"],
                      "Радиус кривизны решетки, м:     %g" % ARRAY["curvature_radius"],
                      "Радиус элементов решетки, м:     %g" % ARRAY["element_radius"],
                      "Рабочая частота решетки, Гц:    %g" % ARRAY["frequency"],
                      "Радиус отверстия, м:     %g" % ARRAY["hole_radius"]],
        "medium.txt": ["Название среды:\t\t\tWater", "Плотность, кг/м3:\t\t1000",
                       "Скорость звука в среде, м/с:\t1500", "Теплоемкость, Дж/кг/К:\t\t4200",
                       "Поглощение в среде, дБ/см/МГц:\t0"],
        "array_elements.txt": ["%g %g" % (x, y) for x, y in ELEMENTS] + [""],
        "focus.txt": ["%g" % v for v in FOCUS],
        "grid_calc.txt": [grid_text(region or grid)],
    }
    if region:
        lines["grid_scan.txt"] = [grid_text(grid)]
    for name, text in lines.items():
        (folder / name).write_bytes("\n".join(text).encode("cp1251"))


def run_calc(folder, kind):
    # Same BLAS kernels in both processes: the calculator keeps the ones OpenBLAS picks on loading.
    env = dict(os.environ, KORMAX_BLAS_RESTARTED="1")
    return subprocess.run([CALC, kind, "--no-gui"], cwd=folder, env=env, capture_output=True, text=True)


def model_inputs():
    return kormax.Array(**ARRAY, elements=ELEMENTS), kormax.Medium(density=1000, sound_speed=1500)


def check_field(tmp):
    for plane, grid in GRIDS.items():
        folder = tmp / ("field_" + plane)
        folder.mkdir()
        write_job(folder, grid)
        assert run_calc(folder, "field").returncode == 0, (folder / "log.txt").read_text()
        numbers = np.array((folder / ("AbsField_%s.txt" % plane.upper())).read_text().split(), dtype=float)
        records = numbers[7:].reshape(-1, 3)
        r = kormax.field(*model_inputs(), FOCUS, grid)
        a1, a2 = np.meshgrid(r.axis1, r.axis2, indexing="ij")
        expected = np.column_stack([a1.ravel(), a2.ravel(), r.values.ravel()])
        assert np.array_equal(records, expected), plane
        assert numbers[6] == r.maximum
        assert float((folder / "focus_pressure.txt").read_text()) == r.focus_pressure


def check_scans(tmp):
    for plane in GRIDS:
        for kind in ("main_max", "side_max"):
            folder = tmp / (kind + "_" + plane)
            folder.mkdir()
            write_job(folder, GRIDS[plane], REGIONS[plane])
            assert run_calc(folder, kind).returncode == 0, (folder / "log.txt").read_text()
            binary = np.fromfile(folder / ("AbsField_%s.bin" % plane.upper()), dtype="<f8")
            s = kormax.scan(*model_inputs(), REGIONS[plane], GRIDS[plane], kind=kind)
            assert np.array_equal(binary[2:].reshape(-1, 3)[:, 2], s.values.ravel()), (plane, kind)
            best = np.array((folder / ("AbsField_%s.txt" % plane.upper())).read_text().split(), dtype=float)
            assert np.array_equal(best[7:].reshape(-1, 3)[:, 2], s.best_field.ravel()), (plane, kind)


def check_errors(tmp):
    # An element off the cap: the module raises the calculator's own message.
    global ELEMENTS
    saved, ELEMENTS = ELEMENTS, np.vstack([ELEMENTS, [0.2, 0.0]])
    folder = tmp / "refused"
    folder.mkdir()
    write_job(folder, GRIDS["xy"])
    assert run_calc(folder, "field").returncode == 1
    try:
        kormax.field(*model_inputs(), FOCUS, GRIDS["xy"])
        raise AssertionError("kormax.field accepted an element off the cap")
    except kormax.Error as e:
        assert str(e) in (folder / "log.txt").read_text()
    finally:
        ELEMENTS = saved
    (tmp / "odd.txt").write_text("1 2\n3\n")
    for bad in (tmp / "odd.txt", tmp / "missing.txt"):
        try:
            kormax.read_elements(str(bad))
            raise AssertionError("read_elements accepted " + bad.name)
        except kormax.Error as e:
            assert bad.name in str(e)


def check_elements_round_trip(tmp):
    elements = kormax.read_elements(str(EXAMPLE))
    kormax.write_elements(str(tmp / "copy.txt"), elements)
    assert np.array_equal(kormax.read_elements(str(tmp / "copy.txt")), elements)
    assert elements[0, 1] == -float(EXAMPLE.read_text().split()[1]) / 100  # y flipped, cm to m


def check_session_round_trip(tmp):
    session = dict(array=kormax.Array(**ARRAY, elements=ELEMENTS), medium=kormax.Medium(1000, 1500), medium_preset=0,
                   source=dict(mode="pressure", pressure_Pa=1e5, intensity_W_m2=None), focus=FOCUS,
                   elements_file="/x/Elements.txt", plane="transverse",
                   transverse_plane=dict(z_m=0.12, points_x=11, points_y=11, step_x_m=1e-4, step_y_m=1e-4),
                   axial_plane={}, quality={"axial": {"lineEdit_6": "6.5"}})
    kormax.write_session(str(tmp / "a.kormax"), session)
    again = kormax.read_session(str(tmp / "a.kormax"))
    assert np.array_equal(again["array"].elements, ELEMENTS) and again["focus"] == FOCUS, again
    assert again["axial_plane"]["points_z"] is None and again["quality"] == session["quality"]
    kormax.write_session(str(tmp / "b.kormax"), again)
    assert (tmp / "a.kormax").read_bytes() == (tmp / "b.kormax").read_bytes()
    (tmp / "newer.kormax").write_bytes((tmp / "a.kormax").read_bytes().replace(b'"version": 1', b'"version": 9'))
    try:
        kormax.read_session(str(tmp / "newer.kormax"))
        raise AssertionError("a newer session was read")
    except kormax.Error as e:
        assert "версией" in str(e), e


def check_readme(tmp):
    block = re.search(r"```python\n(.*?)```", (SOURCE / "README.md").read_text(), re.S).group(1)
    shutil.copy(EXAMPLE, tmp)
    out = subprocess.run([sys.executable, "-c", block], cwd=tmp, capture_output=True, text=True)
    assert out.returncode == 0, out.stderr
    assert len(out.stdout.splitlines()) == 5, out.stdout


with tempfile.TemporaryDirectory() as d:
    for check in (check_field, check_scans, check_errors, check_elements_round_trip, check_session_round_trip,
                  check_readme):
        sub = pathlib.Path(d) / check.__name__
        sub.mkdir()
        check(sub)
        print(check.__name__, "passed")
