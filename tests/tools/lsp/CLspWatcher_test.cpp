// Both watcher backends keep one contract: a script written in the tree, a
// folder made with a script in it, and a single watched file outside the
// tree are reported; skipped folders are not walked.
#include "tools/lsp/CLspWatcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <set>

#include "CScratchDir.h"

namespace {

using nimbo::lsp::CLspWatcher;

typedef std::unique_ptr<CLspWatcher> (*PFNMAKEWATCHER)();

class LspWatcher : public ::testing::TestWithParam<PFNMAKEWATCHER> {
 protected:
  // Whether a report naming strPath (or, with bUnder, something below it) comes within a generous wait.
  bool Reported(const std::string& strPath, bool bUnder = false) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(20), [&] {
      for (const std::string& strSeen : m_seen)
        if (strSeen == strPath || (bUnder && strSeen.compare(0, strPath.size(), strPath) == 0)) return true;
      return false;
    });
  }
  CLspWatcher::PFNCHANGED Callback() {
    return [this](std::vector<std::string> paths) {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_seen.insert(paths.begin(), paths.end());
      m_changed.notify_all();
    };
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::set<std::string> m_seen;
};

TEST_P(LspWatcher, ReportsScriptsFoldersAndSingleFiles) {
  CScratchDir scratch;
  scratch.MakeDir("tree");
  scratch.MakeDir("tree/.hidden");
  scratch.MakeDir("Programs");
  scratch.Write("tree/a.nsc", "function A() { }\n");
  std::unique_ptr<CLspWatcher> pWatcher = GetParam()();
  std::string strError;
  ASSERT_TRUE(pWatcher->Start(nimbo::lsp::CLspFolderFilter(scratch.PathOf("tree"), {}),
                              {scratch.PathOf("Programs/funcwiz.ini")}, Callback(), strError))
      << strError;
  // Stamps of the poll count in whole ticks of the file system: a new size makes the change certain.
  scratch.Write("tree/a.nsc", "function A(nChanged) { }\n");
  EXPECT_TRUE(Reported(scratch.PathOf("tree/a.nsc")));
  scratch.Write("Programs/funcwiz.ini", "[FuncWiz - Category - All]\n");
  EXPECT_TRUE(Reported(scratch.PathOf("Programs/funcwiz.ini")));
  scratch.MakeDir("tree/later");
  scratch.Write("tree/later/b.nsc", "function B() { }\n");
  EXPECT_TRUE(Reported(scratch.PathOf("tree/later"), true));
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_seen.clear();
  }
  scratch.Remove("tree/a.nsc");
  EXPECT_TRUE(Reported(scratch.PathOf("tree/a.nsc")));
  pWatcher.reset();  // stops its thread before the callback's owner goes
}

INSTANTIATE_TEST_SUITE_P(Backends, LspWatcher,
                         ::testing::Values(&nimbo::lsp::CreateLspWatcher, &nimbo::lsp::CreatePollingWatcher),
                         [](const ::testing::TestParamInfo<PFNMAKEWATCHER>& info) {
                           return info.index == 0 ? std::string("Default") : std::string("Polling");
                         });

}  // namespace
