#include "search/ByteFinder.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

ByteFinder::ByteFinder(const QByteArray &needle)
    : m_needle(needle)
{ }

qsizetype ByteFinder::indexIn(const char *data, qsizetype size, qsizetype from) const
{
    const qsizetype length = m_needle.size();
    if (length == 0 || from < 0 || size - from < length)
        return -1;
    const char *const needle = m_needle.constData();
    if (length == 1) {
        const void *at = std::memchr(data + from, needle[0], size_t(size - from));
        return at ? static_cast<const char *>(at) - data : -1;
    }
    qsizetype at = from;
#if defined(__SSE2__)
    // Sixteen starts at a time: the bytes under the needle's first and last byte are compared
    // with them, and the starts where both agree are compared whole.
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[length - 1]);
    for (; at + length - 1 + 16 <= size; at += 16) {
        const __m128i startBytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at));
        const __m128i endBytes
            = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + at + length - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(startBytes, first), _mm_cmpeq_epi8(endBytes, last))));
        while (mask != 0) {
            const qsizetype start = at + __builtin_ctz(mask);
            if (std::memcmp(data + start + 1, needle + 1, size_t(length - 2)) == 0)
                return start;
            mask &= mask - 1;
        }
    }
#endif
    // The last starts, fewer than sixteen, or every start where SSE2 is missing.
    const void *found = memmem(data + at, size_t(size - at), needle, size_t(length));
    return found ? static_cast<const char *>(found) - data : -1;
}
