#include "layout_design.h"

#include <QPainter>
#include <cmath>

#include "form_fields.h"
#include "main_params.h"

namespace layoutdesign {

using kcalc::design::Generator;

const Generator generators[5] = {Generator::Random, Generator::Spiral, Generator::Hexagonal, Generator::Rings,
                                 Generator::JitteredHexagonal};

QString generatorName(Generator kind)
{
    switch (kind) {
    case Generator::Random:
        return QString::fromUtf8("Случайная");
    case Generator::Spiral:
        return QString::fromUtf8("Спираль Ферма");
    case Generator::Hexagonal:
        return QString::fromUtf8("Гексагональная");
    case Generator::Rings:
        return QString::fromUtf8("Кольца");
    case Generator::JitteredHexagonal:
        return QString::fromUtf8("Гексагональная со смещением");
    }
    return QString();
}

QString readMainFields(const MainFields &f, DesignArray *out)
{
    for (const QString *text :
         {&f.aperture, &f.curvature, &f.frequency, &f.elementRadius, &f.hole, &f.density, &f.soundSpeed})
        if (text->trimmed().isEmpty())
            return QString::fromUtf8("Для проектирования решетки заполните в главном окне апертуру, радиус "
                                     "кривизны, рабочую частоту, радиус элемента, радиус отверстия, плотность и "
                                     "скорость звука.");
    kcalc::ArrayGeometry a;
    a.aperture = formfields::fieldValue(f.aperture) / 100;
    const float R = static_cast<float>(formfields::fieldValue(f.curvature) / 100);
    a.curvatureRadius = double(R);
    a.frequency = formfields::fieldValue(f.frequency) * 1e6;
    a.elementRadius = formfields::fieldValue(f.elementRadius) / 100;
    a.holeRadius = formfields::fieldValue(f.hole) / 100;
    const QString geometry = mainparams::geometryError(a.aperture, R, a.elementRadius, a.holeRadius);
    if (!geometry.isEmpty())
        return geometry;
    kcalc::Medium m;
    m.density = formfields::fieldValue(f.density);
    m.soundSpeed = formfields::fieldValue(f.soundSpeed);
    m.heatCapacity = 4200;
    m.absorption_dB_cm_MHz = f.absorption;
    if (!(a.curvatureRadius > 0) || !(a.elementRadius > 0) || !(a.frequency > 0) || !(m.density > 0)
        || !(m.soundSpeed > 0))
        return QString::fromUtf8("Радиус кривизны, радиус элемента, частота, плотность и скорость звука должны быть "
                                 "больше нуля. Проверьте поля главного окна.");
    out->array = a;
    out->medium = m;
    return QString();
}

std::vector<kcalc::ElementPosition> layoutFromElem(const VDOUB2 &elem)
{
    std::vector<kcalc::ElementPosition> layout;
    for (const VDOUB &row : elem)
        if (row.size() >= 2)
            layout.push_back({row[0], row[1]});
    return layout;
}

VDOUB2 elemFromLayout(const std::vector<kcalc::ElementPosition> &layout)
{
    VDOUB2 rows;
    for (const kcalc::ElementPosition &p : layout)
        rows.push_back({p.x, p.y});
    return rows;
}

QString layoutCheckText(const kcalc::design::LayoutCheck &c, double gap)
{
    const auto n = [](std::size_t v) { return QString::number(qulonglong(v)); };
    QString t = QString::fromUtf8("Элементов: ") + n(c.count) + "\n";
    t += QString::fromUtf8("Коэффициент заполнения: ") + QString::number(c.fillFactor, 'f', 3) + "\n";
    if (c.count >= 2)
        t += QString::fromUtf8("Наименьший зазор между краями: ") + QString::number(c.smallestGap * 1000, 'f', 3)
             + QString::fromUtf8(" мм") + "\n";
    t += QString::fromUtf8("Пар ближе зазора ") + QString::number(gap * 1000, 'g', 6) + QString::fromUtf8(" мм: ")
         + n(c.closePairs) + QString::fromUtf8(", из них перекрываются: ") + n(c.overlappingPairs) + "\n";
    t += QString::fromUtf8("За краем апертуры: ") + n(c.outsideAperture) + QString::fromUtf8(", в отверстии: ")
         + n(c.insideHole) + "\n";
    t += c.valid() ? QString::fromUtf8("Расположение допустимо.")
                   : QString::fromUtf8("Расположение недопустимо: элементы перекрываются, слишком близки или выходят "
                                       "за край апертуры или в отверстие.");
    return t;
}

QPixmap layoutPicture(const kcalc::ArrayGeometry &array, const std::vector<kcalc::ElementPosition> &layout, int side)
{
    QPixmap picture(side, side);
    picture.fill(Qt::white);
    if (!(array.aperture > 0))
        return picture;
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const double K = (side - 4) / array.aperture;
    p.translate(side / 2.0, side / 2.0);
    p.setPen(QPen(Qt::red, 1));
    p.drawEllipse(QPointF(0, 0), K * array.aperture / 2, K * array.aperture / 2);
    p.drawEllipse(QPointF(0, 0), K * array.holeRadius, K * array.holeRadius);
    p.setPen(QPen(Qt::blue, 1));
    // Screen y points down, as the layout's y: the file's y axis points up, as in the front view.
    for (const kcalc::ElementPosition &e : layout)
        p.drawEllipse(QPointF(K * e.x, K * e.y), K * array.elementRadius, K * array.elementRadius);
    return picture;
}

QList<jobfiles::JobFile> scoreJobFiles(const DesignArray &d, const std::vector<kcalc::ElementPosition> &layout,
                                       const kcalc::design::ScoreSettings &settings)
{
    const VDOUB2 rows = elemFromLayout(layout);
    const kcalc::ArrayGeometry &a = d.array;
    return {
        {"array.txt",
         jobfiles::arrayText(a.aperture, float(a.curvatureRadius), a.elementRadius, a.frequency, a.holeRadius)},
        {"medium.txt",
         jobfiles::mediumText(d.medium.density, d.medium.soundSpeed, 4200, float(d.medium.absorption_dB_cm_MHz))},
        {"array_elements.txt", jobfiles::elementsText(rows)},
        {kcalc::design::scoreSettingsName(), QByteArray::fromStdString(kcalc::design::scoreSettingsText(settings))}};
}

QList<jobfiles::JobFile> designJobFiles(const DesignArray &d, const std::string &candidates,
                                        const kcalc::design::ScoreSettings &settings)
{
    QList<jobfiles::JobFile> files;
    for (const jobfiles::JobFile &f : scoreJobFiles(d, {}, settings))
        if (f.name != "array_elements.txt")
            files << f;
    files << jobfiles::JobFile{kcalc::design::candidatesName(), QByteArray::fromStdString(candidates)};
    return files;
}

QString ensembleReport(const std::vector<kcalc::design::ScoredCandidate> &rows)
{
    struct Score {
        const char *name;
        double scale;
        double (*of)(const kcalc::design::Scores &);
    };
    const Score scores[] = {
        {"Доля наведения", 1, [](const kcalc::design::Scores &s) { return s.steerableArea; }},
        {"Боковой максимум", 1, [](const kcalc::design::Scores &s) { return s.worstSide; }},
        {"Усиление |p(F)|/p0", 1, [](const kcalc::design::Scores &s) { return s.gain; }},
        {"−6 дБ поперек, мм", 1000, [](const kcalc::design::Scores &s) { return s.lateralWidth; }},
        {"−6 дБ вдоль, мм", 1000, [](const kcalc::design::Scores &s) { return s.axialLength; }},
    };
    const auto text = [](double v) { return QString::number(v, 'g', 4); };
    QString report = QString::fromUtf8("Ансамбль из ") + QString::number(rows.size()) + QString::fromUtf8(" зерен.\n");
    for (const Score &score : scores) {
        std::vector<double> v;
        for (const kcalc::design::ScoredCandidate &c : rows)
            v.push_back(score.of(c.scores) * score.scale);
        const kcalc::design::Distribution d = kcalc::design::distribution(v, 10);
        report += "\n" + QString::fromUtf8(score.name) + QString::fromUtf8(": медиана ") + text(d.median)
                  + QString::fromUtf8(", 5 % — ") + text(d.p5) + QString::fromUtf8(", 95 % — ") + text(d.p95)
                  + QString::fromUtf8(", от ") + text(d.lowest) + QString::fromUtf8(" до ") + text(d.highest) + "\n";
        const double width = (d.highest - d.lowest) / double(d.histogram.size());
        for (std::size_t b = 0; b < d.histogram.size(); ++b)
            report += QString("  %1 %2 %3\n")
                          .arg(text(d.lowest + width * double(b)), 10)
                          .arg(QString(int(d.histogram[b]), QChar(0x2588)))
                          .arg(d.histogram[b]);
    }
    return report;
}

QString scoreRegionText(const kcalc::design::ScoreSettings &s)
{
    return QString::fromUtf8("Усиление и ширина по уровню −6 дБ — при фокусе в центре кривизны. Боковые максимумы — "
                             "на поперечной и аксиальной плоскостях через точки наведения (0, 5, 10, 15 мм от оси "
                             "при z = F и ±15 мм по оси), ±")
           + QString::number(s.sideHalfWidth, 'g', 6) + QString::fromUtf8("λ с шагом ")
           + QString::number(s.sideStep, 'g', 6)
           + QString::fromUtf8("λ. Доля наведения — по грубой области смещения фокуса (аксиальная плоскость: z от F/2 "
                               "до 3F/2, 25 точек; r ±D/6, 11 точек), поле с шагом в ")
           + QString::number(s.fieldRefinement) + QString::fromUtf8(" раза мельче.");
}

} // namespace layoutdesign
