// Draws help_poper.png (612 x 544) and help_prodol.png (648 x 537): how a transverse and an axial
// calculation plane are placed against the array and what their parameters mean.
// Usage: kormax_helppictures <output directory>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QtMath>
#include <cstdio>

namespace {

const QColor planeFill(78, 186, 111, 110);
const QColor planeEdge(40, 120, 70);
const QColor arrayColour(70, 110, 170);
const QColor dimColour(150, 40, 40);

QFont font(int pointSize, bool bold = false)
{
    QFont f("DejaVu Sans");
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

// Rich text (subscripts) with its top-left corner at pos, or centred on pos.
void text(QPainter &p, const QPointF &pos, const QString &html, int pointSize = 11, bool centred = false,
          const QColor &colour = Qt::black, bool boxed = false)
{
    QTextDocument doc;
    doc.setDefaultFont(font(pointSize));
    doc.setDocumentMargin(0);
    doc.setHtml(QString("<span style=\"color:%1\">%2</span>").arg(colour.name(), html));
    QPointF at = pos;
    if (centred)
        at -= QPointF(doc.idealWidth() / 2, doc.size().height() / 2);
    p.save();
    p.translate(at);
    if (boxed) {
        // Keeps a label readable where it lies over the plane's points.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawRoundedRect(QRectF(-3, -1, doc.idealWidth() + 6, doc.size().height() + 2), 3, 3);
    }
    doc.drawContents(&p);
    p.restore();
}

void arrowHead(QPainter &p, const QPointF &tip, const QPointF &from, double size = 9)
{
    const QLineF back(tip, from);
    const double a = qDegreesToRadians(back.angle());
    const double spread = qDegreesToRadians(20.0);
    // QLineF angles run counter-clockwise with y up; screen y points down.
    const QPointF p1 = tip + QPointF(std::cos(a + spread) * size, -std::sin(a + spread) * size);
    const QPointF p2 = tip + QPointF(std::cos(a - spread) * size, -std::sin(a - spread) * size);
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(p1);
    head.lineTo(p2);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

void arrow(QPainter &p, const QPointF &from, const QPointF &to)
{
    p.drawLine(from, to);
    arrowHead(p, to, from);
}

// A dimension: a line with arrow heads at both ends and its label beside the middle.
void dimension(QPainter &p, const QPointF &a, const QPointF &b, const QString &label, const QPointF &labelOffset)
{
    p.save();
    p.setPen(QPen(dimColour, 1.5));
    p.drawLine(a, b);
    arrowHead(p, a, b, 8);
    arrowHead(p, b, a, 8);
    p.restore();
    text(p, (a + b) / 2 + labelOffset, label, 12, true, dimColour);
}

// The array seen from the side: a spherical cap facing +z with a few elements on it.
void drawArraySide(QPainter &p, const QPointF &pole, double radius, double halfAngleDeg)
{
    const QPointF centre = pole + QPointF(radius, 0);
    const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.save();
    p.setPen(QPen(arrayColour, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(circle, int((180 - halfAngleDeg) * 16), int(2 * halfAngleDeg * 16));
    // Elements: short marks on the inner side of the cap.
    p.setPen(QPen(QColor(30, 60, 120), 3, Qt::SolidLine, Qt::FlatCap));
    for (double a = -halfAngleDeg + 4; a <= halfAngleDeg - 3; a += 7) {
        const double t = qDegreesToRadians(180 + a);
        const QPointF onCap = centre + QPointF(radius * std::cos(t), radius * std::sin(t));
        const QPointF inward = (centre - onCap) / radius;
        p.drawLine(onCap + inward * 4, onCap + inward * 10);
    }
    p.restore();
    const double t = qDegreesToRadians(180 + halfAngleDeg);
    const QPointF upperEnd = centre + QPointF(radius * std::cos(t), radius * std::sin(t));
    text(p, upperEnd + QPointF(12, -18), "решетка", 11, true, arrayColour);
}

void drawAxisZ(QPainter &p, const QPointF &from, const QPointF &to)
{
    p.save();
    p.setPen(QPen(Qt::black, 1.5, Qt::DashDotLine));
    p.drawLine(from, to - QPointF(12, 0));
    p.setPen(QPen(Qt::black, 1.5));
    arrow(p, to - QPointF(14, 0), to);
    p.restore();
    text(p, to + QPointF(-8, 16), "<i>z</i>", 13, true);
}

void focusMarker(QPainter &p, const QPointF &at, const QPointF &labelAt)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(at, 5, 5);
    p.restore();
    text(p, labelAt, "фокус", 11, true, Qt::black, true);
}

void dots(QPainter &p, const QVector<QPointF> &points, const QColor &colour, double radius = 2.6)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (const QPointF &pt : points)
        p.drawEllipse(pt, radius, radius);
    p.restore();
}

void legend(QPainter &p, double top, const QStringList &lines)
{
    p.save();
    p.setPen(QPen(QColor(180, 180, 180), 1));
    p.drawLine(QPointF(20, top - 10), QPointF(p.device()->width() - 20, top - 10));
    p.restore();
    for (int i = 0; i < lines.size(); ++i)
        text(p, QPointF(24, top + i * 24), lines[i], 11);
}

QImage transversePicture()
{
    QImage img(612, 544, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    text(p, QPointF(306, 24), "<b>Поперечная плоскость расчета поля</b>", 14, true);
    text(p, QPointF(306, 48),
         "перпендикулярна оси решетки и находится на расстоянии "
         "<i>z</i><sub>0</sub> от ее вершины",
         10, true);

    const double axisY = 232;
    const QPointF pole(60, axisY);
    drawAxisZ(p, pole, QPointF(590, axisY));
    drawArraySide(p, pole, 330, 19);

    // The plane in an oblique view: its y axis vertical, its x axis drawn receding.
    const QPointF centre(350, axisY);
    const QPointF ux(0.62, -0.26); // one pixel of plane x
    const QPointF uy(0, -1);       // one pixel of plane y
    const double half = 105;
    const QPointF corners[4] = {centre + (ux + uy) * half, centre + (-ux + uy) * half, centre + (-ux - uy) * half,
                                centre + (ux - uy) * half};
    p.save();
    p.setPen(QPen(planeEdge, 1.5));
    p.setBrush(planeFill);
    p.drawPolygon(corners, 4);
    p.restore();

    // Grid points: N = 4 from the centre to the edge inclusive, 2N - 1 = 7 across.
    const int n = 4;
    const double step = half / (n - 1);
    QVector<QPointF> grid;
    for (int i = -(n - 1); i <= n - 1; ++i)
        for (int j = -(n - 1); j <= n - 1; ++j)
            grid << centre + ux * (i * step) + uy * (j * step);
    dots(p, grid, QColor(30, 90, 50));
    // The points counted by N: from the centre up to the edge.
    QVector<QPointF> counted;
    for (int j = 0; j < n; ++j)
        counted << centre + uy * (j * step);
    dots(p, counted, dimColour, 4);

    // Plane axes through its centre.
    p.save();
    p.setPen(QPen(Qt::black, 1.2));
    arrow(p, centre, centre + uy * (half + 28));
    arrow(p, centre, centre + ux * (half + 45));
    p.restore();
    text(p, centre + uy * (half + 28) + QPointF(12, 2), "<i>y</i>", 12, true);
    text(p, centre + ux * (half + 45) + QPointF(10, -8), "<i>x</i>", 12, true);

    // N (the red points from the centre to the edge), dr and R along the plane's y axis.
    const QPointF nLabel(centre.x() - 118, centre.y() - 150);
    p.save();
    p.setPen(QPen(dimColour, 1));
    p.drawLine(nLabel + QPointF(30, 8), centre + uy * (1.5 * step) + QPointF(-6, 0));
    p.restore();
    text(p, nLabel, "<i>N</i> точек", 12, true, dimColour, true);
    dimension(p, centre + uy * (2 * step) + QPointF(-12, 0), centre + uy * (3 * step) + QPointF(-12, 0), "", QPointF());
    text(p, centre + uy * (2.5 * step) + QPointF(-34, 0), "<i>dr</i>", 12, true, dimColour, true);
    const QPointF rStart = centre + ux * (half + 20);
    dimension(p, rStart, rStart + uy * half, "<i>R</i>", QPointF(16, 0));

    focusMarker(p, centre + QPointF(120, 0), centre + QPointF(126, 20));

    // z0 from the array's pole to the plane.
    const double dimY = 390;
    p.save();
    p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DotLine));
    p.drawLine(pole, QPointF(pole.x(), dimY + 8));
    p.drawLine(centre, QPointF(centre.x(), dimY + 8));
    p.restore();
    dimension(p, QPointF(pole.x(), dimY), QPointF(centre.x(), dimY), "<i>z</i><sub>0</sub>", QPointF(0, -14));

    legend(p, 418,
           {"<i>z</i><sub>0</sub> — расстояние от вершины решетки до плоскости, см",
            "<i>N</i><sub>x</sub>, <i>N</i><sub>y</sub> — число точек от центра до края "
            "включительно (всего 2<i>N</i> − 1)",
            "<i>dr</i><sub>x</sub>, <i>dr</i><sub>y</sub> — шаг между соседними точками, см",
            "<i>R</i><sub>x</sub>, <i>R</i><sub>y</sub> = (<i>N</i> − 1)·<i>dr</i> — "
            "полуширина области (вычисляется), см",
            "Положение фокуса задается координатами x, y, z, см"});
    return img;
}

QImage axialPicture()
{
    QImage img(648, 537, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    text(p, QPointF(324, 24), "<b>Аксиальная плоскость расчета поля</b>", 14, true);
    text(p, QPointF(324, 48), "содержит ось решетки и повернута вокруг нее на угол φ", 10, true);

    const double axisY = 230;
    const QPointF pole(40, axisY);
    drawAxisZ(p, pole, QPointF(462, axisY));
    drawArraySide(p, pole, 300, 22);

    // The plane seen from the side: from z_min to z_max along the axis, +-R across it.
    const double zMin = 200, zMax = 410, half = 105;
    const int nz = 8, nr = 4;
    p.save();
    p.setPen(QPen(planeEdge, 1.5));
    p.setBrush(planeFill);
    p.drawRect(QRectF(zMin, axisY - half, zMax - zMin, 2 * half));
    p.restore();
    const double dz = (zMax - zMin) / (nz - 1), dr = half / (nr - 1);
    QVector<QPointF> grid;
    for (int i = 0; i < nz; ++i)
        for (int j = -(nr - 1); j <= nr - 1; ++j)
            grid << QPointF(zMin + i * dz, axisY - j * dr);
    dots(p, grid, QColor(30, 90, 50));
    QVector<QPointF> counted;
    for (int j = 0; j < nr; ++j)
        counted << QPointF(zMax, axisY - j * dr);
    dots(p, counted, dimColour, 4);

    // Steps and counts.
    dimension(p, QPointF(zMin + dz, axisY + half + 14), QPointF(zMin + 2 * dz, axisY + half + 14), "<i>dz</i>",
              QPointF(0, 14));
    text(p, QPointF((zMin + zMax) / 2 + 40, axisY + half + 28), "<i>N</i><sub>z</sub> точек", 11, true, dimColour);
    dimension(p, QPointF(zMax + 16, axisY - 2 * dr), QPointF(zMax + 16, axisY - 3 * dr), "<i>dr</i>", QPointF(20, 0));
    text(p, QPointF(zMax + 34, axisY - 1.0 * dr), "<i>N</i><sub>r</sub>", 13, true, dimColour);
    dimension(p, QPointF(zMin - 16, axisY), QPointF(zMin - 16, axisY - half), "<i>R</i>", QPointF(-14, 0));

    focusMarker(p, QPointF(300, axisY), QPointF(300, axisY + 18));

    // z_min and z_max from the array's pole.
    p.save();
    p.setPen(QPen(QColor(120, 120, 120), 1, Qt::DotLine));
    p.drawLine(pole, QPointF(pole.x(), 420));
    p.drawLine(QPointF(zMin, axisY + half), QPointF(zMin, 385));
    p.drawLine(QPointF(zMax, axisY + half), QPointF(zMax, 420));
    p.restore();
    dimension(p, QPointF(pole.x(), 377), QPointF(zMin, 377), "<i>z</i><sub>min</sub>", QPointF(0, -13));
    dimension(p, QPointF(pole.x(), 412), QPointF(zMax, 412), "<i>z</i><sub>max</sub>", QPointF(0, -13));

    // Inset: looking along the axis; phi turns the plane away from the y axis towards x.
    const QPointF c(560, 170);
    const double rim = 62;
    text(p, QPointF(c.x(), 70), "вид вдоль оси", 10, true);
    p.save();
    p.setPen(QPen(arrayColour, 2));
    p.setBrush(QColor(235, 240, 250));
    p.drawEllipse(c, rim, rim);
    p.setPen(QPen(Qt::black, 1.2));
    arrow(p, c + QPointF(-rim - 8, 0), c + QPointF(rim + 14, 0));
    arrow(p, c + QPointF(0, rim + 8), c + QPointF(0, -rim - 14));
    const double phi = qDegreesToRadians(35.0);
    const QPointF dir(std::sin(phi), -std::cos(phi));
    p.setPen(QPen(planeEdge, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c - dir * (rim * 0.8), c + dir * (rim * 0.8));
    p.setPen(QPen(dimColour, 1.5));
    p.setBrush(Qt::NoBrush);
    const QRectF arcBox(c.x() - 34, c.y() - 34, 68, 68);
    p.drawArc(arcBox, 90 * 16, -35 * 16);
    p.restore();
    text(p, c + QPointF(rim + 22, -4), "<i>x</i>", 12, true);
    text(p, c + QPointF(10, -rim - 24), "<i>y</i>", 12, true);
    text(p, c + QPointF(13, -48), "φ", 13, true, dimColour);
    text(p, c + QPointF(0, rim + 22), "плоскость при φ = 0 —", 9, true);
    text(p, c + QPointF(0, rim + 38), "плоскость осей y и z", 9, true);

    legend(p, 440,
           {"<i>z</i><sub>min</sub>, <i>z</i><sub>max</sub> = <i>z</i><sub>min</sub> + "
            "(<i>N</i><sub>z</sub> − 1)·<i>dz</i> — границы области вдоль оси, см",
            "φ — угол поворота плоскости вокруг оси решетки, °",
            "<i>N</i><sub>z</sub> — число точек вдоль оси; <i>N</i><sub>r</sub> — от оси "
            "до края включительно",
            "<i>dz</i>, <i>dr</i> — шаги вдоль и поперек оси, см; "
            "<i>R</i> = (<i>N</i><sub>r</sub> − 1)·<i>dr</i>, см"});
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!transversePicture().save(dir + "/help_poper.png") || !axialPicture().save(dir + "/help_prodol.png")) {
        std::fprintf(stderr, "cannot write the help pictures into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
