// Design batches: the candidate list, the search against plain seeds, the ensemble statistics.

#include <gtest/gtest.h>

#include "design/DesignBatch.h"
#include "geometry/ArrayLayout.h"
#include "params/JobError.h"

using namespace kcalc;
using namespace kcalc::design;

TEST(DesignBatch, CandidateListErrorsNameTheirLine)
{
    const struct {
        const char *text;
        const char *named;
    } cases[] = {
        {"", "нет ни одного кандидата"},
        {"a random count=4\nb squares count=4\n", "строка 2"},
        {"a random count=-4\n", "count"},
        {"a random count=4.5\n", "count"},
        {"a random gap=x\n", "gap"},
        {"a file\n", "elements="},
        {"a random colour=red\n", "colour"},
        {"a random seeds=3 budget=4\n", "seeds и budget"},
        {"lonely\n", "строка 1"},
    };
    for (const auto &c : cases) {
        try {
            parseCandidates(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const JobError &e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << c.text << " -> " << e.what();
        }
    }
    // What it writes it reads back, ensembles expanded into their seeds.
    const std::vector<CandidateEntry> entries = parseCandidates("r random count=8 gap=0.001 seed=5 seeds=3 # study\n"
                                                                "q file elements=/tmp/x.txt\n");
    const std::vector<CandidateEntry> again = parseCandidates(candidatesText(entries));
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1].elementFile, "/tmp/x.txt");
    const std::vector<CandidateEntry> seeds = expandEnsembles(again);
    ASSERT_EQ(seeds.size(), 4u);
    EXPECT_EQ(seeds[2].label, "r-3");
    EXPECT_EQ(seeds[2].settings.seed, 7u);
    EXPECT_EQ(batchSize(parseCandidates("s random budget=6\nr random seeds=2\n")), 8u);
}

TEST(DesignBatch, CandidateBreakingTheRulesIsNamed)
{
    ArrayGeometry array = exampleArray();
    CandidateEntry entry = parseCandidates("crowded random count=1000 gap=0.0005\n")[0];
    try {
        candidateLayout(array, entry, ".");
        ADD_FAILURE();
    } catch (const JobError &e) {
        EXPECT_NE(std::string(e.what()).find("crowded"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("помещается"), std::string::npos) << e.what();
    }
}

TEST(DesignBatch, SearchBeatsTheBestOfAsManySeeds)
{
    // The example's cap and gap with 128 elements, the side maxima on narrower planes for speed.
    const ArrayGeometry array = exampleArray();
    ScoreSettings settings;
    settings.sideHalfWidth = 8;
    settings.fieldRefinement = 1;
    const CandidateEntry search = parseCandidates("o random count=128 gap=0.0005 seed=1 budget=16\n")[0];
    const std::vector<ScoredCandidate> found = optimise(array, water(), settings, search, {});
    ASSERT_EQ(found.size(), 16u);
    for (const ScoredCandidate &c : found)
        EXPECT_TRUE(checkLayout(array, c.elements, 0.0005).valid()) << c.label;

    std::vector<std::vector<ElementPosition>> seeds;
    for (const CandidateEntry &s : expandEnsembles(parseCandidates("b random count=128 gap=0.0005 seed=1 seeds=16\n")))
        seeds.push_back(candidateLayout(array, s, "."));
    const std::vector<Scores> plain = scoreLayouts(array, water(), settings, seeds, {});
    const auto bestOf = [](std::vector<Scores> s) {
        return *std::min_element(s.begin(), s.end(), [](const Scores &a, const Scores &b) { return better(a, b, 0); });
    };
    std::vector<Scores> searched;
    for (const ScoredCandidate &c : found)
        searched.push_back(c.scores);
    const Scores a = bestOf(searched), b = bestOf(plain);
    EXPECT_TRUE(better(a, b, 0)) << "search: area " << a.steerableArea << ", side " << a.worstSide << "; seeds: area "
                                 << b.steerableArea << ", side " << b.worstSide;
}

TEST(DesignBatch, DistributionOfAnEnsemble)
{
    std::vector<double> v;
    for (int k = 0; k < 21; ++k)
        v.push_back(20 - k); // 0 .. 20 in reverse
    const Distribution d = distribution(v, 4);
    EXPECT_DOUBLE_EQ(d.median, 10);
    EXPECT_DOUBLE_EQ(d.p5, 1);
    EXPECT_DOUBLE_EQ(d.p95, 19);
    EXPECT_EQ(d.histogram, (std::vector<std::size_t>{5, 5, 5, 6}));
    EXPECT_DOUBLE_EQ(distribution({3, 3, 3}).median, 3);
    EXPECT_EQ(distribution({3, 3, 3}).histogram[0], 3u);
}
