#include "progress/ProgressWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "log/Log.h"
#include "log/Messages.h"

namespace {
constexpr int kAutoCloseMs = 3000;
}

ProgressWindow::ProgressWindow(const QString &jobTitle, JobMonitor &monitor, std::function<double()> clock) :
    monitor_(monitor), clock_(std::move(clock))
{
    setWindowTitle(QString::fromUtf8(kcalc::msg::kWindowTitle));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(jobTitle, this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    status_ = new QLabel(QString::fromUtf8(kcalc::msg::kRunning), this);
    status_->setWordWrap(true);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 1000);
    bar_->setTextVisible(true);
    bar_->setFormat("%p%");
    times_ = new QLabel(this);
    button_ = new QPushButton(QString::fromUtf8(kcalc::msg::kCancel), this);
    layout->addWidget(title);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    layout->addWidget(times_);
    layout->addWidget(button_, 0, Qt::AlignRight);
    setMinimumWidth(380);

    QObject::connect(button_, &QPushButton::clicked, this, [this] { close(); });
    timer_ = new QTimer(this);
    QObject::connect(timer_, &QTimer::timeout, this, [this] { refresh(); });
    timer_->start(200);
    refresh();
}

void ProgressWindow::refresh()
{
    if (ended_)
        return;
    const double now = clock_();
    const double remaining = monitor_.remaining(now);
    bar_->setValue(static_cast<int>(1000 * monitor_.control.fraction()));
    times_->setText(QString::fromUtf8(kcalc::msg::kTimes)
                        .arg(QString::fromStdString(kcalc::formatDuration(now)))
                        .arg(remaining >= 0 ? QString::fromStdString(kcalc::formatDuration(remaining))
                                            : QString::fromUtf8(kcalc::msg::kUnknownTime)));
    switch (monitor_.outcome.load()) {
    case JobMonitor::Running:
        return;
    case JobMonitor::Succeeded:
        ended_ = true;
        bar_->setValue(1000);
        status_->setText(QString::fromUtf8(kcalc::msg::kFinished));
        button_->setText(QString::fromUtf8(kcalc::msg::kClose));
        QTimer::singleShot(kAutoCloseMs, this, [this] { close(); });
        return;
    case JobMonitor::Failed:
        ended_ = true;
        status_->setText(QString::fromUtf8(kcalc::msg::kErrorPrefix) + QString::fromStdString(monitor_.message()));
        button_->setText(QString::fromUtf8(kcalc::msg::kClose));
        return;
    case JobMonitor::Cancelled:
        ended_ = true;
        close();
        return;
    }
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    if (!monitor_.finished()) {
        // Closing a running job cancels it; the window goes once the worker has stopped.
        monitor_.control.cancel.store(true);
        status_->setText(QString::fromUtf8(kcalc::msg::kCancelling));
        button_->setEnabled(false);
        event->ignore();
        return;
    }
    event->accept();
    QApplication::quit();
}
