#ifndef KCALC_MESSAGES_H
#define KCALC_MESSAGES_H

// Every line the calculator program writes to the user (log.txt, stderr, its windows), in one
// place: fixed texts as constants, texts with values as functions that put the values in.
// The job files' readers and the checks name the file and the value in their own errors.

#include <string>

namespace kcalc::msg {

// ---- The program ----
// kinds "field|main_max|...", folders "calc/, main_max/, ...".
inline std::string usage(const std::string &kinds, const std::string &folders)
{
    return "Использование: kormax-calc " + kinds + " [--no-gui]\nЗапускается из папки задания (" + folders + ").\n";
}
constexpr const char *kNoLogFile = "Не удалось создать log.txt в папке задания; журнал выводится только в stderr";
inline std::string jobStart(const std::string &title, const std::string &kind, const std::string &dir)
{
    return title + " (" + kind + "), папка задания: " + dir;
}
inline std::string readingFiles(const std::string &names)
{
    return "Чтение файлов задания: " + names;
}
inline std::string progress(const std::string &percent, const std::string &elapsed, const std::string &remaining)
{
    return "Выполнено " + percent + ", прошло " + elapsed + ", осталось " + remaining;
}
constexpr const char *kUnknownRemaining = "?";
inline std::string doneIn(const std::string &duration)
{
    return "Готово за " + duration;
}
constexpr const char *kCancelledNoMarker = "Расчет прерван; признак завершения calcdone не записан";
constexpr const char *kFailedNoMarker = "Расчет не выполнен; признак завершения calcdone не записан";
constexpr const char *kMarkerWritten = "Записан признак завершения calcdone";
constexpr const char *kUnknownError = "неизвестная ошибка";
inline std::string rankFailed(int rank, int size, const std::string &message)
{
    return "ранг " + std::to_string(rank) + " из " + std::to_string(size) + ": " + message;
}
constexpr const char *kCancelled = "Расчет прерван пользователем";
constexpr const char *kSuperseded =
    "В папке задания запущен более новый расчет; этот расчет остановлен, его результаты не записаны";
// The message box of a run that failed before its window appeared.
constexpr const char *kErrorTitle = "Ошибка!";
inline std::string failureBox(const std::string &title, const std::string &message)
{
    return title + ": " + message;
}

// ---- The progress window ----
constexpr const char *kWindowTitle = "Kormax — программа расчета";
constexpr const char *kRunning = "Идет расчет...";
constexpr const char *kCancel = "Отмена";
constexpr const char *kClose = "Закрыть";
constexpr const char *kFinished = "Расчет завершен";
constexpr const char *kCancelling = "Отмена расчета...";
constexpr const char *kErrorPrefix = "Ошибка: ";
constexpr const char *kTimes = "Прошло: %1    Осталось: %2";
constexpr const char *kUnknownTime = "—";

// ---- The field job ----
inline std::string fieldChecked(const std::string &k, const std::string &wavelength, std::size_t points,
                                std::size_t pairs)
{
    return "Проверка пройдена. Волновое число k = " + k + " 1/м, длина волны = " + wavelength
           + " м, точек сетки: " + std::to_string(points) + ", пар элемент-точка: " + std::to_string(pairs);
}
inline std::string fieldMethod(int threads)
{
    return "Расчет: интеграл Рэлея по каждому элементу (точная одномерная формула для круглого поршня), "
           "фокусировка сопряжением фаз; потоков OpenMP: "
           + std::to_string(threads);
}
inline std::string fieldComputed(const std::string &duration, const std::string &nsPerPair)
{
    return "Расчет выполнен за " + duration + " (" + nsPerPair + " нс на пару элемент-точка)";
}
inline std::string fieldSummary(const std::string &focusPressure, const std::string &maximum, const std::string &x,
                                const std::string &y, const std::string &z)
{
    return "|p(F)|/p0 = " + focusPressure + "; максимум |p|/p0 на сетке = " + maximum + " в точке (" + x + ", " + y
           + ", " + z + ") м";
}
inline std::string pointsBehindCap(std::size_t count)
{
    return "Точек сетки позади плоскости хотя бы одного элемента: " + std::to_string(count)
           + ". Они лежат за излучающей чашей, вне среды: элемент дает вклад только в полупространство "
             "перед своей плоскостью, позади нее его вклад равен нулю";
}
constexpr const char *kFocusPressureNotFinite = "Давление в фокусе не является конечным числом; результат не записан";
inline std::string fieldWritten(const std::string &result, const std::string &focusPressure)
{
    return "Результат записан в " + result + ", |p(F)|/p0 в " + focusPressure;
}

// ---- The scan jobs ----
inline std::string scanChecked(std::size_t points, std::size_t positions, std::size_t elements,
                               const std::string &mebibytes)
{
    return "Проверка пройдена. Точек области расчета поля: " + std::to_string(points)
           + ", положений фокуса: " + std::to_string(positions) + ", элементов: " + std::to_string(elements)
           + "; память около " + mebibytes + " МиБ";
}
inline std::string scanMethod(const std::string &blasCore, bool sideMaxima, int threads)
{
    return "Расчет: поля элементов на сетке области расчета поля и в положениях фокуса (один раз), затем для "
           "каждого блока положений фокуса произведение матриц (OpenBLAS "
           + blasCore + ", одинарная точность) с поиском максимума" + (sideMaxima ? " и главного лепестка" : "")
           + "; потоков OpenMP: " + std::to_string(threads);
}
inline std::string scanTimes(const std::string &elementFields, const std::string &scan)
{
    return "Поля элементов: " + elementFields + "; перебор положений фокуса: " + scan;
}
inline std::string scanBest(const std::string &value, const std::string &x, const std::string &y, const std::string &z,
                            const std::string &fieldMax)
{
    return "Наибольший главный максимум p_F/p_max = " + value + " в положении фокуса (" + x + ", " + y + ", " + z
           + ") м; максимум поля там |p|/p0 = " + fieldMax;
}
inline std::string scanWritten(const std::string &files)
{
    return "Результаты записаны в " + files;
}

} // namespace kcalc::msg

#endif // KCALC_MESSAGES_H
