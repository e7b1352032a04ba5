// Draws the application's pictures: logo_png.png (icon of every working window) and icon.png
// (icon of the help windows). Both show the array's idea -- elements on a spherical cap whose
// beams meet in the focus; the help icon adds a question mark.
// Usage: kormax-pictures <application dir>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

const int size = 128;

// The cap as a cross-section: an arc on the left, elements on it, beams to the focus on the right.
void drawArray(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, size);
    background.setColorAt(0, QColor(0x2b, 0x5c, 0xa8));
    background.setColorAt(1, QColor(0x14, 0x2f, 0x5e));
    p.setPen(Qt::NoPen);
    p.setBrush(background);
    p.drawRoundedRect(QRectF(2, 2, size - 4, size - 4), 22, 22);

    const QPointF focus(96, 64);
    const double radius = 74; // curvature radius in pixels, centred on the focus
    const double half = 0.75; // half opening angle of the cap, radians
    // Beams from the elements to the focus, faint.
    p.setPen(QPen(QColor(255, 255, 255, 70), 2));
    const int elements = 7;
    for (int i = 0; i < elements; ++i) {
        const double a = M_PI - half + 2 * half * i / (elements - 1);
        p.drawLine(QPointF(focus.x() + radius * std::cos(a), focus.y() + radius * std::sin(a)), focus);
    }
    // The cap.
    QPainterPath cap;
    const QRectF circle(focus.x() - radius, focus.y() - radius, 2 * radius, 2 * radius);
    cap.arcMoveTo(circle, 180 - half * 180 / M_PI);
    cap.arcTo(circle, 180 - half * 180 / M_PI, 2 * half * 180 / M_PI);
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cap);
    // Elements on the cap.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xb3, 0x30));
    for (int i = 0; i < elements; ++i) {
        const double a = M_PI - half + 2 * half * i / (elements - 1);
        p.drawEllipse(QPointF(focus.x() + radius * std::cos(a), focus.y() + radius * std::sin(a)), 6, 6);
    }
    // The focus.
    QRadialGradient glow(focus, 16);
    glow.setColorAt(0, QColor(255, 80, 60));
    glow.setColorAt(1, QColor(255, 80, 60, 0));
    p.setBrush(glow);
    p.drawEllipse(focus, 16, 16);
    p.setBrush(QColor(255, 230, 220));
    p.drawEllipse(focus, 4, 4);
}

bool save(const QImage &img, const QString &path)
{
    if (img.save(path))
        return true;
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <application dir>\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts for the question mark
    const QDir dir(QString::fromLocal8Bit(argv[1]));

    QImage logo(size, size, QImage::Format_ARGB32_Premultiplied);
    logo.fill(Qt::transparent);
    {
        QPainter p(&logo);
        drawArray(p);
    }

    QImage help = logo.copy();
    {
        QPainter p(&help);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x14, 0x2f, 0x5e), 3));
        p.setBrush(Qt::white);
        const QRectF badge(size - 62, size - 62, 56, 56);
        p.drawEllipse(badge);
        QFont font("DejaVu Sans");
        font.setBold(true);
        font.setPixelSize(42);
        p.setFont(font);
        p.setPen(QColor(0x2b, 0x5c, 0xa8));
        p.drawText(badge, Qt::AlignCenter, "?");
    }

    const bool ok = save(logo, dir.filePath("logo_png.png")) && save(help, dir.filePath("icon.png"));
    return ok ? 0 : 1;
}
