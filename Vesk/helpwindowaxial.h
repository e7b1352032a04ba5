#ifndef HELPWINDOWAXIAL_H
#define HELPWINDOWAXIAL_H

#include <QWidget>

namespace Ui {
class HelpWindowAxial;
}

// Explains how to choose the axial calculation plane: one picture in a fixed, centred window.
class HelpWindowAxial : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindowAxial(QWidget *parent = nullptr);
    ~HelpWindowAxial() override;

    void moveToCenter();

private:
    Ui::HelpWindowAxial *ui;
};

#endif // HELPWINDOWAXIAL_H
