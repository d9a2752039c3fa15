// replay_play.cpp -- playing a recording back. The whole file is checked
// before the first page (header, the shipped files, every chunk's checksum),
// so a damaged file is refused at once; then the events are unpacked a chunk
// at a time into a fixed buffer and handed to the operations the game calls.
// In the window each wait keeps the recorded pace and Esc ends the replay.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "platform/display.h"
#include "platform/file_io.h"
#include "platform/input.h"
#include "platform/replay.h"
#include "platform/replay_file.h"
#include "platform/replay_sides.h"

namespace halvane {

namespace {

// A gap in the recorded time longer than this (the machine slept) and a lag
// behind it longer than this (a slow page) start the pace afresh.
constexpr double kLongestPausedGap = 1.0;
constexpr double kLongestLag = 0.25;
constexpr double kPaceSliceMs = 20.0;
// More events than any run makes: the file is damaged (and would never end).
constexpr uint64_t kMaxEvents = 1ULL << 34;

bool Active = false;
bool Headless = false;
bool Check = false;
bool Ending = false;       // the player itself is ending the program
bool InsidePlayer = false; // the player pumps the window: a close is the viewer's
int Fd = -1;
std::array<char, 256> FileName{};
ReplayHeader Header;
EventReader Reader;
uint64_t Frames = 0;
uint64_t Events = 0;
uint64_t HashesChecked = 0;
bool HavePeek = false;
ReplayRecord Peeked;
bool Paced = false;
double PaceOffset = 0.0;

std::array<uint8_t, kMaxHeaderBody + 64> HeaderBytes;
std::array<uint8_t, kMaxChunkBytes> Chunk;
std::array<uint8_t, 128 * 1024> Raw;
std::size_t RawStart = 0;
std::size_t RawEnd = 0;
bool StreamEnded = false;

z_stream Inflater{};
alignas(16) std::array<uint8_t, 64 * 1024> ArenaBlock;
ZlibArena Arena{ArenaBlock};

void SayFile(const char *what) {
    std::fprintf(stderr, "halvane: %s %s\n", FileName.data(), what);
}

[[noreturn]] void End(int code) {
    Ending = true;
    EndProgram(code);
}

[[noreturn]] void Damaged(const char *what) {
    std::fprintf(stderr, "halvane: %s is damaged at frame %" PRIu64 ": %s\n", FileName.data(),
                 Frames, what);
    End(1);
}

[[noreturn]] void CutShort() {
    std::fprintf(stderr,
                 "halvane: the recording %s ends at frame %" PRIu64
                 " without its end (cut short); replayed up to there\n",
                 FileName.data(), Frames);
    PrintRunSummary("replay", Frames);
    End(0);
}

[[noreturn]] void Complete() {
    PrintRunSummary("replay", Frames);
    if (Check)
        std::printf("replay: %" PRIu64 " page hashes compared, no difference\n", HashesChecked);
    std::fflush(stdout);
    End(0);
}

void ComparePage(uint64_t recorded) {
    if (!Check) return;
    ++HashesChecked;
    const uint64_t now = VisiblePageHash();
    if (now == recorded) return;
    std::fprintf(stderr,
                 "halvane: the replay differs from the recording at frame %" PRIu64
                 ": page hash %016" PRIx64 ", recorded %016" PRIx64 "\n",
                 Frames, now, recorded);
    End(1);
}

// Reads `count` bytes or fewer at the end of the file.
std::size_t ReadUpTo(uint8_t *to, std::size_t count) {
    const long long got = ReadBytes(Fd, to, count);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool RestIsZero() {
    std::array<uint8_t, 4096> block;
    for (;;) {
        const std::size_t n = ReadUpTo(block.data(), block.size());
        if (n == 0) return true;
        for (std::size_t i = 0; i < n; ++i)
            if (block[i] != 0) return false;
    }
}

enum class Scan { Whole, Cut, Damaged };

// Walks every chunk once. A file that ends inside a chunk, or in zeros where
// a chunk should start (what a power cut leaves), is cut short.
Scan ScanChunks(uint64_t &damagedAt) {
    uint64_t offset = lseek(Fd, 0, SEEK_CUR);
    for (;;) {
        std::array<uint8_t, kChunkHeaderBytes> head;
        const std::size_t got = ReadUpTo(head.data(), head.size());
        if (got == 0) return Scan::Cut;
        // A chunk's header cut off by the end of the file.
        if (got < head.size()) return Scan::Cut;
        ChunkInfo chunk;
        if (!ReadChunkHeader(head, chunk)) {
            const bool zeros =
                std::all_of(head.begin(), head.end(), [](uint8_t b) { return b == 0; });
            if (zeros && RestIsZero()) return Scan::Cut;
            damagedAt = offset;
            return Scan::Damaged;
        }
        const std::size_t payload = ReadUpTo(Chunk.data(), chunk.length);
        if (payload < chunk.length) return Scan::Cut;
        if (!PayloadIntact(std::span<const uint8_t>(Chunk.data(), payload), chunk)) {
            damagedAt = offset;
            return Scan::Damaged;
        }
        offset += kChunkHeaderBytes + payload;
        if ((chunk.flags & kChunkLast) != 0) {
            uint8_t extra;
            if (ReadUpTo(&extra, 1) == 0) return Scan::Whole;
            damagedAt = offset;
            return Scan::Damaged;
        }
    }
}

// The next chunk's payload into the inflater; false at the end of the file.
bool NextChunk() {
    std::array<uint8_t, kChunkHeaderBytes> head;
    if (ReadUpTo(head.data(), head.size()) < head.size()) return false;
    ChunkInfo chunk;
    if (!ReadChunkHeader(head, chunk)) return false; // zeros after a power cut
    const std::size_t payload = ReadUpTo(Chunk.data(), chunk.length);
    if (payload < chunk.length) return false;
    if (!PayloadIntact(std::span<const uint8_t>(Chunk.data(), payload), chunk))
        Damaged("a chunk fails its checksum");
    Inflater.next_in = Chunk.data();
    Inflater.avail_in = static_cast<uInt>(payload);
    return true;
}

// Unpacks more events behind the unread ones; false when there are no more.
bool Refill() {
    std::memmove(Raw.data(), Raw.data() + RawStart, RawEnd - RawStart);
    RawEnd -= RawStart;
    RawStart = 0;
    while (!StreamEnded) {
        if (Inflater.avail_in == 0 && !NextChunk()) return false;
        Inflater.next_out = Raw.data() + RawEnd;
        Inflater.avail_out = static_cast<uInt>(Raw.size() - RawEnd);
        const int z = inflate(&Inflater, Z_SYNC_FLUSH);
        const std::size_t produced = Raw.size() - RawEnd - Inflater.avail_out;
        RawEnd += produced;
        if (z == Z_STREAM_END)
            StreamEnded = true;
        else if (z != Z_OK && z != Z_BUF_ERROR)
            Damaged("its events do not unpack");
        if (produced > 0) return true;
        if (z == Z_BUF_ERROR && Inflater.avail_in > 0) Damaged("its events do not unpack");
    }
    return false;
}

// The next event; false at the end of what was recorded.
bool Pull(ReplayRecord &event) {
    for (;;) {
        std::size_t used = 0;
        const ReadResult r =
            ReadEvent(Reader, std::span<const uint8_t>(Raw.data() + RawStart, RawEnd - RawStart),
                      used, event);
        if (r == ReadResult::Event) {
            RawStart += used;
            if (++Events > kMaxEvents) Damaged("more events than any run makes");
            return true;
        }
        if (r == ReadResult::Damaged) Damaged("an event it cannot read");
        if (!Refill()) return false;
    }
}

bool Peek(ReplayRecord *&event) {
    if (!HavePeek && !Pull(Peeked)) return false;
    HavePeek = true;
    event = &Peeked;
    return true;
}

ReplayRecord Take() {
    ReplayRecord event;
    if (HavePeek) {
        HavePeek = false;
        return Peeked;
    }
    if (!Pull(event)) CutShort();
    return event;
}

[[noreturn]] void WentAnotherWay(ReplayEvent want, int arg, const ReplayRecord &found) {
    std::fprintf(stderr,
                 "halvane: the replay goes another way at frame %" PRIu64
                 ": the game asks for %s(%d), the recording holds %s(%d)\n",
                 Frames, EventName(want), arg, EventName(found.kind), found.arg);
    End(1);
}

// The recorded program ended here (the game quit, the window was closed, a
// signal came): the last page hash, then the end.
[[noreturn]] void RecordedEnd(const ReplayRecord &hash) {
    ComparePage(hash.hash);
    const ReplayRecord end = Take();
    if (end.kind != ReplayEvent::End) Damaged("events after its last page");
    Complete();
}

ReplayRecord Next(ReplayEvent want, int arg) {
    const ReplayRecord event = Take();
    if (event.kind == ReplayEvent::PageHash) RecordedEnd(event);
    if (event.kind == ReplayEvent::End) Complete();
    const bool argMatters = want == ReplayEvent::KeyDown || want == ReplayEvent::Sleep;
    if (event.kind != want || (argMatters && event.arg != arg)) WentAnotherWay(want, arg, event);
    return event;
}

void CheckViewer() {
    if (!DeviceInput().keys[kKeyEsc]) return;
    std::fprintf(stderr, "halvane: replay stopped (Esc) at frame %" PRIu64 "\n", Frames);
    PrintRunSummary("replay", Frames);
    End(0);
}

// Keeps the window at the recorded pace: sleeps until the recorded moment,
// servicing the window, and watches for Esc.
void PaceTo(int64_t micros) {
    if (Headless) return;
    InsidePlayer = true;
    DisplayPump();
    const double recorded = FromMicros(micros);
    double now = DisplayClock();
    double ahead = recorded + PaceOffset - now;
    if (!Paced || ahead > kLongestPausedGap || ahead < -kLongestLag) {
        Paced = true;
        PaceOffset = now - recorded;
        ahead = 0;
    }
    while (ahead > 0) {
        DisplaySleep(std::min(ahead * 1000.0, kPaceSliceMs));
        CheckViewer();
        ahead = recorded + PaceOffset - DisplayClock();
    }
    CheckViewer();
    InsidePlayer = false;
}

// Closes the file after its one line on stderr.
void Refuse(const char *what) {
    if (what != nullptr) SayFile(what);
    if (Fd >= 0) CloseDescriptor(Fd);
    Fd = -1;
}

} // namespace

bool StartReplay(const char *fileName, const char *programVersion, bool headless, bool check) {
    if (Active || Recording()) return false;
    std::snprintf(FileName.data(), FileName.size(), "%s", fileName);
    // The name is the player's, as typed: not mapped like the game's files.
    Fd = open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) {
        std::fprintf(stderr, "halvane: cannot open the replay %s: %s\n", fileName,
                     std::strerror(errno));
        return false;
    }
    struct stat info {};
    if (fstat(Fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        Refuse("is not a plain file: not a replay");
        return false;
    }
    fcntl(Fd, F_SETFL, fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
    // The header: its first bytes say how long it is.
    std::size_t got = ReadUpTo(HeaderBytes.data(), kReplayPrefixBytes);
    const std::size_t length = HeaderLength(std::span<const uint8_t>(HeaderBytes.data(), got));
    if (length > kReplayPrefixBytes && length <= HeaderBytes.size())
        got += ReadUpTo(HeaderBytes.data() + got, length - got);
    std::size_t used = 0;
    switch (ReadHeader(std::span<const uint8_t>(HeaderBytes.data(), got), Header, used)) {
    case HeaderResult::Ok:
        break;
    case HeaderResult::Empty:
        Refuse("is empty: not a replay");
        return false;
    case HeaderResult::NotReplay:
        Refuse("is not a Halvane replay");
        return false;
    case HeaderResult::Newer:
        std::fprintf(stderr,
                     "halvane: %s is a replay of format %u, newer than this program reads (up "
                     "to %u)\n",
                     fileName, Header.format, kReplayFormat);
        Refuse(nullptr);
        return false;
    case HeaderResult::Cut:
        Refuse("is cut short inside its header: nothing to replay");
        return false;
    case HeaderResult::Damaged:
        Refuse("is damaged: its header fails its checksum");
        return false;
    }
    if (const char *changed = ChangedShippedFile(Header)) {
        std::fprintf(stderr,
                     "halvane: %s was recorded with a different %s; the replay needs the game "
                     "files it was recorded with\n",
                     fileName, changed);
        Refuse(nullptr);
        return false;
    }
    uint64_t damagedAt = 0;
    const Scan scan = ScanChunks(damagedAt);
    if (scan == Scan::Damaged) {
        std::fprintf(stderr,
                     "halvane: %s is damaged at byte %" PRIu64 " (a chunk fails its checksum)\n",
                     fileName, damagedAt);
        Refuse(nullptr);
        return false;
    }
    if (std::strcmp(Header.version.data(), programVersion) != 0)
        std::fprintf(stderr, "halvane: note: %s was recorded by version %s, this is %s\n", fileName,
                     Header.version.data(), programVersion);
    lseek(Fd, static_cast<off_t>(used), SEEK_SET);
    Inflater = z_stream{};
    Inflater.zalloc = ArenaAlloc;
    Inflater.zfree = ArenaFree;
    Inflater.opaque = &Arena;
    if (inflateInit(&Inflater) != Z_OK) {
        Refuse("cannot be unpacked (no memory)");
        return false;
    }
    Active = true;
    Headless = headless;
    Check = check;
    EnterReplayMode(false, true, headless);
    CarryHeaderFiles(Header);
    UseReplayInput();
    return true;
}

bool PlayKeyDown(int scanCode) {
    return Next(ReplayEvent::KeyDown, scanCode).answer;
}

bool PlayMouse(int32_t &x, int32_t &y, int32_t &wheel, int32_t &buttons) {
    const ReplayRecord e = Next(ReplayEvent::Mouse, 0);
    x = e.x;
    y = e.y;
    wheel = e.wheel;
    buttons = e.buttons;
    return e.answer;
}

double PlayClock() {
    const ReplayRecord e = Next(ReplayEvent::Clock, 0);
    PaceTo(e.micros);
    return FromMicros(e.micros);
}

double PlayWait(ReplayEvent kind, int arg) {
    const ReplayRecord e = Next(kind, arg);
    PaceTo(e.micros);
    return FromMicros(e.micros);
}

bool PlayScreenOpen(int &depth) {
    depth = Header.depth;
    return Header.screenOpened;
}

int32_t PlayScreenshot() {
    return Next(ReplayEvent::Screenshot, 0).arg;
}

void PlayPresent() {
    if (!Active) return;
    ++Frames;
    NoteGameScore();
    ReplayRecord *next = nullptr;
    while (Peek(next) && next->kind == ReplayEvent::PageHash) {
        HavePeek = false;
        ComparePage(next->hash);
        // The hash kept when the recorded program ended right after this page.
        ReplayRecord *after = nullptr;
        if (Peek(after) && after->kind == ReplayEvent::End) Complete();
    }
}

int FinishPlaying(int code) {
    if (!Active || Ending) return code;
    // The viewer closed the window or a signal came while the player waited.
    if (InsidePlayer) {
        Ending = true;
        std::fprintf(stderr, "halvane: replay stopped at frame %" PRIu64 "\n", Frames);
        PrintRunSummary("replay", Frames);
        return 0;
    }
    // The game itself ends the program: the recording must end here too.
    const ReplayRecord event = Take();
    if (event.kind == ReplayEvent::PageHash) RecordedEnd(event);
    if (event.kind != ReplayEvent::End) WentAnotherWay(ReplayEvent::End, code, event);
    Complete();
}

} // namespace halvane
