#include "form_fields.h"

#include <QLineEdit>
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

namespace {
void install(QLineEdit *field, const char *pattern)
{
    field->setValidator(new QRegExpValidator(QRegExp(QString::fromLatin1(pattern)), field));
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

} // namespace formfields
