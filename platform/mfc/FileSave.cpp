// The save policy, once for every side: replace a file through a new one,
// or rewrite it in place with a copy of its old content kept, over the file
// calls of FilePrimitives.h.
#include "FileSave.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>

#include "FilePrimitives.h"

namespace {

// The names made beside a file: new files that will replace it, and copies
// of its old content, each followed by the identity of the file they were
// made for and six random characters.
const char kNewPrefix[] = ".~nbn";
const char kCopyPrefix[] = ".~nbc";

// How a replacement through a new file ended.
enum class EReplaced { yes, failed, refused };  // refused: write in place instead

std::string IdentityText(const CFileFacts& facts) {
  char szId[48];
  std::snprintf(szId, sizeof szId, "%llx-%llx-", static_cast<unsigned long long>(facts.nVolume),
                static_cast<unsigned long long>(facts.nIndex));
  return szId;
}

// Six characters that differ between calls and between processes (whose
// clocks and stack addresses may be the same: the system's random source
// seeds each process).
std::string RandomPart() {
  static std::atomic<unsigned long long> s_nState{static_cast<unsigned long long>(std::random_device()()) << 32 ^
                                                  std::random_device()()};
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  const int nLocal = 0;
  unsigned long long nState =
      s_nState.fetch_add(0x9E3779B97F4A7C15ull) ^
      static_cast<unsigned long long>(std::chrono::high_resolution_clock::now().time_since_epoch().count()) ^
      (static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&nLocal)) << 7);
  std::string strPart;
  for (int i = 0; i < 6; ++i) {
    nState = nState * 6364136223846793005ull + 1442695040888963407ull;
    strPart += kChars[(nState >> 33) % 36];
  }
  return strPart;
}

class CSavePolicy {
 public:
  CSavePolicy(CFilePrimitives& files, const std::string& strPath, const char* pData, size_t nSize)
      : m_files(files), m_strPath(strPath), m_pData(pData), m_nSize(nSize) {}

  bool Run() {
    FileRef file = m_files.OpenForWriting(m_strPath);
    if (file == kNoFile) return m_files.Error() == ENOENT ? CreateNew() : Failed();
    CFileFacts facts;
    if (!m_files.Identify(file, facts)) {
      Failed();
      m_files.Close(file);
      return false;
    }
    const std::string strTarget = m_files.ResolvePath(m_strPath);
    CFileFacts named;
    const bool bKnown = !strTarget.empty() && m_files.IdentifyPath(strTarget, named) && named.SameFile(facts);
    if (facts.bRegular && bKnown) RemoveAbandoned(m_files.FolderOf(strTarget), kNewPrefix + IdentityText(facts));
    if (facts.bRegular && facts.nLinks == 1 && bKnown) {
      const EReplaced replaced = ReplaceThroughNewFile(file, strTarget, facts);
      if (replaced != EReplaced::refused) return replaced == EReplaced::yes;
    }
    return WriteInPlace(file, bKnown ? strTarget : m_strPath, facts);
  }

  // The reason of the first failure, as errno and as a phrase.
  int Error() const { return m_nError; }
  const std::string& Why() const { return m_strWhy; }

 private:
  // Records the reason of the call that just failed (the first one only);
  // false.
  bool Failed() {
    if (m_nError == 0) m_nError = m_files.Error() != 0 ? m_files.Error() : EIO;
    return false;
  }
  bool Refused(int nError, const std::string& strWhy) {
    m_nError = nError;
    m_strWhy = strWhy;
    return false;
  }

  // Creates a file of an unused name strPrefix + six characters in
  // strFolder; its path in strMade.
  FileRef CreateNamed(const std::string& strFolder, const std::string& strPrefix, bool bPrivate, std::string& strMade) {
    for (int nTry = 0; nTry < 100; ++nTry) {
      strMade = m_files.InFolder(strFolder, strPrefix + RandomPart());
      const FileRef file = m_files.CreateBeside(strMade, bPrivate);
      if (file != kNoFile || m_files.Error() != EEXIST) return file;
    }
    return kNoFile;
  }

  // Writes the whole content into the new file, flushes and closes it;
  // removes it on failure.
  bool FillNewFile(FileRef file, const std::string& strMade, const char* pData, size_t nSize) {
    bool bDone = m_files.WriteAt(file, pData, nSize, 0) && m_files.Flush(file);
    if (!bDone) Failed();
    bDone = (m_files.Close(file) || Failed()) && bDone;
    if (!bDone) m_files.Remove(strMade);
    return bDone;
  }

  // New files that replacements of this file left when they were killed
  // before their end: nothing else will ever remove them.
  void RemoveAbandoned(const std::string& strFolder, const std::string& strPrefix) {
    for (const CFolderEntry& entry : m_files.List(strFolder, strPrefix))
      m_files.RemoveIfAbandoned(m_files.InFolder(strFolder, entry.strName));
  }

  EReplaced ReplaceThroughNewFile(FileRef file, const std::string& strTarget, const CFileFacts& facts) {
    std::string strNew;
    const FileRef made = CreateNamed(m_files.FolderOf(strTarget), kNewPrefix + IdentityText(facts), true, strNew);
    if (made == kNoFile) {
      const int nError = m_files.Error();
      if (nError == EACCES || nError == EPERM || nError == EROFS) return EReplaced::refused;
      Failed();
      m_files.Close(file);
      return EReplaced::failed;
    }
    // What the process cannot carry over to a new file, it keeps by
    // writing in place.
    if (!m_files.CopyAttributes(file, made)) {
      m_files.Close(made);
      m_files.Remove(strNew);
      return EReplaced::refused;
    }
    const bool bFilled = FillNewFile(made, strNew, m_pData, m_nSize);
    // Windows moves the file aside only when it is not held open.
    m_files.Close(file);
    if (!bFilled) return EReplaced::failed;
    if (!m_files.Replace(strNew, strTarget)) {
      Failed();
      m_files.Remove(strNew);
      return EReplaced::failed;
    }
    m_files.FlushFolder(m_files.FolderOf(strTarget));  // the save has happened either way
    return EReplaced::yes;
  }

  // A copy of the old content, flushed to the disk, beside the file or in
  // one of the user's folders; its path, or empty when none could be made.
  std::string KeepCopy(const std::string& strTarget, const CFileFacts& facts, const std::string& strOld) {
    std::vector<std::string> folders{m_files.FolderOf(strTarget)};
    for (const std::string& strFolder : m_files.CopyFolders(true)) folders.push_back(strFolder);
    for (const std::string& strFolder : folders) {
      std::string strCopy;
      const FileRef copy = CreateNamed(strFolder, kCopyPrefix + IdentityText(facts), true, strCopy);
      if (copy == kNoFile || !FillNewFile(copy, strCopy, strOld.data(), strOld.size())) continue;
      m_files.FlushFolder(strFolder);
      m_nError = 0;  // a folder that refused the copy is no failure of the save
      return strCopy;
    }
    m_strFolders = "none in " + folders[0];
    for (size_t i = 1; i < folders.size(); ++i) m_strFolders += (i + 1 < folders.size() ? ", " : " or ") + folders[i];
    if (folders.size() == 1) m_strFolders += ", and no state or runtime folder of the user's takes one";
    return std::string();
  }

  // Rewrites the open regular file so that at no moment does it read as a
  // document other than the old or the new one: until the last step its
  // first byte is a zero byte, which no reader takes for the start of a
  // document (an INI reader finds a line outside every section); the first
  // byte of the new text is written last, once everything after it is on
  // the disk.
  bool Rewrite(FileRef file, const char* pData, size_t nSize) {
    if (nSize == 0) return (m_files.Truncate(file, 0) && m_files.Flush(file)) || Failed();
    return (m_files.WriteAt(file, "", 1, 0) && m_files.Flush(file) && m_files.WriteAt(file, pData + 1, nSize - 1, 1) &&
            m_files.Truncate(file, nSize) && m_files.Flush(file) && m_files.WriteAt(file, pData, 1, 0) &&
            m_files.Flush(file)) ||
           Failed();
  }

  bool WriteInPlace(FileRef file, const std::string& strTarget, const CFileFacts& facts) {
    if (!facts.bRegular) {
      // Devices and FIFOs take the bytes as they come.
      const bool bDone = m_files.WriteAt(file, m_pData, m_nSize, 0) || Failed();
      return (m_files.Close(file) || Failed()) && bDone;
    }
    if (!m_files.ReserveRoom(file, facts.nSize, m_nSize)) {
      Failed();
      m_files.Close(file);
      return false;
    }
    std::string strOld;
    if (!m_files.ReadWhole(strTarget, facts, strOld)) {
      Failed();
      m_files.Close(file);
      return Refused(m_nError, std::string(std::strerror(m_nError)) +
                                   " (its content could not be read to keep a copy, so it was not rewritten)");
    }
    const std::string strCopy = KeepCopy(strTarget, facts, strOld);
    if (strCopy.empty()) {
      m_files.Close(file);
      return Refused(EACCES, "it would be rewritten in place, and no copy of its content can be kept meanwhile (" +
                                 m_strFolders + "), so it was left as it was");
    }
    bool bDone = Rewrite(file, m_pData, m_nSize);
    bool bOldKept = !bDone && Rewrite(file, strOld.data(), strOld.size());
    std::string strNow;
    // A write refused before it changed anything leaves the old content.
    if (!bDone && !bOldKept) bOldKept = m_files.ReadWhole(strTarget, facts, strNow) && strNow == strOld;
    // A close that fails once the new content was written and flushed: the
    // content is what the file holds, read through a handle of its own.
    if (!m_files.Close(file) && bDone) {
      Failed();
      bDone = m_files.ReadWhole(strTarget, facts, strNow) && strNow == std::string(m_pData, m_nSize);
      if (bDone) m_nError = 0;
    }
    if (bDone || bOldKept) m_files.Remove(strCopy);
    return bDone;
  }

  // A file that does not exist yet, made through a new file moved into
  // place where the name leads (a symbolic link to no file yet stays a
  // link).
  bool CreateNew() {
    m_nError = 0;
    std::string strTarget = m_files.ResolvePath(m_strPath);
    if (strTarget.empty()) strTarget = m_strPath;
    std::string strNew;
    const FileRef made = CreateNamed(m_files.FolderOf(strTarget), kNewPrefix, false, strNew);
    if (made == kNoFile) return Failed();
    if (!FillNewFile(made, strNew, m_pData, m_nSize)) return false;
    if (!m_files.MoveInto(strNew, strTarget)) {
      Failed();
      m_files.Remove(strNew);
      return false;
    }
    m_files.FlushFolder(m_files.FolderOf(strTarget));
    return true;
  }

  CFilePrimitives& m_files;
  const std::string m_strPath;
  const char* m_pData;
  size_t m_nSize;
  int m_nError = 0;
  std::string m_strWhy;
  std::string m_strFolders;  // where a copy was tried
};

}  // namespace

bool SaveWholeFileWith(CFilePrimitives& files, const char* pszPath, const char* pData, size_t nSize,
                       std::string* pstrWhy) {
  if (pszPath == nullptr || *pszPath == '\0') {
    errno = ENOENT;
    return false;
  }
  CSavePolicy policy(files, pszPath, pData, nSize);
  if (policy.Run()) return true;
  errno = policy.Error() != 0 ? policy.Error() : EIO;
  if (pstrWhy != nullptr) *pstrWhy = policy.Why().empty() ? std::strerror(errno) : policy.Why();
  return false;
}

bool SaveWholeFile(const char* pszPath, const char* pData, size_t nSize, std::string* pstrWhy) {
  return SaveWholeFileWith(SystemFilePrimitives(), pszPath, pData, nSize, pstrWhy);
}

std::vector<std::string> FindKeptCopiesWith(CFilePrimitives& files, const char* pszPath) {
  std::vector<std::string> copies;
  CFileFacts facts;
  if (pszPath == nullptr || *pszPath == '\0' || !files.IdentifyPath(pszPath, facts)) return copies;
  const std::string strTarget = files.ResolvePath(pszPath);
  std::vector<std::string> folders{files.FolderOf(strTarget.empty() ? std::string(pszPath) : strTarget)};
  for (const std::string& strFolder : files.CopyFolders(false)) folders.push_back(strFolder);
  std::vector<std::pair<int64_t, std::string>> found;
  const std::string strPrefix = kCopyPrefix + IdentityText(facts);
  for (const std::string& strFolder : folders)
    for (const CFolderEntry& entry : files.List(strFolder, strPrefix))
      found.emplace_back(entry.nModified, files.InFolder(strFolder, entry.strName));
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (auto& entry : found)
    if (std::find(copies.begin(), copies.end(), entry.second) == copies.end()) copies.push_back(entry.second);
  return copies;
}

std::string KeptCopyPrefix(const char* pszPath) {
  CFileFacts facts;
  if (pszPath == nullptr || !SystemFilePrimitives().IdentifyPath(pszPath, facts)) return std::string();
  return kCopyPrefix + IdentityText(facts);
}

std::vector<std::string> FindKeptCopies(const char* pszPath) {
  return FindKeptCopiesWith(SystemFilePrimitives(), pszPath);
}
