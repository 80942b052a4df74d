// CLspInotifyWatcher: the Linux watcher: one inotify watch per folder of the
// tree (added as folders appear) and one on the folder of each single file.
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <thread>
#include <unordered_map>

#include "tools/lsp/CLspWatcher.h"

namespace nimbo {
namespace lsp {

namespace {

const uint32_t kMask = IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                       IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

std::string ParentOf(const std::string& strPath) {
  const size_t nSlash = strPath.rfind('/');
  return nSlash == std::string::npos || nSlash == 0 ? std::string("/") : strPath.substr(0, nSlash);
}

class CLspInotifyWatcher : public CLspWatcher {
 public:
  CLspInotifyWatcher() = default;
  CLspInotifyWatcher(const CLspInotifyWatcher&) = delete;  // owns descriptors and a thread
  CLspInotifyWatcher& operator=(const CLspInotifyWatcher&) = delete;
  ~CLspInotifyWatcher() override {
    if (m_thread.joinable()) {
      const char chStop = 0;
      if (write(m_stopPipe[1], &chStop, 1) < 0) {
      }
      m_thread.join();
    }
    for (int nFd : {m_nInotify, m_stopPipe[0], m_stopPipe[1]})
      if (nFd >= 0) close(nFd);
  }

  bool Start(const CLspFolderFilter& filter, const std::vector<std::string>& files, PFNCHANGED pfnChanged,
             std::string& strError) override {
    m_filter = filter;
    m_pfnChanged = std::move(pfnChanged);
    m_nInotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_nInotify < 0 || pipe(m_stopPipe) != 0) {
      strError = std::string("cannot watch files: ") + std::strerror(errno);
      return false;
    }
    std::vector<std::string> ignored;
    for (const std::string& strRoot : m_filter.Roots()) AddTree(strRoot, ignored);
    for (const std::string& strFile : files) {
      const int nWatch = inotify_add_watch(m_nInotify, ParentOf(strFile).c_str(), kMask);
      if (nWatch < 0) continue;  // its folder is missing: nothing to see there
      m_watches[nWatch].strDir = ParentOf(strFile);
      m_watches[nWatch].files.insert(strFile.substr(strFile.rfind('/') + 1));
    }
    m_thread = std::thread([this] { Run(); });
    return true;
  }

 private:
  struct CWatch {
    std::string strDir;
    bool bTree = false;           // a folder of the tree: its scripts and folders count
    std::set<std::string> files;  // names of single files watched in it
  };

  // Watches strDir and every folder below it that the filter reads;
  // scripts already there are added to found (they appeared with a folder).
  void AddTree(const std::string& strDir, std::vector<std::string>& found) {
    if (m_filter.SkipsFolder(strDir)) return;
    const int nWatch = inotify_add_watch(m_nInotify, strDir.c_str(), kMask);
    if (nWatch < 0) return;
    m_watches[nWatch].strDir = strDir;
    m_watches[nWatch].bTree = true;
    std::error_code error;
    for (std::filesystem::directory_iterator it(strDir, error), end; !error && it != end; it.increment(error)) {
      std::error_code statusError;
      const std::string strPath = it->path().generic_string();
      if (it->is_directory(statusError) && !it->is_symlink(statusError)) AddTree(strPath, found);
      else if (IsScriptPath(strPath)) found.push_back(strPath);
    }
  }

  void Run() {
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
      pollfd fds[2] = {{m_nInotify, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (fds[1].revents != 0) return;
      std::vector<std::string> changed;
      for (;;) {
        const ssize_t nRead = read(m_nInotify, buffer, sizeof buffer);
        if (nRead <= 0) break;
        for (ssize_t nAt = 0; nAt < nRead;) {
          const inotify_event* pEvent = reinterpret_cast<const inotify_event*>(buffer + nAt);
          OnEvent(*pEvent, changed);
          nAt += static_cast<ssize_t>(sizeof(inotify_event) + pEvent->len);
        }
      }
      if (!changed.empty()) m_pfnChanged(std::move(changed));
    }
  }

  void OnEvent(const inotify_event& event, std::vector<std::string>& changed) {
    if (event.mask & IN_Q_OVERFLOW) {
      // Events were lost: everything may have changed.
      for (const std::string& strRoot : m_filter.Roots()) changed.push_back(strRoot);
      for (const auto& entry : m_watches)
        for (const std::string& strName : entry.second.files) changed.push_back(entry.second.strDir + "/" + strName);
      return;
    }
    auto it = m_watches.find(event.wd);
    if (it == m_watches.end()) return;
    if (event.mask & IN_IGNORED) {
      m_watches.erase(it);
      return;
    }
    if (event.len == 0) return;  // the folder itself went: its parent's event tells
    const CWatch& watch = it->second;
    const std::string strName(event.name);
    const std::string strPath = watch.strDir + "/" + strName;
    if (watch.files.count(strName) != 0) changed.push_back(strPath);
    if (!watch.bTree) return;
    if (event.mask & IN_ISDIR) {
      if (m_filter.SkipsFolder(strPath)) return;
      if (event.mask & (IN_CREATE | IN_MOVED_TO)) AddTree(strPath, changed);
      changed.push_back(strPath);
    } else if (IsScriptPath(strName)) {
      changed.push_back(strPath);
    }
  }

  CLspFolderFilter m_filter;
  PFNCHANGED m_pfnChanged;
  int m_nInotify = -1;
  int m_stopPipe[2] = {-1, -1};
  std::unordered_map<int, CWatch> m_watches;  // by watch descriptor; the thread's own once started
  std::thread m_thread;
};

}  // namespace

std::unique_ptr<CLspWatcher> CreateLspWatcher() { return std::unique_ptr<CLspWatcher>(new CLspInotifyWatcher()); }

}  // namespace lsp
}  // namespace nimbo
