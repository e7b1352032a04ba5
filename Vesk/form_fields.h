#ifndef FORM_FIELDS_H
#define FORM_FIELDS_H

#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

// How the parameter forms show and read numbers: every numeric field holds at most six characters,
// numbers are printed with up to six significant digits and then cut to the field, and whatever is
// read back is the shown text.
namespace formfields {

// Keystroke rules of the numeric fields. A number without the point is a valid intermediate text.
extern const char *const unsignedPattern; // non-negative decimals
extern const char *const signedPattern;   // decimals with an optional leading minus
extern const char *const countPattern;    // point counts

const int maxChars = 6;

// %g-like text with at most six significant digits and no trailing zeros (0.25, 2.08333, 13).
QString numberText(double value);
// numberText cut to the field's six characters, as a field shows it (2.08333 -> 2.0833).
QString fieldText(double value);
// The decimal value of a field's text (C locale); a text that is not a number counts as 0.
double fieldValue(const QString &text);

// Makes every number the toolkit shows (plot scales, colour bars, spin boxes) read the same
// whatever the user's locale: a decimal point and no group separator ("2500", "0.2"). Called once
// before the first window is built.
void useNumberLocale();

// The text of a form's field by object name (empty for a name the form lacks); formTexts reads a
// window's own line edits.
using FieldTexts = std::function<QString(const char *)>;
FieldTexts formTexts(const QWidget *form);

enum class Sign { Unsigned, Signed };
// Installs the decimal validator (a typed comma becomes the point) and the six-character limit.
void setupNumberField(QLineEdit *field, Sign sign);
// Installs the point-count validator and the six-character limit.
void setupCountField(QLineEdit *field);

} // namespace formfields

#endif // FORM_FIELDS_H
