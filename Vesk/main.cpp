#include <QApplication>

#include "shared_params.h"

int main(int argc, char *argv[])
{
    shared::resetEntryFlags();
    QApplication app(argc, argv);
    return 0;
}
