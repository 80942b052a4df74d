// CTokenizer: the lexical rules of the host's script language.
#include "darnel2/CTokenizer.h"

#include <cstring>
#include <string_view>

#include "darnel2/CCodeStream.h"

namespace {

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
// Bytes of 0x80 and above belong to names, so names in the host's code page
// (multibyte ones included) stay whole.
bool IsWordStart(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80; }
bool IsWordChar(int c) { return IsWordStart(c) || IsDigit(c); }

// Views, so that a comparison with a name of another length costs nothing.
const std::string_view g_aKeywords[] = {"var",   "if",       "else", "while", "for",  "return",
                                        "break", "continue", "true", "false", "null"};

// Two-byte operators; any other operator byte stands alone.
const char* const g_apszOperators2[] = {"==", "!=", "<=", ">=", "&&", "||", "++", "--", "+=", "-=", "*=", "/="};
const char g_szOperators1[] = "+-*/%=<>!&|^~?:.";

}  // namespace

CTokenizer::CTokenizer(CCodeStream* pStream, bool bKeepComments)
    : m_pStream(pStream), m_bKeepComments(bKeepComments) {}

int CTokenizer::Next() {
  int c = m_pStream->GetChar();
  if (c == '\n') ++m_nLine;
  return c;
}

void CTokenizer::Take(int nChar) {
  if (m_strText.size() < static_cast<size_t>(kMaxTokenText)) m_strText += static_cast<char>(nChar);
}

eToken CTokenizer::Fetch() {
  m_strText.clear();
  if (m_pStream == nullptr) return m_eToken = tkEnd;
  if (!SkipBlanks()) {
    m_nTokenLine = m_nLine;
    ReadComment();
    return m_eToken = tkComment;
  }
  m_nTokenLine = m_nLine;
  int c = m_pStream->PeekChar();
  if (c < 0) return m_eToken = tkEnd;
  if (IsWordStart(c)) return m_eToken = ReadWord();
  if (IsDigit(c)) return m_eToken = ReadNumber();
  if (c == '"' || c == '\'') return m_eToken = ReadString(c);
  return m_eToken = ReadPunctuation();
}

eToken CTokenizer::Scan(eToken eFirst, eToken eSecond) {
  for (;;) {
    eToken eKind = Fetch();
    if (eKind == eFirst || eKind == eSecond || eKind == tkEnd) return eKind;
  }
}

void CTokenizer::GetTokenText(char* pszBuffer) const {
  size_t nLength = m_strText.size() < static_cast<size_t>(kMaxTokenText) ? m_strText.size() : kMaxTokenText;
  std::memcpy(pszBuffer, m_strText.data(), nLength);
  pszBuffer[nLength] = '\0';
}

bool CTokenizer::SkipBlanks() {
  for (;;) {
    int c = m_pStream->PeekChar();
    if (IsBlank(c)) {
      Next();
    } else if (c == '/' && (m_pStream->PeekChar(1) == '/' || m_pStream->PeekChar(1) == '*')) {
      if (m_bKeepComments) return false;
      ReadComment();
      m_strText.clear();
    } else {
      return true;
    }
  }
}

void CTokenizer::ReadComment() {
  Take(Next());  // the "/"
  int nKind = Next();
  Take(nKind);
  if (nKind == '/') {
    // A line comment ends before its line feed.
    while (m_pStream->PeekChar() >= 0 && m_pStream->PeekChar() != '\n') Take(Next());
    return;
  }
  // A block comment ends after "*/", or at the end of the text.
  int nPrevious = 0;
  for (int c = Next(); c >= 0; c = Next()) {
    Take(c);
    if (nPrevious == '*' && c == '/') return;
    nPrevious = c;
  }
}

eToken CTokenizer::ReadWord() {
  size_t nLength = 0;
  while (IsWordChar(m_pStream->PeekChar())) {
    Take(Next());
    ++nLength;
  }
  // A name cut to the text limit is longer than every reserved word.
  if (nLength != m_strText.size()) return tkIdentifier;
  return KindOfWord(m_strText.data(), m_strText.size());
}

eToken CTokenizer::KindOfWord(const char* pWord, size_t nLength) {
  if (nLength > 0 && IsDigit(static_cast<unsigned char>(pWord[0]))) return tkNumber;
  const std::string_view text(pWord, nLength);
  if (text == "function") return tkFunction;
  if (text == "declare") return tkDeclare;
  for (const std::string_view& keyword : g_aKeywords) {
    if (text == keyword) return tkKeyword;
  }
  return tkIdentifier;
}

eToken CTokenizer::ReadNumber() {
  // Digits, letters, "_" and "." run together: 12, 3.25, 0x1F, 1e5.
  while (IsWordChar(m_pStream->PeekChar()) || m_pStream->PeekChar() == '.') Take(Next());
  return tkNumber;
}

eToken CTokenizer::ReadString(int nQuote) {
  Take(Next());  // the opening quote
  for (;;) {
    int c = m_pStream->PeekChar();
    // An unterminated string ends at the end of its line or of the text.
    if (c < 0 || c == '\n') return tkString;
    Take(Next());
    if (c == nQuote) return tkString;
    if (c == '\\' && m_pStream->PeekChar() >= 0) Take(Next());  // the escaped byte, whatever it is
  }
}

eToken CTokenizer::ReadPunctuation() {
  int c = Next();
  Take(c);
  switch (c) {
    case '{': return tkBraceOpen;
    case '}': return tkBraceClose;
    case '(': return tkParenOpen;
    case ')': return tkParenClose;
    case '[': return tkBracketOpen;
    case ']': return tkBracketClose;
    case ';': return tkSemicolon;
    case ',': return tkComma;
    default: break;
  }
  if (c == 0 || std::strchr(g_szOperators1, c) == nullptr) return tkUnknown;
  int nSecond = m_pStream->PeekChar();
  for (const char* pszOperator : g_apszOperators2) {
    if (pszOperator[0] == c && pszOperator[1] == nSecond) {
      Take(Next());
      break;
    }
  }
  return tkOperator;
}
