// CLspWatcher: watches files for the server where the client cannot (its
// editor has no file watching, or does not watch outside the project).
// The build picks one backend (watcher/): the system's change notification
// where there is one, a poll of file stamps elsewhere.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/lsp/LspProjectFiles.h"

namespace nimbo {
namespace lsp {

class CLspWatcher {
 public:
  typedef std::function<void(std::vector<std::string>)> PFNCHANGED;

  virtual ~CLspWatcher() = default;  // stops watching; no call of the callback is running or follows

  // Watches the scripts of filter's tree (none when its root is empty) and
  // the given files (which need not exist yet), and calls pfnChanged from
  // the watcher's own thread with paths that may have changed (written,
  // created, deleted, renamed; a folder stands for everything below it)
  // within about a second. Call once. False with strError when the system
  // refuses; the watcher then reports nothing.
  virtual bool Start(const CLspFolderFilter& filter, const std::vector<std::string>& files, PFNCHANGED pfnChanged,
                     std::string& strError) = 0;
};

// A watcher of the backend the build chose for this system.
std::unique_ptr<CLspWatcher> CreateLspWatcher();
// The portable backend, built everywhere: compares file stamps twice a second.
std::unique_ptr<CLspWatcher> CreatePollingWatcher();

}  // namespace lsp
}  // namespace nimbo
