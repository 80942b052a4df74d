// nimbo_bench_lsp_memory: the heap that the generated workspace costs, in a
// process of its own per mode, counted at operator new (CString's pools
// take their chunks there too).
//
// Usage: nimbo_bench_lsp_memory catalogue|server
//   catalogue: CZoFuncInfoUser::Init over the workspace's scripts; prints
//              "catalogue <bytes the catalogue holds> <functions>".
//   server:    the language server with the workspace open (initialize,
//              initialized, a document open, a signature help, references
//              that read every script's call sites); prints "server <peak bytes>
//              <bytes held at the end> <functions>".
// Bytes are counted from just before the work (the host's script list of
// the catalogue mode excluded: the server keeps its own).
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "LspWorkspace.h"
#include "module/NimboInit.h"
#include "module/SharedCatalogs.h"
#include "obrin/CProjectManagerObject.h"
#include "tools/lsp/CLspServer.h"

namespace {

std::atomic<size_t> g_nCurrent{0};
std::atomic<size_t> g_nPeak{0};
const size_t kHeader = 16;  // keeps the block's size; keeps new's alignment

void* Allocate(size_t nSize) {
  char* pBlock = static_cast<char*>(std::malloc(nSize + kHeader));
  if (pBlock == nullptr) throw std::bad_alloc();
  std::memcpy(pBlock, &nSize, sizeof nSize);
  const size_t nNow = g_nCurrent.fetch_add(nSize) + nSize;
  size_t nPeak = g_nPeak.load();
  while (nNow > nPeak && !g_nPeak.compare_exchange_weak(nPeak, nNow)) {
  }
  return pBlock + kHeader;
}

void Release(void* p) {
  if (p == nullptr) return;
  char* pBlock = static_cast<char*>(p) - kHeader;
  size_t nSize = 0;
  std::memcpy(&nSize, pBlock, sizeof nSize);
  g_nCurrent.fetch_sub(nSize);
  std::free(pBlock);
}

}  // namespace

void* operator new(size_t nSize) { return Allocate(nSize); }
void* operator new[](size_t nSize) { return Allocate(nSize); }
void* operator new(size_t nSize, const std::nothrow_t&) noexcept {
  try {
    return Allocate(nSize);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t nSize, const std::nothrow_t& tag) noexcept { return operator new(nSize, tag); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

int main(int argc, char** argv) {
  const std::string strMode = argc == 2 ? argv[1] : "";
  if (strMode != "catalogue" && strMode != "server") {
    std::fprintf(stderr, "usage: nimbo_bench_lsp_memory catalogue|server\n");
    return 2;
  }
  NimboInit();
  const CLspWorkspace& workspace = LspWorkspace();
  if (strMode == "catalogue") {
    CProjectManagerObject manager;
    manager.OpenProject(workspace.strRoot.c_str());
    for (const std::string& strPath : workspace.scripts)
      manager.GetScriptBrowser()->AddScript(strPath.substr(workspace.strRoot.size() + 1).c_str(), strPath.c_str());
    const size_t nBefore = g_nCurrent.load();
    g_FuncInfoUser.Init(&manager);
    std::printf("catalogue %zu %zu\n", g_nCurrent.load() - nBefore, g_FuncInfoUser.size());
    return g_FuncInfoUser.size() == workspace.nFunctions ? 0 : 1;
  }
  const size_t nBefore = g_nCurrent.load();
  g_nPeak.store(nBefore);
  std::string strLast;
  {
    nimbo::lsp::CLspOptions options;
    options.strPrograms = NIMBO_SOURCE_DIR "/samples/Programs";
    nimbo::lsp::CLspServer server(
        options, [&strLast](const std::string& strBody) { strLast = strBody; }, [](const std::string&) {});
    server.HandleMessage(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"rootUri":"file://)" +
                         workspace.strRoot + R"(","capabilities":{}}})");
    server.HandleMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
    server.HandleMessage(
        R"({"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"file:///bench/open.nsc","languageId":"nimbo","version":1,"text":"x = FnSave4999_9("}}})");
    server.HandleMessage(
        R"({"jsonrpc":"2.0","id":2,"method":"textDocument/signatureHelp","params":{"textDocument":{"uri":"file:///bench/open.nsc"},"position":{"line":0,"character":17}}})");
    const std::string strSignature = strLast;
    // References read every script's call sites, which the server then keeps.
    server.HandleMessage(
        R"({"jsonrpc":"2.0","id":3,"method":"textDocument/references","params":{"textDocument":{"uri":"file:///bench/open.nsc"},"position":{"line":0,"character":6},"context":{"includeDeclaration":true}}})");
    if (strLast.find("\"uri\"") == std::string::npos) strLast.clear();
    else strLast = strSignature;
    std::printf("server %zu %zu %zu\n", g_nPeak.load() - nBefore, g_nCurrent.load() - nBefore, g_FuncInfoUser.size());
  }
  return strLast.find("FnSave4999_9(nFirst, szSecond)") != std::string::npos ? 0 : 1;
}
