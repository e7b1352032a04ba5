#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QPointer>

#include "show_vesk_wnd.h"

namespace Ui {
class MainWindow;
}

class QLineEdit;

// Where the user describes the array, the medium, the focus and the source and names the element
// file. Continue writes the shared parameters, loads the elements and moves on to the array window,
// which this window owns.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Refills the form from the shared parameters, in the form's units and cut to six characters
    // (a main window rebuilt by the array window, and the example data).
    void not_first();
    void moveToCenter();

    // The array window this main window shows after Continue.
    Show_Vesk_wnd *arrayWindow() { return &w1; }
    // The design window opened from here, if it is open.
    QWidget *designWindow() const { return m_design; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Buttons
    void on_pushButton_clicked();        // Browse
    void on_pushButton_2_clicked();      // Continue
    void on_pushButton_3_clicked();      // Help
    void on_pushButton_4_clicked();      // About
    void on_pushButton_5_clicked();      // example data
    void on_pushButton_6_clicked();      // open a session
    void on_pushButton_7_clicked();      // save the session
    void on_pushButton_design_clicked(); // the array designer

    // Medium
    void on_comboBox_activated(int index);

    // Source mode
    void on_radioButton_clicked();
    void on_radioButton_2_clicked();

    // Fields
    void on_lineEdit_textChanged(const QString &text);
    void on_lineEdit_2_textChanged(const QString &text);
    void on_lineEdit_3_textChanged(const QString &text);
    void on_lineEdit_4_textChanged(const QString &text);
    void on_lineEdit_5_textChanged(const QString &text);
    void on_lineEdit_6_textChanged(const QString &text);
    void on_lineEdit_7_textChanged(const QString &text);
    void on_lineEdit_8_textChanged(const QString &text);
    void on_lineEdit_9_textChanged(const QString &text);
    void on_lineEdit_10_textChanged(const QString &text);
    void on_lineEdit_11_textChanged(const QString &text);
    void on_lineEdit_12_textChanged(const QString &text);
    void on_lineEdit_13_textChanged(const QString &text);

private:
    // Completion flag of input `index` from whether its field holds any character, then the count.
    void markFilled(int index, const QString &text);
    // Counts the complete inputs into k and enables Continue when all kmax are complete.
    void countComplete();
    // Keeps pressure and intensity consistent in the current source mode.
    void deriveSource();
    // Continue's first steps: the shared parameters from the form, then the element positions
    // (those of an opened session while the file field names the file they came from). Each
    // failure is reported; false then.
    bool writeSharedFromForm();

    Show_Vesk_wnd w1;
    Ui::MainWindow *ui;
    QPointer<QWidget> m_design;
};

#endif // MAINWINDOW_H
