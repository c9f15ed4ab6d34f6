#include "engine/EucToSjis.h"

#include <utility>

namespace Module1 {

std::optional<SjisBytes> convertEucToSjis(QByteArray input)
{
    SjisBytes result;
    result.bytes = std::move(input);
    const qsizetype size = result.bytes.size();
    // Output index j never passes input index i, so writing over the input is safe.
    auto *out = reinterpret_cast<unsigned char *>(result.bytes.data());
    const unsigned char *in = out;

    qsizetype i = 0;
    qsizetype j = 0;
    while (i < size) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            out[j++] = b;
            ++i;
            continue;
        }
        if (i + 1 >= size)
            break; // the character's second byte has not been written yet
        const unsigned char next = in[i + 1];
        if (b == 0x8E) {
            out[j++] = next; // half-width katakana: the second byte is the character
            i += 2;
            continue;
        }
        if (next < 0x80)
            return std::nullopt;
        const auto [lead, trail] = jisPairToSjis(b, next);
        out[j++] = lead;
        out[j++] = trail;
        i += 2;
    }
    result.bytes.truncate(j);
    result.consumed = i;
    return result;
}

} // namespace Module1
