// audio_mixer.cpp -- voices, the looping tune, volumes and saturation. The
// game thread writes only the request queue, the tune request and the volume
// levels (atomics); everything else belongs to the thread that calls MixAudio.
#include "platform/audio_mixer.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace halvane {

namespace {

// --- written at start-up, read by the mixer ---------------------------------
std::array<SampleBlock, kEffectCount + 1> EffectSamples;
std::array<SampleBlock, kTuneCount + 1> TuneSamples;

// --- written by the game thread ---------------------------------------------
// A single-producer single-consumer ring of effect requests: the game thread
// advances QueueHead, the mixer QueueTail. The release store of the head also
// publishes the samples set before the first request.
constexpr uint32_t kQueueSize = 64; // a power of two
std::array<uint8_t, kQueueSize> Queue;
std::atomic<uint32_t> QueueHead{0};
std::atomic<uint32_t> QueueTail{0};
std::atomic<uint32_t> Dropped{0};
// The latest tune request: a serial number above the tune, so that asking for
// the same tune again restarts it.
std::atomic<uint32_t> TuneRequest{0};
std::atomic<int> SfxLevel{kVolumeLevels[3]};
std::atomic<int> MusicLevel{kVolumeLevels[3]};

// --- the mixer's own state ---------------------------------------------------
struct Voice {
    int effect = kEffectNone;
    int32_t frame = 0; // next frame to play
};
std::array<Voice, kEffectVoices> Voices;
int CurrentTune = kTuneNone;
int32_t TuneFrame = 0;
uint32_t SeenTuneRequest = 0;
uint32_t Clipped = 0;

// Sums of one stretch of output, before the volumes.
constexpr int kChunk = 256;
std::array<int32_t, kChunk> EffectSum;
std::array<int32_t, kChunk> TuneSum;

bool ValidEffect(int effect) {
    return effect >= 1 && effect <= kEffectCount;
}

// The voice a new effect takes: another voice of the same effect when enough
// of them sound, else a free one, else the one that has sounded longest.
Voice &VoiceFor(int effect) {
    int same = 0;
    Voice *oldestSame = nullptr;
    Voice *free = nullptr;
    Voice *oldest = &Voices[0];
    for (Voice &voice : Voices) {
        if (voice.effect == effect) {
            ++same;
            if (oldestSame == nullptr || voice.frame > oldestSame->frame) oldestSame = &voice;
        }
        if (voice.effect == kEffectNone && free == nullptr) free = &voice;
        if (voice.frame > oldest->frame) oldest = &voice;
    }
    if (same >= kVoicesPerEffect) return *oldestSame;
    return free != nullptr ? *free : *oldest;
}

void TakeRequests() {
    const uint32_t head = QueueHead.load(std::memory_order_acquire);
    uint32_t tail = QueueTail.load(std::memory_order_relaxed);
    for (; tail != head; ++tail) {
        const int effect = Queue[tail % kQueueSize];
        if (EffectSamples[effect].frames <= 0) continue;
        Voice &voice = VoiceFor(effect);
        voice.effect = effect;
        voice.frame = 0;
    }
    QueueTail.store(tail, std::memory_order_release);

    const uint32_t request = TuneRequest.load(std::memory_order_acquire);
    if (request != SeenTuneRequest) {
        SeenTuneRequest = request;
        CurrentTune = static_cast<int>(request & 0xff);
        TuneFrame = 0;
    }
}

// Adds `frames` samples of every effect voice to EffectSum, retiring those
// that end.
void SumEffects(int frames) {
    std::fill_n(EffectSum.begin(), frames, 0);
    for (Voice &voice : Voices) {
        if (voice.effect == kEffectNone) continue;
        const SampleBlock &block = EffectSamples[voice.effect];
        const int n = std::min(frames, block.frames - voice.frame);
        const int16_t *in = block.samples + voice.frame;
        for (int i = 0; i < n; ++i)
            EffectSum[i] += in[i];
        voice.frame += n;
        if (voice.frame >= block.frames) voice = Voice{};
    }
}

// Puts `frames` samples of the current tune into TuneSum, wrapping to its
// start at its end.
void SumTune(int frames) {
    const SampleBlock &block = TuneSamples[CurrentTune];
    if (CurrentTune == kTuneNone || block.frames <= 0) {
        std::fill_n(TuneSum.begin(), frames, 0);
        return;
    }
    for (int done = 0; done < frames;) {
        const int n = std::min(frames - done, block.frames - TuneFrame);
        for (int i = 0; i < n; ++i)
            TuneSum[done + i] = block.samples[TuneFrame + i];
        done += n;
        TuneFrame += n;
        if (TuneFrame >= block.frames) TuneFrame = 0;
    }
}

} // namespace

void SetEffectSamples(int effect, SampleBlock block) {
    if (ValidEffect(effect))
        EffectSamples[effect] = block.samples != nullptr ? block : SampleBlock{};
}

void SetTuneSamples(int tune, SampleBlock block) {
    if (tune >= 1 && tune <= kTuneCount)
        TuneSamples[tune] = block.samples != nullptr ? block : SampleBlock{};
}

int TuneOfFileName(const char *fileName) {
    if (fileName == nullptr) return kTuneNone;
    constexpr std::array<const char *, kTuneCount + 1> kNames{
        "", "Sound/menu_music.mp3", "Sound/brief_music.mp3", "Sound/game_music.mp3",
        "Sound/end_music.mp3"};
    for (int tune = 1; tune <= kTuneCount; ++tune)
        if (std::strcmp(fileName, kNames[tune]) == 0) return tune;
    return kTuneNone;
}

void RequestEffect(int effect) {
    if (!ValidEffect(effect)) return;
    const uint32_t head = QueueHead.load(std::memory_order_relaxed);
    if (head - QueueTail.load(std::memory_order_acquire) >= kQueueSize) {
        Dropped.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    Queue[head % kQueueSize] = static_cast<uint8_t>(effect);
    QueueHead.store(head + 1, std::memory_order_release);
}

void RequestTune(int tune) {
    if (tune < 0 || tune > kTuneCount) tune = kTuneNone;
    const uint32_t serial = (TuneRequest.load(std::memory_order_relaxed) >> 8) + 1;
    TuneRequest.store(serial << 8 | static_cast<uint32_t>(tune), std::memory_order_release);
}

void SetVolumeSteps(int sfxStep, int musicStep) {
    SfxLevel.store(kVolumeLevels[std::clamp(sfxStep, 0, 4)], std::memory_order_relaxed);
    MusicLevel.store(kVolumeLevels[std::clamp(musicStep, 0, 4)], std::memory_order_relaxed);
}

void MixAudio(int16_t *out, int frames) {
    TakeRequests();
    const int sfx = SfxLevel.load(std::memory_order_relaxed);
    const int music = MusicLevel.load(std::memory_order_relaxed);
    for (int done = 0; done < frames;) {
        const int n = std::min(kChunk, frames - done);
        SumEffects(n);
        SumTune(n);
        for (int i = 0; i < n; ++i) {
            // Both sums scaled on the 0..255 scale, then cut to 16 bits.
            const int32_t mixed = (EffectSum[i] * sfx + TuneSum[i] * music) / 255;
            const int32_t cut = std::clamp(mixed, -32768, 32767);
            Clipped += cut != mixed;
            out[done + i] = static_cast<int16_t>(cut);
        }
        done += n;
    }
}

void ResetAudioMixer() {
    EffectSamples.fill({});
    TuneSamples.fill({});
    QueueHead.store(0);
    QueueTail.store(0);
    Dropped.store(0);
    TuneRequest.store(0);
    SetVolumeSteps(3, 3);
    Voices.fill({});
    CurrentTune = kTuneNone;
    TuneFrame = 0;
    SeenTuneRequest = 0;
    Clipped = 0;
}

MixerStatus AudioMixerStatus() {
    int sounding = 0;
    for (const Voice &voice : Voices)
        sounding += voice.effect != kEffectNone;
    return {sounding, CurrentTune, TuneFrame, Dropped.load(), Clipped};
}

} // namespace halvane
