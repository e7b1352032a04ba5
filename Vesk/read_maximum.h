#ifndef READ_MAXIMUM_H
#define READ_MAXIMUM_H

#include <QString>

// The field maximum of a scan job: the seventh number of its field result text file (the last
// number of the header of AbsField_XY.txt / AbsField_YZ.txt). A missing file or a header that ends
// before the seventh number gives 0.
double read_maximum(QString name);

#endif // READ_MAXIMUM_H
