#include "world/level_file.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "platform/text_fields.h"
#include "world/terrain.h"

namespace halvane {

int32_t RandomTerrain = 0;
OffsetArray<int32_t, 1, kLevelCount> LevelFileBroken;

namespace {

// The checker's copy of a file; filled once per check, never grown.
std::array<char, kLevelFileMaxBytes> CheckBuffer;

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// Whether text[0..length) starts with a number: blanks, a sign, then digits
// with an optional point and fraction (at least one digit).
bool HasNumericPrefix(const char *text, int length) {
    int i = 0;
    while (i < length && text[i] == ' ') {
        ++i;
    }
    if (i < length && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool digits = false;
    while (i < length && IsDigit(text[i])) {
        ++i;
        digits = true;
    }
    if (i < length && text[i] == '.') {
        ++i;
        while (i < length && IsDigit(text[i])) {
            ++i;
            digits = true;
        }
    }
    return digits;
}

// Walks the fields of a numeric file the way the field reader splits them.
struct FieldScanner {
    const char *text;
    int size;
    int at = 0;

    // Finds the next field; returns whether it has a numeric prefix. Past
    // the end every field is empty.
    bool NextFieldIsNumber() {
        while (at < size &&
               (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) {
            ++at;
        }
        if (at >= size) {
            return false;
        }
        if (text[at] == '"') {
            const int start = ++at;
            while (at < size && text[at] != '"') {
                ++at;
            }
            const bool number = HasNumericPrefix(text + start, at - start);
            if (at < size) {
                ++at; // the closing quote
            }
            SkipSeparator();
            return number;
        }
        const int start = at;
        while (at < size && at - start < kFloatFieldLength) {
            const char ch = text[at];
            if (ch == ',' || ch == '\r' || ch == '\n' || ch == ' ' || ch == '\t') {
                break;
            }
            ++at;
        }
        const bool number = HasNumericPrefix(text + start, at - start);
        if (at - start < kFloatFieldLength) {
            SkipSeparator();
        }
        return number;
    }

    // Consumes the character that ended a field (CR LF counts as one).
    void SkipSeparator() {
        if (at >= size) {
            return;
        }
        if (text[at] == '\r' && at + 1 < size && text[at + 1] == '\n') {
            at += 2;
        } else if (text[at] == ',' || text[at] == '\r' || text[at] == '\n' || text[at] == ' ' ||
                   text[at] == '\t') {
            ++at;
        }
    }
};

// Kept within the window of values the world can hold.
float SafeLevelValue(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return std::fmin(std::fmax(value, -kLevelValueLimit), kLevelValueLimit);
}

} // namespace

void LevelFileName(int level, std::span<char> out) {
    if (out.empty()) {
        return;
    }
    std::snprintf(out.data(), out.size(), "Data/level%d.dat", level);
}

void LoadLevelFile(const char *fileName) {
    OpenForReading(kLevelFileNumber, fileName);
    for (int r = 1; r <= kLevelRows; ++r) {
        for (int k = 1; k <= kLevelFieldsPerRow; ++k) {
            LevelMap[k][r] = SafeLevelValue(ReadFloatField(kLevelFileNumber));
        }
    }
    CloseFile(kLevelFileNumber);
}

bool LevelFileComplete(const char *fileName) {
    std::FILE *file = std::fopen(fileName, "rb");
    if (file == nullptr) {
        return false;
    }
    const size_t size = std::fread(CheckBuffer.data(), 1, CheckBuffer.size(), file);
    std::fclose(file);
    FieldScanner scanner{CheckBuffer.data(), static_cast<int>(size)};
    for (int i = 0; i < kLevelFieldCount; ++i) {
        if (!scanner.NextFieldIsNumber()) {
            return false;
        }
    }
    return true;
}

void CheckLevelFiles() {
    RandomTerrain = 0;
    std::array<char, 32> name{};
    for (int level = 1; level <= kLevelCount; ++level) {
        LevelFileName(level, name);
        LevelFileBroken[level] = LevelFileComplete(name.data()) ? 0 : 1;
        if (LevelFileBroken[level] != 0) {
            RandomTerrain = 1;
            std::fprintf(stderr,
                         "%s is missing, short or corrupt: level %d is played over "
                         "generated terrain\n",
                         name.data(), level);
        }
    }
}

} // namespace halvane
