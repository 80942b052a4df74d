// CFaultyFiles: each call that touches the disk passes through Pass first.
#include "FaultyFiles.h"

#include <cerrno>

void CFaultyFiles::Arm(int nCall, EFault eFault, int nError) {
  m_nCalls = 0;
  m_nFailAt = nCall;
  m_eFault = eFault;
  m_nError = nError;
  m_nFailed = 0;
  m_bCrashed = false;
}

bool CFaultyFiles::Pass() {
  const int nCall = m_nCalls++;
  m_bCrashed = m_bCrashed || (m_eFault == EFault::crash && nCall == m_nFailAt);
  if (m_bCrashed || (m_eFault == EFault::error && nCall == m_nFailAt)) {
    m_nFailed = m_bCrashed ? EINTR : m_nError;
    return false;
  }
  m_nFailed = 0;
  return true;
}

FileRef CFaultyFiles::OpenForWriting(const std::string& strPath) {
  return Pass() ? m_system.OpenForWriting(strPath) : kNoFile;
}

FileRef CFaultyFiles::CreateBeside(const std::string& strPath, bool bPrivate) {
  if (!Pass()) return kNoFile;
  if (!m_strRefusing.empty() && m_system.FolderOf(strPath) == m_strRefusing) {
    m_nFailed = EACCES;
    return kNoFile;
  }
  return m_system.CreateBeside(strPath, bPrivate);
}

bool CFaultyFiles::ReserveRoom(FileRef file, uint64_t nOldSize, uint64_t nNewSize) {
  return Pass() && m_system.ReserveRoom(file, nOldSize, nNewSize);
}

// A write that fails lands half of its bytes first, as on a disk that fills.
bool CFaultyFiles::WriteAt(FileRef file, const char* pData, size_t nSize, uint64_t nOffset) {
  if (Pass()) return m_system.WriteAt(file, pData, nSize, nOffset);
  if (!m_bCrashed && nSize > 1) m_system.WriteAt(file, pData, nSize / 2, nOffset);
  return false;
}

bool CFaultyFiles::Truncate(FileRef file, uint64_t nSize) { return Pass() && m_system.Truncate(file, nSize); }
bool CFaultyFiles::Flush(FileRef file) { return Pass() && m_system.Flush(file); }

// The handle goes whatever the answer: a failed close, or the end of a
// crashed process, gives it up too.
bool CFaultyFiles::Close(FileRef file) {
  const bool bPass = Pass();
  const bool bClosed = m_system.Close(file);
  return bPass && bClosed;
}

bool CFaultyFiles::ReadWhole(const std::string& strPath, const CFileFacts& facts, std::string& strContent) {
  return Pass() && m_system.ReadWhole(strPath, facts, strContent);
}
bool CFaultyFiles::CopyAttributes(FileRef from, FileRef to) { return Pass() && m_system.CopyAttributes(from, to); }
bool CFaultyFiles::Replace(const std::string& strNew, const std::string& strTarget) {
  return Pass() && m_system.Replace(strNew, strTarget);
}
bool CFaultyFiles::MoveInto(const std::string& strNew, const std::string& strTarget) {
  return Pass() && m_system.MoveInto(strNew, strTarget);
}
bool CFaultyFiles::Remove(const std::string& strPath) { return Pass() && m_system.Remove(strPath); }
bool CFaultyFiles::FlushFolder(const std::string& strFolder) { return Pass() && m_system.FlushFolder(strFolder); }
bool CFaultyFiles::RemoveIfAbandoned(const std::string& strPath) {
  return !m_bCrashed && m_system.RemoveIfAbandoned(strPath);
}
