// CLspCallIndex: packing a script's sites into one block.
#include "tools/lsp/CLspCallIndex.h"

#include <algorithm>
#include <tuple>

#include "tools/lsp/CLspDocumentFacts.h"
#include "tools/lsp/CLspScriptFacts.h"

namespace nimbo {
namespace lsp {

uint32_t CLspNameTable::Intern(const std::string& strName) {
  return m_ids.emplace(strName, static_cast<uint32_t>(m_ids.size())).first->second;
}

bool CLspNameTable::Find(const std::string& strName, uint32_t& nId) const {
  auto it = m_ids.find(strName);
  if (it == m_ids.end()) return false;
  nId = it->second;
  return true;
}

void CLspCallSites::Set(const CLspScriptFacts& facts, const std::vector<std::string>& lines,
                        EPositionEncoding eEncoding, CLspNameTable& names) {
  Fill({{&facts.Calls(), &facts.Headers(), 0}}, lines, eEncoding, names);
}

void CLspCallSites::Set(const std::vector<CLspFactsPiece>& pieces, const std::vector<std::string>& lines,
                        EPositionEncoding eEncoding, CLspNameTable& names) {
  std::vector<CSpan> spans;
  spans.reserve(pieces.size());
  for (const CLspFactsPiece& piece : pieces) spans.push_back({&piece.calls, &piece.headers, piece.nFirstLine});
  Fill(spans, lines, eEncoding, names);
}

void CLspCallSites::Fill(const std::vector<CSpan>& spans, const std::vector<std::string>& lines,
                         EPositionEncoding eEncoding, CLspNameTable& names) {
  struct CEntry {
    uint32_t nId;
    uint32_t nLine;
    uint32_t nColumn;  // with kDeclarationBit
  };
  std::vector<CEntry> entries;
  size_t nCalls = 0;
  for (const CSpan& span : spans) nCalls += span.pCalls->size();
  entries.reserve(nCalls);
  CLspLinesColumns columns(lines, eEncoding);
  const auto add = [&](const std::string& strName, size_t nLine, size_t nFirst, bool bDeclaration) {
    const uint32_t nColumn = static_cast<uint32_t>(columns.ColumnOf(nLine, nFirst));
    entries.push_back({names.Intern(strName), static_cast<uint32_t>(nLine),
                       nColumn | (bDeclaration ? kDeclarationBit : 0u)});
  };
  for (const CSpan& span : spans) {
    for (const CLspCallFact& call : *span.pCalls)
      if (!call.bAfterDot) add(call.strName, span.nFirstLine + call.nLine, call.nFirst, false);
    for (const CLspHeaderFact& header : *span.pHeaders)
      if (!header.bBody && !header.strName.empty())
        add(header.strName, span.nFirstLine + header.nLine, header.nFirst, true);
  }
  // By name, then in text order (a declaration and a call never share a place).
  std::sort(entries.begin(), entries.end(), [](const CEntry& a, const CEntry& b) {
    return std::tie(a.nId, a.nLine, a.nColumn) < std::tie(b.nId, b.nLine, b.nColumn);
  });
  size_t nNames = 0;
  for (size_t i = 0; i < entries.size(); ++i) nNames += i == 0 || entries[i].nId != entries[i - 1].nId;
  m_words.clear();
  if (entries.empty()) {
    m_words.shrink_to_fit();
    return;
  }
  m_words.reserve(1 + 2 * nNames + 2 * entries.size());
  m_words.push_back(static_cast<uint32_t>(nNames));
  const size_t nFirstSite = 1 + 2 * nNames;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i + 1 < entries.size() && entries[i + 1].nId == entries[i].nId) continue;
    m_words.push_back(entries[i].nId);
    m_words.push_back(static_cast<uint32_t>(nFirstSite + 2 * (i + 1)));  // the run's end
  }
  for (const CEntry& entry : entries) {
    m_words.push_back(entry.nLine);
    m_words.push_back(entry.nColumn);
  }
}

std::pair<size_t, size_t> CLspCallSites::RunOf(uint32_t nId) const {
  if (m_words.empty()) return {0, 0};
  const size_t nNames = m_words[0];
  // Binary search over the (id, end) pairs after the count.
  size_t nLow = 0;
  size_t nHigh = nNames;
  while (nLow < nHigh) {
    const size_t nMiddle = (nLow + nHigh) / 2;
    if (m_words[1 + 2 * nMiddle] < nId) nLow = nMiddle + 1;
    else nHigh = nMiddle;
  }
  if (nLow == nNames || m_words[1 + 2 * nLow] != nId) return {0, 0};
  const size_t nBegin = nLow == 0 ? 1 + 2 * nNames : m_words[2 * nLow];  // the previous run's end
  return {nBegin, m_words[2 + 2 * nLow]};
}

}  // namespace lsp
}  // namespace nimbo
