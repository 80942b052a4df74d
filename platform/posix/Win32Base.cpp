// Win32 base services: MulDiv, the tick count and thread identifiers.
#include "Win32Base.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <limits>

#include "internal/WinWindowTable.h"

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
  if (nDenominator == 0) return -1;
  int64_t nProduct = static_cast<int64_t>(nNumber) * nNumerator;
  int64_t nDivisor = nDenominator;
  if (nDivisor < 0) {
    nProduct = -nProduct;
    nDivisor = -nDivisor;
  }
  // Round half away from zero: move the product away from zero by half the
  // divisor before the truncating division.
  int64_t nHalf = nDivisor / 2;
  int64_t nResult = nProduct >= 0 ? (nProduct + nHalf) / nDivisor : (nProduct - nHalf) / nDivisor;
  if (nResult > std::numeric_limits<int>::max() || nResult < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(nResult);
}

DWORD WINAPI GetTickCount() {
  static const auto s_start = std::chrono::steady_clock::now();
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - s_start);
  return static_cast<DWORD>(static_cast<uint64_t>(elapsed.count())) + CSimWindowTable::Get().m_nTickOffset;
}

DWORD WINAPI GetCurrentThreadId() { return static_cast<DWORD>(syscall(SYS_gettid)); }
