// replay_file.cpp -- the header and the chunk frames of a replay file, and the
// hashes that tie a recording to the files and pages of its run.
#include "platform/replay_file.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/file_io.h"

namespace halvane {

namespace {

constexpr uint64_t kHashPrime = 0x100000001B3ULL;
constexpr uint64_t kHashStart = 0xCBF29CE484222325ULL;

// Eight bytes as a little-endian word: one load on a little-endian machine
// (all the game's targets), byte by byte elsewhere.
uint64_t Word(const uint8_t *p) {
    uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, p, 8);
    } else {
        for (int i = 0; i < 8; ++i)
            v |= static_cast<uint64_t>(p[i]) << (8 * i);
    }
    return v;
}

uint32_t Load32(const uint8_t *p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void Store32(uint8_t *p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Writes and reads the header body in order, checking room on each step.
struct Writer {
    std::span<uint8_t> out;
    std::size_t pos = 0;
    bool ok = true;
    void Bytes(const void *data, std::size_t n) {
        if (!ok || n > out.size() - pos) {
            ok = false;
            return;
        }
        std::memcpy(out.data() + pos, data, n);
        pos += n;
    }
    void U32(uint32_t v) {
        uint8_t b[4];
        Store32(b, v);
        Bytes(b, 4);
    }
    void U64(uint64_t v) {
        U32(static_cast<uint32_t>(v));
        U32(static_cast<uint32_t>(v >> 32));
    }
    void Text(const char *text, std::size_t capacity) {
        const std::size_t n = strnlen(text, capacity);
        U32(static_cast<uint32_t>(n));
        Bytes(text, n);
    }
};

struct Reader {
    std::span<const uint8_t> in;
    std::size_t pos = 0;
    bool ok = true;
    const uint8_t *Take(std::size_t n) {
        if (!ok || n > in.size() - pos) {
            ok = false;
            return nullptr;
        }
        const uint8_t *p = in.data() + pos;
        pos += n;
        return p;
    }
    uint32_t U32() {
        const uint8_t *p = Take(4);
        return p != nullptr ? Load32(p) : 0;
    }
    uint64_t U64() {
        const uint64_t low = U32();
        return low | static_cast<uint64_t>(U32()) << 32;
    }
    // Text into a NUL-terminated field; too long for it is damage.
    void Text(char *out, std::size_t capacity) {
        const uint32_t n = U32();
        if (n >= capacity) {
            ok = false;
            return;
        }
        const uint8_t *p = Take(n);
        if (p == nullptr) return;
        std::memcpy(out, p, n);
        out[n] = '\0';
    }
};

// The size and checksum of a file as the game would read it (up to the
// carried copy's length for the player's files, whose copy is kept).
void DescribeFile(const char *name, ReplayFileEntry &entry, std::span<char> copy) {
    std::strncpy(entry.name.data(), name, entry.name.size() - 1);
    entry.size = kFileMissing;
    entry.hash = 0;
    const int fd = OpenRegularFile(name);
    if (fd < 0) return;
    static std::array<uint8_t, 64 * 1024> block;
    uint32_t crc = crc32(0, nullptr, 0);
    uint64_t size = 0;
    for (;;) {
        const long long got = ReadBytes(fd, block.data(), block.size());
        if (got <= 0) break;
        const auto n = static_cast<std::size_t>(got);
        if (size < copy.size()) {
            const std::size_t keep = std::min(n, copy.size() - static_cast<std::size_t>(size));
            std::memcpy(copy.data() + size, block.data(), keep);
        }
        crc = crc32(crc, block.data(), static_cast<uInt>(n));
        size += n;
        if (n < block.size()) break;
    }
    CloseDescriptor(fd);
    entry.size = static_cast<uint32_t>(std::min<uint64_t>(size, kFileMissing - 1));
    entry.hash = crc;
}

} // namespace

uint64_t HashBytes(std::span<const uint8_t> bytes) {
    // Four lanes of FNV over 64-bit little-endian words, so a page hashes at
    // memory speed.
    uint64_t a = kHashStart, b = kHashStart + 1, c = kHashStart + 2, d = kHashStart + 3;
    const uint8_t *p = bytes.data();
    std::size_t i = 0;
    for (; i + 32 <= bytes.size(); i += 32) {
        a = (a ^ Word(p + i)) * kHashPrime;
        b = (b ^ Word(p + i + 8)) * kHashPrime;
        c = (c ^ Word(p + i + 16)) * kHashPrime;
        d = (d ^ Word(p + i + 24)) * kHashPrime;
    }
    uint64_t h = kHashStart ^ bytes.size();
    for (; i < bytes.size(); ++i)
        h = (h ^ bytes[i]) * kHashPrime;
    for (uint64_t l : {a, b, c, d})
        h = (h ^ l ^ (l >> 29)) * kHashPrime;
    return h ^ (h >> 32);
}

uint32_t Crc32(std::span<const uint8_t> bytes) {
    return static_cast<uint32_t>(
        crc32(crc32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

void DescribeFiles(ReplayHeader &header) {
    std::size_t i = 0;
    for (const char *name : kShippedFiles)
        DescribeFile(name, header.files[i++], {});
    for (std::size_t c = 0; c < kCarriedFiles.size(); ++c) {
        header.carried[c].fill(0);
        DescribeFile(kCarriedFiles[c], header.files[i++], header.carried[c]);
    }
}

const char *ChangedShippedFile(const ReplayHeader &header) {
    for (std::size_t i = 0; i < kShippedFiles.size(); ++i) {
        ReplayFileEntry now;
        DescribeFile(kShippedFiles[i], now, {});
        if (now.size != header.files[i].size || now.hash != header.files[i].hash)
            return kShippedFiles[i];
    }
    return nullptr;
}

std::size_t WriteHeader(const ReplayHeader &header, std::span<uint8_t> out) {
    Writer w{out};
    w.Bytes(kReplayMagic.data(), kReplayMagic.size());
    w.U32(kReplayFormat);
    w.U32(0); // the body's length, filled in below
    w.Text(header.version.data(), header.version.size());
    w.U32(static_cast<uint32_t>(header.depth));
    w.U32(static_cast<uint32_t>(header.screenFlags));
    w.U32(header.screenOpened ? 1 : 0);
    w.U32(static_cast<uint32_t>(header.files.size()));
    for (std::size_t i = 0; i < header.files.size(); ++i) {
        const ReplayFileEntry &f = header.files[i];
        w.Text(f.name.data(), f.name.size());
        w.U32(f.size);
        w.U64(f.hash);
        if (i >= kShippedFiles.size() && f.size != kFileMissing)
            w.Bytes(header.carried[i - kShippedFiles.size()].data(),
                    std::min<std::size_t>(f.size, kMaxCarriedBytes));
    }
    if (!w.ok || w.pos + 4 > out.size()) return 0;
    Store32(out.data() + 12, static_cast<uint32_t>(w.pos - kReplayPrefixBytes));
    w.U32(Crc32(out.first(w.pos)));
    return w.pos;
}

std::size_t HeaderLength(std::span<const uint8_t> prefix) {
    if (prefix.size() < kReplayPrefixBytes ||
        !std::equal(kReplayMagic.begin(), kReplayMagic.end(), prefix.begin()))
        return 0;
    return kReplayPrefixBytes +
           std::min<std::size_t>(Load32(prefix.data() + 12), kMaxHeaderBody + 1) + 4;
}

HeaderResult ReadHeader(std::span<const uint8_t> in, ReplayHeader &header, std::size_t &used) {
    used = 0;
    if (in.empty()) return HeaderResult::Empty;
    // A start of the magic alone is a header cut short.
    const std::size_t magicSeen = std::min(in.size(), kReplayMagic.size());
    if (!std::equal(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(magicSeen),
                    kReplayMagic.begin()))
        return HeaderResult::NotReplay;
    if (in.size() < kReplayPrefixBytes) return HeaderResult::Cut;
    header.format = Load32(in.data() + 8);
    if (header.format > kReplayFormat) return HeaderResult::Newer;
    if (header.format == 0) return HeaderResult::Damaged;
    const uint32_t bodyLength = Load32(in.data() + 12);
    if (bodyLength > kMaxHeaderBody) return HeaderResult::Damaged;
    const std::size_t total = kReplayPrefixBytes + bodyLength + 4;
    if (in.size() < total) return HeaderResult::Cut;
    if (Crc32(in.first(total - 4)) != Load32(in.data() + total - 4)) return HeaderResult::Damaged;

    Reader r{in.first(total - 4), kReplayPrefixBytes};
    header.version.fill(0);
    r.Text(header.version.data(), header.version.size());
    header.depth = static_cast<int32_t>(r.U32());
    header.screenFlags = static_cast<int32_t>(r.U32());
    header.screenOpened = r.U32() != 0;
    if (r.U32() != header.files.size()) return HeaderResult::Damaged;
    for (std::size_t i = 0; i < header.files.size() && r.ok; ++i) {
        ReplayFileEntry &f = header.files[i];
        f.name.fill(0);
        r.Text(f.name.data(), f.name.size());
        f.size = r.U32();
        f.hash = r.U64();
        const char *expected =
            i < kShippedFiles.size() ? kShippedFiles[i] : kCarriedFiles[i - kShippedFiles.size()];
        if (std::strcmp(f.name.data(), expected) != 0) return HeaderResult::Damaged;
        if (i >= kShippedFiles.size() && f.size != kFileMissing) {
            const std::size_t n = std::min<std::size_t>(f.size, kMaxCarriedBytes);
            auto &copy = header.carried[i - kShippedFiles.size()];
            copy.fill(0);
            if (const uint8_t *p = r.Take(n)) std::memcpy(copy.data(), p, n);
        }
    }
    if (!r.ok || r.pos != total - 4) return HeaderResult::Damaged;
    used = total;
    return HeaderResult::Ok;
}

void WriteChunkHeader(std::span<const uint8_t> payload, uint32_t flags,
                      std::span<uint8_t, kChunkHeaderBytes> out) {
    Store32(out.data(), static_cast<uint32_t>(payload.size()));
    Store32(out.data() + 4, flags);
    Store32(out.data() + 8, Crc32(payload));
    Store32(out.data() + 12, Crc32(out.first(12)));
}

bool ReadChunkHeader(std::span<const uint8_t, kChunkHeaderBytes> in, ChunkInfo &chunk) {
    if (Crc32(in.first(12)) != Load32(in.data() + 12)) return false;
    chunk.length = Load32(in.data());
    chunk.flags = Load32(in.data() + 4);
    chunk.payloadCrc = Load32(in.data() + 8);
    return chunk.length <= kMaxChunkBytes && (chunk.flags & ~kChunkLast) == 0;
}

bool PayloadIntact(std::span<const uint8_t> payload, const ChunkInfo &chunk) {
    return payload.size() == chunk.length && Crc32(payload) == chunk.payloadCrc;
}

} // namespace halvane
