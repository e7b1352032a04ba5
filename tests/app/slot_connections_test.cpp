#include <gtest/gtest.h>

#include <QStringList>

#include "axialquality_wnd.h"
#include "design_wnd.h"
#include "mainwindow.h"
#include "radialquality_wnd.h"
#include "show_vesk_wnd.h"
#include "test_support.h"

// Slots are connected by object name: a renamed widget would silently disconnect its slot, and Qt
// only says so with a warning while the form is set up. Every window built here must set up clean.
namespace {
QStringList unmatched;
QtMessageHandler previous = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains("No matching signal for") || message.contains("QMetaObject::connectSlotsByName"))
        unmatched << message;
    if (previous)
        previous(type, context, message);
}

class SlotConnections : public ::testing::Test
{
protected:
    void SetUp() override
    {
        unmatched.clear();
        previous = qInstallMessageHandler(collect);
    }
    void TearDown() override { qInstallMessageHandler(previous); }
};
} // namespace

TEST_F(SlotConnections, EveryWindowConnectsAllItsSlots)
{
    {
        MainWindow mainWindow; // builds its array window as well
        Show_Vesk_wnd arrayWindow;
        AxialQuality_wnd axialQuality;
        RadialQuality_wnd radialQuality;
        Design_wnd design(layoutdesign::DesignArray{}, QString());
    }
    EXPECT_TRUE(unmatched.isEmpty()) << unmatched.join("\n").toStdString();
}

TEST_F(SlotConnections, ARenamedWidgetIsCaught)
{
    // The check itself: with a button renamed, its slot finds no signal and Qt warns.
    MainWindow w;
    ASSERT_TRUE(unmatched.isEmpty());
    w.findChild<QObject *>("pushButton_4")->setObjectName("renamed");
    QMetaObject::connectSlotsByName(&w);
    ASSERT_EQ(unmatched.size(), 1);
    EXPECT_TRUE(unmatched[0].contains("on_pushButton_4_clicked"));
}
