// The keyed copy's and the text blend's rows in each processor version (platform/rows.h).
#include "platform/rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstring>

#if !defined(__OPTIMIZE__) || defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#error "rows.cpp is built as it ships in every build (optimised, no sanitizers), so its tests run the vector code"
#endif

namespace {

// The keyed row's loop: a select and an unconditional store, which the compiler turns into vector
// blends as wide as the version's instruction set (keyed copies are most of what a frame draws).
__attribute__((always_inline)) inline void KeyedRowLoop(uint32_t* const to, const uint32_t* const from,
                                                        const int32_t width, const uint32_t key)
{
    for (int32_t j = 0; j < width; j++) {
        const uint32_t pixel = from[j];
        to[j] = pixel == key ? to[j] : pixel;
    }
}

void CopyKeyedRowDefault(uint32_t* const to, const uint32_t* const from, const int32_t width, const uint32_t key)
{
    KeyedRowLoop(to, from, width, key);
}

bool RunsAnywhere()
{
    return true;
}

#if defined(__x86_64__)
__attribute__((target("avx2")))
void CopyKeyedRowAvx2(uint32_t* const to, const uint32_t* const from, const int32_t width, const uint32_t key)
{
    KeyedRowLoop(to, from, width, key);
}

bool RunsAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#endif

// Each channel of the blend, red and blue side by side in one word: a channel's sum stays below 65536,
// and (w + 1 + (w >> 8)) >> 8 is w / 255 for any such w.
uint32_t Blend(const uint32_t dst, const uint32_t src, const uint32_t alpha)
{
    const uint32_t inverse = 255 - alpha;
    uint32_t rb = (src & 0xFF00FF) * alpha + (dst & 0xFF00FF) * inverse + 0x7F007F;
    uint32_t g = ((src >> 8 & 0xFF) * alpha + (dst >> 8 & 0xFF) * inverse + 0x7F);
    rb = (rb + 0x10001 + (rb >> 8 & 0xFF00FF)) >> 8 & 0xFF00FF;
    g = (g + 1 + (g >> 8)) >> 8;
    return rb | g << 8;
}

#if defined(__SSE2__)
// Blend for two pixels' four channels as 16-bit lanes; (v + 128 + ((v + 128) >> 8)) >> 8 rounds v / 255
// as Blend does, and no lane passes 65535 on the way.
__m128i BlendLanes(const __m128i colour, const __m128i dst, const __m128i alpha)
{
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    __m128i w = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(colour, alpha), _mm_mullo_epi16(dst, inverse)),
                              _mm_set1_epi16(128));
    w = _mm_add_epi16(w, _mm_srli_epi16(w, 8));
    return _mm_srli_epi16(w, 8);
}
#endif

} // namespace

const KeyedRowVersion keyedrowversions[] = {
#if defined(__x86_64__)
    {"avx2", CopyKeyedRowAvx2, RunsAvx2},
#endif
    {"default", CopyKeyedRowDefault, RunsAnywhere},
};
const int keyedrowversioncount = sizeof keyedrowversions / sizeof keyedrowversions[0];

KeyedRow PickedKeyedRow()
{
    static const KeyedRow picked = [] {
        for (const KeyedRowVersion& v : keyedrowversions)
            if (v.runs())
                return v.row;
        return CopyKeyedRowDefault;
    }();
    return picked;
}

void CopyKeyedRow(uint32_t* const to, const uint32_t* const from, const int32_t width, const uint32_t key)
{
    PickedKeyedRow()(to, from, width, key);
}

uint32_t BlendTextPixel(const uint32_t pixel, const uint32_t colour, const uint32_t alpha)
{
    if (alpha == 255)
        return colour;
    return alpha ? Blend(pixel, colour, alpha) : pixel;
}

void BlendTextRow(uint32_t* const to, const uint8_t* const coverage, const int32_t count, const uint32_t colour)
{
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i whole = _mm_set1_epi32((int)colour);
    const __m128i lanes = _mm_unpacklo_epi8(whole, zero);
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    for (; i + 4 <= count; i += 4) {
        uint32_t four;
        std::memcpy(&four, coverage + i, sizeof four);
        if (four == 0)
            continue;
        // Each pixel's coverage in all four of its bytes.
        __m128i alpha = _mm_cvtsi32_si128((int)four);
        alpha = _mm_unpacklo_epi8(alpha, alpha);
        alpha = _mm_unpacklo_epi16(alpha, alpha);
        const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to + i));
        const __m128i low = BlendLanes(lanes, _mm_unpacklo_epi8(dst, zero), _mm_unpacklo_epi8(alpha, zero));
        const __m128i high = BlendLanes(lanes, _mm_unpackhi_epi8(dst, zero), _mm_unpackhi_epi8(alpha, zero));
        const __m128i blended = _mm_and_si128(_mm_packus_epi16(low, high), rgb);
        const __m128i full = _mm_cmpeq_epi32(alpha, _mm_set1_epi32(-1));
        const __m128i none = _mm_cmpeq_epi32(alpha, zero);
        __m128i out = _mm_or_si128(_mm_and_si128(full, whole), _mm_andnot_si128(full, blended));
        out = _mm_or_si128(_mm_and_si128(none, dst), _mm_andnot_si128(none, out));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), out);
    }
#endif
    for (; i < count; i++)
        to[i] = BlendTextPixel(to[i], colour, coverage[i]);
}
