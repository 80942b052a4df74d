// LspProtocol: the values the language server answers with, as typed
// structs, each written to JSON by one writer: to_json (found by
// nlohmann-json's lookup, so `json j = range;` and containers of them just
// work), or, for the values an answer as long as the workspace is made of
// (positions, ranges, locations, edits, semantic tokens), AppendJson, which
// writes text directly and which their to_json reads back. Keys are written
// in the order the JSON library writes them (sorted), so both forms read
// alike on the wire. Columns are in the client's position encoding; whoever
// fills a struct converts from bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

struct CLspPosition {
  long long nLine = 0;
  long long nCharacter = 0;
};

struct CLspRange {
  CLspPosition start;
  CLspPosition end;
  // A range within one line, columns given.
  static CLspRange OnLine(long long nLine, long long nFirst, long long nEnd) {
    return {{nLine, nFirst}, {nLine, nEnd}};
  }
  // A range within one line, from byte offsets of strLine.
  static CLspRange OfBytes(const std::string& strLine, size_t nLine, size_t nFirst, size_t nEnd,
                           EPositionEncoding eEncoding) {
    return OnLine(static_cast<long long>(nLine), ColumnOfByteOffset(strLine, nFirst, eEncoding),
                  ColumnOfByteOffset(strLine, nEnd, eEncoding));
  }
};

struct CLspLocation {
  std::string strUri;
  CLspRange range;
};

struct CLspRelatedInformation {
  CLspLocation location;
  std::string strMessage;
};

struct CLspDiagnostic {
  CLspRange range;
  int nSeverity = 0;  // 1 error .. 4 hint; 0: not written (the severity is set when published)
  std::string strCode;
  std::string strSource;
  std::string strMessage;
  std::vector<CLspRelatedInformation> related;  // written only when not empty
};

struct CLspTextEdit {
  CLspRange range;
  std::string strNewText;
};

// The edits of one document; nVersion < 0 when the edit is for the file
// (written as null), else the open document's version it is meant for.
struct CLspDocumentEdits {
  std::string strUri;
  long long nVersion = -1;
  std::vector<CLspTextEdit> edits;
};

// A change of the workspace: as versioned "documentChanges" when the client
// takes them (bDocumentChanges), else as "changes" keyed by URI.
struct CLspWorkspaceEdit {
  bool bDocumentChanges = false;
  std::vector<CLspDocumentEdits> documents;
};

struct CLspSignature {
  std::string strLabel;
  std::string strDocumentation;  // not written when empty
  std::vector<std::pair<long long, long long>> parameters;  // label offsets [first, end)
  long long nActive = -1;  // the active parameter; -1: none (written as null)
};

struct CLspSignatureHelp {
  std::vector<CLspSignature> signatures;
  long long nActiveSignature = 0;
  long long nActiveParameter = -1;  // -1: none (null)
};

// A completion item of a function: kind 3; strDescription is written as
// labelDetails.description; strDocumentation, and strDataName as
// data.name (what completionItem/resolve is given back), only when not empty.
struct CLspCompletionItem {
  std::string strLabel;
  std::string strDetail;
  std::string strDescription;
  std::string strSortText;
  std::string strFilterText;
  CLspTextEdit textEdit;
  bool bSnippet = false;  // newText is a snippet (insertTextFormat 2)
  std::string strDocumentation;
  std::string strDataName;
};

struct CLspCompletionList {
  bool bIncomplete = false;
  std::vector<CLspCompletionItem> items;
};

struct CLspHover {
  bool bMarkdown = true;
  std::string strValue;
  CLspRange range;
};

// SymbolKind values the server uses.
enum ELspSymbolKind { symbolFunction = 12 };

// A document symbol, as a hierarchy item (DocumentSymbol) or, with strUri
// set, as a flat SymbolInformation.
struct CLspSymbol {
  std::string strName;
  std::string strDetail;  // DocumentSymbol only
  int nKind = symbolFunction;
  CLspRange range;            // the whole extent
  CLspRange selectionRange;   // the name (DocumentSymbol only)
  std::string strUri;         // SymbolInformation: its location's document
  std::string strContainer;   // SymbolInformation only
};

struct CLspDocumentHighlight {
  CLspRange range;
  int nKind = 1;  // 1 text, 2 read, 3 write
};

struct CLspCodeAction {
  std::string strTitle;
  std::string strKind;  // "quickfix"
  std::vector<CLspDiagnostic> diagnostics;  // those it fixes
  CLspWorkspaceEdit edit;
  bool bPreferred = false;
};

// Semantic tokens as the protocol packs them: five numbers a token,
// relative to the token before.
struct CLspSemanticTokens {
  std::vector<uint32_t> data;
};

struct CLspInlayHint {
  CLspPosition position;
  std::string strLabel;
  int nKind = 2;  // 1 type, 2 parameter
  bool bPaddingRight = true;
};

struct CLspFoldingRange {
  long long nStartLine = 0;
  long long nEndLine = 0;
  std::string strKind;  // "comment", "region"; empty: not written
};

struct CLspCallHierarchyItem {
  std::string strName;
  std::string strDetail;
  int nKind = symbolFunction;
  std::string strUri;
  CLspRange range;
  CLspRange selectionRange;
};

// An incoming call (bIncoming: "from") or an outgoing one ("to").
struct CLspHierarchyCall {
  bool bIncoming = true;
  CLspCallHierarchyItem item;
  std::vector<CLspRange> ranges;  // "fromRanges"
};

// The one way a message is written: as compact text, characters that are
// not UTF-8 replaced.
std::string JsonText(const nlohmann::json& value);

// Text writers: append value's JSON to strOut.
void AppendJson(std::string& strOut, const CLspPosition& value);
void AppendJson(std::string& strOut, const CLspRange& value);
void AppendJson(std::string& strOut, const CLspLocation& value);
void AppendJson(std::string& strOut, const CLspTextEdit& value);
void AppendJson(std::string& strOut, const CLspWorkspaceEdit& value);
void AppendJson(std::string& strOut, const CLspSemanticTokens& value);
// A list of values, as a JSON array.
template <typename T>
std::string JsonArrayText(const std::vector<T>& values) {
  std::string strOut = "[";
  for (const T& value : values) {
    if (strOut.size() > 1) strOut += ',';
    AppendJson(strOut, value);
  }
  return strOut + "]";
}

void to_json(nlohmann::json& j, const CLspPosition& value);
void to_json(nlohmann::json& j, const CLspRange& value);
void to_json(nlohmann::json& j, const CLspLocation& value);
void to_json(nlohmann::json& j, const CLspRelatedInformation& value);
void to_json(nlohmann::json& j, const CLspDiagnostic& value);
void to_json(nlohmann::json& j, const CLspTextEdit& value);
void to_json(nlohmann::json& j, const CLspWorkspaceEdit& value);
void to_json(nlohmann::json& j, const CLspSignatureHelp& value);
void to_json(nlohmann::json& j, const CLspCompletionItem& value);
void to_json(nlohmann::json& j, const CLspCompletionList& value);
void to_json(nlohmann::json& j, const CLspHover& value);
void to_json(nlohmann::json& j, const CLspSymbol& value);
void to_json(nlohmann::json& j, const CLspDocumentHighlight& value);
void to_json(nlohmann::json& j, const CLspCodeAction& value);
void to_json(nlohmann::json& j, const CLspSemanticTokens& value);
void to_json(nlohmann::json& j, const CLspInlayHint& value);
void to_json(nlohmann::json& j, const CLspFoldingRange& value);
void to_json(nlohmann::json& j, const CLspCallHierarchyItem& value);
void to_json(nlohmann::json& j, const CLspHierarchyCall& value);

// What the client sends back of the values above (a call hierarchy item,
// a range, the diagnostics of a code action's context).
void from_json(const nlohmann::json& j, CLspPosition& value);
void from_json(const nlohmann::json& j, CLspRange& value);
void from_json(const nlohmann::json& j, CLspLocation& value);
void from_json(const nlohmann::json& j, CLspDiagnostic& value);
void from_json(const nlohmann::json& j, CLspCallHierarchyItem& value);

}  // namespace lsp
}  // namespace nimbo
