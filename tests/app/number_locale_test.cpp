// Numbers read the same whatever the user's locale. ctest runs this file as it is and again under
// LC_ALL=ru_RU.UTF-8 and LC_ALL=de_DE.UTF-8 (comma locales with a group separator).
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <clocale>
#include <qwt_scale_draw.h>

#include "form_fields.h"
#include "print_qt.h"

TEST(NumberLocale, TheRequestedLocaleIsInstalled)
{
    // Without the locale the C library falls back to "C" and the other tests prove nothing.
    const QByteArray wanted = qgetenv("LC_ALL");
    if (wanted.startsWith("ru_RU") || wanted.startsWith("de_DE")) {
        EXPECT_EQ(QLocale::system().decimalPoint(), QChar(','));
        EXPECT_NE(std::setlocale(LC_NUMERIC, nullptr), nullptr);
        EXPECT_STRNE(std::setlocale(LC_NUMERIC, nullptr), "C")
            << wanted.constData() << " is not generated: run scripts/install-deps.sh";
    }
}

TEST(NumberLocale, ScalesAndSpinBoxesShowThePointAndNoGroupSeparator)
{
    // Plot axes and the colour bar label their ticks through the scale draw.
    QwtScaleDraw scale;
    EXPECT_EQ(scale.label(0.2).text(), QString("0.2"));
    EXPECT_EQ(scale.label(2500).text(), QString("2500"));
    EXPECT_EQ(scale.label(-12500.5).text(), QString("-12500.5"));

    QDoubleSpinBox box;
    box.setRange(0, 100000);
    box.setValue(2500.25);
    EXPECT_EQ(box.text(), QString("2500.25"));
}

TEST(NumberLocale, ATypedCommaBecomesThePoint)
{
    QLineEdit step;
    formfields::setupNumberField(&step, formfields::Sign::Unsigned);
    QTest::keyClicks(&step, "0,05");
    EXPECT_EQ(step.text(), QString("0.05"));
    EXPECT_DOUBLE_EQ(formfields::fieldValue(step.text()), 0.05);

    QLineEdit focus;
    formfields::setupNumberField(&focus, formfields::Sign::Signed);
    QTest::keyClicks(&focus, "-1,5");
    EXPECT_EQ(focus.text(), QString("-1.5"));
    // A second separator is still refused, whichever key typed it.
    QTest::keyClicks(&focus, ",");
    EXPECT_EQ(focus.text(), QString("-1.5"));
}
