#ifndef HDF5_EXPORT_H
#define HDF5_EXPORT_H

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include "result_hdf5.h"
#include "shared_params.h"

// The HDF5 export of a result plot (layout in result_hdf5.h): the plot's arrays with their axes in
// metres and the shared parameters of the session as attributes of the file, SI units in the names.

// The shared parameters: array, medium with its preset, source, focus, element positions file and
// both calculation planes; "software" names the program and its version.
QList<QPair<QString, QVariant>> sessionAttributes();

// A plot's arrays (coordinates in centimetres, values as shown) as an export. ax "zr" (axial
// plane: axes z, r) or "xy" (transverse: x, y); title: the plot's title, rich text allowed, whose
// part after the last comma is the unit of the values (none: dimensionless).
Hdf5Result plotHdf5(const VDOUB3 &z, const QString &ax, const QString &title);

// plotHdf5 with sessionAttributes() and the element list, written to path (false: error set).
bool writePlotHdf5(const QString &path, const VDOUB3 &z, const QString &ax, const QString &title, QString *error);

#endif // HDF5_EXPORT_H
