#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "build_list_of_elem.h"
#include "shared_params.h"
#include "test_support.h"

namespace {
class ElementFile : public ::testing::Test
{
protected:
    // Writes the file, loads it and returns what build_list_of_elem said.
    bool load(const QByteArray &contents)
    {
        const QString path = dir.path() + "/elements.txt";
        testsupport::writeAll(path, contents);
        return build_list_of_elem(path);
    }
    QTemporaryDir dir;
};
} // namespace

TEST_F(ElementFile, OnePairIsOneElementInMetresWithYFlipped)
{
    ASSERT_TRUE(load("1 2\n"));
    ASSERT_EQ(shared::Elem.size(), 1u);
    EXPECT_DOUBLE_EQ(shared::Elem[0][0], 0.01);
    EXPECT_DOUBLE_EQ(shared::Elem[0][1], -0.02);
}

TEST_F(ElementFile, PairsKeepFileOrderWhateverTheWhiteSpaceAndNumberSyntax)
{
    ASSERT_TRUE(load("1.5 -2\n\t-3e0   4.25\r\n+5\n6\n\n"));
    ASSERT_EQ(shared::Elem.size(), 3u);
    EXPECT_DOUBLE_EQ(shared::Elem[0][0], 0.015);
    EXPECT_DOUBLE_EQ(shared::Elem[0][1], 0.02);
    EXPECT_DOUBLE_EQ(shared::Elem[1][0], -0.03);
    EXPECT_DOUBLE_EQ(shared::Elem[1][1], -0.0425);
    EXPECT_DOUBLE_EQ(shared::Elem[2][0], 0.05);
    EXPECT_DOUBLE_EQ(shared::Elem[2][1], -0.06);
}

TEST_F(ElementFile, HeaderWordsAreSkippedTwoAtATime)
{
    ASSERT_TRUE(load("x y\n1 2\n3 4\n"));
    ASSERT_EQ(shared::Elem.size(), 2u);
    EXPECT_DOUBLE_EQ(shared::Elem[1][0], 0.03);

    ASSERT_TRUE(load("pos x pos y\n1 2\n3 4\n"));
    EXPECT_EQ(shared::Elem.size(), 2u);
}

TEST_F(ElementFile, ThreeHeaderWordsShiftThePairingAndFail)
{
    // "c" is paired with 1 (a y without x), then 2 3 and 4 alone: the counts come out equal but
    // the pairs are wrong, which must not pass as a good load.
    EXPECT_FALSE(load("a b c\n1 2\n3 4\n"));
    EXPECT_FALSE(load("a b c\n1 2\n"));
}

TEST_F(ElementFile, EmptyWordsOnlyAndOddCountsFail)
{
    EXPECT_FALSE(load(""));
    EXPECT_TRUE(shared::Elem.empty());
    EXPECT_FALSE(load("no numbers here\n"));
    EXPECT_FALSE(load("1 2\n3\n"));
    // A failed read keeps the complete pairs read so far.
    EXPECT_EQ(shared::Elem.size(), 1u);
    EXPECT_FALSE(load("1 2\n3 word\n4 5\n"));
}

TEST_F(ElementFile, NonFiniteNumbersFail)
{
    for (const QByteArray &text : {QByteArray("1 2\nnan 4\n"), QByteArray("1 inf\n"), QByteArray("1 2\n-inf 3\n")})
        EXPECT_FALSE(load(text)) << text.constData();
}

TEST_F(ElementFile, ThreeNumbersPerLineAreReadAcrossLineEnds)
{
    // The format has two numbers per element: six numbers make three (wrong) pairs, five fail.
    ASSERT_TRUE(load("1 2 3\n4 5 6\n"));
    ASSERT_EQ(shared::Elem.size(), 3u);
    EXPECT_DOUBLE_EQ(shared::Elem[1][0], 0.03);
    EXPECT_DOUBLE_EQ(shared::Elem[1][1], -0.04);
    EXPECT_FALSE(load("1 2 3\n4 5\n"));
}

TEST_F(ElementFile, MissingFileFailsWithNoElements)
{
    ASSERT_TRUE(load("1 2\n"));
    EXPECT_FALSE(build_list_of_elem(dir.path() + "/missing.txt"));
    EXPECT_TRUE(shared::Elem.empty());
}
