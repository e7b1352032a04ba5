#include "del_temp_files.h"

#include <QFile>

#include "JobProtocol.h"
#include "platform.h"

QStringList jobFilesToRemove()
{
    const QStringList scanFiles = {"AbsField_XY.txt", "AbsField_YZ.txt",    "AbsField_XY.bin", "AbsField_YZ.bin",
                                   "array.txt",       "array_elements.txt", "calcdone",        "focus.txt",
                                   "grid_calc.txt",   "grid_scan.txt",      "log.txt",         "medium.txt"};
    // The calculator's lock goes first: a calculator still running in a folder stops without
    // publishing once its lock is gone, so nothing is written into a folder being emptied.
    QStringList paths;
    for (const char *folder : {"/calc/", "/main_max/", "/side_max/"})
        paths << QString(folder) + ".calc.lock";
    for (const char *f : {"AbsField_XY.txt", "AbsField_YZ.txt", "array.txt", "array_elements.txt", "calcdone",
                          "focus.txt", "focus_pressure.txt", "grid_calc.txt", "log.txt", "medium.txt"})
        paths << QString("/calc/") + f;
    for (const QString &f : scanFiles)
        paths << "/main_max/" + f;
    for (const QString &f : scanFiles)
        paths << "/side_max/" + f;
    paths << "/side_max/side_maxes.txt";
    // The heating job's folder: its lock first, then every file it reads or writes.
    paths << "/heat/.calc.lock";
    for (const std::string &f : kjobs::heatingFolderFiles())
        paths << "/heat/" + QString::fromStdString(f);
    // The designer's score job, its lock first as above.
    paths << "/score/.calc.lock";
    for (const char *f :
         {"array.txt", "array_elements.txt", "calcdone", "log.txt", "medium.txt", "score_settings.txt", "scores.txt"})
        paths << QString("/score/") + f;
    // The design job of the designer's search and ensemble.
    paths << "/design/.calc.lock";
    for (const char *f :
         {"array.txt", "best_1.txt", "best_2.txt", "best_3.txt", "best_labels.txt", "best_so_far.txt", "calcdone",
          "candidates.txt", "design_scores.txt", "log.txt", "medium.txt", "score_settings.txt", "search_progress.txt"})
        paths << QString("/design/") + f;
    return paths;
}

void del_temp_files()
{
    const QString dir = platform::appDir();
    for (const QString &path : jobFilesToRemove())
        QFile::remove(dir + path);
}
