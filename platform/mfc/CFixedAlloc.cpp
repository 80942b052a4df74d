// CFixedAlloc: per-thread free lists over chunks that are carved on demand,
// and a shared depot through which freed blocks pass from thread to thread.
#include "CFixedAlloc.h"

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

// Under AddressSanitizer a free block is poisoned until it is handed out
// again, so that a read or write through a pointer to a freed string is
// reported as the system allocator's blocks would be. Only the link of a
// free list is read inside a poisoned block, by the pool itself, after
// unpoisoning it.
#if defined(__SANITIZE_ADDRESS__)
#define NIMBO_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define NIMBO_POOL_ASAN 1
#endif
#endif
#ifdef NIMBO_POOL_ASAN
#include <sanitizer/asan_interface.h>
#define NIMBO_POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define NIMBO_POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define NIMBO_POOL_POISON(p, n) ((void)(p), (void)(n))
#define NIMBO_POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

const size_t kClasses = CFixedAlloc::kMaxPooledBytes / CFixedAlloc::kGranule;
// A pool's chunks grow from the first size to the last, so that a program
// that makes few strings keeps little, and one that makes millions takes
// memory in few steps.
const size_t kFirstChunkBytes = 1024;
const size_t kLastChunkBytes = 64 * 1024;
// A thread keeps at most this many bytes of free blocks of one size; beyond
// that its free list goes to the depot as one batch, where any thread takes
// it when its own list runs dry. A thread that frees what others made (a
// consumer) thus feeds the threads that make (the producers), and one that
// frees what it made itself meets the depot only once per batch.
const size_t kBatchBytes = 32 * 1024;

inline size_t BlockBytes(size_t nClass) { return (nClass + 1) * CFixedAlloc::kGranule; }

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

// One thread's pools, made on the thread's first request. When the thread
// ends, its free blocks go to the depot and the pools themselves (with what
// is left to carve of their chunks) wait for the next thread that starts.
struct THREAD_POOLS {
  FREE_BLOCK* apFree[kClasses];
  size_t anFreeBytes[kClasses]; // the bytes of the blocks on apFree
  char* apCarve[kClasses];      // the next block not yet handed out in the current chunk
  char* apCarveEnd[kClasses];   // the end of the current chunk
  size_t anChunkBytes[kClasses];
  THREAD_POOLS* pPrevious;      // the pools made before these (all stay reachable)
  THREAD_POOLS* pNextIdle;      // on the list of pools of ended threads
};
std::atomic<THREAD_POOLS*> g_pLastPools{nullptr};
// Only a pointer is thread-local on the fast paths: it is cheap to reach
// from a shared library, whatever the model of thread-local storage the
// build chooses.
thread_local THREAD_POOLS* t_pPools = nullptr;

// A list of free blocks of one size, handed over whole.
struct BATCH {
  FREE_BLOCK* pHead;
  size_t nBytes;  // of all its blocks
};

// What the threads share: batches of free blocks by size, and the pools of
// ended threads. Made on first use and never destroyed, so that strings
// freed by static destructors still find it.
struct DEPOT {
  std::mutex mutex;
  std::vector<BATCH> aBatches[kClasses];
  THREAD_POOLS* pIdle = nullptr;
};
// The batches waiting in the depot, by size: read without the lock, so
// that a thread whose list ran dry carves on when the depot is empty.
std::atomic<unsigned> g_anDepotBatches[kClasses];

DEPOT& Depot() {
  static DEPOT* s_pDepot = new DEPOT();
  return *s_pDepot;
}

void PutBatch(size_t nClass, FREE_BLOCK* pHead, size_t nBytes) {
  DEPOT& depot = Depot();
  std::lock_guard<std::mutex> lock(depot.mutex);
  depot.aBatches[nClass].push_back({pHead, nBytes});
  g_anDepotBatches[nClass].fetch_add(1, std::memory_order_relaxed);
}

bool TakeBatch(THREAD_POOLS& pools, size_t nClass) {
  DEPOT& depot = Depot();
  std::lock_guard<std::mutex> lock(depot.mutex);
  std::vector<BATCH>& batches = depot.aBatches[nClass];
  if (batches.empty()) return false;
  pools.apFree[nClass] = batches.back().pHead;
  pools.anFreeBytes[nClass] = batches.back().nBytes;
  batches.pop_back();
  g_anDepotBatches[nClass].fetch_sub(1, std::memory_order_relaxed);
  return true;
}

// Gives an ending thread's free blocks to the depot and its pools to the
// next thread that starts.
void RetirePools() noexcept;

// Registered on a thread's first request: its destructor runs when the
// thread ends. Thread-local objects with destructors cost a check on every
// access, so only the slow path of a new thread touches this one.
struct POOLS_OWNER {
  ~POOLS_OWNER() { RetirePools(); }
  void Register() {}
};
thread_local POOLS_OWNER t_owner;
// Set once the thread's pools were retired: a string freed later on the way
// out (by another thread-local destructor, or a static one on the main
// thread) takes pools again without registering a second owner.
thread_local bool t_bRetired = false;

THREAD_POOLS& NewPools() {
  THREAD_POOLS* pPools = nullptr;
  {
    DEPOT& depot = Depot();
    std::lock_guard<std::mutex> lock(depot.mutex);
    if ((pPools = depot.pIdle) != nullptr) depot.pIdle = pPools->pNextIdle;
  }
  if (pPools == nullptr) {
    pPools = new THREAD_POOLS();
    pPools->pPrevious = g_pLastPools.load(std::memory_order_relaxed);
    while (!g_pLastPools.compare_exchange_weak(pPools->pPrevious, pPools, std::memory_order_release,
                                               std::memory_order_relaxed)) {
    }
  }
  pPools->pNextIdle = nullptr;
  if (!t_bRetired) t_owner.Register();
  t_pPools = pPools;
  return *pPools;
}

void RetirePools() noexcept {
  THREAD_POOLS* pPools = t_pPools;
  t_bRetired = true;
  if (pPools == nullptr) return;
  t_pPools = nullptr;
  try {
    for (size_t nClass = 0; nClass < kClasses; ++nClass) {
      if (pPools->apFree[nClass] == nullptr) continue;
      PutBatch(nClass, pPools->apFree[nClass], pPools->anFreeBytes[nClass]);
      pPools->apFree[nClass] = nullptr;
      pPools->anFreeBytes[nClass] = 0;
    }
  } catch (...) {
    // No room to record a batch: its blocks stay with the pools, which the
    // next thread takes over with them.
  }
  DEPOT& depot = Depot();
  std::lock_guard<std::mutex> lock(depot.mutex);
  pPools->pNextIdle = depot.pIdle;
  depot.pIdle = pPools;
}

inline THREAD_POOLS& Pools() {
  THREAD_POOLS* pPools = t_pPools;
  return pPools != nullptr ? *pPools : NewPools();
}

// Takes a new chunk for a class and hands out its first block.
void* Carve(THREAD_POOLS& pools, size_t nClass) {
  const size_t nBlock = BlockBytes(nClass);
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
    NIMBO_POOL_POISON(pools.apCarve[nClass], static_cast<size_t>(pools.apCarveEnd[nClass] - pools.apCarve[nClass]));
  }
  void* p = pools.apCarve[nClass];
  pools.apCarve[nClass] += nBlock;
  NIMBO_POOL_UNPOISON(p, nBlock);
  return p;
}

// The slow path of Alloc: the thread's list of the class is empty.
void* Refill(THREAD_POOLS& pools, size_t nClass) {
  if (g_anDepotBatches[nClass].load(std::memory_order_relaxed) == 0 || !TakeBatch(pools, nClass))
    return Carve(pools, nClass);
  return CFixedAlloc::Alloc(BlockBytes(nClass));
}

void FreeAfterRetiring(void* p, size_t nClass) noexcept {
  FREE_BLOCK* pBlock = static_cast<FREE_BLOCK*>(p);
  pBlock->pNext = nullptr;
  NIMBO_POOL_POISON(pBlock, BlockBytes(nClass));  // before another thread may take it
  try {
    PutBatch(nClass, pBlock, BlockBytes(nClass));
  } catch (...) {
    // No room to record it: the block is lost, but stays reachable from its chunk.
  }
}

}  // namespace

void* CFixedAlloc::Alloc(size_t nBytes) {
  if (nBytes > kMaxPooledBytes) return ::operator new(nBytes);
  const size_t nClass = nBytes == 0 ? 0 : (nBytes - 1) / kGranule;
  THREAD_POOLS& pools = Pools();
  FREE_BLOCK* pBlock = pools.apFree[nClass];
  if (pBlock == nullptr) return Refill(pools, nClass);
  NIMBO_POOL_UNPOISON(pBlock, BlockBytes(nClass));
  FREE_BLOCK* pNext = pBlock->pNext;
  pools.apFree[nClass] = pNext;
  pools.anFreeBytes[nClass] -= BlockBytes(nClass);
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
  if (t_pPools == nullptr && t_bRetired) {
    // Freed on the way out of a thread whose pools were retired already.
    FreeAfterRetiring(p, nClass);
    return;
  }
  THREAD_POOLS& pools = Pools();
  if (pools.anFreeBytes[nClass] >= kBatchBytes) {
    try {
      PutBatch(nClass, pools.apFree[nClass], pools.anFreeBytes[nClass]);
      pools.apFree[nClass] = nullptr;
      pools.anFreeBytes[nClass] = 0;
    } catch (...) {
      // No room to record the batch: the list grows on instead.
    }
  }
  FREE_BLOCK* pBlock = static_cast<FREE_BLOCK*>(p);
  pBlock->pNext = pools.apFree[nClass];
  pools.apFree[nClass] = pBlock;
  pools.anFreeBytes[nClass] += BlockBytes(nClass);
  NIMBO_POOL_POISON(pBlock, BlockBytes(nClass));
}
