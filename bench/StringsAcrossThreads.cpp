// StringsAcrossThreads: a producer and a consumer of pooled strings.
#include "StringsAcrossThreads.h"

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "CString.h"

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string strLine;
  while (std::getline(status, strLine))
    if (strLine.compare(0, 6, "VmRSS:") == 0) return std::stol(strLine.substr(6));
  return -1;
}

}  // namespace

CResidentGrowth StringsAcrossThreads(long nStrings) {
  const long kBatch = 1000;
  const size_t kMaxBatches = 10;
  CResidentGrowth growth;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::vector<CString>> queue;
  bool bDone = false;
  std::thread consumer([&] {
    for (;;) {
      std::vector<CString> batch;
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return !queue.empty() || bDone; });
        if (queue.empty()) return;
        batch = std::move(queue.back());
        queue.pop_back();
      }
      changed.notify_all();
      batch.clear();  // freed here, on the consumer's thread
    }
  });
  for (long nMade = 0; nMade < nStrings; nMade += kBatch) {
    std::vector<CString> batch;
    batch.reserve(static_cast<size_t>(kBatch));
    for (long i = 0; i < kBatch; ++i) batch.emplace_back('x', static_cast<int>((nMade + i) % 200));
    {
      std::unique_lock<std::mutex> lock(mutex);
      changed.wait(lock, [&] { return queue.size() < kMaxBatches; });
      queue.push_back(std::move(batch));
    }
    changed.notify_all();
    if (nMade + kBatch == 1000000) growth.nFirstKiB = ResidentKiB();
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    bDone = true;
  }
  changed.notify_all();
  consumer.join();
  growth.nEndKiB = ResidentKiB();
  return growth;
}
