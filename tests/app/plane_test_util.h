#ifndef PLANE_TEST_UTIL_H
#define PLANE_TEST_UTIL_H

// Helpers shared by the calculation plane window tests.

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QComboBox>

#include "plane_ch_wnd.h"
#include "shared_params.h"
#include "test_support.h"

namespace planetest {

// Everything the plane window reads or writes back to program start, with a small array.
inline void resetShared()
{
    using namespace shared;
    A = 0.1;
    R = 0.13f;
    r = 0.0035;
    rotv = 0.01;
    nu = 1e6;
    ro = 1000;
    c = 1500;
    pvs = 0;
    medium = 0;
    xF = yF = zF = 0;
    zop = Nxp = Nyp = dxp = dyp = rxp = ryp = 0;
    zminpr = phipr = Nrpr = Nzpr = drpr = dzpr = zmaxpr = rpr = 0;
    resetEntryFlags();
    is_poper = is_prodol = is_foc = is_scan = is_side = false;
    is_dl_press = is_press = is_intens = is_dl_intens = false;
    file_to_calc.clear();
    Nx_G = Ny_G = 0;
    Nx_G_qual = Ny_G_qual = Nx_G_qual_main = Ny_G_qual_main = Nx_G_qual_side = Ny_G_qual_side = 0;
    file_to_calc_qual.clear();
    file_to_calc_field_in_max.clear();
    name_of_file_main_max_axial.clear();
    name_of_file_side_max_axial.clear();
    name_of_file_main_max_poper.clear();
    name_of_file_side_max_poper.clear();
    Elem = {{0.01, 0.02}, {-0.01, 0}};
}

using testsupport::button;
using testsupport::edit;

inline QTabWidget *tabs(QWidget *w)
{
    return w->findChild<QTabWidget *>("tabWidget");
}

inline QComboBox *combo(QWidget *w, const char *name)
{
    return w->findChild<QComboBox *>(name);
}

// Fills the transverse tab as a user would: plane 25 x 25 points of 1 mm at 13 cm, focus on the axis.
inline void fillTransverse(QWidget *w)
{
    edit(w, "lineEdit")->setText("13.");
    edit(w, "lineEdit_10")->setText("25");
    edit(w, "lineEdit_11")->setText("25");
    edit(w, "lineEdit_2")->setText("0.1");
    edit(w, "lineEdit_3")->setText("0.1");
    edit(w, "X_Focus_Poper")->setText("0.");
    edit(w, "Y_Focus_Poper")->setText("0.");
    edit(w, "Z_Focus_Poper")->setText("13.");
}

inline void fillAxial(QWidget *w)
{
    edit(w, "lineEdit_6")->setText("5.");
    edit(w, "lineEdit_7")->setText("90.");
    edit(w, "lineEdit_8")->setText("11");
    edit(w, "lineEdit_9")->setText("6");
    edit(w, "lineEdit_5")->setText("1.");
    edit(w, "lineEdit_4")->setText("0.2");
    edit(w, "X_Focus_Axial")->setText("1.");
    edit(w, "Y_Focus_Axial")->setText("0.");
    edit(w, "Z_Focus_Axial")->setText("8.");
}

} // namespace planetest

#endif // PLANE_TEST_UTIL_H
