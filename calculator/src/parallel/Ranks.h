#ifndef KCALC_PARALLEL_RANKS_H
#define KCALC_PARALLEL_RANKS_H

// Runs of one job over several processes (MPI ranks), for studies run by hand or on a cluster:
//   mpirun -np N kormax-calc main_max --no-gui
// Every rank reads the same job folder and takes a share of the independent items (blocks of focus
// positions of a scan, candidates of a design batch); rank 0 gathers the shares and alone writes
// the results, the log and calcdone. Each item is computed by the same code whatever
// rank holds it, so the results are those of a single process, bit for bit.
//
// A process that no launcher started (the application starts the calculator so) never touches MPI:
// it is rank 0 of 1 and every function below is then the identity.

#include <cstddef>
#include <utility>
#include <vector>

namespace kcalc::parallel {

struct Ranks {
    int rank = 0;
    int size = 1;
    bool root() const { return rank == 0; }
};

// True when an MPI launcher (Open MPI's mpirun / mpiexec, or a PMI-based one) started this process.
bool startedByLauncher();

// MPI for the lifetime of the program: initialised in the constructor when a launcher started the
// process, finalised in the destructor.
class MpiSession
{
public:
    MpiSession(int *argc, char ***argv);
    ~MpiSession();
    MpiSession(const MpiSession &) = delete;
    MpiSession &operator=(const MpiSession &) = delete;

    Ranks ranks() const { return m_ranks; }
    // Ends every rank of the run at once with `code`: a rank that fails must not leave the others
    // waiting for its share. Returns only when MPI is not in use.
    void abortAll(int code) const;

private:
    bool m_active = false;
    Ranks m_ranks;
};

// Items [first, last) of `count` that rank r takes: contiguous, in rank order, sizes differing by at
// most one.
std::pair<std::size_t, std::size_t> share(std::size_t count, Ranks r);

// Element-wise sum over all ranks, delivered to rank 0 (the other ranks get an empty vector); every
// rank passes a vector of the same length. With one rank it returns `mine`. Ranks that fill
// disjoint parts and leave zeros elsewhere thus put their parts together exactly.
std::vector<double> sumToRoot(const std::vector<double> &mine, Ranks r);
// The same sum delivered to every rank (for work whose next step depends on all results).
std::vector<double> sumToAll(const std::vector<double> &mine, Ranks r);

} // namespace kcalc::parallel

#endif // KCALC_PARALLEL_RANKS_H
