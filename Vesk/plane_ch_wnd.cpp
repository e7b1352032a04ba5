#include "plane_ch_wnd.h"
#include "ui_plane_ch_wnd.h"

#include <QCloseEvent>

#include "field_job.h"
#include "field_metrics.h"
#include "form_fields.h"
#include "helpwindowaxial.h"
#include "helpwindowpoper.h"
#include "job_files.h"
#include "window_requests.h"
#include "plane_fields.h"
#include "platform.h"
#include "read_from_file.h"
#include "result_wnd.h"
#include "session_state.h"
#include "shared_params.h"
#include "window_common.h"

using namespace shared;
using planefields::DigitTest;

plane_ch_wnd::plane_ch_wnd(QWidget *parent) : QWidget(parent), ui(new Ui::plane_ch_wnd)
{
    ui->setupUi(this);
    setWindowTitle("Выбор области расчета поля");
    window::setIconFromAppDir(this);
    setMinimumSize(window::scaledSize(QSize(823, 652), true));

    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &plane_ch_wnd::tabChanged);

    ui->widget->ClickOnBut();
    ui->widget->updateGL();
    updateTransverseButtons();
    updateFocusNote(false);
    updateFocusNote(true);

    bindings = {
        {ui->lineEdit, {&zop, &zop_is_set, 100}},         {ui->lineEdit_2, {&dxp, &dxp_is_set, 100}},
        {ui->lineEdit_3, {&dyp, &dyp_is_set, 100}},       {ui->lineEdit_10, {&Nxp, &Nxp_is_set, 1}},
        {ui->lineEdit_11, {&Nyp, &Nyp_is_set, 1}},        {ui->X_Focus_Poper, {&xF, &xF_is_set, 100}},
        {ui->Y_Focus_Poper, {&yF, &yF_is_set, 100}},      {ui->Z_Focus_Poper, {&zF, &zF_is_set, 100}},
        {ui->lineEdit_6, {&zminpr, &zminpr_is_set, 100}}, {ui->lineEdit_5, {&dzpr, &dzpr_is_set, 100}},
        {ui->lineEdit_4, {&drpr, &drpr_is_set, 100}},     {ui->lineEdit_7, {&phipr, &phipr_is_set, 1}},
        {ui->lineEdit_8, {&Nzpr, &Nzpr_is_set, 1}},       {ui->lineEdit_9, {&Nrpr, &Nrpr_is_set, 1}},
        {ui->X_Focus_Axial, {&xF, &xF_is_set, 100}},      {ui->Y_Focus_Axial, {&yF, &yF_is_set, 100}},
        {ui->Z_Focus_Axial, {&zF, &zF_is_set, 100}},
    };
    installValidators();
}

plane_ch_wnd::~plane_ch_wnd()
{
    delete ui;
}

void plane_ch_wnd::installValidators()
{
    using formfields::Sign;
    for (QLineEdit *f : {ui->lineEdit, ui->lineEdit_2, ui->lineEdit_3, ui->Z_Focus_Poper, ui->lineEdit_6,
                         ui->lineEdit_5, ui->lineEdit_4, ui->Z_Focus_Axial})
        formfields::setupNumberField(f, Sign::Unsigned);
    for (QLineEdit *f : {ui->X_Focus_Poper, ui->Y_Focus_Poper, ui->lineEdit_7, ui->X_Focus_Axial, ui->Y_Focus_Axial})
        formfields::setupNumberField(f, Sign::Signed);
    for (QLineEdit *f : {ui->lineEdit_10, ui->lineEdit_11, ui->lineEdit_8, ui->lineEdit_9})
        formfields::setupCountField(f);
}

// ---- Reading fields ----

void plane_ch_wnd::readField(QLineEdit *field)
{
    const Binding b = bindings.value(field);
    const QString text = field->text();
    *b.value = formfields::fieldValue(text) / b.divisor;
    *b.isSet = !text.isEmpty();
}

void plane_ch_wnd::showValue(QLineEdit *field, double value)
{
    // Runs the field's slot when the text changes; the field keeps at most six characters.
    field->setText(formfields::numberText(value));
}

void plane_ch_wnd::transverseEdited(QLineEdit *field)
{
    // Half-width displays fed by a (count, step) pair; the values are taken only from complete texts.
    auto derive = [](QLineEdit *n, QLineEdit *step, QLineEdit *display, double &nVar, double &stepVar) {
        planefields::deriveDisplay(display, {n, step}, DigitTest::Yes, [&] {
            nVar = formfields::fieldValue(n->text());
            stepVar = formfields::fieldValue(step->text()) / 100;
            return planefields::halfWidthText(nVar, stepVar);
        });
    };
    if (field == ui->lineEdit_2 || field == ui->lineEdit_10)
        derive(ui->lineEdit_10, ui->lineEdit_2, ui->lineEdit_12, Nxp, dxp);
    else if (field == ui->lineEdit_3 || field == ui->lineEdit_11)
        derive(ui->lineEdit_11, ui->lineEdit_3, ui->lineEdit_13, Nyp, dyp);

    readField(field);
    rxp = (Nxp - 1) * dxp;
    ryp = (Nyp - 1) * dyp;

    is_poper = planefields::allFilled({ui->lineEdit, ui->lineEdit_10, ui->lineEdit_11, ui->lineEdit_2, ui->lineEdit_3});
    is_prodol = false;
    is_foc = planefields::allFilled({ui->X_Focus_Poper, ui->Y_Focus_Poper, ui->Z_Focus_Poper});

    // The reset must follow the fit, or the fit would overwrite it. Typing the focus z keeps the
    // scale, so the focus can be moved along the axis inside the view the user has zoomed to.
    ui->widget->ClickOnBut();
    if (!is_poper && !is_foc && field != ui->Z_Focus_Poper)
        ui->widget->RescaleToOne();
    ui->widget->updateGL();

    updateTransverseButtons();
    updateFocusNote(false);
}

void plane_ch_wnd::axialEdited(QLineEdit *field)
{
    if (field == ui->lineEdit_5 || field == ui->lineEdit_8 || field == ui->lineEdit_6) {
        planefields::deriveDisplay(ui->lineEdit_14, {ui->lineEdit_5, ui->lineEdit_8, ui->lineEdit_6}, DigitTest::Yes,
                                   [this] {
                                       Nzpr = formfields::fieldValue(ui->lineEdit_8->text());
                                       zminpr = formfields::fieldValue(ui->lineEdit_6->text()) / 100;
                                       dzpr = formfields::fieldValue(ui->lineEdit_5->text()) / 100;
                                       return planefields::zmaxText(zminpr, Nzpr, dzpr);
                                   });
    } else if (field == ui->lineEdit_9 || field == ui->lineEdit_4) {
        planefields::deriveDisplay(ui->lineEdit_15, {ui->lineEdit_9, ui->lineEdit_4}, DigitTest::Yes, [this] {
            Nrpr = formfields::fieldValue(ui->lineEdit_9->text());
            drpr = formfields::fieldValue(ui->lineEdit_4->text()) / 100;
            return planefields::halfWidthText(Nrpr, drpr);
        });
    }

    readField(field);
    zmaxpr = (Nzpr - 1) * dzpr + zminpr;
    rpr = (Nrpr - 1) * drpr;

    is_prodol = planefields::allFilled(
        {ui->lineEdit_6, ui->lineEdit_7, ui->lineEdit_9, ui->lineEdit_8, ui->lineEdit_4, ui->lineEdit_5});
    is_poper = false;
    is_scan = false;
    is_foc = planefields::allFilled({ui->X_Focus_Axial, ui->Y_Focus_Axial, ui->Z_Focus_Axial});

    ui->widget_2->ClickOnBut();
    if (!is_prodol && !is_foc)
        ui->widget_2->RescaleToOne();
    ui->widget_2->updateGL();

    updateAxialButtons();
    updateFocusNote(true);
}

// Any edit invalidates the last result: the result button waits for a new calculation.
void plane_ch_wnd::updateTransverseButtons()
{
    const bool ready = is_foc && is_poper;
    ui->pushButton_4->setEnabled(ready);
    ui->pushButton_7->setEnabled(ready);
    ui->pushButton_6->setEnabled(false);
}

void plane_ch_wnd::updateAxialButtons()
{
    const bool ready = is_foc && is_prodol;
    ui->pushButton_3->setEnabled(ready);
    ui->pushButton_9->setEnabled(ready);
    ui->pushButton_5->setEnabled(false);
}

void plane_ch_wnd::updateFocusNote(bool axialTab)
{
    QLabel *note = axialTab ? ui->Focus_Note_Axial : ui->Focus_Note_Poper;
    QPushButton *button = axialTab ? ui->Focus_Button_Axial : ui->Focus_Button_Poper;
    const FocusPlacement f = currentFocusPlacement(VDOUB3(), axialTab);
    const bool miss = is_foc && (axialTab ? is_prodol : is_poper) && !f.inPlane;
    note->setVisible(miss);
    button->setVisible(miss);
    if (!miss)
        return;
    note->setText(focusMissText(f.distance));
    if (axialTab)
        button->setText("Повернуть плоскость\nчерез фокус: φ = " + formfields::fieldText(axialAngleThrough(xF, yF))
                        + "°");
    else
        button->setText("Перенести плоскость\nв фокус: z₀ = " + formfields::fieldText(zF * 100) + " см");
}

void plane_ch_wnd::on_Focus_Button_Poper_clicked()
{
    showValue(ui->lineEdit, zF * 100);
}

void plane_ch_wnd::on_Focus_Button_Axial_clicked()
{
    showValue(ui->lineEdit_7, axialAngleThrough(xF, yF));
}

void plane_ch_wnd::on_lineEdit_textChanged(const QString &)
{
    transverseEdited(ui->lineEdit);
}
void plane_ch_wnd::on_lineEdit_2_textChanged(const QString &)
{
    transverseEdited(ui->lineEdit_2);
}
void plane_ch_wnd::on_lineEdit_3_textChanged(const QString &)
{
    transverseEdited(ui->lineEdit_3);
}
void plane_ch_wnd::on_lineEdit_10_textChanged(const QString &)
{
    transverseEdited(ui->lineEdit_10);
}
void plane_ch_wnd::on_lineEdit_11_textChanged(const QString &)
{
    transverseEdited(ui->lineEdit_11);
}
void plane_ch_wnd::on_X_Focus_Poper_textChanged(const QString &)
{
    transverseEdited(ui->X_Focus_Poper);
}
void plane_ch_wnd::on_Y_Focus_Poper_textChanged(const QString &)
{
    transverseEdited(ui->Y_Focus_Poper);
}
void plane_ch_wnd::on_Z_Focus_Poper_textChanged(const QString &)
{
    transverseEdited(ui->Z_Focus_Poper);
}

void plane_ch_wnd::on_lineEdit_4_textChanged(const QString &)
{
    axialEdited(ui->lineEdit_4);
}
void plane_ch_wnd::on_lineEdit_5_textChanged(const QString &)
{
    axialEdited(ui->lineEdit_5);
}
void plane_ch_wnd::on_lineEdit_6_textChanged(const QString &)
{
    axialEdited(ui->lineEdit_6);
}
void plane_ch_wnd::on_lineEdit_7_textChanged(const QString &)
{
    axialEdited(ui->lineEdit_7);
}
void plane_ch_wnd::on_lineEdit_8_textChanged(const QString &)
{
    axialEdited(ui->lineEdit_8);
}
void plane_ch_wnd::on_lineEdit_9_textChanged(const QString &)
{
    axialEdited(ui->lineEdit_9);
}
void plane_ch_wnd::on_X_Focus_Axial_textChanged(const QString &)
{
    axialEdited(ui->X_Focus_Axial);
}
void plane_ch_wnd::on_Y_Focus_Axial_textChanged(const QString &)
{
    axialEdited(ui->Y_Focus_Axial);
}
void plane_ch_wnd::on_Z_Focus_Axial_textChanged(const QString &)
{
    axialEdited(ui->Z_Focus_Axial);
}

// ---- Filling the form from the shared values ----

void plane_ch_wnd::refillPlaneField(QLineEdit *field, double value, bool isSet, bool &modeFlag)
{
    if (isSet)
        showValue(field, value);
    else
        modeFlag = false;
}

void plane_ch_wnd::refillTransversePlane()
{
    // Each flag is read just before its field: filling one field runs its slot.
    refillPlaneField(ui->lineEdit, zop * 100, zop_is_set, is_poper);
    refillPlaneField(ui->lineEdit_10, Nxp, Nxp_is_set, is_poper);
    refillPlaneField(ui->lineEdit_11, Nyp, Nyp_is_set, is_poper);
    refillPlaneField(ui->lineEdit_2, dxp * 100, dxp_is_set, is_poper);
    refillPlaneField(ui->lineEdit_3, dyp * 100, dyp_is_set, is_poper);
}

void plane_ch_wnd::refillAxialPlane()
{
    refillPlaneField(ui->lineEdit_6, zminpr * 100, zminpr_is_set, is_prodol);
    refillPlaneField(ui->lineEdit_7, phipr, phipr_is_set, is_prodol);
    refillPlaneField(ui->lineEdit_9, Nrpr, Nrpr_is_set, is_prodol);
    refillPlaneField(ui->lineEdit_8, Nzpr, Nzpr_is_set, is_prodol);
    refillPlaneField(ui->lineEdit_4, drpr * 100, drpr_is_set, is_prodol);
    refillPlaneField(ui->lineEdit_5, dzpr * 100, dzpr_is_set, is_prodol);
}

// A focus field whose coordinate was never entered is cleared, and the focus is incomplete.
void plane_ch_wnd::refillFocus(QLineEdit *x, QLineEdit *y, QLineEdit *z)
{
    const QList<QPair<QLineEdit *, QPair<double *, bool *>>> fields = {
        {x, {&xF, &xF_is_set}}, {y, {&yF, &yF_is_set}}, {z, {&zF, &zF_is_set}}};
    for (const auto &f : fields) {
        if (*f.second.second) {
            showValue(f.first, *f.second.first * 100);
        } else {
            f.first->clear();
            is_foc = false;
        }
    }
}

void plane_ch_wnd::SetFocusDefault()
{
    for (QLineEdit *e : {ui->X_Focus_Poper, ui->X_Focus_Axial})
        showValue(e, xF * 100);
    for (QLineEdit *e : {ui->Y_Focus_Poper, ui->Y_Focus_Axial})
        showValue(e, yF * 100);
    for (QLineEdit *e : {ui->Z_Focus_Poper, ui->Z_Focus_Axial})
        showValue(e, zF * 100);
    refillTransversePlane();
    refillFocus(ui->X_Focus_Poper, ui->Y_Focus_Poper, ui->Z_Focus_Poper);
    refillAxialPlane();
}

void plane_ch_wnd::CheckData()
{
    if (ui->tabWidget->currentIndex() == 0) {
        is_prodol = false;
        is_poper = zop_is_set && Nxp_is_set && Nyp_is_set && dxp_is_set && dyp_is_set;
        is_foc = xF_is_set && yF_is_set && zF_is_set;
        updateTransverseButtons();
        updateFocusNote(false);
        ui->widget->updateGL();
    } else {
        is_poper = false;
        is_prodol = zminpr_is_set && phipr_is_set && Nrpr_is_set && Nzpr_is_set && drpr_is_set && dzpr_is_set;
        is_foc = xF_is_set && yF_is_set && zF_is_set;
        updateAxialButtons();
        updateFocusNote(true);
        ui->widget_2->updateGL();
    }
    ui->pushButton_5->setEnabled(false);
    ui->pushButton_6->setEnabled(false);
}

void plane_ch_wnd::tabChanged()
{
    if (ui->tabWidget->currentIndex() == 0) {
        is_poper = true;
        is_foc = true;
        is_prodol = false;
        refillTransversePlane();
        refillFocus(ui->X_Focus_Poper, ui->Y_Focus_Poper, ui->Z_Focus_Poper);
        updateTransverseButtons();
        updateFocusNote(false);
        ui->widget->updateGL();
    } else {
        is_prodol = true;
        is_foc = true;
        is_poper = false;
        refillAxialPlane();
        refillFocus(ui->X_Focus_Axial, ui->Y_Focus_Axial, ui->Z_Focus_Axial);
        updateAxialButtons();
        updateFocusNote(true);
        ui->widget_2->updateGL();
    }
    // A result belongs to the calculation made on its tab: none is shown again without a new one.
    ui->pushButton_5->setEnabled(false);
    ui->pushButton_6->setEnabled(false);
    ui->widget_2->updateGL();
}

void plane_ch_wnd::NotFirst_poper(const QString &zop_text, const QString &Nxp_text, const QString &Nyp_text,
                                  const QString &dxp_text, const QString &dyp_text, const QString &, const QString &)
{
    // The half-widths follow from the counts and steps through the displays.
    if (ui->tabWidget->currentIndex() == 0)
        tabChanged();
    else
        ui->tabWidget->setCurrentIndex(0);
    const QList<QPair<QLineEdit *, QPair<QString, bool>>> fields = {{ui->lineEdit, {zop_text, zop_is_set}},
                                                                    {ui->lineEdit_2, {dxp_text, dxp_is_set}},
                                                                    {ui->lineEdit_3, {dyp_text, dyp_is_set}},
                                                                    {ui->lineEdit_10, {Nxp_text, Nxp_is_set}},
                                                                    {ui->lineEdit_11, {Nyp_text, Nyp_is_set}}};
    for (const auto &f : fields) {
        if (f.second.second)
            f.first->setText(f.second.first);
        else
            is_poper = false;
    }
    refillFocus(ui->X_Focus_Poper, ui->Y_Focus_Poper, ui->Z_Focus_Poper);
    updateTransverseButtons();
}

void plane_ch_wnd::NotFirst_prodol(const QString &zminpr_text, const QString &phipr_text, const QString &Nrpr_text,
                                   const QString &Nzpr_text, const QString &drpr_text, const QString &dzpr_text,
                                   const QString &, const QString &)
{
    if (ui->tabWidget->currentIndex() == 1)
        tabChanged();
    else
        ui->tabWidget->setCurrentIndex(1);
    const QList<QPair<QLineEdit *, QPair<QString, bool>>> fields = {
        {ui->lineEdit_6, {zminpr_text, zminpr_is_set}}, {ui->lineEdit_7, {phipr_text, phipr_is_set}},
        {ui->lineEdit_8, {Nzpr_text, Nzpr_is_set}},     {ui->lineEdit_9, {Nrpr_text, Nrpr_is_set}},
        {ui->lineEdit_4, {drpr_text, drpr_is_set}},     {ui->lineEdit_5, {dzpr_text, dzpr_is_set}}};
    for (const auto &f : fields) {
        if (f.second.second)
            f.first->setText(f.second.first);
        else
            is_prodol = false;
    }
    refillFocus(ui->X_Focus_Axial, ui->Y_Focus_Axial, ui->Z_Focus_Axial);
    updateAxialButtons();
}

// ---- Default planes ----

// The focus at the centre of curvature and a plane of 101 x 101 points spanning +-A/6 there.
void plane_ch_wnd::on_Button_def_clicked()
{
    xF = 0;
    showValue(ui->X_Focus_Poper, xF * 100);
    yF = 0;
    showValue(ui->Y_Focus_Poper, yF * 100);
    zF = R;
    showValue(ui->Z_Focus_Poper, zF * 100);
    zop = R;
    showValue(ui->lineEdit, zop * 100);
    Nxp = 51;
    showValue(ui->lineEdit_10, Nxp);
    Nyp = 51;
    showValue(ui->lineEdit_11, Nyp);
    dxp = A / 2 / 3 / (Nxp - 1);
    showValue(ui->lineEdit_2, dxp * 100);
    dyp = A / 2 / 3 / (Nyp - 1);
    showValue(ui->lineEdit_3, dyp * 100);
}

// z from R/2 to 3R/2 in 241 points, +-A/6 across in 101 points, the focus at the centre of curvature.
void plane_ch_wnd::on_Button_def_2_clicked()
{
    zminpr = R + R / (-2);
    showValue(ui->lineEdit_6, zminpr * 100);
    phipr = 0;
    showValue(ui->lineEdit_7, phipr);
    Nrpr = 51;
    showValue(ui->lineEdit_9, Nrpr);
    Nzpr = 241;
    showValue(ui->lineEdit_8, Nzpr);
    dzpr = R / (Nzpr - 1);
    drpr = A / 2 / 3 / (Nrpr - 1);
    showValue(ui->lineEdit_4, drpr * 100);
    showValue(ui->lineEdit_5, dzpr * 100);
    xF = 0;
    showValue(ui->X_Focus_Axial, xF * 100);
    yF = 0;
    showValue(ui->Y_Focus_Axial, yF * 100);
    zF = R;
    showValue(ui->Z_Focus_Axial, zF * 100);
}

// ---- Calculation and results ----

void plane_ch_wnd::runCalculation(bool axialTab)
{
    if (!fieldjob::run(this, axialTab))
        return;
    (axialTab ? ui->pushButton_5 : ui->pushButton_6)->setEnabled(true);
    // Result windows opened from the earlier grid keep it alive as long as they need it.
    G = fieldjob::recordRun(axialTab);
}

void plane_ch_wnd::on_pushButton_4_clicked()
{
    runCalculation(false);
}
void plane_ch_wnd::on_pushButton_3_clicked()
{
    runCalculation(true);
}

void plane_ch_wnd::showResults(bool axialTab)
{
    if (!jobfiles::isDone(jobfiles::kindFolder("field"))) {
        platform::information(this, jobfiles::errorTitle, "Расчет поля не был произведен. Повторите расчет.");
        return;
    }
    const QString mismatch = G ? fieldResultMismatch(shared::file_to_calc, *G) : QString();
    if (!mismatch.isEmpty()) {
        platform::information(this, jobfiles::errorTitle, mismatch);
        return;
    }
    planefields::setResultType((axialTab ? ui->comboBox_2 : ui->comboBox)->currentIndex());
    // The focus as typed in this tab's fields, in centimetres.
    const QLineEdit *x = axialTab ? ui->X_Focus_Axial : ui->X_Focus_Poper;
    const QLineEdit *y = axialTab ? ui->Y_Focus_Axial : ui->Y_Focus_Poper;
    const QLineEdit *z = axialTab ? ui->Z_Focus_Axial : ui->Z_Focus_Poper;
    openFieldResult(G, axialTab, x->text().toDouble(), y->text().toDouble(), z->text().toDouble());
}

void plane_ch_wnd::on_pushButton_6_clicked()
{
    showResults(false);
}
void plane_ch_wnd::on_pushButton_5_clicked()
{
    showResults(true);
}

// ---- Navigation and help ----

void plane_ch_wnd::backToArray()
{
    // A new array window of its own (no main window owns it); its way back builds a main window.
    emit WindowRequests::instance().arrayWindow(this);
}

void plane_ch_wnd::on_pushButton_8_clicked()
{
    backToArray();
}
void plane_ch_wnd::on_pushButton_10_clicked()
{
    backToArray();
}

// ---- Session ----

void plane_ch_wnd::on_pushButton_11_clicked()
{
    sessionstate::saveAs(this);
}
void plane_ch_wnd::on_pushButton_12_clicked()
{
    sessionstate::saveAs(this);
}

// The quality windows take over the plane in this window's place; their previews show the plane and
// the focus-shift region, not the focus.
void plane_ch_wnd::on_pushButton_7_clicked()
{
    emit WindowRequests::instance().qualityWindow(this, false);
}

void plane_ch_wnd::on_pushButton_9_clicked()
{
    emit WindowRequests::instance().qualityWindow(this, true);
}

void plane_ch_wnd::on_Help_Button_Poper_clicked()
{
    (new HelpWindowPoper())->show();
}

void plane_ch_wnd::on_Help_Button_Axial_clicked()
{
    (new HelpWindowAxial())->show();
}

void plane_ch_wnd::closeEvent(QCloseEvent *event)
{
    window::confirmExit(this, event);
}
