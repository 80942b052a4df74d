// Fuzz target: reading arbitrary bytes as INI text from memory, then writing
// what was read and reading it again.
//
// Checks beyond "no crash": the reader's lines lie end to end over the text;
// a read never leaves duplicate names; a document that was read to its end
// and that the read-back rule passes comes back from its own text whole,
// and one the rule fails does not.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ini/CIniFile.h"
#include "tests/ini/IniTestUtil.h"

namespace {

void Require(bool bCondition) {
  if (!bCondition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const char* pText = reinterpret_cast<const char*>(pData);
  {
    CIniMemorySource source(pText, nSize);
    CIniReader reader(source, (nSize & 2) != 0);
    CIniLine line;
    long long nNext = 0;
    while (reader.Next(line)) {
      Require(line.nOffset == nNext && line.nLength <= nSize);
      nNext = line.nOffset + static_cast<long long>(line.nLength + line.nEndLength);
    }
    if (reader.Result().eStatus == EIniRead::Read) Require(reader.Result().nTextEnd == nNext);
  }

  CIniFile ini;
  CIniMemorySource source(pText, nSize);
  CIniReader reader(source);
  const bool bRead = ini.Read(reader, (nSize & 1) != 0).eStatus == EIniRead::Read;
  for (int i = 0; i < ini.GetCount(); ++i) {
    const CIniFile::CItem& section = ini.GetAt(i);
    Require(ini.Find(section.first) == &section);
    for (int j = 0; j < section.second.GetCount(); ++j)
      Require(section.second.Find(section.second.GetAt(j).first) == &section.second.GetAt(j));
  }
  if (!bRead) return 0;

  std::string strWritten;
  ini.WriteText([&strWritten](const char* p, size_t n) { strWritten.append(p, n); });
  CIniFile again;
  CIniMemorySource written(strWritten.data(), strWritten.size());
  CIniReader rereader(written);
  const bool bWhole = again.Read(rereader, false).eStatus == EIniRead::Read && initest::Dump(again) == initest::Dump(ini);
  Require(bWhole == (ini.FindTextFault().pszReason == nullptr));
  return 0;
}
