#ifndef KCALC_SCAN_MAIN_LOBE_H
#define KCALC_SCAN_MAIN_LOBE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kcalc::scan {

// A field-region grid of n1 x n2 points stored with the first axis outer: point (i1, i2) has the
// flat index i1 * n2 + i2.
struct GridShape {
    std::size_t n1 = 0, n2 = 0;
    std::size_t size() const { return n1 * n2; }
};

// Where the main lobe of one focused field lies and what is left outside it.
struct LobeSearch {
    std::size_t peak = 0;      // flat index of the main-lobe peak
    std::size_t lobeSize = 0;  // number of grid points in the main lobe
    bool hasSide = false;      // false when every grid point belongs to the main lobe
    std::size_t sidePoint = 0; // flat index of the largest value outside the main lobe
    double sideValue = 0;      // that value (in the units of the values searched)
};

// Main-lobe search on one grid of values v (any quantity that orders like |p|, e.g. |p|^2):
//  1. start at the grid point `start` (the one nearest the focus);
//  2. climb by steepest ascent: move to the largest of the 8 neighbours while it is strictly
//     larger than the current point (equal neighbours do not count, ties among neighbours go to
//     the first in the order (-1,-1), (-1,0), (-1,+1), (0,-1), (0,+1), (+1,-1), (+1,0), (+1,+1));
//     where no neighbour is larger is the peak;
//  3. the main lobe is every point reachable from the peak by steps to 8-neighbours along which
//     v never increases (plateaus belong to the lobe);
//  4. the side value is the largest v outside the lobe (first in index order on ties).
// Neighbours beyond the grid edge do not exist. The finder keeps its scratch between calls so
// one instance per thread searches any number of fields of the same grid without allocating.
class MainLobeFinder
{
public:
    explicit MainLobeFinder(GridShape shape);

    template <class T> LobeSearch find(const T *v, std::size_t start);

    // After find(): whether a point belongs to the main lobe found last.
    bool inLobe(std::size_t point) const { return m_mark[point] == m_tag; }

private:
    template <class T> std::size_t climb(const T *v, std::size_t start) const;
    void nextTag();

    GridShape m_shape;
    std::vector<std::uint32_t> m_mark;  // m_mark[p] == m_tag: p is in the current lobe
    std::vector<std::uint32_t> m_stack; // points whose neighbours are still to be visited
    std::uint32_t m_tag = 0;
};

extern template LobeSearch MainLobeFinder::find<float>(const float *, std::size_t);
extern template LobeSearch MainLobeFinder::find<double>(const double *, std::size_t);

} // namespace kcalc::scan

#endif // KCALC_SCAN_MAIN_LOBE_H
