// kormax-calc: the field calculator. Started by the batch file of a job folder with that folder as
// working directory; reads the job files there, computes, writes the results and then `calcdone`.
//
//   kormax-calc <job-kind> [--no-gui]
//     job-kind  field     field of the array over grid_calc.txt      -> AbsField_XY.txt / AbsField_YZ.txt
//               main_max  main-maxima scan                            (main_max/)
//               side_max  side-maxima scan                            (side_max/)
//               score     scores of an element layout                 -> scores.txt (score/)
//               design    a batch of candidate layouts, ensembles, searches -> design_scores.txt (design/)
//     --no-gui  never open the progress window (progress goes to stderr and log.txt)
//
//   mpirun -np N kormax-calc main_max|side_max --no-gui
//     the scan over N processes (parallel/Ranks.h): each computes a share of the focus positions,
//     rank 0 alone writes the log, the results and calcdone; the results are those of one process.
//
// Phases: read -> check -> compute -> write -> mark done. Any error ends the run with its message in
// log.txt and on stderr, a non-zero exit code and no calcdone. Exit codes: 0 done, 1 job error,
// 2 usage, 3 cancelled (cancel button, SIGTERM, SIGINT, SIGHUP).

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <thread>

#include <dlfcn.h>
#include <unistd.h>
#include <omp.h>

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

#include "design/DesignBatch.h"
#include "design/ScoreFiles.h"
#include "design/Scores.h"
#include "field/FieldPlane.h"
#include "log/Log.h"
#include "output/FocusPressure.h"
#include "output/FolderOwner.h"
#include "output/ResultFiles.h"
#include "parallel/Ranks.h"
#include "params/JobError.h"
#include "params/JobInput.h"
#include "params/TextFile.h"
#include "progress/JobMonitor.h"
#include "progress/ProgressWindow.h"
#include "scan/Blas.h"
#include "scan/ScanJobFiles.h"

using namespace kcalc;

namespace {

enum class JobKind { Field, MainMax, SideMax, Score, Design };

const char *jobTitle(JobKind kind)
{
    switch (kind) {
    case JobKind::Field:
        return "Расчет поля";
    case JobKind::MainMax:
        return "Оценка качества поля: главные максимумы";
    case JobKind::SideMax:
        return "Оценка качества поля: боковые максимумы";
    case JobKind::Score:
        return "Оценки расположения элементов";
    case JobKind::Design:
        return "Проектирование решетки: серия кандидатов";
    }
    return "";
}

// A run shorter than this shows no progress window.
constexpr auto kWindowDelay = std::chrono::seconds(1);

std::atomic<RunControl *> g_control{nullptr};

extern "C" void onTerminate(int)
{
    if (RunControl *control = g_control.load())
        control->cancel.store(true);
}

// ------------------------------------------------------------------------------------------------
// The jobs. Each runs its phases in order; library calls throw JobError on any fault.

std::string workingDirectory()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

// A figure for people: three significant digits.
std::string brief(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", v);
    return text;
}

std::string percent(double fraction)
{
    return std::to_string(static_cast<int>(100 * fraction + 0.5)) + "%";
}

void runFieldJob(Log &log, JobMonitor &monitor, FolderOwner &owner)
{
    const std::string dir = ".";

    // Read.
    log.info("Чтение файлов задания: array.txt, medium.txt, array_elements.txt, focus.txt, grid_calc.txt");
    const JobInput input = readJobInput(dir);
    for (const std::string &line : describeJobInput(input))
        log.info(line);

    // Check.
    checkJobInput(input);
    const double k = 2 * M_PI * input.array.frequency / input.medium.soundSpeed;
    log.info("Проверка пройдена. Волновое число k = " + formatNumber(k)
             + " 1/м, длина волны = " + formatNumber(input.medium.soundSpeed / input.array.frequency)
             + " м, точек сетки: " + std::to_string(input.grid.pointCount())
             + ", пар элемент-точка: " + std::to_string(input.grid.pointCount() * input.array.elements.size()));

    // Compute.
    log.info("Расчет: интеграл Рэлея по каждому элементу (точная одномерная формула для круглого поршня), "
             "фокусировка сопряжением фаз; потоков OpenMP: "
             + std::to_string(omp_get_max_threads()));
    monitor.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    const FieldPlaneResult result = computeFieldPlane(input, &monitor.control);
    const double seconds = log.elapsed() - t0;
    const Point3 top = input.grid.point(static_cast<long>(result.maximumIndex / input.grid.count2),
                                        static_cast<long>(result.maximumIndex % input.grid.count2));
    log.info("Расчет выполнен за " + formatDuration(seconds) + " ("
             + brief(seconds * 1e9 / static_cast<double>(input.grid.pointCount() * input.array.elements.size()))
             + " нс на пару элемент-точка)");
    log.info("|p(F)|/p0 = " + formatNumber(result.focusPressure)
             + "; максимум |p|/p0 на сетке = " + formatNumber(result.maximum) + " в точке (" + formatNumber(top.x)
             + ", " + formatNumber(top.y) + ", " + formatNumber(top.z) + ") м");
    if (result.behindCap > 0)
        log.info("Точек сетки позади плоскости хотя бы одного элемента: " + std::to_string(result.behindCap)
                 + ". Они лежат за излучающей чашей, вне среды: элемент дает вклад только в полупространство "
                   "перед своей плоскостью, позади нее его вклад равен нулю");

    // Write and mark done, unless the user asked to stop meanwhile or a newer run took the folder.
    const std::string name = fieldResultName(input.grid.kind);
    requireFiniteResult(result.values, name);
    if (!std::isfinite(result.focusPressure))
        throw JobError("Давление в фокусе не является конечным числом; результат не записан");
    owner.publish([&] {
        writeFieldResult(dir, input.grid, result.values);
        writeFocusPressure(dir, result.focusPressure);
        log.info("Результат записан в " + name + ", |p(F)|/p0 в " + focusPressureName());
        if (monitor.control.cancelled())
            throw JobCancelled();
        markDone(dir);
        log.info("Записан признак завершения calcdone");
    });
}

// A scan job (main_max/, side_max/): reads the array, the medium, the focus-shift region
// (grid_calc.txt) and the field region (grid_scan.txt); computes the element fields on the field
// grid once and steps the focus over every position (scan/QualityScan.h); writes AbsField_??.bin
// (and side_maxes.txt), the field at the best focus as AbsField_??.txt, then calcdone.
void runScanJob(JobKind kind, Log &log, JobMonitor &monitor, FolderOwner *owner, parallel::Ranks ranks)
{
    const std::string dir = ".";
    const scan::ScanKind scanKind = kind == JobKind::MainMax ? scan::ScanKind::MainMaxima : scan::ScanKind::SideMaxima;

    // Read.
    log.info("Чтение файлов задания: array.txt, medium.txt, array_elements.txt, grid_calc.txt, grid_scan.txt");
    const scan::ScanJobInput input = scan::readScanJobInput(dir);
    for (const std::string &line : scan::describeScanJobInput(input))
        log.info(line);

    // Check.
    scan::checkScanJobInput(input);
    const scan::ScanJobSetup setup = scan::scanJobSetup(input, scanKind);
    const std::size_t P = setup.field.pointCount(), M = setup.focus.pointCount(), N = input.array.elements.size();
    log.info("Проверка пройдена. Точек области расчета поля: " + std::to_string(P)
             + ", положений фокуса: " + std::to_string(M) + ", элементов: " + std::to_string(N) + "; память около "
             + brief(scan::scanMemoryBytes(P, M, N) / 1048576) + " МиБ");

    // Compute.
    log.info("Расчет: поля элементов на сетке области расчета поля и в положениях фокуса (один раз), затем для "
             "каждого блока положений фокуса произведение матриц (OpenBLAS "
             + std::string(openblas_get_corename()) + ", одинарная точность) с поиском максимума"
             + (scanKind == scan::ScanKind::SideMaxima ? " и главного лепестка" : "")
             + "; потоков OpenMP: " + std::to_string(omp_get_max_threads()));
    // Progress units: one per point of element fields (the model counts them) and, per focus
    // position, its matrix product and search in the same units (measured on the example array:
    // a position costs about as much as P / 4000 points of element fields in a main-maxima scan,
    // which multiplies only the points that can beat the focus, and P / 1000 in a side-maxima scan).
    const std::size_t perPosition =
        std::max<std::size_t>(1, P / (scanKind == scan::ScanKind::MainMaxima ? 4000 : 1000));
    monitor.control.total.store(P + M + M * perPosition);
    monitor.computeStart.store(log.elapsed());
    const ElementFieldModel model(input.array, input.medium);
    struct CountedModel {
        const ElementFieldModel &model;
        RunControl *control;
        std::size_t elementCount() const { return model.elementCount(); }
        void fieldMatrix(const std::vector<Point3> &points, std::complex<double> *out, std::size_t ld) const
        {
            model.fieldMatrix(points, out, ld, control);
        }
    } counted{model, &monitor.control};
    std::size_t reported = 0;
    const auto progress = [&](std::size_t done, std::size_t) {
        if (done > reported) { // blocks may finish out of order
            monitor.control.add((done - reported) * perPosition);
            reported = done;
        }
        return !monitor.control.cancelled();
    };
    scan::ScanJobResult result;
    try {
        result = scan::computeScanJob(setup, counted, progress, ranks);
    } catch (const scan::ScanCancelled &) {
        throw JobCancelled();
    }
    if (!owner)
        return; // a rank other than 0: its share has gone to rank 0, which writes the results
    const Point3 best = scan::gridPoint(setup.focus, result.best);
    log.info("Поля элементов: " + formatDuration(result.elementFieldSeconds)
             + "; перебор положений фокуса: " + formatDuration(result.scanSeconds));
    log.info("Наибольший главный максимум p_F/p_max = " + formatNumber(result.quality[result.best].mainValue)
             + " в положении фокуса (" + formatNumber(best.x) + ", " + formatNumber(best.y) + ", "
             + formatNumber(best.z) + ") м; максимум поля там |p|/p0 = " + formatNumber(result.bestFieldMax));

    // Write and mark done, unless the user asked to stop meanwhile or a newer run took the folder.
    owner->publish([&] {
        scan::writeScanResults(dir, setup, result);
        log.info("Результаты записаны в " + scan::scanBinaryName(setup.focus) + ", " + fieldResultName(setup.field.kind)
                 + (scanKind == scan::ScanKind::SideMaxima ? ", side_maxes.txt" : ""));
        if (monitor.control.cancelled())
            throw JobCancelled();
        markDone(dir);
        log.info("Записан признак завершения calcdone");
    });
}

// The score job (score/): reads array.txt, medium.txt, array_elements.txt and score_settings.txt,
// scores the layout (design/Scores.h), writes scores.txt, then calcdone.
void runScoreJob(Log &log, JobMonitor &monitor, FolderOwner &owner)
{
    const std::string dir = ".";

    // Read.
    log.info("Чтение файлов задания: array.txt, medium.txt, array_elements.txt, score_settings.txt");
    ArrayGeometry array;
    Medium medium;
    readArrayFile(dir, array);
    readMediumFile(dir, medium);
    array.elements = readElementsFile(dir);
    const design::ScoreSettings settings = design::readScoreSettings(dir);

    // Check.
    checkArrayAndMedium(array, medium);
    log.info("Проверка пройдена. Элементов: " + std::to_string(array.elements.size()) + ", точек наведения: "
             + std::to_string(settings.steering.empty() ? design::defaultSteering(array.curvatureRadius).size()
                                                        : settings.steering.size())
             + ", уровни: q >= " + formatNumber(settings.mainLevel) + ", s <= " + formatNumber(settings.sideLevel));

    // Compute.
    log.info("Расчет: поля элементов на линиях через фокус, на плоскостях через точки наведения и в области "
             "смещения фокуса (грубые шаги), затем перебор положений фокуса; потоков OpenMP: "
             + std::to_string(omp_get_max_threads()));
    monitor.control.total.store(design::scoreWorkUnits(array, medium, settings));
    monitor.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    const design::Scores scores = design::computeScores(array, medium, settings, &monitor.control);
    log.info("Расчет выполнен за " + formatDuration(log.elapsed() - t0) + "; |p(F)|/p0 = " + formatNumber(scores.gain)
             + ", наибольший боковой максимум " + formatNumber(scores.worstSide) + ", доля области наведения "
             + formatNumber(scores.steerableArea));

    // Write and mark done.
    owner.publish([&] {
        writeFileAtomically(dir, design::scoresName(), design::scoresText(scores));
        log.info(std::string("Результат записан в ") + design::scoresName());
        if (monitor.control.cancelled())
            throw JobCancelled();
        markDone(dir);
        log.info("Записан признак завершения calcdone");
    });
}

// The design job (design/): reads array.txt, medium.txt, score_settings.txt (if there) and
// candidates.txt; scores every candidate, ensemble seed and search step (design/DesignBatch.h),
// writes design_scores.txt and a search's best layouts, then calcdone. Over several ranks each
// scores its share; rank 0 alone publishes.
void runDesignJob(Log &log, JobMonitor &monitor, FolderOwner *owner, parallel::Ranks ranks)
{
    const std::string dir = ".";

    // Read.
    log.info("Чтение файлов задания: array.txt, medium.txt, score_settings.txt, candidates.txt");
    ArrayGeometry array;
    Medium medium;
    readArrayFile(dir, array);
    readMediumFile(dir, medium);
    const design::ScoreSettings settings = design::fileExists(dir + "/" + design::scoreSettingsName())
                                               ? design::readScoreSettings(dir)
                                               : design::ScoreSettings();
    const std::vector<design::CandidateSpec> specs = design::readCandidates(dir);

    // Check (every layout is made and checked again before it is scored).
    array.elements = {{0, 0}};
    checkArrayAndMedium(array, medium);
    const std::size_t total = design::batchSize(specs);
    log.info("Проверка пройдена. Кандидатов: " + std::to_string(total) + ", процессов: " + std::to_string(ranks.size));

    // Compute.
    monitor.control.total.store(total);
    monitor.computeStart.store(log.elapsed());
    const double t0 = log.elapsed();
    std::size_t reported = 0;
    const auto progress = [&](std::size_t done) {
        monitor.control.add(done - reported);
        reported = done;
        return !monitor.control.cancelled();
    };
    // A search's best so far stays in the folder, so that a stopped search still leaves it.
    const auto bestSoFar = [&](const design::ScoredCandidate &best, std::size_t done) {
        if (!owner || !owner->isNewest())
            return;
        writeFileAtomically(dir, "best_so_far.txt", design::elementsFileText(best.elements));
        writeFileAtomically(dir, "search_progress.txt",
                            std::to_string(done) + " " + std::to_string(total) + " "
                                + formatNumber(best.scores.steerableArea) + " " + formatNumber(best.scores.worstSide)
                                + " " + formatNumber(best.scores.gain) + "\n");
    };
    const std::vector<design::ScoredCandidate> rows =
        design::runDesignBatch(array, medium, settings, specs, dir, ranks, progress, bestSoFar);
    log.info("Расчет выполнен за " + formatDuration(log.elapsed() - t0)
             + "; оценено кандидатов: " + std::to_string(rows.size()));
    if (!owner)
        return; // a rank other than 0

    // Write and mark done. A search leaves its three best layouts.
    owner->publish([&] {
        writeFileAtomically(dir, design::designTableName(), design::designTableText(rows));
        for (const design::CandidateSpec &spec : specs) {
            if (!spec.budget)
                continue;
            std::vector<const design::ScoredCandidate *> own;
            for (const design::ScoredCandidate &c : rows)
                if (c.label.rfind(spec.label + "-", 0) == 0)
                    own.push_back(&c);
            std::stable_sort(own.begin(), own.end(), [&](const auto *x, const auto *y) {
                return design::better(x->scores, y->scores, spec.gainFloor);
            });
            std::string labels;
            for (std::size_t k = 0; k < own.size() && k < 3; ++k) {
                writeFileAtomically(dir, "best_" + std::to_string(k + 1) + ".txt",
                                    design::elementsFileText(own[k]->elements));
                labels += own[k]->label + "\n";
            }
            writeFileAtomically(dir, "best_labels.txt", labels);
        }
        log.info(std::string("Результат записан в ") + design::designTableName());
        if (monitor.control.cancelled())
            throw JobCancelled();
        markDone(dir);
        log.info("Записан признак завершения calcdone");
    });
}

void runJob(JobKind kind, Log &log, JobMonitor &monitor, FolderOwner *owner, parallel::Ranks ranks)
{
    try {
        if (!owner && ranks.root())
            throw JobError(monitor.message()); // the folder could not be claimed
        if (kind == JobKind::Field) {
            if (ranks.root()) // one plane is one rank's work
                runFieldJob(log, monitor, *owner);
        } else if (kind == JobKind::Score) {
            if (ranks.root()) // one layout is one rank's work
                runScoreJob(log, monitor, *owner);
        } else if (kind == JobKind::Design) {
            runDesignJob(log, monitor, owner, ranks);
        } else {
            runScanJob(kind, log, monitor, owner, ranks);
        }
        monitor.outcome.store(JobMonitor::Succeeded);
    } catch (const JobCancelled &e) {
        monitor.setMessage(monitor.superseded.load() ? JobSuperseded().what() : e.what());
        monitor.outcome.store(JobMonitor::Cancelled);
    } catch (const JobSuperseded &e) {
        monitor.superseded.store(true);
        monitor.setMessage(e.what());
        monitor.outcome.store(JobMonitor::Cancelled);
    } catch (const std::exception &e) {
        monitor.setMessage(e.what());
        monitor.outcome.store(JobMonitor::Failed);
    } catch (...) {
        monitor.setMessage("неизвестная ошибка");
        monitor.outcome.store(JobMonitor::Failed);
    }
}

// ------------------------------------------------------------------------------------------------
// Display detection: an X server that accepts a connection, or a Wayland session. The X check
// goes through libxcb at run time so that a dead DISPLAY never aborts the run inside Qt.

bool xServerReachable(const char *display)
{
    void *xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!xcb)
        return false;
    using Connect = void *(*)(const char *, int *);
    using HasError = int (*)(void *);
    using Disconnect = void (*)(void *);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool ok = false;
    if (connect && hasError && disconnect) {
        void *connection = connect(display, nullptr);
        ok = connection && hasError(connection) == 0;
        if (connection)
            disconnect(connection);
    }
    dlclose(xcb);
    return ok;
}

bool displayAvailable()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && (std::strncmp(platform, "offscreen", 9) == 0 || std::strncmp(platform, "minimal", 7) == 0))
        return false;
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland && platform && std::strncmp(platform, "wayland", 7) == 0)
        return true;
    const char *display = std::getenv("DISPLAY");
    return display && *display && xServerReachable(display);
}

// ------------------------------------------------------------------------------------------------
// Watching the worker.

// Without a window: a progress line on stderr and in log.txt about once a second.
void reportToLog(Log &log, JobMonitor &monitor)
{
    double lastReport = log.elapsed();
    while (!monitor.finished()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const double now = log.elapsed();
        if (now - lastReport >= 1.0 && monitor.computeStart.load() >= 0 && !monitor.finished()) {
            lastReport = now;
            const double remaining = monitor.remaining(now);
            log.info("Выполнено " + percent(monitor.control.fraction()) + ", прошло " + formatDuration(now)
                     + ", осталось " + (remaining >= 0 ? formatDuration(remaining) : std::string("?")));
        }
    }
}

// Until the worker finishes: stops it (and returns true) once a newer run has claimed the folder.
bool watchOwnership(const FolderOwner &owner, JobMonitor &monitor)
{
    for (int tick = 0; !monitor.finished(); ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (tick % 10 == 9 && !owner.isNewest()) {
            monitor.superseded.store(true);
            monitor.control.cancel.store(true);
            return true;
        }
    }
    return false;
}

// Waits up to `delay` for the worker; true if it finished.
bool waitFor(JobMonitor &monitor, std::chrono::milliseconds delay)
{
    const auto until = std::chrono::steady_clock::now() + delay;
    while (!monitor.finished() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return monitor.finished();
}

void usage()
{
    std::fprintf(stderr, "Использование: kormax-calc field|main_max|side_max|score|design [--no-gui]\n"
                         "Запускается из папки задания (calc/, main_max/, side_max/, score/, design/).\n");
}

} // namespace

int main(int argc, char **argv)
{
    blas::preferWideKernels(argv);
    parallel::MpiSession mpi(&argc, &argv);
    const parallel::Ranks ranks = mpi.ranks();
    bool gui = ranks.size == 1; // a run over several ranks is a batch run
    const char *kindName = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-gui") == 0) {
            gui = false;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            usage();
            return 0;
        } else if (!kindName) {
            kindName = argv[i];
        } else {
            usage();
            return 2;
        }
    }
    JobKind kind;
    if (kindName && std::strcmp(kindName, "field") == 0)
        kind = JobKind::Field;
    else if (kindName && std::strcmp(kindName, "main_max") == 0)
        kind = JobKind::MainMax;
    else if (kindName && std::strcmp(kindName, "side_max") == 0)
        kind = JobKind::SideMax;
    else if (kindName && std::strcmp(kindName, "score") == 0)
        kind = JobKind::Score;
    else if (kindName && std::strcmp(kindName, "design") == 0)
        kind = JobKind::Design;
    else {
        usage();
        return 2;
    }

    Log log;
    if (!ranks.root()) {
        // Rank 0 alone owns the folder, the log and the results; this rank computes its share.
        JobMonitor monitor;
        runJob(kind, log, monitor, nullptr, ranks);
        if (monitor.outcome.load() == JobMonitor::Succeeded)
            return 0;
        log.error("ранг " + std::to_string(ranks.rank) + " из " + std::to_string(ranks.size) + ": "
                  + monitor.message());
        mpi.abortAll(1);
        return 1;
    }
    if (!log.open("."))
        log.error("Не удалось создать log.txt в папке задания; журнал выводится только в stderr");
    log.info(std::string(jobTitle(kind)) + " (" + kindName + "), папка задания: " + workingDirectory());

    JobMonitor monitor;
    g_control.store(&monitor.control);
    std::signal(SIGTERM, onTerminate);
    std::signal(SIGINT, onTerminate);
    std::signal(SIGHUP, onTerminate);

    // The folder is claimed before anything is read: a folder that cannot be written is reported
    // at once, and an older run still busy in it stops.
    std::unique_ptr<FolderOwner> owner;
    try {
        owner = std::make_unique<FolderOwner>(".");
    } catch (const std::exception &e) {
        monitor.setMessage(e.what());
    }
    std::thread worker(runJob, kind, std::ref(log), std::ref(monitor), owner.get(), ranks);
    std::thread watcher([&] {
        if (owner && watchOwnership(*owner, monitor))
            log.closeFile(); // log.txt belongs to the newer run now
    });

    const bool window = gui && !waitFor(monitor, kWindowDelay) && displayAvailable();
    if (window) {
        int qtArgc = 1;
        QApplication app(qtArgc, argv);
        std::setlocale(LC_NUMERIC, "C"); // QApplication adopts the user's locale; our numbers stay C-locale
        ProgressWindow progress(QString::fromUtf8(jobTitle(kind)), monitor, [&log] { return log.elapsed(); });
        progress.adjustSize();
        // Below the centre of the screen: the application's "press OK when the calculation has
        // finished" box sits at the centre and must stay readable while this window is up.
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            QPoint topLeft = area.center() - progress.rect().center() + QPoint(0, progress.height() + 80);
            topLeft.setY(std::min(topLeft.y(), area.bottom() - progress.height()));
            progress.move(topLeft);
        }
        progress.show();
        app.exec();
        // The window only closes once the worker has finished.
    } else {
        reportToLog(log, monitor);
    }
    worker.join();
    watcher.join();
    g_control.store(nullptr);

    switch (monitor.outcome.load()) {
    case JobMonitor::Succeeded:
        log.info("Готово за " + formatDuration(log.elapsed()));
        return 0;
    case JobMonitor::Cancelled:
        if (monitor.superseded.load()) {
            log.closeFile();
            log.info(monitor.message());
        } else {
            log.info("Расчет прерван; признак завершения calcdone не записан");
        }
        mpi.abortAll(3); // ranks still waiting for rank 0 must not outlive it
        return 3;
    default:
        log.error(monitor.message());
        log.info("Расчет не выполнен; признак завершения calcdone не записан");
        // A failure that ended before any window appeared still reaches a user at a display.
        if (gui && !window && log.elapsed() < 60 && displayAvailable()) {
            int qtArgc = 1;
            QApplication app(qtArgc, argv);
            QMessageBox::critical(nullptr, QString::fromUtf8("Ошибка!"),
                                  QString::fromUtf8(jobTitle(kind)) + QString::fromUtf8(": ")
                                      + QString::fromStdString(monitor.message()));
        }
        mpi.abortAll(1);
        return 1;
    }
}
