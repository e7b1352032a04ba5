#ifndef HELPWINDOWPOPER_H
#define HELPWINDOWPOPER_H

#include <QWidget>

namespace Ui {
class HelpWindowPoper;
}

// Explains how to choose the transverse calculation plane: one picture in a fixed, centred window.
class HelpWindowPoper : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindowPoper(QWidget *parent = nullptr);
    ~HelpWindowPoper() override;

    void moveToCenter();

private:
    Ui::HelpWindowPoper *ui;
};

#endif // HELPWINDOWPOPER_H
