#include "tools/levels/level_script.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

namespace halvane {

namespace {

constexpr double kStructureFalls = 650;
constexpr double kCraterDepth = 3.0;
constexpr double kPi = 3.14159265358979323846;

double Round4(double v) {
    return std::round(v * 10000.0) / 10000.0;
}

struct Range {
    int first = 1;
    int last = 1;
};

struct Step {
    std::string kind;
    Range rows;
    std::vector<double> numbers;
    int left = -7;
    int right = 7;
    int ease = 0;
};

bool ParseRange(const std::string &text, Range &range) {
    int a = 0;
    int b = 0;
    char dash = 0;
    std::istringstream in(text);
    if (in >> a) {
        if (in >> dash) {
            if (dash != '-' || !(in >> b)) {
                return false;
            }
        } else {
            b = a;
        }
    } else {
        return false;
    }
    if (a < 1 || b > kToolRows || a > b) {
        return false;
    }
    range = {a, b};
    return true;
}

// Weight of a ranged step at row r: 1 inside, fading over `ease` rows.
double EaseAt(const Step &step, int r) {
    if (step.ease <= 0) {
        return 1;
    }
    const double in = static_cast<double>(r - step.rows.first + 1) / (step.ease + 1);
    const double out = static_cast<double>(step.rows.last - r + 1) / (step.ease + 1);
    return std::min({1.0, in, out});
}

// The ground at (r, c) moves toward `target` by the step's weight.
void Blend(LevelGrid &grid, const Step &step, int r, int c, double target) {
    double &d = grid.depth[r][c + 7];
    d += EaseAt(step, r) * (target - d);
}

void Apply(const Step &step, LevelGrid &grid) {
    const std::vector<double> &n = step.numbers;
    if (step.kind == "ridge" || step.kind == "hill") {
        for (int r = 1; r <= kToolRows; ++r) {
            for (int c = step.left; c <= step.right; ++c) {
                double cap = 0;
                if (step.kind == "ridge") {
                    cap = n[0] + n[1] * std::abs(r - step.rows.first);
                } else {
                    const double dist = std::hypot(r - step.rows.first, c - n[0]);
                    if (dist >= n[2]) {
                        continue;
                    }
                    cap = n[1] + (7.0 - n[1]) * dist / n[2];
                }
                double &d = grid.depth[r][c + 7];
                d = std::min(d, cap);
            }
        }
        return;
    }
    for (int r = step.rows.first; r <= step.rows.last; ++r) {
        for (int c = step.left; c <= step.right; ++c) {
            const double d = grid.depth[r][c + 7];
            if (step.kind == "plateau") {
                Blend(grid, step, r, c, std::min(d, n[0]));
            } else if (step.kind == "dip") {
                Blend(grid, step, r, c, std::max(d, n[0]));
            } else if (step.kind == "wave") {
                const double phase = 2 * kPi * (r - step.rows.first) / n[1];
                Blend(grid, step, r, c, d + n[0] * std::sin(phase));
            } else if (step.kind == "pass") {
                if (std::abs(c) > n[0]) {
                    Blend(grid, step, r, c, std::min(d, n[1]));
                }
            } else if (step.kind == "paint") {
                grid.colour[r][c + 7] = static_cast<int>(n[0]);
            }
        }
    }
}

// Colour codes from the theme: the floor, the slopes and the rims by column,
// ground raised well above the channel in the high colour, the raised end
// structure in the end colour.
void ColourByTheme(const std::array<int, 5> &theme, LevelGrid &grid) {
    for (int r = 1; r <= kToolRows; ++r) {
        for (int c = -7; c <= 7; ++c) {
            const double raised = HalfPipeDepth(c) - grid.depth[r][c + 7];
            int code = std::abs(c) <= 2 ? theme[0] : (std::abs(c) <= 5 ? theme[1] : theme[2]);
            if (raised > 1.0) {
                code = (r >= 281 && std::abs(c) <= 5) ? theme[4] : theme[3];
            }
            grid.colour[r][c + 7] = code;
        }
    }
}

// Number of numbers each step takes.
int NumberCount(const std::string &kind) {
    if (kind == "plateau" || kind == "dip" || kind == "paint") return 1;
    if (kind == "wave" || kind == "pass" || kind == "ridge") return 2;
    if (kind == "hill") return 3;
    return -1;
}

} // namespace

double HalfPipeDepth(int column) {
    if (std::abs(column) >= 7) {
        return 0; // the starting window's outer columns stay at the top
    }
    double d = 7;
    for (int j = 1; j <= std::abs(column); ++j) {
        d -= std::pow(2.0, j) / j / 60.0 * 7.0;
    }
    return Round4(d);
}

bool BuildLevel(const std::string &description, LevelGrid &grid, std::string &error) {
    for (int r = 0; r <= kToolRows; ++r) {
        for (int c = -7; c <= 7; ++c) {
            grid.depth[r][c + 7] = HalfPipeDepth(c);
            grid.colour[r][c + 7] = 0;
        }
    }
    std::array<int, 5> theme{};
    bool haveTheme = false;
    std::vector<Step> paints;
    std::istringstream lines(description);
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string &why) {
        error = "line " + std::to_string(lineNumber) + ": " + why;
        return false;
    };
    while (std::getline(lines, line)) {
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string kind;
        if (!(words >> kind)) {
            continue;
        }
        if (kind == "theme") {
            for (int &code : theme) {
                if (!(words >> code) || code < 0 || code > 5) {
                    return fail("theme needs five colour codes 0..5");
                }
            }
            haveTheme = true;
            continue;
        }
        const int count = NumberCount(kind);
        if (count < 0) {
            return fail("unknown step '" + kind + "'");
        }
        Step step;
        step.kind = kind;
        std::string rangeText;
        if (!(words >> rangeText) || !ParseRange(rangeText, step.rows)) {
            return fail("rows must be A-B within 1..300");
        }
        if ((kind == "ridge" || kind == "hill") && step.rows.first != step.rows.last) {
            return fail(kind + " takes one row");
        }
        for (int i = 0; i < count; ++i) {
            double v = 0;
            if (!(words >> v) || !std::isfinite(v)) {
                return fail(kind + " needs " + std::to_string(count) + " numbers");
            }
            step.numbers.push_back(v);
        }
        std::string option;
        while (words >> option) {
            if (option == "cols" && (words >> step.left >> step.right) && step.left >= -7 &&
                step.right <= 7 && step.left <= step.right) {
                continue;
            }
            if (option == "ease" && (words >> step.ease) && step.ease >= 0) {
                continue;
            }
            return fail("bad option '" + option + "'");
        }
        if ((kind == "wave" && step.numbers[1] <= 0) || (kind == "hill" && step.numbers[2] <= 0)) {
            return fail(kind + " needs a positive period or radius");
        }
        if (kind == "paint" && (step.numbers[0] < 0 || step.numbers[0] > 5)) {
            return fail("paint needs a colour code 0..5");
        }
        if (kind == "paint") {
            paints.push_back(step); // after the theme's colours
        } else {
            Apply(step, grid);
        }
    }
    if (!haveTheme) {
        lineNumber = 0;
        return fail("no theme");
    }
    for (int r = 1; r <= kToolRows; ++r) {
        for (int c = -7; c <= 7; ++c) {
            grid.depth[r][c + 7] = Round4(grid.depth[r][c + 7]);
        }
    }
    ColourByTheme(theme, grid);
    for (const Step &step : paints) {
        Apply(step, grid);
    }
    return true;
}

std::string LevelFileText(const LevelGrid &grid) {
    std::string text;
    char number[32];
    for (int r = 1; r <= kToolRows; ++r) {
        for (int k = 0; k < 2 * kToolColumns; ++k) {
            const int c = k % kToolColumns;
            if (k < kToolColumns) {
                std::snprintf(number, sizeof number, "%.4f", grid.depth[r][c] + 0.0);
                // Trailing zeros and a bare point say nothing.
                std::string s = number;
                s.erase(s.find_last_not_of('0') + 1);
                if (s.back() == '.') {
                    s.pop_back();
                }
                if (s == "-0") {
                    s = "0";
                }
                text += s;
            } else {
                text += std::to_string(grid.colour[r][c]);
            }
            text += k + 1 < 2 * kToolColumns ? "," : "\n";
        }
    }
    return text;
}

double StructureSumOf(const LevelGrid &grid) {
    double sum = 0;
    for (int r = 290; r <= 300; ++r) {
        for (int c = -5; c <= 5; ++c) {
            sum += grid.depth[r][c + 7];
        }
    }
    return sum;
}

int HitsNeeded(double structureSum) {
    if (structureSum > kStructureFalls) {
        return 0;
    }
    return static_cast<int>(std::floor((kStructureFalls - structureSum) / kCraterDepth)) + 1;
}

} // namespace halvane
