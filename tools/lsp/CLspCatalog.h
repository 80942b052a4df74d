// CLspCatalog: the known functions as the language server serves them: the
// library's two catalogues, filled by their own Init through the host
// stand-ins, plus what the features need beside the prototype (the
// description from funcwiz.ini, where a project function is defined).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "CString.h"
#include "obrin/CProjectManagerObject.h"

class CZoFuncInfo;

namespace nimbo {
namespace lsp {

// Where a project function is defined.
struct CLspDefinition {
  std::string strName;
  std::string strScript;  // path of the script
  int nLine = 0;          // 0-based
  size_t nColumn = 0;     // byte offset of the name on that line
  std::string strLineText;  // that line, for columns in the client's encoding
};

// One function as completion and hover show it.
struct CLspFunction {
  std::string strName;
  std::string strLower;  // the name in ASCII lower case, the completion order
  std::string strPrototype;
  std::string strDescription;  // built-in functions: "Description" of funcwiz.ini
  bool bBuiltIn = false;
  const CLspDefinition* pDefinition = nullptr;  // project functions: the definition the catalogue took
};

// The catalogue that knows strName, looked up as the function tip does:
// the standard catalogue first, then the user catalogue; null when neither.
const CZoFuncInfo* CatalogueOf(const CString& strName);

class CLspCatalog {
 public:
  CLspCatalog() = default;
  CLspCatalog(const CLspCatalog&) = delete;  // the functions point into the definitions
  CLspCatalog& operator=(const CLspCatalog&) = delete;

  // Sets up the host: strPrograms holds funcwiz.ini, strProject the scripts
  // (empty: no project). False with a message when a directory is
  // unreadable; the other one is set up all the same.
  bool Configure(const std::string& strPrograms, const std::string& strProject, std::string& strError);

  // Re-reads funcwiz.ini (the standard catalogue is emptied first, so its
  // Init reads the file again) and rescans the project's scripts.
  void RebuildAll();
  // Rescans the project's scripts, picking up created and deleted ones.
  void RebuildUser();

  // The function the tip would show for strName, or null.
  const CLspFunction* Find(const std::string& strName) const;
  // The functions whose name begins with strPrefix ignoring ASCII case, in
  // lower-case name order, at most nMax; bMore tells whether more matched.
  std::vector<const CLspFunction*> Complete(const std::string& strPrefix, size_t nMax, bool& bMore) const;
  // Every definition in the project's scripts, in scan order.
  const std::vector<CLspDefinition>& Definitions() const { return m_definitions; }

  const std::string& ProgramsDir() const { return m_strPrograms; }
  const std::string& ProjectDir() const { return m_strProject; }

 private:
  void ReadDescriptions();
  void ScanDefinitions();
  void CollectFunctions();

  CProjectManagerObject m_manager;
  std::string m_strPrograms;
  std::string m_strProject;
  std::unordered_map<std::string, std::string> m_mapDescriptions;  // built-in name -> description
  std::vector<CLspDefinition> m_definitions;
  std::vector<CLspFunction> m_functions;                // sorted by strLower
  std::unordered_map<std::string, size_t> m_mapByName;  // name -> index into m_functions
};

// ASCII lower case, as the completion's matching ignores case.
std::string LowerAscii(const std::string& strText);

}  // namespace lsp
}  // namespace nimbo
