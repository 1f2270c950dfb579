#include "engine/EqualBytes.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lindrel::engine {

namespace {

#if defined(__SSE2__)
inline __m128i Load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

inline bool SameBlock(__m128i x, __m128i y) {
  return _mm_movemask_epi8(_mm_cmpeq_epi8(x, y)) == 0xFFFF;
}

inline bool HasTextModeByte(__m128i x) {
  const __m128i found = _mm_or_si128(_mm_cmpeq_epi8(x, _mm_set1_epi8('\r')),
                                     _mm_cmpeq_epi8(x, _mm_set1_epi8('\x1a')));
  return _mm_movemask_epi8(found) != 0;
}
#else
inline bool SameBlock(const char* x, const char* y) { return std::memcmp(x, y, kEqualBlock) == 0; }

inline bool HasTextModeByte(const char* p) {
  return std::memchr(p, '\r', kEqualBlock) != nullptr ||
         std::memchr(p, '\x1a', kEqualBlock) != nullptr;
}

inline std::size_t LineFeedsOf(const char* p) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < kEqualBlock; ++i) n += p[i] == '\n';
  return n;
}
#endif

}  // namespace

std::size_t EqualBlocks(const char* a, const char* b, std::size_t from, std::size_t to,
                        bool textMode, std::size_t& lineFeeds) {
  std::size_t p = from;
#if defined(__SSE2__)
  const __m128i feed = _mm_set1_epi8('\n');
  bool differs = false;
  while (!differs && to >= p + kEqualBlock) {
    // Byte lanes count up to 255 blocks before they are summed.
    __m128i counts = _mm_setzero_si128();
    for (int n = 0; n < 255 && to >= p + kEqualBlock; ++n, p += kEqualBlock) {
      const __m128i x = Load(a + p);
      if (!SameBlock(x, Load(b + p)) || (textMode && HasTextModeByte(x))) {
        differs = true;
        break;
      }
      counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(x, feed));
    }
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    lineFeeds += static_cast<std::size_t>(_mm_cvtsi128_si32(sums) +
                                          _mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
  }
#else
  for (; to >= p + kEqualBlock && SameBlock(a + p, b + p) && !(textMode && HasTextModeByte(a + p));
       p += kEqualBlock) {
    lineFeeds += LineFeedsOf(a + p);
  }
#endif
  return p;
}

std::size_t EqualBlocksAtEnd(const char* a, const char* b, std::size_t count, bool textMode) {
  std::size_t equal = 0;
  while (count - equal >= kEqualBlock) {
    const std::size_t at = count - equal - kEqualBlock;
#if defined(__SSE2__)
    const __m128i x = Load(a + at);
    const bool same = SameBlock(x, Load(b + at)) && !(textMode && HasTextModeByte(x));
#else
    const bool same = SameBlock(a + at, b + at) && !(textMode && HasTextModeByte(a + at));
#endif
    if (!same) break;
    equal += kEqualBlock;
  }
  return equal;
}

}  // namespace lindrel::engine
