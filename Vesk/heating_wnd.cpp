#include "heating_wnd.h"
#include "ui_heating_wnd.h"

#include <QCloseEvent>
#include <QFile>
#include <QTextStream>
#include <qwt_plot_curve.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_scale_widget.h>

#include "form_fields.h"
#include "plot.h"
#include "plot_export.h"
#include "platform.h"
#include "result_common.h"
#include "window_common.h"

HeatingWnd::HeatingWnd(const heatingjob::Plane &plane, QWidget *parent) :
    QWidget(parent), ui(new Ui::HeatingWnd), Plane(plane)
{
    ui->setupUi(this);
    resultwindow::setUp(this, QSize(1000, 700), false, "Нагрев");
    for (QLineEdit *field : {ui->lineEdit_power, ui->lineEdit_heat, ui->lineEdit_cool, ui->lineEdit_threshold})
        formfields::setupNumberField(field, formfields::Sign::Unsigned);
    ui->label_pressure->setText(formfields::numberText(shared::initpres / 1e6) + " МПа");

    // The temperature at the focus against time.
    ui->plot_curve->setTitle("Температура в фокусе");
    ui->plot_curve->setAxisTitle(QwtPlot::xBottom, "t, с");
    ui->plot_curve->setAxisTitle(QwtPlot::yLeft, "T, °C");
    ui->plot_curve->setCanvasBackground(Qt::white);
    Curve = new QwtPlotCurve("T(t)");
    Curve->setPen(QPen(Qt::darkRed, 2));
    Curve->attach(ui->plot_curve);

    // The peak temperature in the plane, the lesion outline over it.
    ui->plot_map->setTitle("Наибольшая температура, °C, и граница очага");
    Map = new QwtPlotSpectrogram();
    Lesion = new QwtPlotSpectrogram();
    Lesion->setDisplayMode(QwtPlotSpectrogram::ImageMode, false);
    Lesion->setDisplayMode(QwtPlotSpectrogram::ContourMode, true);
    Lesion->setDefaultContourPen(QPen(Qt::white, 2));
}

HeatingWnd::~HeatingWnd()
{
    delete ui;
}

void HeatingWnd::closeEvent(QCloseEvent *event)
{
    window::confirmCloseResult(this, event);
}

heatingjob::Sonication HeatingWnd::readSonication() const
{
    heatingjob::Sonication s;
    s.byPower = ui->radioButton_2->isChecked();
    s.power = formfields::fieldValue(ui->lineEdit_power->text());
    s.heatingTime = formfields::fieldValue(ui->lineEdit_heat->text());
    s.coolingTime = formfields::fieldValue(ui->lineEdit_cool->text());
    s.threshold = formfields::fieldValue(ui->lineEdit_threshold->text());
    return s;
}

// ---- Source ----

void HeatingWnd::on_radioButton_2_toggled(bool on)
{
    ui->lineEdit_power->setEnabled(on);
}

// ---- Buttons ----

void HeatingWnd::on_pushButton_calc_clicked()
{
    const heatingjob::Sonication s = readSonication();
    jobfiles::Job job;
    job.folder = heatingjob::folder();
    job.batchFile = "heat.bat";
    job.files = heatingjob::files(Plane, s);
    job.check = [s] { return heatingjob::check(s); };
    const QString tissue = heatingjob::tissueText();
    if (!jobfiles::run(this, job))
        return;
    if (!jobfiles::isDone(job.folder)) {
        platform::information(this, jobfiles::errorTitle,
                              "Расчет нагрева не был произведен. Повторите расчет (причина записана в файле "
                                  + job.folder + "log.txt).");
        return;
    }
    QString error;
    if (!heatingjob::readResults(Plane, &Results, &error)) {
        platform::information(this, jobfiles::errorTitle, error);
        return;
    }
    Have_results = true;
    Tissue_text = tissue;
    showResults();
}

void HeatingWnd::showResults()
{
    ui->label_readings->setText(heatingjob::readingsText(Results.summary, Plane.axial) + "\n" + Tissue_text);

    Curve->setSamples(QVector<double>(Results.times.begin(), Results.times.end()),
                      QVector<double>(Results.focusTemperature.begin(), Results.focusTemperature.end()));
    ui->plot_curve->setAxisAutoScale(QwtPlot::xBottom);
    ui->plot_curve->setAxisAutoScale(QwtPlot::yLeft);
    ui->plot_curve->replot();

    const VDOUB3 &T = Results.temperature;
    const int ni = int(T[2].size()), nj = ni ? int(T[2][0].size()) : 0;
    Map_grid.reset(gridFromArrays(T, ni, nj));
    const double top = std::max(fieldMaximum(T), Results.summary.peakTemperature);
    if (!Map_data) {
        Map_data = new SpectrogramData(Map_grid.get(), top);
        Dose_data = new SpectrogramData(Map_grid.get(), fieldMaximum(Results.dose));
        attachSpectrogram(ui->plot_map, Map, Map_data, T, Map_grid.get(), top);
        attachSpectrogram(ui->plot_map, Lesion, Dose_data, Results.dose, Map_grid.get(), fieldMaximum(Results.dose));
        installFieldZoomer(ui->plot_map, Map_data);
    } else {
        Map_data->SetData(T, Map_grid.get(), top);
        Dose_data->SetData(Results.dose, Map_grid.get(), fieldMaximum(Results.dose));
    }
    // Colours from the body temperature to the hottest point of the run.
    const double base = 37;
    Map_data->setInterval(Qt::XAxis, QwtInterval(Map_grid->Xmin, Map_grid->Xmax));
    Map_data->setInterval(Qt::YAxis, QwtInterval(Map_grid->Ymin, Map_grid->Ymax, QwtInterval::ExcludeBorders));
    Map_data->setInterval(Qt::ZAxis, QwtInterval(base, std::max(top, base + 1)));
    Dose_data->setInterval(Qt::XAxis, Map_data->interval(Qt::XAxis));
    Dose_data->setInterval(Qt::YAxis, Map_data->interval(Qt::YAxis));
    Dose_data->setInterval(Qt::ZAxis, QwtInterval(0, std::max(fieldMaximum(Results.dose), 1.0)));
    Lesion->setContourLevels({Results.summary.doseThreshold});
    setUpSpectrogramAxes(ui->plot_map, Map_data, true);
    ui->plot_map->setAxisTitle(QwtPlot::xBottom, Plane.axial ? "z, см" : "x, см");
    ui->plot_map->setAxisTitle(QwtPlot::yLeft, Plane.axial ? "r, см" : "y, см");
    ui->plot_map->replot();

    ui->pushButton_save_map->setEnabled(true);
    ui->pushButton_save_curve->setEnabled(true);
}

void HeatingWnd::on_pushButton_save_map_clicked()
{
    exportPlot(
        this, ui->plot_map, [this] { return Results.temperature; },
        Plane.axial ? QStringLiteral("zr") : QStringLiteral("xy"));
}

void HeatingWnd::on_pushButton_save_curve_clicked()
{
    exportPlotWith(this, ui->plot_curve, [this](const QString &name) {
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        QTextStream out(&f);
        out << "t, s\tT, C\n";
        for (std::size_t i = 0; i < Results.times.size(); ++i)
            out << QString::number(Results.times[i], 'f', 6) << "\t"
                << QString::number(Results.focusTemperature[i], 'f', 6) << "\n";
        out.flush();
        return f.error() == QFileDevice::NoError;
    });
}
