#ifndef RECORDING_DEVICE_H
#define RECORDING_DEVICE_H

#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QSize>
#include <QTransform>
#include <QVector>

namespace testsupport {

// A paint device that draws nothing but records every text a painter writes on it, with the
// painter's transform and font at that moment and the last rectangle drawn before it, so a test
// can tell where a label went, how it was turned and what backs it. Its resolution is that of a
// screen (96 dpi) unless given.
class RecordingDevice : public QPaintDevice
{
public:
    struct Text {
        QString text;
        QPointF origin;       // where the painter was asked to start the text
        QTransform transform; // painter's transform at that moment
        QFont font;
        QRectF box; // device coordinates: bounding box of the last rectangle drawn before the text
    };

    explicit RecordingDevice(const QSize &size, int dpi = 96) : m_size(size), m_dpi(dpi) {}
    ~RecordingDevice() override;

    const QVector<Text> &texts() const { return m_engine.texts; }
    void clear() { m_engine.texts.clear(); }

    QPaintEngine *paintEngine() const override { return const_cast<Engine *>(&m_engine); }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine : public QPaintEngine
    {
    public:
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &state) override
        {
            if (state.state() & QPaintEngine::DirtyTransform)
                transform = state.transform();
            if (state.state() & QPaintEngine::DirtyFont)
                font = state.font();
        }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            texts.append({item.text(), p, transform, font, box});
        }
        void drawLines(const QLineF *, int) override {}
        void drawLines(const QLine *, int) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath &) override {}
        void drawRects(const QRectF *rects, int n) override
        {
            if (n > 0)
                box = transform.mapRect(rects[n - 1]);
        }
        void drawRects(const QRect *rects, int n) override
        {
            if (n > 0)
                box = transform.mapRect(QRectF(rects[n - 1]));
        }
        Type type() const override { return QPaintEngine::User; }

        QVector<Text> texts;
        QTransform transform;
        QFont font;
        QRectF box;
    };

    Engine m_engine;
    QSize m_size;
    int m_dpi;
};

inline RecordingDevice::~RecordingDevice() = default;

inline int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return m_size.width() * 254 / (10 * m_dpi);
    case PdmHeightMM:
        return m_size.height() * 254 / (10 * m_dpi);
    case PdmNumColors:
        return 1 << 24;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}

} // namespace testsupport

#endif // RECORDING_DEVICE_H
