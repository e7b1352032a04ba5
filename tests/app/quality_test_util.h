#ifndef QUALITY_TEST_UTIL_H
#define QUALITY_TEST_UTIL_H

// What the quality window tests share: the array of the worked examples (R = 12 cm, A = 10 cm), a
// temporary application directory, message boxes recorded and batch-file starts noted instead of
// made.

#include <gtest/gtest.h>

#include <QStringList>

#include "plane_test_util.h"
#include "quality_wnd.h"
#include "test_support.h"

namespace qualitytest {

// The texts of the named fields, in order.
inline QStringList texts(QWidget *w, std::initializer_list<const char *> names)
{
    QStringList list;
    for (const char *n : names)
        list << planetest::edit(w, n)->text();
    return list;
}

class QualityWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        planetest::resetShared();
        shared::R = 0.12f;
        shared::A = 0.1;
        testsupport::BoxRecorder::instance().clear();
        platform::setScreenOverride(96, QRect(0, 0, 1600, 1200));
        platform::setStartDetachedHandler([this](const QString &program, const QStringList &, const QString &workDir) {
            started << program;
            startDirs << workDir;
            return startResult;
        });
    }
    void TearDown() override
    {
        platform::setScreenOverride(0, QRect());
        testsupport::installDefaultHooks();
    }

    QStringList boxTexts() const { return testsupport::BoxRecorder::instance().texts(); }

    testsupport::TempAppDir dir;
    QStringList started, startDirs;
    bool startResult = true;
};

} // namespace qualitytest

#endif // QUALITY_TEST_UTIL_H
