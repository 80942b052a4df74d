// The name ordering of the INI document store.
#include "ini/CNamedArray.h"

#include <cstdint>
#include <cstring>

#include "CrtMbString.h"

namespace {

inline uint64_t Load8(const unsigned char* p) {
  uint64_t n;
  std::memcpy(&n, p, sizeof n);
  return n;
}

inline bool HasZeroByte(uint64_t n) { return ((n - 0x0101010101010101ULL) & ~n & 0x8080808080808080ULL) != 0; }

bool IsLittleEndian() {
  const uint16_t n = 1;
  unsigned char c;
  std::memcpy(&c, &n, 1);
  return c == 1;
}

// The index (0 to 7) of the first byte in memory order that is not zero in
// a word loaded from memory; nDiffer is not 0.
inline size_t FirstNonZeroByte(uint64_t nDiffer) {
  if (IsLittleEndian()) {
    // The lowest set bit, found by a de Bruijn multiplication.
    static const unsigned char kBitIndex[64] = {0,  1,  48, 2,  57, 49, 28, 3,  61, 58, 50, 42, 38, 29, 17, 4,
                                                62, 55, 59, 36, 53, 51, 43, 22, 45, 39, 33, 30, 24, 18, 12, 5,
                                                63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21, 44, 32, 23, 11,
                                                46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9,  13, 8,  7,  6};
    return kBitIndex[((nDiffer & (0 - nDiffer)) * 0x03f79d71b4cb0a89ULL) >> 58] / 8;
  }
  size_t i = 0;
  while ((nDiffer >> (56 - 8 * i) & 0xFF) == 0) ++i;
  return i;
}

}  // namespace

bool CNoCaseLess::operator()(const CString& a, const CString& b) const {
  // Names in one index often share long leading parts ("section0001...").
  // Equal bytes need no folding, so whole words are compared until one
  // differs, and _mbsicmp decides from the first byte that differs. Both
  // texts hold their terminating zero, so the words read stay inside them;
  // a word of the first name that holds a zero byte (its end, or a zero
  // inside) is left to _mbsicmp, which stops there as C strings do.
  const unsigned char* pa = reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(a));
  const unsigned char* pb = reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(b));
  const size_t nCommon = static_cast<size_t>(a.GetLength() < b.GetLength() ? a.GetLength() : b.GetLength()) + 1;
  size_t i = 0;
  for (; i + 8 <= nCommon; i += 8) {
    const uint64_t nWord = Load8(pa + i);
    if (HasZeroByte(nWord)) break;
    const uint64_t nDiffer = nWord ^ Load8(pb + i);
    if (nDiffer != 0) {
      i += FirstNonZeroByte(nDiffer);
      break;
    }
  }
  return _mbsicmp(pa + i, pb + i) < 0;
}
