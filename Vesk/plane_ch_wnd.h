#ifndef PLANE_CH_WND_H
#define PLANE_CH_WND_H

#include <QHash>
#include <QWidget>

#include "grid.h"

class QCloseEvent;
class QLineEdit;

namespace Ui {
class plane_ch_wnd;
}

// The window in which the user chooses where the field is computed: a transverse plane (tab 0) or
// an axial plane (tab 1), each with the focus, a live preview, the field calculation and the way
// to its results. All values live in the shared parameters; the window keeps them consistent with
// its fields.
class plane_ch_wnd : public QWidget
{
    Q_OBJECT

public:
    explicit plane_ch_wnd(QWidget *parent = nullptr);
    ~plane_ch_wnd() override;

    // Fills the fields from the shared values (the array window calls it before show()).
    void SetFocusDefault();
    // Recomputes the current tab's mode flags from the entry flags and updates its buttons.
    void CheckData();
    // Refill a new window with the plane fields' texts when coming back from a quality window.
    void NotFirst_poper(const QString &zop_text, const QString &Nxp_text, const QString &Nyp_text,
                        const QString &dxp_text, const QString &dyp_text, const QString &rxp_text,
                        const QString &ryp_text);
    void NotFirst_prodol(const QString &zminpr_text, const QString &phipr_text, const QString &Nrpr_text,
                         const QString &Nzpr_text, const QString &drpr_text, const QString &dzpr_text,
                         const QString &zmaxpr_text, const QString &rpr_text);

    // Grid of this window's last confirmed calculation; null before the first one.
    const SharedGrid &currentGrid() const { return G; }

public slots:
    void tabChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Transverse plane and its focus.
    void on_lineEdit_textChanged(const QString &);
    void on_lineEdit_2_textChanged(const QString &);
    void on_lineEdit_3_textChanged(const QString &);
    void on_lineEdit_10_textChanged(const QString &);
    void on_lineEdit_11_textChanged(const QString &);
    void on_X_Focus_Poper_textChanged(const QString &);
    void on_Y_Focus_Poper_textChanged(const QString &);
    void on_Z_Focus_Poper_textChanged(const QString &);
    // Axial plane and its focus.
    void on_lineEdit_4_textChanged(const QString &);
    void on_lineEdit_5_textChanged(const QString &);
    void on_lineEdit_6_textChanged(const QString &);
    void on_lineEdit_7_textChanged(const QString &);
    void on_lineEdit_8_textChanged(const QString &);
    void on_lineEdit_9_textChanged(const QString &);
    void on_X_Focus_Axial_textChanged(const QString &);
    void on_Y_Focus_Axial_textChanged(const QString &);
    void on_Z_Focus_Axial_textChanged(const QString &);

    // Default planes, calculation and results.
    void on_Button_def_clicked();
    void on_Button_def_2_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_3_clicked();
    void on_pushButton_6_clicked();
    void on_pushButton_5_clicked();
    // The plane through a focus it misses.
    void on_Focus_Button_Poper_clicked();
    void on_Focus_Button_Axial_clicked();

    // Navigation and help.
    void on_pushButton_8_clicked();
    void on_pushButton_10_clicked();
    // Session
    void on_pushButton_11_clicked();
    void on_pushButton_12_clicked();
    void on_pushButton_7_clicked();
    void on_pushButton_9_clicked();
    void on_Help_Button_Poper_clicked();
    void on_Help_Button_Axial_clicked();

private:
    // The shared value a field mirrors: variable, entry flag and the divisor from the form's unit.
    struct Binding {
        double *value;
        bool *isSet;
        double divisor;
    };

    void installValidators();
    void transverseEdited(QLineEdit *field);
    void axialEdited(QLineEdit *field);
    void readField(QLineEdit *field);
    void showValue(QLineEdit *field, double value);
    // A plane field shows its value when it was entered; otherwise the tab's mode flag is cleared.
    void refillPlaneField(QLineEdit *field, double value, bool isSet, bool &modeFlag);
    void refillTransversePlane();
    void refillAxialPlane();
    void refillFocus(QLineEdit *x, QLineEdit *y, QLineEdit *z);
    void updateTransverseButtons();
    void updateAxialButtons();
    // The note under a tab's preview when its complete plane misses the complete focus.
    void updateFocusNote(bool axialTab);
    void runCalculation(bool axialTab);
    void showResults(bool axialTab);
    void backToArray();

    Ui::plane_ch_wnd *ui;
    QHash<QLineEdit *, Binding> bindings;
    SharedGrid G;
};

#endif // PLANE_CH_WND_H
