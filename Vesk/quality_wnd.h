#ifndef QUALITY_WND_H
#define QUALITY_WND_H

#include <QByteArray>
#include <QString>
#include <QWidget>

#include "grid.h"
#include "quality_results.h"

class QCloseEvent;
class QPushButton;

// What the two quality windows (axial and transverse plane) share: two regions, the field region
// over which the calculator computes the field and the focus-shift region whose points the focus
// visits; the main-maxima and side-maxima scan runs in main_max/ and side_max/; the enabling of
// the run and result buttons; the exit question. Each window adds its form, the reading of its
// fields and what differs between the planes: the job's grid files, the checks and the grid of a run.
class QualityWnd : public QWidget
{
    Q_OBJECT

public:
    enum class Scan { Main, Side };

    // Grid of the focus-shift region of the last started run (of either kind); null before it.
    const SharedGrid &currentGrid() const { return G; }

protected:
    // What differs between the axial and the transverse window besides the form.
    struct Plane {
        bool axial;
        QString *mainPath; // path global of the binary result of a main-maxima run
        QString *sidePath; // and of a side-maxima run
    };
    // The buttons the shared logic drives.
    struct Buttons {
        QPushButton *runMain;
        QPushButton *runSide;
        QPushButton *resultMain;
        QPushButton *resultSide;
        QPushButton *resultBoth;
    };

    QualityWnd(const Plane &plane, QWidget *parent);

    // Title, icon, minimum size and the preview's focus; called after the form is set up.
    void setUpWindow(const QString &title, QWidget *preview, const Buttons &buttons);

    // Tail of every field edit: the run buttons follow the completeness of both regions, and any
    // edit makes the results shown so far stale.
    void regionsChanged(bool bothComplete);

    // A scan run: read the regions, write the job into the run's folder, check, launch, wait for
    // the user and record the run.
    void runScan(Scan kind);

    // "Сохранить сеанс", with this window's fields; and the fields kept for a later save or filled
    // back from an opened session (sessionKey: "axial" or "transverse").
    void saveSession();
    QString sessionKey() const { return m_plane.axial ? "axial" : "transverse"; }

    // The note after the side-maxima defaults: coarse grids for a quick estimate.
    void showSideDefaultsNote();

    // The result actions: the map of one kind of scan, or both together, in a new window.
    void showResult(Scan kind);
    void showBothResults();

    void closeEvent(QCloseEvent *event) override;

    // The window's part of a run.
    // Reads both regions from the form into the plane globals and the run's stored state.
    virtual void readRun(Scan kind) = 0;
    // grid_calc.txt of the job: the focus-shift region stored by readRun.
    virtual QByteArray focusShiftGridText(Scan kind) const = 0;
    // First failing check of the stored regions, empty when the run may go on.
    virtual QString checkRun(Scan kind) const = 0;
    // The grid of the run's focus-shift region, as the result windows draw it.
    virtual Grid focusShiftGrid(Scan kind) const = 0;
    // What the result actions need: the regions of the last runs, the result type and the
    // contour levels of the form.
    virtual qualityresult::Request resultRequest() const = 0;

    SharedGrid G;
    bool main_is_ready = false;
    bool side_is_ready = false;

private:
    void updateResultButtons();

    Plane m_plane;
    Buttons m_buttons{};
};

// The binary and text result names of a scan in the axial or transverse plane.
namespace scanjob {
QString binaryResultName(bool axial);
QString fieldResultName(bool axial);
// The job folder of a kind of scan: main_max/ or side_max/ in the application directory.
QString folder(QualityWnd::Scan kind);
} // namespace scanjob

#endif // QUALITY_WND_H
