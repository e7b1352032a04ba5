#include "field/ElementFieldModel.h"

#include <cstdio>

#include <gtest/gtest.h>

#include "../RayleighReference.h"
#include "field/FieldPlane.h"
#include "field/PistonKernel.h"
#include "field/RunControl.h"
#include "geometry/ArrayLayout.h"
#include "params/JobError.h"

using namespace kcalc;

namespace {

ArrayGeometry exampleWithRandomElements(std::size_t count = 256, std::uint64_t seed = 11)
{
    ArrayGeometry array = exampleArray();
    array.elements = randomLayout(array, count, seed);
    return array;
}

// Water with the absorption of muscle, the largest of the tissue presets (1.09 dB/(cm MHz)).
Medium absorbing()
{
    Medium m = water();
    m.absorption_dB_cm_MHz = 1.09;
    return m;
}

// A transverse grid of n x n points at z, half-width w.
PlaneGrid transverse(double z, long n, double w)
{
    PlaneGrid g;
    g.kind = PlaneKind::Transverse;
    g.fixed = z;
    g.count1 = g.count2 = n;
    g.start1 = g.start2 = -w;
    g.step1 = g.step2 = 2 * w / (n - 1);
    return g;
}

} // namespace

TEST(ElementGeometry, CentresLieOnTheCapAndNormalsPointAtTheCentreOfCurvature)
{
    const double R = 0.13;
    for (const ElementPosition p :
         {ElementPosition{0, 0}, ElementPosition{0.05, -0.03}, ElementPosition{-0.08, 0.01}}) {
        const ElementFrame f = elementFrame(p, R);
        EXPECT_NEAR(f.centre.x, p.x, 1e-15);
        EXPECT_NEAR(f.centre.y, p.y, 1e-15);
        const double toCentre =
            std::sqrt(f.centre.x * f.centre.x + f.centre.y * f.centre.y + (R - f.centre.z) * (R - f.centre.z));
        EXPECT_NEAR(toCentre, R, 1e-15);
        EXPECT_NEAR(f.centre.x + R * f.normal.x, 0, 1e-15);
        EXPECT_NEAR(f.centre.y + R * f.normal.y, 0, 1e-15);
        EXPECT_NEAR(f.centre.z + R * f.normal.z, R, 1e-15);
    }
}

TEST(ElementFieldModel, TiltedElementsMatchConvergedRayleighIntegral)
{
    // The model's cylinder coordinates of each tilted element against the brute-force surface
    // integral over the element's disc in the job frame.
    const ArrayGeometry array = exampleWithRandomElements(256, 3);
    const ElementFieldModel model(array, water());
    const double k = model.waveNumber(), a = array.elementRadius;
    double worst = 0;
    const Point3 points[] = {{0, 0, 0.13}, {0.01, -0.02, 0.1}, {0.028, 0.028, 0.19}, {-0.03, 0.0, 0.065}};
    for (std::size_t e = 0; e < array.elements.size(); e += 37)
        for (const Point3 &x : points) {
            const ElementFrame f = model.frame(e);
            const auto ref = testref::rayleighDisc(f.centre, f.normal, a, k, x);
            worst = std::max(worst, std::abs(model.field(e, x) - ref));
        }
    EXPECT_LT(worst, 1e-8);
}

TEST(ElementFieldModel, SteeredSumMatchesConvergedReference)
{
    // The summed, steered field of the example array at points across the default planes against
    // the sum of brute-force surface integrals, in water and with absorption (the steered sum and the
    // scan jobs' element-field matrix); error relative to the field maximum |p(F)|.
    const ArrayGeometry array = exampleWithRandomElements(256, 5);
    for (const Medium &medium : {water(), absorbing()}) {
        const ElementFieldModel model(array, medium);
        const double k = model.waveNumber(), a = array.elementRadius, alpha = model.absorptionNpPerM();
        const Point3 focus{0.005, -0.003, 0.12};
        const auto w = model.focusWeights(focus);
        const std::vector<Point3> points = {focus, {0, 0, 0.13}, {0.02, 0.01, 0.12}, {0, 0.02, 0.07}, {0, -0.01, 0.18}};
        std::vector<double> amplitude(points.size());
        model.steeredAmplitude(points, w, amplitude.data());
        const std::size_t n = model.elementCount();
        std::vector<std::complex<double>> matrix(points.size() * n);
        model.fieldMatrix(points, matrix.data(), n);
        double focusPressure = 0;
        for (std::size_t e = 0; e < n; ++e)
            focusPressure += std::abs(model.field(e, focus));
        double worst = 0, worstMatrix = 0;
        for (std::size_t p = 0; p < points.size(); ++p) {
            std::complex<double> sum = 0, fromMatrix = 0;
            for (std::size_t e = 0; e < n; ++e) {
                const ElementFrame f = model.frame(e);
                sum += w[e] * testref::rayleighDisc(f.centre, f.normal, a, k, points[p], alpha, 4, 12, 96);
                fromMatrix += w[e] * matrix[p * n + e];
            }
            worst = std::max(worst, std::fabs(std::abs(sum) - amplitude[p]) / focusPressure);
            worstMatrix = std::max(worstMatrix, std::abs(sum - fromMatrix) / focusPressure);
        }
        std::printf("steered sum of 256 elements, alpha = %g Np/m: |p(F)| = %.4g, largest error / |p(F)| = %.3g "
                    "(matrix %.3g)\n",
                    alpha, focusPressure, worst, worstMatrix);
        // Relative to the focus pressure: a colour map or a contour level cannot show 1e-3; a wrong
        // phase, weight or element position errs by order 1.
        EXPECT_LT(worst, 1e-6);
        EXPECT_LT(worstMatrix, 1e-6);
    }
}

TEST(ElementFieldModel, FocusPressureIsSumOfElementMagnitudes)
{
    const ArrayGeometry array = exampleWithRandomElements(256, 9);
    const ElementFieldModel model(array, water());
    for (const Point3 focus : {Point3{0, 0, 0.13}, Point3{0.01, 0.005, 0.11}, Point3{-0.02, 0, 0.16}}) {
        const auto w = model.focusWeights(focus);
        double sumAbs = 0;
        std::complex<double> steered = 0;
        for (std::size_t e = 0; e < model.elementCount(); ++e) {
            EXPECT_NEAR(std::abs(w[e]), 1.0, 1e-14);
            sumAbs += std::abs(model.field(e, focus));
            steered += w[e] * model.field(e, focus);
        }
        EXPECT_NEAR(steered.real(), sumAbs, 1e-12 * sumAbs);
        EXPECT_NEAR(steered.imag(), 0.0, 1e-12 * sumAbs);
        double amplitude = 0;
        model.steeredAmplitude({focus}, w, &amplitude);
        EXPECT_NEAR(amplitude, sumAbs, 1e-12 * sumAbs);
    }
}

TEST(ElementFieldModel, SymmetricArrayGivesSymmetricField)
{
    // Elements mirrored in both axes; focus on the axis: |p(x, y)| = |p(-x, y)| = |p(x, -y)|.
    ArrayGeometry array = exampleArray();
    for (const ElementPosition &p : randomLayout(array, 40, 21))
        if (p.x > array.elementRadius * 1.2 && p.y > array.elementRadius * 1.2)
            for (double sx : {1.0, -1.0})
                for (double sy : {1.0, -1.0})
                    array.elements.push_back({sx * p.x, sy * p.y});
    ASSERT_GE(array.elements.size(), 16u);
    const ElementFieldModel model(array, water());
    const auto w = model.focusWeights({0, 0, 0.12});
    const std::vector<Point3> points = {
        {0.011, 0.004, 0.1}, {-0.011, 0.004, 0.1}, {0.011, -0.004, 0.1}, {-0.011, -0.004, 0.1}};
    std::vector<double> p(points.size());
    model.steeredAmplitude(points, w, p.data());
    for (std::size_t i = 1; i < p.size(); ++i)
        EXPECT_NEAR(p[i], p[0], 1e-12 * p[0]);
}

TEST(FieldPlane, MaximumLiesAtAnOnAxisFocus)
{
    JobInput input;
    input.array = exampleWithRandomElements();
    input.medium = water();
    input.focus = {0, 0, 0.1};
    // Transverse plane through the focus, the focus on a grid point.
    input.grid = transverse(0.1, 41, 0.02);
    FieldPlaneResult r = computeFieldPlane(input);
    Point3 top = input.grid.point(static_cast<long>(r.maximumIndex / 41), static_cast<long>(r.maximumIndex % 41));
    EXPECT_NEAR(top.x, 0, 1e-12);
    EXPECT_NEAR(top.y, 0, 1e-12);
    EXPECT_NEAR(r.maximum, r.focusPressure, 1e-12 * r.focusPressure);
    // Axial plane along the axis through the focus.
    input.grid.kind = PlaneKind::Axial;
    input.grid.fixed = 0;
    input.grid.count1 = 21;
    input.grid.start1 = -0.01;
    input.grid.step1 = 0.001;
    input.grid.count2 = 81;
    input.grid.start2 = 0.06;
    input.grid.step2 = 0.001;
    r = computeFieldPlane(input);
    top = input.grid.point(static_cast<long>(r.maximumIndex / 81), static_cast<long>(r.maximumIndex % 81));
    EXPECT_NEAR(top.y, 0, 1e-12);
    EXPECT_NEAR(top.z, 0.1, 1e-12);
    EXPECT_NEAR(r.maximum, r.focusPressure, 1e-12 * r.focusPressure);
}

TEST(ElementFieldModel, MatrixLayoutMatchesSinglePoints)
{
    const ArrayGeometry array = exampleWithRandomElements(20, 4);
    const ElementFieldModel model(array, water());
    const std::vector<Point3> points = {{0, 0, 0.13}, {0.01, 0.02, 0.09}, {-0.02, 0.01, 0.15}};
    const std::size_t ld = 23;
    std::vector<std::complex<double>> md(points.size() * ld, -7.0);
    std::vector<std::complex<float>> mf(points.size() * ld, -7.0f);
    model.fieldMatrix(points, md.data(), ld);
    model.fieldMatrix(points, mf.data(), ld);
    for (std::size_t p = 0; p < points.size(); ++p) {
        for (std::size_t e = 0; e < model.elementCount(); ++e) {
            const auto h = model.field(e, points[p]);
            // The matrix runs the element-parallel kernel (node count shared by neighbouring elements).
            EXPECT_LT(std::abs(md[p * ld + e] - h), 1e-10);
            EXPECT_LT(std::abs(std::complex<double>(mf[p * ld + e]) - h), 1e-6 * std::abs(h) + 1e-12);
        }
        for (std::size_t e = model.elementCount(); e < ld; ++e) // padding untouched
            EXPECT_EQ(md[p * ld + e], std::complex<double>(-7.0));
    }
}

TEST(ElementFieldModel, AbsorptionWeakensTheField)
{
    const ArrayGeometry array = exampleWithRandomElements(64, 2);
    Medium lossy = water();
    lossy.absorption_dB_cm_MHz = 0.5;
    const ElementFieldModel clear(array, water()), damped(array, lossy);
    EXPECT_NEAR(damped.absorptionNpPerM(), 0.5 * 100 / 8.685889638065037, 1e-12);
    const Point3 focus{0, 0, 0.13};
    double pc = 0, pd = 0;
    clear.steeredAmplitude({focus}, clear.focusWeights(focus), &pc);
    damped.steeredAmplitude({focus}, damped.focusWeights(focus), &pd);
    // Roughly exp(-alpha * 0.1 m) for paths of about 0.1 m.
    EXPECT_LT(pd, pc * std::exp(-damped.absorptionNpPerM() * 0.09));
    EXPECT_GT(pd, pc * std::exp(-damped.absorptionNpPerM() * 0.14));
}

TEST(ElementFieldModel, ReportsProgressAndStopsWhenCancelled)
{
    const ArrayGeometry array = exampleWithRandomElements(16, 1);
    const ElementFieldModel model(array, water());
    const std::vector<Point3> points = transverse(0.13, 30, 0.01).points();
    const auto w = model.focusWeights({0, 0, 0.13});
    std::vector<double> out(points.size());
    RunControl control;
    model.steeredAmplitude(points, w, out.data(), &control);
    EXPECT_EQ(control.done.load(), points.size());
    RunControl stopped;
    stopped.cancel.store(true);
    EXPECT_THROW(model.steeredAmplitude(points, w, out.data(), &stopped), JobCancelled);
    EXPECT_EQ(stopped.done.load(), 0u);
}

TEST(ElementFieldModel, StaysFiniteOnTheElementsThemselves)
{
    // Points on element centres, rims and just in front of them, through both kernels.
    const ArrayGeometry array = exampleWithRandomElements(8, 6);
    const ElementFieldModel model(array, water());
    std::vector<Point3> points;
    for (std::size_t e = 0; e < model.elementCount(); ++e) {
        const ElementFrame f = model.frame(e);
        const double a = array.elementRadius;
        // A unit vector in the disc plane.
        const double ux = f.normal.z, uz = -f.normal.x, lu = std::sqrt(ux * ux + uz * uz);
        for (double along : {0.0, 0.5 * a, a, 1.5 * a})
            for (double height : {0.0, 1e-7, 1e-4})
                points.push_back({f.centre.x + along * ux / lu + height * f.normal.x, f.centre.y + height * f.normal.y,
                                  f.centre.z + along * uz / lu + height * f.normal.z});
    }
    std::vector<std::complex<double>> m(points.size() * model.elementCount());
    model.fieldMatrix(points, m.data(), model.elementCount());
    for (std::size_t i = 0; i < m.size(); ++i) {
        ASSERT_TRUE(std::isfinite(m[i].real()) && std::isfinite(m[i].imag())) << i;
        EXPECT_LT(std::abs(m[i]), 10.0) << i;
        const auto h = model.field(i % model.elementCount(), points[i / model.elementCount()]);
        EXPECT_TRUE(std::isfinite(h.real()) && std::isfinite(h.imag()) && std::abs(h) < 10.0) << i;
    }
}

TEST(ElementFieldModel, RefusesWhatTheNodeRuleCannotResolveAndAgreesUpToIt)
{
    // Just below the largest k a, in the elements' own planes (where the phase swing is k a) and in
    // front: the element-parallel kernel agrees with the single-element one.
    ArrayGeometry array = exampleWithRandomElements(8, 7);
    const Medium medium = water();
    array.frequency = 0.999 * kMaxPistonKa * medium.soundSpeed / (2 * M_PI * array.elementRadius);
    const ElementFieldModel model(array, medium);
    std::vector<Point3> points = {{0.07, 0, 0.065}, {0, 0, 0.13}};
    for (std::size_t e = 0; e < model.elementCount(); ++e) {
        const ElementFrame f = model.frame(e);
        const double ux = f.normal.z, uz = -f.normal.x, lu = std::sqrt(ux * ux + uz * uz);
        for (double along : {3.0, 30.0})
            points.push_back({f.centre.x + along * array.elementRadius * ux / lu, f.centre.y,
                              f.centre.z + along * array.elementRadius * uz / lu});
    }
    std::vector<std::complex<double>> m(points.size() * model.elementCount());
    model.fieldMatrix(points, m.data(), model.elementCount());
    for (std::size_t p = 0; p < points.size(); ++p)
        for (std::size_t e = 0; e < model.elementCount(); ++e) {
            const auto h = model.field(e, points[p]);
            ASSERT_TRUE(std::isfinite(std::abs(h))) << p << " " << e;
            EXPECT_LT(std::abs(m[p * model.elementCount() + e] - h), 1e-8) << p << " " << e;
        }

    // Beyond it (a = 3.5 mm at 10 GHz or 1 GHz, or at 1 MHz in a medium of 1 m/s) the model is refused.
    for (const auto &[f, c] : {std::pair{1e10, 1500.0}, std::pair{1e9, 1500.0}, std::pair{1e6, 1.0},
                               std::pair{1.02 * array.frequency, 1500.0}}) {
        array.frequency = f;
        Medium slow = medium;
        slow.soundSpeed = c;
        try {
            const ElementFieldModel refused(array, slow);
            ADD_FAILURE() << "accepted f = " << f << ", c = " << c;
        } catch (const JobError &e) {
            EXPECT_NE(std::string(e.what()).find("k·a"), std::string::npos) << e.what();
        }
    }
}

TEST(ElementFieldModel, NoFieldBehindAnElementsPlane)
{
    // A transverse plane at z = 1 cm crosses the cap: beside the cap its points lie behind the planes
    // of the outer elements, which contribute nothing there. Both kernels against the reference.
    const ArrayGeometry array = exampleWithRandomElements(64, 9);
    const ElementFieldModel model(array, water());
    const double k = model.waveNumber(), a = array.elementRadius, lambda = 2 * M_PI / k;
    const std::vector<Point3> points = {{0.07, 0, 0.01}, {0, -0.075, 0.01}, {-0.06, 0.05, 0.01}, {0.03, 0, 0.01}};
    const std::size_t n = model.elementCount();
    std::vector<std::complex<double>> m(points.size() * n);
    model.fieldMatrix(points, m.data(), n);
    std::size_t behind = 0, compared = 0;
    for (std::size_t p = 0; p < points.size(); ++p)
        for (std::size_t e = 0; e < n; ++e) {
            const ElementFrame f = model.frame(e);
            const Point3 &x = points[p];
            const double height =
                (x.x - f.centre.x) * f.normal.x + (x.y - f.centre.y) * f.normal.y + (x.z - f.centre.z) * f.normal.z;
            if (std::fabs(height) < lambda)
                continue; // the reference quadrature needs a wavelength's distance
            const auto ref = testref::rayleighDisc(f.centre, f.normal, a, k, x, 0, 4, 12, 96);
            EXPECT_LT(std::abs(model.field(e, x) - ref), 1e-7) << p << " " << e;
            EXPECT_LT(std::abs(m[p * n + e] - ref), 1e-7) << p << " " << e;
            behind += height < 0;
            ++compared;
        }
    EXPECT_GT(behind, 10u);
    EXPECT_GT(compared - behind, 10u);
}
