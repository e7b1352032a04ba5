#include "profile_wnd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTextStream>
#include <QVBoxLayout>
#include <cmath>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>

#include "plot_export.h"
#include "window_common.h"

int nearestIndex(const VDOUB &coords, double c)
{
    int best = 0;
    for (int k = 1; k < int(coords.size()); ++k)
        if (std::abs(coords[k] - c) < std::abs(coords[best] - c))
            best = k;
    return best;
}

ProfilePair profilesThrough(const VDOUB3 &z, int i, int j, bool decibels, double factor, double floorDb)
{
    ProfilePair p;
    p.alongX = profileAlongX(z, j);
    p.alongY = profileAlongY(z, i);
    if (p.alongX.value.empty() || p.alongY.value.empty())
        return p;
    p.x = p.alongX.coord[i];
    p.y = p.alongY.coord[j];
    if (decibels) {
        const double reference = fieldPeak(z).value;
        for (LineProfile *line : {&p.alongX, &p.alongY})
            for (double &v : line->value)
                v = toDecibels(v, reference, factor, floorDb);
    }
    return p;
}

QString profilesText(const ProfilePair &p, const ProfileSetup &s, bool decibels)
{
    const QString unit = decibels ? QStringLiteral("дБ") : s.unit;
    const QString valueTitle = unit.isEmpty() ? QStringLiteral("значение") : "значение, " + unit;
    const QString point = s.xName + " = " + QString::number(p.x, 'f', 6) + " см, " + s.yName + " = "
                          + QString::number(p.y, 'f', 6) + " см";
    QString text;
    auto line = [&](const LineProfile &l, const QString &name) {
        text += "Профиль вдоль " + name + " через точку " + point + "\n";
        text += name + ", см    " + valueTitle + "\n";
        for (size_t k = 0; k < l.coord.size(); ++k)
            text += QString::number(l.coord[k], 'f', 6) + "    " + QString::number(l.value[k], 'f', 6) + "\n";
    };
    line(p.alongX, s.xName);
    text += "\n";
    line(p.alongY, s.yName);
    return text;
}

ProfileWnd::ProfileWnd(const VDOUB3 &z, const ProfileSetup &setup, QWidget *parent) :
    QWidget(parent), m_z(z), m_setup(setup)
{
    setWindowTitle("Профили поля");
    window::setIconFromAppDir(this);

    m_plot = new QwtPlot(this);
    m_plot->setObjectName("profilePlot");
    m_plot->setCanvasBackground(Qt::white);
    m_plot->insertLegend(new QwtLegend(), QwtPlot::BottomLegend);
    m_plot->setAxisTitle(QwtPlot::xBottom, QStringLiteral("смещение от точки пересечения, см"));
    QwtPlotGrid *grid = new QwtPlotGrid();
    grid->setMajorPen(QPen(Qt::lightGray, 0, Qt::DotLine));
    grid->attach(m_plot);
    m_curveX = new QwtPlotCurve();
    m_curveX->setPen(QPen(Qt::darkBlue, 2));
    m_curveX->setRenderHint(QwtPlotItem::RenderAntialiased);
    m_curveX->attach(m_plot);
    m_curveY = new QwtPlotCurve();
    m_curveY->setPen(QPen(Qt::darkRed, 2, Qt::DashLine));
    m_curveY->setRenderHint(QwtPlotItem::RenderAntialiased);
    m_curveY->attach(m_plot);

    m_through = new QComboBox(this);
    m_through->setObjectName("comboThrough");
    m_through->addItems({"Через максимум", "Через фокус"});
    if (!setup.haveFocus) {
        if (auto *model = qobject_cast<QStandardItemModel *>(m_through->model()))
            model->item(1)->setEnabled(false);
        m_through->setItemData(1, "Фокус вне сетки расчета", Qt::ToolTipRole);
    }
    m_decibels = new QCheckBox("Шкала в дБ", this);
    m_decibels->setObjectName("checkDecibels");
    m_decibels->setChecked(setup.decibels);
    QPushButton *save = new QPushButton("Сохранить в файл", this);
    save->setObjectName("pushButtonSave");

    QHBoxLayout *row = new QHBoxLayout();
    row->addWidget(m_through);
    row->addWidget(m_decibels);
    row->addWidget(save);
    QVBoxLayout *layout = new QVBoxLayout(this);
    layout->addWidget(m_plot, 1);
    layout->addLayout(row);

    connect(m_through, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { update(); });
    connect(m_decibels, &QCheckBox::toggled, this, [this] { update(); });
    connect(save, &QPushButton::clicked, this, &ProfileWnd::exportDocument);

    resize(window::scaledSize(QSize(560, 420), false));
    update();
}

void ProfileWnd::setDecibels(bool on)
{
    m_decibels->setChecked(on);
}

void ProfileWnd::setThroughFocus(bool on)
{
    if (!on || m_setup.haveFocus)
        m_through->setCurrentIndex(on ? 1 : 0);
}

void ProfileWnd::update()
{
    int i = 0, j = 0;
    if (m_through->currentIndex() == 1) {
        const LineProfile alongX = profileAlongX(m_z, 0), alongY = profileAlongY(m_z, 0);
        i = nearestIndex(alongX.coord, m_setup.focusU);
        j = nearestIndex(alongY.coord, m_setup.focusV);
    } else {
        const FieldPoint peak = fieldPeak(m_z);
        i = peak.i;
        j = peak.j;
    }
    const bool db = m_decibels->isChecked();
    m_profiles = profilesThrough(m_z, i, j, db, m_setup.factor, m_setup.floorDb);

    auto offsets = [](const LineProfile &l, double centre) {
        QVector<double> v;
        for (double c : l.coord)
            v << c - centre;
        return v;
    };
    auto values = [](const LineProfile &l) { return QVector<double>(l.value.begin(), l.value.end()); };
    m_curveX->setSamples(offsets(m_profiles.alongX, m_profiles.x), values(m_profiles.alongX));
    m_curveY->setSamples(offsets(m_profiles.alongY, m_profiles.y), values(m_profiles.alongY));
    m_curveX->setTitle("вдоль " + m_setup.xName + " (" + m_setup.yName + " = " + QString::number(m_profiles.y, 'f', 3)
                       + " см)");
    m_curveY->setTitle("вдоль " + m_setup.yName + " (" + m_setup.xName + " = " + QString::number(m_profiles.x, 'f', 3)
                       + " см)");

    const QString unit = db ? QStringLiteral("дБ") : m_setup.unit;
    m_plot->setAxisTitle(QwtPlot::yLeft, unit.isEmpty() ? QStringLiteral("значение") : unit);
    if (db)
        m_plot->setAxisScale(QwtPlot::yLeft, m_setup.floorDb, 0.0);
    else
        m_plot->setAxisAutoScale(QwtPlot::yLeft);
    m_plot->setTitle(m_through->currentIndex() == 1 ? "Профили через фокус" : "Профили через максимум");
    m_plot->replot();
}

void ProfileWnd::exportDocument()
{
    exportPlotWith(this, m_plot, [this](const QString &name) {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        QTextStream out(&file);
        out << profilesText(m_profiles, m_setup, m_decibels->isChecked());
        out.flush();
        return file.error() == QFileDevice::NoError;
    });
}
