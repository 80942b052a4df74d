// Single-byte code page implementation of the multibyte string routines.
#include "CrtMbString.h"

namespace {

inline unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

int _mbscmp(const unsigned char* a, const unsigned char* b) {
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

int _mbsicmp(const unsigned char* a, const unsigned char* b) {
  // Folding to lower case matches the C runtime: '_' (0x5F) sorts after
  // letters, as it does on Windows.
  // Equal bytes need no folding (the common case in sorted name indexes).
  for (;; ++a, ++b) {
    unsigned char ca = *a;
    unsigned char cb = *b;
    if (ca == cb) {
      if (ca == 0) return 0;
      continue;
    }
    ca = FoldAscii(ca);
    cb = FoldAscii(cb);
    if (ca != cb || ca == 0) return static_cast<int>(ca) - static_cast<int>(cb);
  }
}

size_t _mbslen(const unsigned char* s) {
  size_t n = 0;
  while (s[n] != 0) ++n;
  return n;
}
