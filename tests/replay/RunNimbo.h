// Running the built nimbo tool from a test: its exit status and its output.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace replaytest {

const std::string kNimbo = std::string(NIMBO_BINARY_DIR) + "/tools/nimbo/nimbo";
const std::string kHere = std::string(NIMBO_SOURCE_DIR) + "/tests/replay";

struct CRun {
  int nStatus;
  std::string strOut;
  std::string strErr;
};

inline std::string ReadText(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::string& strPath, const std::string& strText) {
  std::ofstream(strPath, std::ios::binary) << strText;
}

// A scratch directory under /tmp, removed with the object.
class CScratch {
 public:
  CScratch() {
    char szTemplate[] = "/tmp/nimbo-replay-XXXXXX";
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

// Runs "nimbo ARGS" with stdin from /dev/null, output into files of the scratch directory.
inline CRun RunNimbo(const CScratch& scratch, const std::string& strArgs) {
  const std::string strCommand = "'" + kNimbo + "' " + strArgs + " </dev/null >'" + scratch.Dir() + "/out' 2>'" +
                                 scratch.Dir() + "/err'";
  const int nRaw = std::system(strCommand.c_str());
  return {WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1, ReadText(scratch.Dir() + "/out"),
          ReadText(scratch.Dir() + "/err")};
}

}  // namespace replaytest
