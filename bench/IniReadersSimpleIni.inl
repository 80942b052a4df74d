// IniReaders: the SimpleIni summary, a template over the document class.
#pragma once

#include <list>

template <class TIni>
CIniSummary SummaryOfSimpleIni(const TIni& ini) {
  CIniSummary summary;
  typename TIni::TNamesDepend sections;
  ini.GetAllSections(sections);
  for (const auto& section : sections) {
    ++summary.nSections;
    typename TIni::TNamesDepend keys;
    ini.GetAllKeys(section.pItem, keys);
    for (const auto& key : keys) {
      ++summary.nEntries;
      summary.nChecksum += EntryChecksum(section.pItem, key.pItem, ini.GetValue(section.pItem, key.pItem, ""));
    }
  }
  return summary;
}
