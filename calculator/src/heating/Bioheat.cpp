#include "heating/Bioheat.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "field/RunControl.h"
#include "heating/Fft.h"
#include "heating/ThermalDose.h"
#include "params/JobError.h"

namespace kcalc {

PhaseSteps phaseSteps(double duration, double maxStep)
{
    PhaseSteps s;
    if (duration <= 0 || maxStep <= 0)
        return s;
    // A duration that is a whole number of steps up to rounding keeps that number.
    s.count = std::max(1L, static_cast<long>(std::ceil(duration / maxStep - 1e-9)));
    s.length = duration / static_cast<double>(s.count);
    return s;
}

double paddingLength(const ThermalProperties &tissue, const Sonication &sonication)
{
    const double t = sonication.heatingTime + sonication.coolingTime;
    return 0.5 * std::sqrt(4 * tissue.diffusivity() * t * std::log(1000.0));
}

BioheatLayout bioheatLayout(const VolumeGrid &region, const ThermalProperties &tissue, const Sonication &sonication)
{
    BioheatLayout l;
    l.region = region;
    const double P = paddingLength(tissue, sonication);
    const auto axis = [P](long n, double step, long &pad, long &size) {
        const long cells = static_cast<long>(std::ceil(P / step));
        size = RealFft3d::fastSize(n + 2 * cells);
        pad = (size - n) / 2;
    };
    axis(region.nx, region.dx, l.padX, l.nx);
    axis(region.ny, region.dy, l.padY, l.ny);
    axis(region.nz, region.dz, l.padZ, l.nz);
    return l;
}

double bioheatMemoryBytes(const BioheatLayout &layout, std::size_t steps)
{
    const double box = static_cast<double>(layout.boxPoints());
    const double modes =
        static_cast<double>(layout.nx) * static_cast<double>(layout.ny) * static_cast<double>(layout.nz / 2 + 1);
    const double region = static_cast<double>(layout.region.pointCount());
    // Transform buffers (real box, one spectrum), the state, the source term, the decay and lambda per mode;
    // per region point the source, peak temperature, dose, last dose rate and its log, the end of heating; two numbers per step.
    return box * 8 + modes * (16 + 16 + 16 + 8 + 8) + region * 6 * 8 + static_cast<double>(steps) * 2 * 8;
}

std::vector<double> absorbedPower(const std::vector<double> &amplitude, double p0, double alpha, double density,
                                  double soundSpeed)
{
    std::vector<double> q(amplitude.size());
    const double factor = 2 * alpha * p0 * p0 / (2 * density * soundSpeed);
    for (std::size_t i = 0; i < q.size(); ++i)
        q[i] = factor * amplitude[i] * amplitude[i];
    return q;
}

double sourcePressureForPower(double power, std::size_t elements, double elementRadius, double density,
                              double soundSpeed)
{
    const double area = static_cast<double>(elements) * M_PI * elementRadius * elementRadius;
    return std::sqrt(2 * density * soundSpeed * power / area);
}

namespace {

constexpr std::size_t kParallelPoints = 1 << 17;

// Wave number squared of FFT index i along an axis of n cells of length step: (2 pi m / (n step))^2
// with m the signed frequency.
double kappaSquared(long i, long n, double step)
{
    const long m = i <= n / 2 ? i : i - n;
    const double kappa = 2 * M_PI * static_cast<double>(m) / (static_cast<double>(n) * step);
    return kappa * kappa;
}

} // namespace

BioheatResult solveBioheat(const BioheatLayout &layout, const std::vector<double> &q, const ThermalProperties &tissue,
                           const Sonication &sonication, std::size_t probeIndex, RunControl *control,
                           std::size_t stepUnits)
{
    const VolumeGrid &g = layout.region;
    if (q.size() != g.pointCount())
        throw std::invalid_argument("solveBioheat: one source value per region point expected");
    const PhaseSteps heat = phaseSteps(sonication.heatingTime, sonication.doseStep);
    const PhaseSteps cool = phaseSteps(sonication.coolingTime, sonication.doseStep);
    BioheatResult result;
    result.steps = heat.count + cool.count;
    if (control && control->total.load() == 0)
        control->total.store((static_cast<std::size_t>(result.steps) + 1) * stepUnits);

    RealFft3d fft(layout.nx, layout.ny, layout.nz);
    const long n2h = layout.nz / 2 + 1;
    const std::size_t modes = fft.spectrumSize();
    const double rhoC = tissue.density * tissue.heatCapacity;
    // Threads pay off only on large boxes: on small ones the barriers cost more than the work.
    const bool parallel = fft.realSize() >= kParallelPoints;
    const double perfusion = tissue.perfusion * tissue.bloodHeatCapacity;

    // The source on the box, zero in the padding, to Fourier space: q^ / (rho C).
    double *real = fft.real();
    std::memset(real, 0, fft.realSize() * sizeof(double));
    const auto boxIndex = [&](long ix, long iy, long iz) {
        return (static_cast<std::size_t>(ix + layout.padX) * static_cast<std::size_t>(layout.ny)
                + static_cast<std::size_t>(iy + layout.padY))
                   * static_cast<std::size_t>(layout.nz)
               + static_cast<std::size_t>(iz + layout.padZ);
    };
    for (long ix = 0; ix < g.nx; ++ix)
        for (long iy = 0; iy < g.ny; ++iy)
            for (long iz = 0; iz < g.nz; ++iz)
                real[boxIndex(ix, iy, iz)] = q[g.index(ix, iy, iz)] / rhoC;
    fft.forward();

    // Per mode: lambda, the decay over a step and the source term of a heating step.
    std::vector<double> lambda(modes), decay(modes);
    std::vector<std::complex<double>> source(modes), state(modes, 0.0);
#pragma omp parallel for if (parallel)
    for (long i0 = 0; i0 < layout.nx; ++i0) {
        const double k0 = kappaSquared(i0, layout.nx, g.dx);
        for (long i1 = 0; i1 < layout.ny; ++i1) {
            const double k01 = k0 + kappaSquared(i1, layout.ny, g.dy);
            for (long i2 = 0; i2 < n2h; ++i2) {
                const std::size_t m =
                    (static_cast<std::size_t>(i0) * static_cast<std::size_t>(layout.ny) + static_cast<std::size_t>(i1))
                        * static_cast<std::size_t>(n2h)
                    + static_cast<std::size_t>(i2);
                const double L = (tissue.conductivity * (k01 + kappaSquared(i2, layout.nz, g.dz)) + perfusion) / rhoC;
                lambda[m] = L;
                const double h = heat.length;
                decay[m] = std::exp(-L * h);
                // (1 - e^(-L h)) / L, which tends to h as L -> 0.
                const double gain = L > 0 ? -std::expm1(-L * h) / L : h;
                source[m] = fft.spectrum()[m] * gain;
            }
        }
    }

    const std::size_t regionPoints = g.pointCount();
    result.peakTemperature.assign(regionPoints, sonication.baseline);
    result.dose.assign(regionPoints, 0.0);
    result.endOfHeating.assign(regionPoints, sonication.baseline);
    std::vector<double> lastRate(regionPoints, cem43Rate(sonication.baseline));
    std::vector<double> lastLog(regionPoints, cem43LogRate(sonication.baseline));
    result.times.reserve(static_cast<std::size_t>(result.steps) + 1);
    result.probe.reserve(static_cast<std::size_t>(result.steps) + 1);
    result.times.push_back(0);
    result.probe.push_back(sonication.baseline);
    if (control)
        control->add(stepUnits);

    const double scale = 1.0 / static_cast<double>(fft.realSize());
    const long probeZ = static_cast<long>(probeIndex % static_cast<std::size_t>(g.nz));
    const long probeY = static_cast<long>(probeIndex / static_cast<std::size_t>(g.nz) % static_cast<std::size_t>(g.ny));
    const long probeX = static_cast<long>(probeIndex / static_cast<std::size_t>(g.nz) / static_cast<std::size_t>(g.ny));
    const std::size_t probeBox = boxIndex(probeX, probeY, probeZ);
    double t = 0;
    for (long step = 0; step < result.steps; ++step) {
        if (control && control->cancelled())
            throw JobCancelled();
        const bool heating = step < heat.count;
        const double h = heating ? heat.length : cool.length;
        if (step == heat.count && cool.length != heat.length) {
#pragma omp parallel for if (parallel)
            for (std::size_t m = 0; m < modes; ++m)
                decay[m] = std::exp(-lambda[m] * h);
        }
        // Advance every mode exactly over the step; the inverse transform works on a copy.
        std::complex<double> *work = fft.spectrum();
        if (heating) {
#pragma omp parallel for if (parallel)
            for (std::size_t m = 0; m < modes; ++m)
                work[m] = state[m] = state[m] * decay[m] + source[m];
        } else {
#pragma omp parallel for if (parallel)
            for (std::size_t m = 0; m < modes; ++m)
                work[m] = state[m] = state[m] * decay[m];
        }
        fft.inverse();
        t += h;

        // Peak temperature and dose (the temperature taken linear in time over the step) on the region.
#pragma omp parallel for if (parallel)
        for (long ix = 0; ix < g.nx; ++ix)
            for (long iy = 0; iy < g.ny; ++iy) {
                const double *row = real + boxIndex(ix, iy, 0);
                const std::size_t r0 = g.index(ix, iy, 0);
                for (long iz = 0; iz < g.nz; ++iz) {
                    const std::size_t r = r0 + static_cast<std::size_t>(iz);
                    const double T = sonication.baseline + row[iz] * scale;
                    result.peakTemperature[r] = std::max(result.peakTemperature[r], T);
                    const double log = cem43LogRate(T), rate = std::exp(log);
                    result.dose[r] += cem43Between(lastRate[r], lastLog[r], rate, log, h);
                    lastRate[r] = rate;
                    lastLog[r] = log;
                }
            }
        if (step + 1 == heat.count)
            for (long ix = 0; ix < g.nx; ++ix)
                for (long iy = 0; iy < g.ny; ++iy)
                    for (long iz = 0; iz < g.nz; ++iz)
                        result.endOfHeating[g.index(ix, iy, iz)] =
                            sonication.baseline + real[boxIndex(ix, iy, iz)] * scale;
        result.times.push_back(t);
        result.probe.push_back(sonication.baseline + real[probeBox] * scale);
        if (control)
            control->add(stepUnits);
    }
    return result;
}

} // namespace kcalc
