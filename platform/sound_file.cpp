// sound_file.cpp -- reading and writing the WAV files of the game's sounds:
// a RIFF header, a "fmt " chunk for plain 16-bit mono 44.1 kHz samples and a
// "data" chunk. Other chunks are skipped; anything else is refused.
#include "platform/sound_file.h"

#include <array>
#include <bit>
#include <cstring>

#include "platform/file_io.h"

namespace halvane {

namespace {

// The samples go to and from the files as they lie in memory.
static_assert(std::endian::native == std::endian::little);

uint32_t Get32(const uint8_t *p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t Get16(const uint8_t *p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
void Put32(uint8_t *p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(uint8_t *p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

constexpr uint32_t kFmtBytes = 16;

bool ReadExactly(int fd, void *bytes, std::size_t count) {
    return ReadBytes(fd, bytes, count) == static_cast<long long>(count);
}

// Reads chunks up to the data chunk; its size in bytes, or -1 when the file
// is not one of ours.
long long FindData(int fd) {
    std::array<uint8_t, 12> riff{};
    if (!ReadExactly(fd, riff.data(), riff.size()) || std::memcmp(&riff[0], "RIFF", 4) != 0 ||
        std::memcmp(&riff[8], "WAVE", 4) != 0)
        return -1;
    bool formatSeen = false;
    // A bounded number of chunks, so that a crafted file cannot spin here.
    for (int chunk = 0; chunk < 16; ++chunk) {
        std::array<uint8_t, 8> head{};
        if (!ReadExactly(fd, head.data(), head.size())) return -1;
        const uint32_t size = Get32(&head[4]);
        if (std::memcmp(&head[0], "fmt ", 4) == 0) {
            std::array<uint8_t, kFmtBytes> fmt{};
            if (size != kFmtBytes || !ReadExactly(fd, fmt.data(), fmt.size())) return -1;
            if (Get16(&fmt[0]) != 1 || Get16(&fmt[2]) != 1 || Get32(&fmt[4]) != kAudioRate ||
                Get16(&fmt[14]) != 16)
                return -1;
            formatSeen = true;
        } else if (std::memcmp(&head[0], "data", 4) == 0) {
            return formatSeen && size % 2 == 0 ? static_cast<long long>(size) : -1;
        } else {
            // Skips a chunk we do not use (padded to an even size).
            std::array<uint8_t, 256> skip{};
            for (long long left = size + (size & 1); left > 0;) {
                const std::size_t n = left < 256 ? static_cast<std::size_t>(left) : 256;
                if (!ReadExactly(fd, skip.data(), n)) return -1;
                left -= static_cast<long long>(n);
            }
        }
    }
    return -1;
}

} // namespace

SoundFileResult ReadSoundFile(const char *fileName, int16_t *into, int32_t capacity,
                              int32_t &frames) {
    const int fd = OpenRegularFile(fileName);
    if (fd < 0) return SoundFileResult::Missing;
    SoundFileResult result = SoundFileResult::NotOurFormat;
    const long long bytes = FindData(fd);
    if (bytes >= 0 && bytes / 2 > capacity) {
        result = SoundFileResult::TooLong;
    } else if (bytes >= 0 && ReadExactly(fd, into, static_cast<std::size_t>(bytes))) {
        frames = static_cast<int32_t>(bytes / 2);
        result = SoundFileResult::Read;
    }
    CloseDescriptor(fd);
    return result;
}

bool WriteSoundFile(const char *fileName, SampleBlock block) {
    if (block.frames < 0 || (block.frames > 0 && block.samples == nullptr)) return false;
    const int fd = CreateForWriting(fileName, false);
    if (fd < 0) return false;
    const uint32_t dataBytes = static_cast<uint32_t>(block.frames) * 2;
    std::array<uint8_t, 44> header{};
    std::memcpy(&header[0], "RIFF", 4);
    Put32(&header[4], 36 + dataBytes);
    std::memcpy(&header[8], "WAVEfmt ", 8);
    Put32(&header[16], kFmtBytes);
    Put16(&header[20], 1); // plain samples
    Put16(&header[22], 1); // one channel
    Put32(&header[24], kAudioRate);
    Put32(&header[28], kAudioRate * 2); // bytes per second
    Put16(&header[32], 2);              // bytes per frame
    Put16(&header[34], 16);
    std::memcpy(&header[36], "data", 4);
    Put32(&header[40], dataBytes);
    const bool written =
        WriteBytes(fd, header.data(), header.size()) && WriteBytes(fd, block.samples, dataBytes);
    return CloseDescriptor(fd) && written;
}

} // namespace halvane
