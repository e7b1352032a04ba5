// Fuzz target: the five files of a field job, separated in the input by lines "--" (array.txt,
// medium.txt, array_elements.txt, focus.txt, grid_calc.txt), are written into a folder and read,
// checked and described as kormax-calc does. A job that passes the checks and is small is also
// computed: its field must be finite everywhere, the promise of the checks.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "field/FieldPlane.h"
#include "params/JobError.h"
#include "params/JobInput.h"

namespace {

const std::string &folder()
{
    static const std::string dir = [] {
        char pattern[] = "/tmp/kormax_fuzz_job_XXXXXX";
        const char *made = ::mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const char *const names[] = {"array.txt", "medium.txt", "array_elements.txt", "focus.txt", "grid_calc.txt"};
    const std::string input(reinterpret_cast<const char *>(data), size);
    std::size_t from = 0;
    for (const char *name : names) {
        std::size_t to = input.find("\n--\n", from);
        if (to == std::string::npos)
            to = input.size();
        std::ofstream(folder() + "/" + name, std::ios::binary | std::ios::trunc) << input.substr(from, to - from);
        from = std::min(input.size(), to + 4);
    }
    try {
        const kcalc::JobInput job = kcalc::readJobInput(folder());
        kcalc::describeJobInput(job);
        kcalc::checkJobInput(job);
        if (job.grid.pointCount() * job.array.elements.size() <= 256) {
            const kcalc::FieldPlaneResult result = kcalc::computeFieldPlane(job);
            for (const double v : result.values)
                if (!std::isfinite(v))
                    std::abort();
            if (!std::isfinite(result.focusPressure))
                std::abort();
        }
    } catch (const kcalc::JobError &) {
        // A refused job: the message is the program's answer.
    }
    return 0;
}
