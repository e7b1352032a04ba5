#include "design_wnd.h"
#include "ui_design_wnd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QTableWidgetItem>
#include <algorithm>
#include <cmath>

#include "build_list_of_elem.h"
#include "element_positions.h"
#include "design/ScoreFiles.h"
#include "form_fields.h"
#include "job_files.h"
#include "platform.h"
#include "shared_params.h"
#include "window_common.h"

using kcalc::design::Generator;

namespace {

const char *const errorTitle = "Ошибка!";
const char *const noteTitle = "Внимание!";
const int pictureSide = 72;

enum Column {
    PictureColumn,
    NameColumn,
    CountColumn,
    FillColumn,
    GapColumn,
    GainColumn,
    WidthColumn,
    LengthColumn,
    SideColumn,
    AreaColumn,
    ColumnCount
};

// A table cell that sorts by its number, not its text.
class NumberItem : public QTableWidgetItem
{
public:
    NumberItem(const QString &text, double value) : QTableWidgetItem(text) { setData(Qt::UserRole, value); }
    bool operator<(const QTableWidgetItem &other) const override
    {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

QString fixed(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

// A field's number (mm to m where asked); false when the text is not a number.
bool number(const QString &text, double scale, double *value)
{
    bool ok = false;
    *value = QLocale::c().toDouble(text.trimmed(), &ok) * scale;
    return ok && std::isfinite(*value) && *value >= 0;
}

} // namespace

Design_wnd::Design_wnd(const layoutdesign::DesignArray &array, const QString &mainFile, QWidget *parent) :
    QWidget(parent, Qt::Window), ui(new Ui::Design_wnd), m_array(array), m_mainFile(mainFile)
{
    ui->setupUi(this);
    window::setIconFromAppDir(this);
    setAttribute(Qt::WA_DeleteOnClose);
    for (Generator kind : layoutdesign::generators)
        ui->comboBox_kind->addItem(layoutdesign::generatorName(kind));
    for (QLineEdit *field : {ui->lineEdit_gap, ui->lineEdit_pitch, ui->lineEdit_jitter})
        formfields::setupNumberField(field, formfields::Sign::Unsigned);
    formfields::setupCountField(ui->lineEdit_count);
    formfields::setupCountField(ui->lineEdit_seed);
    formfields::setupCountField(ui->lineEdit_budget);
    formfields::setupCountField(ui->lineEdit_seeds);
    formfields::setupNumberField(ui->lineEdit_floor, formfields::Sign::Unsigned);

    const kcalc::ArrayGeometry &a = array.array;
    ui->label_array->setText(
        QString::fromUtf8("Решетка главного окна: апертура ") + formfields::numberText(a.aperture * 100)
        + QString::fromUtf8(" см, радиус кривизны ") + formfields::numberText(a.curvatureRadius * 100)
        + QString::fromUtf8(" см, радиус элемента ") + formfields::numberText(a.elementRadius * 100)
        + QString::fromUtf8(" см, радиус отверстия ") + formfields::numberText(a.holeRadius * 100)
        + QString::fromUtf8(" см, частота ") + formfields::numberText(a.frequency / 1e6)
        + QString::fromUtf8(" МГц, скорость звука ") + formfields::numberText(array.medium.soundSpeed)
        + QString::fromUtf8(" м/с."));
    ui->label_region->setText(layoutdesign::scoreRegionText(kcalc::design::ScoreSettings()));
    ui->pushButton_file->setEnabled(!mainFile.isEmpty());

    QTableWidget *t = ui->tableWidget;
    t->setColumnCount(ColumnCount);
    t->setHorizontalHeaderLabels({QString::fromUtf8("Вид"), QString::fromUtf8("Вариант"),
                                  QString::fromUtf8("Элементов"), QString::fromUtf8("Заполнение"),
                                  QString::fromUtf8("Наим. зазор,\nмм"), QString::fromUtf8("Усиление\n|p(F)|/p0"),
                                  QString::fromUtf8("−6 дБ поперек,\nмм"), QString::fromUtf8("−6 дБ вдоль,\nмм"),
                                  QString::fromUtf8("Боковой\nмаксимум"), QString::fromUtf8("Доля\nнаведения")});
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->horizontalHeader()->setSectionResizeMode(PictureColumn, QHeaderView::ResizeToContents);
    t->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::ResizeToContents);
    t->setIconSize(QSize(pictureSide, pictureSide));
    t->verticalHeader()->setDefaultSectionSize(pictureSide + 4);
    t->verticalHeader()->hide();
    t->setSortingEnabled(true);
    on_comboBox_kind_currentIndexChanged(0);
    window::moveToCenter(this);
}

Design_wnd::~Design_wnd()
{
    if (m_job) {
        m_job->disconnect(this);
        m_job->terminate();
        m_job->waitForFinished(5000);
    }
    delete ui;
}

// ---- Generator and check ----

void Design_wnd::on_comboBox_kind_currentIndexChanged(int index)
{
    const Generator kind = layoutdesign::generators[std::clamp(index, 0, 4)];
    const bool lattice = kind == Generator::Hexagonal || kind == Generator::JitteredHexagonal;
    ui->lineEdit_pitch->setEnabled(lattice);
    ui->lineEdit_jitter->setEnabled(kind == Generator::JitteredHexagonal);
    ui->lineEdit_seed->setEnabled(kind == Generator::Random || kind == Generator::JitteredHexagonal);
    // The spiral needs a count.
    ui->checkBox_fill->setEnabled(kind != Generator::Spiral);
    if (kind == Generator::Spiral)
        ui->checkBox_fill->setChecked(false);
    ui->lineEdit_count->setEnabled(!ui->checkBox_fill->isChecked());
}

void Design_wnd::on_checkBox_fill_toggled(bool checked)
{
    ui->lineEdit_count->setEnabled(!checked);
}

double Design_wnd::gap() const
{
    double v = 0;
    return number(ui->lineEdit_gap->text(), 1e-3, &v) ? v : 0.0;
}

// The generator and its settings of group 1; false (reported) when a field is not a number.
bool Design_wnd::readGeneratorSettings(kcalc::design::GeneratorSettings *out)
{
    kcalc::design::GeneratorSettings &s = *out;
    s.kind = layoutdesign::generators[std::clamp(ui->comboBox_kind->currentIndex(), 0, 4)];
    double count = 0, seed = 0;
    if (!number(ui->lineEdit_gap->text(), 1e-3, &s.gap) || !number(ui->lineEdit_pitch->text(), 1e-3, &s.pitch)
        || !number(ui->lineEdit_jitter->text(), 1e-3, &s.jitter) || !number(ui->lineEdit_seed->text(), 1, &seed)) {
        platform::information(this, errorTitle,
                              QString::fromUtf8("Зазор, шаг, смещение и зерно должны быть неотрицательными числами."));
        return false;
    }
    s.seed = static_cast<std::uint64_t>(seed);
    if (ui->checkBox_fill->isChecked()) {
        s.count = 0;
    } else if (!number(ui->lineEdit_count->text(), 1, &count) || count < 1) {
        platform::information(this, errorTitle,
                              QString::fromUtf8("Число элементов должно быть больше нуля (или отметьте «сколько "
                                                "поместится»)."));
        return false;
    } else {
        s.count = static_cast<std::size_t>(count);
    }
    return true;
}

void Design_wnd::on_pushButton_generate_clicked()
{
    if (m_candidates.size() >= std::size_t(maxCandidates)) {
        platform::information(this, errorTitle,
                              QString::fromUtf8("Сравнивать можно не больше восьми вариантов. Удалите один из них."));
        return;
    }
    kcalc::design::GeneratorSettings s;
    if (!readGeneratorSettings(&s))
        return;
    try {
        const std::vector<kcalc::ElementPosition> layout = kcalc::design::generateLayout(m_array.array, s);
        addCandidate(layoutdesign::generatorName(s.kind) + QString::fromUtf8(" №") + QString::number(m_nextId), layout);
    } catch (const kcalc::design::LayoutError &e) {
        platform::information(this, errorTitle, QString::fromUtf8(e.what()));
    } catch (const std::exception &e) {
        platform::information(this, errorTitle, QString::fromUtf8(e.what()));
    }
}

void Design_wnd::on_pushButton_file_clicked()
{
    if (m_candidates.size() >= std::size_t(maxCandidates)) {
        platform::information(this, errorTitle,
                              QString::fromUtf8("Сравнивать можно не больше восьми вариантов. Удалите один из них."));
        return;
    }
    // The loader of Continue, on a copy: the main window's elements stay as they are.
    const VDOUB2 kept = shared::Elem;
    const bool read = QFile::exists(m_mainFile) && build_list_of_elem(m_mainFile);
    const VDOUB2 loaded = shared::Elem;
    shared::Elem = kept;
    if (!read || loaded.empty()) {
        platform::information(this, errorTitle,
                              QString::fromUtf8("Не удалось прочитать файл положений элементов главного окна: ")
                                  + m_mainFile);
        return;
    }
    addCandidate(QString::fromUtf8("Файл ") + QFileInfo(m_mainFile).fileName(), layoutdesign::layoutFromElem(loaded));
}

void Design_wnd::on_lineEdit_gap_textChanged(const QString &)
{
    // The check and the gap column follow the gap.
    for (auto &[id, c] : m_candidates)
        c.check = kcalc::design::checkLayout(m_array.array, c.layout, gap());
    ui->tableWidget->setSortingEnabled(false);
    for (int row = 0; row < ui->tableWidget->rowCount(); ++row)
        fillRow(row, ui->tableWidget->item(row, NameColumn)->data(Qt::UserRole).toInt());
    ui->tableWidget->setSortingEnabled(true);
    showCheck();
}

void Design_wnd::addCandidate(const QString &name, const std::vector<kcalc::ElementPosition> &layout)
{
    const int id = m_nextId++;
    Candidate c;
    c.name = name;
    c.layout = layout;
    c.check = kcalc::design::checkLayout(m_array.array, layout, gap());
    m_candidates[id] = c;
    QTableWidget *t = ui->tableWidget;
    t->setSortingEnabled(false);
    const int row = t->rowCount();
    t->insertRow(row);
    fillRow(row, id);
    t->setSortingEnabled(true);
    t->selectRow(t->row(t->findItems(name, Qt::MatchExactly).value(0)));
    updateButtons();
}

// Callers switch sorting off around it: the row must not move while it is filled.
void Design_wnd::fillRow(int row, int id)
{
    const Candidate &c = m_candidates.at(id);
    QTableWidget *t = ui->tableWidget;
    auto *picture = new NumberItem(QString(), id);
    picture->setIcon(QIcon(layoutdesign::layoutPicture(m_array.array, c.layout, pictureSide)));
    t->setItem(row, PictureColumn, picture);
    auto *name = new QTableWidgetItem(c.name);
    name->setData(Qt::UserRole, id);
    t->setItem(row, NameColumn, name);
    t->setItem(row, CountColumn, new NumberItem(QString::number(qulonglong(c.check.count)), double(c.check.count)));
    t->setItem(row, FillColumn, new NumberItem(fixed(c.check.fillFactor, 3), c.check.fillFactor));
    t->setItem(row, GapColumn, new NumberItem(fixed(c.check.smallestGap * 1000, 3), c.check.smallestGap));
    const auto score = [&](int column, bool have, double value, int decimals, double shown) {
        t->setItem(row, column, have ? new NumberItem(fixed(shown, decimals), value) : new NumberItem("—", -1e300));
    };
    const bool have = c.scores.has_value();
    const kcalc::design::Scores s = have ? *c.scores : kcalc::design::Scores();
    score(GainColumn, have, s.gain, 2, s.gain);
    score(WidthColumn, have, s.lateralWidth, 3, s.lateralWidth * 1000);
    score(LengthColumn, have, s.axialLength, 3, s.axialLength * 1000);
    score(SideColumn, have, s.worstSide, 3, s.worstSide);
    score(AreaColumn, have, s.steerableArea, 3, s.steerableArea);
    if (!c.check.valid())
        for (int column = NameColumn; column <= GapColumn; ++column)
            t->item(row, column)->setForeground(Qt::red);
}

int Design_wnd::selectedId() const
{
    const QList<QTableWidgetItem *> items = ui->tableWidget->selectedItems();
    for (QTableWidgetItem *item : items)
        if (item->column() == NameColumn)
            return item->data(Qt::UserRole).toInt();
    return 0;
}

void Design_wnd::showCheck()
{
    const int id = selectedId();
    if (!id) {
        ui->plainTextEdit_check->clear();
        return;
    }
    const Candidate &c = m_candidates.at(id);
    ui->plainTextEdit_check->setPlainText(c.name + "\n" + layoutdesign::layoutCheckText(c.check, gap()));
}

void Design_wnd::updateButtons()
{
    const bool busy = m_scoring != 0 || m_study != Study::None;
    bool unscored = false;
    for (const auto &[id, c] : m_candidates)
        unscored = unscored || !c.scores;
    ui->pushButton_score->setEnabled(!busy && unscored);
    ui->pushButton_stop->setEnabled(busy);
    ui->pushButton_remove->setEnabled(!busy && selectedId() != 0);
    ui->pushButton_use->setEnabled(selectedId() != 0);
    ui->pushButton_generate->setEnabled(!busy);
    ui->pushButton_optimise->setEnabled(!busy);
    ui->pushButton_ensemble->setEnabled(!busy);
    ui->pushButton_file->setEnabled(!busy && !m_mainFile.isEmpty());
}

// ---- Scores ----

kcalc::design::ScoreSettings Design_wnd::scoreSettings() const
{
    kcalc::design::ScoreSettings s;
    s.mainLevel = ui->doubleSpinBox_q->value();
    s.sideLevel = ui->doubleSpinBox_s->value();
    return s;
}

void Design_wnd::on_pushButton_score_clicked()
{
    m_stopped = false;
    if (!startNextScore())
        finishScoring();
}

// Starts the score job of the first candidate without scores; false when there is none or it
// could not be started (reported).
bool Design_wnd::startNextScore()
{
    int id = 0;
    for (const auto &[key, c] : m_candidates)
        if (!c.scores) {
            id = key;
            break;
        }
    if (!id)
        return false;
    const QString folder = jobfiles::folderPath("score");
    QDir().mkpath(folder);
    QString failed;
    if (!jobfiles::writeFiles(folder, layoutdesign::scoreJobFiles(m_array, m_candidates.at(id).layout, scoreSettings()),
                              &failed)) {
        jobfiles::reportWriteFailure(this, failed);
        return false;
    }
    QFile::remove(folder + "calcdone");
    QFile::remove(folder + kcalc::design::scoresName());
    m_job = new QProcess(this);
    m_job->setWorkingDirectory(folder);
    m_job->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(m_job, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &Design_wnd::onScoreJobFinished);
    m_scoring = id;
    m_job->start(folder + "score.bat", QStringList());
    if (!m_job->waitForStarted(10000)) {
        m_job->deleteLater();
        m_job = nullptr;
        m_scoring = 0;
        jobfiles::reportStartFailure(this, folder + "score.bat");
        return false;
    }
    updateButtons();
    return true;
}

void Design_wnd::on_pushButton_stop_clicked()
{
    if (m_job) {
        m_stopped = true;
        m_job->terminate(); // SIGTERM: the calculator stops as after its own cancel button
    }
}

void Design_wnd::onScoreJobFinished(int exitCode, QProcess::ExitStatus status)
{
    const int id = m_scoring;
    m_job->deleteLater();
    m_job = nullptr;
    m_scoring = 0;
    const QString folder = jobfiles::folderPath("score");
    auto it = m_candidates.find(id);
    const QString name = it != m_candidates.end() ? it->second.name : QString();
    if (status == QProcess::NormalExit && exitCode == 0 && QFile::exists(folder + "calcdone")) {
        try {
            const QByteArray text = [&] {
                QFile f(folder + kcalc::design::scoresName());
                return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            }();
            const kcalc::design::Scores scores = kcalc::design::parseScores(text.toStdString());
            if (it != m_candidates.end()) {
                it->second.scores = scores;
                ui->tableWidget->setSortingEnabled(false);
                for (int row = 0; row < ui->tableWidget->rowCount(); ++row)
                    if (ui->tableWidget->item(row, NameColumn)->data(Qt::UserRole).toInt() == id)
                        fillRow(row, id);
                ui->tableWidget->setSortingEnabled(true);
            }
        } catch (const std::exception &e) {
            platform::information(this, errorTitle,
                                  QString::fromUtf8("Оценки варианта «") + name + QString::fromUtf8("» не прочитаны: ")
                                      + QString::fromUtf8(e.what()));
            finishScoring();
            return;
        }
        if (!startNextScore())
            finishScoring();
        return;
    }
    if (m_stopped || status == QProcess::CrashExit || exitCode == 3) {
        platform::information(this, noteTitle,
                              QString::fromUtf8("Оценка прервана: оценки варианта «") + name
                                  + QString::fromUtf8("» не получены. Нажмите «Оценить», чтобы продолжить."));
    } else {
        const QString reason = calculatorReason(folder);
        platform::information(this, errorTitle,
                              QString::fromUtf8("Программа расчета не смогла оценить вариант «") + name
                                  + QString::fromUtf8("» (код завершения ") + QString::number(exitCode) + "). "
                                  + reason);
    }
    finishScoring();
}

// ---- Search and ensemble ----

void Design_wnd::on_pushButton_optimise_clicked()
{
    startStudy(true);
}

void Design_wnd::on_pushButton_ensemble_clicked()
{
    startStudy(false);
}

// Writes the design job of the search or the ensemble of group 1's family and starts it.
void Design_wnd::startStudy(bool search)
{
    kcalc::design::GeneratorSettings s;
    if (!readGeneratorSettings(&s))
        return;
    double n = 0, floor = 0;
    const QString count = (search ? ui->lineEdit_budget : ui->lineEdit_seeds)->text();
    if (!number(count, 1, &n) || n < (search ? 4 : 2) || !number(ui->lineEdit_floor->text(), 1, &floor)) {
        platform::information(this, errorTitle,
                              search ? QString::fromUtf8("Для поиска нужно не меньше 4 вариантов, а нижняя граница "
                                                         "усиления — неотрицательное число.")
                                     : QString::fromUtf8("В ансамбле нужно не меньше 2 зерен."));
        return;
    }
    if (s.kind == Generator::Spiral || s.kind == Generator::Hexagonal || s.kind == Generator::Rings) {
        // Without chance every seed gives the same layout; a search still moves its elements.
        if (!search) {
            platform::information(this, errorTitle,
                                  QString::fromUtf8("Ансамбль имеет смысл только для случайных способов "
                                                    "(случайный и решетка со смещением)."));
            return;
        }
    }
    kcalc::design::CandidateEntry entry;
    entry.label = search ? "search" : "seed";
    entry.kind = [&] {
        for (const char *name : {"random", "spiral", "hexagonal", "rings", "jittered"})
            if (kcalc::design::parseCandidates(std::string("x ") + name)[0].settings.kind == s.kind)
                return std::string(name);
        return std::string("random");
    }();
    entry.settings = s;
    (search ? entry.budget : entry.seeds) = static_cast<std::size_t>(n);
    entry.gainFloor = floor;
    try {
        kcalc::design::CandidateEntry probe = entry;
        probe.budget = probe.seeds = 0;
        kcalc::design::candidateLayout(m_array.array, probe, ".");
    } catch (const std::exception &e) {
        platform::information(this, errorTitle, QString::fromUtf8(e.what()));
        return;
    }

    const QString folder = jobfiles::folderPath("design");
    QDir().mkpath(folder);
    QString failed;
    if (!jobfiles::writeFiles(
            folder, layoutdesign::designJobFiles(m_array, kcalc::design::candidatesText({entry}), scoreSettings()),
            &failed)) {
        jobfiles::reportWriteFailure(this, failed);
        return;
    }
    for (const char *name : {"calcdone", "design_scores.txt", "best_so_far.txt", "search_progress.txt",
                             "best_labels.txt", "best_1.txt", "best_2.txt", "best_3.txt"})
        QFile::remove(folder + name);
    m_job = new QProcess(this);
    m_job->setWorkingDirectory(folder);
    m_job->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(m_job, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &Design_wnd::onStudyFinished);
    m_study = search ? Study::Search : Study::Ensemble;
    m_stopped = false;
    m_job->start(folder + "design.bat", QStringList());
    if (!m_job->waitForStarted(10000)) {
        m_job->deleteLater();
        m_job = nullptr;
        m_study = Study::None;
        jobfiles::reportStartFailure(this, folder + "design.bat");
        return;
    }
    m_studyClock.start();
    if (!m_studyTimer) {
        m_studyTimer = new QTimer(this);
        connect(m_studyTimer, &QTimer::timeout, this, &Design_wnd::showStudyProgress);
    }
    m_studyTimer->start(500);
    ui->label_study->setText(QString::fromUtf8("Идет расчет..."));
    updateButtons();
}

// Best so far, candidates done and the time left, from the search's progress file.
void Design_wnd::showStudyProgress()
{
    QFile f(jobfiles::folderPath("design") + "search_progress.txt");
    if (m_study != Study::Search || !f.open(QIODevice::ReadOnly))
        return;
    const QStringList w = QString::fromUtf8(f.readAll()).split(' ', Qt::SkipEmptyParts);
    if (w.size() < 5)
        return;
    const double done = w[0].toDouble(), total = w[1].toDouble();
    const double left = done > 0 ? m_studyClock.elapsed() / 1000.0 * (total - done) / done : 0;
    ui->label_study->setText(QString::fromUtf8("Оценено ") + w[0] + QString::fromUtf8(" из ") + w[1]
                             + QString::fromUtf8("; лучший пока: доля наведения ") + fixed(w[2].toDouble(), 3)
                             + QString::fromUtf8(", боковой максимум ") + fixed(w[3].toDouble(), 3)
                             + QString::fromUtf8(", усиление ") + fixed(w[4].toDouble(), 2)
                             + QString::fromUtf8("; осталось около ") + QString::number(int(left + 0.5))
                             + QString::fromUtf8(" с."));
}

void Design_wnd::onStudyFinished(int exitCode, QProcess::ExitStatus status)
{
    const Study study = m_study;
    m_job->deleteLater();
    m_job = nullptr;
    m_study = Study::None;
    m_studyTimer->stop();
    const QString folder = jobfiles::folderPath("design");
    const auto read = [&](const QString &name) {
        QFile f(folder + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const auto layoutOf = [&](const QString &name) {
        std::vector<kcalc::ElementPosition> layout;
        for (const QByteArray &line : read(name).split('\n')) {
            const QList<QByteArray> xy = line.simplified().split(' ');
            if (xy.size() == 2)
                layout.push_back({xy[0].toDouble(), xy[1].toDouble()});
        }
        return layout;
    };
    const auto room = [&] { return m_candidates.size() < std::size_t(maxCandidates); };
    if (status == QProcess::NormalExit && exitCode == 0 && QFile::exists(folder + "calcdone")) {
        try {
            const std::vector<kcalc::design::ScoredCandidate> rows =
                kcalc::design::parseDesignTable(read(kcalc::design::designTableName()).toStdString());
            if (study == Study::Ensemble) {
                const QString report = layoutdesign::ensembleReport(rows);
                ui->label_study->setText(QString::fromUtf8("Ансамбль оценен: распределение оценок — в окне проверки."));
                ui->plainTextEdit_check->setPlainText(report);
            } else {
                const QStringList labels = QString::fromUtf8(read("best_labels.txt")).split('\n', Qt::SkipEmptyParts);
                int added = 0;
                for (int k = 0; k < labels.size() && room(); ++k) {
                    const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto &r) {
                        return QString::fromStdString(r.label) == labels[k];
                    });
                    addCandidate(QString::fromUtf8("Поиск: ") + labels[k], layoutOf(QString("best_%1.txt").arg(k + 1)));
                    if (row != rows.end()) {
                        const int id = m_nextId - 1;
                        m_candidates.at(id).scores = row->scores;
                        ui->tableWidget->setSortingEnabled(false);
                        for (int r = 0; r < ui->tableWidget->rowCount(); ++r)
                            if (ui->tableWidget->item(r, NameColumn)->data(Qt::UserRole).toInt() == id)
                                fillRow(r, id);
                        ui->tableWidget->setSortingEnabled(true);
                    }
                    ++added;
                }
                ui->label_study->setText(
                    QString::fromUtf8("Поиск закончен: оценено ") + QString::number(rows.size())
                    + QString::fromUtf8(" вариантов, лучших в таблице: ") + QString::number(added)
                    + (added < labels.size() ? QString::fromUtf8(" (таблица заполнена)") : QString()));
            }
        } catch (const std::exception &e) {
            platform::information(this, errorTitle,
                                  QString::fromUtf8("Результат не прочитан: ") + QString::fromUtf8(e.what()));
        }
    } else if (m_stopped || status == QProcess::CrashExit || exitCode == 3) {
        // A stopped search keeps its best so far, to be scored in full with "Оценить".
        const std::vector<kcalc::ElementPosition> best = layoutOf("best_so_far.txt");
        if (study == Study::Search && !best.empty() && room()) {
            addCandidate(QString::fromUtf8("Поиск: лучший до остановки"), best);
            ui->label_study->setText(
                QString::fromUtf8("Поиск остановлен; лучший найденный вариант добавлен в таблицу."));
        } else {
            ui->label_study->setText(QString::fromUtf8("Расчет остановлен."));
        }
    } else {
        platform::information(this, errorTitle,
                              QString::fromUtf8("Программа расчета не выполнила поиск (код завершения ")
                                  + QString::number(exitCode) + "). " + calculatorReason(folder));
        ui->label_study->clear();
    }
    updateButtons();
    emit scoringFinished();
}

// The calculator's own message: the last error line of its log.
QString Design_wnd::calculatorReason(const QString &folder) const
{
    QString reason;
    QFile log(folder + "log.txt");
    if (log.open(QIODevice::ReadOnly | QIODevice::Text))
        for (const QString &line : QString::fromUtf8(log.readAll()).split('\n'))
            if (line.contains(QString::fromUtf8("ОШИБКА")) || line.contains(QString::fromUtf8("Ошибка")))
                reason = line.trimmed();
    return reason;
}

void Design_wnd::finishScoring()
{
    updateButtons();
    emit scoringFinished();
}

// ---- Comparison ----

void Design_wnd::on_tableWidget_itemSelectionChanged()
{
    showCheck();
    updateButtons();
}

void Design_wnd::on_pushButton_remove_clicked()
{
    const int id = selectedId();
    if (!id || m_scoring)
        return;
    for (int row = 0; row < ui->tableWidget->rowCount(); ++row)
        if (ui->tableWidget->item(row, NameColumn)->data(Qt::UserRole).toInt() == id) {
            ui->tableWidget->removeRow(row);
            break;
        }
    m_candidates.erase(id);
    showCheck();
    updateButtons();
}

void Design_wnd::on_pushButton_use_clicked()
{
    const int id = selectedId();
    if (!id)
        return;
    const Candidate &c = m_candidates.at(id);
    if (!c.check.valid()) {
        platform::information(this, errorTitle,
                              QString::fromUtf8("Вариант «") + c.name
                                  + QString::fromUtf8("» недопустим (см. проверку): выберите другой вариант."));
        return;
    }
    QString path = platform::getSaveFileName(this, QString::fromUtf8("Сохранить положения элементов"),
                                             QDir::homePath() + "/elements.txt",
                                             QString::fromUtf8("Текстовые файлы (*.txt)"), nullptr, true);
    if (path.isEmpty())
        return;
    if (!path.endsWith(".txt")) // the main window takes only .txt files
        path += ".txt";
    QString error;
    if (!writeElementPositions(path, layoutdesign::elemFromLayout(c.layout), &error)) {
        platform::information(this, errorTitle, error + QString::fromUtf8(". Выберите папку, доступную для записи."));
        return;
    }
    emit layoutChosen(path);
}
