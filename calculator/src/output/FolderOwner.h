#ifndef KCALC_FOLDER_OWNER_H
#define KCALC_FOLDER_OWNER_H

#include <functional>
#include <string>

namespace kcalc {

// One run owns a job folder at a time, and the run started last wins. The lock file
// `.calc.lock` in the folder names the newest run; it is rewritten by every run that starts and
// locked (flock) only for the short steps that must not interleave: claiming the folder (which also
// removes an old calcdone) and publishing the results. An older run that finds a newer one named
// there stops and publishes nothing, so the folder never ends up with an older run's results or
// a calcdone for a run other than the newest.
class FolderOwner
{
public:
    // Claims `dir` for this run. Throws JobError when the folder is not writable (checked here,
    // before any computation) or calcdone cannot be removed.
    explicit FolderOwner(const std::string &dir);
    ~FolderOwner();
    FolderOwner(const FolderOwner &) = delete;
    FolderOwner &operator=(const FolderOwner &) = delete;

    // False once a newer run has claimed the folder.
    bool isNewest() const;

    // Runs `publish` (writing the results and calcdone) with the folder locked, provided this run
    // is still the newest; otherwise throws JobSuperseded and runs nothing.
    void publish(const std::function<void()> &publish);

private:
    bool namedInLockFile() const;

    std::string dir_, path_, id_;
    int fd_ = -1;
};

} // namespace kcalc

#endif // KCALC_FOLDER_OWNER_H
