#include <gtest/gtest.h>

#include <QFileInfo>

#include "platform.h"
#include "shared_params.h"
#include "test_support.h"

using testsupport::BoxRecorder;

TEST(SharedParams, StartValuesAndEntryFlagReset)
{
    EXPECT_EQ(shared::kmax, 13);
    EXPECT_FLOAT_EQ(shared::C, 4200.0f);
    EXPECT_FLOAT_EQ(shared::pvs, 0.0f);
    shared::xF_is_set = shared::zop_is_set = shared::dzpr_is_set = true;
    shared::resetEntryFlags();
    EXPECT_FALSE(shared::xF_is_set);
    EXPECT_FALSE(shared::zop_is_set);
    EXPECT_FALSE(shared::dzpr_is_set);
}

TEST(Platform, AppDirOverrideAndBoxesAnsweredByTests)
{
    {
        testsupport::TempAppDir dir;
        EXPECT_EQ(platform::appDir(), dir.path());
        EXPECT_TRUE(QFileInfo(dir.file("calc")).isDir());
    }
    EXPECT_NE(platform::appDir(), QString());

    BoxRecorder::instance().clear();
    BoxRecorder::instance().setAnswer(QMessageBox::Yes);
    EXPECT_EQ(platform::question(nullptr, "t", "q"), QMessageBox::Yes);
    platform::information(nullptr, "Ошибка!", "x");
    ASSERT_EQ(BoxRecorder::instance().boxes().size(), 2);
    EXPECT_EQ(BoxRecorder::instance().boxes()[1].title, QString("Ошибка!"));
    BoxRecorder::instance().clear();
}

TEST(Platform, ScreenOverride)
{
    platform::setScreenOverride(120, QRect(0, 0, 800, 600));
    EXPECT_EQ(platform::screenDpi(), 120);
    EXPECT_EQ(platform::availableGeometry(), QRect(0, 0, 800, 600));
    platform::setScreenOverride(0, QRect());
    EXPECT_GT(platform::screenDpi(), 0);
}
