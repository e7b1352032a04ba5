#include "params/TextFile.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "params/JobError.h"

namespace kcalc {

namespace {

bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

std::string lineRef(const TextFile &file, std::size_t index, const char *what)
{
    return file.name + ", строка " + std::to_string(index + 1) + " (" + what + ")";
}

} // namespace

std::vector<std::string> splitLines(const std::string &bytes)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    std::string current;
    bool pending = false;  // characters (or an empty line) not yet stored
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
    if (first != last && *first == '+') {  // from_chars does not take an explicit plus sign
        ++first;
        if (first == last || *first == '+' || *first == '-')
            return false;
    }
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    return result.ec == std::errc() && result.ptr == last;
}

std::string formatNumber(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::vector<std::string> TextFile::tokens(std::size_t index, const char *what) const
{
    if (index >= lines.size())
        throw JobError("Ошибка в файле " + lineRef(*this, index, what) + ": строка отсутствует (в файле "
                       + std::to_string(lines.size()) + " строк)");
    return splitTokens(lines[index]);
}

std::string TextFile::lastToken(std::size_t index, const char *what) const
{
    const std::vector<std::string> words = tokens(index, what);
    if (words.empty())
        throw JobError("Ошибка в файле " + lineRef(*this, index, what) + ": строка пуста");
    return words.back();
}

double TextFile::lastNumber(std::size_t index, const char *what) const
{
    const std::string token = lastToken(index, what);
    double value = 0;
    if (!parseNumber(token, value))
        throw JobError("Ошибка в файле " + lineRef(*this, index, what) + ": \"" + token
                       + "\" не является числом");
    if (!std::isfinite(value))
        throw JobError("Ошибка в файле " + lineRef(*this, index, what) + ": недопустимое значение \"" + token
                       + "\"");
    return value;
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

} // namespace kcalc
