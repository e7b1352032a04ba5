#ifndef HEATING_WND_H
#define HEATING_WND_H

#include <QWidget>
#include <memory>

#include "grid.h"
#include "heating_job.h"

namespace Ui {
class HeatingWnd;
}
class QCloseEvent;
class QwtPlotCurve;
class QwtPlotSpectrogram;
class SpectrogramData;

// "Нагрев": a sonication of the field result's array and focus in an absorbing medium. The user
// sets the source (the main window's pressure or an acoustic power), the heating and cooling
// times and the lesion's dose threshold; the heating job (heat/) computes the temperature and the
// thermal dose, and the window shows the temperature at the focus against time, the peak
// temperature in the result's plane with the lesion outline, and the readings.
class HeatingWnd : public QWidget
{
    Q_OBJECT

public:
    explicit HeatingWnd(const heatingjob::Plane &plane, QWidget *parent = nullptr);
    ~HeatingWnd() override;

    bool hasResults() const { return Have_results; }
    const heatingjob::Results &results() const { return Results; }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    // Source
    void on_radioButton_2_toggled(bool on);
    // Buttons
    void on_pushButton_calc_clicked();
    void on_pushButton_save_map_clicked();
    void on_pushButton_save_curve_clicked();

private:
    heatingjob::Sonication readSonication() const;
    void showResults();

    Ui::HeatingWnd *ui;
    heatingjob::Plane Plane;
    heatingjob::Results Results;
    bool Have_results = false;
    QString Tissue_text; // the tissue and thermal properties of the last run

    QwtPlotCurve *Curve = nullptr;
    QwtPlotSpectrogram *Map = nullptr, *Lesion = nullptr;
    SpectrogramData *Map_data = nullptr, *Dose_data = nullptr; // owned by their spectrograms
    std::unique_ptr<Grid> Map_grid;
};

#endif // HEATING_WND_H
