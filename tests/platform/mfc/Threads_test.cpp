// Documents and strings crossing threads, as a host's worker threads use
// them: documents loaded on one thread and read and freed on another,
// strings shared between threads, and threads that end while strings they
// made live on elsewhere. Run under ThreadSanitizer by the test command.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "CString.h"
#include "ini/CIniFile.h"

namespace {

const int kSections = 20;
const int kKeys = 50;

std::string ValueOf(int nSection, int nKey) { return "value " + std::to_string(nSection * kKeys + nKey); }

// A queue that hands objects from threads to threads.
template <class T>
class CHandOver {
 public:
  void Put(T item) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_items.push_back(std::move(item));
    }
    m_changed.notify_one();
  }
  T Take() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_items.empty(); });
    T item = std::move(m_items.front());
    m_items.erase(m_items.begin());
    return item;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<T> m_items;
};

class Threads : public ::testing::Test {
 protected:
  void SetUp() override {
    m_strPath = (std::filesystem::temp_directory_path() / ("nimbo-threads-" + std::to_string(std::random_device()()) + ".ini")).string();
    std::ofstream out(m_strPath, std::ios::binary);
    for (int s = 0; s < kSections; ++s) {
      out << "[s" << s << "]\r\n";
      for (int k = 0; k < kKeys; ++k) out << "k" << k << "=" << ValueOf(s, k) << "\r\n";
    }
  }
  void TearDown() override { std::remove(m_strPath.c_str()); }
  std::string m_strPath;
};

// Loaders load documents and hand them over; readers check every value,
// keep copies of some, and free the documents. The copies outlive both.
TEST_F(Threads, DocumentsLoadedOnOneThreadAreReadAndFreedOnAnother) {
  const int kLoaders = 3, kPerLoader = 8;
  CHandOver<std::unique_ptr<CIniFile>> documents;
  std::mutex mutex;
  std::vector<CString> kept;
  std::vector<std::thread> threads;
  for (int i = 0; i < kLoaders; ++i)
    threads.emplace_back([&] {
      for (int n = 0; n < kPerLoader; ++n) {
        auto pDocument = std::make_unique<CIniFile>();
        EXPECT_TRUE(pDocument->Load(m_strPath.c_str(), false));
        documents.Put(std::move(pDocument));
      }
    });
  int nBad = 0;
  for (int i = 0; i < kLoaders; ++i)
    threads.emplace_back([&] {
      for (int n = 0; n < kPerLoader; ++n) {
        std::unique_ptr<CIniFile> pDocument = documents.Take();
        std::vector<CString> mine;
        for (int s = 0; s < kSections; ++s)
          for (int k = 0; k < kKeys; ++k) {
            const CString strValue = pDocument->GetString("s" + CString(std::to_string(s)), "k" + CString(std::to_string(k)), "");
            if (strValue != CString(ValueOf(s, k))) {
              std::lock_guard<std::mutex> lock(mutex);
              ++nBad;
            }
            if (k == n) mine.push_back(strValue);
          }
        pDocument.reset();
        std::lock_guard<std::mutex> lock(mutex);
        kept.insert(kept.end(), mine.begin(), mine.end());
      }
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(nBad, 0);
  ASSERT_EQ(kept.size(), static_cast<size_t>(kLoaders * kPerLoader * kSections));
  for (const CString& str : kept) EXPECT_EQ(str.Left(6), "value ");
}

// A thread per task: each builds a document and a few strings, hands
// copies to the main thread and ends; the main thread uses and frees them
// after the threads that made them are gone. One string is shared by all.
TEST_F(Threads, ThreadsEndWhileTheirStringsLiveOn) {
  const CString strShared("a text every thread copies and changes its copy of");
  std::vector<std::vector<CString>> results(40);
  for (size_t nRound = 0; nRound < results.size(); nRound += 4) {
    std::vector<std::thread> threads;
    for (size_t i = nRound; i < nRound + 4; ++i)
      threads.emplace_back([&, i] {
        CIniFile document;
        for (int k = 0; k < 2000; ++k) document.SetString("task", "k" + CString(std::to_string(k)), CString(std::to_string(k + static_cast<int>(i))));
        CString strMine = strShared;
        strMine += CString(std::to_string(i));
        results[i] = {document.GetString("task", "k7", ""), strMine, strShared};
      });
    for (std::thread& thread : threads) thread.join();
  }
  for (size_t i = 0; i < results.size(); ++i) {
    EXPECT_EQ(results[i][0], CString(std::to_string(7 + static_cast<int>(i))));
    EXPECT_EQ(results[i][1], strShared + CString(std::to_string(i)));
    EXPECT_EQ(results[i][2], strShared);
  }
  results.clear();
}

}  // namespace
