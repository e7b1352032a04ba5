#include "quality_wnd.h"

#include <QCloseEvent>
#include <QPushButton>

#include "JobProtocol.h"
#include "job_files.h"
#include "platform.h"
#include "scan_jobs.h"
#include "session_state.h"
#include "shared_params.h"
#include "window_common.h"

namespace scanjob {

namespace {
kjobs::PlaneKind plane(bool axial)
{
    return axial ? kjobs::PlaneKind::Axial : kjobs::PlaneKind::Transverse;
}
const char *kindName(QualityWnd::Scan kind)
{
    return kind == QualityWnd::Scan::Main ? "main_max" : "side_max";
}
} // namespace

QString binaryResultName(bool axial)
{
    return QString::fromStdString(kjobs::scanResultName(plane(axial)));
}

QString fieldResultName(bool axial)
{
    return QString::fromStdString(kjobs::fieldResultName(plane(axial)));
}

QString folder(QualityWnd::Scan kind)
{
    return jobfiles::kindFolder(kindName(kind));
}

} // namespace scanjob

QualityWnd::QualityWnd(const Plane &plane, QWidget *parent) : QWidget(parent), m_plane(plane) {}

void QualityWnd::setUpWindow(const QString &title, QWidget *preview, const Buttons &buttons)
{
    m_buttons = buttons;
    preview->setFocusPolicy(Qt::StrongFocus);
    window::setIconFromAppDir(this);
    setWindowTitle(title);
    setMinimumSize(window::scaledSize(QSize(823, 652), true));
    window::growToContents(this);
    main_is_ready = false;
    side_is_ready = false;
}

void QualityWnd::regionsChanged(bool bothComplete)
{
    m_buttons.runMain->setEnabled(bothComplete);
    m_buttons.runSide->setEnabled(bothComplete);
    // The ready flags stay: a later run of either kind enables its results again.
    for (QPushButton *b : {m_buttons.resultMain, m_buttons.resultSide, m_buttons.resultBoth})
        b->setEnabled(false);
}

void QualityWnd::updateResultButtons()
{
    m_buttons.resultMain->setEnabled(main_is_ready);
    m_buttons.resultSide->setEnabled(side_is_ready);
    m_buttons.resultBoth->setEnabled(main_is_ready && side_is_ready);
}

void QualityWnd::runScan(Scan kind)
{
    using namespace shared;
    const bool side = kind == Scan::Side;
    is_side = side;
    readRun(kind);

    const bool axial = m_plane.axial;
    jobfiles::Job job = jobfiles::kindJob(kind == Scan::Main ? "main_max" : "side_max");
    // The field region goes to grid_scan.txt, the focus positions to grid_calc.txt.
    const QByteArray focusShift = focusShiftGridText(kind);
    const QByteArray field = jobfiles::planeGridText(axial);
    job.files = scanjob::jobFiles(axial, focusShift);
    QString *path = side ? m_plane.sidePath : m_plane.mainPath;
    job.written = [axial, path, &job] {
        file_to_calc_qual = scanjob::binaryResultName(axial);
        file_to_calc_field_in_max = scanjob::fieldResultName(axial);
        *path = job.folder + file_to_calc_qual;
    };
    job.check = [this, kind] { return checkRun(kind); };
    job.refuse = [&field, &focusShift] {
        QString refusal = jobfiles::gridRefusal(field, "Область расчета поля");
        if (refusal.isEmpty())
            refusal = jobfiles::gridRefusal(focusShift, "Область смещения фокуса");
        if (refusal.isEmpty())
            refusal = jobfiles::scanMemoryRefusal(field, focusShift, int(Elem.size()), platform::physicalMemory());
        return refusal;
    };
    if (!jobfiles::run(this, job))
        return;

    // Result windows opened from the earlier grid keep it alive as long as they need it.
    G = std::make_shared<const Grid>(focusShiftGrid(kind));
    Nx_G_qual = G->Nx;
    Ny_G_qual = G->Ny;
    (side ? Nx_G_qual_side : Nx_G_qual_main) = Nx_G_qual;
    (side ? Ny_G_qual_side : Ny_G_qual_main) = Ny_G_qual;
    (side ? side_is_ready : main_is_ready) = true;
    updateResultButtons();
}

void QualityWnd::showSideDefaultsNote()
{
    platform::information(this, "Внимание!",
                          "По умолчанию выбраны грубые шаги сеток расчета поля и смещения фокуса, которые позволяют "
                          "выполнить быструю оценку качества поля по побочным максимумам. Для повышения точности "
                          "следует уменьшить шаг. При этом время расчета увеличится.");
}

void QualityWnd::showResult(Scan kind)
{
    const bool side = kind == Scan::Side;
    qualityresult::showSingle(side, resultRequest());
}

void QualityWnd::showBothResults()
{
    qualityresult::showMainAndSide(resultRequest());
}

void QualityWnd::saveSession()
{
    sessionstate::keepForm(this, sessionKey());
    sessionstate::saveAs(this);
}

void QualityWnd::closeEvent(QCloseEvent *event)
{
    window::confirmExit(this, event);
}
