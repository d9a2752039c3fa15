#include "platform/text_fields.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/file_io.h"
#include "platform/replay.h"

namespace halvane {

namespace {

// A level file is 300 rows of 30 numbers, well under this; whatever lies
// beyond it reads as the end of the file.
constexpr std::size_t kFileBufferBytes = 256 * 1024;

// The game reads one file at a time and closes it at once; a few buffers
// cover any overlap. Each is filled in one go at open, so nothing is
// allocated while the game reads.
constexpr int kFileBuffers = 4;

struct OpenFile {
    int number = 0;             // file number holding this buffer, 0 when free
    std::size_t size = 0;       // bytes held in `bytes`
    std::size_t pos = 0;        // next byte to read
    bool lastHadNumber = false; // the last number field read began with a number
    std::array<char, kFileBufferBytes> bytes;
};

std::array<OpenFile, kFileBuffers> Files;

OpenFile *FileFor(int fileNumber) {
    if (fileNumber < 1 || fileNumber > kMaxFileNumber) return nullptr;
    for (OpenFile &f : Files)
        if (f.number == fileNumber) return &f;
    return nullptr;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the next field of `f` into `out` (up to `maxLength` characters when
// maxLength > 0) and returns its length; the field's end is consumed.
// `numeric` fields also end at a blank or tab. `keep` is how many characters
// `out` can hold; the rest of a longer field is read and dropped.
int NextField(OpenFile *f, bool numeric, int maxLength, char *out, int keep) {
    if (f == nullptr) return 0;
    const char *b = f->bytes.data();
    std::size_t &p = f->pos;
    while (p < f->size && (IsBlank(b[p]) || b[p] == '\r' || b[p] == '\n'))
        ++p;
    if (p >= f->size) return 0;

    int length = 0;
    auto take = [&](char c) {
        if (length < keep) out[length] = c;
        ++length;
    };
    auto full = [&] { return maxLength > 0 && length >= maxLength; };
    // Consumes one line end, the pair CR LF counting as one.
    auto consumeLineEnd = [&] {
        if (b[p] == '\r' && p + 1 < f->size && b[p + 1] == '\n') ++p;
        ++p;
    };

    if (b[p] == '"') {
        ++p;
        while (p < f->size && b[p] != '"' && !full())
            take(b[p++]);
        if (p < f->size && b[p] == '"') {
            ++p;
            // Whatever separates the closing quote from the next field.
            while (p < f->size && IsBlank(b[p]))
                ++p;
            if (p < f->size && b[p] == ',') {
                ++p;
            } else if (p < f->size && (b[p] == '\r' || b[p] == '\n')) {
                consumeLineEnd();
            }
        }
        return length;
    }

    while (p < f->size && !full()) {
        const char c = b[p];
        if (c == ',') {
            ++p;
            break;
        }
        if (c == '\r' || c == '\n') {
            consumeLineEnd();
            break;
        }
        if (numeric && IsBlank(c)) {
            ++p;
            break;
        }
        take(c);
        ++p;
        // A field that fills its maximum length still owns the separator
        // right after it; otherwise "-2147483648," would leave a phantom
        // empty field and shift every value after it.
        if (full() && p < f->size) {
            const char next = b[p];
            if (next == ',' || (numeric && IsBlank(next)))
                ++p;
            else if (next == '\r' || next == '\n')
                consumeLineEnd();
        }
    }
    return length;
}

// Whether the field starts with a number: blanks, a sign, then digits with an
// optional point and fraction (at least one digit).
bool StartsWithNumber(const char *text, int length) {
    int p = 0;
    while (p < length && IsBlank(text[p]))
        ++p;
    if (p < length && (text[p] == '+' || text[p] == '-')) ++p;
    bool digits = false;
    while (p < length && IsDigit(text[p])) {
        digits = true;
        ++p;
    }
    if (p < length && text[p] == '.') {
        ++p;
        digits = digits || (p < length && IsDigit(text[p]));
    }
    return digits;
}

#if defined(_LIBCPP_VERSION)
// The browser build's C++ library converts no floating-point text, so the C
// library's correctly rounded strtod reads a copy of the prefix (which never
// holds anything strtod would read further, such as "0x" or "inf"). The
// game's fields are at most kTextFieldCapacity characters; a longer prefix
// reads as invalid (0).
std::errc ParseDecimal(const char *first, const char *last, double &value) {
    std::array<char, 2 * kTextFieldCapacity + 32> copy;
    const auto length = static_cast<std::size_t>(last - first);
    if (length + 1 > copy.size()) return std::errc::invalid_argument;
    std::memcpy(copy.data(), first, length);
    copy[length] = '\0';
    errno = 0;
    value = std::strtod(copy.data(), nullptr);
    return errno == ERANGE ? std::errc::result_out_of_range : std::errc();
}
#else
std::errc ParseDecimal(const char *first, const char *last, double &value) {
    return std::from_chars(first, last, value, std::chars_format::general).ec;
}
#endif

// Scans the decimal number at the start of `text` (optional blanks, sign,
// digits with an optional point and fraction, optional exponent) and returns
// its value, saturated at the largest double; 0 when there is none.
double DecimalPrefix(const char *text, std::size_t size) {
    std::size_t p = 0;
    while (p < size && IsBlank(text[p]))
        ++p;
    bool negative = false;
    if (p < size && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    const std::size_t start = p;

    // Significant integer digits and the zeros after the point before the
    // first significant digit give the order of magnitude when the value
    // falls outside the double range.
    long long intDigits = 0;
    long long fractionZeros = 0;
    bool anyDigit = false;
    bool seenSignificant = false;
    while (p < size && IsDigit(text[p])) {
        if (text[p] != '0') seenSignificant = true;
        if (seenSignificant) ++intDigits;
        anyDigit = true;
        ++p;
    }
    if (p < size && text[p] == '.') {
        ++p;
        while (p < size && IsDigit(text[p])) {
            if (text[p] != '0') seenSignificant = true;
            if (!seenSignificant) ++fractionZeros;
            anyDigit = true;
            ++p;
        }
    }
    if (!anyDigit) return 0.0;

    long long exponent = 0;
    if (p < size && (text[p] == 'e' || text[p] == 'E')) {
        std::size_t q = p + 1;
        bool expNegative = false;
        if (q < size && (text[q] == '+' || text[q] == '-')) expNegative = text[q++] == '-';
        if (q < size && IsDigit(text[q])) {
            while (q < size && IsDigit(text[q])) {
                // Far beyond any double; kept small so that it cannot overflow.
                if (exponent < 100000) exponent = exponent * 10 + (text[q] - '0');
                ++q;
            }
            if (expNegative) exponent = -exponent;
            p = q;
        }
    }

    // The conversion reads exactly the prefix found above (no sign, no blanks).
    double value = 0.0;
    const std::errc converted = ParseDecimal(text + start, text + p, value);
    if (converted == std::errc::result_out_of_range) {
        if (!seenSignificant) {
            value = 0.0;
        } else {
            const long long order = intDigits > 0 ? intDigits + exponent : exponent - fractionZeros;
            value = order > 0 ? DBL_MAX : 0.0;
        }
    } else if (converted != std::errc() || !std::isfinite(value)) {
        value = 0.0;
    }
    return negative ? -value : value;
}

// Digits of base 16, 8 or 2 after &H, &O or &B, saturated at the largest
// double.
double BasedPrefix(const char *text, std::size_t size, int base) {
    double value = 0.0;
    for (std::size_t p = 0; p < size; ++p) {
        const char c = text[p];
        int digit = -1;
        if (IsDigit(c))
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0 || digit >= base) break;
        value = value * base + digit;
        if (!(value <= DBL_MAX)) value = DBL_MAX;
    }
    return value;
}

} // namespace

void OpenForReading(int fileNumber, const char *fileName) {
    if (fileNumber < 1 || fileNumber > kMaxFileNumber) return;
    OpenFile *f = FileFor(fileNumber);
    for (std::size_t i = 0; f == nullptr && i < Files.size(); ++i)
        if (Files[i].number == 0) f = &Files[i];
    if (f == nullptr) {
        std::fprintf(stderr, "halvane: more than %d data files open at once; %s reads empty\n",
                     kFileBuffers, fileName != nullptr ? fileName : "(no name)");
        return;
    }
    // A missing file still opens the number, with nothing in it.
    f->number = fileNumber;
    f->size = 0;
    f->pos = 0;
    f->lastHadNumber = false;
    if (fileName == nullptr) return;
    // The player's own files come from the recording while one is made or
    // played, so that the run and its replay read the same.
    std::span<const char> carried;
    bool present = false;
    if (CarriedFile(fileName, carried, present)) {
        f->size = std::min(carried.size(), f->bytes.size());
        std::memcpy(f->bytes.data(), carried.data(), f->size);
        return;
    }
    const int fd = OpenRegularFile(fileName);
    if (fd < 0) return;
    // A file that fails part-way reads as empty.
    const long long got = ReadBytes(fd, f->bytes.data(), f->bytes.size());
    f->size = got > 0 ? static_cast<std::size_t>(got) : 0;
    CloseDescriptor(fd);
}

void CloseFile(int fileNumber) {
    OpenFile *f = FileFor(fileNumber);
    if (f == nullptr) return;
    f->number = 0;
    f->size = 0;
    f->pos = 0;
}

float ReadFloatField(int fileNumber) {
    char field[kFloatFieldLength];
    OpenFile *f = FileFor(fileNumber);
    const int length = NextField(f, true, kFloatFieldLength, field, kFloatFieldLength);
    if (f != nullptr) f->lastHadNumber = StartsWithNumber(field, length);
    const double value = DecimalPrefix(field, static_cast<std::size_t>(length));
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

int32_t ReadIntField(int fileNumber) {
    char field[kIntFieldLength];
    OpenFile *f = FileFor(fileNumber);
    const int length = NextField(f, true, kIntFieldLength, field, kIntFieldLength);
    if (f != nullptr) f->lastHadNumber = StartsWithNumber(field, length);
    int p = 0;
    while (p < length && IsBlank(field[p]))
        ++p;
    bool negative = false;
    if (p < length && (field[p] == '+' || field[p] == '-')) negative = field[p++] == '-';
    // Eleven digits at most, so the sum fits easily before it is saturated.
    long long value = 0;
    while (p < length && IsDigit(field[p]))
        value = value * 10 + (field[p++] - '0');
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool LastFieldHadNumber(int fileNumber) {
    const OpenFile *f = FileFor(fileNumber);
    return f != nullptr && f->lastHadNumber;
}

int ReadTextField(int fileNumber, std::span<char> out) {
    const int keep =
        out.empty() ? 0 : static_cast<int>(std::min<std::size_t>(out.size() - 1, kFileBufferBytes));
    const int length = NextField(FileFor(fileNumber), false, 0, out.data(), keep);
    const int kept = std::min(length, keep);
    if (!out.empty()) out[static_cast<std::size_t>(kept)] = '\0';
    return kept;
}

double TextToNumber(std::span<const char> text) {
    const char *t = text.data();
    std::size_t size = text.size();
    // A NUL ends the text, as it would in a C string.
    for (std::size_t i = 0; i < size; ++i) {
        if (t[i] == '\0') {
            size = i;
            break;
        }
    }
    std::size_t p = 0;
    while (p < size && IsBlank(t[p]))
        ++p;
    if (p + 1 < size && t[p] == '&') {
        const char kind = t[p + 1];
        const int base = (kind == 'h' || kind == 'H')   ? 16
                         : (kind == 'o' || kind == 'O') ? 8
                         : (kind == 'b' || kind == 'B') ? 2
                                                        : 0;
        if (base != 0) return BasedPrefix(t + p + 2, size - p - 2, base);
        return 0.0;
    }
    return DecimalPrefix(t + p, size - p);
}

} // namespace halvane
