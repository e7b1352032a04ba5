#ifndef KCALC_RUN_CONTROL_H
#define KCALC_RUN_CONTROL_H

#include <atomic>
#include <cstddef>

namespace kcalc {

// Shared between a computing loop and whoever watches it (progress window, stderr reporter,
// signal handler): the loop adds finished work units; anyone may ask it to stop.
struct RunControl {
    std::atomic<std::size_t> done{0};  // finished units (grid points, focus positions, ...)
    std::atomic<std::size_t> total{0}; // units of the whole run
    std::atomic<bool> cancel{false};

    void add(std::size_t units) { done.fetch_add(units, std::memory_order_relaxed); }
    bool cancelled() const { return cancel.load(std::memory_order_relaxed); }
    double fraction() const
    {
        const std::size_t t = total.load(std::memory_order_relaxed);
        return t ? static_cast<double>(done.load(std::memory_order_relaxed)) / static_cast<double>(t) : 0.0;
    }
};

} // namespace kcalc

#endif // KCALC_RUN_CONTROL_H
