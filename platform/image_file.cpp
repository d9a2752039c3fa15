// image_file.cpp -- LoadImageFile: BMP and raw memory images onto the work
// page. The file is streamed a row at a time through a fixed buffer, and every
// size a header claims is checked against the file before a pixel is written.
#include "platform/image_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "core/image.h"
#include "platform/file_io.h"
#include "platform/screen.h"

namespace halvane {

namespace {

constexpr int kBmpHeaderBytes = 54; // file header 14 + information header 40
constexpr int kBmpInfoHeaderSize = 40;
constexpr int kMaxColourEntries = 256;

// File rows are read as many at a time as fit here (a 640-pixel row of 32
// bits is 2,560 bytes); of a row wider than this only the part that lands on
// the page is read. The spare bytes serve pixels that straddle a byte
// boundary at the end of a row.
constexpr long long kRowBatchBytes = 64 * 1024;
static_assert(kRowBatchBytes >= kScreenWidth * 4);
std::array<uint8_t, kRowBatchBytes + 2> RowBatch;
std::array<uint32_t, kMaxColourEntries> ColourTable;

uint32_t Read16(const uint8_t *p) {
    return p[0] | (p[1] << 8);
}
uint32_t Read32(const uint8_t *p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool Seek(int fd, long long offset, int whence) {
    return lseek(fd, static_cast<off_t>(offset), whence) >= 0;
}

// Reads exactly `count` bytes; false at an error or the file's end.
bool ReadExactly(int fd, void *bytes, std::size_t count) {
    return ReadBytes(fd, bytes, count) == static_cast<long long>(count);
}

// Size of the file in bytes, or -1 when it cannot be told.
long long FileSize(int fd) {
    struct stat info {};
    return fstat(fd, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

void PutPagePixel(uint8_t *row, int x, int bytesPerPixel, uint32_t colour) {
    if (bytesPerPixel == 4) {
        std::memcpy(row + x * 4, &colour, 4);
    } else {
        const uint16_t native = static_cast<uint16_t>(NativeColour(colour & 0xFFFFFF));
        std::memcpy(row + x * 2, &native, 2);
    }
}

// Converts the first `width` pixels of the file row at `in` onto a page row.
void ConvertRow(const uint8_t *in, int bitsPerPixel, int width, uint8_t *pageRow,
                int bytesPerPixel) {
    for (int x = 0; x < width; ++x) {
        uint32_t colour;
        if (bitsPerPixel == 32) {
            colour = Read32(in + x * 4); // copied as it is, top byte included
        } else if (bitsPerPixel == 24) {
            const uint8_t *p = in + x * 3;
            colour = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        } else {
            // Packed indices, leftmost pixel in the high bits; a 16-bit window
            // catches the depths that straddle bytes (3, 5, 6, 7 bits).
            const int bit = x * bitsPerPixel;
            const uint32_t window = (uint32_t{in[bit / 8]} << 8) | in[bit / 8 + 1];
            const int shift = 16 - bitsPerPixel - bit % 8;
            colour = ColourTable[(window >> shift) & ((1u << bitsPerPixel) - 1)];
        }
        PutPagePixel(pageRow, x, bytesPerPixel, colour);
    }
}

int LoadBmp(int fd, long long fileSize) {
    std::array<uint8_t, kBmpHeaderBytes> header{};
    header[0] = 'B';
    if (!ReadExactly(fd, header.data() + 1, kBmpHeaderBytes - 1)) return kImageBadFile;
    if (header[1] != 'M' || Read32(&header[14]) != kBmpInfoHeaderSize) return kImageBadFile;

    const long long pixelOffset = Read32(&header[10]);
    const int32_t width = static_cast<int32_t>(Read32(&header[18]));
    const int32_t height = static_cast<int32_t>(Read32(&header[22]));
    const int bitsPerPixel = static_cast<int>(Read16(&header[28]));
    const uint32_t compression = Read32(&header[30]);

    if (bitsPerPixel == 15 || bitsPerPixel == 16) return kImageNoScreenOrDepth;
    const bool indexed = bitsPerPixel >= 1 && bitsPerPixel <= 8;
    if (!indexed && bitsPerPixel != 24 && bitsPerPixel != 32) return kImageBadFile;
    if (compression != 0 || width <= 0) return kImageBadFile;
    if (pixelOffset < kBmpHeaderBytes || pixelOffset > fileSize) return kImageBadFile;

    // The colour table fills the gap between the headers and the pixels;
    // indices beyond a short table read as black.
    ColourTable.fill(0);
    if (indexed) {
        const long long entries =
            std::min<long long>((pixelOffset - kBmpHeaderBytes) / 4, kMaxColourEntries);
        std::array<uint8_t, kMaxColourEntries * 4> entryBytes;
        const auto tableBytes = static_cast<std::size_t>(entries * 4);
        if (!ReadExactly(fd, entryBytes.data(), tableBytes)) return kImageBadFile;
        for (std::size_t i = 0; i < static_cast<std::size_t>(entries); ++i) {
            const uint8_t *bgra = &entryBytes[i * 4];
            ColourTable[i] = (uint32_t{bgra[2]} << 16) | (uint32_t{bgra[1]} << 8) | bgra[0];
        }
    }

    // Top-down rows (negative height) are not drawn, yet the file counts as
    // loaded; so does an empty one.
    if (height <= 0) return kImageLoaded;

    // Every row must be in the file before anything is drawn, so that a
    // truncated file leaves the page as it was.
    const long long rowBytes = (static_cast<long long>(width) * bitsPerPixel + 31) / 32 * 4;
    if ((fileSize - pixelOffset) / rowBytes < height) return kImageBadFile;

    // Rows below the page come first in the file and are skipped.
    const int rowsOnPage = std::min<int32_t>(height, kScreenHeight);
    const long long firstRow = pixelOffset + (height - rowsOnPage) * rowBytes;
    if (!Seek(fd, firstRow, SEEK_SET)) return kImageBadFile;

    const int drawWidth = std::min<int32_t>(width, kScreenWidth);
    const long long neededBytes = (static_cast<long long>(drawWidth) * bitsPerPixel + 7) / 8;
    const int bytesPerPixel = ScreenBytesPerPixel();
    uint8_t *page = PagePixels(WorkPageIndex());
    const bool batched = rowBytes <= kRowBatchBytes;
    const int rowsPerRead = batched ? static_cast<int>(kRowBatchBytes / rowBytes) : 1;
    int result = kImageLoaded;
    for (int y = rowsOnPage - 1; y >= 0;) {
        const int rows = std::min(rowsPerRead, y + 1);
        const bool read =
            batched ? ReadExactly(fd, RowBatch.data(), static_cast<std::size_t>(rows * rowBytes))
                    : ReadExactly(fd, RowBatch.data(), static_cast<std::size_t>(neededBytes)) &&
                          Seek(fd, rowBytes - neededBytes, SEEK_CUR);
        if (!read) {
            result = kImageBadFile; // the file changed or failed under us
            break;
        }
        for (int i = 0; i < rows; ++i, --y)
            ConvertRow(RowBatch.data() + i * rowBytes, bitsPerPixel, drawWidth,
                       page + static_cast<std::size_t>(y) * kScreenWidth * bytesPerPixel,
                       bytesPerPixel);
    }
    if (WorkPageIndex() == VisiblePageIndex()) MarkVisibleChanged();
    return result;
}

// A raw memory image: the pixel bytes go to the page unchanged. The palette
// that may follow matters only on an 8-bit screen, which the game never has.
int LoadRaw(int fd, int headerBytes) {
    std::array<uint8_t, 6> header{};
    if (!ReadExactly(fd, header.data(), static_cast<std::size_t>(headerBytes - 1)))
        return kImageBadFile;
    const uint32_t length = headerBytes == 7 ? Read16(&header[4]) : Read32(&header[0]);

    const std::size_t pageBytes =
        std::size_t{kScreenWidth} * kScreenHeight * static_cast<std::size_t>(ScreenBytesPerPixel());
    const std::size_t wanted = std::min<std::size_t>(length, pageBytes);
    const long long got = ReadBytes(fd, PagePixels(WorkPageIndex()), wanted);
    if (got != 0 && WorkPageIndex() == VisiblePageIndex()) MarkVisibleChanged();
    // A file that simply ends early has loaded what it holds.
    return got < 0 ? kImageBadFile : kImageLoaded;
}

} // namespace

int LoadImageFile(const char *fileName) {
    if (!ScreenIsOpen() || ScreenBytesPerPixel() == 0) return kImageNoScreenOrDepth;
    if (fileName == nullptr) return kImageCannotOpen;
    const int fd = OpenRegularFile(fileName);
    if (fd < 0) return kImageCannotOpen;

    int result = kImageBadFile;
    const long long fileSize = FileSize(fd);
    uint8_t first = 0;
    if (fileSize >= 0 && ReadExactly(fd, &first, 1)) {
        if (first == 0x42)
            result = LoadBmp(fd, fileSize);
        else if (first == 0xFD)
            result = LoadRaw(fd, 7);
        else if (first == 0xFE)
            result = LoadRaw(fd, 5);
    }
    CloseDescriptor(fd);
    return result;
}

} // namespace halvane
