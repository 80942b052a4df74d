// Messages, document loading and saving, and whole-file writes of `nimbo ini`.
#include "tools/ini/IniCommandSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "FileSave.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/ini/IniSystem.h"
#include "tools/nimbo/ProgressLine.h"
#include "ini/CIniFile.h"

namespace nimbo {
namespace ini {

int Error(const std::string& strMessage) {
  std::fprintf(stderr, "nimbo ini: %s\n", strMessage.c_str());
  return kExitError;
}

std::function<std::string(int nSeconds)> StageProgress(const std::string& strStage, const std::string& strPath) {
  return [strStage, strPath](int nSeconds) {
    const int nPercent = strStage == "reading" ? ReadPercent(strPath) : -1;
    return "nimbo ini: " + strStage + " " + strPath + (nPercent >= 0 ? " " + std::to_string(nPercent) + "%" : "") +
           " (" + std::to_string(nSeconds) + " s)";
  };
}

bool LoadDocument(CIniFile& ini, const std::string& strPath, bool bKeyOnly) {
  bool bLoaded = false;
  {
    CProgressLine progress(StageProgress("reading", strPath));
    bLoaded = ini.Load(strPath.c_str(), bKeyOnly);
  }
  if (bLoaded) return true;
  // Tell a file that cannot be read (a directory opens, then fails to read)
  // from one that was read and is not INI text.
  int nError = 0;
  std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
  if (pFile == nullptr) {
    nError = errno;
  } else {
    errno = 0;
    if (std::fgetc(pFile) == EOF && std::ferror(pFile) != 0) nError = errno != 0 ? errno : EIO;
    std::fclose(pFile);
  }
  if (nError != 0)
    Error("cannot read " + strPath + ": " + std::strerror(nError));
  else
    Error("cannot read " + strPath + ": not well-formed INI text");
  return false;
}

bool HasLineBreakOrEnd(const std::string& str) { return str.find_first_of("\n\x1A") != std::string::npos; }

std::string CheckKey(const std::string& str) {
  if (HasLineBreakOrEnd(str)) return "a key must not hold a line break or Ctrl-Z";
  if (str.find('=') != std::string::npos) return "a key must not hold \"=\"";
  if (!str.empty() && (str[0] == ';' || str[0] == '[')) return "a key must not begin with \";\" or \"[\"";
  return std::string();
}

std::string CheckDocument(const CIniFile& ini, bool bKeyOnly) {
  // The writer prints names and values as text, up to a zero byte.
  auto fnCut = [](const CString& str) { return std::strlen(str) != static_cast<size_t>(str.GetLength()); };
  for (const CIniFile::CItem& section : ini) {
    const std::string strWhere = "section [" + section.first.Str() + "]";
    if (HasLineBreakOrEnd(section.first.Str()) || fnCut(section.first))
      return strWhere + ": a section name must not hold a line break, Ctrl-Z or a zero byte";
    if (section.first.IsEmpty() && section.second.GetCount() > 0)
      return "the section with the empty name holds entries, which would not read back";
    for (const CIniFileSection::CItem& entry : section.second) {
      std::string strProblem = CheckKey(entry.first.Str());
      if (strProblem.empty() && fnCut(entry.first)) strProblem = "a key must not hold a zero byte";
      if (strProblem.empty() && (HasLineBreakOrEnd(entry.second.Str()) || fnCut(entry.second)))
        strProblem = "a value must not hold a line break, Ctrl-Z or a zero byte";
      // Written as the key alone, such an entry is an empty line.
      if (strProblem.empty() && bKeyOnly && entry.first.IsEmpty() && entry.second.IsEmpty())
        strProblem = "an empty key with an empty value cannot be written with --key-only";
      if (!strProblem.empty()) return strWhere + ", key \"" + entry.first.Str() + "\": " + strProblem;
    }
  }
  return std::string();
}

int SaveDocument(CIniFile& ini, const std::string& strPath, bool bKeyOnly) {
  const std::string strProblem = CheckDocument(ini, bKeyOnly);
  if (!strProblem.empty()) return Error("cannot change " + strPath + ": " + strProblem);
  bool bSaved = false;
  {
    CProgressLine progress(StageProgress("writing", strPath));
    bSaved = ini.SaveAs(SystemPath(strPath).c_str());
  }
  if (bSaved) return kExitOk;
  return Error("cannot write " + strPath);
}

bool WriteWholeFile(const std::string& strPath, const std::vector<unsigned char>& bytes) {
  return SaveWholeFile(strPath.c_str(), reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace ini
}  // namespace nimbo
