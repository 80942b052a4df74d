// A read error part-way through an INI file: Load returns false, keeps what
// it read before the error and clears the modified flag.
//
// This program's own read() comes before the C library's in symbol lookup,
// so the library's stream reads go through it; it fails the reads of one
// armed file with EIO once a given number of its bytes were handed out.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "ChildProcess.h"
#include "ini/CIniFile.h"
#include "ini/IniTestUtil.h"

namespace {

const char* g_pszFailing = nullptr;  // the armed file's path, or null
size_t g_nBytesLeft = 0;             // bytes of it still read without an error

bool IsArmedFile(int fd) {
  char szLink[64];
  char szPath[PATH_MAX];
  std::snprintf(szLink, sizeof szLink, "/proc/self/fd/%d", fd);
  const ssize_t nLength = readlink(szLink, szPath, sizeof szPath - 1);
  return nLength > 0 && std::string(szPath, static_cast<size_t>(nLength)) == g_pszFailing;
}

}  // namespace

extern "C" ssize_t read(int fd, void* pBuffer, size_t nSize) {
  typedef ssize_t (*PRead)(int, void*, size_t);
  static const PRead s_pfnNext = reinterpret_cast<PRead>(dlsym(RTLD_NEXT, "read"));
  if (g_pszFailing == nullptr || !IsArmedFile(fd)) return s_pfnNext(fd, pBuffer, nSize);
  if (g_nBytesLeft == 0) {
    errno = EIO;
    return -1;
  }
  const ssize_t nRead = s_pfnNext(fd, pBuffer, nSize < g_nBytesLeft ? nSize : g_nBytesLeft);
  if (nRead > 0) g_nBytesLeft -= static_cast<size_t>(nRead);
  return nRead;
}

namespace {

TEST(LoadReadError, KeepsWhatWasReadBeforeTheError) {
  initest::CScratchDir dir;
  const std::string strPath = dir / "doc.ini";
  const std::string strRead = "[A]\r\nk=v\r\n[B]\r\n";
  initest::WriteFile(strPath, strRead + "x=1\r\n[C]\r\n");
  const CHILD_RESULT result = RunInChild([&](long&) {
    CIniFile ini;
    ini.SetModified(true);
    g_pszFailing = strPath.c_str();
    g_nBytesLeft = strRead.size();
    const bool bLoaded = ini.Load(strPath.c_str(), false);
    g_pszFailing = nullptr;
    if (bLoaded) return 1;
    if (ini.IsModified()) return 2;
    return initest::Dump(ini) == "[\"A\"]\n  \"k\" = \"v\"\n[\"B\"]\n" ? 0 : 3;
  });
  ASSERT_TRUE(result.bExited);
  EXPECT_EQ(result.nStatus, 0) << "1: loaded, 2: still modified, 3: lost or changed what was read";
}

}  // namespace
