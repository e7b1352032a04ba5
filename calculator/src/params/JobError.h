#ifndef KCALC_JOB_ERROR_H
#define KCALC_JOB_ERROR_H

#include <stdexcept>
#include <string>

namespace kcalc {

// A job that cannot be run: unreadable or invalid input, a result that cannot be written.
// The message names the file and the offending value; main() writes it to log.txt and stderr.
class JobError : public std::runtime_error
{
public:
    explicit JobError(const std::string &message) : std::runtime_error(message) {}
};

// The run was stopped by the user (cancel button) or by a termination signal.
class JobCancelled : public std::runtime_error
{
public:
    JobCancelled() : std::runtime_error("Расчет прерван пользователем") {}
};

// A newer run has claimed the job folder; this one stops and publishes nothing.
class JobSuperseded : public std::runtime_error
{
public:
    JobSuperseded() :
        std::runtime_error("В папке задания запущен более новый расчет; этот расчет остановлен, его результаты не "
                           "записаны")
    {}
};

} // namespace kcalc

#endif // KCALC_JOB_ERROR_H
