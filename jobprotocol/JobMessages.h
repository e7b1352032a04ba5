#ifndef KJOBS_JOB_MESSAGES_H
#define KJOBS_JOB_MESSAGES_H

// What the job files' readers say about a file they cannot read or a value they refuse (the texts
// of JobError, shown by the calculator in its log and window). The calculator's own texts are in
// calculator/src/log/Messages.h, which includes these.

#include <cstddef>
#include <string>

namespace kjobs::texts {

inline std::string notOpened(const std::string &name, const std::string &path)
{
    return "Не удалось открыть файл " + name + " (" + path + ")";
}
inline std::string notRead(const std::string &name, const std::string &path)
{
    return "Ошибка чтения файла " + name + " (" + path + ")";
}
// How every message about one line begins.
inline std::string atLine(const std::string &name, std::size_t line, const std::string &what)
{
    return "Ошибка в файле " + name + ", строка " + std::to_string(line) + " (" + what + ")";
}
inline std::string lineMissing(std::size_t lines)
{
    return ": строка отсутствует (в файле " + std::to_string(lines) + " строк)";
}
constexpr const char *kLineEmpty = ": строка пуста";
inline std::string notANumber(const std::string &token)
{
    return ": \"" + token + "\" не является числом";
}
inline std::string notFinite(const std::string &token)
{
    return ": недопустимое значение \"" + token + "\"";
}
inline std::string countNotWhole(const std::string &value)
{
    return ": число точек " + value + " не является целым";
}
inline std::string countNotPositive(const std::string &value)
{
    return ": число точек должно быть целым положительным, задано " + value;
}
inline std::string notTwoNumbers(const std::string &line)
{
    return ": ожидаются два числа x y, а строка содержит \"" + line + "\"";
}
inline std::string planeKindAfter(const std::string &kind)
{
    return ": \"" + kind + "\" — ожидается xy или yz";
}
inline std::string planeKindBefore(const std::string &kind)
{
    return ": ожидается xy или yz, задано " + kind;
}
// The start of a message about a line of array_elements.txt (no label: every line is an element).
inline std::string elementLine(std::size_t line)
{
    return "Ошибка в файле array_elements.txt, строка " + std::to_string(line);
}

} // namespace kjobs::texts

#endif // KJOBS_JOB_MESSAGES_H
