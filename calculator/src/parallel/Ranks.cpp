#include "parallel/Ranks.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <mpi.h>

namespace kcalc::parallel {

bool startedByLauncher()
{
    for (const char *name : {"OMPI_COMM_WORLD_SIZE", "PMI_SIZE", "PMIX_RANK"})
        if (const char *v = std::getenv(name); v && *v)
            return true;
    return false;
}

MpiSession::MpiSession(int *argc, char ***argv)
{
    if (!startedByLauncher())
        return;
    // The job runs on a worker thread while the main thread watches it: MPI is called from one
    // thread at a time, not always the one that initialised it.
    int provided = 0;
    MPI_Init_thread(argc, argv, MPI_THREAD_SERIALIZED, &provided);
    m_active = true;
    MPI_Comm_rank(MPI_COMM_WORLD, &m_ranks.rank);
    MPI_Comm_size(MPI_COMM_WORLD, &m_ranks.size);
}

MpiSession::~MpiSession()
{
    if (m_active)
        MPI_Finalize();
}

void MpiSession::abortAll(int code) const
{
    if (m_active && m_ranks.size > 1)
        MPI_Abort(MPI_COMM_WORLD, code);
}

std::pair<std::size_t, std::size_t> share(std::size_t count, Ranks r)
{
    const std::size_t size = static_cast<std::size_t>(r.size), rank = static_cast<std::size_t>(r.rank);
    const std::size_t base = count / size, extra = count % size;
    const std::size_t first = rank * base + std::min(rank, extra);
    return {first, first + base + (rank < extra ? 1 : 0)};
}

std::vector<double> sumToRoot(const std::vector<double> &mine, Ranks r)
{
    if (r.size == 1)
        return mine;
    if (mine.size() > static_cast<std::size_t>(2147483647))
        throw std::runtime_error("too many results to gather over MPI: " + std::to_string(mine.size()));
    std::vector<double> all(r.root() ? mine.size() : 0);
    MPI_Reduce(mine.data(), all.data(), static_cast<int>(mine.size()), MPI_DOUBLE, MPI_SUM, 0, MPI_COMM_WORLD);
    return all;
}

std::vector<double> sumToAll(const std::vector<double> &mine, Ranks r)
{
    if (r.size == 1)
        return mine;
    if (mine.size() > static_cast<std::size_t>(2147483647))
        throw std::runtime_error("too many results to share over MPI: " + std::to_string(mine.size()));
    std::vector<double> all(mine.size());
    MPI_Allreduce(mine.data(), all.data(), static_cast<int>(mine.size()), MPI_DOUBLE, MPI_SUM, MPI_COMM_WORLD);
    return all;
}

} // namespace kcalc::parallel
