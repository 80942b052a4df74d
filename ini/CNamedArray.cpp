// The name ordering of the INI document store.
#include "ini/CNamedArray.h"

#include <cstdint>
#include <cstring>

#include "MbString.h"

namespace {

inline uint64_t Load8(const char* p) {
  uint64_t n;
  std::memcpy(&n, p, sizeof n);
  return n;
}

inline bool HasZeroByte(uint64_t n) { return ((n - 0x0101010101010101ULL) & ~n & 0x8080808080808080ULL) != 0; }

}  // namespace

bool CNoCaseLess::operator()(const CString& a, const CString& b) const {
  // Names in one index often share long leading parts ("section0001...").
  // Equal bytes need no folding, so they are skipped eight at a time; the
  // byte-wise comparison takes over at the first word that differs. Both
  // texts hold their terminating zero, so the words read stay inside them.
  // An equal word holding a zero byte ends both names there: as C strings
  // they are the same name.
  const char* pa = a;
  const char* pb = b;
  const size_t nCommon = static_cast<size_t>(a.GetLength() < b.GetLength() ? a.GetLength() : b.GetLength()) + 1;
  size_t i = 0;
  for (; i + 8 <= nCommon; i += 8) {
    const uint64_t nWord = Load8(pa + i);
    if (nWord != Load8(pb + i)) break;
    if (HasZeroByte(nWord)) return false;
  }
  return _mbsicmp(reinterpret_cast<const unsigned char*>(pa + i), reinterpret_cast<const unsigned char*>(pb + i)) < 0;
}
