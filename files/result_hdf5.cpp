#include "result_hdf5.h"

#include <QByteArray>
#include <QFile>
#include <cstdio>
#include <hdf5.h>
#include <stdexcept>

namespace {

// Closes an HDF5 handle when it goes out of scope.
class Handle
{
public:
    Handle(hid_t id, herr_t (*close)(hid_t), const char *what) : m_id(id), m_close(close)
    {
        if (id < 0)
            throw std::runtime_error(what);
    }
    ~Handle() { m_close(m_id); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    operator hid_t() const { return m_id; }

private:
    hid_t m_id;
    herr_t (*m_close)(hid_t);
};

void check(herr_t status, const char *what)
{
    if (status < 0)
        throw std::runtime_error(what);
}

void writeDoubles(hid_t parent, const QByteArray &name, const std::vector<hsize_t> &dims, const double *data)
{
    const Handle space(H5Screate_simple(int(dims.size()), dims.data(), nullptr), H5Sclose, "dataspace");
    const Handle set(H5Dcreate2(parent, name.constData(), H5T_IEEE_F64LE, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT),
                     H5Dclose, "dataset");
    check(H5Dwrite(set, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, data), "dataset write");
}

void writeTextAttribute(hid_t object, const QByteArray &name, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    const Handle type(H5Tcopy(H5T_C_S1), H5Tclose, "string type");
    check(H5Tset_size(type, size_t(utf8.size()) + 1), "string size");
    check(H5Tset_strpad(type, H5T_STR_NULLTERM), "string padding");
    check(H5Tset_cset(type, H5T_CSET_UTF8), "string encoding");
    const Handle space(H5Screate(H5S_SCALAR), H5Sclose, "dataspace");
    const Handle attribute(H5Acreate2(object, name.constData(), type, space, H5P_DEFAULT, H5P_DEFAULT), H5Aclose,
                           "attribute");
    check(H5Awrite(attribute, type, utf8.constData()), "attribute write");
}

void writeNumberAttribute(hid_t object, const QByteArray &name, const std::vector<double> &values, bool scalar)
{
    const hsize_t n = values.size();
    const Handle space(scalar ? H5Screate(H5S_SCALAR) : H5Screate_simple(1, &n, nullptr), H5Sclose, "dataspace");
    const Handle attribute(H5Acreate2(object, name.constData(), H5T_IEEE_F64LE, space, H5P_DEFAULT, H5P_DEFAULT),
                           H5Aclose, "attribute");
    check(H5Awrite(attribute, H5T_NATIVE_DOUBLE, values.data()), "attribute write");
}

void writeIntAttribute(hid_t object, const QByteArray &name, long long value)
{
    const Handle space(H5Screate(H5S_SCALAR), H5Sclose, "dataspace");
    const Handle attribute(H5Acreate2(object, name.constData(), H5T_STD_I64LE, space, H5P_DEFAULT, H5P_DEFAULT),
                           H5Aclose, "attribute");
    check(H5Awrite(attribute, H5T_NATIVE_LLONG, &value), "attribute write");
}

void writeAttribute(hid_t object, const QString &name, const QVariant &value)
{
    const QByteArray key = name.toUtf8();
    switch (int(value.type())) {
    case QMetaType::Double:
    case QMetaType::Float:
        writeNumberAttribute(object, key, {value.toDouble()}, true);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        writeIntAttribute(object, key, value.toLongLong());
        break;
    case QMetaType::QString:
        writeTextAttribute(object, key, value.toString());
        break;
    case QMetaType::QVariantList: {
        std::vector<double> numbers;
        for (const QVariant &v : value.toList())
            numbers.push_back(v.toDouble());
        writeNumberAttribute(object, key, numbers, false);
        break;
    }
    default:
        throw std::runtime_error("attribute of unknown type");
    }
}

void writeAxis(hid_t file, const Hdf5Axis &axis)
{
    const QByteArray name = axis.name.toUtf8();
    writeDoubles(file, name, {axis.values.size()}, axis.values.data());
    const Handle set(H5Dopen2(file, name.constData(), H5P_DEFAULT), H5Dclose, "dataset");
    writeTextAttribute(set, "units", axis.unit);
}

void writeFile(const QByteArray &path, const Hdf5Result &r)
{
    const Handle file(H5Fcreate(path.constData(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT), H5Fclose, "file");
    const std::size_t n1 = r.axis1.values.size(), n2 = r.axis2.values.size();
    writeDoubles(file, "values", {n1, n2}, r.values.data());
    {
        const Handle set(H5Dopen2(file, "values", H5P_DEFAULT), H5Dclose, "dataset");
        writeTextAttribute(set, "quantity", r.quantity);
        writeTextAttribute(set, "units", r.unit);
        writeTextAttribute(set, "axes", r.axis1.name + " " + r.axis2.name);
    }
    writeAxis(file, r.axis1);
    writeAxis(file, r.axis2);
    if (!r.elements.empty()) {
        std::vector<double> flat;
        for (const std::vector<double> &e : r.elements)
            flat.insert(flat.end(), {e.at(0), e.at(1)});
        writeDoubles(file, "elements", {r.elements.size(), 2}, flat.data());
        const Handle set(H5Dopen2(file, "elements", H5P_DEFAULT), H5Dclose, "dataset");
        writeTextAttribute(set, "units", "m");
    }
    for (const auto &attribute : r.attributes)
        writeAttribute(file, attribute.first, attribute.second);
    check(H5Fflush(file, H5F_SCOPE_GLOBAL), "flush");
}

} // namespace

bool writeResultHdf5(const QString &path, const Hdf5Result &result, QString *error)
{
    if (result.values.size() != result.axis1.values.size() * result.axis2.values.size() || result.values.empty()) {
        if (error)
            *error = "Размеры результата не совпадают с его осями: " + path;
        return false;
    }
    // HDF5 reports its errors on stderr by default; ours go to the caller.
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    const QString part = path + ".part";
    try {
        writeFile(QFile::encodeName(part), result);
    } catch (const std::exception &e) {
        QFile::remove(part);
        if (error)
            *error = "Не удалось записать файл HDF5 " + path + " (" + e.what() + ")";
        return false;
    }
    if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(part);
        if (error)
            *error = "Не удалось записать файл HDF5 " + path;
        return false;
    }
    return true;
}
