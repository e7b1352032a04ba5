#include "grid.h"

#include <QHash>
#include <QMetaObject>
#include <QObject>

Grid::Grid(int nx, int ny, double dx, double dy, double xmin, double xmax, double ymin, double ymax) :
    dX(dx), dY(dy), Xmin(xmin), Xmax(xmax), Ymin(ymin), Ymax(ymax), Nx(nx), Ny(ny)
{}

namespace gridlife {

namespace {
// Per grid, its users with the connection that lets it go when the user is destroyed.
QHash<const Grid *, QHash<QObject *, QMetaObject::Connection>> &table()
{
    static QHash<const Grid *, QHash<QObject *, QMetaObject::Connection>> grids;
    return grids;
}
} // namespace

void share(QObject *user, Grid *g)
{
    if (!g || table()[g].contains(user))
        return;
    table()[g].insert(user, QObject::connect(user, &QObject::destroyed, [user, g] { release(user, g); }));
}

void release(QObject *user, Grid *g)
{
    auto grid = table().find(g);
    if (grid == table().end() || !grid->contains(user))
        return;
    QObject::disconnect(grid->take(user));
    if (grid->isEmpty()) {
        table().erase(grid);
        delete g;
    }
}

int users(const Grid *g)
{
    return table().value(g).size();
}

} // namespace gridlife
