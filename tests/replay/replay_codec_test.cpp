// The coding of replay events and of the file's header: what goes in comes
// back, busy waits fold into a few bytes, and hostile bytes are refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/replay_codec.h"
#include "platform/replay_file.h"

namespace halvane {
namespace {

using Events = std::vector<ReplayRecord>;

ReplayRecord Key(int code, bool down) {
    ReplayRecord e;
    e.kind = ReplayEvent::KeyDown;
    e.arg = code;
    e.answer = down;
    return e;
}
ReplayRecord Timed(ReplayEvent kind, int64_t micros, int arg = 0) {
    ReplayRecord e;
    e.kind = kind;
    e.micros = micros;
    e.arg = arg;
    return e;
}
ReplayRecord Mouse(bool read, int x, int y, int wheel, int buttons) {
    ReplayRecord e;
    e.kind = ReplayEvent::Mouse;
    e.answer = read;
    e.x = x, e.y = y, e.wheel = wheel, e.buttons = buttons;
    return e;
}
ReplayRecord Other(ReplayEvent kind, int arg, uint64_t hash = 0) {
    ReplayRecord e;
    e.kind = kind;
    e.arg = arg;
    e.hash = hash;
    return e;
}

std::vector<uint8_t> Write(const Events &events) {
    EventWriter writer;
    std::vector<uint8_t> bytes;
    std::array<uint8_t, 2 * kMaxEventBytes> out;
    for (const ReplayRecord &e : events) {
        const std::size_t n = WriteEvent(writer, e, out);
        bytes.insert(bytes.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
    }
    const std::size_t n = EndRun(writer, out);
    bytes.insert(bytes.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
    return bytes;
}

// Reads every event; stops at the first NeedMore or Damaged, which it returns.
ReadResult Read(const std::vector<uint8_t> &bytes, Events &events, std::size_t limit = 1u << 22) {
    EventReader reader;
    std::size_t pos = 0;
    while (events.size() < limit) {
        std::size_t used = 0;
        ReplayRecord e;
        const ReadResult r =
            ReadEvent(reader, std::span<const uint8_t>(bytes).subspan(pos), used, e);
        if (r != ReadResult::Event) return r;
        pos += used;
        events.push_back(e);
    }
    return ReadResult::Event;
}

std::string Text(const ReplayRecord &e) {
    return std::string(EventName(e.kind)) + " " + std::to_string(e.arg) + " " +
           std::to_string(e.answer) + " " + std::to_string(e.x) + "," + std::to_string(e.y) + "," +
           std::to_string(e.wheel) + "," + std::to_string(e.buttons) + " " +
           std::to_string(e.micros) + " " + std::to_string(e.hash);
}

void ExpectSame(const Events &a, const Events &b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_EQ(Text(a[i]), Text(b[i])) << "event " << i;
}

Events Repeat(const Events &pattern, int times) {
    Events all;
    for (int i = 0; i < times; ++i)
        all.insert(all.end(), pattern.begin(), pattern.end());
    return all;
}

TEST(ReplayCodec, EventsComeBackAsTheyWentInAndBusyWaitsFoldAway) {
    const Events frame{Timed(ReplayEvent::Clock, 1000000022),
                       Mouse(true, 300, 200, 0, 0),
                       Key(28, false),
                       Key(57, true),
                       Key(72, false),
                       Mouse(true, 301, 180, 0, 4),
                       Timed(ReplayEvent::WaitFrame, 1000022222)};
    struct Case {
        const char *what;
        Events events;
        std::size_t maxBytes; // what the coding may take at most
    };
    const std::vector<Case> cases{
        {"one of each",
         {Key(0, true), Key(127, false), Key(-1, false), Key(200, false),
          Mouse(false, -1, -1, -1, -1), Mouse(true, INT32_MAX, INT32_MIN, 7, 5),
          Timed(ReplayEvent::Clock, -5), Timed(ReplayEvent::Sleep, INT64_MAX / 2, -1),
          Timed(ReplayEvent::WaitFrameTime, 3), Timed(ReplayEvent::WaitRetrace, 3),
          Timed(ReplayEvent::PresentPage, 0), Other(ReplayEvent::Screenshot, 7),
          Other(ReplayEvent::Screenshot, INT32_MIN), Other(ReplayEvent::PageHash, 0, ~0ULL),
          Other(ReplayEvent::End, 1)},
         200},
        {"S held: one poll a million times", Repeat({Key(31, true)}, 1000000), 16},
        {"a release wait: two polls alternating",
         Repeat({Key(28, true), Mouse(true, 4, 5, 0, 0)}, 50000), 24},
        {"three alternating, then a break",
         [] {
             Events e = Repeat({Key(28, false), Key(57, false), Key(1, true)}, 1000);
             e.push_back(Key(1, false));
             e.push_back(Key(28, false));
             return e;
         }(),
         32},
        {"a run cut short after one event", {Key(5, true), Key(5, true), Key(6, true)}, 12},
        {"the clock in steps of 1 us (headless)",
         [] {
             Events e;
             for (int i = 0; i < 5000; ++i)
                 e.push_back(Timed(ReplayEvent::Clock, 1000000000 + i));
             return e;
         }(),
         24},
        {"frames of play", Repeat(frame, 100), 100 * 40},
        {"page hashes and ends stand alone",
         {Other(ReplayEvent::PageHash, 0, 5), Other(ReplayEvent::PageHash, 0, 5),
          Other(ReplayEvent::End, 0), Other(ReplayEvent::End, 0)},
         40},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> bytes = Write(c.events);
        EXPECT_LE(bytes.size(), c.maxBytes);
        Events back;
        EXPECT_EQ(Read(bytes, back), ReadResult::NeedMore); // the bytes end: no more events
        ExpectSame(c.events, back);
    }
}

TEST(ReplayCodec, HostileBytesAreRefusedAndCutEventsWaitForMore) {
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
        ReadResult result;
        std::size_t eventsBefore;
    };
    const std::vector<Case> cases{
        {"tag 0", {0}, ReadResult::Damaged, 0},
        {"tag past the last", {14}, ReadResult::Damaged, 0},
        {"tag 255", {255, 1, 2}, ReadResult::Damaged, 0},
        {"a run before any event", {13, 1, 5}, ReadResult::Damaged, 0},
        {"a run of period 0", {2, 28, 13, 0, 5}, ReadResult::Damaged, 1},
        {"a run of period 5", {2, 28, 13, 5, 5}, ReadResult::Damaged, 1},
        {"a run reaching past the events seen", {2, 28, 13, 2, 5}, ReadResult::Damaged, 1},
        {"a run of no events", {2, 28, 13, 1, 0}, ReadResult::Damaged, 1},
        {"a run longer than any",
         {2, 28, 13, 1, 0x80, 0x80, 0x80, 0x80, 0x01},
         ReadResult::Damaged,
         1},
        {"an eleven-byte number",
         {4, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x01},
         ReadResult::Damaged,
         0},
        {"a tenth byte above 1",
         {4, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x02},
         ReadResult::Damaged,
         0},
        {"a key code beyond 32 bits", {2, 0x80, 0x80, 0x80, 0x80, 0x10}, ReadResult::Damaged, 0},
        {"mouse flags beyond the four fields", {3, 0x20}, ReadResult::Damaged, 0},
        {"the mouse pushed beyond 32 bits",
         {3, 0x03, 0xFE, 0xFF, 0xFF, 0xFF, 0x0F, 3, 0x03, 0xFE, 0xFF, 0xFF, 0xFF, 0x0F},
         ReadResult::Damaged,
         1},
        {"the clock pushed beyond 64 bits",
         {4, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01,
          4, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01},
         ReadResult::Damaged,
         1},
        {"a page hash cut short", {11, 1, 2, 3}, ReadResult::NeedMore, 0},
        {"a sleep cut after its length", {5, 4}, ReadResult::NeedMore, 0},
        {"a run cut inside its count", {2, 28, 13, 1, 0x80}, ReadResult::NeedMore, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Events back;
        EXPECT_EQ(Read(c.bytes, back), c.result);
        EXPECT_EQ(back.size(), c.eventsBefore);
    }
}

ReplayHeader SampleHeader() {
    ReplayHeader h;
    std::snprintf(h.version.data(), h.version.size(), "1.2.3");
    h.depth = 16;
    h.screenFlags = 1;
    h.screenOpened = true;
    for (std::size_t i = 0; i < h.files.size(); ++i) {
        const char *name =
            i < kShippedFiles.size() ? kShippedFiles[i] : kCarriedFiles[i - kShippedFiles.size()];
        std::snprintf(h.files[i].name.data(), h.files[i].name.size(), "%s", name);
        h.files[i].size = static_cast<uint32_t>(i * 1000);
        h.files[i].hash = 0x123456789ULL * i;
    }
    h.files.back().size = kFileMissing; // no best score yet
    std::snprintf(h.carried[0].data(), h.carried[0].size(), "0,0,16\r\n");
    h.files[kShippedFiles.size()].size = 8;
    return h;
}

TEST(ReplayFile, TheHeaderComesBackAndEveryCutOrFlipIsTold) {
    const ReplayHeader h = SampleHeader();
    std::vector<uint8_t> bytes(kMaxHeaderBody);
    bytes.resize(WriteHeader(h, bytes));
    ASSERT_GT(bytes.size(), 0u);
    ASSERT_EQ(HeaderLength(bytes), bytes.size());

    ReplayHeader back;
    std::size_t used = 0;
    ASSERT_EQ(ReadHeader(bytes, back, used), HeaderResult::Ok);
    EXPECT_EQ(used, bytes.size());
    EXPECT_STREQ(back.version.data(), "1.2.3");
    EXPECT_EQ(std::tuple(back.depth, back.screenFlags, back.screenOpened), std::tuple(16, 1, true));
    for (std::size_t i = 0; i < h.files.size(); ++i)
        EXPECT_EQ(
            std::tuple(std::string(back.files[i].name.data()), back.files[i].size,
                       back.files[i].hash),
            std::tuple(std::string(h.files[i].name.data()), h.files[i].size, h.files[i].hash));
    EXPECT_EQ(std::string(back.carried[0].data()), "0,0,16\r\n");

    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        const std::vector<uint8_t> part(bytes.begin(),
                                        bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        const HeaderResult r = ReadHeader(part, back, used);
        EXPECT_EQ(r, cut == 0 ? HeaderResult::Empty : HeaderResult::Cut) << "cut at " << cut;
    }
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        std::vector<uint8_t> flipped = bytes;
        flipped[at] ^= 0x40;
        const HeaderResult r = ReadHeader(flipped, back, used);
        const HeaderResult expected = at < kReplayMagic.size() ? HeaderResult::NotReplay
                                      : at == 8                ? HeaderResult::Newer
                                      : at < 12                ? HeaderResult::Newer
                                                               : HeaderResult::Damaged;
        // A body length made longer reads as a header cut short.
        if (at >= 12 && at < 16 && r == HeaderResult::Cut) continue;
        EXPECT_EQ(r, expected) << "flipped byte " << at;
    }
    EXPECT_EQ(ReadHeader(std::vector<uint8_t>{'H', 'A', 'L'}, back, used), HeaderResult::Cut);
    EXPECT_EQ(ReadHeader(std::vector<uint8_t>{'B', 'M', 0, 0}, back, used),
              HeaderResult::NotReplay);
}

TEST(ReplayFile, ChunkHeadersCatchEveryFlippedByte) {
    const std::vector<uint8_t> payload{1, 2, 3, 4, 5, 6, 7};
    std::array<uint8_t, kChunkHeaderBytes> head;
    WriteChunkHeader(payload, kChunkLast, head);
    ChunkInfo chunk;
    ASSERT_TRUE(ReadChunkHeader(head, chunk));
    EXPECT_EQ(std::tuple(chunk.length, chunk.flags), std::tuple(7u, kChunkLast));
    EXPECT_TRUE(PayloadIntact(payload, chunk));
    for (std::size_t at = 0; at < head.size(); ++at) {
        std::array<uint8_t, kChunkHeaderBytes> flipped = head;
        flipped[at] ^= 0x01;
        EXPECT_FALSE(ReadChunkHeader(flipped, chunk)) << "flipped byte " << at;
    }
    for (std::size_t at = 0; at < payload.size(); ++at) {
        std::vector<uint8_t> flipped = payload;
        flipped[at] ^= 0x80;
        ASSERT_TRUE(ReadChunkHeader(head, chunk));
        EXPECT_FALSE(PayloadIntact(flipped, chunk)) << "flipped byte " << at;
    }
}

} // namespace
} // namespace halvane
