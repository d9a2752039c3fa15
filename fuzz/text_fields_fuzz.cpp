// Any bytes as a data file read field by field in every kind (number,
// integer, text), and as text to convert: never a value that is not finite,
// never a text field longer than its buffer, and the reader always reaches
// the end of the file.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_input.h"
#include "platform/text_fields.h"

using namespace halvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    WriteFuzzFile("fields.dat", data, size);

    // The kinds of field follow each other as the input's own bytes choose.
    OpenForReading(2, "fields.dat");
    std::array<char, 16> text{};
    // Every field consumes at least one byte, so this many reads reach the end.
    const std::size_t reads = size + 2;
    for (std::size_t i = 0; i < reads; ++i) {
        const int kind = size > 0 ? data[i % size] % 3 : 0;
        if (kind == 0) {
            FuzzCheck(std::isfinite(ReadFloatField(2)), "a number field read as not finite");
        } else if (kind == 1) {
            ReadIntField(2);
        } else {
            const int length = ReadTextField(2, text);
            FuzzCheck(length >= 0 && length < static_cast<int>(text.size()) &&
                          text[static_cast<std::size_t>(length)] == '\0',
                      "a text field overran its buffer");
        }
    }
    // Past the end every field is empty.
    FuzzCheck(ReadFloatField(2) == 0 && ReadIntField(2) == 0 && ReadTextField(2, text) == 0,
              "a field after the end of the file was not empty");
    CloseFile(2);

    const double value =
        TextToNumber(std::span<const char>(reinterpret_cast<const char *>(data), size));
    FuzzCheck(std::isfinite(value), "text to number gave a value that is not finite");
    return 0;
}
