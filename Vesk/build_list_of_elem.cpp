#include "build_list_of_elem.h"

#include <cmath>

#include <QFile>
#include <QTextStream>

#include "shared_params.h"

bool build_list_of_elem(const QString &name)
{
    shared::Elem.clear();
    int xCount = 0;
    int yCount = 0;

    QFile file(name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;

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
            shared::Elem.push_back(VDOUB{x, y});
    }
    file.close();

    // Equal counts alone would accept a file whose pairing slipped (three header words, a lone
    // number between words): every number counted must also have landed in a recorded pair.
    return finite && xCount == yCount && xCount != 0 && int(shared::Elem.size()) == xCount;
}
