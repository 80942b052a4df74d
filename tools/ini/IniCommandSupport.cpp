// Messages, reading files once, loading and saving documents, and whole-file
// writes of `nimbo ini`.
#include "tools/ini/IniCommandSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "FileSave.h"
#include "Win32ImageHlp.h"
#include "ini/CIniFile.h"
#include "tools/ini/IniFileBytes.h"
#include "tools/ini/IniFileLock.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/ini/IniSystem.h"
#include "tools/nimbo/ProgressLine.h"

namespace nimbo {
namespace ini {

int Error(const std::string& strMessage) {
  std::fprintf(stderr, "nimbo ini: %s\n", strMessage.c_str());
  return kExitError;
}

std::string WhyNotRead(const CIniReadResult& result, char cLineStart, const char* pBytes, size_t nBytes) {
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
  if (!result.bBinary)
    return strLine + " is not INI text: " +
           (cLineStart == '[' ? "a \"[\" line without its \"]\""
            : cLineStart == '#' ? "an entry outside a named section (only \";\" begins a comment)"
            : cLineStart == '\xEF' ? "an entry outside a named section (a byte-order mark before the header?)"
                                : "an entry outside a named section");
  // The archive form begins with the document's class tag.
  const std::string strStart(pBytes, std::min<size_t>(nBytes, 16));
  if (strStart.compare(0, 2, "\xFF\xFF") == 0 && strStart.find("CIniFile") != std::string::npos)
    return "an archived INI document, not INI text (" + strLine + "); use nimbo ini unpack to read it";
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
  char cLast = 0;
  CIniReadResult result;
  {
    CProgressLine progress(StageProgress("reading", strPath, &nDone, static_cast<long long>(bytes.Size())));
    CIniMemorySource source(bytes.Data(), bytes.Size());
    CIniReader reader(source, true, &nDone);
    const std::function<void(const CIniLine&, int)> fnLine = [&cLast](const CIniLine& line, int) {
      cLast = line.nLength > 0 ? line.pText[0] : 0;
    };
    result = ini.Read(reader, bKeyOnly, &fnLine);
  }
  const std::string strWhy = WhyNotRead(result, cLast, bytes.Data(), bytes.Size());
  if (strWhy.empty()) return true;
  Error(CannotRead(strPath, strWhy, bytes.Data(), bytes.Size()));
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
  if (!MakeSureDirectoryPathExists(SystemPath(strPath).c_str())) {
    strWhy = std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  return SaveWholeFile(strPath.c_str(), pData, nSize, &strWhy);
}

}  // namespace ini
}  // namespace nimbo
