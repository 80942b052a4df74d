// LspPortableWatcher: the watcher of systems without a change notification
// backend here: the poll of file stamps.
#include "tools/lsp/CLspWatcher.h"

namespace nimbo {
namespace lsp {

std::unique_ptr<CLspWatcher> CreateLspWatcher() { return CreatePollingWatcher(); }

}  // namespace lsp
}  // namespace nimbo
