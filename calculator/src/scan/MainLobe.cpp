#include "scan/MainLobe.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace kcalc::scan {

namespace {
constexpr int kDi[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int kDj[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
} // namespace

MainLobeFinder::MainLobeFinder(GridShape shape) : m_shape(shape)
{
    if (shape.n1 == 0 || shape.n2 == 0)
        throw std::invalid_argument("main-lobe search on an empty grid");
    if (shape.size() >= 0xffffffffu)
        throw std::invalid_argument("main-lobe search grid too large: " + std::to_string(shape.size()) + " points");
    m_mark.assign(shape.size(), 0);
    m_stack.reserve(shape.size());
}

void MainLobeFinder::nextTag()
{
    if (++m_tag == 0) { // wrapped: clear old marks once every 2^32 searches
        std::fill(m_mark.begin(), m_mark.end(), 0u);
        m_tag = 1;
    }
}

template <class T> std::size_t MainLobeFinder::climb(const T *v, std::size_t p) const
{
    const long n1 = static_cast<long>(m_shape.n1), n2 = static_cast<long>(m_shape.n2);
    for (;;) {
        const long i = static_cast<long>(p) / n2, j = static_cast<long>(p) % n2;
        std::size_t best = p;
        for (int d = 0; d < 8; ++d) {
            const long ni = i + kDi[d], nj = j + kDj[d];
            if (ni < 0 || ni >= n1 || nj < 0 || nj >= n2)
                continue;
            const std::size_t q = static_cast<std::size_t>(ni * n2 + nj);
            if (v[q] > v[best])
                best = q;
        }
        if (best == p)
            return p; // values strictly increase along the climb, so it ends
        p = best;
    }
}

template <class T> LobeSearch MainLobeFinder::find(const T *v, std::size_t start)
{
    if (start >= m_shape.size())
        throw std::out_of_range("main-lobe search start outside the grid");
    const long n1 = static_cast<long>(m_shape.n1), n2 = static_cast<long>(m_shape.n2);

    LobeSearch r;
    r.peak = climb(v, start);

    nextTag();
    m_stack.clear();
    m_mark[r.peak] = m_tag;
    m_stack.push_back(static_cast<std::uint32_t>(r.peak));
    std::size_t count = 1;
    while (!m_stack.empty()) {
        const std::size_t p = m_stack.back();
        m_stack.pop_back();
        const long i = static_cast<long>(p) / n2, j = static_cast<long>(p) % n2;
        const T vp = v[p];
        for (int d = 0; d < 8; ++d) {
            const long ni = i + kDi[d], nj = j + kDj[d];
            if (ni < 0 || ni >= n1 || nj < 0 || nj >= n2)
                continue;
            const std::size_t q = static_cast<std::size_t>(ni * n2 + nj);
            if (m_mark[q] != m_tag && v[q] <= vp) {
                m_mark[q] = m_tag;
                m_stack.push_back(static_cast<std::uint32_t>(q));
                ++count;
            }
        }
    }
    r.lobeSize = count;

    // Largest value outside the lobe.
    const std::size_t n = m_shape.size();
    if (count < n) {
        const std::uint32_t tag = m_tag;
        const std::uint32_t *mark = m_mark.data();
        std::size_t best = n;
        T bestValue = T(0);
        for (std::size_t p = 0; p < n; ++p) {
            if (mark[p] != tag && (best == n || v[p] > bestValue)) {
                best = p;
                bestValue = v[p];
            }
        }
        r.hasSide = true;
        r.sidePoint = best;
        r.sideValue = static_cast<double>(bestValue);
    }
    return r;
}

template LobeSearch MainLobeFinder::find<float>(const float *, std::size_t);
template LobeSearch MainLobeFinder::find<double>(const double *, std::size_t);

} // namespace kcalc::scan
