// Test support for the calculator: temporary job folders written byte for byte as the application
// writes them (Windows-1251 labels, %g numbers, LF or CR LF), and running the built program.
#ifndef KCALC_TEST_JOB_FOLDER_H
#define KCALC_TEST_JOB_FOLDER_H

#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "geometry/ArrayGeometry.h"

namespace testjob {

// The labels of array.txt and medium.txt in Windows-1251 bytes.
inline const char *const kArrayName = "\xCD\xE0\xE7\xE2\xE0\xED\xE8\xE5 \xF0\xE5\xF8\xE5\xF2\xEA\xE8:    Quist-Marvane";
inline const char *const kAperture = "\xC0\xEF\xE5\xF0\xF2\xF3\xF0\xE0 \xF0\xE5\xF8\xE5\xF2\xEA\xE8, \xEC:";
inline const char *const kCurvature =
    "\xD0\xE0\xE4\xE8\xF3\xF1 \xEA\xF0\xE8\xE2\xE8\xE7\xED\xFB \xF0\xE5\xF8\xE5\xF2\xEA\xE8, \xEC:";
inline const char *const kElementRadius =
    "\xD0\xE0\xE4\xE8\xF3\xF1 \xFD\xEB\xE5\xEC\xE5\xED\xF2\xEE\xE2 \xF0\xE5\xF8\xE5\xF2\xEA\xE8, \xEC:";
inline const char *const kFrequency =
    "\xD0\xE0\xE1\xEE\xF7\xE0\xFF \xF7\xE0\xF1\xF2\xEE\xF2\xE0 \xF0\xE5\xF8\xE5\xF2\xEA\xE8, \xC3\xF6:";
inline const char *const kHole = "\xD0\xE0\xE4\xE8\xF3\xF1 \xEE\xF2\xE2\xE5\xF0\xF1\xF2\xE8\xFF, \xEC:";
inline const char *const kMediumName = "\xCD\xE0\xE7\xE2\xE0\xED\xE8\xE5 \xF1\xF0\xE5\xE4\xFB:";
inline const char *const kDensity = "\xCF\xEB\xEE\xF2\xED\xEE\xF1\xF2\xFC, \xEA\xE3/\xEC"
                                    "3:";
inline const char *const kSpeed =
    "\xD1\xEA\xEE\xF0\xEE\xF1\xF2\xFC \xE7\xE2\xF3\xEA\xE0 \xE2 \xF1\xF0\xE5\xE4\xE5, \xEC/\xF1:";
inline const char *const kHeat = "\xD2\xE5\xEF\xEB\xEE\xE5\xEC\xEA\xEE\xF1\xF2\xFC, \xC4\xE6/\xEA\xE3/\xCA:";
inline const char *const kAbsorption =
    "\xCF\xEE\xE3\xEB\xEE\xF9\xE5\xED\xE8\xE5 \xE2 \xF1\xF0\xE5\xE4\xE5, \xE4\xC1/\xF1\xEC/\xCC\xC3\xF6:";

// A number as the application's text stream writes it: %g, six significant digits, C locale.
inline std::string g(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// The grid file's eight values as the application computes them.
struct GridDescription {
    bool transverse = true;
    double fixed = 0.13; // zop, or 0 for the axial plane (written as the text "0")
    double count1 = 5, count2 = 3, start1 = -0.002, start2 = -0.001, step1 = 0.001, step2 = 0.001;
};

struct JobDescription {
    kcalc::ArrayGeometry array;
    kcalc::Medium medium;
    kcalc::Point3 focus;
    GridDescription grid;
    bool crlf = false; // line ends as on the application's home platform
};

inline std::string arrayText(const JobDescription &s, const char *nl)
{
    const kcalc::ArrayGeometry &a = s.array;
    const float R = static_cast<float>(a.curvatureRadius); // R is held as a float and widened
    return std::string(kArrayName) + nl + kAperture + "     " + g(a.aperture) + nl + kCurvature + "     "
           + g(static_cast<double>(R)) + nl + kElementRadius + "     " + g(a.elementRadius) + nl + kFrequency + "    "
           + g(a.frequency) + nl + kHole + "     " + g(a.holeRadius);
}

inline std::string mediumText(const JobDescription &s, const char *nl)
{
    const kcalc::Medium &m = s.medium;
    return std::string(kMediumName) + "\t\t\tWater" + nl + kDensity + "\t\t" + g(m.density) + nl + kSpeed + "\t"
           + g(m.soundSpeed) + nl + kHeat + "\t\t" + g(static_cast<float>(m.heatCapacity)) + nl + kAbsorption + "\t"
           + g(static_cast<float>(m.absorption_dB_cm_MHz));
}

inline std::string elementsText(const JobDescription &s, const char *nl)
{
    std::string text;
    for (const kcalc::ElementPosition &e : s.array.elements)
        text += g(e.x) + " " + g(e.y) + nl;
    return text;
}

inline std::string focusText(const JobDescription &s, const char *nl)
{
    return g(s.focus.x) + nl + g(s.focus.y) + nl + g(s.focus.z);
}

inline std::string gridText(const GridDescription &gr, const char *nl)
{
    return std::string(gr.transverse ? "xy" : "yz") + nl + (gr.transverse ? g(gr.fixed) : std::string("0")) + nl
           + g(gr.count1) + nl + g(gr.count2) + nl + g(gr.start1) + nl + g(gr.start2) + nl + g(gr.step1) + nl
           + g(gr.step2);
}

inline void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Sends `signal` to a calculator run and waits for it to end: its exit code, or -1 when it did not
// exit on its own (killed by the signal).
inline int stopRun(pid_t pid, int signal)
{
    ::kill(pid, signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool exists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Names of the temporary files (*.part) left in dir.
inline std::vector<std::string> partFiles(const std::string &dir)
{
    std::vector<std::string> names;
    if (DIR *d = ::opendir(dir.c_str())) {
        while (const dirent *entry = ::readdir(d)) {
            const std::string name = entry->d_name;
            if (name.size() > 5 && name.compare(name.size() - 5, 5, ".part") == 0)
                names.push_back(name);
        }
        ::closedir(d);
    }
    return names;
}

// Writes the five files of a field job into dir.
inline void writeJob(const std::string &dir, const JobDescription &s)
{
    const char *nl = s.crlf ? "\r\n" : "\n";
    writeFile(dir + "/array.txt", arrayText(s, nl));
    writeFile(dir + "/medium.txt", mediumText(s, nl));
    writeFile(dir + "/array_elements.txt", elementsText(s, nl));
    writeFile(dir + "/focus.txt", focusText(s, nl));
    writeFile(dir + "/grid_calc.txt", gridText(s.grid, nl));
}

// A fresh temporary directory, removed with its contents at the end of the test.
class TempDir
{
public:
    TempDir()
    {
        char pattern[] = "/tmp/kormaxcalc_test_XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Runs the built calculator in dir; returns its exit code. stderr is kept in dir/stderr.out.
inline int runCalculator(const std::string &dir, const std::string &args = "field --no-gui")
{
    const std::string command = "cd '" + dir + "' && '" KORMAX_CALC_EXE "' " + args + " 2> stderr.out";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts the built calculator in dir in a child process (stderr into dir/stderr.out) and returns
// its pid once its log says the computation has begun: from then on its signal handlers are in
// place, so a SIGTERM stops it. Returns early, with the pid, if it ends before that.
inline pid_t startComputing(const std::string &dir, const std::string &args)
{
    std::remove((dir + "/log.txt").c_str());
    const std::string command = "cd '" + dir + "' && exec '" KORMAX_CALC_EXE "' " + args + " 2> stderr.out";
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    siginfo_t ended{};
    while (pid > 0 && readFile(dir + "/log.txt").find("Расчет: ") == std::string::npos) {
        // WNOWAIT: the caller still collects the exit status.
        if (waitid(P_PID, pid, &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == pid)
            break;
        usleep(1000);
    }
    return pid;
}

// The field result text as numbers.
inline std::vector<double> readNumbers(const std::string &path)
{
    std::istringstream in(readFile(path));
    std::vector<double> values;
    double v;
    while (in >> v)
        values.push_back(v);
    return values;
}

} // namespace testjob

#endif // KCALC_TEST_JOB_FOLDER_H
