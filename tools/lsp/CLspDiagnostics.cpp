// CLspDiagnostics: the findings of a script, piece by piece.
#include "tools/lsp/CLspDiagnostics.h"

#include <algorithm>
#include <cstdint>

#include "tools/lsp/LspPrototype.h"
#include "tools/lsp/LspUri.h"
#include "tools/lsp/LspUriPath.h"
#include "tools/nimbo/TypingDistance.h"

namespace nimbo {
namespace lsp {

namespace {

struct CKindInfo {
  const char* pszCode;
  int nDefault;  // the protocol's severity
};

const CKindInfo kKinds[kDiagnosticKinds] = {
    {"unknownFunction", 2},          {"argumentCount", 1},         {"hiddenByBuiltin", 2},
    {"declareWithoutDefinition", 4}, {"duplicateDefinition", 2},  {"unclosedCall", 1},
    {"unclosedString", 1}};

const char* const kSeverityNames[] = {"off", "error", "warning", "information", "hint"};

// The severity of a setting's name; -1 when it names none. 0 is "off".
int SeverityOf(const nlohmann::json& value) {
  if (!value.is_string()) return -1;
  for (int i = 0; i < 5; ++i)
    if (value == kSeverityNames[i]) return i;
  return -1;
}

const char* SeverityName(int nSeverity) { return kSeverityNames[nSeverity]; }

// Most names offered by "did you mean".
const size_t kMaxSuggestions = 3;

CLspRange RangeOf(const CLspDefinition& definition) {
  return CLspRange::OnLine(definition.nLine, definition.nColumn, definition.nEndColumn);
}

CLspLocation DefinitionLocation(const CLspPlace& place) {
  return {UriFromPath(place.first->strPath), RangeOf(*place.second)};
}

std::string Arguments(int nCount) {
  return nCount == 0 ? "no arguments" : nCount == 1 ? "1 argument" : std::to_string(nCount) + " arguments";
}

// "A", "A or B", "A, B or C".
std::string Alternatives(const std::vector<std::string>& names) {
  std::string strText;
  for (size_t i = 0; i < names.size(); ++i)
    strText += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return strText;
}

}  // namespace

CLspDiagnostics::CLspDiagnostics() {
  for (int i = 0; i < kDiagnosticKinds; ++i) m_severities[i] = kKinds[i].nDefault;
}

bool CLspDiagnostics::Configure(const nlohmann::json& settings, std::vector<std::string>* pProblems) {
  bool bChanged = false;
  for (int i = 0; i < kDiagnosticKinds; ++i) {
    int nSeverity = kKinds[i].nDefault;
    if (settings.is_object() && settings.contains(kKinds[i].pszCode)) {
      const nlohmann::json& value = settings[kKinds[i].pszCode];
      const int nGiven = SeverityOf(value);
      if (nGiven >= 0) nSeverity = nGiven;
      else if (pProblems != nullptr)
        pProblems->push_back(std::string("diagnostics.") + kKinds[i].pszCode + ": " + value.dump() +
                             " is no severity (error, warning, information, hint or off): it stays " +
                             SeverityName(nSeverity));
    }
    bChanged = bChanged || m_severities[i] != nSeverity;
    m_severities[i] = nSeverity;
  }
  return bChanged;
}

bool CLspDiagnostics::PrototypeAt(const std::string& strName, bool bBuiltIn, CLspCatalog& catalog,
                                  CLspLocation& location) const {
  if (bBuiltIn) {
    int nLine = 0;
    int nLength = 0;
    if (!catalog.BuiltInLine(strName, nLine, nLength)) return false;
    location = {UriFromPath(catalog.FuncWizPath()), CLspRange::OnLine(nLine, 0, nLength)};
    return true;
  }
  const std::vector<CLspPlace> places = catalog.DefinitionsOf(CString(strName));
  if (places.empty()) return false;
  location = DefinitionLocation(places[0]);
  return true;
}

CLspDiagnostics::CVerdict& CLspDiagnostics::VerdictOf(const std::string& strName, CLspCatalog& catalog) {
  // A verdict of older names is worked out again when asked for, not all
  // at once when the names change: the closed scripts' names make the map
  // as large as the project, and a keystroke must not pay for it.
  auto it = m_verdicts.find(strName);
  if (it == m_verdicts.end() || it->second.nNamesGeneration != m_nNamesGeneration) {
    CVerdict& verdict = m_verdicts[strName];
    verdict = CVerdict();
    verdict.nNamesGeneration = m_nNamesGeneration;
    CLspFunction function;
    verdict.bKnown = catalog.Find(strName, function);
    if (verdict.bKnown) {
      verdict.bBuiltIn = function.bBuiltIn;
      verdict.strPrototype = ToUtf8(function.strPrototype.Str());
      const CLspParameters parameters = ParametersOf(function.strPrototype);
      verdict.bRest = parameters.bRest;
      verdict.nFixed = static_cast<int>(parameters.ranges.size()) - (verdict.bRest ? 1 : 0);
    }
    it = m_verdicts.find(strName);
  }
  CVerdict& verdict = it->second;
  if (!verdict.bKnown && !verdict.bSuggested) Suggest(strName, verdict, catalog);
  return verdict;
}

const CLspDiagnostics::CVerdict& CLspDiagnostics::Placed(const std::string& strName, CVerdict& verdict,
                                                         CLspCatalog& catalog) {
  if (verdict.nPlacesGeneration != m_nGeneration) {
    verdict.nPlacesGeneration = m_nGeneration;
    verdict.prototypeAt.clear();
    CLspLocation location;
    if (verdict.bKnown && PrototypeAt(strName, verdict.bBuiltIn, catalog, location))
      verdict.prototypeAt.push_back({location, verdict.strPrototype});
    verdict.suggestionsAt.clear();
    for (const std::string& strSuggestion : verdict.suggestions) {
      CLspFunction function;
      if (catalog.Find(strSuggestion, function) && PrototypeAt(strSuggestion, function.bBuiltIn, catalog, location))
        verdict.suggestionsAt.push_back({location, ToUtf8(function.strPrototype.Str())});
    }
  }
  return verdict;
}

void CLspDiagnostics::Suggest(const std::string& strName, CVerdict& verdict, CLspCatalog& catalog) {
  verdict.bSuggested = true;
  if (m_names.empty()) {
    bool bMore = false;
    for (const CString& strKnown : catalog.Complete(std::string(), SIZE_MAX, bMore)) m_names.push_back(strKnown.Str());
  }
  // A name this close is taken for a slip of the keyboard: one edit in a
  // short name, up to three in a long one.
  const size_t nMax = std::min<size_t>(3, std::max<size_t>(1, strName.size() / 3));
  std::vector<std::pair<size_t, const std::string*>> nearest;
  for (const std::string& strKnown : m_names) {
    const size_t nDistance = TypingDistance(strName, strKnown, nMax, true);
    if (nDistance <= nMax) nearest.emplace_back(nDistance, &strKnown);
  }
  std::sort(nearest.begin(), nearest.end(), [](const std::pair<size_t, const std::string*>& a,
                                         const std::pair<size_t, const std::string*>& b) {
    return a.first != b.first ? a.first < b.first : *a.second < *b.second;
  });
  if (nearest.size() > kMaxSuggestions) nearest.resize(kMaxSuggestions);
  std::vector<std::string> names;
  for (const auto& entry : nearest) {
    verdict.suggestions.push_back(*entry.second);
    names.push_back(ToUtf8(*entry.second));
  }
  verdict.strSuggestions = Alternatives(names);
}

void CLspDiagnostics::ComputePiece(CLspFactsPiece& piece, const std::vector<std::string>& lines,
                                   const std::string& strPath, CLspCatalog& catalog, EPositionEncoding eEncoding) {
  piece.diagnostics.clear();
  piece.bPlaces = false;
  CLspLinesColumns columns(lines, eEncoding);
  auto Range = [&](size_t nLine, size_t nFirst, size_t nEnd) {
    const long long nStart = columns.ColumnOf(piece.nFirstLine + nLine, nFirst);
    return CLspRange::OnLine(static_cast<long long>(nLine), nStart, columns.ColumnOf(piece.nFirstLine + nLine, nEnd));
  };
  auto Add = [&](ELspDiagnosticKind eKind, const CLspRange& range, std::string strMessage,
                 const std::vector<CLspRelatedInformation>& related = {}) {
    CLspFinding finding;
    finding.eKind = eKind;
    finding.diagnostic.range = range;
    finding.diagnostic.strCode = kKinds[eKind].pszCode;
    finding.diagnostic.strSource = "nimbo";
    finding.diagnostic.strMessage = std::move(strMessage);
    finding.diagnostic.related = related;
    piece.bPlaces = piece.bPlaces || !related.empty();
    piece.diagnostics.push_back(std::move(finding));
  };

  for (const CLspCallFact& call : piece.calls) {
    if (!call.bClosed)
      Add(diagnosticUnclosedCall, Range(call.nParenLine, call.nParen, call.nParen + 1),
          "The call of " + call.strName + " is not closed: its \")\" is missing before the statement ends.");
    if (call.bAfterDot) continue;
    CVerdict& verdict = VerdictOf(call.strName, catalog);
    if (!verdict.bKnown) {
      std::string strMessage = "Unknown function " + call.strName + ": neither built in nor defined in the project.";
      if (!verdict.strSuggestions.empty()) strMessage += " Did you mean " + verdict.strSuggestions + "?";
      Add(diagnosticUnknownFunction, Range(call.nLine, call.nFirst, call.nEnd), strMessage,
          Placed(call.strName, verdict, catalog).suggestionsAt);
      continue;
    }
    if (!call.bClosed) continue;
    const bool bFits = verdict.bRest ? call.nArguments >= verdict.nFixed : call.nArguments == verdict.nFixed;
    if (bFits) continue;
    Add(diagnosticArgumentCount, Range(call.nLine, call.nFirst, call.nEnd),
        call.strName + " takes " + (verdict.bRest ? "at least " : "") + Arguments(verdict.nFixed) + ", " +
            std::to_string(call.nArguments) + " given: " + verdict.strPrototype + ".",
        Placed(call.strName, verdict, catalog).prototypeAt);
  }

  for (const CLspLiteralFact& literal : piece.unclosed)
    Add(diagnosticUnclosedString, Range(literal.nLine, literal.nQuote, literal.nQuote + 1),
        std::string(literal.bChar ? "The character literal" : "The string") +
            " is not closed: its closing quote is missing, and it ends at the end of the line.");

  for (const CLspHeaderFact& header : piece.headers) {
    if (!header.bDeclare || header.strName.empty()) continue;
    CLspFunction function;
    if (catalog.Find(header.strName, function) || !catalog.DefinitionsOf(CString(header.strName)).empty()) continue;
    Add(diagnosticDeclareWithoutDefinition, Range(header.nLine, header.nFirst, header.nEnd),
        header.strName + " is declared, but no script of the project defines it.");
  }

  for (const CLspDefinition& definition : piece.definitions) {
    const std::string strName = ToUtf8(definition.strName.Str());
    const CLspRange range = RangeOf(definition);
    const size_t nLine = piece.nFirstLine + static_cast<size_t>(definition.nLine);
    // No verdict for the names of definitions that are not built in: a
    // closed script's pass reads every definition of the project.
    if (catalog.IsBuiltIn(definition.strName.Str())) {
      CVerdict& verdict = VerdictOf(definition.strName.Str(), catalog);
      Add(diagnosticHiddenByBuiltin, range,
          "The built-in " + verdict.strPrototype + " is called instead of this function: a built-in function shadows a "
          "project function of the same name.",
          Placed(definition.strName.Str(), verdict, catalog).prototypeAt);
    }
    const std::vector<CLspPlace> places = catalog.DefinitionsOf(definition.strName);
    for (size_t i = 1; i < places.size(); ++i) {
      if (places[i].first->strPath != strPath || static_cast<size_t>(places[i].second->nLine) != nLine ||
          places[i].second->nColumn != definition.nColumn)
        continue;
      const CLspPlace& first = places[0];
      const std::string strWhere = first.first->strPath == strPath
                                       ? "line " + std::to_string(first.second->nLine + 1)
                                       : catalog.DisplayName(first.first->strPath) + " line " + std::to_string(first.second->nLine + 1);
      Add(diagnosticDuplicateDefinition, range,
          strName + " is defined again here; calls use the definition in " + ToUtf8(strWhere) + ".",
          {{DefinitionLocation(first), "the definition used"}});
      break;
    }
  }

  // In text order, then by kind, so that the list does not depend on the order of the passes.
  std::stable_sort(piece.diagnostics.begin(), piece.diagnostics.end(),
                   [](const CLspFinding& a, const CLspFinding& b) {
                     const CLspPosition& startA = a.diagnostic.range.start;
                     const CLspPosition& startB = b.diagnostic.range.start;
                     if (startA.nLine != startB.nLine) return startA.nLine < startB.nLine;
                     if (startA.nCharacter != startB.nCharacter) return startA.nCharacter < startB.nCharacter;
                     return a.eKind < b.eKind;
                   });
  piece.bDiagnostics = true;
  piece.nGeneration = m_nGeneration;
  piece.nNamesGeneration = m_nNamesGeneration;
}

std::vector<CLspDiagnostic> CLspDiagnostics::Compute(CLspDocument& document, const std::string& strPath,
                                                     CLspCatalog& catalog, EPositionEncoding eEncoding) {
  if (catalog.NamesGeneration() != m_nNamesGeneration) {
    m_names.clear();
    m_nNamesGeneration = catalog.NamesGeneration();
  }
  m_nGeneration = catalog.Generation();
  CLspDocumentFacts& facts = document.Facts(eEncoding);
  std::vector<CLspDiagnostic> diagnostics;
  for (CLspFactsPiece& piece : facts.Pieces()) {
    // Definitions that only moved change no finding but those that name a place.
    if (!piece.bDiagnostics || piece.nNamesGeneration != m_nNamesGeneration ||
        (piece.bPlaces && piece.nGeneration != m_nGeneration))
      ComputePiece(piece, document.Lines(), strPath, catalog, eEncoding);
    const long long nFirstLine = static_cast<long long>(piece.nFirstLine);
    for (const CLspFinding& finding : piece.diagnostics) {
      const int nSeverity = m_severities[finding.eKind];
      if (nSeverity == 0) continue;
      diagnostics.push_back(finding.diagnostic);
      CLspDiagnostic& diagnostic = diagnostics.back();
      diagnostic.nSeverity = nSeverity;
      diagnostic.range.start.nLine += nFirstLine;
      diagnostic.range.end.nLine += nFirstLine;
    }
  }
  return diagnostics;
}

}  // namespace lsp
}  // namespace nimbo
