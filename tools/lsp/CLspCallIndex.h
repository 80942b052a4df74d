// CLspCallIndex: where each script names a function outside its
// definitions: every call (not after a ".") and every declaration (a header
// with no body), found by CLspScriptFacts and kept compact for the whole
// session, so that references and rename across thousands of scripts read
// memory, not files.
//
// Names are interned once in a CLspNameTable shared by every script; a
// script keeps one block of 32-bit words: its distinct names (sorted by id,
// each with the end of its run of sites), then its sites grouped by name in
// text order, two words each (line; column, with the top bit marking a
// declaration). A site's end column is its column plus the name's width in
// the same encoding: a name is a whole word, bounded by ASCII bytes, so its
// bytes decode alike alone and in its line.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

class CLspScriptFacts;
struct CLspCallFact;
struct CLspHeaderFact;
struct CLspFactsPiece;

// Ids of the names the scripts use, kept until the next full index (names
// that are no longer used stay: a few bytes each).
class CLspNameTable {
 public:
  uint32_t Intern(const std::string& strName);
  // False when no script ever used the name.
  bool Find(const std::string& strName, uint32_t& nId) const;
  void Clear() { m_ids.clear(); }

 private:
  std::unordered_map<std::string, uint32_t> m_ids;
};

// One place where a script names a function; columns in the client's encoding.
struct CLspNameSite {
  uint32_t nLine = 0;
  uint32_t nColumn = 0;
  bool bDeclaration = false;
};

class CLspCallSites {
 public:
  // Takes the calls and declarations of facts, read from lines, with
  // columns counted in eEncoding.
  void Set(const CLspScriptFacts& facts, const std::vector<std::string>& lines, EPositionEncoding eEncoding,
           CLspNameTable& names);
  // The same from an open document's pieces (CLspDocumentFacts), which
  // together hold the facts of its whole text.
  void Set(const std::vector<CLspFactsPiece>& pieces, const std::vector<std::string>& lines,
           EPositionEncoding eEncoding, CLspNameTable& names);

  // Calls onSite(const CLspNameSite&) for each site of nId in text order;
  // returns their number.
  template <typename FSite>
  size_t ForEachSite(uint32_t nId, FSite&& onSite) const;

 private:
  // The facts of a text, or of a piece of it that begins at nFirstLine.
  struct CSpan {
    const std::vector<CLspCallFact>* pCalls;
    const std::vector<CLspHeaderFact>* pHeaders;
    size_t nFirstLine;
  };
  void Fill(const std::vector<CSpan>& spans, const std::vector<std::string>& lines, EPositionEncoding eEncoding,
            CLspNameTable& names);

  static const uint32_t kDeclarationBit = 0x80000000u;
  // The range of m_words holding the sites of nId; empty when none.
  std::pair<size_t, size_t> RunOf(uint32_t nId) const;

  std::vector<uint32_t> m_words;  // see the header comment; empty: no sites
};

template <typename FSite>
size_t CLspCallSites::ForEachSite(uint32_t nId, FSite&& onSite) const {
  const std::pair<size_t, size_t> run = RunOf(nId);
  for (size_t i = run.first; i < run.second; i += 2) {
    CLspNameSite site;
    site.nLine = m_words[i];
    site.nColumn = m_words[i + 1] & ~kDeclarationBit;
    site.bDeclaration = (m_words[i + 1] & kDeclarationBit) != 0;
    onSite(site);
  }
  return (run.second - run.first) / 2;
}

// The width of a name in eEncoding (see the header comment).
inline uint32_t NameWidth(const std::string& strName, EPositionEncoding eEncoding) {
  return static_cast<uint32_t>(ColumnOfByteOffset(strName, strName.size(), eEncoding));
}

}  // namespace lsp
}  // namespace nimbo
