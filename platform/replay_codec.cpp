// replay_codec.cpp -- events to bytes and back. Each event is a tag byte and a
// few variable-length numbers; the writer reads its own bytes back to move
// its state on, so both sides move it by the same code.
#include "platform/replay_codec.h"

#include <cmath>
#include <cstring>

namespace halvane {

namespace {

enum Tag : uint8_t {
    kTagKeyUp = 1,
    kTagKeyDown,
    kTagMouse,
    kTagClock,
    kTagSleep,
    kTagWaitFrame,
    kTagWaitFrameTime,
    kTagWaitRetrace,
    kTagPresentPage,
    kTagScreenshot,
    kTagPageHash,
    kTagEnd,
    kTagRepeat, // period, count: the next events repeat the ones `period` back
};

constexpr int kMaxVarintBytes = 10;

struct Bytes {
    CodedEvent &out;
    void Put(uint8_t b) { out.bytes[out.size++] = b; }
    void Unsigned(uint64_t v) {
        while (v >= 0x80) {
            Put(static_cast<uint8_t>(v | 0x80));
            v >>= 7;
        }
        Put(static_cast<uint8_t>(v));
    }
    void Signed(int64_t v) {
        Unsigned((static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63));
    }
};

// Reads numbers from `in`; `ok` turns false at the end of the bytes (`short`)
// or at a malformed number (`bad`).
struct Cursor {
    std::span<const uint8_t> in;
    std::size_t pos = 0;
    bool cut = false; // the bytes ended inside the event
    bool bad = false;

    bool Ok() const { return !cut && !bad; }
    uint8_t Byte() {
        if (pos >= in.size()) {
            cut = true;
            return 0;
        }
        return in[pos++];
    }
    uint64_t Unsigned() {
        uint64_t v = 0;
        for (int i = 0; i < kMaxVarintBytes; ++i) {
            const uint8_t b = Byte();
            if (!Ok()) return 0;
            // The tenth byte holds the top bit only.
            if (i == kMaxVarintBytes - 1 && b > 1) break;
            v |= static_cast<uint64_t>(b & 0x7F) << (7 * i);
            if ((b & 0x80) == 0) return v;
        }
        bad = true;
        return 0;
    }
    int64_t Signed() {
        const uint64_t v = Unsigned();
        return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
    }
};

bool AddInt32(int32_t base, int64_t delta, int32_t &out) {
    const int64_t sum = static_cast<int64_t>(base) + delta;
    if (delta > INT32_MAX * 2LL || delta < INT32_MIN * 2LL || sum < INT32_MIN || sum > INT32_MAX)
        return false;
    out = static_cast<int32_t>(sum);
    return true;
}

ReplayEvent TimedKind(uint8_t tag) {
    switch (tag) {
    case kTagClock:
        return ReplayEvent::Clock;
    case kTagSleep:
        return ReplayEvent::Sleep;
    case kTagWaitFrame:
        return ReplayEvent::WaitFrame;
    case kTagWaitFrameTime:
        return ReplayEvent::WaitFrameTime;
    case kTagWaitRetrace:
        return ReplayEvent::WaitRetrace;
    case kTagPresentPage:
        return ReplayEvent::PresentPage;
    default:
        return ReplayEvent::None;
    }
}

uint8_t TimedTag(ReplayEvent kind) {
    switch (kind) {
    case ReplayEvent::Clock:
        return kTagClock;
    case ReplayEvent::Sleep:
        return kTagSleep;
    case ReplayEvent::WaitFrame:
        return kTagWaitFrame;
    case ReplayEvent::WaitFrameTime:
        return kTagWaitFrameTime;
    case ReplayEvent::WaitRetrace:
        return kTagWaitRetrace;
    case ReplayEvent::PresentPage:
        return kTagPresentPage;
    default:
        return 0;
    }
}

// Reads one event (not a run) from `c` against `state`, moving `state` on
// only when the whole event was there and well formed.
ReadResult ParseEvent(CodecState &state, Cursor &c, ReplayRecord &event) {
    CodecState next = state;
    event = ReplayRecord{};
    const uint8_t tag = c.Byte();
    if (!c.Ok()) return ReadResult::NeedMore;
    switch (tag) {
    case kTagKeyUp:
    case kTagKeyDown: {
        event.kind = ReplayEvent::KeyDown;
        event.answer = tag == kTagKeyDown;
        const uint64_t code = c.Unsigned();
        if (code > UINT32_MAX) c.bad = true;
        event.arg = static_cast<int32_t>(static_cast<uint32_t>(code));
        break;
    }
    case kTagMouse: {
        event.kind = ReplayEvent::Mouse;
        const uint8_t flags = c.Byte();
        if (flags > 0x1F) c.bad = true;
        next.mouseRead = (flags & 1) != 0;
        for (int i = 0; i < 4 && c.Ok(); ++i) {
            if ((flags & (2 << i)) == 0) continue;
            const int64_t delta = c.Signed();
            if (c.Ok() && !AddInt32(state.mouse[i], delta, next.mouse[i])) c.bad = true;
        }
        event.answer = next.mouseRead;
        event.x = next.mouse[0];
        event.y = next.mouse[1];
        event.wheel = next.mouse[2];
        event.buttons = next.mouse[3];
        break;
    }
    case kTagClock:
    case kTagSleep:
    case kTagWaitFrame:
    case kTagWaitFrameTime:
    case kTagWaitRetrace:
    case kTagPresentPage: {
        event.kind = TimedKind(tag);
        if (tag == kTagSleep) {
            const int64_t ms = c.Signed();
            if (ms < INT32_MIN || ms > INT32_MAX) c.bad = true;
            event.arg = static_cast<int32_t>(ms);
        }
        const int64_t delta = c.Signed();
        if (c.Ok() && __builtin_add_overflow(state.micros, delta, &next.micros)) c.bad = true;
        event.micros = next.micros;
        break;
    }
    case kTagScreenshot: {
        event.kind = ReplayEvent::Screenshot;
        const int64_t delta = c.Signed();
        if (c.Ok() && !AddInt32(state.screenshot, delta, next.screenshot)) c.bad = true;
        event.arg = next.screenshot;
        break;
    }
    case kTagPageHash: {
        event.kind = ReplayEvent::PageHash;
        for (int i = 0; i < 8; ++i)
            event.hash |= static_cast<uint64_t>(c.Byte()) << (8 * i);
        break;
    }
    case kTagEnd: {
        event.kind = ReplayEvent::End;
        const int64_t code = c.Signed();
        if (code < INT32_MIN || code > INT32_MAX) c.bad = true;
        event.arg = static_cast<int32_t>(code);
        break;
    }
    default:
        return ReadResult::Damaged;
    }
    if (c.cut) return ReadResult::NeedMore;
    if (c.bad) return ReadResult::Damaged;
    state = next;
    return ReadResult::Event;
}

void Code(const CodecState &state, const ReplayRecord &event, CodedEvent &out) {
    out.size = 0;
    Bytes b{out};
    switch (event.kind) {
    case ReplayEvent::KeyDown:
        b.Put(event.answer ? kTagKeyDown : kTagKeyUp);
        b.Unsigned(static_cast<uint32_t>(event.arg));
        break;
    case ReplayEvent::Mouse: {
        const std::array<int32_t, 4> now{event.x, event.y, event.wheel, event.buttons};
        uint8_t flags = event.answer ? 1 : 0;
        for (int i = 0; i < 4; ++i)
            if (now[i] != state.mouse[i]) flags |= static_cast<uint8_t>(2 << i);
        b.Put(kTagMouse);
        b.Put(flags);
        for (int i = 0; i < 4; ++i)
            if ((flags & (2 << i)) != 0)
                b.Signed(static_cast<int64_t>(now[i]) - static_cast<int64_t>(state.mouse[i]));
        break;
    }
    case ReplayEvent::Clock:
    case ReplayEvent::Sleep:
    case ReplayEvent::WaitFrame:
    case ReplayEvent::WaitFrameTime:
    case ReplayEvent::WaitRetrace:
    case ReplayEvent::PresentPage:
        b.Put(TimedTag(event.kind));
        if (event.kind == ReplayEvent::Sleep) b.Signed(event.arg);
        // Wraps like the reader's sum for the (never seen) far ends of the range.
        b.Signed(static_cast<int64_t>(static_cast<uint64_t>(event.micros) -
                                      static_cast<uint64_t>(state.micros)));
        break;
    case ReplayEvent::Screenshot:
        b.Put(kTagScreenshot);
        b.Signed(static_cast<int64_t>(event.arg) - state.screenshot);
        break;
    case ReplayEvent::PageHash:
        b.Put(kTagPageHash);
        for (int i = 0; i < 8; ++i)
            b.Put(static_cast<uint8_t>(event.hash >> (8 * i)));
        break;
    case ReplayEvent::End:
    case ReplayEvent::None:
        b.Put(kTagEnd);
        b.Signed(event.arg);
        break;
    }
}

bool Same(const CodedEvent &a, const CodedEvent &b) {
    return a.size == b.size && a.size > 0 &&
           std::memcmp(a.bytes.data(), b.bytes.data(), a.size) == 0;
}

void Remember(CodecState &state, const CodedEvent &event) {
    for (int i = kMaxRunPeriod - 1; i > 0; --i)
        state.recent[i] = state.recent[i - 1];
    state.recent[0] = event;
}

// Moves `state` on by the event `coded` (always well formed here).
void Apply(CodecState &state, const CodedEvent &coded) {
    Cursor c{std::span<const uint8_t>(coded.bytes.data(), coded.size)};
    ReplayRecord ignored;
    ParseEvent(state, c, ignored);
    Remember(state, coded);
}

std::size_t Emit(std::span<uint8_t> out, const CodedEvent &coded) {
    std::memcpy(out.data(), coded.bytes.data(), coded.size);
    return coded.size;
}

} // namespace

std::size_t EndRun(EventWriter &writer, std::span<uint8_t> out) {
    if (writer.runPeriod == 0) return 0;
    CodedEvent run;
    Bytes b{run};
    b.Put(kTagRepeat);
    b.Put(static_cast<uint8_t>(writer.runPeriod));
    b.Unsigned(writer.runLength);
    writer.runPeriod = 0;
    writer.runLength = 0;
    return Emit(out, run);
}

std::size_t WriteEvent(EventWriter &writer, const ReplayRecord &event, std::span<uint8_t> out) {
    CodedEvent coded;
    Code(writer.state, event, coded);
    CodecState &state = writer.state;
    if (writer.runPeriod > 0) {
        if (Same(coded, state.recent[writer.runPeriod - 1]) && writer.runLength < kMaxRunLength) {
            ++writer.runLength;
            Apply(state, coded);
            return 0;
        }
    }
    std::size_t written = EndRun(writer, out);
    // PageHash and End never start a run: each stands for itself.
    if (event.kind != ReplayEvent::PageHash && event.kind != ReplayEvent::End) {
        for (int period = 1; period <= kMaxRunPeriod; ++period) {
            if (!Same(coded, state.recent[period - 1])) continue;
            writer.runPeriod = period;
            writer.runLength = 1;
            Apply(state, coded);
            return written;
        }
    }
    written += Emit(out.subspan(written), coded);
    Apply(state, coded);
    return written;
}

ReadResult ReadEvent(EventReader &reader, std::span<const uint8_t> in, std::size_t &used,
                     ReplayRecord &event) {
    used = 0;
    CodecState &state = reader.state;
    if (reader.runLeft == 0) {
        Cursor c{in};
        if (c.Byte() == kTagRepeat && c.Ok()) {
            const uint8_t period = c.Byte();
            const uint64_t count = c.Unsigned();
            if (c.cut) return ReadResult::NeedMore;
            if (c.bad || period < 1 || period > kMaxRunPeriod || count < 1 ||
                count > kMaxRunLength || state.recent[period - 1].size == 0)
                return ReadResult::Damaged;
            used = c.pos;
            reader.runPeriod = period;
            reader.runLeft = static_cast<uint32_t>(count);
        } else {
            if (c.cut) return ReadResult::NeedMore;
            Cursor whole{in};
            const ReadResult r = ParseEvent(state, whole, event);
            if (r != ReadResult::Event) return r;
            CodedEvent coded;
            coded.size = static_cast<uint8_t>(whole.pos);
            if (whole.pos > kMaxEventBytes) return ReadResult::Damaged;
            std::memcpy(coded.bytes.data(), in.data(), whole.pos);
            Remember(state, coded);
            used = whole.pos;
            return ReadResult::Event;
        }
    }
    // One event of the run: the one `period` back, read again.
    const CodedEvent again = state.recent[reader.runPeriod - 1];
    Cursor c{std::span<const uint8_t>(again.bytes.data(), again.size)};
    if (ParseEvent(state, c, event) != ReadResult::Event) return ReadResult::Damaged;
    Remember(state, again);
    --reader.runLeft;
    return ReadResult::Event;
}

int64_t ToMicros(double seconds) {
    const double micros = std::nearbyint(seconds * 1e6);
    // A clock this far out does not happen; keep the conversion defined.
    if (!(micros > -9.0e15 && micros < 9.0e15)) return micros > 0 ? 9000000000000000LL : 0;
    return static_cast<int64_t>(micros);
}

double FromMicros(int64_t micros) {
    return static_cast<double>(micros) / 1e6;
}

const char *EventName(ReplayEvent kind) {
    switch (kind) {
    case ReplayEvent::KeyDown:
        return "KeyDown";
    case ReplayEvent::Mouse:
        return "ReadMouse";
    case ReplayEvent::Clock:
        return "ClockSeconds";
    case ReplayEvent::Sleep:
        return "SleepMs";
    case ReplayEvent::WaitFrame:
        return "WaitFrame";
    case ReplayEvent::WaitFrameTime:
        return "WaitFrameTime";
    case ReplayEvent::WaitRetrace:
        return "WaitRetrace";
    case ReplayEvent::PresentPage:
        return "PresentPage";
    case ReplayEvent::Screenshot:
        return "TakeScreenshot";
    case ReplayEvent::PageHash:
        return "a page hash";
    case ReplayEvent::End:
        return "the end of the program";
    case ReplayEvent::None:
        break;
    }
    return "nothing";
}

} // namespace halvane
