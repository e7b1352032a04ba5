#ifndef HELPAXIAL_H
#define HELPAXIAL_H

#include <QWidget>

// The picture of the axial plane help window.
class HelpAxial : public QWidget
{
    Q_OBJECT
public:
    explicit HelpAxial(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif // HELPAXIAL_H
