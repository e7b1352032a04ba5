#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "mainwindow.h"
#include "platform.h"
#include "show_vesk_wnd.h"

// What the build lays out beside the executable for the main and array windows.
namespace {
const QString appDir = QString(KORMAX_APP_DIR);
}

TEST(ShippedFiles, HelpManualIsAMultiPagePdf)
{
    QFile pdf(appDir + "/help.pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    EXPECT_TRUE(data.startsWith("%PDF-"));
    const int pages = data.count("/Type /Page") - data.count("/Type /Pages");
    EXPECT_GE(pages, 3);
    EXPECT_TRUE(data.contains("/Image")); // the screenshots are embedded
}

TEST(ShippedFiles, PicturesLoadAndBecomeWindowIcons)
{
    for (const char *name : {"/logo_png.png", "/icon.png"}) {
        const QImage img(appDir + name);
        EXPECT_FALSE(img.isNull()) << name;
        EXPECT_GE(img.width(), 32) << name;
    }
    platform::setAppDirOverride(appDir);
    {
        MainWindow w;
        EXPECT_FALSE(w.windowIcon().isNull());
        EXPECT_FALSE(w.arrayWindow()->windowIcon().isNull());
    }
    // A missing picture leaves the window without an icon, silently.
    platform::setAppDirOverride("/nonexistent");
    {
        MainWindow w;
        EXPECT_TRUE(w.windowIcon().isNull());
    }
    platform::setAppDirOverride(QString());
}
