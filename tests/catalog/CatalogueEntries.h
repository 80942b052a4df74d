// A catalogue's entries as plain strings, for comparing with an expected map.
#pragma once

#include <map>
#include <string>

#include "catalog/CZoFuncInfo.h"

namespace cataloguetest {

typedef std::map<std::string, std::string> Entries;

inline Entries EntriesOf(const CZoFuncInfo& catalogue) {
  Entries entries;
  for (const auto& entry : catalogue) entries[entry.first.Str()] = entry.second.Str();
  return entries;
}

}  // namespace cataloguetest
