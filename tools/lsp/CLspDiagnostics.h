// CLspDiagnostics: what the server reports on an open script, each finding
// with a `code` naming its kind:
//   unknownFunction           a call of a name neither built in nor defined in
//                             the project (not after "."), with the nearest
//                             known names as "did you mean"
//   argumentCount             a call with more or fewer arguments than its
//                             prototype takes (a final "..." takes any number
//                             from the fixed part on)
//   hiddenByBuiltin           a project definition whose name a built-in has:
//                             the built-in is the one called
//   declareWithoutDefinition  a "declare" of a name nothing defines
//   duplicateDefinition       a definition after the one the catalogue took
//   unclosedCall              a call whose ")" is missing before its statement
//                             or block ends
//   unclosedString            a string or character literal whose closing quote
//                             is missing: it ends at the end of its line
// Each kind's severity can be set ("error", "warning", "information",
// "hint") or the kind turned "off".
//
// Findings are worked out piece by piece of the document (see
// CLspDocumentFacts) and kept with the piece until it or the catalogue
// changes; what a name is (known, its prototype, the names near it) is
// kept per name until the catalogue changes. So an edit costs the piece it
// touches and the document's list, not the document.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/lsp/CLspCatalog.h"
#include "tools/lsp/CLspDocument.h"
#include "tools/lsp/LspFinding.h"
#include "tools/lsp/LspProtocol.h"

namespace nimbo {
namespace lsp {

class CLspDiagnostics {
 public:
  CLspDiagnostics();

  // Takes the severities of a "diagnostics" object (kind name -> severity
  // name, as initializationOptions and the "nimbo" settings give it): each
  // kind it does not name, or names with a severity that is not one,
  // takes its default. True when a severity changed. Each value that names
  // no severity adds a line saying so to *pProblems, when given.
  bool Configure(const nlohmann::json& settings, std::vector<std::string>* pProblems = nullptr);

  // The diagnostics of an open script, in text order, each with its
  // severity; kinds turned off are left out. strPath is the script's path;
  // the catalogue must hold the document's current definitions.
  std::vector<CLspDiagnostic> Compute(CLspDocument& document, const std::string& strPath, CLspCatalog& catalog,
                                      EPositionEncoding eEncoding);

 private:
  // What a called name is, against the catalogue's names of
  // m_nNamesGeneration; the places in it, against m_nGeneration.
  struct CVerdict {
    unsigned long long nNamesGeneration = 0;  // of the catalogue's names it was worked out against
    bool bKnown = false;
    bool bBuiltIn = false;
    std::string strPrototype;  // UTF-8
    int nFixed = 0;            // parameters before a final "..."
    bool bRest = false;        // the prototype ends with "..."
    bool bSuggested = false;   // unknown names: suggestions worked out
    std::vector<std::string> suggestions;  // the known names nearest to it, best first
    std::string strSuggestions;  // "StrLeft or StrLen"
    unsigned long long nPlacesGeneration = 0;  // of the two below
    // The prototype where it is written; empty when it is written nowhere.
    std::vector<CLspRelatedInformation> prototypeAt;
    std::vector<CLspRelatedInformation> suggestionsAt;  // the suggestions' prototypes, where they are written
  };
  CVerdict& VerdictOf(const std::string& strName, CLspCatalog& catalog);
  // The verdict with its places worked out for the catalogue's generation:
  // only for the names a finding points from (most names need none).
  const CVerdict& Placed(const std::string& strName, CVerdict& verdict, CLspCatalog& catalog);
  void Suggest(const std::string& strName, CVerdict& verdict, CLspCatalog& catalog);
  // Where the prototype of a known name is written; false when nowhere.
  bool PrototypeAt(const std::string& strName, bool bBuiltIn, CLspCatalog& catalog, CLspLocation& location) const;
  void ComputePiece(CLspFactsPiece& piece, const std::vector<std::string>& lines, const std::string& strPath,
                    CLspCatalog& catalog, EPositionEncoding eEncoding);

  int m_severities[kDiagnosticKinds];  // the protocol's 1 (error) to 4 (hint); 0: off
  unsigned long long m_nGeneration = 0;
  unsigned long long m_nNamesGeneration = 0;
  std::unordered_map<std::string, CVerdict> m_verdicts;
  std::vector<std::string> m_names;  // every known name, for suggestions (filled when first needed)
};

}  // namespace lsp
}  // namespace nimbo
