#include "jobs/Jobs.h"

#include "design/DesignJob.h"
#include "design/ScoreJob.h"
#include "field/FieldJob.h"
#include "heating/HeatingJob.h"
#include "scan/ScanJobRun.h"

namespace kcalc {

const std::vector<JobModule> &jobModules()
{
    static const std::vector<JobModule> modules = {
        {"field", runFieldJob},
        {"main_max", [](JobContext &job) { scan::runScanJob(scan::ScanKind::MainMaxima, job); }},
        {"side_max", [](JobContext &job) { scan::runScanJob(scan::ScanKind::SideMaxima, job); }},
        {"volume", runVolumeJob},
        {"heating", runHeatingJob},
        {"score", design::runScoreJob},
        {"design", design::runDesignJob},
    };
    return modules;
}

const JobModule *findJobModule(const std::string &kind)
{
    for (const JobModule &module : jobModules())
        if (kind == module.kind)
            return &module;
    return nullptr;
}

} // namespace kcalc
