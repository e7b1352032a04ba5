#include "plane_fields.h"

#include <QLineEdit>

#include "form_fields.h"
#include "shared_params.h"

namespace planefields {

Display displayRule(const QStringList &inputs, DigitTest test)
{
    for (const QString &t : inputs) {
        if (t.isEmpty())
            return Display::Blank;
    }
    if (test == DigitTest::Yes) {
        for (const QString &t : inputs) {
            if (!t.back().isDigit())
                return Display::Keep;
        }
    }
    return Display::Update;
}

void deriveDisplay(QLineEdit *display, std::initializer_list<const QLineEdit *> inputs, DigitTest test,
                   const std::function<QString()> &text)
{
    QStringList texts;
    for (const QLineEdit *e : inputs)
        texts << e->text();
    switch (displayRule(texts, test)) {
    case Display::Blank:
        display->setText(" ");
        break;
    case Display::Keep:
        break;
    case Display::Update:
        display->setText(text());
        break;
    }
}

bool allFilled(std::initializer_list<const QLineEdit *> fields)
{
    for (const QLineEdit *e : fields)
        if (e->text().isEmpty())
            return false;
    return true;
}

QString halfWidthText(double n, double step)
{
    return formfields::numberText((n - 1) * step * 100);
}

QString zmaxText(double zmin, double nz, double dz)
{
    return formfields::numberText(zmin * 100 + (nz - 1) * dz * 100);
}

void setResultType(int index)
{
    using namespace shared;
    is_dl_press = is_press = is_intens = is_dl_intens = false;
    switch (index) {
    case 1:
        is_press = true;
        break;
    case 2:
        is_intens = true;
        break;
    case 3:
        is_dl_intens = true;
        break;
    default:
        is_dl_press = true;
        break;
    }
}

} // namespace planefields
