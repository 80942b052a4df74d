// CLspCatalog: the known functions as the language server serves them: the
// library's two process-wide catalogues plus what the features need beside
// the prototype (the description from funcwiz.ini, where each project
// function is defined).
//
// The standard catalogue is filled by its own Init through the host
// stand-ins. The user catalogue is kept here script by script, with the
// header rule of its Init (CZoFuncInfoUser::ReadNextHeader), so that one
// saved script costs the work of that script: after any sequence of
// changes it holds what its Init would give over the same scripts read in
// key order (the first definition of a name wins).
//
// Not thread-safe, and the catalogues it fills are process-wide: the server
// calls it from one thread only (its worker), and nothing else in the
// process touches g_FuncInfoStd or g_FuncInfoUser.
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "CString.h"
#include "catalog/CFuncWizLines.h"
#include "obrin/CProjectManagerObject.h"
#include "tools/lsp/CLspCallIndex.h"
#include "tools/lsp/CLspDocument.h"
#include "tools/lsp/LspProjectFiles.h"
#include "tools/lsp/LspScriptScan.h"

namespace nimbo {
namespace lsp {

// One script the catalogue has read: a project file, or an open document
// whose text stands for the file's.
struct CLspScript {
  std::string strPath;
  CLspStamp stamp;         // the file's when it was read (documents: unset)
  bool bDocument = false;  // read from an open document's text
  unsigned long long nRevision = 0;  // documents: the revision of the text read (CLspDocument::Revision)
  std::vector<CLspDefinition> definitions;  // in text order
  CLspCallSites sites;                      // its calls and declarations, once bSitesRead
  bool bSitesRead = false;
};

// A function as the tip shows it.
struct CLspFunction {
  CString strName;
  CString strPrototype;
  bool bBuiltIn = false;       // the standard catalogue's (which wins over a project function of the name)
  std::string strDescription;  // built-in functions: "Description" of funcwiz.ini
};

// A project definition and the script it is in.
typedef std::pair<const CLspScript*, const CLspDefinition*> CLspPlace;

class CLspCatalog {
 public:
  CLspCatalog() = default;
  CLspCatalog(const CLspCatalog&) = delete;  // one owner of the process-wide catalogues
  CLspCatalog& operator=(const CLspCatalog&) = delete;

  // Sets up the host: strPrograms holds funcwiz.ini, projects the trees of
  // scripts, the main one first (none: no project), excluded their folders
  // not to read (see CLspFolderFilter); columns are counted in eEncoding.
  // False when a directory is unreadable, with a message about the Programs
  // directory in strProgramsError and about the project folders in
  // strProjectsError; the others are set up all the same (a project folder
  // that cannot be read is left out).
  bool Configure(const std::string& strPrograms, const std::vector<std::string>& projects,
                 const std::vector<std::string>& excluded, EPositionEncoding eEncoding,
                 std::string& strProgramsError, std::string& strProjectsError);

  // Empties the standard catalogue and fills it again from funcwiz.ini.
  void ReloadBuiltIns();
  // After ReloadBuiltIns: a message naming funcwiz.ini when it could not be
  // read or describes no function (every built-in call then looks
  // unknown), given once for each spell in which the file stays so; false
  // when the file was read or its trouble was told already.
  bool TakeBuiltInsProblem(std::string& strMessage);

  // Fills script's definitions and call sites from its text.
  void ReadText(CLspScript& script, const std::string& strText);
  // Fills the call sites of the script at strKey from its text (which the
  // caller knows to be the one its definitions were read from).
  void ReadSites(const CString& strKey, const std::string& strText);
  // The same for an open document, from its pieces (read again only where
  // it changed), so that it is read one way for every feature.
  void ReadSites(const CString& strKey, CLspDocument& document);

  // A full index: Begin empties the user catalogue and forgets every
  // script; AddInOrder must then be given the scripts in key order (as the
  // host's browser visits them); End settles the names of scripts that
  // SetScript changed in between, out of order.
  void BeginFullIndex();
  void AddInOrder(const CString& strKey, CLspScript script);
  void EndFullIndex();

  // Replaces (or adds) one script's definitions; RemoveScript forgets one.
  // Only the names whose definitions changed are looked at again.
  void SetScript(const CString& strKey, CLspScript script);
  void RemoveScript(const CString& strKey);

  // The key of a script path: the path relative to the project's root, or
  // the path itself outside it. Keys order the scripts.
  CString KeyOf(const std::string& strPath) const;
  // True the first time a path is said to be unreadable: each is logged once.
  bool FirstUnreadable(const std::string& strPath) { return m_unreadable.insert(strPath).second; }
  // How messages, hover and symbol lists name a script: by its key, so
  // that two util.nsc in different folders are told apart, with "/"
  // between folders on every system (as in the script's URI).
  std::string DisplayName(const std::string& strPath) const;
  const CLspScript* ScriptAt(const CString& strKey) const;
  const std::map<CString, CLspScript>& Scripts() const { return m_scripts; }
  // The ids of the names in the scripts' call sites.
  const CLspNameTable& Names() const { return m_names; }

  // The function the tip would show for strName; false when none.
  bool Find(const std::string& strName, CLspFunction& function) const;
  // Whether funcwiz.ini gives strName (then calls of it call the built-in).
  bool IsBuiltIn(const std::string& strName) const;
  // Every project definition of strName, in key order (the first is the
  // one the user catalogue took), also when a built-in has the name.
  std::vector<CLspPlace> DefinitionsOf(const CString& strName) const;
  // The names strWord matches (FuzzyMatch), best first, equals in name
  // order (ASCII case ignored, then by case), at most nMax; bMore tells
  // whether more matched. One pass over the names, keeping the best nMax.
  std::vector<CString> Complete(const std::string& strWord, size_t nMax, bool& bMore);

  // Changes whenever what the catalogues say may have changed: built-ins
  // read again, a script added, removed, or with other definitions (names,
  // prototypes or places). What is worked out from the catalogues may be
  // kept while it stays the same.
  unsigned long long Generation() const { return m_nGeneration; }
  // Changes when names or prototypes may have changed; what changes
  // Generation but not this moved definitions only (lines were added or
  // taken away above them).
  unsigned long long NamesGeneration() const { return m_nNamesGeneration; }
  // Where funcwiz.ini describes a built-in function: the 0-based line of
  // its prototype ("SampleLine" of the first section of its name, else the
  // section's header) and that line's length; false when it is not there.
  bool BuiltInLine(const std::string& strName, int& nLine, int& nLength) const;
  std::string FuncWizPath() const { return m_strPrograms + "/funcwiz.ini"; }

  const std::string& ProgramsDir() const { return m_strPrograms; }
  // The main project folder; empty: none. Filter().Roots() has them all.
  const std::string& ProjectDir() const { return m_filter.Root(); }
  const CLspFolderFilter& Filter() const { return m_filter; }
  EPositionEncoding Encoding() const { return m_eEncoding; }

 private:
  void ReadDescriptions();
  // Makes the user catalogue's entry for strName what Init would give.
  void ResolveName(const CString& strName);
  void ScanSites(CLspScript& script, const std::string& strText);
  bool IsKnown(const CString& strName) const;
  void NoteKnown(const CString& strName, bool bWasKnown);

  // Every definition by name, then by script key: the first of a name is
  // the one the user catalogue takes. Built in one sort after a full index,
  // kept by insertion and removal after that.
  typedef std::map<CString, CLspScript>::const_iterator CScriptIt;
  struct CNameRef {
    CString strName;
    CScriptIt itScript;
  };
  static bool NameRefLess(const CNameRef& a, const CNameRef& b);
  void IndexNames(CScriptIt itScript);
  void UnindexNames(CScriptIt itScript);
  // The refs of strName (empty range while the index is stale).
  std::pair<std::vector<CNameRef>::const_iterator, std::vector<CNameRef>::const_iterator> RefsOf(
      const CString& strName) const;

  CProjectManagerObject m_manager;  // the standard catalogue reads "Programs" through it
  std::string m_strPrograms;
  CLspFolderFilter m_filter;
  EPositionEncoding m_eEncoding = encodingUtf16;
  std::unordered_map<std::string, std::string> m_mapDescriptions;  // built-in name -> description
  CFuncWizLines m_funcWizLines;  // where funcwiz.ini describes each built-in
  std::string m_strBuiltInsProblem;  // of the last ReloadBuiltIns; empty when funcwiz.ini was read
  bool m_bProblemTold = false;       // m_strBuiltInsProblem was taken
  std::set<std::string> m_unreadable;  // scripts and folders logged as unreadable
  unsigned long long m_nGeneration = 1;
  unsigned long long m_nNamesGeneration = 1;
  std::map<CString, CLspScript> m_scripts;                         // by key
  CLspNameTable m_names;                                           // of every script's sites
  bool m_bFullIndex = false;                    // between BeginFullIndex and EndFullIndex
  std::vector<CString> m_outOfOrder;            // keys SetScript changed during a full index
  std::vector<CNameRef> m_byName;               // see CNameRef
  bool m_bByNameStale = false;                  // during a full index: not sorted, not to be searched
  std::vector<CString> m_completion;            // every known name, ASCII case ignored, then by case
  bool m_bCompletionStale = true;               // m_completion must be built again
};

// ASCII lower case, as the completion's matching ignores case.
std::string LowerAscii(const std::string& strText);

}  // namespace lsp
}  // namespace nimbo
