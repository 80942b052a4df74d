// A read error part-way through an INI file: Load returns false, keeps what
// it read before the error and clears the modified flag. This program's own
// read() comes first in symbol lookup, so the library's stream reads pass
// through it; it fails the reads of the armed file once its bytes are used up.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "ChildProcess.h"
#include "ini/CIniFile.h"
#include "ini/IniTestUtil.h"

namespace {
const char* g_pszArmed = nullptr;  // the failing file's path, or null
size_t g_nBytesLeft = 0;           // bytes of it still read without an error
}  // namespace

extern "C" ssize_t read(int fd, void* pBuffer, size_t nSize) {
  typedef ssize_t (*PRead)(int, void*, size_t);
  static const PRead s_pfnNext = reinterpret_cast<PRead>(dlsym(RTLD_NEXT, "read"));
  if (g_pszArmed != nullptr) {
    char szPath[PATH_MAX];
    const std::string strLink = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t nLength = readlink(strLink.c_str(), szPath, sizeof szPath);
    if (nLength > 0 && std::string(szPath, static_cast<size_t>(nLength)) == g_pszArmed) {
      if (g_nBytesLeft == 0) {
        errno = EIO;
        return -1;
      }
      const ssize_t nRead = s_pfnNext(fd, pBuffer, nSize < g_nBytesLeft ? nSize : g_nBytesLeft);
      if (nRead > 0) g_nBytesLeft -= static_cast<size_t>(nRead);
      return nRead;
    }
  }
  return s_pfnNext(fd, pBuffer, nSize);
}

namespace {

TEST(LoadReadError, KeepsWhatWasReadBeforeTheError) {
  initest::CScratchDir dir;
  const std::string strPath = dir / "doc.ini";
  const std::string strRead = "[A]\r\nk=v\r\n[B]\r\n";
  initest::WriteFile(strPath, strRead + "x=1\r\n[C]\r\n");
  const CChildResult result = RunInChild([&](long&) {
    CIniFile ini;
    ini.SetModified(true);
    g_pszArmed = strPath.c_str();
    g_nBytesLeft = strRead.size();
    if (ini.Load(strPath.c_str(), false)) return 1;
    if (ini.IsModified()) return 2;
    return initest::Dump(ini) == "[\"A\"]\n  \"k\" = \"v\"\n[\"B\"]\n" ? 0 : 3;
  });
  ASSERT_TRUE(result.bExited);
  EXPECT_EQ(result.nStatus, 0) << "1: loaded, 2: still modified, 3: lost or changed what was read";
}

}  // namespace
