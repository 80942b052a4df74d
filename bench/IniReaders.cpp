// IniReaders: summaries of what each reader read.
#include "IniReaders.h"

#include <INIReader.h>
#include <ini.h>

#include "ini/CIniFile.h"

CIniSummary SummaryOf(const CIniFile& ini) {
  CIniSummary summary;
  for (const CIniFile::CItem& section : ini) {
    ++summary.nSections;
    for (const CIniFileSection::CItem& entry : section.second) {
      ++summary.nEntries;
      summary.nChecksum += EntryChecksum(section.first, entry.first, entry.second);
    }
  }
  return summary;
}

namespace {

struct CInihState {
  CIniSummary summary;
  std::string strSection;
};

int CountingHandler(void* pUser, const char* pszSection, const char* pszName, const char* pszValue) {
  CInihState& state = *static_cast<CInihState*>(pUser);
  if (state.strSection != pszSection) {
    state.strSection = pszSection;
    ++state.summary.nSections;  // sections are contiguous in the generated files
  }
  ++state.summary.nEntries;
  state.summary.nChecksum += EntryChecksum(pszSection, pszName, pszValue);
  return 1;
}

int EmptyHandler(void*, const char*, const char*, const char*) { return 1; }

}  // namespace

bool SummaryByInih(const std::string& strPath, CIniSummary* pSummary) {
  CInihState state;
  const bool bOk = ini_parse(strPath.c_str(), CountingHandler, &state) == 0;
  *pSummary = state.summary;
  return bOk;
}

bool ParseWithEmptyHandler(const std::string& strPath) { return ini_parse(strPath.c_str(), EmptyHandler, nullptr) == 0; }

namespace {

// The name as a reader that trims blanks at both ends has it.
std::string Trimmed(const CString& str) {
  const std::string strText(str);
  const size_t nFirst = strText.find_first_not_of(' ');
  return nFirst == std::string::npos ? std::string() : strText.substr(nFirst, strText.find_last_not_of(' ') - nFirst + 1);
}

}  // namespace

CIniSummary SummaryByLookups(const INIReader& reader, const CIniFile& reference) {
  CIniSummary summary;
  for (const CIniFile::CItem& section : reference) {
    if (!reader.HasSection(Trimmed(section.first))) continue;
    ++summary.nSections;
    for (const CIniFileSection::CItem& entry : section.second) {
      const std::string strSection = Trimmed(section.first), strKey = Trimmed(entry.first);
      if (!reader.HasValue(strSection, strKey)) continue;
      ++summary.nEntries;
      summary.nChecksum +=
          EntryChecksum(strSection.c_str(), strKey.c_str(), reader.Get(strSection, strKey, "").c_str());
    }
  }
  return summary;
}
