// pilots.h -- an automatic player that plays the game through the input
// source only (mouse controls): it keeps the craft clear of the ground, dodges
// ships and mines, fires all the time, digs the end structure away with
// aimed missiles, and confirms screens with Enter while no flight is going
// on. Tests, tools and the measuring mode choose it with UsePilot. It reads
// the game's variables and never writes them.
#pragma once

#include "platform/input.h"

namespace halvane {

// The pilot; choose it with UsePilot(PlayPilot).
void PlayPilot(double now, InputState &state);

// Forgets what the pilot has seen (call before a new run).
void ResetPlayPilot();

// A short way to a new best score, for the browser's test: plays like
// PlayPilot until the first points, then dives into the ground until the last
// life is gone. It confirms the briefing at a fixed frame rather than a fixed
// time, so that from the same seed every run draws the same random numbers
// and ends with the same score. Reset with ResetPlayPilot.
void BestScorePilot(double now, InputState &state);

} // namespace halvane
