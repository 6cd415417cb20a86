#include "search/SearchText.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
int utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

char *putUtf8(char *out, char32_t c)
{
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xc0 | (c >> 6));
        *out++ = char(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        *out++ = char(0xe0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3f));
        *out++ = char(0x80 | (c & 0x3f));
    } else {
        *out++ = char(0xf0 | (c >> 18));
        *out++ = char(0x80 | ((c >> 12) & 0x3f));
        *out++ = char(0x80 | ((c >> 6) & 0x3f));
        *out++ = char(0x80 | (c & 0x3f));
    }
    return out;
}

// Both forms in one pass; folded may be null. Notes are mostly ASCII: that goes byte by byte.
void encode(const QString &text, QByteArray &utf8, QByteArray *folded)
{
    const qsizetype size = text.size();
    // Three bytes at most for each UTF-16 unit.
    utf8.resize(size * 3);
    if (folded)
        folded->resize(size * 3);
    char *out = utf8.data();
    char *foldOut = folded ? folded->data() : nullptr;
    const char16_t *in = reinterpret_cast<const char16_t *>(text.constData());
    for (qsizetype i = 0; i < size; ++i) {
#if defined(__SSE2__)
        // Eight ASCII characters at a time: narrowed, and folded by adding 32 to A to Z.
        if (foldOut) {
            const __m128i high = _mm_set1_epi16(short(0xff80));
            const __m128i zero = _mm_setzero_si128();
            while (i + 8 <= size) {
                const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
                if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, high), zero)) != 0xffff)
                    break;
                const __m128i fromA = _mm_sub_epi16(units, _mm_set1_epi16('A'));
                const __m128i upper = _mm_and_si128(_mm_cmpgt_epi16(fromA, _mm_set1_epi16(-1)),
                    _mm_cmplt_epi16(fromA, _mm_set1_epi16(26)));
                const __m128i lower
                    = _mm_add_epi16(units, _mm_and_si128(upper, _mm_set1_epi16(32)));
                _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(units, zero));
                _mm_storel_epi64(
                    reinterpret_cast<__m128i *>(foldOut), _mm_packus_epi16(lower, zero));
                out += 8;
                foldOut += 8;
                i += 8;
            }
            if (i >= size)
                break;
        }
#endif
        const char16_t u = in[i];
        if (u < 0x80) {
            *out++ = char(u);
            if (foldOut)
                *foldOut++ = char(u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u);
            continue;
        }
        char32_t c = u;
        if (QChar::isHighSurrogate(u) && i + 1 < size && QChar::isLowSurrogate(in[i + 1]))
            c = QChar::surrogateToUcs4(u, in[++i]);
        else if (QChar::isSurrogate(u))
            c = QChar::ReplacementCharacter;
        out = putUtf8(out, c);
        if (foldOut) {
            const char32_t f = QChar::toCaseFolded(c);
            foldOut = putUtf8(foldOut, utf8Length(f) == utf8Length(c) ? f : c);
        }
    }
    // The cache holds them: no room to spare.
    utf8.truncate(out - utf8.constData());
    utf8.squeeze();
    if (folded) {
        folded->truncate(foldOut - folded->constData());
        folded->squeeze();
    }
}
} // namespace

SearchText SearchText::from(const QString &text)
{
    SearchText result;
    encode(text, result.utf8, &result.folded);
    return result;
}

QByteArray SearchText::fold(const QString &text)
{
    QByteArray utf8;
    QByteArray folded;
    encode(text, utf8, &folded);
    return folded;
}
