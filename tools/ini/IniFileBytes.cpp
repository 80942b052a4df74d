// CFileBytes: a mapping where the system gives one, read() of anything else.
#include "tools/ini/IniFileBytes.h"

#include <unistd.h>

#include <cerrno>

#include "tools/ini/IniFileAccess.h"

namespace nimbo {
namespace ini {

CFileBytes::~CFileBytes() {
  if (m_pMap != nullptr) UnmapWholeFile(m_pMap, m_nMapped);
}

bool CFileBytes::Read(const std::string& strPath, int fd, int& nError) {
  if (m_pMap != nullptr) UnmapWholeFile(m_pMap, m_nMapped);
  m_pMap = nullptr;
  m_strRead.clear();
  const bool bOwn = fd < 0;
  if (bOwn) {
    fd = OpenToRead(strPath);
    if (fd < 0) {
      nError = errno;
      return false;
    }
  }
  nError = 0;
  m_pMap = MapWholeFile(fd, m_nMapped);
  if (m_pMap != nullptr) {
    if (bOwn) ::close(fd);
    return true;
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
