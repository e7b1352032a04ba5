#include "main_params.h"

#include <cmath>

#include "shared_params.h"

namespace mainparams {

const char *const errorTitle = "Ошибка!";
const char *const noFileText = "Такого файла не существует! Выберете другой файл.";
const char *const badElementsText = "Ошибка при чтении массива элементов. Проверьте текстовый файл!";
const char *const apertureText =
    "Радиус решетки превышает радиус кривизны. Проверьте правильность введенных параметров!";
const char *const elementText =
    "Радиус элемента превышает радиус решетки. Проверьте правильность введенных параметров!";
const char *const holeText = "Радиус отверстия превышает радиус решетки. Проверьте правильность введенных параметров!";
const char *const noPdfText = "Невозможно открыть pdf файл!";

const char *const exampleTitle = "Параметры по умолчанию ";
const char *const exampleElementFile = "/Elements_Quist_Marvane.txt";

void setExampleArray()
{
    shared::A = 0.17;
    shared::R = 0.13f;
    shared::nu = 1e6;
    shared::r = 0.0035;
    shared::c = 1500;
    shared::ro = 1000;
    shared::rotv = 0.02;
}
const char *const aboutTitle = "О программе";

double intensityFromPressure(double pressure, double ro, double c)
{
    return pressure * pressure / 2 / ro / c;
}

double pressureFromIntensity(double intensity, double ro, double c)
{
    return std::sqrt(2 * ro * c * intensity);
}

QString geometryError(double A, float R, double r, double rotv)
{
    // 2 * R stays single precision, as the shared radius is; equality passes the first two checks.
    if (A > 2 * R)
        return QString::fromUtf8(apertureText);
    if (r > A / 2)
        return QString::fromUtf8(elementText);
    if (rotv >= A / 2)
        return QString::fromUtf8(holeText);
    return QString();
}

QString exampleText()
{
    return QString::fromUtf8("В качестве примера рассмотрена типичная решетка для ультразвуковой хирургии:<br /><br />"
                             "256 круглых элементов диаметром 7 мм, случайно (без периодичности) расположенных на "
                             "сферической чаше с апертурой 17 см и радиусом кривизны 13 см, с центральным отверстием "
                             "диаметром 4 см; рабочая частота 1 МГц. Положения элементов взяты из файла "
                             "Elements_Quist_Marvane.txt в папке программы.");
}

QString aboutText()
{
    return QString::fromUtf8("<b>Kormax</b> — планирование многоэлементных фазированных решеток для фокусированной "
                             "ультразвуковой хирургии, версия 0.1<br /><br />"
                             "© Команда Kormax, 2026. Все права защищены.<br /><br />"
                             "Авторы: команда разработчиков Kormax.<br /><br />"
                             "Программирование: C++17, Qt 5, Qwt 6, OpenGL; расчет поля — программа kormax-calc "
                             "(OpenMP, OpenBLAS).");
}

} // namespace mainparams
