// CFileBytes: mmap of a regular file, read() of anything else.
#include "tools/ini/IniFileBytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace nimbo {
namespace ini {

CFileBytes::~CFileBytes() {
  if (m_pMap != nullptr) ::munmap(m_pMap, m_nMapped);
}

bool CFileBytes::Read(const std::string& strPath, int fd, int& nError) {
  const bool bOwn = fd < 0;
  if (bOwn) {
    do fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      nError = errno;
      return false;
    }
  }
  nError = 0;
  struct stat info;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    void* pMap = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (pMap != MAP_FAILED) {
      m_pMap = pMap;
      m_nMapped = static_cast<size_t>(info.st_size);
      if (bOwn) ::close(fd);
      return true;
    }
  }
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      m_strRead.append(buffer, static_cast<size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      nError = errno;
      break;
    }
  }
  if (bOwn) ::close(fd);
  return nError == 0;
}

}  // namespace ini
}  // namespace nimbo
