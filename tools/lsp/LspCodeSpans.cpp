// LspCodeSpans: literal and comment stretches found with ScanLine.
#include "tools/lsp/LspCodeSpans.h"

#include "tools/lsp/LspCodeScan.h"

namespace nimbo {
namespace lsp {

namespace {

typedef CLspCallScanner S;

// Where the text that begins at nFrom in state eState (not code) turns to
// code: just after one of its closing bytes (a quote, a "*/"), as ScanLine
// reads the bytes from nFrom; the line's end when it stays open. Only the
// stretch itself is read, so a line costs its length.
size_t EndOfStretch(const std::string& strLine, size_t nFrom, S::EState eState) {
  const bool bComment = eState == S::stateComment;
  const char chClose = bComment ? '/' : eState == S::stateString || eState == S::stateStringEscape ? '"' : '\'';
  auto onEvent = [](size_t, char) {};
  S::CStart state;
  state.eState = eState;
  size_t nScanned = nFrom;
  for (size_t nAt = strLine.find(chClose, nFrom); nAt != std::string::npos; nAt = strLine.find(chClose, nAt + 1)) {
    if (bComment && (nAt == nFrom || strLine[nAt - 1] != '*')) continue;
    // The state just after the candidate, carried on from the last one.
    const std::string strPart = strLine.substr(nScanned, nAt + 1 - nScanned);
    state = ScanLine(strPart, strPart.size(), state, onEvent);
    nScanned = nAt + 1;
    if (state.eState == S::stateCode) return nAt + 1;
  }
  return strLine.size();
}

}  // namespace

std::vector<S::CStart> LineStarts(const std::vector<std::string>& lines) {
  std::vector<S::CStart> starts(lines.size());
  S::CStart state;
  auto onEvent = [](size_t, char) {};
  for (size_t i = 0; i < lines.size(); ++i) {
    starts[i] = state;
    state = ScanLine(lines[i], lines[i].size(), state, onEvent);
  }
  return starts;
}

void ReadLineSpans(const std::string& strLine, S::CStart start, std::vector<CLspTextSpan>& spans,
                   std::vector<CLspCodeEvent>* pEvents) {
  spans.clear();
  std::vector<CLspCodeEvent> events;
  auto onEvent = [&events](size_t nAt, char cKind) { events.push_back({nAt, cKind}); };
  ScanLine<true>(strLine, strLine.size(), start, onEvent);
  size_t nAt = 0;
  if (start.eState != S::stateCode) {
    nAt = EndOfStretch(strLine, 0, start.eState);
    if (nAt > 0) spans.push_back({0, nAt, start.eState == S::stateComment ? 'c' : 's'});
  }
  // Literals open at their 'q' events; a comment opens at the first "//" or
  // "/*" in code, which lies before the next literal (code runs unbroken
  // from the end of one stretch to the start of the next).
  size_t nEvent = 0;
  while (nAt < strLine.size()) {
    while (nEvent < events.size() && (events[nEvent].cKind != 'q' || events[nEvent].nAt < nAt)) ++nEvent;
    const size_t nQuote = nEvent < events.size() ? events[nEvent].nAt : strLine.size();
    size_t nSlash = strLine.find('/', nAt);
    while (nSlash < nQuote && nSlash + 1 < strLine.size() && strLine[nSlash + 1] != '/' && strLine[nSlash + 1] != '*')
      nSlash = strLine.find('/', nSlash + 1);
    if (nSlash < nQuote && nSlash + 1 < strLine.size()) {
      const size_t nEnd = strLine[nSlash + 1] == '/' ? strLine.size() : EndOfStretch(strLine, nSlash + 2, S::stateComment);
      spans.push_back({nSlash, nEnd, 'c'});
      nAt = nEnd;
      continue;
    }
    if (nQuote == strLine.size()) break;
    const size_t nEnd = EndOfStretch(strLine, nQuote + 1, strLine[nQuote] == '"' ? S::stateString : S::stateChar);
    spans.push_back({nQuote, nEnd, 's'});
    nAt = nEnd;
  }
  if (pEvents != nullptr) pEvents->swap(events);
}

}  // namespace lsp
}  // namespace nimbo
