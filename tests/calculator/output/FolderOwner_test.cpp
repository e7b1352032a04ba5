#include "output/FolderOwner.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "../JobFolder.h"
#include "params/JobError.h"

using namespace kcalc;

// The application removes the lock files when it quits; a run still going in the folder then
// publishes nothing, and neither does a run whose lock was replaced by a newer run's.
TEST(FolderOwner, RunWhoseLockIsGoneOrReplacedPublishesNothing)
{
    testjob::TempDir dir;
    int published = 0;
    const auto publish = [&published] { ++published; };
    {
        FolderOwner owner(dir.path());
        EXPECT_TRUE(owner.isNewest());
        owner.publish(publish);
        EXPECT_EQ(published, 1);

        ASSERT_EQ(std::remove(dir.file(".calc.lock").c_str()), 0);
        EXPECT_FALSE(owner.isNewest());
        EXPECT_THROW(owner.publish(publish), JobSuperseded);
        EXPECT_EQ(published, 1);
    }

    FolderOwner older(dir.path());
    FolderOwner newer(dir.path());
    EXPECT_FALSE(older.isNewest());
    EXPECT_THROW(older.publish(publish), JobSuperseded);
    newer.publish(publish);
    EXPECT_EQ(published, 2);
}
