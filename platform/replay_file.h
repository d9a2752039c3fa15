// replay_file.h -- the layout of a replay file: a header (format, program
// version, start-up choices, the files the game reads), then chunks of
// compressed events, each with its length and checksums so that a cut file
// and a damaged one tell apart. Used by the recorder, the player and the fuzz
// target.
//
//   "HALVREP" 0x1A | u32 format | u32 body length | body | u32 crc of all before
//   chunk: u32 length | u32 flags (1: last) | u32 crc of the payload
//          | u32 crc of these twelve bytes | payload (one deflate stream
//          across all chunks, flushed at each chunk's end)
//
// Numbers are little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace halvane {

constexpr std::array<uint8_t, 8> kReplayMagic{'H', 'A', 'L', 'V', 'R', 'E', 'P', 0x1A};
constexpr uint32_t kReplayFormat = 1;
constexpr std::size_t kReplayPrefixBytes = 16; // magic, format, body length
constexpr std::size_t kMaxHeaderBody = 64 * 1024;
constexpr std::size_t kChunkHeaderBytes = 16;
constexpr uint32_t kChunkLast = 1;
constexpr std::size_t kMaxChunkBytes = 256 * 1024;

// The files the game reads. Shipped files are checked by their hash: a replay
// needs the same ones. The player's own files (setup, best score) travel in
// the recording, and both the recorded run and its replay read that copy.
constexpr std::array kShippedFiles{
    "Graphics/mmenu.bgr",   "Graphics/backg1.bgr",   "Graphics/backg2.bgr",
    "Graphics/backg3.bgr",  "Graphics/backg4.bgr",   "Graphics/briefscrn.bgr",
    "Graphics/endgame.bgr", "Graphics/zqsprite.spr", "Graphics/crymsg.spr",
    "Graphics/zqfont.fnt",  "Data/level1.dat",       "Data/level2.dat",
    "Data/level3.dat",      "Data/level4.dat",       "Data/level5.dat",
};
constexpr std::array kCarriedFiles{"Data/setup.dat", "Data/hs.dat"};
constexpr std::size_t kReplayFiles = kShippedFiles.size() + kCarriedFiles.size();
// A player's file longer than this travels cut to it (the game reads only its
// first few fields).
constexpr std::size_t kMaxCarriedBytes = 4096;
constexpr uint32_t kFileMissing = 0xFFFFFFFF;

struct ReplayFileEntry {
    std::array<char, 32> name{};
    uint32_t size = kFileMissing; // kFileMissing when the file was not there
    uint64_t hash = 0;
};

struct ReplayHeader {
    uint32_t format = kReplayFormat;
    std::array<char, 64> version{}; // the program's version, NUL-terminated
    int32_t depth = 0;              // as OpenScreen was asked
    int32_t screenFlags = 0;
    bool screenOpened = false;
    std::array<ReplayFileEntry, kReplayFiles> files{}; // shipped, then carried
    std::array<std::array<char, kMaxCarriedBytes>, kCarriedFiles.size()> carried{};
};

// A 64-bit hash of bytes, fixed for good: recordings keep page hashes in it.
uint64_t HashBytes(std::span<const uint8_t> bytes);

// Fills the file entries (and the carried copies) from the files as they are
// now, read through the game's file access.
void DescribeFiles(ReplayHeader &header);
// The first shipped file whose hash or size differs now, or nullptr.
const char *ChangedShippedFile(const ReplayHeader &header);

// Writes the whole header into `out`; the bytes written, 0 when it does not fit.
std::size_t WriteHeader(const ReplayHeader &header, std::span<uint8_t> out);

enum class HeaderResult { Ok, Empty, NotReplay, Newer, Cut, Damaged };
// Reads a header from the start of `in`; `used` is its length when Ok. For a
// Newer file `header.format` holds the format found.
HeaderResult ReadHeader(std::span<const uint8_t> in, ReplayHeader &header, std::size_t &used);
// The number of bytes a whole header takes, from its first 16 (0 when those are
// not a replay's).
std::size_t HeaderLength(std::span<const uint8_t> prefix);

// Chunk headers.
void WriteChunkHeader(std::span<const uint8_t> payload, uint32_t flags,
                      std::span<uint8_t, kChunkHeaderBytes> out);
struct ChunkInfo {
    uint32_t length = 0;
    uint32_t flags = 0;
    uint32_t payloadCrc = 0;
};
// False when the header's own checksum fails or its length is out of range.
bool ReadChunkHeader(std::span<const uint8_t, kChunkHeaderBytes> in, ChunkInfo &chunk);
bool PayloadIntact(std::span<const uint8_t> payload, const ChunkInfo &chunk);

uint32_t Crc32(std::span<const uint8_t> bytes);

} // namespace halvane
