#ifndef RESULT_HDF5_H
#define RESULT_HDF5_H

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <vector>

// A result on a 2D grid as an HDF5 file that h5py, MATLAB's h5read and any other HDF5 reader open
// without knowing Kormax:
//
//   /values     float64 [n1][n2]  the result; attributes "quantity", "units", "axes" (the names of
//                                 its two dimensions in order, "x y": values[i][j] lies at
//                                 axis1[i], axis2[j]; MATLAB shows the array transposed, n2 x n1)
//   /<axis1>    float64 [n1]      coordinates along the first dimension; attribute "units"
//   /<axis2>    float64 [n2]      coordinates along the second dimension; attribute "units"
//   /elements   float64 [N][2]    element centres x, y (m), when the export carries them
//   /           attributes: "software" and every parameter of the export (numbers, texts, lists
//               of numbers), names with their units ("frequency_Hz")
struct Hdf5Axis {
    QString name; // dataset name ("x", "y", "z", "r")
    QString unit;
    std::vector<double> values;
};

struct Hdf5Result {
    QString quantity, unit;
    Hdf5Axis axis1, axis2;
    std::vector<double> values; // axis1.values.size() * axis2.values.size(), axis 2 fastest
    // Attributes of the file: QVariant holding a double, an int, a bool, a QString or a QVariantList of
    // numbers.
    QList<QPair<QString, QVariant>> attributes;
    std::vector<std::vector<double>> elements; // rows x, y in m
};

// Writes `result` to `path`, first under a temporary name that is renamed into place, so a failed
// export never leaves a broken file nor destroys an earlier one. False with `error` set (naming
// the file) when the sizes disagree or the file cannot be written.
bool writeResultHdf5(const QString &path, const Hdf5Result &result, QString *error = nullptr);

#endif // RESULT_HDF5_H
