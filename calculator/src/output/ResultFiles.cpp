#include "output/ResultFiles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "params/JobError.h"

namespace kcalc {

namespace {

std::string joinPath(const std::string &dir, const std::string &name)
{
    return dir.empty() ? name : dir + "/" + name;
}

std::string systemError()
{
    return std::strerror(errno);
}

// An open file descriptor that is closed on every path.
class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

void writeAll(int fd, const std::string &bytes, const std::string &name)
{
    const char *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw JobError(msg::writeFailed(name, systemError()));
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
}

} // namespace

void requireFiniteResult(const std::vector<double> &values, const std::string &name)
{
    std::size_t bad = 0, first = 0;
    for (std::size_t i = values.size(); i-- > 0;)
        if (!std::isfinite(values[i])) {
            ++bad;
            first = i;
        }
    if (bad)
        throw JobError(msg::resultNotFinite(name, bad, first + 1, values.size()));
}

void writeFieldResult(const std::string &dir, const PlaneGrid &grid, const std::vector<double> &values)
{
    requireFiniteResult(values, fieldResultName(grid.kind));
    writeFileAtomically(dir, fieldResultName(grid.kind), [&](const std::function<void(const std::string &)> &put) {
        produceFieldResult(grid, values, 1 << 20, put);
    });
}

void writeFileAtomically(const std::string &dir, const std::string &name,
                         const std::function<void(const std::function<void(const std::string &)> &)> &produce)
{
    const std::string path = joinPath(dir, name);
    // A name of this process's own: two runs in one folder never write into each other's file.
    const std::string temp = path + "." + std::to_string(::getpid()) + ".part";
    Descriptor fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0)
        throw JobError(msg::createFailed(name, temp, systemError()));
    try {
        produce([&](const std::string &chunk) { writeAll(fd.get(), chunk, name); });
        if (::fsync(fd.get()) != 0)
            throw JobError(msg::flushFailed(name, systemError()));
        if (::close(fd.release()) != 0)
            throw JobError(msg::closeFailed(name, systemError()));
        if (std::rename(temp.c_str(), path.c_str()) != 0)
            throw JobError(msg::renameFailed(temp, name, systemError()));
    } catch (...) {
        std::remove(temp.c_str());
        throw;
    }
}

void writeFileAtomically(const std::string &dir, const std::string &name, const std::string &bytes)
{
    writeFileAtomically(dir, name, [&](const std::function<void(const std::string &)> &put) { put(bytes); });
}

void markDone(const std::string &dir)
{
    writeFileAtomically(dir, names::done, doneText());
}

void removeDoneMarker(const std::string &dir)
{
    const std::string path = joinPath(dir, names::done);
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT)
        return; // nothing to remove (a read-only folder is reported by whoever writes there)
    if (std::remove(path.c_str()) != 0 && errno != ENOENT)
        throw JobError(msg::oldMarkerKept(path, systemError()));
}

} // namespace kcalc
