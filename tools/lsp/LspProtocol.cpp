// LspProtocol: the one JSON writer of each protocol value.
#include "tools/lsp/LspProtocol.h"

namespace nimbo {
namespace lsp {

typedef nlohmann::json json;

namespace {

json NullIfNegative(long long nValue) { return nValue < 0 ? json() : json(nValue); }

void AppendString(std::string& strOut, const std::string& strText) { strOut += JsonText(strText); }

// to_json of the values that have a text writer: that text, read back.
template <typename T>
json ReadBack(const T& value) {
  std::string strText;
  AppendJson(strText, value);
  return json::parse(strText);
}

}  // namespace

std::string JsonText(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

void AppendJson(std::string& strOut, const CLspPosition& value) {
  strOut += "{\"character\":";
  strOut += std::to_string(value.nCharacter);
  strOut += ",\"line\":";
  strOut += std::to_string(value.nLine);
  strOut += '}';
}

void AppendJson(std::string& strOut, const CLspRange& value) {
  strOut += "{\"end\":";
  AppendJson(strOut, value.end);
  strOut += ",\"start\":";
  AppendJson(strOut, value.start);
  strOut += '}';
}

void AppendJson(std::string& strOut, const CLspLocation& value) {
  strOut += "{\"range\":";
  AppendJson(strOut, value.range);
  strOut += ",\"uri\":";
  AppendString(strOut, value.strUri);
  strOut += '}';
}

void AppendJson(std::string& strOut, const CLspTextEdit& value) {
  strOut += "{\"newText\":";
  AppendString(strOut, value.strNewText);
  strOut += ",\"range\":";
  AppendJson(strOut, value.range);
  strOut += '}';
}

void AppendJson(std::string& strOut, const CLspWorkspaceEdit& value) {
  // {"documentChanges":[{"edits":[...],"textDocument":{"uri":...,"version":...}}]}
  // or {"changes":{"uri":[...]}}.
  strOut += value.bDocumentChanges ? "{\"documentChanges\":[" : "{\"changes\":{";
  for (size_t i = 0; i < value.documents.size(); ++i) {
    const CLspDocumentEdits& document = value.documents[i];
    if (i != 0) strOut += ',';
    if (value.bDocumentChanges) {
      strOut += "{\"edits\":";
    } else {
      AppendString(strOut, document.strUri);
      strOut += ':';
    }
    strOut += JsonArrayText(document.edits);
    if (value.bDocumentChanges) {
      strOut += ",\"textDocument\":{\"uri\":";
      AppendString(strOut, document.strUri);
      strOut += ",\"version\":" + (document.nVersion < 0 ? std::string("null") : std::to_string(document.nVersion)) + "}}";
    }
  }
  strOut += value.bDocumentChanges ? "]}" : "}}";
}

void AppendJson(std::string& strOut, const CLspSemanticTokens& value) {
  strOut += "{\"data\":[";
  for (size_t i = 0; i < value.data.size(); ++i) {
    if (i != 0) strOut += ',';
    strOut += std::to_string(value.data[i]);
  }
  strOut += "]}";
}

void to_json(json& j, const CLspPosition& value) { j = ReadBack(value); }

void to_json(json& j, const CLspRange& value) { j = ReadBack(value); }

void to_json(json& j, const CLspLocation& value) { j = ReadBack(value); }

void to_json(json& j, const CLspRelatedInformation& value) {
  j = {{"location", value.location}, {"message", value.strMessage}};
}

void to_json(json& j, const CLspDiagnostic& value) {
  j = {{"range", value.range}, {"code", value.strCode}, {"source", value.strSource}, {"message", value.strMessage}};
  if (value.nSeverity != 0) j["severity"] = value.nSeverity;
  if (!value.related.empty()) j["relatedInformation"] = value.related;
}

void to_json(json& j, const CLspTextEdit& value) { j = ReadBack(value); }

void to_json(json& j, const CLspWorkspaceEdit& value) { j = ReadBack(value); }

void to_json(json& j, const CLspSignatureHelp& value) {
  json signatures = json::array();
  for (const CLspSignature& signature : value.signatures) {
    json parameters = json::array();
    for (const auto& parameter : signature.parameters)
      parameters.push_back({{"label", {parameter.first, parameter.second}}});
    json item = {{"label", signature.strLabel},
                 {"parameters", std::move(parameters)},
                 {"activeParameter", NullIfNegative(signature.nActive)}};
    if (!signature.strDocumentation.empty()) item["documentation"] = signature.strDocumentation;
    signatures.push_back(std::move(item));
  }
  j = {{"signatures", std::move(signatures)},
       {"activeSignature", value.nActiveSignature},
       {"activeParameter", NullIfNegative(value.nActiveParameter)}};
}

void to_json(json& j, const CLspCompletionItem& value) {
  j = {{"label", value.strLabel},
       {"kind", 3},
       {"detail", value.strDetail},
       {"labelDetails", {{"description", value.strDescription}}},
       {"sortText", value.strSortText},
       {"filterText", value.strFilterText},
       {"textEdit", value.textEdit}};
  if (value.bSnippet) j["insertTextFormat"] = 2;
  if (!value.strDocumentation.empty()) j["documentation"] = value.strDocumentation;
  if (!value.strDataName.empty()) j["data"] = {{"name", value.strDataName}};
}

void to_json(json& j, const CLspCompletionList& value) {
  j = {{"isIncomplete", value.bIncomplete}, {"items", value.items}};
}

void to_json(json& j, const CLspHover& value) {
  j = {{"contents", {{"kind", value.bMarkdown ? "markdown" : "plaintext"}, {"value", value.strValue}}},
       {"range", value.range}};
}

void to_json(json& j, const CLspSymbol& value) {
  if (!value.strUri.empty()) {
    j = {{"name", value.strName},
         {"kind", value.nKind},
         {"location", CLspLocation{value.strUri, value.range}},
         {"containerName", value.strContainer}};
    return;
  }
  j = {{"name", value.strName},
       {"detail", value.strDetail},
       {"kind", value.nKind},
       {"range", value.range},
       {"selectionRange", value.selectionRange}};
}

void to_json(json& j, const CLspDocumentHighlight& value) { j = {{"range", value.range}, {"kind", value.nKind}}; }

void to_json(json& j, const CLspCodeAction& value) {
  j = {{"title", value.strTitle}, {"kind", value.strKind}, {"edit", value.edit}};
  if (!value.diagnostics.empty()) j["diagnostics"] = value.diagnostics;
  if (value.bPreferred) j["isPreferred"] = true;
}

void to_json(json& j, const CLspSemanticTokens& value) { j = ReadBack(value); }

void to_json(json& j, const CLspInlayHint& value) {
  j = {{"position", value.position}, {"label", value.strLabel}, {"kind", value.nKind}};
  if (value.bPaddingRight) j["paddingRight"] = true;
}

void to_json(json& j, const CLspFoldingRange& value) {
  j = {{"startLine", value.nStartLine}, {"endLine", value.nEndLine}};
  if (!value.strKind.empty()) j["kind"] = value.strKind;
}

void to_json(json& j, const CLspCallHierarchyItem& value) {
  j = {{"name", value.strName},   {"kind", value.nKind},   {"uri", value.strUri},
       {"range", value.range},    {"selectionRange", value.selectionRange}};
  if (!value.strDetail.empty()) j["detail"] = value.strDetail;
}

void to_json(json& j, const CLspHierarchyCall& value) {
  j = {{value.bIncoming ? "from" : "to", value.item}, {"fromRanges", value.ranges}};
}

void from_json(const json& j, CLspPosition& value) {
  value.nLine = j.at("line").get<long long>();
  value.nCharacter = j.at("character").get<long long>();
}

void from_json(const json& j, CLspRange& value) {
  value.start = j.at("start").get<CLspPosition>();
  value.end = j.at("end").get<CLspPosition>();
}

void from_json(const json& j, CLspLocation& value) {
  value.strUri = j.at("uri").get<std::string>();
  value.range = j.at("range").get<CLspRange>();
}

void from_json(const json& j, CLspDiagnostic& value) {
  value.range = j.at("range").get<CLspRange>();
  value.nSeverity = j.value("severity", 0);
  const auto itCode = j.find("code");
  value.strCode = itCode != j.end() && itCode->is_string() ? itCode->get<std::string>() : std::string();
  value.strSource = j.value("source", std::string());
  value.strMessage = j.at("message").get<std::string>();
  value.related.clear();
  const auto itRelated = j.find("relatedInformation");
  if (itRelated != j.end() && itRelated->is_array())
    for (const json& related : *itRelated)
      value.related.push_back({related.at("location").get<CLspLocation>(), related.at("message").get<std::string>()});
}

void from_json(const json& j, CLspCallHierarchyItem& value) {
  value.strName = j.at("name").get<std::string>();
  value.strDetail = j.value("detail", std::string());
  value.nKind = j.value("kind", static_cast<int>(symbolFunction));
  value.strUri = j.at("uri").get<std::string>();
  value.range = j.at("range").get<CLspRange>();
  value.selectionRange = j.at("selectionRange").get<CLspRange>();
}

}  // namespace lsp
}  // namespace nimbo
