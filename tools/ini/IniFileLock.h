// The lock that `nimbo ini` holds around a read-modify-write of a file, so
// that changes made in parallel are all kept.
#pragma once

#include <string>

namespace nimbo {
namespace ini {

class CIniFileLock {
 public:
  CIniFileLock() = default;
  // Removes the lock file, or gives up the advisory lock.
  ~CIniFileLock();
  CIniFileLock(const CIniFileLock&) = delete;  // owns the lock
  CIniFileLock& operator=(const CIniFileLock&) = delete;

  // Locks strPath, waiting a while for a holder to finish. The lock is the
  // file strPath + ".lock", created exclusively beside it (as git does);
  // where that directory takes no new file, an advisory lock on the file
  // itself, whose descriptor (open for reading) is then Descriptor(). False
  // with a one-line reason when the lock stays taken or cannot be made.
  bool Acquire(const std::string& strPath, std::string& strWhy);
  // The locked file's descriptor under an advisory lock, else -1.
  int Descriptor() const { return m_nFd; }

 private:
  std::string m_strLockPath;  // the lock file this process made
  int m_nFd = -1;
};

}  // namespace ini
}  // namespace nimbo
