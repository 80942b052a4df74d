// Messages, reading files once, loading and saving documents, and whole-file
// writes of `nimbo ini`.
#include "tools/ini/IniCommandSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "FileSave.h"
#include "ini/CIniDocumentBuilder.h"
#include "ini/CIniFile.h"
#include "tools/ini/IniFileAccess.h"
#include "tools/ini/IniFileBytes.h"
#include "tools/ini/IniFileLock.h"
#include "tools/ini/IniFileText.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/ini/IniSystem.h"
#include "tools/nimbo/ProgressLine.h"

namespace nimbo {
namespace ini {

namespace {

std::string g_strPrefix = "nimbo ini";  // the command that speaks

}  // namespace

void SetMessagePrefix(const std::string& strPrefix) { g_strPrefix = strPrefix; }

std::string OneLine(const std::string& str) {
  std::string strLine;
  for (const char c : str) {
    const unsigned char by = static_cast<unsigned char>(c);
    if (by >= 0x20 && by != 0x7F) {
      strLine += c;
      continue;
    }
    const char* const pszShort = c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : c == '\0' ? "\\0" : nullptr;
    if (pszShort != nullptr) {
      strLine += pszShort;
      continue;
    }
    char sz[8];
    std::snprintf(sz, sizeof sz, "\\x%02X", by);
    strLine += sz;
  }
  return strLine;
}

int Error(const std::string& strMessage) {
  const std::string strLine = g_strPrefix + ": " + OneLine(strMessage) + "\n";
  std::fwrite(strLine.data(), 1, strLine.size(), stderr);
  return kExitError;
}

std::string WhyNotRead(const CIniReadResult& result, const std::string& strStopLine, const char* pBytes,
                       size_t nBytes) {
  const std::string strLine = "line " + std::to_string(result.nLine);
  switch (result.eStatus) {
    case EIniRead::Reading:
    case EIniRead::Read:
      return std::string();
    case EIniRead::CannotOpen:
    case EIniRead::ReadError:
      return std::strerror(result.nError);
    case EIniRead::LineTooLong:
      return strLine + " is longer than a string can hold";
    case EIniRead::NotText:
      break;
  }
  const std::string strStart(pBytes, std::min<size_t>(nBytes, 16));
  if (!result.bBinary) {
    const char cFirst = strStopLine.empty() ? '\0' : strStopLine[0];
    std::string strWhat = "an entry outside a named section";
    if (cFirst == '[') {
      // A header ends at the line's end: a "]" before it is not its end.
      const size_t nClose = strStopLine.rfind(']');
      strWhat = nClose == std::string::npos ? "a \"[\" line without its \"]\""
                : strStopLine.find_first_not_of(" \t", nClose + 1) == std::string::npos
                    ? "a header with blanks after its \"]\""
                    : "a header with text after its \"]\" (only \";\" at the start of a line begins a comment)";
    } else if (cFirst == '#') {
      strWhat += " (only \";\" begins a comment)";
    } else if (strStart.compare(0, 3, "\xEF\xBB\xBF") == 0 && result.nLine == 1) {
      strWhat += " (a byte-order mark before the header?)";
    }
    return strLine + " is not INI text: " + strWhat;
  }
  // The archive form begins with the document's class tag.
  if (strStart.compare(0, 2, "\xFF\xFF") == 0 && strStart.find("CIniFile") != std::string::npos)
    return "an archived INI document, not INI text (" + strLine + "); use nimbo ini unpack to read it";
  // Text of two bytes a character holds zero bytes; its byte-order mark tells it.
  if (strStart.compare(0, 2, "\xFF\xFE") == 0 || strStart.compare(0, 2, "\xFE\xFF") == 0)
    return std::string("UTF-16 text (byte-order mark ") + (strStart[0] == '\xFF' ? "FF FE" : "FE FF") +
           "), which the store does not read: it reads 8-bit text (convert it, e.g. with iconv)";
  return strLine + " is not INI text: it holds a zero byte (binary content)";
}

std::string CannotRead(const std::string& strPath, const std::string& strWhy, const char* pBytes, size_t nBytes) {
  std::string strMessage = "cannot read " + strPath + ": " + strWhy;
  if (nBytes == 0 || pBytes[0] != '\0') return strMessage;
  const std::vector<std::string> copies = FindKeptCopies(SystemPath(strPath).c_str());
  if (copies.empty()) return strMessage;
  strMessage += "; a save of it was cut short, and its earlier content is in " + copies[0];
  if (copies.size() > 1) strMessage += " (older ones in " + std::to_string(copies.size() - 1) + " more copies)";
  return strMessage;
}

std::function<std::string(int nSeconds)> StageProgress(const std::string& strStage, const std::string& strPath,
                                                       const std::atomic<long long>* pDone, long long nTotal) {
  return [strStage, strPath, pDone, nTotal](int nSeconds) {
    std::string strShare;
    if (pDone != nullptr && nTotal > 0) strShare = " " + std::to_string(pDone->load() * 100 / nTotal) + "%";
    return "nimbo ini: " + strStage + " " + strPath + strShare + " (" + std::to_string(nSeconds) + " s)";
  };
}

bool LoadDocument(CIniFile& ini, const std::string& strPath, bool bKeyOnly) {
  CFileBytes bytes;
  int nError = 0;
  bool bRead = bytes.Read(strPath, -1, nError);
  // A file that begins with a zero byte may be in the middle of a change
  // that rewrites it in place: read once more after it.
  if (bRead && bytes.Size() > 0 && bytes.Data()[0] == '\0') {
    CIniFileLock::WaitForChanges(strPath);
    bRead = bytes.Read(strPath, -1, nError);
  }
  if (!bRead) {
    Error("cannot read " + strPath + ": " + std::strerror(nError));
    return false;
  }
  std::atomic<long long> nDone{0};
  std::string strStopLine;
  CIniReadResult result;
  {
    CProgressLine progress(StageProgress("reading", strPath, &nDone, static_cast<long long>(bytes.Size())));
    CIniMemorySource source(bytes.Data(), bytes.Size());
    CIniReader reader(source, true, &nDone);
    const std::function<void(const CIniLine&, int)> fnLine = [&strStopLine](const CIniLine& line, int) {
      if (line.eKind == EIniLine::Unreadable) strStopLine.assign(line.pText, line.nLength);
    };
    result = ini.Read(reader, bKeyOnly, &fnLine);
  }
  const std::string strWhy = WhyNotRead(result, strStopLine, bytes.Data(), bytes.Size());
  if (strWhy.empty()) return true;
  Error(CannotRead(strPath, strWhy, bytes.Data(), bytes.Size()));
  return false;
}

namespace {

// A file read block by block, opened as the other actions open it
// (IniFileAccess.h), so that only a block is held at a time; it keeps the
// first bytes it hands over, which tell what a file that is not INI text is
// (an archive, UTF-16, a save cut short).
class CFileBlocks : public CIniSource {
 public:
  explicit CFileBlocks(const std::string& strPath) : m_fd(OpenToRead(strPath)) {
    if (m_fd < 0) m_nOpenError = errno != 0 ? errno : ENOENT;
  }
  ~CFileBlocks() override {
    if (m_fd >= 0) ::close(m_fd);
  }
  CFileBlocks(const CFileBlocks&) = delete;  // owns the descriptor
  CFileBlocks& operator=(const CFileBlocks&) = delete;

  bool NextBlock(const char** ppData, size_t* pnSize, int* pnError) override {
    *pnError = m_nOpenError;
    if (m_fd < 0) return false;
    for (;;) {
      const ssize_t n = ::read(m_fd, m_block.data(), m_block.size());
      if (n > 0) {
        *ppData = m_block.data();
        *pnSize = static_cast<size_t>(n);
        if (m_strFirst.size() < kKept) m_strFirst.append(*ppData, std::min(*pnSize, kKept - m_strFirst.size()));
        return true;
      }
      if (n == 0) return false;
      if (errno != EINTR) {
        *pnError = errno;
        return false;
      }
    }
  }
  int OpenError() const override { return m_nOpenError; }
  const std::string& First() const { return m_strFirst; }

 private:
  static constexpr size_t kKept = 16;
  int m_fd;
  int m_nOpenError = 0;
  std::vector<char> m_block = std::vector<char>(64 * 1024);
  std::string m_strFirst;
};

// Whether a name (nLength bytes at p) is one a person reads as strWanted
// (whose core, without the blanks at its ends, is strCore).
bool ReadsAs(const char* p, size_t nLength, const std::string& strCore) {
  while (nLength > 0 && (*p == ' ' || *p == '\t')) ++p, --nLength;
  while (nLength > 0 && (p[nLength - 1] == ' ' || p[nLength - 1] == '\t')) --nLength;
  // Names the store finds alike are alike in length: only then is the
  // name worth a string of its own.
  return nLength == strCore.size() && SameName(std::string(p, nLength), strCore);
}

}  // namespace

namespace {

// One streamed pass over the file; strFirst receives its first bytes.
CIniReadResult ReadPart(CIniFile& ini, const std::string& strPath, const CDocumentPart& part, std::string& strFirst,
                        std::string& strStopLine) {
  const std::string strSectionCore = part.pSection != nullptr ? SplitBlanks(*part.pSection).strCore : std::string();
  const std::string strKeyCore = part.pKey != nullptr ? SplitBlanks(*part.pKey).strCore : std::string();
  std::atomic<long long> nDone{0};
  errno = 0;
  CFileBlocks source(strPath);
  CIniReadResult result;
  ini.RemoveAll();
  strStopLine.clear();
  {
    CProgressLine progress(StageProgress("reading", strPath, &nDone));
    CIniReader reader(source, true, &nDone);
    CIniDocumentBuilder builder(ini);
    CIniLine line;
    bool bInPart = false;  // the last header named a section of the part
    while (reader.Next(line)) {
      if (line.eKind == EIniLine::Header) {
        bInPart = part.pSection == nullptr || ReadsAs(line.Name(), line.NameLength(), strSectionCore);
        if (bInPart) builder.Add(line);
      } else if (line.eKind == EIniLine::Entry) {
        if (bInPart && part.bEntries && (part.pKey == nullptr || ReadsAs(line.pText, line.nEquals, strKeyCore)))
          builder.Add(line);
      } else if (line.eKind == EIniLine::Unreadable) {
        strStopLine.assign(line.pText, line.nLength);
      }
    }
    result = reader.Result();
  }
  strFirst = source.First();
  return result;
}

}  // namespace

bool LoadDocumentPart(CIniFile& ini, const std::string& strPath, const CDocumentPart& part) {
  std::string strFirst;
  std::string strStopLine;
  CIniReadResult result = ReadPart(ini, strPath, part, strFirst, strStopLine);
  std::string strWhy = WhyNotRead(result, strStopLine, strFirst.data(), strFirst.size());
  // As LoadDocument does: a zero first byte may be a change rewriting the
  // file in place; read once more after it.
  if (!strWhy.empty() && !strFirst.empty() && strFirst[0] == '\0') {
    CIniFileLock::WaitForChanges(strPath);
    result = ReadPart(ini, strPath, part, strFirst, strStopLine);
    strWhy = WhyNotRead(result, strStopLine, strFirst.data(), strFirst.size());
  }
  if (strWhy.empty()) return true;
  Error(CannotRead(strPath, strWhy, strFirst.data(), strFirst.size()));
  return false;
}

std::string CheckSection(const std::string& str) {
  if (str.empty()) return "a section name must not be empty";
  const char* pszFault = CIniFile::SectionNameFault(CString(str), true);
  return pszFault == nullptr ? std::string() : std::string("the section name ") + pszFault;
}

std::string CheckKey(const std::string& str, bool bValueEmpty, bool bKeyOnly) {
  const char* pszFault = CIniFile::KeyFault(CString(str), bValueEmpty, bKeyOnly);
  return pszFault == nullptr ? std::string() : std::string("the key ") + pszFault;
}

std::string CheckValue(const std::string& str) {
  const char* pszFault = CIniFile::ValueFault(CString(str));
  return pszFault == nullptr ? std::string() : std::string("the value ") + pszFault;
}

int SaveDocument(CIniFile& ini, const std::string& strPath) {
  const CIniFile::CTextFault fault = ini.FindTextFault();
  if (fault.pszReason != nullptr) {
    const CIniFile::CItem& section = ini.GetAt(fault.nSection);
    std::string strWhere = "section [" + section.first.Str() + "]";
    if (fault.nEntry >= 0) strWhere += ", key \"" + section.second.GetAt(fault.nEntry).first.Str() + "\"";
    return Error("cannot write " + strPath + ": " + strWhere + " " + fault.pszReason + ", which INI text cannot carry");
  }
  std::string strText;
  ini.WriteText([&strText](const char* pData, size_t nSize) { strText.append(pData, nSize); });
  std::string strWhy;
  bool bSaved = false;
  {
    CProgressLine progress(StageProgress("writing", strPath));
    bSaved = WriteWholeFile(strPath, strText.data(), strText.size(), strWhy);
  }
  return bSaved ? kExitOk : Error("cannot write " + strPath + ": " + strWhy);
}

bool WriteWholeFile(const std::string& strPath, const char* pData, size_t nSize, std::string& strWhy) {
  errno = 0;
  if (SaveWholeFile(strPath.c_str(), pData, nSize, &strWhy)) return true;
  // As git and crudini do, no folder is made for a new file: a mistyped
  // path is said, not built.
  if (errno == ENOENT) strWhy += " (a folder on its path is missing; nimbo ini makes none)";
  return false;
}

}  // namespace ini
}  // namespace nimbo
