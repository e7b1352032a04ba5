#ifndef KCALC_HEATING_JOB_FILES_H
#define KCALC_HEATING_JOB_FILES_H

// The files of the volume and heating jobs, written by the application and read by the calculator
// (and the other way round for the results): their one description and their one reader and writer.
//
// Folder heat/, batch file heat.bat (kormax-calc heating); a volume job (kormax-calc volume) reads
// the same input from its own folder. Besides array.txt, medium.txt, array_elements.txt and
// focus.txt of a field job (turned by the plane's angle for an axial plane, as there):
//
//   grid_volume.txt   nine lines, one value each: nx, ny, nz (point counts), x0, y0, z0 (first
//                     point, m), dx, dy, dz (steps, m); the box of VolumeGrid.
//   heating.txt       eleven lines, one value each (heating job only):
//                      1 p0, pressure amplitude on the elements, Pa
//                      2 heating time, s            3 cooling time, s        4 dose step, s
//                      5 thermal conductivity k, W/(m K)
//                      6 perfusion w_b, kg/(m^3 s)  7 heat capacity of blood c_b, J/(kg K)
//                      8 baseline (body) temperature, degC
//                      9 lesion threshold, CEM43 minutes
//                     10 plane of the maps, "xy" or "yz"; 11 its fixed coordinate, m (z or x)
//   Density, heat capacity and absorption are those of medium.txt.
//
// Results (every number the shortest C-locale text that reads back to the same double):
//   AbsField_XYZ.bin        volume job: the line "kormax-volume nx ny nz x0 y0 z0 dx dy dz max\n",
//                           then nx ny nz little-endian doubles |p| / p0 in VolumeGrid order.
//   Heating_T_XY.txt        heating job: the peak temperature (degC) in the map's plane, in the layout
//   Heating_T_YZ.txt        of AbsField_XY.txt / AbsField_YZ.txt (seven-number header, records).
//   Heating_dose_XY.txt     the thermal dose (CEM43 minutes) in the same plane and layout.
//   Heating_dose_YZ.txt
//   Heating_focus.txt       "t T" per line: time (s) and temperature at the focus (degC).
//   Heating_summary.txt     "key value" per line, the keys of HeatingSummary.
//   calcdone                last, as for every job.

#include <string>
#include <vector>

#include "heating/Bioheat.h"
#include "params/JobInput.h"
#include "volume/VolumeGrid.h"

namespace kcalc::heatjob {

extern const char *const volumeGridName;        // "grid_volume.txt"
extern const char *const settingsName;          // "heating.txt"
extern const char *const volumeResultName;      // "AbsField_XYZ.bin"
extern const char *const focusCurveName;        // "Heating_focus.txt"
extern const char *const summaryName;           // "Heating_summary.txt"
std::string temperatureMapName(PlaneKind kind); // Heating_T_XY.txt, Heating_T_YZ.txt
std::string doseMapName(PlaneKind kind);        // Heating_dose_XY.txt, Heating_dose_YZ.txt
// Every file a run leaves in the folder (inputs, results, calcdone, log.txt), for the clean-up at exit.
std::vector<std::string> folderFiles();

struct HeatingSettings {
    double sourcePressure = 0; // p0, Pa
    Sonication sonication;     // times, dose step, baseline
    double conductivity = 0, perfusion = 0, bloodHeatCapacity = 0;
    double doseThreshold = 240; // CEM43 minutes
    PlaneKind plane = PlaneKind::Transverse;
    double planeFixed = 0; // m
};

std::string volumeGridText(const VolumeGrid &grid);
std::string settingsText(const HeatingSettings &settings);
// Readers: throw JobError naming the file, the line and the value (missing lines, values that are
// not finite numbers, counts that are not whole numbers).
VolumeGrid readVolumeGrid(const std::string &dir);
HeatingSettings readSettings(const std::string &dir);

// The box the heating window asks for around a focus: steps of a sixth of the wavelength across
// the axis and a third along it, reaching six wavelengths across and twelve along.
VolumeGrid heatingBox(const Point3 &focus, double frequency, double soundSpeed);

// The pressure amplitude on the elements that radiates an acoustic power (W) from `elements`
// discs of radius a, each with the plane-wave intensity p0^2 / (2 rho c) on its surface.
double sourcePressureForPower(double power, std::size_t elements, double elementRadius, double density,
                              double soundSpeed);

// What the heating job reports (m, degC, CEM43 minutes).
struct HeatingSummary {
    double peakTemperature = 0, peakX = 0, peakY = 0, peakZ = 0;
    bool lesion = false;
    double lesionLength = 0, lesionWidthX = 0, lesionWidthY = 0;
    double outsideTemperature = 0, outsideX = 0, outsideY = 0, outsideZ = 0;
    double focalSemiAxisX = 0, focalSemiAxisY = 0, focalSemiAxisZ = 0;
    double focusPeakTemperature = 0; // the highest of the focus curve
    double padding = 0;              // m, added on every side of the box (bioheatLayout)
    double doseThreshold = 0;
};
std::string summaryText(const HeatingSummary &summary);
// Parses the text of Heating_summary.txt; false (and `error` says which key) when a key is missing
// or its value is not a finite number.
bool parseSummary(const std::string &text, HeatingSummary &summary, std::string *error);

std::string focusCurveText(const std::vector<double> &times, const std::vector<double> &temperatures);
// Parses Heating_focus.txt; false when a line is not two finite numbers or there are none.
bool parseFocusCurve(const std::string &text, std::vector<double> &times, std::vector<double> &temperatures);

// The volume result's bytes.
std::string volumeResultBytes(const VolumeGrid &grid, const std::vector<double> &values);

} // namespace kcalc::heatjob

#endif // KCALC_HEATING_JOB_FILES_H
