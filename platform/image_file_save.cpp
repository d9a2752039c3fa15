// image_file_save.cpp -- SaveScreenImage and TakeScreenshot: the work page as
// a 24-bit BMP (or a raw long-header image), written a row at a time.
#include <cerrno>
#include <cstdint>
#include <cstdio>

#include <array>

#include "core/game_state.h"
#include "core/image.h"
#include "platform/file_io.h"
#include "platform/image_file.h"
#include "platform/replay.h"
#include "platform/screen.h"

namespace halvane {

namespace {

constexpr uint32_t kBmpRowBytes = kScreenWidth * 3; // 1920, already a multiple of 4
constexpr uint32_t kBmpImageBytes = kBmpRowBytes * kScreenHeight;
constexpr uint32_t kBmpPixelsPerMetre = 2834; // 72 dots per inch

// Rows go out in batches, so a shot costs tens of writes rather than 480.
constexpr int kRowsPerWrite = 16;
std::array<uint8_t, kBmpRowBytes * kRowsPerWrite> RowsOut;

void Put16(uint8_t *p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t *p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Bottom screen row first, each pixel blue, green, red; ReadPixel widens a
// 16-bit page's channels and the top byte of a 32-bit pixel is dropped.
bool WriteBmp(int fd) {
    std::array<uint8_t, 54> header{};
    header[0] = 'B';
    header[1] = 'M';
    Put32(&header[2], 54 + kBmpImageBytes);
    Put32(&header[10], 54);
    Put32(&header[14], 40);
    Put32(&header[18], kScreenWidth);
    Put32(&header[22], kScreenHeight);
    Put16(&header[26], 1);
    Put16(&header[28], 24);
    Put32(&header[34], kBmpImageBytes);
    Put32(&header[38], kBmpPixelsPerMetre);
    Put32(&header[42], kBmpPixelsPerMetre);
    if (!WriteBytes(fd, header.data(), header.size())) return false;

    std::size_t filled = 0;
    for (int y = kScreenHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint32_t rgb = static_cast<uint32_t>(ReadPixel(x, y)) & 0xFFFFFF;
            uint8_t *p = &RowsOut[filled + static_cast<std::size_t>(x) * 3];
            p[0] = static_cast<uint8_t>(rgb);
            p[1] = static_cast<uint8_t>(rgb >> 8);
            p[2] = static_cast<uint8_t>(rgb >> 16);
        }
        filled += kBmpRowBytes;
        if (filled == RowsOut.size() || y == 0) {
            if (!WriteBytes(fd, RowsOut.data(), filled)) return false;
            filled = 0;
        }
    }
    return true;
}

// The page's bytes as they are, behind the long header (0xFE, length).
bool WriteRaw(int fd) {
    const uint32_t length = static_cast<uint32_t>(kScreenWidth) * kScreenHeight *
                            static_cast<uint32_t>(ScreenBytesPerPixel());
    std::array<uint8_t, 5> header{0xFE};
    Put32(&header[1], length);
    return WriteBytes(fd, header.data(), header.size()) &&
           WriteBytes(fd, PageView(WorkPageIndex()), length);
}

bool EndsInBmp(const char *fileName) {
    const char *dot = nullptr;
    for (const char *p = fileName; *p != '\0'; ++p)
        if (*p == '.') dot = p;
    if (dot == nullptr) return false;
    const char *want = "bmp";
    for (int i = 0; i < 3; ++i) {
        const char c = dot[1 + i];
        if (c != want[i] && c != want[i] - 'a' + 'A') return false;
    }
    return dot[4] == '\0';
}

// Writes the page into an opened file and closes it; a file that could not
// be written completely is removed rather than left half-written.
bool FinishFile(int fd, const char *fileName, bool asBmp) {
    const bool written = asBmp ? WriteBmp(fd) : WriteRaw(fd);
    const bool closed = CloseDescriptor(fd);
    if (written && closed) return true;
    RemoveFile(fileName);
    return false;
}

} // namespace

bool SaveScreenImage(const char *fileName) {
    if (!ScreenIsOpen() || fileName == nullptr) return false;
    const int fd = CreateForWriting(fileName, false);
    if (fd < 0) return false;
    return FinishFile(fd, fileName, EndsInBmp(fileName));
}

namespace {

// Writes the shot under the first free number from `number` on and returns
// the number it took (or the last one tried when nothing could be created).
int32_t SaveShot(int32_t number) {
    // The file is created only if no file of that name exists, so a shot
    // from an earlier run is never replaced: its number is skipped.
    std::array<char, 32> name{};
    for (;;) {
        std::snprintf(name.data(), name.size(), "screenshot%d.bmp", static_cast<int>(number));
        const int fd = CreateForWriting(name.data(), true);
        if (fd >= 0) {
            FinishFile(fd, name.data(), true);
            return number;
        }
        if (errno != EEXIST || number == INT32_MAX) break;
        ++number;
    }
    // Nothing could be created (a read-only folder): nothing is written.
    return number;
}

} // namespace

void TakeScreenshot() {
    if (!ScreenIsOpen()) return;
    if (Replaying()) {
        // Watching a replay still gives its shots, under free numbers; the
        // game goes on with the number the recorded run took.
        if (!ReplayWithoutWindow()) SaveShot(ScreenshotNumber);
        ScreenshotNumber = PlayScreenshot();
        return;
    }
    ScreenshotNumber = SaveShot(ScreenshotNumber);
    if (Recording()) RecordScreenshot(ScreenshotNumber);
}

} // namespace halvane
