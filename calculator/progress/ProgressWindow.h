#ifndef KCALC_PROGRESS_WINDOW_H
#define KCALC_PROGRESS_WINDOW_H

#include <functional>

#include <QWidget>

#include "progress/JobMonitor.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The small window that follows a long run: the job kind, a progress bar, elapsed and remaining
// time and a cancel button. When the job succeeds it shows "Расчет завершен" and closes itself a
// few seconds later; on an error it shows the message and stays until closed. Closing the window
// while the job runs cancels it. It only reads the monitor; the worker thread does the work.
class ProgressWindow : public QWidget
{
public:
    ProgressWindow(const QString &jobTitle, JobMonitor &monitor, std::function<double()> clock);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    JobMonitor &monitor_;
    std::function<double()> clock_;
    QLabel *status_;
    QLabel *times_;
    QProgressBar *bar_;
    QPushButton *button_;
    QTimer *timer_;
    bool ended_ = false;
};

#endif // KCALC_PROGRESS_WINDOW_H
