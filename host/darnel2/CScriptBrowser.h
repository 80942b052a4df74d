// CScriptBrowser: the host's list of a project's scripts, as a map from the
// script's name (its file name without the extension) to its details.
#pragma once

#include <functional>
#include <map>

#include "CString.h"
#include "darnel2/CScriptFunctionInfo.h"

class CScriptBrowser {
 public:
  typedef std::map<CString, CScriptFunctionInfo> CFunctionMap;

  // Extension of script files, compared ignoring the case of ASCII letters.
  static const char* const kScriptExtension;  // ".nsc"

  CScriptBrowser() = default;

  // Replaces the map by the script files found directly in strDirectory
  // (not in its subdirectories): every regular file whose name ends with
  // the script extension, keyed by the name without the extension. False,
  // with the map emptied, when the directory cannot be read.
  bool BrowseDirectory(const CString& strDirectory);

  // Adds one entry naming strPath under strName, unless strName is already
  // there; true when it was added. The file need not exist.
  bool AddScript(const CString& strName, const CString& strPath);
  void RemoveAll() { m_mapFunctions.clear(); }

  CFunctionMap& GetFunctionMap() { return m_mapFunctions; }
  const CFunctionMap& GetFunctionMap() const { return m_mapFunctions; }

  // Steps it to the element after it (no element is skipped) and returns
  // the new position, the map's end after the last element. An iterator
  // already at the end stays there.
  CFunctionMap::iterator GetNext(CFunctionMap::iterator& it);

  // Called on every step of GetNext, so that the host can show how far a
  // walk over the scripts (the user catalogue's scan) has come. Empty: none.
  void SetStepObserver(std::function<void()> fnOnStep) { m_fnOnStep = std::move(fnOnStep); }

 private:
  CFunctionMap m_mapFunctions;  // ordered by script name, case-sensitively
  std::function<void()> m_fnOnStep;
};
