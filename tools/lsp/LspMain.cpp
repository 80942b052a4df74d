// LspMain: arguments, and the loop from standard input through the server
// to standard output.
#include "tools/lsp/LspMain.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "module/NimboInit.h"
#include "tools/lsp/CLspMessageReader.h"
#include "tools/lsp/CLspServer.h"

namespace {

const char kUsage[] = "usage: nimbo lsp [--programs DIR] [--project DIR]";

void Log(const std::string& strLine) { std::fprintf(stderr, "nimbo lsp: %s\n", strLine.c_str()); }

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

bool ParseArguments(const std::vector<std::string>& args, nimbo::lsp::CLspOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string* pValue = nullptr;
    std::string strValue;
    for (const char* pszName : {"--programs", "--project"}) {
      const std::string strName = pszName;
      std::string* pTarget = strName == "--programs" ? &options.strPrograms : &options.strProject;
      if (args[i] == strName) {
        if (i + 1 >= args.size()) {
          Log("option " + strName + " needs a directory (" + kUsage + ")");
          return false;
        }
        pValue = pTarget;
        strValue = args[++i];
      } else if (args[i].compare(0, strName.size() + 1, strName + "=") == 0) {
        pValue = pTarget;
        strValue = args[i].substr(strName.size() + 1);
      }
    }
    if (pValue == nullptr) {
      Log("unexpected argument '" + args[i] + "' (" + kUsage + ")");
      return false;
    }
    if (!IsDirectory(strValue)) {
      Log("not a directory: " + strValue);
      return false;
    }
    *pValue = strValue;
  }
  return true;
}

}  // namespace

int RunLspCommand(const std::vector<std::string>& args, const std::string& strBundledPrograms) {
  nimbo::lsp::CLspOptions options;
  if (!ParseArguments(args, options)) return 2;
  if (options.strPrograms.empty()) {
    const char* pszEnv = std::getenv("NIMBO_PROGRAMS");
    if (pszEnv != nullptr) options.strPrograms = pszEnv;
  }
  options.strBundledPrograms = strBundledPrograms;
  signal(SIGPIPE, SIG_IGN);  // a client that goes away shows as a failed write
  NimboInit();               // as a host does once after loading the module

  bool bOutputOk = true;
  nimbo::lsp::CLspServer server(
      options,
      [&bOutputOk](const std::string& strBody) {
        bOutputOk = bOutputOk && WriteAll(nimbo::lsp::FrameMessage(strBody));
      },
      Log);
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
      if (eResult == nimbo::lsp::CLspMessageReader::resultSkipped) {
        Log(strProblem);
        continue;
      }
      server.HandleMessage(strBody);
      if (server.ExitRequested()) return server.ExitStatus();
      if (!bOutputOk) {
        Log("the client closed the output");
        return 1;
      }
    }
  }
  if (reader.Pending() > 0) Log("input ended inside a message");
  Log("input ended without exit");
  return 1;
}
