#include "engine/preprocessing/blank_tokens.h"

#include <bit>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KIVO_BLANK_TOKENS_SSE2 1
#endif

namespace kivo {

void FindTokenStarts(std::string_view text, std::size_t count, std::vector<std::size_t>& starts) {
    starts.clear();
    const char* const bytes = text.data();
    const std::size_t size = text.size();
    bool previousBlank = true;
    std::size_t position = 0;
#ifdef KIVO_BLANK_TOKENS_SSE2
    // Sixteen bytes at a time: a token begins at a non-blank byte whose predecessor is blank.
    const __m128i blank = _mm_set1_epi8(' ');
    for (; position + 16 <= size && starts.size() < count; position += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + position));
        const auto blanks =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, blank)));
        std::uint32_t tokenStarts = ~blanks & ((blanks << 1) | (previousBlank ? 1u : 0u)) & 0xFFFFu;
        while (tokenStarts != 0 && starts.size() < count) {
            starts.push_back(position + static_cast<std::size_t>(std::countr_zero(tokenStarts)));
            tokenStarts &= tokenStarts - 1;
        }
        previousBlank = (blanks & 0x8000u) != 0;
    }
#endif
    for (; position < size && starts.size() < count; ++position) {
        const bool isBlank = bytes[position] == ' ';
        if (!isBlank && previousBlank) starts.push_back(position);
        previousBlank = isBlank;
    }
}

std::string_view TokenAt(std::string_view text, std::size_t start) {
    std::size_t end = start;
    while (end < text.size() && text[end] != ' ') ++end;
    return text.substr(start, end - start);
}

}  // namespace kivo
