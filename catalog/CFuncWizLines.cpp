// CFuncWizLines: one pass of the store's line reader over funcwiz.ini.
#include "catalog/CFuncWizLines.h"

#include "CrtMbString.h"
#include "ini/CIniReader.h"

const char kFuncWizPrototypeKey[] = "SampleLine";

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()), reinterpret_cast<const unsigned char*>(b.c_str())) ==
         0;
}

}  // namespace

bool CFuncWizLines::CNoCaseLess::operator()(const std::string& a, const std::string& b) const {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()), reinterpret_cast<const unsigned char*>(b.c_str())) <
         0;
}

bool CFuncWizLines::Read(const char* pszPath) {
  m_places.clear();
  CIniFileSource source(pszPath);
  CIniReader reader(source);
  CIniLine line;
  CFuncWizPlace* pSection = nullptr;  // the section being read, when it is the first of its name
  while (reader.Next(line)) {
    if (line.eKind == EIniLine::Header) {
      CFuncWizPlace place;
      place.nHeaderLine = static_cast<int>(line.nNumber);
      place.nHeaderLength = static_cast<int>(line.nLength);
      auto inserted = m_places.emplace(std::string(line.Name(), line.NameLength()), place);
      pSection = inserted.second ? &inserted.first->second : nullptr;
    } else if (line.eKind == EIniLine::Entry && pSection != nullptr && pSection->nPrototypeLine == 0 &&
               SameName(std::string(line.pText, line.nEquals), kFuncWizPrototypeKey)) {
      pSection->nPrototypeLine = static_cast<int>(line.nNumber);
      pSection->nPrototypeLength = static_cast<int>(line.nLength);
    }
  }
  return reader.Result().eStatus == EIniRead::Read;
}

const CFuncWizPlace* CFuncWizLines::Find(const std::string& strName) const {
  auto it = m_places.find(strName);
  return it == m_places.end() ? nullptr : &it->second;
}
