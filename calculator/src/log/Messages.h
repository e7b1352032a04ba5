#ifndef KCALC_MESSAGES_H
#define KCALC_MESSAGES_H

// Every line the calculator program writes to the user (log.txt, stderr, its windows), in one
// place: fixed texts as constants, texts with values as functions that put the values in.
// The job files' readers' texts are the job-file library's (JobMessages.h, included here).

#include <string>

#include "JobMessages.h"

namespace kcalc::msg {

// ---- The program ----
// kinds "field|main_max|...", folders "calc/, main_max/, ...".
inline std::string usage(const std::string &kinds, const std::string &folders)
{
    return "Использование: kormax-calc " + kinds + " [--no-gui]\nЗапускается из папки задания (" + folders + ").\n";
}
// A session file run as a job (kormax-calc SESSION.kormax KIND --out FOLDER).
constexpr const char *kSessionUsage =
    "Использование: kormax-calc СЕАНС.kormax field|main_max|side_max --out ПАПКА [--no-gui]\n";
inline std::string jobFileNotWritten(const std::string &path)
{
    return "Не удалось записать файл задания " + path;
}
inline std::string folderNotEntered(const std::string &folder)
{
    return "Не удалось перейти в папку " + folder;
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
constexpr const char *kErrorLine = "ОШИБКА: "; // before every error in the log
// Durations for people (printf formats): seconds below a minute, then minutes and seconds.
constexpr const char *kSecondsFormat = "%.1f с";
constexpr const char *kMinutesFormat = "%d мин %02d с";
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

// ---- The job folder and the result files ----
inline std::string folderNotLocked(const std::string &reason)
{
    return "Не удалось заблокировать папку задания: " + reason;
}
inline std::string folderNotWritable(const std::string &dir, const std::string &reason)
{
    return "Папка задания недоступна для записи (" + dir + "): " + reason + "; расчет не начат";
}
inline std::string lockNotCreated(const std::string &path, const std::string &reason)
{
    return "Папка задания недоступна для записи: не удалось создать файл блокировки " + path + ": " + reason
           + "; расчет не начат";
}
inline std::string lockNotWritten(const std::string &path, const std::string &reason)
{
    return "Не удалось записать файл блокировки " + path + ": " + reason;
}
inline std::string writeFailed(const std::string &name, const std::string &reason)
{
    return "Ошибка записи файла " + name + ": " + reason;
}
inline std::string resultNotFinite(const std::string &name, std::size_t bad, std::size_t first, std::size_t count)
{
    return "Результат " + name + " содержит " + std::to_string(bad)
           + " нечисловых или бесконечных значений (первое — в записи " + std::to_string(first) + " из "
           + std::to_string(count) + "); результат не записан";
}
inline std::string createFailed(const std::string &name, const std::string &temp, const std::string &reason)
{
    return "Не удалось создать файл " + name + " (" + temp + "): " + reason;
}
inline std::string flushFailed(const std::string &name, const std::string &reason)
{
    return "Ошибка записи файла " + name + " на диск: " + reason;
}
inline std::string closeFailed(const std::string &name, const std::string &reason)
{
    return "Ошибка закрытия файла " + name + ": " + reason;
}
inline std::string renameFailed(const std::string &temp, const std::string &name, const std::string &reason)
{
    return "Не удалось переименовать " + temp + " в " + name + ": " + reason;
}
inline std::string oldMarkerKept(const std::string &path, const std::string &reason)
{
    return "Не удалось удалить старый признак завершения calcdone (" + path + "): " + reason;
}

// ---- Checks of a job's input ----
// Every refusal of a value read: "Ошибка в файле <file>: <what>".
inline std::string inFile(const std::string &file, const std::string &what)
{
    return "Ошибка в файле " + file + ": " + what;
}
// "<what> вне допустимых пределов (от lo до hi unit): value".
inline std::string outOfRange(const std::string &what, const std::string &lo, const std::string &hi,
                              const std::string &unit, const std::string &value)
{
    return what + " вне допустимых пределов (от " + lo + " до " + hi + (unit.empty() ? "" : " ") + unit + "): " + value;
}
// Quantities of the array and medium files: their name in a message, symbol and unit.
struct Quantity {
    const char *name, *symbol, *unit;
};
constexpr Quantity kCurvatureRadius{"радиус кривизны", "R", "м"};
constexpr Quantity kElementRadius{"радиус элементов", "a", "м"};
constexpr Quantity kAperture{"апертура", "A", "м"};
constexpr Quantity kHoleRadius{"радиус отверстия", "r_отв", "м"};
constexpr Quantity kFrequency{"рабочая частота", "f", "Гц"};
constexpr Quantity kDensity{"плотность", "ro", "кг/м3"};
constexpr Quantity kSoundSpeed{"скорость звука", "c", "м/с"};
constexpr Quantity kAbsorption{"поглощение", "pvs", "дБ/см/МГц"};
constexpr const char *kMetres = "м";
constexpr const char *kCurvatureNotPositive = "радиус кривизны должен быть положительным: ";
constexpr const char *kElementRadiusNotPositive = "радиус элементов должен быть положительным: ";
constexpr const char *kFrequencyNotPositive = "рабочая частота должна быть положительной: ";
constexpr const char *kApertureNegative = "апертура не может быть отрицательной: ";
constexpr const char *kHoleRadiusNegative = "радиус отверстия не может быть отрицательным: ";
constexpr const char *kDensityNotPositive = "плотность должна быть положительной: ";
constexpr const char *kSoundSpeedNotPositive = "скорость звука должна быть положительной: ";
constexpr const char *kAbsorptionNegative = "поглощение не может быть отрицательным: ";
constexpr const char *kArrayWiderThanSphere = "радиус решетки превышает радиус кривизны";
constexpr const char *kElementWiderThanArray = "радиус элемента превышает радиус решетки";
constexpr const char *kHoleWiderThanArray = "радиус отверстия превышает радиус решетки";
constexpr const char *kNoElements = "решетка не содержит ни одного элемента";
inline std::string elementOutsideSphere(std::size_t number, const std::string &x, const std::string &y,
                                        const std::string &R)
{
    return "элемент " + std::to_string(number) + " (x = " + x + " м, y = " + y + " м) лежит вне сферы радиуса R = " + R
           + " м";
}
inline std::string tooFewPoints(bool firstAxis, long count)
{
    return std::string(firstAxis ? "по первой оси" : "по второй оси")
           + " задано менее двух точек: " + std::to_string(count) + (firstAxis ? " (строка 3)" : " (строка 4)");
}
inline std::string stepNotPositive(bool firstAxis, const std::string &step)
{
    return std::string(firstAxis ? "шаг по первой оси" : "шаг по второй оси") + " должен быть положительным: " + step
           + (firstAxis ? " (строка 7)" : " (строка 8)");
}
inline std::string gridTooLarge(long count1, long count2, const std::string &most)
{
    return "слишком большая сетка: " + std::to_string(count1) + " x " + std::to_string(count2)
           + " точек (допустимо не более " + most + ")";
}
constexpr const char *kPlaneCoordinate = "координата плоскости (строка 2)";
constexpr const char *kStep1 = "шаг по первой оси (строка 7)";
constexpr const char *kStep2 = "шаг по второй оси (строка 8)";
constexpr const char *kStart1 = "начало первой оси (строка 5)";
constexpr const char *kStart2 = "начало второй оси (строка 6)";
constexpr const char *kEnd1 = "конец первой оси";
constexpr const char *kEnd2 = "конец второй оси";
constexpr const char *kFocusCoordinate = "координата фокуса";
inline std::string elementTooLarge(const std::string &ka, const std::string &most, const std::string &f,
                                   const std::string &a, const std::string &c)
{
    return "Ошибка в файлах array.txt и medium.txt: волновой размер элемента k·a = 2π·f·a/c = " + ka
           + " больше допустимого " + most + " (f = " + f + " Гц, a = " + a + " м, c = " + c
           + " м/с): поле такого элемента не может быть рассчитано с нужной точностью. Уменьшите частоту или радиус "
             "элемента";
}
inline std::string scanPlanesDiffer(bool focusAxial, bool fieldAxial)
{
    return std::string("Ошибка в файлах grid_calc.txt и grid_scan.txt: область смещения фокуса задана в ")
           + (focusAxial ? "аксиальной (yz)" : "поперечной (xy)") + " плоскости, а область расчета поля — в "
           + (fieldAxial ? "аксиальной (yz)" : "поперечной (xy)");
}
inline std::string scanTooLarge(std::size_t points, std::size_t positions, std::size_t elements,
                                const std::string &needMiB, const std::string &haveMiB)
{
    return "Слишком большие сетки оценки качества (grid_calc.txt, grid_scan.txt): для " + std::to_string(points)
           + " точек области расчета поля, " + std::to_string(positions) + " положений фокуса и "
           + std::to_string(elements) + " элементов нужно около " + needMiB + " МиБ памяти, доступно " + haveMiB
           + " МиБ";
}

// ---- The parameters of a job in the log ----
inline std::string gridLine(bool transverse, const std::string &fixed, const std::string &start1,
                            const std::string &step1, long count1, const std::string &start2, const std::string &step2,
                            long count2)
{
    const char *a1 = transverse ? "x" : "y", *a2 = transverse ? "y" : "z";
    return std::string(transverse ? "поперечная плоскость z = " : "аксиальная плоскость x = ") + fixed + " м; " + a1
           + " от " + start1 + " шаг " + step1 + ", " + std::to_string(count1) + " точек; " + a2 + " от " + start2
           + " шаг " + step2 + ", " + std::to_string(count2) + " точек";
}
inline std::string arrayLine(const std::string &A, const std::string &R, const std::string &a, const std::string &f,
                             const std::string &hole, std::size_t elements)
{
    return "Решетка: апертура A = " + A + " м, радиус кривизны R = " + R + " м, радиус элементов a = " + a
           + " м, частота f = " + f + " Гц, радиус отверстия = " + hole + " м, элементов: " + std::to_string(elements);
}
inline std::string mediumLine(const std::string &density, const std::string &c, const std::string &heatCapacity,
                              const std::string &absorption)
{
    return "Среда: плотность = " + density + " кг/м3, скорость звука c = " + c + " м/с, теплоемкость = " + heatCapacity
           + " Дж/кг/К, поглощение = " + absorption + " дБ/см/МГц";
}
inline std::string focusLine(const std::string &x, const std::string &y, const std::string &z)
{
    return "Фокус: (" + x + ", " + y + ", " + z + ") м";
}
inline std::string gridOfFile(const std::string &region, const std::string &file, const std::string &grid)
{
    return region + " (" + file + "): " + grid;
}
constexpr const char *kFieldGrid = "Сетка";
constexpr const char *kFocusRegion = "Область смещения фокуса";
constexpr const char *kFieldRegion = "Область расчета поля";

// ---- The volume and heating jobs ----
inline std::string needsMemory(const std::string &what, const std::string &needMiB, const std::string &haveMiB)
{
    return what + ": нужно около " + needMiB + " МиБ памяти, доступно " + haveMiB
           + " МиБ. Уменьшите область или число шагов";
}
inline std::string boxTooLarge(const std::string &file, long nx, long ny, long nz)
{
    return "Слишком большая область (" + file + ", " + std::to_string(nx) + " x " + std::to_string(ny) + " x "
           + std::to_string(nz) + " точек)";
}
inline std::string heatedBoxTooLarge(const std::string &file, long nx, long ny, long nz)
{
    return "Слишком большая область нагрева (" + file + ", " + std::to_string(nx) + " x " + std::to_string(ny) + " x "
           + std::to_string(nz) + " точек с запасом)";
}
// "Ошибка в файле <file>, строка <line> (<what>)": a value of a job file refused by a check.
using kjobs::texts::atLine;
inline std::string notPositive(const std::string &value)
{
    return ": значение должно быть больше нуля, задано " + value;
}
inline std::string negative(const std::string &value)
{
    return ": значение не может быть отрицательным, задано " + value;
}
constexpr const char *kBoxStepNames[] = {"шаг по x", "шаг по y", "шаг по z"};
inline std::string boxStepOutOfRange(const std::string &step)
{
    return ": шаг должен быть от 1 нм до 1 км, задано " + step + " м";
}
inline std::string boxTooFar(const std::string &coordinate)
{
    return "область выходит за 1 км от начала координат (координата " + coordinate + " м)";
}
inline std::string noAbsorption(const std::string &absorption)
{
    return "В файле medium.txt поглощение в среде равно " + absorption
           + " дБ/(см·МГц): среда без поглощения ультразвуком не нагревается. Выберите ткань с поглощением";
}
constexpr const char *kHeatCapacity = "теплоемкость";
constexpr const char *kSourcePressure = "давление на элементах";
constexpr const char *kHeatingTime = "время нагрева";
constexpr const char *kCoolingTime = "время остывания";
constexpr const char *kDoseStep = "шаг дозы";
constexpr const char *kConductivity = "теплопроводность";
constexpr const char *kPerfusion = "перфузия";
constexpr const char *kBloodHeatCapacity = "теплоемкость крови";
constexpr const char *kBaseline = "температура тела";
constexpr const char *kDoseThreshold = "порог дозы";
inline std::string baselineOutOfRange(const std::string &value)
{
    return ": ожидается от 0 до 60 °C, задано " + value;
}
inline std::string tooManyDoseSteps(const std::string &step, const std::string &steps, const std::string &duration,
                                    long most)
{
    return "шаг дозы " + step + " с дает " + steps + " шагов на " + duration + " с, допустимо не более "
           + std::to_string(most) + ". Увеличьте шаг";
}
inline std::string boxChecked(std::size_t points, const std::string &mebibytes)
{
    return "Проверка пройдена. Точек области: " + std::to_string(points) + "; память около " + mebibytes + " МиБ";
}
inline std::string volumeMethod(int threads)
{
    return "Расчет: поле решетки в объеме, слой за слоем поперек оси; потоков OpenMP: " + std::to_string(threads);
}
inline std::string volumeComputed(const std::string &duration, const std::string &focusPressure,
                                  const std::string &maximum)
{
    return "Расчет выполнен за " + duration + "; |p(F)|/p0 = " + focusPressure + ", максимум |p|/p0 = " + maximum;
}
inline std::string volumeWritten(const std::string &result)
{
    return "Результат записан в " + result;
}
inline std::string heatingMethod(const std::string &paddingMm, long nx, long ny, long nz, int threads)
{
    return "Расчет: поле в объеме, источник тепла q = 2·α·I, уравнение Пеннеса спектральным методом (FFTW, точное "
           "решение по времени для каждой гармоники); запас вокруг области "
           + paddingMm + " мм, сетка " + std::to_string(nx) + " x " + std::to_string(ny) + " x " + std::to_string(nz)
           + "; потоков OpenMP: " + std::to_string(threads);
}
// lesion: "длина L м, ширина W м" (lesionSize) or "нет" (kNoLesion).
inline std::string heatingComputed(const std::string &duration, const std::string &peak, const std::string &x,
                                   const std::string &y, const std::string &z, const std::string &lesion)
{
    return "Расчет выполнен за " + duration + ". Наибольшая температура " + peak + " °C в точке (" + x + ", " + y + ", "
           + z + ") м; очаг: " + lesion;
}
inline std::string lesionSize(const std::string &length, const std::string &width)
{
    return "длина " + length + " м, ширина " + width + " м";
}
constexpr const char *kNoLesion = "нет";
inline std::string boxLine(long nx, long ny, long nz, const std::string &x0, const std::string &y0,
                           const std::string &z0, const std::string &dx, const std::string &dy, const std::string &dz)
{
    return "Область (grid_volume.txt): " + std::to_string(nx) + " x " + std::to_string(ny) + " x " + std::to_string(nz)
           + " точек от (" + x0 + ", " + y0 + ", " + z0 + ") м с шагами " + dx + ", " + dy + ", " + dz + " м";
}
inline std::string sonicationLine(const std::string &p0, const std::string &heating, const std::string &cooling,
                                  const std::string &doseStep, const std::string &k, const std::string &wb,
                                  const std::string &cb, const std::string &T0, const std::string &threshold)
{
    return "Нагрев (heating.txt): p0 = " + p0 + " Па, нагрев " + heating + " с, остывание " + cooling + " с, шаг дозы "
           + doseStep + " с; k = " + k + " Вт/(м·К), w_b = " + wb + " кг/(м³·с), c_b = " + cb + " Дж/(кг·К), T0 = " + T0
           + " °C, порог дозы " + threshold + " CEM43 мин";
}

// ---- The field job ----
inline std::string fieldChecked(const std::string &k, const std::string &wavelength, std::size_t points,
                                std::size_t pairs)
{
    return "Проверка пройдена. Волновое число k = " + k + " 1/м, длина волны = " + wavelength
           + " м, точек сетки: " + std::to_string(points) + ", пар элемент-точка: " + std::to_string(pairs);
}
inline std::string fieldMethod(int threads)
{
    return "Расчет: интеграл Рэлея по каждому элементу (точная одномерная формула для круглого поршня), фокусировка "
           "сопряжением фаз; потоков OpenMP: "
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
           + ". Они лежат за излучающей чашей, вне среды: элемент дает вклад только в полупространство перед своей "
             "плоскостью, позади нее его вклад равен нулю";
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
    return "Расчет: поля элементов на сетке области расчета поля и в положениях фокуса (один раз), затем для каждого "
           "блока положений фокуса произведение матриц (OpenBLAS "
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
inline std::string resultsWritten(const std::string &files)
{
    return "Результаты записаны в " + files;
}

} // namespace kcalc::msg

#endif // KCALC_MESSAGES_H
