// The Python module `kormax`: the calculator's engine without job folders. Every function forwards
// to the library code kormax-calc runs (field/FieldPlane.h, scan/ScanJob.h), to the readings of the
// result windows (lobe_metrics.h) and to the application's file readers and writers. SI units,
// NumPy arrays in and out; a library error becomes kormax.Error with the library's message.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <string>
#include <vector>

#include "element_positions.h"
#include "field/ElementFieldModel.h"
#include "field/FieldPlane.h"
#include "lobe_metrics.h"
#include "params/JobError.h"
#include "params/JobInput.h"
#include "scan/ScanJob.h"
#include "scan/ScanJobFiles.h"
#include "session.h"

namespace py = pybind11;
using namespace kcalc;

namespace {

using Array2 = py::array_t<double, py::array::c_style | py::array::forcecast>;

Array2 matrix(const std::vector<double> &values, long rows, long columns)
{
    Array2 out({rows, columns});
    std::copy(values.begin(), values.end(), out.mutable_data());
    return out;
}

py::array_t<double> vector(const std::vector<double> &values)
{
    py::array_t<double> out(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), out.mutable_data());
    return out;
}

std::vector<ElementPosition> elementsFrom(const Array2 &a)
{
    if (a.ndim() != 2 || a.shape(1) != 2)
        throw py::value_error("elements: expected an array of shape (N, 2), one row x, y per element (m)");
    std::vector<ElementPosition> out(static_cast<std::size_t>(a.shape(0)));
    const auto v = a.unchecked<2>();
    for (py::ssize_t n = 0; n < a.shape(0); ++n)
        out[static_cast<std::size_t>(n)] = {v(n, 0), v(n, 1)};
    return out;
}

Array2 elementsTo(const std::vector<ElementPosition> &elements)
{
    Array2 out({static_cast<py::ssize_t>(elements.size()), py::ssize_t(2)});
    auto v = out.mutable_unchecked<2>();
    for (std::size_t n = 0; n < elements.size(); ++n) {
        v(static_cast<py::ssize_t>(n), 0) = elements[n].x;
        v(static_cast<py::ssize_t>(n), 1) = elements[n].y;
    }
    return out;
}

Point3 pointFrom(const std::vector<double> &p, const char *what)
{
    if (p.size() != 3)
        throw py::value_error(std::string(what) + ": expected three coordinates (x, y, z) in m");
    return {p[0], p[1], p[2]};
}

py::tuple pointTo(const Point3 &p)
{
    return py::make_tuple(p.x, p.y, p.z);
}

std::vector<double> axis(const PlaneGrid &g, bool first)
{
    std::vector<double> out(static_cast<std::size_t>(first ? g.count1 : g.count2));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = first ? g.coord1(static_cast<long>(i)) : g.coord2(static_cast<long>(i));
    return out;
}

struct FieldResult {
    PlaneGrid grid;
    FieldPlaneResult result;
};

struct ScanResult {
    scan::ScanJobSetup setup;
    scan::ScanJobResult result;
};

PlaneGrid makeGrid(const std::string &plane, double fixed, std::pair<long, long> count, std::pair<double, double> start,
                   std::pair<double, double> step)
{
    PlaneKind kind;
    if (!parsePlaneKind(plane, kind))
        throw py::value_error("plane: \"xy\" (transverse) or \"yz\" (axial), not \"" + plane + "\"");
    return PlaneGrid{kind, fixed, count.first, count.second, start.first, start.second, step.first, step.second};
}

FieldResult field(const ArrayGeometry &array, const Medium &medium, const std::vector<double> &focus,
                  const PlaneGrid &grid)
{
    JobInput input{array, medium, pointFrom(focus, "focus"), grid};
    checkJobInput(input);
    FieldResult out{grid, {}};
    py::gil_scoped_release release;
    out.result = computeFieldPlane(input);
    return out;
}

ScanResult scanJob(const ArrayGeometry &array, const Medium &medium, const PlaneGrid &focusRegion,
                   const PlaneGrid &fieldRegion, const std::string &kind, bool doublePrecision)
{
    scan::ScanJobInput input{array, medium, focusRegion, fieldRegion};
    scan::ScanKind scanKind;
    if (kind == "main_max")
        scanKind = scan::ScanKind::MainMaxima;
    else if (kind == "side_max")
        scanKind = scan::ScanKind::SideMaxima;
    else
        throw py::value_error("kind: \"main_max\" or \"side_max\", not \"" + kind + "\"");
    scan::checkScanJobInput(input);
    ScanResult out{scan::scanJobSetup(input, scanKind), {}};
    out.setup.doublePrecision = doublePrecision;
    py::gil_scoped_release release;
    const ElementFieldModel model(array, medium);
    out.result = scan::computeScanJob(out.setup, model);
    return out;
}

py::dict metrics(const Array2 &values, const py::array_t<double> &axis1, const py::array_t<double> &axis2,
                 bool intensity)
{
    if (values.ndim() != 2 || axis1.ndim() != 1 || axis2.ndim() != 1 || values.shape(0) != axis1.shape(0)
        || values.shape(1) != axis2.shape(0))
        throw py::value_error("field_metrics: values must have the shape (len(axis1), len(axis2))");
    const std::size_t n1 = static_cast<std::size_t>(values.shape(0)), n2 = static_cast<std::size_t>(values.shape(1));
    VDOUB3 z(3, VDOUB2(n1, VDOUB(n2)));
    const auto v = values.unchecked<2>();
    const auto a1 = axis1.unchecked<1>(), a2 = axis2.unchecked<1>();
    for (std::size_t i = 0; i < n1; ++i)
        for (std::size_t j = 0; j < n2; ++j) {
            z[0][i][j] = a1(static_cast<py::ssize_t>(i));
            z[1][i][j] = a2(static_cast<py::ssize_t>(j));
            z[2][i][j] = v(static_cast<py::ssize_t>(i), static_cast<py::ssize_t>(j));
        }
    const FieldMetrics m = fieldMetrics(z, decibelFactor(intensity));
    const auto point = [](const FieldPoint &p) -> py::object {
        if (!p.found)
            return py::none();
        return py::make_tuple(p.x, p.y);
    };
    const auto width = [](const LobeWidth &w) -> py::object {
        return w.found ? py::object(py::float_(w.width())) : py::none();
    };
    py::dict d;
    d["peak"] = m.peak.found ? py::object(py::float_(m.peak.value)) : py::none();
    d["peak_at"] = point(m.peak);
    d["width_3db"] = py::make_tuple(width(m.x3), width(m.y3));
    d["width_6db"] = py::make_tuple(width(m.x6), width(m.y6));
    d["secondary"] = m.secondary.found ? py::object(py::float_(m.secondary.value)) : py::none();
    d["secondary_at"] = point(m.secondary);
    d["secondary_db"] = m.secondary.found ? py::object(py::float_(m.secondaryDb)) : py::none();
    return d;
}

Array2 readElements(const std::string &path)
{
    std::vector<std::vector<double>> rows;
    QString error;
    if (!readElementPositions(QString::fromStdString(path), &rows, &error))
        throw JobError(error.toStdString());
    std::vector<ElementPosition> elements;
    for (const auto &row : rows)
        elements.push_back({row[0], row[1]});
    return elementsTo(elements);
}

void writeElements(const std::string &path, const Array2 &elements)
{
    std::vector<std::vector<double>> rows;
    for (const ElementPosition &e : elementsFrom(elements))
        rows.push_back({e.x, e.y});
    QString error;
    if (!writeElementPositions(QString::fromStdString(path), rows, &error))
        throw JobError(error.toStdString());
}

// Sessions: the file read and written by the application's own functions, as plain Python values.

py::object numberOrNone(double v)
{
    return std::isfinite(v) ? py::object(py::float_(v)) : py::none();
}

double numberFrom(const py::dict &d, const char *key)
{
    if (!d.contains(key) || d[key].is_none())
        return std::nan("");
    return d[key].cast<double>();
}

py::dict readSession(const std::string &path)
{
    session::Session s;
    QString error;
    if (!session::load(QString::fromStdString(path), &s, &error))
        throw JobError(error.toStdString());
    std::vector<ElementPosition> elements;
    for (const auto &row : s.elements)
        elements.push_back({row[0], row[1]});
    py::dict d;
    d["array"] = ArrayGeometry{s.aperture, s.curvatureRadius, s.elementRadius, s.frequency, s.holeRadius, elements};
    d["medium"] = Medium{s.density, s.soundSpeed, 4200.0, s.absorption};
    d["medium_preset"] = s.mediumPreset;
    d["source"] = py::dict(py::arg("mode") = s.intensityMode ? "intensity" : "pressure",
                           py::arg("pressure_Pa") = numberOrNone(s.pressure),
                           py::arg("intensity_W_m2") = numberOrNone(s.intensity));
    d["focus"] = py::make_tuple(numberOrNone(s.focus[0]), numberOrNone(s.focus[1]), numberOrNone(s.focus[2]));
    d["elements_file"] = s.elementsFile.toStdString();
    d["plane"] = s.axialPlane ? "axial" : "transverse";
    const session::TransversePlane &t = s.transverse;
    d["transverse_plane"] =
        py::dict(py::arg("z_m") = numberOrNone(t.z), py::arg("points_x") = numberOrNone(t.pointsX),
                 py::arg("points_y") = numberOrNone(t.pointsY), py::arg("step_x_m") = numberOrNone(t.stepX),
                 py::arg("step_y_m") = numberOrNone(t.stepY));
    const session::AxialPlane &a = s.axial;
    d["axial_plane"] =
        py::dict(py::arg("z_min_m") = numberOrNone(a.zMin), py::arg("angle_deg") = numberOrNone(a.angle),
                 py::arg("points_z") = numberOrNone(a.pointsZ), py::arg("points_r") = numberOrNone(a.pointsR),
                 py::arg("step_z_m") = numberOrNone(a.stepZ), py::arg("step_r_m") = numberOrNone(a.stepR));
    py::dict quality;
    for (auto w = s.quality.begin(); w != s.quality.end(); ++w) {
        py::dict fields;
        for (auto f = w->begin(); f != w->end(); ++f)
            fields[py::str(f.key().toStdString())] = f.value().toStdString();
        quality[py::str(w.key().toStdString())] = fields;
    }
    d["quality"] = quality;
    return d;
}

void writeSession(const std::string &path, const py::dict &d)
{
    session::Session s;
    const ArrayGeometry array = d["array"].cast<ArrayGeometry>();
    const Medium medium = d["medium"].cast<Medium>();
    s.aperture = array.aperture;
    s.curvatureRadius = array.curvatureRadius;
    s.elementRadius = array.elementRadius;
    s.frequency = array.frequency;
    s.holeRadius = array.holeRadius;
    for (const ElementPosition &e : array.elements)
        s.elements.push_back({e.x, e.y});
    s.density = medium.density;
    s.soundSpeed = medium.soundSpeed;
    s.absorption = medium.absorption_dB_cm_MHz;
    s.mediumPreset = d.contains("medium_preset") ? d["medium_preset"].cast<int>() : 0;
    const py::dict source = d.contains("source") ? d["source"].cast<py::dict>() : py::dict();
    s.intensityMode = source.contains("mode") && source["mode"].cast<std::string>() == "intensity";
    s.pressure = numberFrom(source, "pressure_Pa");
    s.intensity = numberFrom(source, "intensity_W_m2");
    if (d.contains("focus")) {
        const py::sequence focus = d["focus"].cast<py::sequence>();
        for (int i = 0; i < 3 && i < int(focus.size()); ++i)
            s.focus[i] = focus[i].is_none() ? std::nan("") : focus[i].cast<double>();
    }
    s.elementsFile = QString::fromStdString(d.contains("elements_file") ? d["elements_file"].cast<std::string>() : "");
    s.axialPlane = d.contains("plane") && d["plane"].cast<std::string>() == "axial";
    const py::dict t = d.contains("transverse_plane") ? d["transverse_plane"].cast<py::dict>() : py::dict();
    s.transverse = {numberFrom(t, "z_m"), numberFrom(t, "points_x"), numberFrom(t, "points_y"),
                    numberFrom(t, "step_x_m"), numberFrom(t, "step_y_m")};
    const py::dict a = d.contains("axial_plane") ? d["axial_plane"].cast<py::dict>() : py::dict();
    s.axial = {numberFrom(a, "z_min_m"),  numberFrom(a, "angle_deg"), numberFrom(a, "points_z"),
               numberFrom(a, "points_r"), numberFrom(a, "step_z_m"),  numberFrom(a, "step_r_m")};
    if (d.contains("quality"))
        for (const auto &w : d["quality"].cast<py::dict>())
            for (const auto &f : w.second.cast<py::dict>())
                s.quality[QString::fromStdString(w.first.cast<std::string>())]
                         [QString::fromStdString(f.first.cast<std::string>())] =
                    QString::fromStdString(f.second.cast<std::string>());
    QString error;
    if (!session::save(QString::fromStdString(path), s, "Kormax " KORMAX_VERSION, &error))
        throw JobError(error.toStdString());
}

} // namespace

PYBIND11_MODULE(kormax, m)
{
    m.doc() = "Kormax: fields and field quality of multi-element phased arrays on a spherical cap.\n\n"
              "The same computations as the calculator kormax-calc, without job folders. Lengths in m,\n"
              "frequencies in Hz, density in kg/m^3, speed of sound in m/s; fields are |p| / p0, the\n"
              "pressure amplitude over the pressure on the elements. Coordinates: z along the array axis\n"
              "from the pole of the cap, the centre of curvature at (0, 0, R).";
    static py::exception<JobError> error(m, "Error", PyExc_RuntimeError);
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const JobError &e) {
            PyErr_SetString(error.ptr(), e.what());
        }
    });

    py::class_<ArrayGeometry>(m, "Array", "The array: circular pistons on a spherical cap.")
        .def(py::init([](double aperture, double curvatureRadius, double elementRadius, double frequency,
                         double holeRadius, const Array2 &elements) {
                 return ArrayGeometry{aperture,  curvatureRadius, elementRadius,
                                      frequency, holeRadius,      elementsFrom(elements)};
             }),
             py::arg("aperture"), py::arg("curvature_radius"), py::arg("element_radius"), py::arg("frequency"),
             py::arg("hole_radius") = 0.0, py::arg("elements"),
             "aperture: rim diameter (m); curvature_radius: R (m); element_radius: a (m); frequency (Hz);\n"
             "hole_radius: radius of the central hole (m); elements: (N, 2) element centres x, y (m) as\n"
             "the calculator takes them (read_elements gives them from an element positions file).")
        .def_readwrite("aperture", &ArrayGeometry::aperture)
        .def_readwrite("curvature_radius", &ArrayGeometry::curvatureRadius)
        .def_readwrite("element_radius", &ArrayGeometry::elementRadius)
        .def_readwrite("frequency", &ArrayGeometry::frequency)
        .def_readwrite("hole_radius", &ArrayGeometry::holeRadius)
        .def_property(
            "elements", [](const ArrayGeometry &a) { return elementsTo(a.elements); },
            [](ArrayGeometry &a, const Array2 &e) { a.elements = elementsFrom(e); }, "(N, 2) element centres (m)");

    py::class_<Medium>(m, "Medium", "The propagation medium.")
        .def(py::init([](double density, double soundSpeed, double absorption, double heatCapacity) {
                 return Medium{density, soundSpeed, heatCapacity, absorption};
             }),
             py::arg("density") = 1000.0, py::arg("sound_speed") = 1500.0, py::arg("absorption") = 0.0,
             py::arg("heat_capacity") = 4200.0,
             "density (kg/m^3); sound_speed (m/s); absorption (dB/(cm MHz), proportional to the frequency);\n"
             "heat_capacity (J/(kg K), carried along, no part of the field).")
        .def_readwrite("density", &Medium::density)
        .def_readwrite("sound_speed", &Medium::soundSpeed)
        .def_readwrite("absorption", &Medium::absorption_dB_cm_MHz)
        .def_readwrite("heat_capacity", &Medium::heatCapacity);

    py::class_<PlaneGrid>(m, "Grid", "A regular grid in a plane, as the calculator's grid files describe it.")
        .def(py::init(&makeGrid), py::arg("plane"), py::arg("fixed"), py::arg("count"), py::arg("start"),
             py::arg("step"),
             "plane: \"xy\" (transverse: axis 1 is x, axis 2 is y, the plane z = fixed) or \"yz\" (axial: axis 1\n"
             "is y, axis 2 is z, the plane x = fixed); count: points along axes 1 and 2; start: first\n"
             "coordinates (m); step: steps (m). Point (i, j) lies at start[0] + i step[0], start[1] + j step[1].")
        .def_property_readonly("plane", [](const PlaneGrid &g) { return g.kind == PlaneKind::Axial ? "yz" : "xy"; })
        .def_readonly("fixed", &PlaneGrid::fixed)
        .def_property_readonly("count", [](const PlaneGrid &g) { return py::make_tuple(g.count1, g.count2); })
        .def_property_readonly("start", [](const PlaneGrid &g) { return py::make_tuple(g.start1, g.start2); })
        .def_property_readonly("step", [](const PlaneGrid &g) { return py::make_tuple(g.step1, g.step2); })
        .def_property_readonly(
            "axis1", [](const PlaneGrid &g) { return vector(axis(g, true)); }, "coordinates along axis 1 (m)")
        .def_property_readonly(
            "axis2", [](const PlaneGrid &g) { return vector(axis(g, false)); }, "coordinates along axis 2 (m)");

    py::class_<FieldResult>(m, "FieldResult", "The field of a steered array over a grid.")
        .def_property_readonly(
            "values", [](const FieldResult &r) { return matrix(r.result.values, r.grid.count1, r.grid.count2); },
            "|p| / p0, shape (count[0], count[1]), index [i][j] along axes 1 and 2")
        .def_property_readonly("axis1", [](const FieldResult &r) { return vector(axis(r.grid, true)); })
        .def_property_readonly("axis2", [](const FieldResult &r) { return vector(axis(r.grid, false)); })
        .def_readonly("grid", &FieldResult::grid)
        .def_property_readonly(
            "focus_pressure", [](const FieldResult &r) { return r.result.focusPressure; },
            "|p(F)| / p0 at the focus: the array's gain")
        .def_property_readonly(
            "maximum", [](const FieldResult &r) { return r.result.maximum; }, "largest |p| / p0 on the grid");

    py::class_<ScanResult>(m, "ScanResult", "The quality of the field over a region of focus positions.")
        .def_property_readonly(
            "values",
            [](const ScanResult &r) {
                return matrix(r.result.values(r.setup.kind), r.setup.focus.count1, r.setup.focus.count2);
            },
            "per focus position, shape of the focus region: p(F) / max |p| (main_max) or the largest side\n"
            "maximum over p(F) (side_max)")
        .def_property_readonly("focus_region", [](const ScanResult &r) { return r.setup.focus; })
        .def_property_readonly("field_region", [](const ScanResult &r) { return r.setup.field; })
        .def_property_readonly(
            "best", [](const ScanResult &r) { return pointTo(scan::gridPoint(r.setup.focus, r.result.best)); },
            "the focus position with the best main maximum (x, y, z), m")
        .def_property_readonly(
            "best_field",
            [](const ScanResult &r) { return matrix(r.result.bestField, r.setup.field.count1, r.setup.field.count2); },
            "|p| / p0 over the field region with the focus at `best`")
        .def_property_readonly("best_field_max", [](const ScanResult &r) { return r.result.bestFieldMax; });

    m.def("field", &field, py::arg("array"), py::arg("medium"), py::arg("focus"), py::arg("grid"),
          "The field |p| / p0 of the array steered on `focus` (x, y, z in m) by phase conjugation, over\n"
          "`grid`: the computation of a field job of kormax-calc. Raises kormax.Error on input the\n"
          "calculator would refuse.");
    m.def("scan", &scanJob, py::arg("array"), py::arg("medium"), py::arg("focus_region"), py::arg("field_region"),
          py::arg("kind") = "main_max", py::arg("double_precision") = false,
          "Steps the focus over every point of `focus_region` and rates the field over `field_region`\n"
          "(both Grids of the same plane): kind \"main_max\" or \"side_max\", the scan jobs of kormax-calc.\n"
          "The products run in single precision unless double_precision is set.");
    m.def("field_metrics", &metrics, py::arg("values"), py::arg("axis1"), py::arg("axis2"),
          py::arg("intensity") = false,
          "Readings of a field as the result window shows them: peak value and position, widths of the\n"
          "main lobe at -3 dB and -6 dB along both axes (None where the lobe reaches the grid's edge),\n"
          "the strongest secondary maximum and its level in dB. values[i][j] at (axis1[i], axis2[j]), in\n"
          "the units of the axes; intensity: levels are 10 log10 instead of 20 log10.");
    m.def("read_elements", &readElements, py::arg("path"),
          "Element positions file (number pairs x y in cm) -> (N, 2) array in m, y flipped as the\n"
          "application takes it (x / 100, -y / 100). Raises kormax.Error when the file cannot be read.");
    m.def("write_elements", &writeElements, py::arg("path"), py::arg("elements"),
          "Writes (N, 2) element centres in m as an element positions file (cm; read_elements reads it back).");
    m.def("read_session", &readSession, py::arg("path"),
          "Reads a session file (.kormax) of the application -> dict: array (kormax.Array with the\n"
          "element positions), medium (kormax.Medium), medium_preset, source, focus (x, y, z; None where\n"
          "not entered), elements_file, plane (\"transverse\" or \"axial\"), transverse_plane and\n"
          "axial_plane (SI; points counted from the centre to the edge), quality (the quality windows'\n"
          "fields as typed). Raises kormax.Error for a newer, damaged or foreign file.");
    m.def("write_session", &writeSession, py::arg("path"), py::arg("session"),
          "Writes a dict laid out as read_session returns it as a session file the application opens.");
    m.def(
        "read_job",
        [](const std::string &dir) {
            const JobInput job = readJobInput(dir);
            return py::make_tuple(job.array, job.medium, pointTo(job.focus), job.grid);
        },
        py::arg("folder"),
        "Reads a field job folder (array.txt, medium.txt, array_elements.txt, focus.txt, grid_calc.txt)\n"
        "-> (array, medium, focus, grid), as kormax-calc reads it.");
}
