// CFixedAlloc: per-thread free lists over chunks that are carved on demand.
#include "CFixedAlloc.h"

#include <atomic>

namespace {

const size_t kClasses = CFixedAlloc::kMaxPooledBytes / CFixedAlloc::kGranule;
// A pool's chunks grow from the first size to the last, so that a program
// that makes few strings keeps little, and one that makes millions takes
// memory in few steps.
const size_t kFirstChunkBytes = 1024;
const size_t kLastChunkBytes = 64 * 1024;

struct FREE_BLOCK {
  FREE_BLOCK* pNext;
};

// Every chunk starts with a link to the chunk made before it; the list's
// head is a plain global, so that every chunk stays reachable (leak checkers
// do not count the pools' memory as lost) and nothing is ever destroyed.
struct CHUNK_HEADER {
  CHUNK_HEADER* pPrevious;
  size_t nPadding;  // keeps the blocks after the header 16-byte aligned
};
std::atomic<CHUNK_HEADER*> g_pLastChunk{nullptr};

// One thread's pools, made on the thread's first request. A thread that
// ends leaves its pools behind with their chunks; like the chunks they stay
// linked from a global list.
struct THREAD_POOLS {
  FREE_BLOCK* apFree[kClasses];
  char* apCarve[kClasses];      // the next block not yet handed out in the current chunk
  char* apCarveEnd[kClasses];   // the end of the current chunk
  size_t anChunkBytes[kClasses];
  THREAD_POOLS* pPrevious;      // the pools made before these
};
std::atomic<THREAD_POOLS*> g_pLastPools{nullptr};
// Only a pointer is thread-local: it is cheap to reach from a shared
// library, whatever the model of thread-local storage the build chooses.
thread_local THREAD_POOLS* t_pPools = nullptr;

THREAD_POOLS& NewPools() {
  THREAD_POOLS* pPools = new THREAD_POOLS();
  pPools->pPrevious = g_pLastPools.load(std::memory_order_relaxed);
  while (!g_pLastPools.compare_exchange_weak(pPools->pPrevious, pPools, std::memory_order_release,
                                             std::memory_order_relaxed)) {
  }
  t_pPools = pPools;
  return *pPools;
}

inline THREAD_POOLS& Pools() {
  THREAD_POOLS* pPools = t_pPools;
  return pPools != nullptr ? *pPools : NewPools();
}

// Takes a new chunk for a class and hands out its first block.
void* Carve(THREAD_POOLS& pools, size_t nClass) {
  const size_t nBlock = (nClass + 1) * CFixedAlloc::kGranule;
  if (static_cast<size_t>(pools.apCarveEnd[nClass] - pools.apCarve[nClass]) < nBlock) {
    size_t nBytes = pools.anChunkBytes[nClass];
    nBytes = nBytes == 0 ? kFirstChunkBytes : nBytes < kLastChunkBytes ? 2 * nBytes : nBytes;
    pools.anChunkBytes[nClass] = nBytes;
    CHUNK_HEADER* pChunk = static_cast<CHUNK_HEADER*>(::operator new(sizeof(CHUNK_HEADER) + nBytes));
    pChunk->pPrevious = g_pLastChunk.load(std::memory_order_relaxed);
    while (!g_pLastChunk.compare_exchange_weak(pChunk->pPrevious, pChunk, std::memory_order_release,
                                               std::memory_order_relaxed)) {
    }
    pools.apCarve[nClass] = reinterpret_cast<char*>(pChunk + 1);
    pools.apCarveEnd[nClass] = pools.apCarve[nClass] + nBytes / nBlock * nBlock;
  }
  void* p = pools.apCarve[nClass];
  pools.apCarve[nClass] += nBlock;
  return p;
}

}  // namespace

void* CFixedAlloc::Alloc(size_t nBytes) {
  if (nBytes > kMaxPooledBytes) return ::operator new(nBytes);
  const size_t nClass = nBytes == 0 ? 0 : (nBytes - 1) / kGranule;
  THREAD_POOLS& pools = Pools();
  FREE_BLOCK* pBlock = pools.apFree[nClass];
  if (pBlock == nullptr) return Carve(pools, nClass);
  FREE_BLOCK* pNext = pBlock->pNext;
  pools.apFree[nClass] = pNext;
  // Freed blocks lie scattered over the pool's chunks: the block the next
  // request of this size will take is fetched into the cache now, while the
  // caller fills this one, instead of when that request waits for it.
  __builtin_prefetch(pNext, 1);
  return pBlock;
}

void CFixedAlloc::Free(void* p, size_t nBytes) noexcept {
  if (p == nullptr) return;
  if (nBytes > kMaxPooledBytes) {
    ::operator delete(p);
    return;
  }
  const size_t nClass = nBytes == 0 ? 0 : (nBytes - 1) / kGranule;
  THREAD_POOLS& pools = Pools();
  FREE_BLOCK* pBlock = static_cast<FREE_BLOCK*>(p);
  pBlock->pNext = pools.apFree[nClass];
  pools.apFree[nClass] = pBlock;
}
