// Running the built nimbo tool from a test: its exit status and its output.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/RunNimboFiles.h"

namespace nimbotest {

const std::string kNimbo = std::string(NIMBO_BINARY_DIR) + "/tools/nimbo/nimbo";

// A scratch directory under /tmp, removed with the object.
class CScratch {
 public:
  CScratch() {
    char szTemplate[] = "/tmp/nimbo-tool-XXXXXX";
    if (mkdtemp(szTemplate) != nullptr) m_strDir = szTemplate;
  }
  ~CScratch() {
    if (!m_strDir.empty()) std::system(("rm -rf '" + m_strDir + "'").c_str());
  }
  CScratch(const CScratch&) = delete;
  CScratch& operator=(const CScratch&) = delete;
  const std::string& Dir() const { return m_strDir; }

 private:
  std::string m_strDir;
};

// Runs "ENV nimbo ARGS" through the shell with stdin from /dev/null (no
// terminal), its output going into the files "stdout" and "stderr" of
// strDir (names a test's own files there must not take).
inline CRun RunNimbo(const std::string& strDir, const std::string& strArgs, const std::string& strEnv = "") {
  const std::string strCommand =
      strEnv + " '" + kNimbo + "' " + strArgs + " </dev/null >'" + strDir + "/stdout' 2>'" + strDir + "/stderr'";
  const int nRaw = std::system(strCommand.c_str());
  return {WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, ReadText(strDir + "/stdout"), ReadText(strDir + "/stderr")};
}

}  // namespace nimbotest
