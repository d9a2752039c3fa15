// replay_codec.h -- the events of a replay as bytes. One event per platform
// operation the game called, each answer coded against the one before it
// (times as microsecond steps, the mouse as changes), and runs of repeated
// events (the game's busy waits, which poll millions of times a second) folded
// into a count. Used by the recorder, the player and the fuzz target; touches
// nothing outside its own arguments.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace halvane {

enum class ReplayEvent : uint8_t {
    None,
    KeyDown,       // arg: scan code; answer
    Mouse,         // answer (read or not), x, y, wheel, buttons
    Clock,         // micros: the clock reading
    Sleep,         // arg: milliseconds asked; micros at its end
    WaitFrame,     // micros: LastFrameTime
    WaitFrameTime, // micros: LastFrameTime
    WaitRetrace,   // micros at its end
    PresentPage,   // micros at its end
    Screenshot,    // arg: the number of the screenshot taken
    PageHash,      // hash: of the visible page
    End,           // arg: the exit code
};

struct ReplayRecord {
    ReplayEvent kind = ReplayEvent::None;
    int32_t arg = 0;
    bool answer = false;
    int32_t x = 0, y = 0, wheel = 0, buttons = 0;
    int64_t micros = 0;
    uint64_t hash = 0;
};

// The longest coded event, and how far back a run may reach.
constexpr std::size_t kMaxEventBytes = 48;
constexpr int kMaxRunPeriod = 4;
// A run never counts more events than this; the recorder ends its runs at
// least once a second, so a longer one is a damaged file.
constexpr uint32_t kMaxRunLength = 1u << 27;

struct CodedEvent {
    std::array<uint8_t, kMaxEventBytes> bytes{};
    uint8_t size = 0;
};

// What both sides keep to code an event against the ones before it.
struct CodecState {
    int64_t micros = 0;
    bool mouseRead = true;
    std::array<int32_t, 4> mouse{}; // x, y, wheel, buttons
    int32_t screenshot = 0;
    std::array<CodedEvent, kMaxRunPeriod> recent{}; // recent[0]: the last event
};

struct EventWriter {
    CodecState state;
    int runPeriod = 0; // 0: no run going on
    uint32_t runLength = 0;
};

struct EventReader {
    CodecState state;
    int runPeriod = 0;
    uint32_t runLeft = 0; // events of the run still to give
};

// Codes `event` onto `out` (which has room for 2 * kMaxEventBytes) and returns
// the bytes written: none while the event extends a run.
std::size_t WriteEvent(EventWriter &writer, const ReplayRecord &event, std::span<uint8_t> out);
// Writes the run going on, if any (before each flush of the file).
std::size_t EndRun(EventWriter &writer, std::span<uint8_t> out);

enum class ReadResult { Event, NeedMore, Damaged };
// Reads the next event from `in`, setting `used` to the bytes taken. NeedMore:
// `in` ends inside an event (nothing taken); Damaged: not an event.
ReadResult ReadEvent(EventReader &reader, std::span<const uint8_t> in, std::size_t &used,
                     ReplayRecord &event);

// Clock values as the game sees them during a recording or a replay: whole
// microseconds, so that the answers repeat exactly from the file.
int64_t ToMicros(double seconds);
double FromMicros(int64_t micros);

// Name of an event kind for messages ("KeyDown").
const char *EventName(ReplayEvent kind);

} // namespace halvane
