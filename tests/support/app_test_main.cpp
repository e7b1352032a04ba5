#include <QApplication>
#include <gtest/gtest.h>

#include "form_fields.h"
#include "navigator.h"
#include "test_support.h"

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Moving between windows closes the last visible one; the tests end the application themselves.
    app.setQuitOnLastWindowClosed(false);
    testsupport::installDefaultHooks();
    navigator::install();
    formfields::useNumberLocale();
    return RUN_ALL_TESTS();
}
