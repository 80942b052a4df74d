// Fuzz target: loading arbitrary bytes as INI text, then saving what was read
// and loading it again.
//
// Checks beyond "no crash": a load never leaves duplicate names; a document
// that loaded completely and holds only names a save can represent comes back
// from its own text with the same sections, keys and values.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzScratch.h"
#include "ini/CIniFile.h"

namespace {

// A zero byte ends a name or value when it is written (the writer prints
// text), though the reader keeps it.
bool HasZero(const CString& str) { return std::strlen(str) != static_cast<size_t>(str.GetLength()); }

// What the text form can carry unchanged (see CIniFile::SaveAs).
bool IsRepresentable(CIniFile& ini) {
  for (const CIniFile::CItem& section : ini) {
    if (section.first.Find('\n') >= 0 || HasZero(section.first)) return false;
    if (section.first.IsEmpty() && section.second.GetCount() > 0) return false;
    for (const CIniFileSection::CItem& entry : section.second) {
      if (entry.first.Find('\n') >= 0 || entry.second.Find('\n') >= 0 || entry.first.Find('=') >= 0) return false;
      if (!entry.first.IsEmpty() && (entry.first[0] == ';' || entry.first[0] == '[')) return false;
      if (entry.first.IsEmpty()) return false;
      if (HasZero(entry.first) || HasZero(entry.second)) return false;  // an empty key and an empty line look alike
      if (entry.first.Find('\r') >= 0 || entry.second.Find('\r') >= 0) return false;  // CR before LF is eaten
      if (entry.first.Find('\x1a') >= 0 || entry.second.Find('\x1a') >= 0) return false;
    }
    if (section.first.Find('\r') >= 0 || section.first.Find('\x1a') >= 0) return false;
  }
  return true;
}

void Require(bool bCondition) {
  if (!bCondition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string strInput = FuzzScratchDir() + "/input.ini";
  const std::string strSaved = FuzzScratchDir() + "/saved.ini";
  FuzzWriteFile(strInput, pData, nSize);

  CIniFile ini;
  const bool bLoaded = ini.Load(strInput.c_str(), (nSize & 1) != 0);
  for (int i = 0; i < ini.GetCount(); ++i) {
    const CIniFile::CItem& section = ini.GetAt(i);
    Require(ini.Find(section.first) == &section);
    for (int j = 0; j < section.second.GetCount(); ++j)
      Require(section.second.Find(section.second.GetAt(j).first) == &section.second.GetAt(j));
  }
  if (!bLoaded || !IsRepresentable(ini)) return 0;

  Require(ini.SaveAs(strSaved.c_str()));
  CIniFile again;
  Require(again.Load(strSaved.c_str(), false));
  Require(again.GetCount() == ini.GetCount());
  for (int i = 0; i < ini.GetCount(); ++i) {
    const CIniFile::CItem& a = ini.GetAt(i);
    const CIniFile::CItem& b = again.GetAt(i);
    Require(a.first == b.first && a.second.GetCount() == b.second.GetCount());
    for (int j = 0; j < a.second.GetCount(); ++j)
      Require(a.second.GetAt(j).first == b.second.GetAt(j).first &&
              a.second.GetAt(j).second == b.second.GetAt(j).second);
  }
  return 0;
}
