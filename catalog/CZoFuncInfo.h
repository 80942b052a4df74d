// CZoFuncInfo: a function catalogue, the ordered map from a script
// function's name to the prototype text that the function tip shows.
#pragma once

#include <map>

#include "CObject.h"
#include "CString.h"

class CProjectManagerObject;

/// Names are ordered and matched case-sensitively by CString's order (Foo and
/// foo are two entries, upper case first). Catalogues are filled only by
/// insertion, so the text inserted first for a name stays. Copies are
/// independent: copying and assignment copy every entry, and assignment first
/// empties the target (assigning a catalogue to itself changes nothing).
class AFX_EXT_CLASS CZoFuncInfo : public std::map<CString, CString> {
 public:
  CZoFuncInfo();
  /// A catalogue with every entry of other.
  CZoFuncInfo(const CZoFuncInfo& other);
  /// Empties this catalogue, then copies every entry of other.
  CZoFuncInfo& operator=(const CZoFuncInfo& other);
  virtual ~CZoFuncInfo();

  /// Fills the catalogue from its source; pManager is the host's project
  /// manager. The base catalogue has no source: it returns false and leaves
  /// the entries as they are.
  virtual bool Init(CProjectManagerObject* pManager);
};
