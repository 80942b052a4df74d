// CFaultyFiles: the file calls of a save (FilePrimitives.h) over the
// system's own, failing one of them on demand, on either side: an error at
// the Nth call, or a crash there (that call and every later one fail
// without effect, as if the process had died). It can also refuse new
// files in one folder, and names the user's folders a save keeps copies in.
#pragma once

#include <string>
#include <vector>

#include "FilePrimitives.h"

class CFaultyFiles : public CFilePrimitives {
 public:
  enum class EFault { none, error, crash };

  explicit CFaultyFiles(CFilePrimitives& system) : m_system(system) {}

  // Counts calls from 0 again; the nCall-th call that touches the disk
  // fails (with nError), a write after half of its bytes.
  void Arm(int nCall, EFault eFault, int nError);
  int Calls() const { return m_nCalls; }
  void RefuseNewFilesIn(const std::string& strFolder) { m_strRefusing = strFolder; }
  void SetCopyFolders(const std::vector<std::string>& folders) { m_copyFolders = folders; }

  FileRef OpenForWriting(const std::string& strPath) override;
  bool Identify(FileRef file, CFileFacts& facts) override { return m_system.Identify(file, facts); }
  bool IdentifyPath(const std::string& strPath, CFileFacts& facts) override {
    return m_system.IdentifyPath(strPath, facts);
  }
  std::string ResolvePath(const std::string& strPath) override { return m_system.ResolvePath(strPath); }
  FileRef CreateBeside(const std::string& strPath, bool bPrivate) override;
  bool ReserveRoom(FileRef file, uint64_t nOldSize, uint64_t nNewSize) override;
  bool WriteAt(FileRef file, const char* pData, size_t nSize, uint64_t nOffset) override;
  bool Truncate(FileRef file, uint64_t nSize) override;
  bool Flush(FileRef file) override;
  bool Close(FileRef file) override;
  bool ReadWhole(const std::string& strPath, const CFileFacts& facts, std::string& strContent) override;
  bool CopyAttributes(FileRef from, FileRef to) override;
  bool Replace(const std::string& strNew, const std::string& strTarget) override;
  bool MoveInto(const std::string& strNew, const std::string& strTarget) override;
  bool Remove(const std::string& strPath) override;
  bool FlushFolder(const std::string& strFolder) override;
  bool RemoveIfAbandoned(const std::string& strPath) override;
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
  // Counts a call; false when it is to fail (the reason then set).
  bool Pass();

  CFilePrimitives& m_system;
  int m_nCalls = 0;
  int m_nFailAt = -1;
  EFault m_eFault = EFault::none;
  int m_nError = 0;
  int m_nFailed = 0;  // the reason of the last call failed here, 0 after one that passed
  bool m_bCrashed = false;
  std::string m_strRefusing;
  std::vector<std::string> m_copyFolders;
};
