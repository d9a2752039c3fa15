#include "screens/hiscore_file.h"

#include <array>

#include "core/numbers.h"
#include "platform/file_replace.h"
#include "platform/text_fields.h"

namespace halvane {

namespace {

// Both directions walk the key the same way; only the sign differs.
void ApplyKey(std::span<char> text, std::string_view key, int sign) {
    if (key.empty()) return;
    std::size_t k = 0;
    for (char &c : text) {
        const unsigned b = static_cast<unsigned char>(c);
        const unsigned kb = static_cast<unsigned char>(key[k]);
        c = static_cast<char>(static_cast<unsigned char>(sign > 0 ? b + kb : b - kb));
        if (++k == key.size()) k = 0;
    }
}

} // namespace

void ScrambleText(std::span<char> text, std::string_view key) {
    ApplyKey(text, key, 1);
}

void UnscrambleText(std::span<char> text, std::string_view key) {
    ApplyKey(text, key, -1);
}

int32_t ReadHiScoreFile() {
    std::array<char, kTextFieldCapacity> field{};
    OpenForReading(kHiScoreFileNumber, kHiScoreFileName);
    const int length = ReadTextField(kHiScoreFileNumber, field);
    CloseFile(kHiScoreFileNumber);
    const std::span<char> text(field.data(), static_cast<std::size_t>(length));
    UnscrambleText(text, HiScoreKey);
    return RoundEven(TextToNumber(text));
}

bool WriteHiScoreFile(float score) {
    std::array<char, 48> line{};
    const int length = NumberToText(score, std::span<char>(line.data(), line.size() - 2));
    ScrambleText(std::span<char>(line.data(), static_cast<std::size_t>(length)), HiScoreKey);
    line[static_cast<std::size_t>(length)] = '\r';
    line[static_cast<std::size_t>(length) + 1] = '\n';
    return ReplaceFile(kHiScoreFileName, kHiScoreTempName,
                       std::span<const char>(line.data(), static_cast<std::size_t>(length) + 2));
}

} // namespace halvane
