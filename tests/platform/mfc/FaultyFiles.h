// CFaultyFiles: the file calls of a save (FilePrimitives.h) over the
// system's own, failing one of them on demand, on either side: an error at
// the Nth call that touches the disk (a write lands half of its bytes
// first, as on a disk that fills), or a crash there (that call and every
// later one fail without effect, as if the process had died; its handles
// still close, as a dead process's do). It can also refuse new files in one
// folder, and names the folders of the user's a save keeps copies in.
#pragma once

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FilePrimitives.h"

// The whole content of a file the save tests look at (empty when it cannot be read).
inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class CFaultyFiles : public CFilePrimitives {
 public:
  enum class EFault { none, error, crash };

  explicit CFaultyFiles(CFilePrimitives& system) : m_system(system) {}

  // Counts calls from 0 again; the nCall-th fails.
  void Arm(int nCall, EFault eFault, int nError) {
    m_nCalls = m_nFailed = 0;
    m_nFailAt = nCall;
    m_eFault = eFault;
    m_nError = nError;
    m_bCrashed = false;
  }
  int Calls() const { return m_nCalls; }
  void RefuseNewFilesIn(const std::string& strFolder) { m_strRefusing = strFolder; }
  void SetCopyFolders(const std::vector<std::string>& folders) { m_copyFolders = folders; }

  FileRef OpenForWriting(const std::string& strPath) override {
    return Pass() ? m_system.OpenForWriting(strPath) : kNoFile;
  }
  FileRef CreateBeside(const std::string& strPath, bool bPrivate) override {
    if (!Pass()) return kNoFile;
    if (m_system.FolderOf(strPath) != m_strRefusing) return m_system.CreateBeside(strPath, bPrivate);
    m_nFailed = EACCES;
    return kNoFile;
  }
  bool WriteAt(FileRef file, const char* pData, size_t nSize, uint64_t nOffset) override {
    if (Pass()) return m_system.WriteAt(file, pData, nSize, nOffset);
    if (!m_bCrashed && nSize > 1) m_system.WriteAt(file, pData, nSize / 2, nOffset);
    return false;
  }
  bool Close(FileRef file) override {
    const bool bPass = Pass();
    return m_system.Close(file) && bPass;
  }
  bool ReserveRoom(FileRef file, uint64_t nOld, uint64_t nNew) override {
    return Pass() && m_system.ReserveRoom(file, nOld, nNew);
  }
  bool Truncate(FileRef file, uint64_t nSize) override { return Pass() && m_system.Truncate(file, nSize); }
  bool Flush(FileRef file) override { return Pass() && m_system.Flush(file); }
  bool ReadWhole(const std::string& strPath, const CFileFacts& facts, std::string& strContent) override {
    return Pass() && m_system.ReadWhole(strPath, facts, strContent);
  }
  bool CopyAttributes(FileRef from, FileRef to) override { return Pass() && m_system.CopyAttributes(from, to); }
  bool Replace(const std::string& strNew, const std::string& strTarget) override {
    return Pass() && m_system.Replace(strNew, strTarget);
  }
  bool MoveInto(const std::string& strNew, const std::string& strTarget) override {
    return Pass() && m_system.MoveInto(strNew, strTarget);
  }
  bool Remove(const std::string& strPath) override { return Pass() && m_system.Remove(strPath); }
  bool FlushFolder(const std::string& strFolder) override { return Pass() && m_system.FlushFolder(strFolder); }
  bool RemoveIfAbandoned(const std::string& strPath) override {
    return !m_bCrashed && m_system.RemoveIfAbandoned(strPath);
  }
  // Questions that change nothing pass through.
  bool Identify(FileRef file, CFileFacts& facts) override { return m_system.Identify(file, facts); }
  bool IdentifyPath(const std::string& strPath, CFileFacts& facts) override {
    return m_system.IdentifyPath(strPath, facts);
  }
  std::string ResolvePath(const std::string& strPath) override { return m_system.ResolvePath(strPath); }
  std::vector<CFolderEntry> List(const std::string& strFolder, const std::string& strPrefix) override {
    return m_system.List(strFolder, strPrefix);
  }
  std::vector<std::string> CopyFolders(bool) override { return m_copyFolders; }
  std::string FolderOf(const std::string& strPath) override { return m_system.FolderOf(strPath); }
  std::string InFolder(const std::string& strFolder, const std::string& strName) override {
    return m_system.InFolder(strFolder, strName);
  }
  int Error() override { return m_nFailed != 0 ? m_nFailed : m_system.Error(); }

 private:
  // Counts a call; false, with the reason set, when it is to fail.
  bool Pass() {
    const int nCall = m_nCalls++;
    m_bCrashed = m_bCrashed || (m_eFault == EFault::crash && nCall == m_nFailAt);
    m_nFailed = m_bCrashed ? EINTR : m_eFault == EFault::error && nCall == m_nFailAt ? m_nError : 0;
    return m_nFailed == 0;
  }

  CFilePrimitives& m_system;
  int m_nCalls = 0;
  int m_nFailAt = -1;
  EFault m_eFault = EFault::none;
  int m_nError = 0;
  int m_nFailed = 0;  // the reason of the last call, when it failed here
  bool m_bCrashed = false;
  std::string m_strRefusing;
  std::vector<std::string> m_copyFolders;
};
