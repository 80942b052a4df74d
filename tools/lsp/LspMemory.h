// LspMemory: giving memory the server freed back to the system.
#pragma once

namespace nimbo {
namespace lsp {

// Returns the free pages the allocator keeps to the system where it can
// (glibc keeps freed small blocks in its heap, so a closed large document
// would leave the process as large as it was); nothing elsewhere. Costs a
// walk over the free lists: for after freeing much, not after every message.
void ReleaseFreeMemory();

}  // namespace lsp
}  // namespace nimbo
