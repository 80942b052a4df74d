// LspMain: arguments, and the two threads of the server: a reader that
// takes the client's messages off standard input as they come (so that a
// cancellation is seen while a request runs), and the worker (this thread)
// that answers them on standard output.
#include "tools/lsp/LspMain.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "module/NimboInit.h"
#include "tools/lsp/CLspMessageReader.h"
#include "tools/lsp/CLspServer.h"
#include "tools/lsp/LspStdio.h"

namespace {

// Called from the reader thread (framing notes) and the worker: one line
// at a time, never two interleaved.
void Log(const std::string& strLine) {
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  std::fprintf(stderr, "nimbo lsp: %s\n", strLine.c_str());
}

bool IsDirectory(const std::string& strPath) {
  struct stat info;
  return stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Writes all of strData to standard output; false when the client is gone.
bool WriteAll(const std::string& strData) {
  size_t nDone = 0;
  while (nDone < strData.size()) {
    const ssize_t nWritten = write(STDOUT_FILENO, strData.data() + nDone, strData.size() - nDone);
    if (nWritten < 0 && errno == EINTR) continue;
    if (nWritten <= 0) return false;
    nDone += static_cast<size_t>(nWritten);
  }
  return true;
}

// The reader thread: frames standard input into the inbox until it ends.
// It holds the inbox, not the server, so the worker may finish first.
void ReadInput(std::shared_ptr<nimbo::lsp::CLspInbox> pInbox) {
  nimbo::lsp::CLspMessageReader reader;
  char buffer[65536];
  for (;;) {
    const ssize_t nRead = read(STDIN_FILENO, buffer, sizeof(buffer));
    if (nRead < 0 && errno == EINTR) continue;
    if (nRead <= 0) break;
    reader.Feed(buffer, static_cast<size_t>(nRead));
    std::string strBody;
    std::string strProblem;
    for (;;) {
      const nimbo::lsp::CLspMessageReader::EResult eResult = reader.Next(strBody, strProblem);
      if (eResult == nimbo::lsp::CLspMessageReader::resultNeedMore) break;
      // A note (a wrong Content-Length, say) may come with a message that
      // was read all the same.
      if (!strProblem.empty()) Log(strProblem);
      if (eResult != nimbo::lsp::CLspMessageReader::resultSkipped) pInbox->PushBody(strBody);
    }
  }
  if (reader.Pending() > 0) Log("input ended inside a message");
  pInbox->PushInputEnded();
}

}  // namespace

int RunLspCommand(const std::string& strPrograms, const std::string& strProject,
                  const std::string& strBundledPrograms) {
  for (const std::string* pDir : {&strPrograms, &strProject}) {
    if (!pDir->empty() && !IsDirectory(*pDir)) {
      Log("not a directory: " + *pDir);
      return 2;
    }
  }
  nimbo::lsp::CLspOptions options;
  options.strPrograms = strPrograms;
  options.strProject = strProject;
  if (options.strPrograms.empty()) {
    const char* pszEnv = std::getenv("NIMBO_PROGRAMS");
    if (pszEnv != nullptr) options.strPrograms = pszEnv;
  }
  options.strBundledPrograms = strBundledPrograms;
  options.bWatchFiles = true;
  PrepareStdio();
  NimboInit();  // as a host does once after loading the module

  bool bOutputOk = true;
  nimbo::lsp::CLspServer server(
      options,
      [&bOutputOk](const std::string& strBody) {
        bOutputOk = bOutputOk && WriteAll(nimbo::lsp::FrameMessage(strBody));
      },
      Log);
  // Detached: after "exit" the process ends without waiting for input to end.
  std::thread(ReadInput, server.Inbox()).detach();
  for (;;) {
    server.RunOne(true);
    if (server.ExitRequested()) return server.ExitStatus();
    if (!bOutputOk) {
      Log("the client closed the output");
      return 1;
    }
    if (server.InputEnded()) {
      Log("input ended without exit");
      return 1;
    }
  }
}
