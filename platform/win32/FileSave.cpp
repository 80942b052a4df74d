// SaveWholeFile over the Windows API: CreateFile, GetFileInformationByHandle,
// GetFinalPathNameByHandle, FlushFileBuffers, ReplaceFile (with a backup
// name) and MoveFileEx; in place, SetFileInformationByHandle to reserve the
// room first.
#include "FileSave.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "WindowsHeaders.h"

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// How a replacement through a new file ended.
enum class EReplaced { yes, failed, refused };  // refused: write in place instead

bool WriteAll(HANDLE hFile, const char* pData, size_t nSize) {
  while (nSize > 0) {
    const DWORD nChunk = nSize > 0x40000000u ? 0x40000000u : static_cast<DWORD>(nSize);
    DWORD nWritten = 0;
    if (!WriteFile(hFile, pData, nChunk, &nWritten, nullptr) || nWritten == 0) return false;
    pData += nWritten;
    nSize -= nWritten;
  }
  return true;
}

// The directory part of a path, with its separator: where a file that
// replaces it is made.
std::string DirectoryOf(const std::string& strPath) {
  const size_t nSeparator = strPath.find_last_of("\\/");
  return nSeparator == std::string::npos ? std::string() : strPath.substr(0, nSeparator + 1);
}

// The names of the files made beside a file: the prefix, five hexadecimal
// digits and the suffix.
const char kBesidePrefix[] = "~nb";
const char kBesideSuffix[] = ".tmp";

// Creates a file of a short, unused name in strDir, exclusively; its handle
// with strPath set to its name, or INVALID_HANDLE_VALUE (GetLastError says why).
HANDLE CreateBeside(const std::string& strDir, std::string& strPath) {
  static LONG s_nCalls = 0;
  DWORD nState = GetTickCount() ^ (GetCurrentProcessId() << 16) ^
                 (static_cast<DWORD>(InterlockedIncrement(&s_nCalls)) * 2654435761u);
  for (int nTry = 0; nTry < 100; ++nTry) {
    nState = nState * 1664525u + 1013904223u;
    char szLeaf[16];
    wsprintfA(szLeaf, "%s%05lx%s", kBesidePrefix, static_cast<unsigned long>(nState >> 12) & 0xFFFFFul, kBesideSuffix);
    strPath = strDir + szLeaf;
    const HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD dwError = GetLastError();
    if (hFile != INVALID_HANDLE_VALUE || (dwError != ERROR_FILE_EXISTS && dwError != ERROR_ALREADY_EXISTS))
      return hFile;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

// Writes the bytes into the new file, flushes it to the disk and closes it;
// deletes it on failure.
bool FinishNewFile(HANDLE hNew, const std::string& strNew, const char* pData, size_t nSize) {
  bool bDone = WriteAll(hNew, pData, nSize) && FlushFileBuffers(hNew);
  bDone = CloseHandle(hNew) && bDone;
  if (!bDone) DeleteFileA(strNew.c_str());
  return bDone;
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

// The directory of the file open as hFile (a link's target), else of
// pszPath: where the copy of its old content is kept.
std::string RealDirectoryOf(HANDLE hFile, const char* pszPath) {
  const std::string strFinal = hFile == INVALID_HANDLE_VALUE ? std::string() : FinalPathOf(hFile);
  return DirectoryOf(strFinal.empty() ? std::string(pszPath) : strFinal);
}

bool Exists(const std::string& strPath) { return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES; }

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
  if (dwError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && !Exists(strTarget) &&
      MoveFileExA(strNew.c_str(), strTarget.c_str(), MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(strBackup.c_str());
    return true;
  }
  if (!Exists(strTarget)) {
    // The old content is where the backup name points, if anywhere: it goes
    // back; failing that the new content takes the name, so that the file
    // is never missing; failing both, every copy stays where it is.
    if (Exists(strBackup) && MoveFileExA(strBackup.c_str(), strTarget.c_str(), MOVEFILE_WRITE_THROUGH)) {
      DeleteFileA(strNew.c_str());
      return false;
    }
    if (!Exists(strNew) || !MoveFileExA(strNew.c_str(), strTarget.c_str(), MOVEFILE_WRITE_THROUGH)) return false;
    DeleteFileA(strBackup.c_str());
    return true;
  }
  DeleteFileA(strNew.c_str());
  DeleteFileA(strBackup.c_str());
  return false;
}

// Replaces the open file hTarget; closes hTarget (and sets it to
// INVALID_HANDLE_VALUE) once the new file is ready to take its place.
EReplaced ReplaceThroughNewFile(HANDLE& hTarget, const char* pData, size_t nSize) {
  const std::string strTarget = FinalPathOf(hTarget);
  if (strTarget.empty()) return EReplaced::refused;
  std::string strNew;
  const HANDLE hNew = CreateBeside(DirectoryOf(strTarget), strNew);
  if (hNew == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_ACCESS_DENIED ? EReplaced::refused : EReplaced::failed;
  if (!FinishNewFile(hNew, strNew, pData, nSize)) return EReplaced::failed;
  // A name beside the target for its old content while ReplaceFile works:
  // without one, a replacement that fails half-way leaves the target
  // deleted (ERROR_UNABLE_TO_MOVE_REPLACEMENT). The name is reserved by
  // creating the file; ReplaceFile replaces it.
  std::string strBackup;
  const HANDLE hBackup = CreateBeside(DirectoryOf(strTarget), strBackup);
  if (hBackup == INVALID_HANDLE_VALUE) {
    DeleteFileA(strNew.c_str());
    return EReplaced::failed;
  }
  CloseHandle(hBackup);
  // ReplaceFile must be able to move the target aside.
  CloseHandle(hTarget);
  hTarget = INVALID_HANDLE_VALUE;
  // The new file is on the disk already; ReplaceFile carries the target's
  // attributes and security over to it.
  const bool bReplaced = ReplaceFileA(strTarget.c_str(), strNew.c_str(), strBackup.c_str(), 0, nullptr, nullptr);
  return FinishReplace(bReplaced ? ERROR_SUCCESS : GetLastError(), strTarget, strNew, strBackup) ? EReplaced::yes
                                                                                                 : EReplaced::failed;
}

bool SetPosition(HANDLE hFile, ULONGLONG nOffset) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(nOffset);
  return SetFilePointerEx(hFile, position, nullptr, FILE_BEGIN) != FALSE;
}

bool WriteAt(HANDLE hFile, const char* pData, size_t nSize, ULONGLONG nOffset) {
  return SetPosition(hFile, nOffset) && WriteAll(hFile, pData, nSize);
}

// Room on the disk for nSize bytes of the file, taken before a byte of it
// changes (the file keeps its size meanwhile), so that a full disk refuses
// the save instead of cutting it short. A file system that cannot reserve
// room ahead is written without.
bool ReserveRoom(HANDLE hFile, ULONGLONG nOldSize, size_t nSize) {
  if (nSize <= nOldSize) return true;
  FILE_ALLOCATION_INFO room;
  room.AllocationSize.QuadPart = static_cast<LONGLONG>(nSize);
  if (SetFileInformationByHandle(hFile, FileAllocationInfo, &room, sizeof room)) return true;
  const DWORD dwError = GetLastError();
  return dwError != ERROR_DISK_FULL && dwError != ERROR_HANDLE_DISK_FULL;
}

// The whole content of the file open as hFile, read through a handle of its
// own (hFile is open for writing only), checked to be the same file. False
// when it cannot be read.
bool ReadWhole(const char* pszPath, HANDLE hFile, std::string& strContent) {
  const HANDLE hRead = CreateFileA(pszPath, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hRead == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION written, read;
  bool bDone = GetFileInformationByHandle(hFile, &written) && GetFileInformationByHandle(hRead, &read) &&
               written.dwVolumeSerialNumber == read.dwVolumeSerialNumber &&
               written.nFileIndexHigh == read.nFileIndexHigh && written.nFileIndexLow == read.nFileIndexLow;
  strContent.clear();
  char achBuffer[64 * 1024];
  while (bDone) {
    DWORD nRead = 0;
    if (!ReadFile(hRead, achBuffer, sizeof achBuffer, &nRead, nullptr)) bDone = false;
    if (nRead == 0) break;
    strContent.append(achBuffer, nRead);
  }
  CloseHandle(hRead);
  return bDone;
}

// A copy of the old content beside the file, flushed to the disk, for the
// time the file is rewritten in place: a save cut short by a crash leaves
// the old document there. Its path, or empty when none could be made (a
// directory that refuses new files, a full disk): the rewrite then goes on
// without.
std::string KeepCopy(const std::string& strDir, const std::string& strOld) {
  std::string strCopy;
  const HANDLE hCopy = CreateBeside(strDir, strCopy);
  if (hCopy == INVALID_HANDLE_VALUE) return std::string();
  return FinishNewFile(hCopy, strCopy, strOld.data(), strOld.size()) ? strCopy : std::string();
}

// Rewrites a file on the disk in place, so that at no moment does it read
// as a document other than the old or the new one. Until the last step its
// first byte is a zero byte, which no reader takes for the start of a
// document; the first byte of the new text is written last, once everything
// after it is in place and on the disk.
bool RewriteInPlace(HANDLE hFile, const char* pData, size_t nSize) {
  if (nSize == 0) return SetPosition(hFile, 0) && SetEndOfFile(hFile) && FlushFileBuffers(hFile);
  return WriteAt(hFile, "", 1, 0) && FlushFileBuffers(hFile) && WriteAt(hFile, pData + 1, nSize - 1, 1) &&
         SetEndOfFile(hFile) && FlushFileBuffers(hFile) && WriteAt(hFile, pData, 1, 0) && FlushFileBuffers(hFile);
}

// Writes the file open as hFile (pszPath names it) in place: devices as a
// stream; a file on the disk by reserving its new size, keeping a copy of
// its old content beside it and rewriting it (RewriteInPlace). A rewrite
// that fails puts the old content back when it can; the copy stays only
// when the file does not hold the old content after all.
bool WriteInPlace(HANDLE hFile, const char* pszPath, const char* pData, size_t nSize) {
  if (GetFileType(hFile) != FILE_TYPE_DISK) {
    const bool bDone = WriteAll(hFile, pData, nSize);
    return CloseHandle(hFile) && bDone;
  }
  LARGE_INTEGER oldSize;
  if (!GetFileSizeEx(hFile, &oldSize) || !ReserveRoom(hFile, static_cast<ULONGLONG>(oldSize.QuadPart), nSize)) {
    CloseHandle(hFile);
    return false;
  }
  std::string strOld;
  const bool bHaveOld = ReadWhole(pszPath, hFile, strOld);
  const std::string strCopy = bHaveOld ? KeepCopy(RealDirectoryOf(hFile, pszPath), strOld) : std::string();
  bool bDone = RewriteInPlace(hFile, pData, nSize);
  bool bOldKept = !bDone && bHaveOld && RewriteInPlace(hFile, strOld.data(), strOld.size());
  // A write refused before it changed anything leaves the old content.
  std::string strNow;
  if (!bDone && !bOldKept && bHaveOld) bOldKept = ReadWhole(pszPath, hFile, strNow) && strNow == strOld;
  bDone = CloseHandle(hFile) && bDone;
  if (!strCopy.empty() && (bDone || bOldKept)) DeleteFileA(strCopy.c_str());
  return bDone;
}

bool CreateNew(const char* pszPath, const char* pData, size_t nSize) {
  std::string strNew;
  const HANDLE hNew = CreateBeside(DirectoryOf(pszPath), strNew);
  if (hNew == INVALID_HANDLE_VALUE || !FinishNewFile(hNew, strNew, pData, nSize)) return false;
  if (MoveFileExA(strNew.c_str(), pszPath, MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileA(strNew.c_str());
  return false;
}

}  // namespace

bool SaveWholeFile(const char* pszPath, const char* pData, size_t nSize) {
  if (pszPath == nullptr || *pszPath == '\0') return false;
  // Opening for writing, without creating or truncating, is the test that
  // this process may write the file at all (the read-only attribute refuses it).
  HANDLE hFile = CreateFileA(pszPath, GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (hFile == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_FILE_NOT_FOUND && CreateNew(pszPath, pData, nSize);
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(hFile) == FILE_TYPE_DISK && GetFileInformationByHandle(hFile, &info) &&
      info.nNumberOfLinks == 1) {
    const EReplaced replaced = ReplaceThroughNewFile(hFile, pData, nSize);
    if (replaced != EReplaced::refused) {
      if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
      return replaced == EReplaced::yes;
    }
  }
  return WriteInPlace(hFile, pszPath, pData, nSize);
}

std::vector<std::string> FindKeptCopies(const char* pszPath) {
  std::vector<std::string> copies;
  if (pszPath == nullptr || *pszPath == '\0') return copies;
  const HANDLE hFile = CreateFileA(pszPath, 0, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  const std::string strDir = RealDirectoryOf(hFile, pszPath);
  if (hFile != INVALID_HANDLE_VALUE) CloseHandle(hFile);
  WIN32_FIND_DATAA found;
  const HANDLE hFind = FindFirstFileA((strDir + kBesidePrefix + "?????" + kBesideSuffix).c_str(), &found);
  if (hFind == INVALID_HANDLE_VALUE) return copies;
  std::vector<std::pair<ULONGLONG, std::string>> named;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const ULONGLONG nTime =
        static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32 | found.ftLastWriteTime.dwLowDateTime;
    named.emplace_back(nTime, strDir + found.cFileName);
  } while (FindNextFileA(hFind, &found));
  FindClose(hFind);
  std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (auto& entry : named) copies.push_back(std::move(entry.second));
  return copies;
}
