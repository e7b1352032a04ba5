#ifndef KCALC_TEXT_FILE_H
#define KCALC_TEXT_FILE_H

#include <string>
#include <vector>

namespace kcalc {

// A job file split into lines, as the application writes them: 8-bit labels (Windows-1251 or any
// other ASCII-compatible code page; the bytes of a label are never interpreted), LF or CR LF line
// ends, the last line with or without a line end.
struct TextFile {
    std::string name;               // file name as it appears in messages, e.g. "array.txt"
    std::vector<std::string> lines; // without line-end characters

    // Whitespace-separated tokens of line `index` (0-based). Throws JobError if the line is missing.
    std::vector<std::string> tokens(std::size_t index, const char *what) const;

    // The value of a labelled line: its last whitespace-separated token, read as a finite
    // C-locale number (the text stream's %g form: 0.08, 1e+06, -0.024). Throws JobError naming
    // the file, the line, `what` and the offending text.
    double lastNumber(std::size_t index, const char *what) const;

    // The line's last token as text (e.g. "xy"). Throws JobError if the line is missing or empty.
    std::string lastToken(std::size_t index, const char *what) const;
};

// Reads `dir/name`. Throws JobError when the file is missing or unreadable.
TextFile readTextFile(const std::string &dir, const std::string &name);

// Splits raw bytes into lines (LF, CR LF or a lone CR end a line; a UTF-8 byte-order mark is skipped).
std::vector<std::string> splitLines(const std::string &bytes);

// Splits a line at spaces, tabs and other ASCII whitespace.
std::vector<std::string> splitTokens(const std::string &line);

// Parses a whole token as a C-locale floating-point number, independent of the process locale.
// Returns false for text that is not entirely a number. Non-finite values ("inf", "nan") parse
// and are rejected by the callers.
bool parseNumber(const std::string &token, double &value);

// Text from a job file as it may be quoted in a message (the log is UTF-8): valid UTF-8 stays as
// it is, anything else is read as Windows-1251 (the code page of the application's labels);
// control characters become '?'.
std::string readableText(const std::string &bytes);

// Formats a value for a message: the shortest text that reads back to the same double.
std::string formatNumber(double value);

} // namespace kcalc

#endif // KCALC_TEXT_FILE_H
