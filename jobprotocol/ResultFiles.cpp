// The result files of a job folder: the calculator's writers and the application's readers.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <istream>

#include "JobProtocol.h"

namespace kjobs {

namespace {

// Whitespace-separated numbers of a text file, one at a time.
class NumberReader
{
public:
    explicit NumberReader(const std::string &path) : in_(path, std::ios::binary) {}
    bool isOpen() const { return in_.is_open(); }
    // The next token as a number; false at the end or at a token that is not a number (and from
    // then on).
    bool next(double &value)
    {
        if (failed_)
            return false;
        std::string token;
        int ch;
        std::streambuf *buf = in_.rdbuf();
        while ((ch = buf->sgetc()) != EOF && std::isspace(ch))
            buf->sbumpc();
        while ((ch = buf->sgetc()) != EOF && !std::isspace(ch)) {
            token.push_back(static_cast<char>(ch));
            buf->sbumpc();
        }
        double v = 0;
        if (token.empty() || !parseNumber(token, v)) {
            failed_ = true;
            return false;
        }
        value = v;
        return true;
    }

private:
    std::ifstream in_;
    bool failed_ = false;
};

Planes zeroPlanes(int iSize, int jSize)
{
    const std::size_t ni = static_cast<std::size_t>(std::max(iSize, 0));
    const std::size_t nj = static_cast<std::size_t>(std::max(jSize, 0));
    return Planes(3, std::vector<std::vector<double>>(ni, std::vector<double>(nj, 0.0)));
}

} // namespace

// ---- Field result text ----

void produceFieldResult(const PlaneGrid &grid, const std::vector<double> &values, std::size_t chunkBytes,
                        const std::function<void(const std::string &)> &put)
{
    const double maximum = values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
    std::string text;
    text.reserve(chunkBytes + 256);
    const double header[7] = {grid.start1, grid.step1, grid.end1(), grid.start2, grid.step2, grid.end2(), maximum};
    for (int i = 0; i < 7; ++i) {
        appendResultNumber(text, header[i]);
        text.push_back(i == 6 ? '\n' : ' ');
    }
    std::size_t index = 0;
    for (long i1 = 0; i1 < grid.count1; ++i1) {
        const double c1 = grid.coord1(i1);
        for (long i2 = 0; i2 < grid.count2; ++i2, ++index) {
            appendResultNumber(text, c1);
            text.push_back(' ');
            appendResultNumber(text, grid.coord2(i2));
            text.push_back(' ');
            appendResultNumber(text, values[index]);
            text.push_back('\n');
            if (text.size() >= chunkBytes) {
                put(text);
                text.clear();
            }
        }
    }
    if (!text.empty())
        put(text);
}

std::string fieldResultText(const PlaneGrid &grid, const std::vector<double> &values)
{
    std::string text;
    produceFieldResult(grid, values, 1 << 20, [&text](const std::string &chunk) { text += chunk; });
    return text;
}

Planes readFieldResult(const std::string &path, int iSize, int jSize)
{
    Planes z = zeroPlanes(iSize, jSize);
    NumberReader in(path);
    double header = 0;
    for (int k = 0; k < 7; ++k)
        if (!in.next(header))
            return z;
    const std::size_t ni = z[0].size(), nj = ni ? z[0][0].size() : 0;
    if (layoutOfName(path) == PlaneKind::Transverse) {
        // x, y, value; the vertical index runs fastest.
        for (std::size_t i = 0; i < ni; ++i)
            for (std::size_t j = 0; j < nj; ++j)
                if (!in.next(z[0][i][j]) || !in.next(z[1][i][j]) || !in.next(z[2][i][j]))
                    return z;
    } else {
        // Transverse coordinate, z, value; the horizontal (z) index runs fastest.
        for (std::size_t j = 0; j < nj; ++j)
            for (std::size_t i = 0; i < ni; ++i)
                if (!in.next(z[1][i][j]) || !in.next(z[0][i][j]) || !in.next(z[2][i][j]))
                    return z;
    }
    return z;
}

bool readFieldResultHeader(const std::string &path, double header[7])
{
    NumberReader in(path);
    for (int k = 0; k < 7; ++k)
        if (!in.next(header[k]))
            return false;
    return true;
}

double readMaximum(const std::string &path)
{
    double header[7];
    return readFieldResultHeader(path, header) ? header[6] : 0.0;
}

// ---- Binary scan result ----

std::string scanResultBytes(const PlaneGrid &focus, const std::vector<double> &values)
{
    static_assert(sizeof(double) == 8, "binary scan results hold IEEE 754 binary64 values");
    if (values.size() != focus.pointCount())
        throw std::invalid_argument("binary scan result: " + std::to_string(values.size()) + " values for "
                                    + std::to_string(focus.pointCount()) + " focus positions");
    std::vector<double> out;
    out.reserve(3 * values.size() + 2);
    out.push_back(static_cast<double>(appNx(focus)));
    out.push_back(static_cast<double>(appNy(focus)));
    std::size_t k = 0;
    for (long i1 = 0; i1 < focus.count1; ++i1)
        for (long i2 = 0; i2 < focus.count2; ++i2) {
            out.push_back(focus.coord1(i1));
            out.push_back(focus.coord2(i2));
            out.push_back(values[k++]);
        }
    // Little-endian on disk whatever the host.
    std::string bytes(out.size() * 8, '\0');
    for (std::size_t v = 0; v < out.size(); ++v) {
        std::uint64_t u;
        std::memcpy(&u, &out[v], 8);
        for (int b = 0; b < 8; ++b)
            bytes[v * 8 + b] = static_cast<char>((u >> (8 * b)) & 0xff);
    }
    return bytes;
}

std::int64_t scanResultSize(int nx, int ny)
{
    return (3 * std::int64_t(nx) * ny + 2) * 8;
}

Planes readScanResult(const std::string &path, int iSize, int jSize, bool axial)
{
    Planes z = zeroPlanes(iSize, jSize);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return z;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const long long available = static_cast<long long>(bytes.size() / 8);
    const auto value = [&bytes](long long index) {
        std::uint64_t u = 0;
        for (int b = 7; b >= 0; --b)
            u = (u << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(index) * 8 + b]);
        double v;
        std::memcpy(&v, &u, 8);
        return v;
    };
    // The two leading values are skipped: the file's size tells whether it fits the run.
    const std::size_t ni = z[0].size(), nj = ni ? z[0][0].size() : 0;
    const long long count = static_cast<long long>(ni * nj);
    std::size_t i = 0, j = 0;
    for (long long k = 0; k < count && 4 + 3 * k < available; ++k) {
        const double first = value(2 + 3 * k), second = value(3 + 3 * k), quality = value(4 + 3 * k);
        if (axial) {
            z[1][i][j] = first;
            z[0][i][j] = second;
            z[2][i][j] = quality;
            if (++i == ni) {
                i = 0;
                ++j;
            }
        } else {
            z[0][i][j] = first;
            z[1][i][j] = second;
            z[2][i][j] = quality;
            if (++j == nj) {
                j = 0;
                ++i;
            }
        }
    }
    return z;
}

// ---- Small files ----

std::string focusPressureText(double focusPressure)
{
    return resultNumber(focusPressure) + "\n";
}

bool readFocusPressure(const std::string &path, double &focusPressure)
{
    NumberReader in(path);
    double v = 0;
    if (!in.next(v) || !(v > 0.0) || !std::isfinite(v))
        return false;
    focusPressure = v;
    return true;
}

std::string doneText()
{
    return "done\n";
}

} // namespace kjobs
