// sound_store.h -- where the game's sounds live while it runs: the names of
// their files below Sound/ and one fixed pool that holds them all, filled
// once at start-up and handed to the mixer. Used by the program's start-up,
// the sound tool and the tests.
#pragma once

#include <array>
#include <cstdint>

#include "platform/audio_mixer.h"

namespace halvane {

// The files of the effects (kEffect...) and tunes (kTune...), below Sound/.
// The tunes' names follow the music names the game asks for.
constexpr std::array<const char *, kEffectCount + 1> kEffectFileNames{
    "",
    "fx_menu_select.wav",
    "fx_briefing_open.wav",
    "fx_briefing_line.wav",
    "fx_missile_launch.wav",
    "fx_ship_destroyed.wav",
    "fx_mine_destroyed.wav",
    "fx_ground_impact.wav",
    "fx_ship_pass.wav",
    "fx_craft_hit.wav",
    "fx_craft_explosion.wav",
    "fx_shield_low.wav",
    "fx_end_warning.wav",
    "fx_structure_destroyed.wav",
    "fx_level_stats.wav",
};
constexpr std::array<const char *, kTuneCount + 1> kTuneFileNames{
    "", "menu_music.wav", "brief_music.wav", "game_music.wav", "end_music.wav",
};

// Room for every sound: about 10.8 MB of samples.
constexpr int32_t kSoundPoolFrames = 5'400'000;

// Reads every sound file from the folder `folder` ("Sound" for the game)
// into the pool and hands each to the mixer. A file that cannot be read
// leaves its sound silent, with one line on stderr naming it and why.
// Returns the number of files read.
int LoadSoundFiles(const char *folder);

} // namespace halvane
