// hiscore_file.h -- the best-score file "Data/hs.dat": the score as text,
// scrambled with a fixed key, then CR LF. Start-up reads it; the hi-score
// screen writes it when a game beats the best score.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace halvane {

// Key of the scrambling, fixed in the program.
constexpr std::string_view HiScoreKey{"brask"};
constexpr const char *kHiScoreFileName = "Data/hs.dat";
// The new score is written here first and then renamed over the old file.
constexpr const char *kHiScoreTempName = "Data/hs.dat.tmp";
constexpr int kHiScoreFileNumber = 3;

// Adds (scramble) or subtracts (unscramble) the key's bytes to the text's
// bytes in place, modulo 256; the key restarts at its first byte after its
// last. An empty key changes nothing.
void ScrambleText(std::span<char> text, std::string_view key);
void UnscrambleText(std::span<char> text, std::string_view key);

// Called by start-up: reads the first field of the best-score file under file
// number 3, unscrambles it and returns it as the nearest integer (ties to
// even); 0 when the file is missing or holds no number.
int32_t ReadHiScoreFile();

// Called by the hi-score check: writes NumberToText(score), scrambled, then
// CR LF, beside the old file, and renames it into place, so that the file
// always holds either the old or the new score. False when it cannot be
// written; the old file is then left as it was.
bool WriteHiScoreFile(float score);

} // namespace halvane
