// text_fields.h -- the sequential field reader of every data file (setup,
// levels, best score) and text-to-number. Files are opened under small
// numbers: 1 level files, 2 "Data/setup.dat", 3 "Data/hs.dat". A missing file,
// a closed number or reading past the end gives empty fields (numbers 0).
#pragma once

#include <cstdint>
#include <span>

namespace halvane {

constexpr int kMaxFileNumber = 254;
constexpr int kFloatFieldLength = 15;
constexpr int kIntFieldLength = 11;
constexpr int kTextFieldCapacity = 256; // longest text field kept

// Reads the whole file (its first 256 KiB) into a buffer for the number; a
// missing file reads empty. Four files can be open at once; a fifth reads
// empty and says so on stderr.
void OpenForReading(int fileNumber, const char *fileName);
void CloseFile(int fileNumber);

float ReadFloatField(int fileNumber);
int32_t ReadIntField(int fileNumber);
// Copies the next field into `out` (NUL-terminated, truncated to fit) and
// returns its length.
int ReadTextField(int fileNumber, std::span<char> out);
// Called by the level-file check: whether the last number field read from the
// file began with a number (a sign, digits, a point) rather than junk or
// nothing (past the end of the file). False for a number not open.
bool LastFieldHadNumber(int fileNumber);

// Text to number: leading blanks skipped; &H, &O, &B read hexadecimal, octal,
// binary; else the longest decimal prefix. Never infinite or NaN: beyond the
// largest double the value saturates.
double TextToNumber(std::span<const char> text);

} // namespace halvane
