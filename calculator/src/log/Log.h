#ifndef KCALC_LOG_H
#define KCALC_LOG_H

#include <cstdio>
#include <mutex>
#include <string>

namespace kcalc {

// The run's journal: every line goes to log.txt in the job folder (UTF-8, a new file at the start
// of a run) and to stderr, prefixed with the time since the start of the run.
class Log
{
public:
    Log() = default;
    ~Log();
    Log(const Log &) = delete;
    Log &operator=(const Log &) = delete;

    // Opens `dir/log.txt`; returns false (and keeps logging to stderr only) if it cannot.
    bool open(const std::string &dir);

    // Stops writing to log.txt (stderr only from then on).
    void closeFile();

    void info(const std::string &line);
    void error(const std::string &line); // prefixed "ОШИБКА: "

    // Seconds since the Log was created.
    double elapsed() const;

private:
    void write(const std::string &line);

    std::FILE *file_ = nullptr;
    std::mutex mutex_;
    double start_ = now();
    static double now();
};

// "12.3 с" / "2 мин 05 с": a duration for people.
std::string formatDuration(double seconds);

// A figure for people: three significant digits.
std::string formatBrief(double value);

} // namespace kcalc

#endif // KCALC_LOG_H
