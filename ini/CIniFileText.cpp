// CIniFile: reading and writing the INI text form.
#include "ini/CIniFile.h"

#include <cstring>
#include <string>
#include <utility>

#include "CrtMbString.h"
#include "FileSave.h"
#include "Win32ImageHlp.h"
#include "ini/CIniDocumentBuilder.h"

namespace {

typedef std::function<void(const char* pData, size_t nSize)> PFNWRITE;

const char kCtrlZ = '\x1A';

// The bytes of a name or value that the writer prints: up to its first zero
// byte (it prints text).
size_t WrittenLength(const CString& str) { return std::strlen(str); }

// A name or value whose text the writer cuts, or that holds a byte that ends
// a line or the text on reading.
const char* LineFault(const CString& str) {
  if (WrittenLength(str) != static_cast<size_t>(str.GetLength())) return "holds a zero byte";
  if (str.Find('\n') >= 0) return "holds a line break";
  if (str.Find(kCtrlZ) >= 0) return "holds a Ctrl-Z";
  return nullptr;
}

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
  m_strFilePath = pszPath;
  CIniFileSource source(m_strFilePath);
  CIniReader reader(source);
  return Read(reader, bKeyOnlyLines).eStatus == EIniRead::Read;
}

CIniReadResult CIniFile::Read(CIniReader& reader, bool bKeyOnlyLines,
                              const std::function<void(const CIniLine& line, int nSection)>* pfnLine) {
  RemoveAll();
  m_bKeyOnlyLines = bKeyOnlyLines;
  CIniDocumentBuilder builder(*this);
  CIniLine line;
  if (pfnLine == nullptr) {
    while (reader.Next(line)) builder.Add(line);
  } else {
    while (reader.Next(line)) {
      builder.Add(line);
      (*pfnLine)(line, builder.SectionPosition());
    }
  }
  const CIniReadResult& result = reader.Result();
  // A file that cannot be opened, or a line that is not INI text, leaves the
  // flag alone; a read that ran to the end or failed part way clears it.
  if (result.eStatus != EIniRead::CannotOpen && result.eStatus != EIniRead::NotText) m_bModified = false;
  return result;
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

const char* CIniFile::SectionNameFault(const CString& strName, bool bHasEntries) {
  if (const char* pszFault = LineFault(strName)) return pszFault;
  // Entries after a header "[]" are not read.
  if (strName.IsEmpty() && bHasEntries) return "is empty and holds entries";
  return nullptr;
}

const char* CIniFile::KeyFault(const CString& strKey, bool bValueEmpty, bool bKeyOnlyLines) {
  if (const char* pszFault = LineFault(strKey)) return pszFault;
  // The reader divides at the first "=", and tells lines by their first character.
  if (strKey.Find('=') >= 0) return "holds \"=\"";
  if (!strKey.IsEmpty() && (strKey[0] == ';' || strKey[0] == '[')) return "begins with \";\" or \"[\"";
  // Written as the key alone, it would be an empty line.
  if (strKey.IsEmpty() && bValueEmpty && bKeyOnlyLines) return "is empty, with an empty value, in key-only lines";
  return nullptr;
}

const char* CIniFile::ValueFault(const CString& strValue) { return LineFault(strValue); }

CIniFile::CTextFault CIniFile::FindTextFault() const {
  CTextFault fault;
  for (const CItem& section : m_items) {
    ++fault.nSection;
    fault.nEntry = -1;
    fault.pszReason = SectionNameFault(section.first, section.second.GetCount() > 0);
    if (fault.pszReason != nullptr) return fault;
    for (const CIniFileSection::CItem& entry : section.second) {
      ++fault.nEntry;
      fault.pszReason = KeyFault(entry.first, entry.second.IsEmpty(), m_bKeyOnlyLines);
      if (fault.pszReason == nullptr) fault.pszReason = ValueFault(entry.second);
      if (fault.pszReason != nullptr) return fault;
    }
  }
  return CTextFault();
}
