// replay_record.cpp -- writing a recording as the game goes. Events gather in
// a fixed buffer; at least once a second (and when the buffer fills) they are
// compressed onto the one deflate stream and written as a chunk, and a
// thread of its own asks the disk to keep the file, so that a run ended by
// SIGKILL or a power cut still replays up to its last chunk. Nothing here
// allocates once the recording has started.
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/file_io.h"
#include "platform/replay.h"
#include "platform/replay_file.h"
#include "platform/replay_sides.h"
#include "platform/screen.h"

namespace halvane {

namespace {

using Steady = std::chrono::steady_clock;

constexpr auto kFlushInterval = std::chrono::milliseconds(500);
constexpr int kHashEveryFrames = 16;
constexpr uint32_t kEventsBetweenClockLooks = 256;

bool Active = false;
int Fd = -1;
std::array<char, 256> FileName{};
bool HeaderWritten = false;
ReplayHeader Header;
EventWriter Writer;
uint64_t Frames = 0;
Steady::time_point LastFlush;
uint32_t EventsSinceLook = 0;

std::array<uint8_t, 64 * 1024> Raw;
std::size_t RawUsed = 0;
std::array<uint8_t, kChunkHeaderBytes + 96 * 1024> Out;
std::array<uint8_t, kMaxHeaderBody + 64> HeaderBytes;

z_stream Deflater{};
alignas(16) std::array<uint8_t, 384 * 1024> ArenaBlock;
ZlibArena Arena{ArenaBlock};

// The thread that makes the disk keep what was written.
std::thread Syncer;
std::mutex SyncMutex;
std::condition_variable SyncWake;
bool SyncStop = false;

void SyncLoop() {
    std::unique_lock<std::mutex> lock(SyncMutex);
    while (!SyncStop) {
        SyncWake.wait_for(lock, std::chrono::seconds(1));
        if (Fd >= 0) fdatasync(Fd);
    }
}

// A recording that cannot be written stops; the game goes on.
void Stop(const char *why) {
    std::fprintf(stderr, "halvane: the recording %s stopped: %s (%s)\n", FileName.data(), why,
                 std::strerror(errno));
    Active = false;
}

bool Write(const uint8_t *bytes, std::size_t count) {
    if (WriteBytes(Fd, bytes, count)) return true;
    Stop("cannot write to it");
    return false;
}

void WriteHeaderOnce() {
    if (HeaderWritten) return;
    HeaderWritten = true;
    const std::size_t n = WriteHeader(Header, HeaderBytes);
    if (n == 0) {
        Stop("its header does not fit");
        return;
    }
    Write(HeaderBytes.data(), n);
}

// Compresses what gathered and writes it as one chunk; `last` ends the stream.
void Flush(bool last) {
    LastFlush = Steady::now();
    if (!Active) return;
    RawUsed += EndRun(Writer, std::span(Raw).subspan(RawUsed));
    WriteHeaderOnce();
    if (!Active || (RawUsed == 0 && !last)) return;
    Deflater.next_in = Raw.data();
    Deflater.avail_in = static_cast<uInt>(RawUsed);
    Deflater.next_out = Out.data() + kChunkHeaderBytes;
    Deflater.avail_out = static_cast<uInt>(Out.size() - kChunkHeaderBytes);
    const int z = deflate(&Deflater, last ? Z_FINISH : Z_SYNC_FLUSH);
    RawUsed = 0;
    if (z != Z_OK && z != Z_STREAM_END) {
        errno = 0;
        Stop("the compression failed");
        return;
    }
    const std::size_t payload = Out.size() - kChunkHeaderBytes - Deflater.avail_out;
    WriteChunkHeader(std::span<const uint8_t>(Out.data() + kChunkHeaderBytes, payload),
                     last ? kChunkLast : 0, std::span(Out).first<kChunkHeaderBytes>());
    Write(Out.data(), kChunkHeaderBytes + payload);
}

void Add(const ReplayRecord &event) {
    if (!Active) return;
    if (Raw.size() - RawUsed < 2 * kMaxEventBytes) Flush(false);
    RawUsed += WriteEvent(Writer, event, std::span(Raw).subspan(RawUsed));
    // A busy wait may go on for seconds without a page; it is flushed too.
    if (++EventsSinceLook >= kEventsBetweenClockLooks) {
        EventsSinceLook = 0;
        if (Steady::now() - LastFlush >= kFlushInterval) Flush(false);
    }
}

ReplayRecord Timed(ReplayEvent kind, int arg, int64_t micros) {
    ReplayRecord e;
    e.kind = kind;
    e.arg = arg;
    e.micros = micros;
    return e;
}

// A program ended without EndProgram (the X server went away and Xlib
// exited): the events so far are written, the file ends cut short, and the
// syncing thread is stopped before the program's statics go.
void FinishAtExit() {
    if (Fd < 0) return;
    Flush(false);
    {
        std::lock_guard<std::mutex> lock(SyncMutex);
        SyncStop = true;
    }
    SyncWake.notify_all();
    if (Syncer.joinable()) Syncer.join();
    fdatasync(Fd);
    CloseDescriptor(Fd);
    Fd = -1;
}

} // namespace

void *ArenaAlloc(void *opaque, unsigned items, unsigned size) {
    auto *arena = static_cast<ZlibArena *>(opaque);
    const std::size_t bytes = (static_cast<std::size_t>(items) * size + 15) & ~std::size_t{15};
    if (bytes > arena->block.size() - arena->used) return Z_NULL;
    void *p = arena->block.data() + arena->used;
    arena->used += bytes;
    return p;
}

void ArenaFree(void *, void *) {
    // The block lives as long as the program.
}

bool StartRecording(const char *fileName, const char *programVersion) {
    if (Active || Replaying()) return false;
    std::snprintf(FileName.data(), FileName.size(), "%s", fileName);
    // The name is the player's, as typed: not one of the game's own files,
    // so it is not mapped to where those live.
    Fd = open(fileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (Fd < 0) {
        std::fprintf(stderr, "halvane: cannot create the recording %s: %s\n", fileName,
                     std::strerror(errno));
        return false;
    }
    Header = ReplayHeader{};
    std::snprintf(Header.version.data(), Header.version.size(), "%s", programVersion);
    DescribeFiles(Header);
    Deflater = z_stream{};
    Deflater.zalloc = ArenaAlloc;
    Deflater.zfree = ArenaFree;
    Deflater.opaque = &Arena;
    if (deflateInit(&Deflater, Z_BEST_COMPRESSION) != Z_OK) {
        std::fprintf(stderr, "halvane: cannot start compressing the recording\n");
        CloseDescriptor(Fd);
        Fd = -1;
        return false;
    }
    Active = true;
    EnterReplayMode(true, false, false);
    CarryHeaderFiles(Header);
    HeaderWritten = false;
    Writer = EventWriter{};
    RawUsed = 0;
    Frames = 0;
    LastFlush = Steady::now();
    SyncStop = false;
    Syncer = std::thread(SyncLoop);
    std::atexit(FinishAtExit);
    return true;
}

void RecordKeyDown(int scanCode, bool down) {
    ReplayRecord e;
    e.kind = ReplayEvent::KeyDown;
    e.arg = scanCode;
    e.answer = down;
    Add(e);
}

void RecordMouse(bool read, int32_t x, int32_t y, int32_t wheel, int32_t buttons) {
    ReplayRecord e;
    e.kind = ReplayEvent::Mouse;
    e.answer = read;
    e.x = x;
    e.y = y;
    e.wheel = wheel;
    e.buttons = buttons;
    Add(e);
}

double RecordClock(double seconds) {
    return RecordWait(ReplayEvent::Clock, 0, seconds);
}

double RecordWait(ReplayEvent kind, int arg, double seconds) {
    const int64_t micros = ToMicros(seconds);
    Add(Timed(kind, arg, micros));
    return FromMicros(micros);
}

void RecordScreenOpen(int depth, int flags, bool opened) {
    if (!Active || HeaderWritten) return;
    Header.depth = depth;
    Header.screenFlags = flags;
    Header.screenOpened = opened;
    WriteHeaderOnce();
}

void RecordScreenshot(int32_t number) {
    ReplayRecord e;
    e.kind = ReplayEvent::Screenshot;
    e.arg = number;
    Add(e);
}

void FlushRecording() {
    Flush(false);
}

void RecordPresent() {
    if (!Active) return;
    ++Frames;
    NoteGameScore();
    if (Frames % kHashEveryFrames == 0) {
        ReplayRecord e;
        e.kind = ReplayEvent::PageHash;
        e.hash = VisiblePageHash();
        Add(e);
    }
    if (Steady::now() - LastFlush >= kFlushInterval) Flush(false);
}

int FinishRecording(int code) {
    if (Fd < 0) return code;
    if (Active) {
        ReplayRecord hash;
        hash.kind = ReplayEvent::PageHash;
        hash.hash = VisiblePageHash();
        Add(hash);
        ReplayRecord end;
        end.kind = ReplayEvent::End;
        end.arg = code;
        Add(end);
        Flush(true);
        PrintRunSummary("record", Frames);
    }
    Active = false;
    FinishAtExit();
    return code;
}

} // namespace halvane
