// The pools give blocks back wherever they are freed: a block freed on
// another thread, or left free by a thread that ended, serves the next
// request of its size on any thread; and AddressSanitizer sees a freed
// block as freed.
#include "CFixedAlloc.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "CString.h"

namespace {

// A size no other test of this program asks for much.
const size_t kBytes = 232;
const size_t kBlocks = 20000;

std::vector<void*> AllocMany(size_t nBlocks) {
  std::vector<void*> blocks;
  for (size_t i = 0; i < nBlocks; ++i) blocks.push_back(CFixedAlloc::Alloc(kBytes));
  return blocks;
}

size_t CountReused(const std::vector<void*>& blocks, const std::set<void*>& earlier) {
  size_t nReused = 0;
  for (void* p : blocks) nReused += earlier.count(p);
  return nReused;
}

void FreeAll(const std::vector<void*>& blocks) {
  for (void* p : blocks) CFixedAlloc::Free(p, kBytes);
}

// One thread makes, another frees: the maker's next blocks are the freed
// ones (but for what the freeing thread keeps at hand), not new memory.
TEST(FixedAllocThreads, BlocksFreedOnAnotherThreadAreReused) {
  std::vector<void*> first, second;
  std::thread maker([&] {
    first = AllocMany(kBlocks);
    std::thread([&] { FreeAll(first); }).join();
    second = AllocMany(kBlocks);
  });
  maker.join();
  EXPECT_GE(CountReused(second, std::set<void*>(first.begin(), first.end())), kBlocks * 9 / 10);
  FreeAll(second);
}

// A thread that ends gives its free blocks back: a thread started after it
// takes them instead of new memory.
TEST(FixedAllocThreads, BlocksOfAnEndedThreadAreReused) {
  std::vector<void*> first, second;
  std::thread([&] {
    first = AllocMany(kBlocks);
    FreeAll(first);
  }).join();
  std::thread([&] { second = AllocMany(kBlocks); }).join();
  EXPECT_GE(CountReused(second, std::set<void*>(first.begin(), first.end())), kBlocks * 9 / 10);
  std::thread([&] { FreeAll(second); }).join();
}

#if defined(__SANITIZE_ADDRESS__)
const bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
const bool kAddressSanitizer = true;
#else
const bool kAddressSanitizer = false;
#endif
#else
const bool kAddressSanitizer = false;
#endif

const char* ReadAfterFree() {
  const char* psz;
  {
    CString str("short");
    psz = str;
  }
  return psz;
}

TEST(FixedAllocDeathTest, ReadingAFreedShortStringIsReported) {
  if (!kAddressSanitizer) GTEST_SKIP() << "only AddressSanitizer builds see inside the pools";
  EXPECT_DEATH(
      {
        volatile char ch = ReadAfterFree()[1];
        (void)ch;
      },
      "use-after-poison");
}

}  // namespace
