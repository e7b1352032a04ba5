#ifndef KCALC_JOB_ERROR_H
#define KCALC_JOB_ERROR_H

#include <stdexcept>
#include <string>

#include "JobProtocol.h"
#include "log/Messages.h"

namespace kcalc {

// The calculator works on the job files' own types and readers (JobError among them: unreadable or
// invalid input, a result that cannot be written; main() writes its message to log.txt and stderr).
using namespace kjobs;

// The run was stopped by the user (cancel button) or by a termination signal.
class JobCancelled : public std::runtime_error
{
public:
    JobCancelled() : std::runtime_error(msg::kCancelled) {}
};

// A newer run has claimed the job folder; this one stops and publishes nothing.
class JobSuperseded : public std::runtime_error
{
public:
    JobSuperseded() : std::runtime_error(msg::kSuperseded) {}
};

} // namespace kcalc

#endif // KCALC_JOB_ERROR_H
