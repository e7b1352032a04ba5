#ifndef KCALC_JOB_MONITOR_H
#define KCALC_JOB_MONITOR_H

#include <atomic>
#include <mutex>
#include <string>

#include "field/RunControl.h"

// What the worker thread running a job tells the thread that watches it (progress window or
// stderr reporter).
struct JobMonitor {
    enum Outcome { Running, Succeeded, Failed, Cancelled };

    kcalc::RunControl control;
    std::atomic<int> outcome{Running};
    std::atomic<bool> superseded{false};  // a newer run has claimed the job folder
    std::atomic<double> computeStart{-1}; // seconds on the log's clock when the compute phase began

    void setMessage(const std::string &text)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        message_ = text;
    }
    std::string message() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return message_;
    }

    bool finished() const { return outcome.load() != Running; }

    // Seconds left by linear extrapolation of the compute phase, or a negative value while unknown.
    double remaining(double now) const
    {
        const double start = computeStart.load();
        const double f = control.fraction();
        if (start < 0 || f < 0.02)
            return -1;
        return (now - start) * (1 - f) / f;
    }

private:
    mutable std::mutex mutex_;
    std::string message_;
};

#endif // KCALC_JOB_MONITOR_H
