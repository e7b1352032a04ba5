#include "axialquality_wnd.h"
#include "ui_axialquality_wnd.h"

#include "RectIn.h"
#include "form_fields.h"
#include "job_files.h"
#include "window_requests.h"
#include "plane_fields.h"
#include "session_state.h"
#include "shared_params.h"
#include "window_common.h"

using formfields::fieldValue;
using planefields::DigitTest;

AxialQuality_wnd::AxialQuality_wnd(QWidget *parent) :
    QualityWnd({true, &shared::name_of_file_main_max_axial, &shared::name_of_file_side_max_axial}, parent),
    ui(new Ui::AxialQuality_wnd)
{
    ui->setupUi(this);
    setUpWindow("Аксиальная плоскость: оценка качества поля", ui->widget,
                {ui->pushButton, ui->pushButton_2, ui->pushButton_4, ui->pushButton_7, ui->pushButton_6});

    using formfields::Sign;
    for (QLineEdit *f :
         {ui->lineEdit_21, ui->lineEdit_6, ui->lineEdit_20, ui->lineEdit_7, ui->lineEdit_19, ui->lineEdit_8})
        formfields::setupNumberField(f, Sign::Unsigned);
    formfields::setupNumberField(ui->lineEdit_16, Sign::Signed);
    for (QLineEdit *f : {ui->lineEdit_15, ui->lineEdit_10, ui->lineEdit_17, ui->lineEdit_11})
        formfields::setupCountField(f);
}

AxialQuality_wnd::~AxialQuality_wnd()
{
    delete ui;
}

void AxialQuality_wnd::SetCalcData(double zminpr, double zmaxpr, double rpr, double phipr, double Nrpr, double Nzpr,
                                   double drpr, double dzpr)
{
    using formfields::numberText;
    // Each text fires its field's handler; the two derived fields are written last.
    ui->lineEdit_21->setText(numberText(zminpr * 100));
    ui->lineEdit_16->setText(numberText(phipr));
    ui->lineEdit_17->setText(numberText(Nrpr));
    ui->lineEdit_15->setText(numberText(Nzpr));
    ui->lineEdit_19->setText(numberText(drpr * 100));
    ui->lineEdit_20->setText(numberText(dzpr * 100));
    ui->lineEdit_18->setText(numberText(zmaxpr * 100));
    ui->lineEdit_14->setText(numberText(rpr * 100));
    shared::is_prodol = true;
    shared::is_scan = false;
    shared::is_foc = false;
    sessionstate::restoreForm(this, sessionKey());
    ui->widget->updateGL();
}

void AxialQuality_wnd::SetScaleGL()
{
    ui->widget->ClickOnBut_no_foc();
}

// ---- Reading the regions ----

AxialQuality_wnd::FocusShift AxialQuality_wnd::readFocusShift() const
{
    return scanjob::axialShiftFrom(formfields::formTexts(this));
}

// The field region is the axial calculation plane: its column always mirrors the plane globals.
void AxialQuality_wnd::readFieldRegion() const
{
    scanjob::fieldRegionFrom(true, formfields::formTexts(this));
}

// ---- Fields ----

// The focus-shift region's derived fields change only for complete numbers (a text ending in "."
// keeps them), and its counts are whole points; the field region's follow every keystroke.
void AxialQuality_wnd::focusShiftEdited()
{
    planefields::deriveDisplay(ui->lineEdit_12, {ui->lineEdit_6, ui->lineEdit_7, ui->lineEdit_10}, DigitTest::Yes,
                               [this] {
                                   return planefields::zmaxText(fieldValue(ui->lineEdit_6->text()) / 100,
                                                                int(fieldValue(ui->lineEdit_10->text())),
                                                                fieldValue(ui->lineEdit_7->text()) / 100);
                               });
    planefields::deriveDisplay(ui->lineEdit_13, {ui->lineEdit_8, ui->lineEdit_11}, DigitTest::Yes, [this] {
        return planefields::halfWidthText(int(fieldValue(ui->lineEdit_11->text())),
                                          fieldValue(ui->lineEdit_8->text()) / 100);
    });
    regionUpdate();
}

void AxialQuality_wnd::fieldEdited()
{
    planefields::deriveDisplay(
        ui->lineEdit_18, {ui->lineEdit_21, ui->lineEdit_20, ui->lineEdit_15}, DigitTest::No, [this] {
            return planefields::zmaxText(fieldValue(ui->lineEdit_21->text()) / 100, fieldValue(ui->lineEdit_15->text()),
                                         fieldValue(ui->lineEdit_20->text()) / 100);
        });
    planefields::deriveDisplay(ui->lineEdit_14, {ui->lineEdit_19, ui->lineEdit_17}, DigitTest::No, [this] {
        return planefields::halfWidthText(fieldValue(ui->lineEdit_17->text()),
                                          fieldValue(ui->lineEdit_19->text()) / 100);
    });
    regionUpdate();
}

void AxialQuality_wnd::regionUpdate()
{
    using namespace shared;
    const FocusShift s = readFocusShift();
    readFieldRegion();
    is_scan = planefields::allFilled({ui->lineEdit_6, ui->lineEdit_9, ui->lineEdit_11, ui->lineEdit_10, ui->lineEdit_8,
                                      ui->lineEdit_7, ui->lineEdit_12, ui->lineEdit_13});
    is_prodol = planefields::allFilled({ui->lineEdit_21, ui->lineEdit_16, ui->lineEdit_17, ui->lineEdit_15,
                                        ui->lineEdit_19, ui->lineEdit_20, ui->lineEdit_18, ui->lineEdit_14});

    // The reset must follow the fit, or the fit would overwrite it.
    ui->widget->SetPrPlainParam(s.zmin, s.phi, s.Nr, s.Nz, s.dr, s.dz, s.zmax, s.r);
    ui->widget->ClickOnBut_qual(s.zmax, s.r);
    if (!is_prodol && !is_scan)
        ui->widget->RescaleToOne();
    ui->widget->updateGL();

    regionsChanged(is_prodol && is_scan);
}

void AxialQuality_wnd::on_lineEdit_6_textChanged(const QString &)
{
    focusShiftEdited();
}
void AxialQuality_wnd::on_lineEdit_7_textChanged(const QString &)
{
    focusShiftEdited();
}
void AxialQuality_wnd::on_lineEdit_10_textChanged(const QString &)
{
    focusShiftEdited();
}
void AxialQuality_wnd::on_lineEdit_8_textChanged(const QString &)
{
    focusShiftEdited();
}
void AxialQuality_wnd::on_lineEdit_11_textChanged(const QString &)
{
    focusShiftEdited();
}
void AxialQuality_wnd::on_lineEdit_21_textChanged(const QString &)
{
    fieldEdited();
}
void AxialQuality_wnd::on_lineEdit_20_textChanged(const QString &)
{
    fieldEdited();
}
void AxialQuality_wnd::on_lineEdit_15_textChanged(const QString &)
{
    fieldEdited();
}
void AxialQuality_wnd::on_lineEdit_19_textChanged(const QString &)
{
    fieldEdited();
}
void AxialQuality_wnd::on_lineEdit_17_textChanged(const QString &)
{
    fieldEdited();
}

// Both regions lie in one plane: the focus-shift angle copies the field region's.
void AxialQuality_wnd::on_lineEdit_16_textChanged(const QString &text)
{
    ui->lineEdit_9->setText(text);
    regionUpdate();
}

// ---- Default regions ----

void AxialQuality_wnd::setDefaults(bool side)
{
    for (const scanjob::FieldText &f : scanjob::defaultTexts(true, side))
        findChild<QLineEdit *>(f.name)->setText(f.text);
}

void AxialQuality_wnd::on_Button_def_main_clicked()
{
    setDefaults(false);
}

void AxialQuality_wnd::on_Button_def_side_clicked()
{
    setDefaults(true);
    showSideDefaultsNote();
}

// ---- Scan runs ----

void AxialQuality_wnd::readRun(Scan kind)
{
    using namespace shared;
    m_shift = readFocusShift();
    readFieldRegion();
    Zminpr = zminpr;
    Phipr = phipr;
    FNzpr = int(Nzpr);
    FNrpr = int(Nrpr);
    Drpr = drpr;
    Dzpr = dzpr;
    const bool main = kind == Scan::Main;
    (main ? Zminpr_main : Zminpr_side) = m_shift.zmin;
    (main ? Phipr_main : Phipr_side) = m_shift.phi;
    (main ? FNzpr_main : FNzpr_side) = m_shift.Nz;
    (main ? FNrpr_main : FNrpr_side) = m_shift.Nr;
    (main ? Drpr_main : Drpr_side) = m_shift.dr;
    (main ? Dzpr_main : Dzpr_side) = m_shift.dz;
}

QByteArray AxialQuality_wnd::focusShiftGridText(Scan) const
{
    return scanjob::focusShiftGridText(m_shift);
}

QString AxialQuality_wnd::checkRun(Scan kind) const
{
    using namespace shared;
    const bool main = kind == Scan::Main;
    if (Nzpr <= 1)
        return "Область расчета поля не может быть задана менее, чем двумя точками по z";
    if (Nrpr <= 1)
        return "Область расчета поля не может быть задана менее, чем двумя точками по r";
    if (m_shift.Nz <= 1)
        return "Область смещения фокуса не может быть задана менее, чем двумя точками по z";
    if (m_shift.Nr <= 1)
        return "Область смещения фокуса не может быть задана менее, чем двумя точками по r";
    // Rectangles (zmin, zmax, rmin, rmax) of the stored regions.
    const double z0 = main ? Zminpr_main : Zminpr_side;
    const int nz = main ? FNzpr_main : FNzpr_side;
    const int nr = main ? FNrpr_main : FNrpr_side;
    const double dr = main ? Drpr_main : Drpr_side;
    const double dz = main ? Dzpr_main : Dzpr_side;
    if (!RectIn(Zminpr, Zminpr + (FNzpr - 1) * Dzpr, (1 - FNrpr) * Drpr, (FNrpr - 1) * Drpr, z0, z0 + (nz - 1) * dz,
                (1 - nr) * dr, (nr - 1) * dr))
        return "Область смещения фокуса должна находиться внутри области расчета поля!";
    if (drpr == 0 || m_shift.dr == 0)
        return "Невозможен нулевой шаг по r!";
    if (dzpr == 0 || m_shift.dz == 0)
        return "Невозможен нулевой шаг по z!";
    return QString();
}

Grid AxialQuality_wnd::focusShiftGrid(Scan) const
{
    return scanjob::focusShiftGrid(m_shift);
}

void AxialQuality_wnd::on_pushButton_clicked()
{
    runScan(Scan::Main);
}

void AxialQuality_wnd::on_pushButton_2_clicked()
{
    runScan(Scan::Side);
}

// ---- Results ----

// The quality result windows open here; until then the buttons stay disabled (QualityWnd).
void AxialQuality_wnd::on_pushButton_4_clicked()
{
    showResult(Scan::Main);
}

void AxialQuality_wnd::on_pushButton_7_clicked()
{
    showResult(Scan::Side);
}

void AxialQuality_wnd::on_pushButton_6_clicked()
{
    showBothResults();
}

qualityresult::Request AxialQuality_wnd::resultRequest() const
{
    using namespace shared;
    qualityresult::Request r;
    r.axial = true;
    r.G = G;
    // The axial field region of the last run; the transverse plane as the plane window left it.
    r.plane = {Zminpr, Phipr, FNzpr, FNrpr, Drpr, Dzpr, zop, rxp, ryp, Nxp, Nyp, dxp, dyp};
    r.main = {Zminpr_main, Phipr_main, FNzpr_main, FNrpr_main, Drpr_main, Dzpr_main};
    r.side = {Zminpr_side, Phipr_side, FNzpr_side, FNrpr_side, Drpr_side, Dzpr_side};
    r.resultType = ui->comboBox->currentIndex();
    r.levelsMain = {ui->doubleSpinBox->value(), ui->doubleSpinBox_2->value(), ui->doubleSpinBox_3->value()};
    r.levelsSide = {ui->doubleSpinBox_4->value(), ui->doubleSpinBox_5->value(), ui->doubleSpinBox_6->value()};
    return r;
}

// ---- Navigation ----

// A new plane window on the axial tab, refilled with the field region.
void AxialQuality_wnd::on_pushButton_8_clicked()
{
    saveSession();
}

void AxialQuality_wnd::on_pushButton_3_clicked()
{
    sessionstate::keepForm(this, sessionKey());
    emit WindowRequests::instance().planeWindowRefilled(
        this, true,
        {ui->lineEdit_21->text(), ui->lineEdit_16->text(), ui->lineEdit_17->text(), ui->lineEdit_15->text(),
         ui->lineEdit_19->text(), ui->lineEdit_20->text(), ui->lineEdit_18->text(), ui->lineEdit_14->text()});
}
