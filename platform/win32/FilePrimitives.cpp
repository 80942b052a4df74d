// The file calls of a save over the Windows API: CreateFile,
// GetFileInformationByHandle, GetFinalPathNameByHandle, SetFileInformation-
// ByHandle to reserve room, FlushFileBuffers, ReplaceFile (with a backup
// name) and MoveFileEx written through to the disk.
#include "FilePrimitives.h"

#include <cerrno>
#include <cstdlib>

#include "Win32Errno.h"
#include "WindowsHeaders.h"

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

thread_local DWORD t_dwError = ERROR_SUCCESS;

// Records the reason of the call that just failed; false. Read the
// reason from t_dwError afterwards, not from GetLastError.
bool Fail() {
  t_dwError = GetLastError();
  return false;
}

// Every call below that takes a file name goes through these, so that the
// names are handed to the system in one way.
HANDLE OpenNamed(const std::string& strPath, DWORD dwAccess, DWORD dwShare, DWORD dwDisposition, DWORD dwFlags) {
  const HANDLE hFile = CreateFileA(strPath.c_str(), dwAccess, dwShare, nullptr, dwDisposition, dwFlags, nullptr);
  if (hFile == INVALID_HANDLE_VALUE) Fail();
  return hFile;
}
bool Exists(const std::string& strPath) { return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool DeleteNamed(const std::string& strPath) { return DeleteFileA(strPath.c_str()) || Fail(); }
bool MoveNamed(const std::string& strFrom, const std::string& strTo) {
  return MoveFileExA(strFrom.c_str(), strTo.c_str(), MOVEFILE_WRITE_THROUGH) || Fail();
}
bool ReplaceNamed(const std::string& strTarget, const std::string& strNew, const std::string& strBackup) {
  return ReplaceFileA(strTarget.c_str(), strNew.c_str(), strBackup.c_str(), 0, nullptr, nullptr) || Fail();
}
bool MakeFolderNamed(const std::string& strFolder) {
  return CreateDirectoryA(strFolder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

HANDLE H(FileRef file) { return reinterpret_cast<HANDLE>(file); }
FileRef Ref(HANDLE hFile) { return reinterpret_cast<FileRef>(hFile); }

int64_t SecondsOf(const FILETIME& time) {
  const ULONGLONG nTicks = static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
  return static_cast<int64_t>(nTicks / 10000000ull) - 11644473600ll;
}

bool WriteAll(HANDLE hFile, const char* pData, size_t nSize) {
  while (nSize > 0) {
    const DWORD nChunk = nSize > 0x40000000u ? 0x40000000u : static_cast<DWORD>(nSize);
    DWORD nWritten = 0;
    if (!WriteFile(hFile, pData, nChunk, &nWritten, nullptr)) return Fail();
    if (nWritten == 0) {
      t_dwError = ERROR_DISK_FULL;
      return false;
    }
    pData += nWritten;
    nSize -= nWritten;
  }
  return true;
}

bool SetPosition(HANDLE hFile, uint64_t nOffset) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(nOffset);
  return SetFilePointerEx(hFile, position, nullptr, FILE_BEGIN) || Fail();
}

// The final path of the open file (a link's target), without the "\\?\"
// prefix where a drive letter follows it. Empty when it cannot be told.
std::string FinalPathOf(HANDLE hFile) {
  char szPath[MAX_PATH * 4];
  const DWORD nLength = GetFinalPathNameByHandleA(hFile, szPath, sizeof szPath, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (nLength == 0 || nLength >= sizeof szPath) return std::string();
  std::string strPath(szPath, nLength);
  if (strPath.compare(0, 4, "\\\\?\\") == 0 && strPath.size() > 6 && strPath[5] == ':') strPath.erase(0, 4);
  return strPath;
}

// Ends a ReplaceFile of strTarget by strNew with strBackup as the backup
// name, whose result was dwError, so that a copy of the document is never
// deleted while it is the only one. True when the new content is in place.
//
// - Success: the backup holds the old content and goes.
// - ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: the target was moved to the backup
//   name, but the new file could not be moved in. It is moved again; if
//   that fails too, the backup goes back to the target's name, and only
//   then is the new file deleted.
// - Any other failure (ERROR_UNABLE_TO_REMOVE_REPLACED and, with a backup
//   name, ERROR_UNABLE_TO_MOVE_REPLACEMENT among them) leaves the target
//   under its name: the new file and the backup name go. Should the target
//   be missing all the same, the backup (or else the new file) is put in
//   its place first.
bool FinishReplace(DWORD dwError, const std::string& strTarget, const std::string& strNew,
                   const std::string& strBackup) {
  if (dwError == ERROR_SUCCESS) {
    DeleteFileA(strBackup.c_str());
    return true;
  }
  if (dwError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && !Exists(strTarget) && MoveNamed(strNew, strTarget)) {
    DeleteNamed(strBackup);
    return true;
  }
  if (!Exists(strTarget)) {
    // The old content is where the backup name points, if anywhere: it goes
    // back; failing that the new content takes the name, so that the file
    // is never missing; failing both, every copy stays where it is.
    if (Exists(strBackup) && MoveNamed(strBackup, strTarget)) {
      DeleteNamed(strNew);
      return false;
    }
    if (!Exists(strNew) || !MoveNamed(strNew, strTarget)) return false;
    DeleteNamed(strBackup);
    return true;
  }
  DeleteNamed(strNew);
  DeleteNamed(strBackup);
  return false;
}

class CWin32FilePrimitives : public CFilePrimitives {
 public:
  FileRef OpenForWriting(const std::string& strPath) override {
    return Ref(OpenNamed(strPath, GENERIC_WRITE, kShareAll, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  }

  bool Identify(FileRef file, CFileFacts& facts) override {
    BY_HANDLE_FILE_INFORMATION info;
    facts.bRegular = GetFileType(H(file)) == FILE_TYPE_DISK;
    if (!facts.bRegular) return true;  // a device or console: nothing more to know
    if (!GetFileInformationByHandle(H(file), &info)) return Fail();
    facts.nVolume = info.dwVolumeSerialNumber;
    facts.nIndex = static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    facts.nLinks = info.nNumberOfLinks;
    facts.nSize = static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    facts.nModified = SecondsOf(info.ftLastWriteTime);
    return true;
  }

  bool IdentifyPath(const std::string& strPath, CFileFacts& facts) override {
    const HANDLE hFile = OpenNamed(strPath, 0, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    const bool bDone = Identify(Ref(hFile), facts);
    CloseHandle(hFile);
    return bDone;
  }

  std::string ResolvePath(const std::string& strPath) override {
    const HANDLE hFile = OpenNamed(strPath, 0, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (hFile == INVALID_HANDLE_VALUE) return std::string();
    const std::string strFinal = FinalPathOf(hFile);
    CloseHandle(hFile);
    return strFinal;
  }

  // Opened without sharing: no one else opens it, RemoveIfAbandoned
  // included, while it is written.
  FileRef CreateBeside(const std::string& strPath, bool) override {
    return Ref(OpenNamed(strPath, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL));
  }

  // The file keeps its size while the room is taken.
  bool ReserveRoom(FileRef file, uint64_t nOldSize, uint64_t nNewSize) override {
    if (nNewSize <= nOldSize) return true;
    FILE_ALLOCATION_INFO room;
    room.AllocationSize.QuadPart = static_cast<LONGLONG>(nNewSize);
    if (SetFileInformationByHandle(H(file), FileAllocationInfo, &room, sizeof room)) return true;
    const DWORD dwError = GetLastError();
    if (dwError != ERROR_DISK_FULL && dwError != ERROR_HANDLE_DISK_FULL) return true;
    t_dwError = dwError;
    return false;
  }

  bool WriteAt(FileRef file, const char* pData, size_t nSize, uint64_t nOffset) override {
    if (GetFileType(H(file)) == FILE_TYPE_DISK && !SetPosition(H(file), nOffset)) return false;
    return WriteAll(H(file), pData, nSize);
  }

  bool Truncate(FileRef file, uint64_t nSize) override {
    return SetPosition(H(file), nSize) && (SetEndOfFile(H(file)) || Fail());
  }

  bool Flush(FileRef file) override { return FlushFileBuffers(H(file)) || Fail(); }

  bool Close(FileRef file) override { return CloseHandle(H(file)) || Fail(); }

  bool ReadWhole(const std::string& strPath, const CFileFacts& facts, std::string& strContent) override {
    const HANDLE hRead = OpenNamed(strPath, GENERIC_READ, kShareAll, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (hRead == INVALID_HANDLE_VALUE) return false;
    CFileFacts opened;
    bool bDone = Identify(Ref(hRead), opened) && opened.SameFile(facts);
    strContent.clear();
    char achBuffer[64 * 1024];
    while (bDone) {
      DWORD nRead = 0;
      if (!ReadFile(hRead, achBuffer, sizeof achBuffer, &nRead, nullptr)) bDone = Fail();
      if (nRead == 0) break;
      strContent.append(achBuffer, nRead);
    }
    CloseHandle(hRead);
    return bDone;
  }

  // ReplaceFile carries the file's attributes and security over itself.
  bool CopyAttributes(FileRef, FileRef) override { return true; }

  // ReplaceFile with a backup name for the old content while it works:
  // without one, a replacement that fails half-way leaves the target
  // deleted (ERROR_UNABLE_TO_MOVE_REPLACEMENT). The name is reserved by
  // creating the file; ReplaceFile replaces it.
  bool Replace(const std::string& strNew, const std::string& strTarget) override {
    std::string strBackup;
    HANDLE hBackup = INVALID_HANDLE_VALUE;
    for (char cTry = 'a'; hBackup == INVALID_HANDLE_VALUE && cTry <= 'z'; ++cTry) {
      strBackup = strNew + cTry;
      hBackup = OpenNamed(strBackup, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
      if (hBackup == INVALID_HANDLE_VALUE && t_dwError != ERROR_FILE_EXISTS) return false;
    }
    if (hBackup == INVALID_HANDLE_VALUE) return false;
    CloseHandle(hBackup);
    // The reason as Fail recorded it: reaching a thread_local may clear the
    // thread's last error.
    DWORD dwError = ERROR_SUCCESS;
    if (!ReplaceNamed(strTarget, strNew, strBackup))
      dwError = t_dwError != ERROR_SUCCESS ? t_dwError : ERROR_UNABLE_TO_REMOVE_REPLACED;
    if (FinishReplace(dwError, strTarget, strNew, strBackup)) return true;
    t_dwError = dwError;
    return false;
  }

  bool MoveInto(const std::string& strNew, const std::string& strTarget) override { return MoveNamed(strNew, strTarget); }

  bool Remove(const std::string& strPath) override { return DeleteNamed(strPath); }

  // MoveFileEx and ReplaceFile write the names through themselves.
  bool FlushFolder(const std::string&) override { return true; }

  bool RemoveIfAbandoned(const std::string& strPath) override {
    const HANDLE hFile = OpenNamed(strPath, DELETE, 0, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE);
    return hFile != INVALID_HANDLE_VALUE && CloseHandle(hFile);
  }

  std::vector<CFolderEntry> List(const std::string& strFolder, const std::string& strPrefix) override {
    std::vector<CFolderEntry> entries;
    WIN32_FIND_DATAA found;
    const HANDLE hFind = FindFirstFileA(InFolder(strFolder, strPrefix + "*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE) return entries;
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        entries.push_back({found.cFileName, SecondsOf(found.ftLastWriteTime)});
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return entries;
  }

  std::vector<std::string> CopyFolders(bool bMake) override {
    std::vector<std::string> folders;
    const char* pszLocal = std::getenv("LOCALAPPDATA");
    if (pszLocal == nullptr || *pszLocal == '\0') return folders;
    const std::string strFolder = InFolder(pszLocal, "nimbo");
    if (bMake ? MakeFolderNamed(strFolder) : Exists(strFolder)) folders.push_back(strFolder);
    return folders;
  }

  std::string FolderOf(const std::string& strPath) override {
    const size_t nSeparator = strPath.find_last_of("\\/");
    if (nSeparator == std::string::npos) return strPath.size() >= 2 && strPath[1] == ':' ? strPath.substr(0, 2) : ".";
    // The root keeps its separator ("C:\", "\").
    if (nSeparator == 0 || (nSeparator == 2 && strPath[1] == ':')) return strPath.substr(0, nSeparator + 1);
    return strPath.substr(0, nSeparator);
  }

  std::string InFolder(const std::string& strFolder, const std::string& strName) override {
    if (strFolder.empty()) return strName;
    const char cLast = strFolder.back();
    return strFolder + (cLast == '\\' || cLast == '/' || cLast == ':' ? "" : "\\") + strName;
  }

  int Error() override { return ErrnoOfSystemError(t_dwError); }
};

}  // namespace

CFilePrimitives& SystemFilePrimitives() {
  static CWin32FilePrimitives s_files;
  return s_files;
}

int ErrnoOfSystemError(DWORD dwError) {
  switch (dwError) {
    case ERROR_SUCCESS:
      return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
      return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}
