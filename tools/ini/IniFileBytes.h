// CFileBytes: the whole content of a file, read through one descriptor. A
// regular file is mapped where the system maps files (IniFileAccess.h: no
// copy, no fresh memory for its bytes); anything else (a device, a pipe), and
// every file on Windows, is read into memory.
#pragma once

#include <cstddef>
#include <string>

namespace nimbo {
namespace ini {

class CFileBytes {
 public:
  CFileBytes() = default;
  ~CFileBytes();
  CFileBytes(const CFileBytes&) = delete;  // owns a mapping
  CFileBytes& operator=(const CFileBytes&) = delete;

  // Reads strPath through fd when it is not -1 (a descriptor open on the
  // file for reading), else through a descriptor of its own. False with the
  // errno value in nError. What an earlier Read gave goes.
  bool Read(const std::string& strPath, int fd, int& nError);
  const char* Data() const { return m_pMap != nullptr ? static_cast<const char*>(m_pMap) : m_strRead.data(); }
  size_t Size() const { return m_pMap != nullptr ? m_nMapped : m_strRead.size(); }

 private:
  const void* m_pMap = nullptr;
  size_t m_nMapped = 0;
  std::string m_strRead;
};

}  // namespace ini
}  // namespace nimbo
