#ifndef KJOBS_JOB_PROTOCOL_H
#define KJOBS_JOB_PROTOCOL_H

// The job folders shared by the application (which writes the input files and reads the results)
// and kormax-calc (which reads the inputs and writes the results): the kinds of job, the names of
// their files, and the one writer and reader of every file. Plain C++17, no Qt.
//
// A job folder lies next to the executables: calc/ (field), main_max/ and side_max/ (quality
// scans), heat/ (volume field and heating: the same input files, batch files volume.bat and heat.bat). The application writes the inputs, removes calcdone and starts the folder's batch file,
// which runs `kormax-calc <kind>` there; the calculator writes its results and calcdone last.
//
// Text files: numbers of the input files in the text stream's default notation (numberText: six
// significant digits, %g form, C locale, exact ties rounded away from zero, -0 written as 0),
// labels in Windows-1251, LF line ends ("no end": the file ends right after its last value).
// Result numbers are the shortest C-locale text that reads back to the same double (resultNumber).
//
// | File                 | Written by  | Layout                                                       |
// |----------------------|-------------|--------------------------------------------------------------|
// | array.txt            | application | 6 lines "label<spaces>value": name line "Название решетки:    |
// |                      |             | Quist-Marvane", then A, R, a, f, hole radius (m, Hz), each   |
// |                      |             | after its label and 5 spaces (4 after the frequency's); no   |
// |                      |             | end. The calculator takes the last token of lines 2-6.       |
// | medium.txt           | application | 5 lines: "Название среды:" 3 tabs name; density 2 tabs;      |
// |                      |             | speed of sound 1 tab; heat capacity 2 tabs; absorption       |
// |                      |             | (dB/cm/MHz) 1 tab; no end. Last token of lines 2-5 is read.  |
// | array_elements.txt   | application | "x y" per element (m, turned into the job frame), every line |
// |                      |             | ended; an empty list gives an empty file.                    |
// | focus.txt            | application | x, y, z of the focus (m), one a line; no end.                |
// | grid_calc.txt        | application | Eight lines: "xy" or "yz"; fixed coordinate (z of a          |
// | grid_scan.txt        |             | transverse plane, x = 0 of the turned axial one); count1;    |
// |                      |             | count2; start1; start2; step1; step2; no end. Axis 1/2 are   |
// |                      |             | x/y (transverse) or y/z (axial). grid_calc.txt is the field  |
// |                      |             | plane of a field job and the focus-shift region of a scan;   |
// |                      |             | grid_scan.txt is the field region of a scan.                 |
// | AbsField_XY.txt      | calculator  | Field result text. Header of 7 numbers: start1 step1 end1    |
// | AbsField_YZ.txt      |             | start2 step2 end2 maximum; then count1 x count2 records      |
// |                      |             | "coord1 coord2 |p|/p0", axis 2 fastest. Numbers separated by |
// |                      |             | any whitespace. The reader picks the layout from the name:   |
// |                      |             | sixth-last and fifth-last characters "XY" -> transverse, any |
// |                      |             | other name -> axial (layoutOfName).                          |
// | AbsField_XY.bin      | calculator  | Scan result: 3 Nx Ny + 2 little-endian binary64 values; two  |
// | AbsField_YZ.bin      |             | leading values (the calculator writes Nx, Ny; readers never  |
// |                      |             | interpret them), then one triplet per focus position (coord1 |
// |                      |             | coord2 value), axis 2 fastest. Nx, Ny are the application's  |
// |                      |             | axes: axial Nx = count2 (z), Ny = count1 (r); transverse     |
// |                      |             | Nx = count1, Ny = count2.                                    |
// | scan maximum         | calculator  | The 7th header number of the scan's field result text (the   |
// |                      |             | field at the best focus position).                           |
// | grid_volume.txt      | application | Volume and heating jobs: nine lines, one value and a line end |
// |                      |             | each: nx, ny, nz (whole point counts from 1), x0, y0, z0     |
// |                      |             | (first point, m), dx, dy, dz (steps, m): the VolumeGrid.     |
// |                      |             | Written as result numbers.                                   |
// | heating.txt          | application | Heating job: eleven lines, one value and a line end each:    |
// |                      |             | p0 on the elements (Pa); heating time, cooling time, dose    |
// |                      |             | step (s); conductivity k (W/(m K)); perfusion w_b            |
// |                      |             | (kg/(m^3 s)); heat capacity of blood (J/(kg K)); baseline    |
// |                      |             | temperature (degC); lesion threshold (CEM43 min); plane of   |
// |                      |             | the maps "xy" or "yz"; its fixed coordinate (m, z or x).     |
// |                      |             | Result numbers. Density, heat capacity and absorption are    |
// |                      |             | those of medium.txt.                                         |
// | AbsField_XYZ.bin     | calculator  | Volume job: the line "kormax-volume nx ny nz x0 y0 z0 dx dy  |
// |                      |             | dz max" (result numbers, LF), then nx ny nz little-endian    |
// |                      |             | binary64 |p|/p0 in VolumeGrid order (z fastest).            |
// | Heating_T_XY.txt     | calculator  | Heating job: the peak temperature (degC) over the run in the |
// | Heating_T_YZ.txt     |             | plane of heating.txt, in the layout of AbsField_XY.txt /     |
// |                      |             | AbsField_YZ.txt.                                             |
// | Heating_dose_XY.txt  | calculator  | The thermal dose (CEM43 min) over the run, the same way.     |
// | Heating_dose_YZ.txt  |             |                                                              |
// | Heating_focus.txt    | calculator  | "t T" a line: time (s) and temperature at the focus (degC).  |
// | Heating_summary.txt  | calculator  | "key value" a line: "lesion 0|1", then the keys of           |
// |                      |             | HeatingSummary (HeatingFiles.cpp), all read back.            |
// | focus_pressure.txt   | calculator  | |p(F)|/p0 of a field job, one number and a line end.         |
// | side_maxes.txt       | calculator  | Side-maxima scan only, read by nobody (scan/ScanOutput.h).   |
// | log.txt              | calculator  | The run's log, read by nobody.                               |
// | calcdone             | calculator  | "done\n", written last; only its existence counts.           |

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace kjobs {

// ------------------------------------------------------------------------------------------------
// Kinds of job: one entry per kind; the calculator's program adds the module that runs it.

struct JobKind {
    const char *name;      // the calculator's first argument: "field", "main_max", "side_max"
    const char *folder;    // job folder next to the executables
    const char *batchFile; // started by the application in that folder
    const char *title;     // what the calculator calls the run
};

const std::vector<JobKind> &jobKinds();
// The kind of that name, or null.
const JobKind *findJobKind(const std::string &name);
// The kind's folder (folder name of a kind that is not in the table: itself).
std::string jobFolder(const std::string &kindName);

// File names of a job folder.
namespace names {
constexpr const char *array = "array.txt";
constexpr const char *medium = "medium.txt";
constexpr const char *elements = "array_elements.txt";
constexpr const char *focus = "focus.txt";
constexpr const char *gridCalc = "grid_calc.txt";
constexpr const char *gridScan = "grid_scan.txt";
constexpr const char *done = "calcdone";
constexpr const char *focusPressure = "focus_pressure.txt";
constexpr const char *sideMaxes = "side_maxes.txt";
constexpr const char *log = "log.txt";
constexpr const char *volumeGrid = "grid_volume.txt";
constexpr const char *heatingSettings = "heating.txt";
constexpr const char *volumeResult = "AbsField_XYZ.bin";
constexpr const char *focusCurve = "Heating_focus.txt";
constexpr const char *heatingSummary = "Heating_summary.txt";
} // namespace names

// Which plane a grid or a result describes.
enum class PlaneKind {
    Transverse, // "xy": the plane z = fixed; axis 1 is x, axis 2 is y
    Axial       // "yz": the plane x = fixed (0 after the array is turned); axis 1 is y, axis 2 is z
};

// "xy" or "XY" a transverse plane, "yz" or "YZ" an axial one; false for any other text.
bool parsePlaneKind(const std::string &text, PlaneKind &kind);

std::string fieldResultName(PlaneKind kind); // AbsField_XY.txt, AbsField_YZ.txt
std::string scanResultName(PlaneKind kind);  // AbsField_XY.bin, AbsField_YZ.bin
// The layout a field result file is read in, from its name: transverse when the sixth-last and
// fifth-last characters are "XY", axial for every other name (also one shorter than six).
PlaneKind layoutOfName(const std::string &name);

// ------------------------------------------------------------------------------------------------
// What the files hold (SI units).

// A point in the job files' frame (m): z along the array axis from the cap's pole, the centre of
// curvature at (0, 0, R).
struct Point3 {
    double x = 0, y = 0, z = 0;
};

// Element centre in the plane of the job files (m), looking along the array axis.
struct ElementPosition {
    double x = 0, y = 0;
};

// array.txt and array_elements.txt.
struct ArrayGeometry {
    double aperture = 0;        // m, rim diameter
    double curvatureRadius = 0; // m, R
    double elementRadius = 0;   // m, a
    double frequency = 0;       // Hz
    double holeRadius = 0;      // m
    std::vector<ElementPosition> elements;
};

// medium.txt.
struct Medium {
    double density = 0;      // kg/m^3
    double soundSpeed = 0;   // m/s
    double heatCapacity = 0; // J/(kg K), carried along, unused by the field
    double absorption_dB_cm_MHz = 0;
    std::string name = "Water"; // line 1, UTF-8 here, Windows-1251 in the file
};

// grid_calc.txt, grid_scan.txt. Point (i1, i2) lies at start1 + i1 step1 along axis 1 and
// start2 + i2 step2 along axis 2.
struct PlaneGrid {
    PlaneKind kind = PlaneKind::Transverse;
    double fixed = 0;
    long count1 = 0, count2 = 0;
    double start1 = 0, start2 = 0;
    double step1 = 0, step2 = 0;

    double coord1(long i1) const { return start1 + static_cast<double>(i1) * step1; }
    double coord2(long i2) const { return start2 + static_cast<double>(i2) * step2; }
    double end1() const { return coord1(count1 - 1); }
    double end2() const { return coord2(count2 - 1); }
    std::size_t pointCount() const { return static_cast<std::size_t>(count1) * static_cast<std::size_t>(count2); }

    // The point in the job frame: transverse (c1, c2, fixed), axial (fixed, c1, c2).
    Point3 point(long i1, long i2) const;
    // Every point, axis 2 fastest: index i1 * count2 + i2 (the order of the result records).
    std::vector<Point3> points() const;
};

// The application's axes of a result: X runs along z in the axial plane and along x in the
// transverse one (the binary scan result's leading values).
std::size_t appNx(const PlaneGrid &g);
std::size_t appNy(const PlaneGrid &g);

// grid_volume.txt: a regular box of points in the job frame (m). Point (ix, iy, iz) lies at
// (x0 + ix dx, y0 + iy dy, z0 + iz dz). Values on it are stored with z fastest: index
// (ix * ny + iy) * nz + iz, the row-major layout of an nx x ny x nz array.
struct VolumeGrid {
    long nx = 0, ny = 0, nz = 0;
    double x0 = 0, y0 = 0, z0 = 0;
    double dx = 0, dy = 0, dz = 0;

    std::size_t pointCount() const
    {
        return static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny) * static_cast<std::size_t>(nz);
    }
    std::size_t index(long ix, long iy, long iz) const
    {
        return (static_cast<std::size_t>(ix) * static_cast<std::size_t>(ny) + static_cast<std::size_t>(iy))
                   * static_cast<std::size_t>(nz)
               + static_cast<std::size_t>(iz);
    }
    Point3 point(long ix, long iy, long iz) const
    {
        return Point3{x0 + static_cast<double>(ix) * dx, y0 + static_cast<double>(iy) * dy,
                      z0 + static_cast<double>(iz) * dz};
    }
};

// A sonication: the source on for heatingTime, then off for coolingTime; temperatures and dose are
// sampled every doseStep (each phase is split into whole steps of at most doseStep).
struct Sonication {
    double heatingTime = 0; // s
    double coolingTime = 0; // s
    double doseStep = 0.1;  // s
    double baseline = 37;   // degC, body temperature and the blood's
};

// heating.txt.
struct HeatingSettings {
    double sourcePressure = 0; // p0, Pa
    Sonication sonication;     // times, dose step, baseline
    double conductivity = 0, perfusion = 0, bloodHeatCapacity = 0;
    double doseThreshold = 240; // CEM43 minutes
    PlaneKind plane = PlaneKind::Transverse;
    double planeFixed = 0; // m
};

// Heating_summary.txt: what the heating job reports (m, degC, CEM43 minutes).
struct HeatingSummary {
    double peakTemperature = 0, peakX = 0, peakY = 0, peakZ = 0;
    bool lesion = false;
    double lesionLength = 0, lesionWidthX = 0, lesionWidthY = 0;
    double outsideTemperature = 0, outsideX = 0, outsideY = 0, outsideZ = 0;
    double focalSemiAxisX = 0, focalSemiAxisY = 0, focalSemiAxisZ = 0;
    double focusPeakTemperature = 0; // the highest of the focus curve
    double padding = 0;              // m, added on every side of the box by the solver
    double doseThreshold = 0;
};

// A file that cannot be read or holds what it must not; the message names the file and the value.
class JobError : public std::runtime_error
{
public:
    explicit JobError(const std::string &message) : std::runtime_error(message) {}
};

// ------------------------------------------------------------------------------------------------
// Numbers and text.

// A number as the application's text stream writes it into the input files (see the top).
std::string numberText(double value);
// A number as the calculator writes its results: the shortest C-locale text that reads back to
// the same double.
std::string resultNumber(double value);
void appendResultNumber(std::string &out, double value);
// Parses a whole token as a C-locale number, independent of the process locale ("nan" and "inf"
// parse). False for text that is not entirely a number.
bool parseNumber(const std::string &token, double &value);

// UTF-8 text in Windows-1251 ('?' for what the code page lacks), and job-file bytes as UTF-8 for
// a message (valid UTF-8 stays, anything else is read as Windows-1251, control characters '?').
std::string toCp1251(const std::string &utf8);
std::string readableText(const std::string &bytes);

// What a line holding a point count may say: any whole number (a grid's counts, whose range is
// checked later) or a whole number from 1 to 1e9 (a box's).
enum class Count { Whole, Positive };

// A job file split into lines: LF, CR LF or a lone CR end a line, the last line with or without
// one, a UTF-8 byte-order mark skipped; the bytes of a label are never interpreted.
struct TextFile {
    std::string name; // as it appears in messages, e.g. "array.txt"
    std::vector<std::string> lines;

    // Whitespace-separated tokens of line `index` (0-based). Throws JobError if the line is missing.
    std::vector<std::string> tokens(std::size_t index, const char *what) const;
    // The value of a labelled line: its last token as a finite number. Throws JobError naming the
    // file, the line, `what` and the offending text.
    double lastNumber(std::size_t index, const char *what) const;
    // The line's last token as text. Throws JobError if the line is missing or empty.
    std::string lastToken(std::size_t index, const char *what) const;
    // Consecutive labelled lines from `first` on, each into its value, in order.
    struct NumberLine {
        double *value;
        const char *what;
    };
    void lastNumbers(std::size_t first, std::initializer_list<NumberLine> numbers) const;
    // A point count: the line's last number, whole and in the range of `count`, else JobError.
    long lastCount(std::size_t index, const char *what, Count count) const;
    // "Ошибка в файле NAME, строка N (WHAT)": how every message about a line begins.
    std::string where(std::size_t index, const char *what) const;
};
// Reads `dir/name` ("" for the working directory). Throws JobError when it cannot be read.
TextFile readTextFile(const std::string &dir, const std::string &name);
std::vector<std::string> splitLines(const std::string &bytes);
std::vector<std::string> splitTokens(const std::string &line);

// ------------------------------------------------------------------------------------------------
// The input files: writers (the application) and readers (the calculator, throwing JobError).

std::string arrayText(const ArrayGeometry &array);
std::string mediumText(const Medium &medium);
std::string elementsText(const std::vector<ElementPosition> &elements);
std::string focusText(const Point3 &focus);
// The eight lines with the counts as the caller has them (the application's counts are doubles).
std::string gridText(PlaneKind kind, double fixed, double count1, double count2, double start1, double start2,
                     double step1, double step2);
std::string gridText(const PlaneGrid &grid);

void readArrayFile(const std::string &dir, ArrayGeometry &array); // lines 2-6
void readMediumFile(const std::string &dir, Medium &medium);      // lines 2-5
std::vector<ElementPosition> readElementsFile(const std::string &dir);
Point3 readFocusFile(const std::string &dir);
PlaneGrid readGridFile(const std::string &dir, const std::string &name);

// ------------------------------------------------------------------------------------------------
// The result files: writers (the calculator) and readers (the application).

// Three planes [plane][i][j] of a result on the application's axes: 0 the horizontal coordinate,
// 1 the vertical one (m), 2 the value; i along the horizontal axis, j along the vertical one.
using Planes = std::vector<std::vector<std::vector<double>>>;

// The field result text, `values` in the order of PlaneGrid::points(); the header's maximum is
// the largest value. Produced in chunks of about `chunkBytes`, each passed to `put`.
void produceFieldResult(const PlaneGrid &grid, const std::vector<double> &values, std::size_t chunkBytes,
                        const std::function<void(const std::string &)> &put);
std::string fieldResultText(const PlaneGrid &grid, const std::vector<double> &values);

// Reads a field result of i_size x j_size points in the layout of layoutOfName(path) (transverse:
// records x, y, value with j fastest; axial: y, z, value with i fastest). Always of full size: a
// missing file gives zeros, and from the first token that is not a number on every value stays
// zero; nothing after the last record is read.
Planes readFieldResult(const std::string &path, int iSize, int jSize);
// The seven header numbers; false when the file cannot be opened or has fewer numbers.
bool readFieldResultHeader(const std::string &path, double header[7]);
// The scan maximum: the seventh number of a field result text; 0 when there is none.
double readMaximum(const std::string &path);

// The binary scan result of `values` (one per focus position, flat order of `focus`).
std::string scanResultBytes(const PlaneGrid &focus, const std::vector<double> &values);
// Its size in bytes for Nx x Ny focus positions.
std::int64_t scanResultSize(int nx, int ny);
// Reads it on the application's axes: axial (triplets r, z, value, i fastest) or transverse
// (x, y, value, j fastest). Always of full size; points past the end of the file stay zero.
Planes readScanResult(const std::string &path, int iSize, int jSize, bool axial);

std::string focusPressureText(double focusPressure);
// |p(F)|/p0 of a field job; false when the file is missing or holds no positive finite number.
bool readFocusPressure(const std::string &path, double &focusPressure);

std::string doneText();

// ------------------------------------------------------------------------------------------------
// The volume and heating jobs (folder heat/).

// The box centred on `centre` with n points along each axis (odd counts put `centre` on a point).
VolumeGrid centredVolume(const Point3 &centre, long nx, long ny, long nz, double dx, double dy, double dz);
// The box the heating window asks for around a focus: steps of a sixth of the wavelength across
// the axis and a third along it, reaching six wavelengths across and twelve along.
VolumeGrid heatingBox(const Point3 &focus, double frequency, double soundSpeed);

std::string temperatureMapName(PlaneKind kind); // Heating_T_XY.txt, Heating_T_YZ.txt
std::string doseMapName(PlaneKind kind);        // Heating_dose_XY.txt, Heating_dose_YZ.txt
// Every file a run leaves in heat/ (inputs, results, calcdone, log.txt), for the clean-up at exit.
std::vector<std::string> heatingFolderFiles();

std::string volumeGridText(const VolumeGrid &grid);
std::string heatingSettingsText(const HeatingSettings &settings);
// Readers: throw JobError naming the file, the line and the value (missing lines, values that are
// not finite numbers, counts that are not whole numbers from 1).
VolumeGrid readVolumeGridFile(const std::string &dir);
HeatingSettings readHeatingSettingsFile(const std::string &dir);

std::string volumeResultBytes(const VolumeGrid &grid, const std::vector<double> &values);
std::string heatingSummaryText(const HeatingSummary &summary);
// Parses the text of Heating_summary.txt; false (and `error` says which key) when a key is missing
// or its value is not a finite number.
bool parseHeatingSummary(const std::string &text, HeatingSummary &summary, std::string *error);
std::string focusCurveText(const std::vector<double> &times, const std::vector<double> &temperatures);
// Parses Heating_focus.txt; false when a line is not two finite numbers or there are none.
bool parseFocusCurve(const std::string &text, std::vector<double> &times, std::vector<double> &temperatures);

} // namespace kjobs

#endif // KJOBS_JOB_PROTOCOL_H
