#include "shared_params.h"

namespace shared {

double A = 0;
float R = 0;
double r = 0;
double rotv = 0;
double nu = 0;
double ro = 0;
double c = 0;
float C = 4200;
float pvs = 0;
int medium = 0;
double initpres = 0;
double initintens = 0;

double xF = 0, yF = 0, zF = 0;
bool xF_is_set = false, yF_is_set = false, zF_is_set = false;

QString name;
VDOUB2 Elem;

int kmax = 13;
QVector<bool> CH;
int k = 0;

double zop = 0, Nxp = 0, Nyp = 0, dxp = 0, dyp = 0, rxp = 0, ryp = 0;
bool zop_is_set = false, Nxp_is_set = false, Nyp_is_set = false, dxp_is_set = false, dyp_is_set = false;

double zminpr = 0, phipr = 0, Nrpr = 0, Nzpr = 0, drpr = 0, dzpr = 0, zmaxpr = 0, rpr = 0;
bool zminpr_is_set = false, phipr_is_set = false, Nrpr_is_set = false, Nzpr_is_set = false, drpr_is_set = false,
     dzpr_is_set = false;

bool is_poper = false, is_prodol = false, is_foc = false, is_scan = false, is_side = false;

bool is_dl_press = false, is_press = false, is_intens = false, is_dl_intens = false;

QString file_to_calc;
int Nx_G = 0, Ny_G = 0;

bool is_press_qual = false, is_intens_qual = false;
int Nx_G_qual = 0, Ny_G_qual = 0;
int Nx_G_qual_main = 0, Ny_G_qual_main = 0;
int Nx_G_qual_side = 0, Ny_G_qual_side = 0;
QList<double> contourLevels, contourLevels_main, contourLevels_side;
double XF_max_pos = 0, YF_max_pos = 0;
QString file_to_calc_qual, file_to_calc_field_in_max;
QString name_of_file_main_max_axial, name_of_file_side_max_axial;
QString name_of_file_main_max_poper, name_of_file_side_max_poper;

void resetEntryFlags()
{
    xF_is_set = yF_is_set = zF_is_set = false;
    zop_is_set = Nxp_is_set = Nyp_is_set = dxp_is_set = dyp_is_set = false;
    zminpr_is_set = phipr_is_set = Nrpr_is_set = Nzpr_is_set = drpr_is_set = dzpr_is_set = false;
}

} // namespace shared
