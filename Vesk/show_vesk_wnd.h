#ifndef SHOW_VESK_WND_H
#define SHOW_VESK_WND_H

#include <QRect>
#include <QTabWidget>

namespace Ui {
class Show_Vesk_wnd;
}

// Where the calculation plane window goes when the array window moves on: the array window's
// geometry, or its position with 701 x 529 when it is narrower or lower than that.
QRect planeWindowGeometry(const QRect &arrayWindow);

// Flags of the plane and quality windows that the array window clears when it moves on.
void resetPlaneWindowFlags();

// The array after Continue: its front view and its 3D model on two tabs, with a way back to the
// main window and on to the calculation plane window.
class Show_Vesk_wnd : public QTabWidget
{
    Q_OBJECT

public:
    explicit Show_Vesk_wnd(QWidget *parent = nullptr);
    ~Show_Vesk_wnd() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Navigation
    void on_pushButton_2_clicked(); // "< Назад" on the front view
    void on_pushButton_clicked();   // "< Назад" on the 3D tab
    void on_pushButton_4_clicked(); // "Далее >" on the front view
    void on_pushButton_3_clicked(); // "Далее >" on the 3D tab

private:
    // Builds, refills and shows a new main window in this window's place.
    void backToMainWindow(const QString &title);
    void openPlaneWindow();

    Ui::Show_Vesk_wnd *ui;
};

#endif // SHOW_VESK_WND_H
