// CIniFile: reading and writing the INI text form.
#include "ini/CIniFile.h"

#include <climits>
#include <cstring>
#include <string>
#include <utility>

#include "CrtStdio.h"
#include "CrtMbString.h"
#include "FileSave.h"
#include "Win32ImageHlp.h"
#include "tamsin/CStringEx.h"

namespace {

typedef std::function<void(const char* pData, size_t nSize)> PFNWRITE;

// Writes text as the text mode of the C runtime writes it: up to its first
// zero byte, each LF as CR LF.
void WriteLine(const PFNWRITE& pfnWrite, const char* psz) {
  for (;;) {
    const size_t nPlain = std::strcspn(psz, "\n");
    pfnWrite(psz, nPlain);
    if (psz[nPlain] == '\0') return;
    pfnWrite("\r\n", 2);
    psz += nPlain + 1;
  }
}

}  // namespace

bool CIniFile::Load(LPCTSTR pszPath, bool bKeyOnlyLines) {
  RemoveAll();
  m_bKeyOnlyLines = bKeyOnlyLines;
  m_strFilePath = pszPath;

  crt::FILE* pFile = crt::fopen(m_strFilePath, "rt");
  if (pFile == nullptr) return false;

  // One line text serves every line: it is overwritten in place whenever no
  // part taken from it shares it.
  CStringEx strLine;
  std::string strSpill;
  const char* pLine = nullptr;
  size_t nLength = 0;
  bool bTooLong = false;
  CString strSection;                   // the current section; empty before the first header and after "[]"
  CIniFileSection* pSection = nullptr;  // that section; found again at each header, the only place sections are added
  while (crt::ReadLine(pFile, strSpill, &pLine, &nLength)) {
    if (nLength > static_cast<size_t>(INT_MAX)) {
      // Beyond what a string holds: the file cannot be read as it is.
      bTooLong = true;
      break;
    }
    strLine.SetString(pLine, static_cast<int>(nLength));
    if (strLine.IsEmpty() || strLine.IsFirstChar(';')) continue;  // an empty line or a comment
    if (strLine.IsFirstChar('[')) {
      if (!strLine.IsLastChar(']')) {
        crt::fclose(pFile);
        return false;
      }
      strSection = CStringEx(strLine, 1, strLine.GetLength() - 2);
      // The section left behind is most often complete: its spare room is
      // given back now, so that a file of many small sections does not hold
      // up to twice the memory its entries need.
      if (pSection != nullptr) pSection->Compact();
      pSection = &FindOrAdd(CItem(strSection, CIniFileSection())).second;
      continue;
    }
    if (strSection.IsEmpty()) {
      crt::fclose(pFile);
      return false;
    }
    CString strValue = strLine.Find('=') >= 0 ? strLine.RightChar('=') : CString();
    CString strKey = strLine.LeftChar('=');
    pSection->FindOrAdd(CIniFileSection::CItem(std::move(strKey), CString())).second = std::move(strValue);
  }
  // A last line without its LF is not parsed.
  m_bModified = false;
  const bool bAtEnd = !bTooLong && crt::feof(pFile) != 0 && crt::ferror(pFile) == 0;
  crt::fclose(pFile);
  return bAtEnd;
}

bool CIniFile::Save() { return SaveAs(m_strFilePath); }

bool CIniFile::SaveAs(LPCTSTR pszPath) {
  if (pszPath == nullptr || _mbslen(reinterpret_cast<const unsigned char*>(pszPath)) == 0) return false;
  const CString strPath(pszPath);  // pszPath may point into m_strFilePath
  if (!MakeSureDirectoryPathExists(strPath)) return false;

  // The whole text is composed before the file is touched, so that the
  // write itself is the only step left that can fail.
  std::string strText;
  WriteText([&strText](const char* pData, size_t nSize) { strText.append(pData, nSize); });
  if (!SaveWholeFile(strPath, strText.data(), strText.size())) return false;
  m_strFilePath = strPath;
  m_bModified = false;
  return true;
}

void CIniFile::WriteText(const PFNWRITE& pfnWrite) const {
  for (const CItem& section : m_items) {
    pfnWrite("[", 1);
    WriteLine(pfnWrite, section.first);
    pfnWrite("]\r\n", 3);
    for (const CIniFileSection::CItem& entry : section.second) {
      WriteLine(pfnWrite, entry.first);
      if (!m_bKeyOnlyLines || !entry.second.IsEmpty()) {
        pfnWrite("=", 1);
        WriteLine(pfnWrite, entry.second);
      }
      pfnWrite("\r\n", 2);
    }
    pfnWrite("\r\n", 2);
  }
}
