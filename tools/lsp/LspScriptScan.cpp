// LspScriptScan: one pass of the host's tokenizer over text in memory.
#include "tools/lsp/LspScriptScan.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "assist/NameBeforeCaret.h"
#include "catalog/CZoFuncInfoUser.h"
#include "darnel2/CCodeStream.h"
#include "darnel2/CTokenizer.h"

namespace nimbo {
namespace lsp {

namespace {

// A code stream over text the caller keeps, read without a copy.
class CBorrowedTextStream : public CCodeStream {
 public:
  explicit CBorrowedTextStream(const std::string& strText) : m_strText(strText) {}

 protected:
  int ReadBlock(char* pBuffer, int nMax) override {
    const size_t nCount = std::min(m_strText.size() - m_nRead, static_cast<size_t>(nMax > 0 ? nMax : 0));
    std::memcpy(pBuffer, m_strText.data() + m_nRead, nCount);
    m_nRead += nCount;
    return static_cast<int>(nCount);
  }

 private:
  const std::string& m_strText;
  size_t m_nRead = 0;
};

// The byte offset of strName as a whole word on strLine at or after nFrom,
// or nFrom when there is none.
size_t NameColumn(const std::string& strLine, const std::string& strName, size_t nFrom) {
  for (size_t nAt = strLine.find(strName, nFrom); nAt != std::string::npos; nAt = strLine.find(strName, nAt + 1)) {
    const size_t nEnd = nAt + strName.size();
    if ((nAt == 0 || !IsNameChar(strLine[nAt - 1])) && (nEnd == strLine.size() || !IsNameChar(strLine[nEnd])))
      return nAt;
  }
  return nFrom;
}

}  // namespace

std::vector<CLspDefinition> ScanDefinitions(const std::string& strText, EPositionEncoding eEncoding) {
  std::vector<CLspDefinition> definitions;
  CBorrowedTextStream stream(strText);
  CTokenizer tokenizer(&stream, false);
  CZoFuncInfoUser::CHeader header;
  // Headers, and their names, come in text order: the search goes forward
  // only, and a line with many headers is copied, searched and counted once.
  size_t nLineStart = 0;
  int nLine = 0;
  std::string strLine;
  bool bLineRead = false;
  size_t nSearchFrom = 0;  // on strLine: past the name found last
  std::unique_ptr<CLspColumnCounter> pColumns;
  while (CZoFuncInfoUser::ReadNextHeader(tokenizer, header)) {
    CLspDefinition definition;
    definition.strName = header.strName;
    definition.strPrototype = header.strPrototype;
    definition.nLine = header.nLine - 1;
    while (nLine < definition.nLine && nLineStart < strText.size()) {
      const size_t nBreak = strText.find('\n', nLineStart);
      nLineStart = nBreak == std::string::npos ? strText.size() : nBreak + 1;
      ++nLine;
      bLineRead = false;
    }
    if (!bLineRead) {
      size_t nLineEnd = strText.find('\n', nLineStart);
      if (nLineEnd == std::string::npos) nLineEnd = strText.size();
      if (nLineEnd > nLineStart && strText[nLineEnd - 1] == '\r') --nLineEnd;
      strLine.assign(strText, nLineStart, nLineEnd - nLineStart);
      pColumns.reset(new CLspColumnCounter(strLine, eEncoding));
      nSearchFrom = 0;
      bLineRead = true;
    }
    const std::string strName = header.strName.Str();
    const size_t nFirst = NameColumn(strLine, strName, nSearchFrom);
    nSearchFrom = std::min(strLine.size(), nFirst + strName.size());
    definition.nColumn = static_cast<unsigned>(pColumns->ColumnOf(nFirst));
    definition.nEndColumn = static_cast<unsigned>(pColumns->ColumnOf(nFirst + strName.size()));
    definitions.push_back(std::move(definition));
  }
  definitions.shrink_to_fit();  // kept for the whole session, one vector per script
  return definitions;
}

}  // namespace lsp
}  // namespace nimbo
