// CIniFile: reading and writing the INI text form.
#include "ini/CIniFile.h"

#include <string>
#include <utility>

#include "CrtStdio.h"
#include "FileApi.h"
#include "ImageHlp.h"
#include "MbString.h"
#include "tamsin/CStringEx.h"

namespace {

// The file that SaveAs writes before it replaces the target with it: beside
// the target, so that the replacement stays within one file system.
CString TemporaryPathFor(const CString& strPath) { return strPath + ".~tmp"; }

}  // namespace

bool CIniFile::Load(LPCTSTR pszPath, bool bKeyOnlyLines) {
  RemoveAll();
  m_bKeyOnlyLines = bKeyOnlyLines;
  m_strFilePath = pszPath;

  crt::FILE* pFile = crt::fopen(m_strFilePath, "rt");
  if (pFile == nullptr) return false;

  // Bytes of the line are gathered in a plain buffer through a pointer held
  // in a local (so the loop stays in registers) and become one CStringEx once
  // the line is complete.
  std::string strBytes(256, '\0');  // the line is its first nLength bytes
  char* pBytes = &strBytes[0];
  size_t nLength = 0;
  CString strSection;                   // the current section; empty before the first header and after "[]"
  CIniFileSection* pSection = nullptr;  // that section; found again at each header, the only place sections are added
  for (int c = crt::fgetc(pFile); c != crt::kEof; c = crt::fgetc(pFile)) {
    if (c != '\n') {
      if (nLength == strBytes.size()) {
        strBytes.resize(2 * nLength);
        pBytes = &strBytes[0];
      }
      pBytes[nLength++] = static_cast<char>(c);
      continue;
    }
    const CStringEx strLine(CString(pBytes, static_cast<int>(nLength)));
    nLength = 0;
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
    const CString strKey = strLine.LeftChar('=');
    pSection->FindOrAdd(CIniFileSection::CItem(strKey, CString())).second = std::move(strValue);
  }
  // A last line without its LF is not parsed.
  m_bModified = false;
  const bool bAtEnd = crt::feof(pFile) != 0 && crt::ferror(pFile) == 0;
  crt::fclose(pFile);
  return bAtEnd;
}

bool CIniFile::Save() { return SaveAs(m_strFilePath); }

bool CIniFile::SaveAs(LPCTSTR pszPath) {
  if (pszPath == nullptr || _mbslen(reinterpret_cast<const unsigned char*>(pszPath)) == 0) return false;
  const CString strPath(pszPath);  // pszPath may point into m_strFilePath
  if (!MakeSureDirectoryPathExists(strPath)) return false;

  // The text goes to a file of its own first, which takes the target's place
  // only when all of it was written and closed: a failed save (a full disk,
  // say) leaves the previous file as it was.
  const CString strTemporary = TemporaryPathFor(strPath);
  crt::FILE* pFile = crt::fopen(strTemporary, "wt");
  if (pFile == nullptr) return false;
  bool bWritten = true;
  for (const CItem& section : m_items) {
    bWritten = bWritten && crt::fprintf(pFile, "[%s]\n", static_cast<LPCTSTR>(section.first)) >= 0;
    for (const CIniFileSection::CItem& entry : section.second) {
      if (m_bKeyOnlyLines && entry.second.IsEmpty())
        bWritten = bWritten && crt::fprintf(pFile, "%s\n", static_cast<LPCTSTR>(entry.first)) >= 0;
      else
        bWritten = bWritten && crt::fprintf(pFile, "%s=%s\n", static_cast<LPCTSTR>(entry.first),
                                            static_cast<LPCTSTR>(entry.second)) >= 0;
    }
    bWritten = bWritten && crt::fprintf(pFile, "\n") >= 0;
    if (!bWritten) break;
  }
  const bool bClosed = crt::fclose(pFile) == 0;
  // An existing file is replaced keeping its identity (permissions); a new
  // one simply takes the temporary file's place.
  if (!bWritten || !bClosed ||
      !(ReplaceFile(strPath, strTemporary, nullptr, 0, nullptr, nullptr) ||
        MoveFileEx(strTemporary, strPath, MOVEFILE_REPLACE_EXISTING))) {
    DeleteFile(strTemporary);
    return false;
  }
  m_strFilePath = strPath;
  m_bModified = false;
  return true;
}
