// LspCallHierarchy: who calls a project function, and what it calls, from
// the call index and the scripts' headers.
#include <map>

#include "tools/lsp/CLspCallIndex.h"
#include "tools/lsp/LspCodeScan.h"
#include "tools/lsp/LspEditorFeatures.h"
#include "tools/lsp/LspUriPath.h"

namespace nimbo {
namespace lsp {

namespace {

const int kSymbolFile = 1;

std::string FileName(const std::string& strPath) {
  const size_t nSlash = strPath.find_last_of(kPathSeparators);
  return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

CLspCallHierarchyItem ItemOfPlace(CLspWorkspace& workspace, const CLspPlace& place) {
  const CLspDefinition& definition = *place.second;
  CLspCallHierarchyItem item;
  item.strName = ToUtf8(definition.strName.Str());
  item.strDetail = ToUtf8(std::string(definition.strPrototype) + " (" + FileName(place.first->strPath) + ")");
  item.strUri = workspace.UriOf(*place.first);
  item.range = CLspRange::OnLine(definition.nLine, definition.nColumn, definition.nEndColumn);
  item.selectionRange = item.range;
  return item;
}

// The function whose body holds (nLine, nOffset), as headers read it; null
// at a script's top level.
const CLspHeaderFact* Enclosing(const std::vector<CLspHeaderFact>& headers, size_t nLine, size_t nOffset) {
  const CLspHeaderFact* pFound = nullptr;
  for (const CLspHeaderFact& header : headers) {
    if (!header.bBody || header.strName.empty()) continue;
    const bool bAfterStart = header.nKeywordLine < nLine || (header.nKeywordLine == nLine && header.nKeyword <= nOffset);
    const bool bBeforeEnd = nLine < header.nEndLine || (nLine == header.nEndLine && nOffset < header.nEndOffset);
    if (bAfterStart && bBeforeEnd) pFound = &header;
  }
  return pFound;
}

}  // namespace

bool CallHierarchyItemAt(CLspWorkspace& workspace, const std::string& strUri, const CLspPosition& position,
                         CLspCallHierarchyItem& item) {
  size_t nLine = 0;
  size_t nOffset = 0;
  CLspDocument* pDocument = workspace.Locate(strUri, position, nLine, nOffset);
  if (pDocument == nullptr) return false;
  const std::string& strLine = pDocument->Lines()[nLine];
  size_t nFirst = nOffset;
  while (nFirst > 0 && IsWordByte(strLine[nFirst - 1])) --nFirst;
  const size_t nEnd = WordEnd(strLine, nOffset);
  if (nFirst == nEnd || !pDocument->IsCodeAt(nLine, nFirst)) return false;
  CLspFunction function;
  // A built-in's calls are its uses, but it has no body to call from.
  if (!workspace.Find(strLine.substr(nFirst, nEnd - nFirst), function) || function.bBuiltIn) return false;
  const std::vector<CLspPlace> places = workspace.DefinitionsOf(function.strName.Str());
  if (places.empty()) return false;
  item = ItemOfPlace(workspace, places[0]);
  return true;
}

std::vector<CLspHierarchyCall> IncomingCalls(CLspWorkspace& workspace, const CLspCallHierarchyItem& item) {
  std::vector<CLspHierarchyCall> calls;
  CLspFunction function;
  if (!workspace.Find(item.strName, function)) return calls;
  const std::vector<CLspUse> uses = workspace.UsesOf(function, false);
  const uint32_t nWidth = NameWidth(function.strName.Str(), workspace.Encoding());
  for (size_t i = 0; i < uses.size();) {
    // One script's calls at a time, grouped by the function around each.
    const CLspScript& script = *uses[i].pScript;
    const CLspScriptReading reading = workspace.ReadingOf(script);
    const std::vector<std::string>& lines = reading.Lines();
    std::map<const CLspHeaderFact*, size_t> callers;  // -> index in calls
    for (; i < uses.size() && uses[i].pScript == &script; ++i) {
      const CLspUse& use = uses[i];
      if (use.nLine >= lines.size()) continue;  // a file changed since it was read
      const std::string& strLine = lines[use.nLine];
      const CLspHeaderFact* pCaller =
          Enclosing(reading.Headers(), use.nLine, ByteOffsetOfColumn(strLine, use.nColumn, workspace.Encoding()));
      auto it = callers.find(pCaller);
      if (it == callers.end()) {
        CLspHierarchyCall call;
        call.item.strUri = workspace.UriOf(script);
        if (pCaller != nullptr) {
          call.item.strName = ToUtf8(pCaller->strName);
          call.item.range = CLspRange::OfBytes(lines[pCaller->nLine], pCaller->nLine, pCaller->nFirst, pCaller->nEnd,
                                               workspace.Encoding());
        } else {
          // Calls outside every function: the script's own top level.
          call.item.strName = ToUtf8(FileName(script.strPath));
          call.item.nKind = kSymbolFile;
          call.item.range = CLspRange::OnLine(use.nLine, use.nColumn, use.nColumn + nWidth);
        }
        call.item.selectionRange = call.item.range;
        it = callers.emplace(pCaller, calls.size()).first;
        calls.push_back(std::move(call));
      }
      calls[it->second].ranges.push_back(CLspRange::OnLine(use.nLine, use.nColumn, use.nColumn + nWidth));
    }
  }
  return calls;
}

std::vector<CLspHierarchyCall> OutgoingCalls(CLspWorkspace& workspace, const CLspCallHierarchyItem& item) {
  std::vector<CLspHierarchyCall> calls;
  // The definition the item stands for: its script and line.
  const CLspPlace* pPlace = nullptr;
  const std::vector<CLspPlace> places = workspace.DefinitionsOf(item.strName);
  for (const CLspPlace& place : places)
    if (workspace.UriOf(*place.first) == item.strUri && place.second->nLine == item.selectionRange.start.nLine)
      pPlace = &place;
  if (pPlace == nullptr) return calls;
  const CLspScriptReading reading = workspace.ReadingOf(*pPlace->first);
  const std::vector<std::string>& lines = reading.Lines();
  const CLspHeaderFact* pHeader = nullptr;
  for (const CLspHeaderFact& header : reading.Headers())
    if (header.bBody && static_cast<long long>(header.nLine) == item.selectionRange.start.nLine) pHeader = &header;
  if (pHeader == nullptr) return calls;
  std::map<std::string, size_t> callees;  // name -> index in calls
  for (const CLspCallFact& fact : reading.Calls()) {
    if (fact.bAfterDot || Enclosing(reading.Headers(), fact.nLine, fact.nFirst) != pHeader) continue;
    auto it = callees.find(fact.strName);
    if (it == callees.end()) {
      CLspFunction function;
      CLspHierarchyCall call;
      call.bIncoming = false;
      if (!workspace.Find(fact.strName, function)) continue;  // unknown: nowhere to go
      if (function.bBuiltIn) {
        CLspLocation location;
        if (!workspace.BuiltInAt(fact.strName, location)) continue;
        call.item.strName = ToUtf8(fact.strName);
        call.item.strDetail = ToUtf8(function.strPrototype.Str()) + " (built-in)";
        call.item.strUri = location.strUri;
        call.item.range = location.range;
        call.item.selectionRange = location.range;
      } else {
        const std::vector<CLspPlace> targets = workspace.DefinitionsOf(fact.strName);
        if (targets.empty()) continue;
        call.item = ItemOfPlace(workspace, targets[0]);
      }
      it = callees.emplace(fact.strName, calls.size()).first;
      calls.push_back(std::move(call));
    }
    calls[it->second].ranges.push_back(
        CLspRange::OfBytes(lines[fact.nLine], fact.nLine, fact.nFirst, fact.nEnd, workspace.Encoding()));
  }
  return calls;
}

}  // namespace lsp
}  // namespace nimbo
