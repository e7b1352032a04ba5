#include "design/ScoreFiles.h"

#include <cmath>
#include <cstdio>

#include "params/JobError.h"

namespace kcalc::design {

std::string allDigits(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

namespace {

// The numbers after a line's name; throws unless there are exactly `count` finite ones.
std::vector<double> numbers(const std::vector<std::string> &tokens, std::size_t count, const std::string &file,
                            std::size_t line)
{
    if (tokens.size() != count + 1)
        throw JobError(file + ", строка " + std::to_string(line + 1) + ": после \"" + tokens[0] + "\" ожидается "
                       + std::to_string(count) + " чисел");
    std::vector<double> v(count);
    for (std::size_t i = 0; i < count; ++i)
        if (!parseNumber(tokens[i + 1], v[i]) || !std::isfinite(v[i]))
            throw JobError(file + ", строка " + std::to_string(line + 1)
                           + ": не число: " + readableText(tokens[i + 1]));
    return v;
}

} // namespace

std::string scoreSettingsText(const ScoreSettings &s)
{
    std::string t = "main_level " + allDigits(s.mainLevel) + "\nside_level " + allDigits(s.sideLevel) + "\n";
    for (const Point3 &p : s.steering)
        t += "steering " + allDigits(p.x) + " " + allDigits(p.y) + " " + allDigits(p.z) + "\n";
    return t;
}

ScoreSettings parseScoreSettings(const std::string &bytes)
{
    ScoreSettings s;
    const std::string file = scoreSettingsName();
    const std::vector<std::string> lines = splitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> t = splitTokens(lines[i]);
        if (t.empty())
            continue;
        if (t[0] == "main_level")
            s.mainLevel = numbers(t, 1, file, i)[0];
        else if (t[0] == "side_level")
            s.sideLevel = numbers(t, 1, file, i)[0];
        else if (t[0] == "steering") {
            const std::vector<double> v = numbers(t, 3, file, i);
            s.steering.push_back({v[0], v[1], v[2]});
        } else
            throw JobError(file + ", строка " + std::to_string(i + 1) + ": неизвестная настройка "
                           + readableText(t[0]));
    }
    if (s.mainLevel < 0 || s.mainLevel > 1 || s.sideLevel < 0)
        throw JobError(file + ": уровни main_level (от 0 до 1) и side_level (не меньше 0) вне пределов");
    return s;
}

ScoreSettings readScoreSettings(const std::string &dir)
{
    const TextFile f = readTextFile(dir, scoreSettingsName());
    std::string bytes;
    for (const std::string &line : f.lines)
        bytes += line + "\n";
    return parseScoreSettings(bytes);
}

std::string scoresText(const Scores &s)
{
    std::string t = "elements " + std::to_string(s.elementCount) + "\n";
    t += "fill_factor " + allDigits(s.fillFactor) + "\n";
    t += "gain " + allDigits(s.gain) + "\n";
    t += "lateral_width_m " + allDigits(s.lateralWidth) + "\n";
    t += "axial_length_m " + allDigits(s.axialLength) + "\n";
    t += "worst_side " + allDigits(s.worstSide) + "\n";
    t += "steerable_area " + allDigits(s.steerableArea) + " " + std::to_string(s.steerablePositions) + " "
         + std::to_string(s.positions) + "\n";
    for (const SteeringScore &k : s.steering)
        t += "steering " + allDigits(k.focus.x) + " " + allDigits(k.focus.y) + " " + allDigits(k.focus.z) + " "
             + allDigits(k.gain) + " " + allDigits(k.side) + " " + allDigits(k.sidePoint.x) + " "
             + allDigits(k.sidePoint.y) + " " + allDigits(k.sidePoint.z) + " " + allDigits(k.mainRatio) + "\n";
    return t;
}

Scores parseScores(const std::string &bytes)
{
    Scores s;
    const std::string file = scoresName();
    const std::vector<std::string> lines = splitLines(bytes);
    int seen = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> t = splitTokens(lines[i]);
        if (t.empty())
            continue;
        const std::string &key = t[0];
        if (key == "steering") {
            const std::vector<double> v = numbers(t, 9, file, i);
            SteeringScore k;
            k.focus = {v[0], v[1], v[2]};
            k.gain = v[3];
            k.side = v[4];
            k.sidePoint = {v[5], v[6], v[7]};
            k.mainRatio = v[8];
            s.steering.push_back(k);
            continue;
        }
        if (key == "steerable_area") {
            const std::vector<double> v = numbers(t, 3, file, i);
            s.steerableArea = v[0];
            s.steerablePositions = static_cast<std::size_t>(v[1]);
            s.positions = static_cast<std::size_t>(v[2]);
            seen |= 1 << 6;
            continue;
        }
        static const char *const names[] = {"elements",        "fill_factor",    "gain",
                                            "lateral_width_m", "axial_length_m", "worst_side"};
        double *const targets[] = {nullptr, &s.fillFactor, &s.gain, &s.lateralWidth, &s.axialLength, &s.worstSide};
        bool known = false;
        for (int n = 0; n < 6; ++n)
            if (key == names[n]) {
                const double v = numbers(t, 1, file, i)[0];
                if (targets[n])
                    *targets[n] = v;
                else
                    s.elementCount = static_cast<std::size_t>(v);
                seen |= 1 << n;
                known = true;
            }
        if (!known)
            throw JobError(file + ", строка " + std::to_string(i + 1) + ": неизвестная оценка " + readableText(key));
    }
    if (seen != 0x7f)
        throw JobError(file + ": не хватает оценок");
    return s;
}

} // namespace kcalc::design
