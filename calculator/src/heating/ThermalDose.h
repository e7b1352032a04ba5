#ifndef KCALC_THERMAL_DOSE_H
#define KCALC_THERMAL_DOSE_H

#include <cmath>

namespace kcalc {

// Thermal dose in cumulative equivalent minutes at 43 degC (Sapareto and Dewey, 1984):
//   CEM43 = Integral R^(43 - T(t)) dt / 60 s,  R = 0.5 at or above 43 degC, 0.25 below,
// T in degC, t in s, the dose in minutes.

// R^(43 - T): equivalent minutes per minute at temperature T.
inline double cem43Rate(double T)
{
    // 0.5^(43 - T) = 2^(T - 43); 0.25^(43 - T) = 2^(2 (T - 43)).
    return T >= 43 ? std::exp2(T - 43) : std::exp2(2 * (T - 43));
}

// ln R^(43 - T), the exponent of cem43Rate in natural units.
inline double cem43LogRate(double T)
{
    return (T >= 43 ? 1 : 2) * (T - 43) * M_LN2;
}

// The dose over `seconds` while the temperature goes linearly from one sample to the next, given
// each sample's rate and log rate: the rate is then exponential in time (on either side of 43 degC)
// and its integral is the logarithmic mean of the two rates times the time. Exact for a constant
// temperature and for a linear ramp that does not cross 43 degC.
inline double cem43Between(double rate0, double log0, double rate1, double log1, double seconds)
{
    const double d = log1 - log0;
    const double mean = std::fabs(d) < 1e-6 ? 0.5 * (rate0 + rate1) : (rate1 - rate0) / d;
    return mean * seconds / 60;
}

// The dose of holding T for `seconds`.
inline double cem43Minutes(double T, double seconds)
{
    return cem43Rate(T) * seconds / 60;
}

} // namespace kcalc

#endif // KCALC_THERMAL_DOSE_H
