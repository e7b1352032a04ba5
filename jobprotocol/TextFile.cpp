#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "JobProtocol.h"

namespace kjobs {

namespace {

bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

bool isUtf8(const std::string &bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const int follow = c < 0x80                ? 0
                           : c >= 0xC2 && c < 0xE0 ? 1
                           : c >= 0xE0 && c < 0xF0 ? 2
                           : c >= 0xF0 && c < 0xF5 ? 3
                                                   : -1;
        if (follow < 0 || bytes.size() - i <= static_cast<std::size_t>(follow))
            return false;
        for (int k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(follow) + 1;
    }
    return true;
}

void appendUtf8(std::string &out, unsigned cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Windows-1251 bytes 0x80 .. 0xBF as Unicode code points (0xC0 .. 0xFF are U+0410 .. U+044F).
constexpr unsigned kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// Decodes one UTF-8 sequence at bytes[i], advancing i; U+FFFD for a malformed one.
unsigned nextCodePoint(const std::string &bytes, std::size_t &i)
{
    const unsigned char c = static_cast<unsigned char>(bytes[i++]);
    const int follow = c < 0x80                ? 0
                       : c >= 0xC2 && c < 0xE0 ? 1
                       : c >= 0xE0 && c < 0xF0 ? 2
                       : c >= 0xF0 && c < 0xF5 ? 3
                                               : -1;
    if (follow < 0)
        return 0xFFFD;
    unsigned cp = follow == 0 ? c : c & (0x3F >> follow);
    for (int k = 0; k < follow; ++k) {
        if (i >= bytes.size() || (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(bytes[i++]) & 0x3F);
    }
    return cp;
}

// The digits of `value` rounded to six significant digits with an exact tie rounded away from
// zero, as the application's text stream rounds (to_chars and printf round a tie to even).
double roundTiesAway(double value)
{
    char exact[1100];
    // Almost every value is told apart by its first digits; only a candidate takes the exact
    // expansion (at most 767 significant digits for a double).
    auto end = std::to_chars(exact, exact + sizeof exact, std::fabs(value), std::chars_format::scientific, 12).ptr;
    if (exact[7] != '5' || std::string(exact + 8, end).find_first_not_of('0') != std::string(exact + 8, end).find('e'))
        return value;
    end = std::to_chars(exact, exact + sizeof exact, std::fabs(value), std::chars_format::scientific, 800).ptr;
    const std::string text(exact, end);
    const std::size_t e = text.find('e');
    // "d.ddddd5000...e+XX": digit 7 is a 5 with nothing after it.
    if (e == std::string::npos || text[7] != '5' || text.find_first_not_of('0', 8) != e)
        return value;
    std::string digits = text.substr(0, 1) + text.substr(2, 5);
    int carry = 1;
    for (std::size_t k = digits.size(); k-- > 0 && carry;) {
        const int d = digits[k] - '0' + carry;
        digits[k] = static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    const std::string rounded = (carry ? "1" : "") + digits + "e" + std::to_string(std::stoi(text.substr(e + 1)) - 5);
    double result = 0;
    std::from_chars(rounded.data(), rounded.data() + rounded.size(), result);
    return std::signbit(value) ? -result : result;
}

} // namespace

std::string numberText(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    if (value == 0)
        return "0"; // also -0
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, roundTiesAway(value), std::chars_format::general, 6).ptr;
    return std::string(buffer, end);
}

std::string resultNumber(double value)
{
    std::string text;
    appendResultNumber(text, value);
    return text;
}

void appendResultNumber(std::string &out, double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string toCp1251(const std::string &utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned cp = nextCodePoint(utf8, i);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp >= 0x0410 && cp <= 0x044F) {
            out.push_back(static_cast<char>(0xC0 + (cp - 0x0410)));
        } else {
            char byte = '?';
            for (unsigned k = 0; k < 64; ++k)
                if (kCp1251High[k] == cp && cp != 0xFFFD)
                    byte = static_cast<char>(0x80 + k);
            out.push_back(byte);
        }
    }
    return out;
}

std::string readableText(const std::string &bytes)
{
    const bool utf8 = isUtf8(bytes);
    std::string out;
    for (const char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F)
            out.push_back('?');
        else if (c < 0x80 || utf8)
            out.push_back(ch);
        else
            appendUtf8(out, c >= 0xC0 ? 0x0410 + (c - 0xC0) : kCp1251High[c - 0x80]);
    }
    return out;
}

std::vector<std::string> splitLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    std::string current;
    bool pending = false; // characters (or an empty line) not yet stored
    for (; pos < bytes.size(); ++pos) {
        const char ch = bytes[pos];
        if (ch == '\n' || ch == '\r') {
            lines.push_back(current);
            current.clear();
            pending = false;
            if (ch == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n')
                ++pos;
        } else {
            current.push_back(ch);
            pending = true;
        }
    }
    if (pending)
        lines.push_back(current);
    return lines;
}

std::vector<std::string> splitTokens(const std::string &line)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isSpace(line[i]))
            ++i;
        std::size_t j = i;
        while (j < line.size() && !isSpace(line[j]))
            ++j;
        if (j > i)
            tokens.push_back(line.substr(i, j - i));
        i = j;
    }
    return tokens;
}

bool parseNumber(const std::string &token, double &value)
{
    const char *first = token.data();
    const char *last = token.data() + token.size();
    if (first != last && *first == '+') { // from_chars does not take an explicit plus sign
        ++first;
        if (first == last || *first == '+' || *first == '-')
            return false;
    }
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    return result.ec == std::errc() && result.ptr == last;
}

std::string TextFile::where(std::size_t index, const char *what) const
{
    return "Ошибка в файле " + name + ", строка " + std::to_string(index + 1) + " (" + what + ")";
}

std::vector<std::string> TextFile::tokens(std::size_t index, const char *what) const
{
    if (index >= lines.size())
        throw JobError(where(index, what) + ": строка отсутствует (в файле " + std::to_string(lines.size())
                       + " строк)");
    return splitTokens(lines[index]);
}

std::string TextFile::lastToken(std::size_t index, const char *what) const
{
    const std::vector<std::string> words = tokens(index, what);
    if (words.empty())
        throw JobError(where(index, what) + ": строка пуста");
    return words.back();
}

double TextFile::lastNumber(std::size_t index, const char *what) const
{
    const std::string token = lastToken(index, what);
    double value = 0;
    if (!parseNumber(token, value))
        throw JobError(where(index, what) + ": \"" + readableText(token) + "\" не является числом");
    if (!std::isfinite(value))
        throw JobError(where(index, what) + ": недопустимое значение \"" + readableText(token) + "\"");
    return value;
}

void TextFile::lastNumbers(std::size_t first, std::initializer_list<NumberLine> numbers) const
{
    std::size_t index = first;
    for (const NumberLine &n : numbers)
        *n.value = lastNumber(index++, n.what);
}

long TextFile::lastCount(std::size_t index, const char *what, Count count) const
{
    const double value = lastNumber(index, what);
    const bool whole = value == std::floor(value);
    if (count == Count::Whole && (!whole || std::fabs(value) > 2e9))
        throw JobError(where(index, what) + ": число точек " + resultNumber(value) + " не является целым");
    if (count == Count::Positive && (!whole || value < 1 || value > 1e9))
        throw JobError(where(index, what) + ": число точек должно быть целым положительным, задано "
                       + resultNumber(value));
    return static_cast<long>(value);
}

TextFile readTextFile(const std::string &dir, const std::string &name)
{
    const std::string path = dir.empty() ? name : dir + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw JobError("Не удалось открыть файл " + name + " (" + path + ")");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw JobError("Ошибка чтения файла " + name + " (" + path + ")");
    TextFile file;
    file.name = name;
    file.lines = splitLines(bytes.str());
    return file;
}

} // namespace kjobs
