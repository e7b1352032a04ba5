#include "log/Log.h"

#include <chrono>
#include <cmath>

#include <fcntl.h>
#include <unistd.h>

#include "log/Messages.h"

namespace kcalc {

Log::~Log()
{
    if (file_)
        std::fclose(file_);
}

double Log::now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Log::elapsed() const
{
    return now() - start_;
}

bool Log::open(const std::string &dir)
{
    const std::string path = dir.empty() ? std::string("log.txt") : dir + "/log.txt";
    // A new file rather than the old one truncated: an older run still busy in the same folder
    // keeps writing into its own (now nameless) file, never into this run's log.
    ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
    file_ = fd >= 0 ? ::fdopen(fd, "a") : nullptr;
    if (fd >= 0 && !file_)
        ::close(fd);
    return file_ != nullptr;
}

void Log::closeFile()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}

void Log::write(const std::string &line)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%8.3f] ", elapsed());
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_) {
        std::fputs(stamp, file_);
        std::fputs(line.c_str(), file_);
        std::fputc('\n', file_);
        std::fflush(file_);
    }
    std::fputs("kormax-calc: ", stderr);
    std::fputs(line.c_str(), stderr);
    std::fputc('\n', stderr);
}

void Log::info(const std::string &line)
{
    write(line);
}

void Log::error(const std::string &line)
{
    write(msg::kErrorLine + line);
}

std::string formatBrief(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

std::string formatDuration(double seconds)
{
    char text[64];
    if (!(seconds >= 0) || !std::isfinite(seconds))
        return msg::kUnknownRemaining;
    if (seconds < 60)
        std::snprintf(text, sizeof text, msg::kSecondsFormat, seconds);
    else
        std::snprintf(text, sizeof text, msg::kMinutesFormat, static_cast<int>(seconds / 60),
                      static_cast<int>(std::fmod(seconds, 60.0)));
    return text;
}

} // namespace kcalc
