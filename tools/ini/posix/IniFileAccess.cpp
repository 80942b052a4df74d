// IniFileAccess on POSIX systems: a regular file is mapped (no copy, no
// fresh memory for its bytes).
#include "tools/ini/IniFileAccess.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace nimbo {
namespace ini {

int OpenToRead(const std::string& strPath) {
  int fd;
  do fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  while (fd < 0 && errno == EINTR);
  return fd;
}

const void* MapWholeFile(int fd, size_t& nSize) {
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) return nullptr;
  void* pMap = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  if (pMap == MAP_FAILED) return nullptr;
  nSize = static_cast<size_t>(info.st_size);
  return pMap;
}

void UnmapWholeFile(const void* pMap, size_t nSize) { ::munmap(const_cast<void*>(pMap), nSize); }

}  // namespace ini
}  // namespace nimbo
