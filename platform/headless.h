// headless.h -- controls of the headless display, for tests and tools only:
// a virtual clock, an opt-in observer of presented pages, and a way to run
// the program until it ends. Never included by game code.
#pragma once

#include <cstdint>

#include "platform/display.h"

namespace halvane {

// Sets the virtual clock; the start value also seeds SeedRandom at start-up
// (ClockSeconds returns it), so a run repeats exactly. The clock moves only
// when the game waits: 1 us per clock reading, 0.1 ms per poll of the keyboard
// or mouse (plus its reading), a sleep by its length, a present to the next
// 1/60 s tick. HeadlessClock reads it without moving it.
void HeadlessSetClock(double seconds);
double HeadlessClock();

// Called with every presented page; nothing is kept unless the observer keeps
// it. nullptr turns observing off.
using PageObserver = void (*)(const Page &page);
void HeadlessSetObserver(PageObserver observer);
uint64_t HeadlessPresentCount();

// Runs `entry` (StartUp, a screen, a loop) until it returns or the program
// ends; returns the exit code (0 when `entry` returned).
int HeadlessRun(void (*entry)());

} // namespace halvane
