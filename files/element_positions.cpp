#include "element_positions.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <charconv>
#include <cmath>

namespace {
void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

void appendShortest(QByteArray &out, double v)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    out.append(text, int(end - text));
}
} // namespace

bool readElementPositions(const QString &path, std::vector<std::vector<double>> *elements, QString *error)
{
    elements->clear();
    int xCount = 0;
    int yCount = 0;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        setError(error, "Не удалось открыть файл положений элементов " + path + ": " + file.errorString());
        return false;
    }

    QTextStream in(&file);
    bool finite = true; // "nan" and "inf" parse as numbers but are no positions
    while (!in.atEnd()) {
        // A token is a run of non-white-space characters; past the last one it is empty.
        QString token;
        in >> token;
        bool hasX = false;
        double x = token.toDouble(&hasX);
        if (hasX) {
            finite = finite && std::isfinite(x);
            x /= 100;
            ++xCount;
        }

        in >> token;
        bool hasY = false;
        double y = token.toDouble(&hasY);
        if (!hasY)
            continue; // skips the pair; an x read just before stays counted
        finite = finite && std::isfinite(y);
        y /= -100;
        ++yCount;
        if (hasX)
            elements->push_back({x, y});
    }
    file.close();

    // Equal counts alone would accept a file whose pairing slipped (three header words, a lone
    // number between words): every number counted must also have landed in a recorded pair.
    if (!finite) {
        setError(error, "В файле положений элементов " + path + " есть значения nan или inf");
        return false;
    }
    if (xCount == 0 && yCount == 0) {
        setError(error, "В файле положений элементов " + path + " нет ни одной пары чисел x y");
        return false;
    }
    if (xCount != yCount || int(elements->size()) != xCount) {
        setError(error, "Числа файла положений элементов " + path
                            + " не складываются в пары x y (нечетное число чисел или пара, разорванная словом)");
        return false;
    }
    return true;
}

QByteArray elementPositionsText(const std::vector<std::vector<double>> &elements)
{
    QByteArray out;
    for (const std::vector<double> &e : elements) {
        appendShortest(out, e.at(0) * 100);
        out += ' ';
        appendShortest(out, -e.at(1) * 100 + 0.0); // + 0.0: no "-0" for an element on the axis
        out += '\n';
    }
    return out;
}

bool writeElementPositions(const QString &path, const std::vector<std::vector<double>> &elements, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(elementPositionsText(elements)) < 0 || !file.commit()) {
        setError(error, "Не удалось записать файл положений элементов " + path + ": " + file.errorString());
        return false;
    }
    return true;
}
