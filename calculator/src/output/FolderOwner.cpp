#include "output/FolderOwner.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "output/ResultFiles.h"
#include "params/JobError.h"

namespace kcalc {

namespace {

// Holds flock(LOCK_EX) on a descriptor for the life of a scope.
class ScopedFlock
{
public:
    explicit ScopedFlock(int fd) : fd_(fd)
    {
        while (::flock(fd_, LOCK_EX) != 0)
            if (errno != EINTR)
                throw JobError(msg::folderNotLocked(std::strerror(errno)));
    }
    ~ScopedFlock() { ::flock(fd_, LOCK_UN); }
    ScopedFlock(const ScopedFlock &) = delete;
    ScopedFlock &operator=(const ScopedFlock &) = delete;

private:
    int fd_;
};

} // namespace

FolderOwner::FolderOwner(const std::string &dir) : dir_(dir.empty() ? "." : dir), path_(dir_ + "/.calc.lock")
{
    if (::access(dir_.c_str(), W_OK | X_OK) != 0)
        throw JobError(msg::folderNotWritable(dir_, std::strerror(errno)));
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw JobError(msg::lockNotCreated(path_, std::strerror(errno)));
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    id_ = std::to_string(::getpid()) + " "
          + std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()) + "\n";
    ScopedFlock lock(fd_);
    if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, id_.data(), id_.size(), 0) != static_cast<ssize_t>(id_.size()))
        throw JobError(msg::lockNotWritten(path_, std::strerror(errno)));
    removeDoneMarker(dir_);
}

FolderOwner::~FolderOwner()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool FolderOwner::namedInLockFile() const
{
    // The lock file must still be the one this run wrote its name into.
    struct stat mine, current;
    if (::fstat(fd_, &mine) != 0 || ::stat(path_.c_str(), &current) != 0 || mine.st_ino != current.st_ino
        || mine.st_dev != current.st_dev)
        return false;
    char buffer[64];
    const ssize_t n = ::pread(fd_, buffer, sizeof buffer, 0);
    return n == static_cast<ssize_t>(id_.size()) && std::memcmp(buffer, id_.data(), id_.size()) == 0;
}

bool FolderOwner::isNewest() const
{
    return namedInLockFile();
}

void FolderOwner::publish(const std::function<void()> &publish)
{
    ScopedFlock lock(fd_);
    if (!namedInLockFile())
        throw JobSuperseded();
    publish();
}

} // namespace kcalc
