#include "design/DesignBatch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>

#include "field/RunControl.h"
#include "params/JobError.h"
#include "JobProtocol.h"
#include "design/ScoreFiles.h"

namespace kcalc::design {

namespace {

const std::map<std::string, Generator> &generators()
{
    static const std::map<std::string, Generator> names = {{"random", Generator::Random},
                                                           {"spiral", Generator::Spiral},
                                                           {"hexagonal", Generator::Hexagonal},
                                                           {"rings", Generator::Rings},
                                                           {"jittered", Generator::JitteredHexagonal}};
    return names;
}

std::string lineText(std::size_t line)
{
    return std::string(candidatesName()) + ", строка " + std::to_string(line);
}

std::string candidateText(const CandidateEntry &s)
{
    return "кандидат \"" + s.label + "\" (" + lineText(s.line) + ")";
}

// Whole counts and seeds as the user wrote them: no fraction, no sign, at most 2^53.
std::uint64_t wholeNumber(const std::string &key, const std::string &text, std::size_t line)
{
    double v = 0;
    if (!parseNumber(text, v) || !(v >= 0) || v > 9007199254740992.0 || v != std::floor(v))
        throw JobError(lineText(line) + ": " + key + " должно быть целым неотрицательным числом, а не \""
                       + readableText(text) + "\"");
    return static_cast<std::uint64_t>(v);
}

double length(const std::string &key, const std::string &text, std::size_t line)
{
    double v = 0;
    if (!parseNumber(text, v) || !std::isfinite(v) || v < 0)
        throw JobError(lineText(line) + ": " + key + " должно быть неотрицательным числом (м), а не \""
                       + readableText(text) + "\"");
    return v;
}

// The nine numbers of a candidate's scores that travel between ranks and into the table.
constexpr std::size_t kScoreWidth = 9;

void packScores(const Scores &s, double *v)
{
    const double values[kScoreWidth] = {static_cast<double>(s.elementCount),
                                        s.fillFactor,
                                        s.gain,
                                        s.lateralWidth,
                                        s.axialLength,
                                        s.worstSide,
                                        s.steerableArea,
                                        static_cast<double>(s.steerablePositions),
                                        static_cast<double>(s.positions)};
    std::copy(values, values + kScoreWidth, v);
}

Scores unpackScores(const double *v)
{
    Scores s;
    s.elementCount = static_cast<std::size_t>(v[0]);
    s.fillFactor = v[1];
    s.gain = v[2];
    s.lateralWidth = v[3];
    s.axialLength = v[4];
    s.worstSide = v[5];
    s.steerableArea = v[6];
    s.steerablePositions = static_cast<std::size_t>(v[7]);
    s.positions = static_cast<std::size_t>(v[8]);
    return s;
}

} // namespace

std::vector<CandidateEntry> parseCandidates(const std::string &bytes)
{
    std::vector<CandidateEntry> entries;
    const std::vector<std::string> lines = splitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string text = lines[i].substr(0, lines[i].find('#'));
        const std::vector<std::string> words = splitTokens(text);
        if (words.empty())
            continue;
        CandidateEntry s;
        s.line = i + 1;
        if (words.size() < 2)
            throw JobError(lineText(s.line) + ": ожидаются имя кандидата и вид раскладки");
        s.label = words[0];
        s.kind = words[1];
        const bool file = s.kind == "file";
        if (!file && !generators().count(s.kind))
            throw JobError(lineText(s.line) + ": неизвестный вид раскладки \"" + readableText(s.kind)
                           + "\" (random, spiral, hexagonal, rings, jittered, file)");
        if (!file)
            s.settings.kind = generators().at(s.kind);
        for (std::size_t w = 2; w < words.size(); ++w) {
            const std::size_t eq = words[w].find('=');
            if (eq == std::string::npos || eq == 0)
                throw JobError(lineText(s.line) + ": ожидается ключ=значение, а не \"" + readableText(words[w]) + "\"");
            const std::string key = words[w].substr(0, eq), value = words[w].substr(eq + 1);
            if (key == "elements" && file)
                s.elementFile = value;
            else if (key == "count")
                s.settings.count = wholeNumber(key, value, s.line);
            else if (key == "seed")
                s.settings.seed = wholeNumber(key, value, s.line);
            else if (key == "gap")
                s.settings.gap = length(key, value, s.line);
            else if (key == "pitch")
                s.settings.pitch = length(key, value, s.line);
            else if (key == "jitter")
                s.settings.jitter = length(key, value, s.line);
            else if (key == "seeds" && !file)
                s.seeds = wholeNumber(key, value, s.line);
            else if (key == "budget" && !file)
                s.budget = wholeNumber(key, value, s.line);
            else if (key == "displacement")
                s.displacement = length(key, value, s.line);
            else if (key == "gain_floor")
                s.gainFloor = length(key, value, s.line);
            else
                throw JobError(lineText(s.line) + ": ключ \"" + readableText(key) + "\" не подходит к виду " + s.kind);
        }
        if (file && s.elementFile.empty())
            throw JobError(lineText(s.line) + ": для вида file нужен ключ elements=ФАЙЛ");
        if (s.seeds > 0 && s.budget > 0)
            throw JobError(lineText(s.line) + ": seeds и budget не задаются вместе");
        if ((s.seeds > 100000) || (s.budget > 100000))
            throw JobError(lineText(s.line) + ": не более 100000 кандидатов в одной строке");
        entries.push_back(s);
    }
    if (entries.empty())
        throw JobError(std::string(candidatesName()) + ": нет ни одного кандидата");
    return entries;
}

std::string candidatesText(const std::vector<CandidateEntry> &entries)
{
    std::string t;
    for (const CandidateEntry &s : entries) {
        t += s.label + " " + s.kind;
        if (s.kind == "file") {
            t += " elements=" + s.elementFile + "\n";
            continue;
        }
        t += " count=" + std::to_string(s.settings.count) + " gap=" + allDigits(s.settings.gap)
             + " seed=" + std::to_string(s.settings.seed) + " pitch=" + allDigits(s.settings.pitch)
             + " jitter=" + allDigits(s.settings.jitter);
        if (s.seeds)
            t += " seeds=" + std::to_string(s.seeds);
        if (s.budget)
            t += " budget=" + std::to_string(s.budget) + " displacement=" + allDigits(s.displacement)
                 + " gain_floor=" + allDigits(s.gainFloor);
        t += "\n";
    }
    return t;
}

std::vector<CandidateEntry> readCandidates(const std::string &dir)
{
    const TextFile f = readTextFile(dir, candidatesName());
    std::string bytes;
    for (const std::string &line : f.lines)
        bytes += line + "\n";
    return parseCandidates(bytes);
}

bool fileExists(const std::string &path)
{
    return std::ifstream(path).good();
}

std::vector<ElementPosition> candidateLayout(const ArrayGeometry &array, const CandidateEntry &entry,
                                             const std::string &folder)
{
    std::vector<ElementPosition> elements;
    double gap = entry.settings.gap;
    if (entry.kind == "file") {
        gap = 0;
        const bool absolute = !entry.elementFile.empty() && entry.elementFile[0] == '/';
        const TextFile file = readTextFile(absolute ? std::string() : folder, entry.elementFile);
        for (std::size_t i = 0; i < file.lines.size(); ++i) {
            const std::vector<std::string> words = splitTokens(file.lines[i]);
            if (words.empty())
                continue;
            ElementPosition p;
            if (words.size() != 2 || !parseNumber(words[0], p.x) || !parseNumber(words[1], p.y) || !std::isfinite(p.x)
                || !std::isfinite(p.y))
                throw JobError(candidateText(entry) + ": файл " + entry.elementFile + ", строка "
                               + std::to_string(i + 1) + ": ожидаются два числа x y");
            elements.push_back(p);
        }
    } else {
        try {
            elements = generateLayout(array, entry.settings);
        } catch (const LayoutError &e) {
            throw JobError(candidateText(entry) + ": " + e.what() + " (помещается " + std::to_string(e.fit) + ")");
        } catch (const std::invalid_argument &e) {
            throw JobError(candidateText(entry) + ": " + e.what());
        }
    }
    const LayoutCheck check = checkLayout(array, elements, gap);
    if (!check.valid())
        throw JobError(candidateText(entry) + " нарушает правила раскладки: элементов " + std::to_string(check.count)
                       + ", пар ближе зазора " + std::to_string(check.closePairs) + ", за краем апертуры "
                       + std::to_string(check.outsideAperture) + ", в отверстии " + std::to_string(check.insideHole));
    return elements;
}

std::vector<CandidateEntry> expandEnsembles(const std::vector<CandidateEntry> &entries)
{
    std::vector<CandidateEntry> out;
    for (const CandidateEntry &s : entries) {
        if (s.seeds == 0) {
            out.push_back(s);
            continue;
        }
        for (std::size_t k = 0; k < s.seeds; ++k) {
            CandidateEntry one = s;
            one.seeds = 0;
            one.label = s.label + "-" + std::to_string(k + 1);
            one.settings.seed = s.settings.seed + k;
            out.push_back(one);
        }
    }
    return out;
}

bool better(const Scores &a, const Scores &b, double gainFloor)
{
    const bool fa = a.gain >= gainFloor, fb = b.gain >= gainFloor;
    if (fa != fb)
        return fa;
    if (a.steerableArea != b.steerableArea)
        return a.steerableArea > b.steerableArea;
    if (a.worstSide != b.worstSide)
        return a.worstSide < b.worstSide;
    return a.gain > b.gain;
}

std::vector<Scores> scoreLayouts(const ArrayGeometry &array, const Medium &medium, const ScoreSettings &settings,
                                 const std::vector<std::vector<ElementPosition>> &layouts, parallel::Ranks ranks,
                                 const BatchProgress &progress)
{
    // Every size-th candidate from this rank's number, zeros for the others: the sum over the ranks
    // is exactly each candidate's own scores.
    std::vector<double> packed(layouts.size() * kScoreWidth, 0.0);
    // Progress counts the whole batch, not this rank's share: the ranks run in step, so each of
    // this rank's candidates stands for one of every rank's, and once the sum is in all are done.
    std::size_t counted = 0;
    const auto countUpTo = [&](std::size_t upTo) {
        for (; counted < upTo; ++counted)
            if (progress && !progress(counted + 1))
                throw JobCancelled();
    };
    const std::size_t size = static_cast<std::size_t>(ranks.size);
    std::size_t mine = 0;
    for (std::size_t k = static_cast<std::size_t>(ranks.rank); k < layouts.size(); k += size) {
        ArrayGeometry a = array;
        a.elements = layouts[k];
        packScores(computeScores(a, medium, settings), packed.data() + k * kScoreWidth);
        countUpTo(std::min(layouts.size(), ++mine * size));
    }
    const std::vector<double> all = parallel::sumToAll(packed, ranks);
    countUpTo(layouts.size());
    std::vector<Scores> scores(layouts.size());
    for (std::size_t k = 0; k < layouts.size(); ++k)
        scores[k] = unpackScores(all.data() + k * kScoreWidth);
    return scores;
}

std::vector<ScoredCandidate> optimise(const ArrayGeometry &array, const Medium &medium, const ScoreSettings &settings,
                                      const CandidateEntry &entry, parallel::Ranks ranks, const BatchProgress &progress,
                                      const BestSoFar &bestSoFar)
{
    std::vector<ScoredCandidate> scored;
    std::size_t done = 0;
    const auto counted = [&](std::size_t) { return !progress || progress(++done); };
    const auto scoreAll = [&](std::vector<ScoredCandidate> batch) {
        std::vector<std::vector<ElementPosition>> layouts;
        for (const ScoredCandidate &c : batch)
            layouts.push_back(c.elements);
        const std::vector<Scores> s = scoreLayouts(array, medium, settings, layouts, ranks, counted);
        for (std::size_t k = 0; k < batch.size(); ++k) {
            batch[k].scores = s[k];
            scored.push_back(batch[k]);
        }
    };

    // Seeds of the family, four at a time so that the best so far is known early.
    const std::size_t seeds = std::max<std::size_t>(1, entry.budget / 4);
    std::size_t best = 0;
    for (std::size_t k0 = 0; k0 < seeds; k0 += 4) {
        std::vector<ScoredCandidate> batch;
        for (std::size_t k = k0; k < std::min(seeds, k0 + 4); ++k) {
            CandidateEntry one = entry;
            one.budget = 0;
            one.settings.seed = entry.settings.seed + k;
            batch.push_back({entry.label + "-s" + std::to_string(one.settings.seed), entry.kind, one.settings.seed,
                             candidateLayout(array, one, "."), Scores()});
        }
        scoreAll(batch);
        for (std::size_t k = 1; k < scored.size(); ++k)
            if (better(scored[k].scores, scored[best].scores, entry.gainFloor))
                best = k;
        if (bestSoFar)
            bestSoFar(scored[best], scored.size());
    }
    ScoredCandidate current = scored[best];

    // Moves of a few elements of the best so far: each move keeps every rule, two proposals a round.
    std::mt19937_64 rng(entry.settings.seed ^ 0x9e3779b97f4a7c15ULL);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::size_t moved = std::max<std::size_t>(1, current.elements.size() / 40);
    const double reach = entry.displacement > 0 ? entry.displacement : 2 * array.elementRadius;
    std::size_t round = 0;
    while (scored.size() < entry.budget) {
        std::vector<ScoredCandidate> proposals;
        for (std::size_t p = 0; p < 2 && scored.size() + proposals.size() < entry.budget; ++p) {
            ScoredCandidate c = current;
            c.label = entry.label + "-m" + std::to_string(round + 1) + "." + std::to_string(p + 1);
            for (std::size_t m = 0; m < moved; ++m) {
                const std::size_t n =
                    static_cast<std::size_t>(unit(rng) * static_cast<double>(c.elements.size())) % c.elements.size();
                for (int attempt = 0; attempt < 20; ++attempt) {
                    const double r = reach * std::sqrt(unit(rng)), phi = 2 * M_PI * unit(rng);
                    const ElementPosition old = c.elements[n];
                    c.elements[n] = {old.x + r * std::cos(phi), old.y + r * std::sin(phi)};
                    if (checkLayout(array, c.elements, entry.settings.gap).valid())
                        break;
                    c.elements[n] = old;
                }
            }
            proposals.push_back(c);
        }
        const std::size_t from = scored.size();
        scoreAll(proposals);
        // The best proposal of the round replaces the current layout unless it is worse: drifting
        // along a plateau of equal steerable area keeps the search moving.
        std::size_t top = from;
        for (std::size_t k = from + 1; k < scored.size(); ++k)
            if (better(scored[k].scores, scored[top].scores, entry.gainFloor))
                top = k;
        if (top < scored.size() && !better(current.scores, scored[top].scores, entry.gainFloor))
            current = scored[top];
        if (bestSoFar)
            bestSoFar(current, scored.size());
        ++round;
    }
    return scored;
}

std::size_t batchSize(const std::vector<CandidateEntry> &entries)
{
    std::size_t n = 0;
    for (const CandidateEntry &s : expandEnsembles(entries))
        n += s.budget ? s.budget : 1;
    return n;
}

std::vector<ScoredCandidate> runDesignBatch(const ArrayGeometry &array, const Medium &medium,
                                            const ScoreSettings &settings, const std::vector<CandidateEntry> &entries,
                                            const std::string &folder, parallel::Ranks ranks,
                                            const BatchProgress &progress, const BestSoFar &bestSoFar)
{
    // Every layout is made and checked before anything is scored: a bad candidate fails at once.
    std::vector<ScoredCandidate> plain;
    std::vector<CandidateEntry> searches;
    for (const CandidateEntry &s : expandEnsembles(entries)) {
        if (s.budget) {
            CandidateEntry probe = s;
            probe.budget = 0;
            candidateLayout(array, probe, folder);
            searches.push_back(s);
        } else {
            plain.push_back(
                {s.label, s.kind, s.kind == "file" ? 0 : s.settings.seed, candidateLayout(array, s, folder), Scores()});
        }
    }
    std::size_t done = 0;
    const auto counted = [&](std::size_t) { return !progress || progress(++done); };
    std::vector<std::vector<ElementPosition>> layouts;
    for (const ScoredCandidate &c : plain)
        layouts.push_back(c.elements);
    const std::vector<Scores> s = scoreLayouts(array, medium, settings, layouts, ranks, counted);
    for (std::size_t k = 0; k < plain.size(); ++k)
        plain[k].scores = s[k];
    for (const CandidateEntry &search : searches)
        for (ScoredCandidate &c : optimise(array, medium, settings, search, ranks, counted, bestSoFar))
            plain.push_back(std::move(c));
    return plain;
}

std::string designTableText(const std::vector<ScoredCandidate> &rows)
{
    std::string t = "label\tkind\tseed\telements\tfill_factor\tgain\tlateral_width_m\taxial_length_m\tworst_side\t"
                    "steerable_area\n";
    for (const ScoredCandidate &c : rows) {
        const Scores &s = c.scores;
        t += c.label + "\t" + c.kind + "\t" + std::to_string(c.seed) + "\t" + std::to_string(s.elementCount) + "\t"
             + allDigits(s.fillFactor) + "\t" + allDigits(s.gain) + "\t" + allDigits(s.lateralWidth) + "\t"
             + allDigits(s.axialLength) + "\t" + allDigits(s.worstSide) + "\t" + allDigits(s.steerableArea) + "\n";
    }
    return t;
}

std::vector<ScoredCandidate> parseDesignTable(const std::string &bytes)
{
    const std::vector<std::string> lines = splitLines(bytes);
    std::vector<ScoredCandidate> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> w = splitTokens(lines[i]);
        if (w.empty())
            continue;
        double v[8];
        bool ok = w.size() == 10;
        for (std::size_t k = 0; ok && k < 8; ++k)
            ok = parseNumber(w[k + 2], v[k]);
        if (!ok)
            throw JobError(std::string(designTableName()) + ", строка " + std::to_string(i + 1)
                           + ": ожидаются имя, вид и восемь чисел");
        ScoredCandidate c;
        c.label = w[0];
        c.kind = w[1];
        c.seed = static_cast<std::uint64_t>(v[0]);
        c.scores.elementCount = static_cast<std::size_t>(v[1]);
        c.scores.fillFactor = v[2];
        c.scores.gain = v[3];
        c.scores.lateralWidth = v[4];
        c.scores.axialLength = v[5];
        c.scores.worstSide = v[6];
        c.scores.steerableArea = v[7];
        rows.push_back(c);
    }
    return rows;
}

std::string elementsFileText(const std::vector<ElementPosition> &elements)
{
    std::string t;
    for (const ElementPosition &e : elements)
        t += allDigits(e.x) + " " + allDigits(e.y) + "\n";
    return t;
}

Distribution distribution(std::vector<double> values, std::size_t bins)
{
    Distribution d;
    if (values.empty())
        return d;
    std::sort(values.begin(), values.end());
    const auto quantile = [&](double q) {
        const double at = q * static_cast<double>(values.size() - 1);
        const std::size_t i = static_cast<std::size_t>(at);
        const double f = at - static_cast<double>(i);
        return i + 1 < values.size() ? values[i] + f * (values[i + 1] - values[i]) : values[i];
    };
    d.median = quantile(0.5);
    d.p5 = quantile(0.05);
    d.p95 = quantile(0.95);
    d.lowest = values.front();
    d.highest = values.back();
    d.histogram.assign(std::max<std::size_t>(bins, 1), 0);
    const double span = d.highest - d.lowest;
    for (double v : values) {
        std::size_t b = span > 0 ? static_cast<std::size_t>((v - d.lowest) / span * static_cast<double>(bins)) : 0;
        ++d.histogram[std::min(b, d.histogram.size() - 1)];
    }
    return d;
}

} // namespace kcalc::design
