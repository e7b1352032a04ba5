#ifndef KCALC_BIOHEAT_H
#define KCALC_BIOHEAT_H

#include <cstddef>
#include <vector>

#include "params/JobError.h"

namespace kcalc {

struct RunControl;

// Thermal properties of a homogeneous tissue (SI units).
struct ThermalProperties {
    double density = 0;           // rho, kg/m^3
    double heatCapacity = 0;      // C, J/(kg K)
    double conductivity = 0;      // k, W/(m K)
    double perfusion = 0;         // w_b, blood mass flow per volume, kg/(m^3 s)
    double bloodHeatCapacity = 0; // c_b, J/(kg K)

    double diffusivity() const { return conductivity / (density * heatCapacity); } // D = k / (rho C), m^2/s
    double perfusionRate() const { return perfusion * bloodHeatCapacity / (density * heatCapacity); } // 1/s
};

// Equal steps of a phase: count and length (a phase of length 0 has no steps).
struct PhaseSteps {
    long count = 0;
    double length = 0;
};
PhaseSteps phaseSteps(double duration, double maxStep);

// How far the periodic box of the spectral solver reaches beyond the region where the source and
// the results live. The region is padded on every side by
//   P = sqrt(4 D t ln 1000) / 2,  t = heating + cooling time,
// so that every image of a source point lies at least 2P from every point of the region; the heat
// kernel of an image there is exp(-(2P)^2 / (4 D t)) = 1e-3 of its value at the source at the end of
// the run and less before. The box sizes are then rounded up to fast FFT sizes.
struct BioheatLayout {
    VolumeGrid region;
    long padX = 0, padY = 0, padZ = 0; // cells of padding before the region along each axis
    long nx = 0, ny = 0, nz = 0;       // the periodic box (cells)
    std::size_t boxPoints() const
    {
        return static_cast<std::size_t>(nx) * static_cast<std::size_t>(ny) * static_cast<std::size_t>(nz);
    }
};
double paddingLength(const ThermalProperties &tissue, const Sonication &sonication);
BioheatLayout bioheatLayout(const VolumeGrid &region, const ThermalProperties &tissue, const Sonication &sonication);

// Bytes the solver keeps at its peak for a layout and a number of dose steps.
double bioheatMemoryBytes(const BioheatLayout &layout, std::size_t steps);

struct BioheatResult {
    std::vector<double> times;           // s: 0, then the end of every step
    std::vector<double> probe;           // degC at the probe point at those times
    std::vector<double> peakTemperature; // degC, the highest over the run, per region point (VolumeGrid layout)
    std::vector<double> dose;            // CEM43 minutes over the whole run, per region point
    std::vector<double> endOfHeating;    // degC per region point when the source switches off
    long steps = 0;
};

// Pennes bioheat equation in a homogeneous medium, for the temperature rise u = T - baseline:
//   rho C du/dt = k lap u - w_b c_b u + q(x)   (q in W/m^3 while the source is on, 0 after),
// solved on the periodic box of `layout` with q (given on the region, VolumeGrid layout) and zero
// in the padding, u = 0 at t = 0. Each Fourier mode kappa obeys a linear ODE with
//   lambda = (k |kappa|^2 + w_b c_b) / (rho C),
// whose exact solution over a step h with the source constant is
//   u^(t + h) = u^(t) e^(-lambda h) + q^ / (rho C) (1 - e^(-lambda h)) / lambda   (h for lambda = 0),
// so the only errors are the spatial sampling (exact for a band-limited q) and the periodic images
// (bioheatLayout). Temperatures are transformed back after every dose step; between steps the dose
// accumulates as for a temperature linear in time (cem43Between). Progress: stepUnits units at the
// start and per step (control->total is set here unless the caller has set it); throws JobCancelled
// when cancelled.
BioheatResult solveBioheat(const BioheatLayout &layout, const std::vector<double> &q, const ThermalProperties &tissue,
                           const Sonication &sonication, std::size_t probeIndex, RunControl *control = nullptr,
                           std::size_t stepUnits = 1);

// q = 2 alpha I with I = |p|^2 / (2 rho c): the absorbed power density (W/m^3) of a field
// |p| = p0 * amplitude[i] (Pa), alpha the amplitude absorption coefficient (Np/m).
std::vector<double> absorbedPower(const std::vector<double> &amplitude, double p0, double alpha, double density,
                                  double soundSpeed);

// The pressure amplitude on the elements that radiates an acoustic power (W) from `elements`
// discs of radius a, each with the plane-wave intensity p0^2 / (2 rho c) on its surface.
double sourcePressureForPower(double power, std::size_t elements, double elementRadius, double density,
                              double soundSpeed);

} // namespace kcalc

#endif // KCALC_BIOHEAT_H
