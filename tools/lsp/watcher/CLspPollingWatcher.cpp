// CLspPollingWatcher: the portable watcher: lists the tree and takes the
// stamps of the watched files twice a second, and reports what differs.
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "tools/lsp/CLspWatcher.h"

namespace nimbo {
namespace lsp {

namespace {

class CLspPollingWatcher : public CLspWatcher {
 public:
  CLspPollingWatcher() = default;
  CLspPollingWatcher(const CLspPollingWatcher&) = delete;  // owns a thread
  CLspPollingWatcher& operator=(const CLspPollingWatcher&) = delete;
  ~CLspPollingWatcher() override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_bStop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
  }

  bool Start(const CLspFolderFilter& filter, const std::vector<std::string>& files, PFNCHANGED pfnChanged,
             std::string&) override {
    m_filter = filter;
    m_files = files;
    m_pfnChanged = std::move(pfnChanged);
    m_stamps = Snapshot();
    m_thread = std::thread([this] { Run(); });
    return true;
  }

 private:
  typedef std::map<std::string, CLspStamp> CStamps;

  CStamps Snapshot() const {
    CStamps stamps;
    CLspStamp stamp;
    for (const std::string& strRoot : m_filter.Roots())
      for (const std::string& strPath : ListScripts(strRoot, m_filter))
        if (StampOf(strPath, stamp)) stamps[strPath] = stamp;
    for (const std::string& strPath : m_files)
      if (StampOf(strPath, stamp)) stamps[strPath] = stamp;
    return stamps;
  }

  void Run() {
    for (;;) {
      {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_wake.wait_for(lock, std::chrono::milliseconds(500), [this] { return m_bStop; })) return;
      }
      CStamps stamps = Snapshot();
      std::vector<std::string> changed;
      for (const auto& entry : stamps) {
        auto it = m_stamps.find(entry.first);
        if (it == m_stamps.end() || it->second != entry.second) changed.push_back(entry.first);
      }
      for (const auto& entry : m_stamps)
        if (stamps.count(entry.first) == 0) changed.push_back(entry.first);
      m_stamps.swap(stamps);
      if (!changed.empty()) m_pfnChanged(std::move(changed));
    }
  }

  CLspFolderFilter m_filter;
  std::vector<std::string> m_files;
  PFNCHANGED m_pfnChanged;
  CStamps m_stamps;  // the last snapshot; the thread's own
  std::mutex m_mutex;
  std::condition_variable m_wake;
  bool m_bStop = false;
  std::thread m_thread;
};

}  // namespace

std::unique_ptr<CLspWatcher> CreatePollingWatcher() { return std::unique_ptr<CLspWatcher>(new CLspPollingWatcher()); }

}  // namespace lsp
}  // namespace nimbo
