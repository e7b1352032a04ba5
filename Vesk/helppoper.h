#ifndef HELPPOPER_H
#define HELPPOPER_H

#include <QWidget>

// The picture of the transverse plane help window.
class HelpPoper : public QWidget
{
    Q_OBJECT
public:
    explicit HelpPoper(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // HELPPOPER_H
