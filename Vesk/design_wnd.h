#ifndef DESIGN_WND_H
#define DESIGN_WND_H

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

#include "layout_design.h"

namespace Ui {
class Design_wnd;
}

// "Проектирование решетки": layouts generated on the main window's array, checked, scored through
// the calculator's score job and compared; "Использовать" writes the chosen one as an element
// positions file and hands its path to the main window (layoutChosen).
class Design_wnd : public QWidget
{
    Q_OBJECT

public:
    // `array`: the main window's array and medium; `mainFile`: its element file field.
    Design_wnd(const layoutdesign::DesignArray &array, const QString &mainFile, QWidget *parent = nullptr);
    ~Design_wnd() override;

    static const int maxCandidates = 8;

signals:
    void layoutChosen(const QString &path);
    // A scoring run has ended: every candidate scored, or stopped by an error or the user.
    void scoringFinished();

private slots:
    // Generator and check.
    void on_comboBox_kind_currentIndexChanged(int index);
    void on_checkBox_fill_toggled(bool checked);
    void on_pushButton_generate_clicked();
    void on_pushButton_file_clicked();
    void on_lineEdit_gap_textChanged(const QString &text);
    // Scores.
    void on_pushButton_score_clicked();
    void on_pushButton_stop_clicked();
    void onScoreJobFinished(int exitCode, QProcess::ExitStatus status);
    // Search and ensemble (kormax-calc design).
    void on_pushButton_optimise_clicked();
    void on_pushButton_ensemble_clicked();
    void onStudyFinished(int exitCode, QProcess::ExitStatus status);
    void showStudyProgress();
    // Comparison.
    void on_tableWidget_itemSelectionChanged();
    void on_pushButton_remove_clicked();
    void on_pushButton_use_clicked();

private:
    struct Candidate {
        QString name;
        std::vector<kcalc::ElementPosition> layout;
        kcalc::design::LayoutCheck check;
        std::optional<kcalc::design::Scores> scores;
    };

    void addCandidate(const QString &name, const std::vector<kcalc::ElementPosition> &layout);
    void fillRow(int row, int id);
    int selectedId() const;
    void showCheck();
    void updateButtons();
    bool startNextScore();
    bool readGeneratorSettings(kcalc::design::GeneratorSettings *s);
    void startStudy(bool search);
    QString calculatorReason(const QString &folder) const;
    void finishScoring();
    kcalc::design::ScoreSettings scoreSettings() const;
    double gap() const;

    Ui::Design_wnd *ui;
    layoutdesign::DesignArray m_array;
    QString m_mainFile;
    std::map<int, Candidate> m_candidates;
    int m_nextId = 1;
    QProcess *m_job = nullptr;
    int m_scoring = 0; // id of the candidate being scored, 0 when none
    bool m_stopped = false;
    enum class Study { None, Search, Ensemble } m_study = Study::None;
    QTimer *m_studyTimer = nullptr;
    QElapsedTimer m_studyClock;
};

#endif // DESIGN_WND_H
