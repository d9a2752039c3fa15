// Any bytes as a replay: its header, its chunks and the events unpacked from
// them read as the player reads them, and the same bytes read as events
// directly (past the checksums, which the fuzzer seldom gets right). Nothing
// may crash, and reading always ends.
#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <span>

#include "fuzz_input.h"
#include "platform/replay_codec.h"
#include "platform/replay_file.h"

using namespace halvane;

namespace {

// Events enough for any seed; a run may hold millions, read one by one.
constexpr int kMostEvents = 200000;

struct EventFeed {
    EventReader reader;
    std::array<uint8_t, 256 * 1024> bytes;
    std::size_t held = 0;
    int events = 0;
    bool stopped = false;

    // Appends bytes and reads every whole event in them.
    void Add(std::span<const uint8_t> more) {
        if (stopped) return;
        const std::size_t n = std::min(more.size(), bytes.size() - held);
        std::memcpy(bytes.data() + held, more.data(), n);
        held += n;
        std::size_t pos = 0;
        while (events < kMostEvents) {
            std::size_t used = 0;
            ReplayRecord event;
            const ReadResult r = ReadEvent(
                reader, std::span<const uint8_t>(bytes.data() + pos, held - pos), used, event);
            if (r == ReadResult::Damaged) {
                stopped = true;
                return;
            }
            if (r == ReadResult::NeedMore) break;
            FuzzCheck(used <= held - pos, "an event took more bytes than it was given");
            pos += used;
            ++events;
        }
        std::memmove(bytes.data(), bytes.data() + pos, held - pos);
        held -= pos;
        if (events >= kMostEvents || held == bytes.size()) stopped = true;
    }
};

EventFeed Direct;
EventFeed Unpacked;
std::array<uint8_t, 64 * 1024> Out;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::span<const uint8_t> in(data, size);
    Direct = EventFeed{};
    Direct.Add(in);

    ReplayHeader header;
    std::size_t used = 0;
    if (ReadHeader(in, header, used) != HeaderResult::Ok) return 0;
    FuzzCheck(used <= size && HeaderLength(in) == used, "the header's length is wrong");
    z_stream inflater{};
    if (inflateInit(&inflater) != Z_OK) return 0;
    Unpacked = EventFeed{};
    std::size_t pos = used;
    bool ended = false;
    while (!ended && !Unpacked.stopped && size - pos >= kChunkHeaderBytes) {
        ChunkInfo chunk;
        if (!ReadChunkHeader(in.subspan(pos).first<kChunkHeaderBytes>(), chunk)) break;
        pos += kChunkHeaderBytes;
        if (chunk.length > size - pos) break;
        const std::span<const uint8_t> payload = in.subspan(pos, chunk.length);
        pos += chunk.length;
        if (!PayloadIntact(payload, chunk)) break;
        inflater.next_in = const_cast<Bytef *>(payload.data());
        inflater.avail_in = static_cast<uInt>(payload.size());
        do {
            inflater.next_out = Out.data();
            inflater.avail_out = static_cast<uInt>(Out.size());
            const int z = inflate(&inflater, Z_SYNC_FLUSH);
            Unpacked.Add(std::span<const uint8_t>(Out.data(), Out.size() - inflater.avail_out));
            if (z == Z_STREAM_END) ended = true;
            if (z != Z_OK) break;
        } while (inflater.avail_out == 0 && !Unpacked.stopped);
    }
    inflateEnd(&inflater);
    return 0;
}
