#ifndef LAYOUT_DESIGN_H
#define LAYOUT_DESIGN_H

#include <QByteArray>
#include <QList>
#include <QPixmap>
#include <QString>
#include <vector>

#include "design/DesignBatch.h"
#include "design/Layout.h"
#include "design/ScoreFiles.h"
#include "design/Scores.h"
#include "job_files.h"
#include "shared_params.h"

// What the design window computes and writes, kept apart from the window so tests can call it.
// Layouts are element centres in the job files' frame (m): x as in the element positions file,
// y with the opposite sign (the frame of shared::Elem).
namespace layoutdesign {

// The array and medium the design window works on (SI units).
struct DesignArray {
    kcalc::ArrayGeometry array; // elements empty
    kcalc::Medium medium;
};

// The array, medium and element file of the main window's fields as typed (cm, MHz, kg/m^3, m/s),
// or the first message that says what to correct: a field left empty, the checks of Continue, a
// zero frequency, density or speed of sound.
struct MainFields {
    QString aperture, curvature, frequency, elementRadius, hole, density, soundSpeed;
    float absorption = 0; // dB/(cm MHz) of the chosen medium
};
QString readMainFields(const MainFields &fields, DesignArray *out);

// Generators by their place in the window's list, with their Russian names.
extern const kcalc::design::Generator generators[5];
QString generatorName(kcalc::design::Generator kind);

// shared::Elem rows as a layout, and back (the rows element_positions.h writes as a file).
std::vector<kcalc::ElementPosition> layoutFromElem(const VDOUB2 &elem);
VDOUB2 elemFromLayout(const std::vector<kcalc::ElementPosition> &layout);

// The layout check as lines of text (numbers with the point), ending with the verdict.
QString layoutCheckText(const kcalc::design::LayoutCheck &check, double gap);

// The layout as the front view shows it (rim and hole red, elements blue, the file's y upwards),
// on a square picture of `side` pixels.
QPixmap layoutPicture(const kcalc::ArrayGeometry &array, const std::vector<kcalc::ElementPosition> &layout, int side);

// The four input files of a score job.
QList<jobfiles::JobFile> scoreJobFiles(const DesignArray &d, const std::vector<kcalc::ElementPosition> &layout,
                                       const kcalc::design::ScoreSettings &settings);

// The files of a design job (design/): those of a score job without the elements, and the
// candidate list.
QList<jobfiles::JobFile> designJobFiles(const DesignArray &d, const std::string &candidates,
                                        const kcalc::design::ScoreSettings &settings);

// An ensemble's scores as text: per score its median, 5th and 95th percentile, range and a
// ten-bin histogram drawn with bars.
QString ensembleReport(const std::vector<kcalc::design::ScoredCandidate> &rows);

// The description of the coarse regions the scores use, for the window.
QString scoreRegionText(const kcalc::design::ScoreSettings &settings);

} // namespace layoutdesign

#endif // LAYOUT_DESIGN_H
