// The lock that `nimbo ini` holds around a read-modify-write of a file, so
// that changes made in parallel, through any of its names, are all kept,
// and that readers wait out a change instead of meeting its half-way state.
#pragma once

#include <string>

namespace nimbo {
namespace ini {

class CIniFileLock {
 public:
  CIniFileLock() = default;
  // Gives up the lock.
  ~CIniFileLock();
  CIniFileLock(const CIniFileLock&) = delete;  // owns the lock
  CIniFileLock& operator=(const CIniFileLock&) = delete;

  // Locks the file strPath leads to, waiting a while for a holder to
  // finish: an advisory lock of the file itself (IniLockSystem.h), taken
  // again should the name lead to another file once it is held; for a file
  // that does not exist yet, a lock of where it will be made. False with a
  // one-line reason when the lock stays taken or cannot be had.
  bool Acquire(const std::string& strPath, std::string& strWhy);
  // The locked file's descriptor (open for reading), else -1.
  int Descriptor() const { return m_bMissing ? -1 : m_nFd; }

  // Waits, a while at most, until no change holds the lock of the file
  // strPath leads to. For a reader that met the mark of a rewrite under
  // way: once the change ends the file holds a whole document again.
  static void WaitForChanges(const std::string& strPath);

 private:
  int m_nFd = -1;
  bool m_bMissing = false;  // m_nFd stands for a file not made yet
};

}  // namespace ini
}  // namespace nimbo
