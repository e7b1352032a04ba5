#include "form_fields.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QRegExpValidator>

namespace formfields {

const char *const unsignedPattern = "^[0-9]*[.]{1}[0-9]*$";
const char *const signedPattern = "^[-]{0,1}[0-9]*[.]{1}[0-9]*$";
const char *const countPattern = "^[0-9]{1,5}$";

QString numberText(double value)
{
    return QString::number(value, 'g', 6);
}

QString fieldText(double value)
{
    return numberText(value).left(maxChars);
}

double fieldValue(const QString &text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? value : 0.0;
}

void useNumberLocale()
{
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    QLocale::setDefault(numbers);
}

namespace {
// The keystroke rule, with a typed or pasted comma taken for the decimal point: a user of a
// comma locale types "0,05" and sees "0.05", the text every other rule reads.
class NumberValidator : public QRegExpValidator
{
public:
    NumberValidator(const char *pattern, QObject *parent) :
        QRegExpValidator(QRegExp(QString::fromLatin1(pattern)), parent)
    {}
    State validate(QString &input, int &pos) const override
    {
        input.replace(QLatin1Char(','), QLatin1Char('.'));
        return QRegExpValidator::validate(input, pos);
    }
};

void install(QLineEdit *field, const char *pattern)
{
    field->setValidator(new NumberValidator(pattern, field));
    field->setMaxLength(maxChars);
}
} // namespace

void setupNumberField(QLineEdit *field, Sign sign)
{
    install(field, sign == Sign::Signed ? signedPattern : unsignedPattern);
}

void setupCountField(QLineEdit *field)
{
    install(field, countPattern);
}

FieldTexts formTexts(const QWidget *form)
{
    return [form](const char *name) {
        const QLineEdit *edit = form->findChild<QLineEdit *>(name);
        return edit ? edit->text() : QString();
    };
}

} // namespace formfields
