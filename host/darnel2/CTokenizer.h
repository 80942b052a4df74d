// CTokenizer: splits the host's script language into tokens (the language
// and the token kinds are described in README.md beside this file).
#pragma once

#include <string>

class CCodeStream;

// Token kinds. The values are part of the host's interface: callers compare
// against them by number, so existing values never change.
enum eToken {
  tkNone = 0,         // before the first Fetch
  tkEnd = 1,          // end of the text (repeated on every later Fetch)
  tkFunction = 2,     // the word "function": begins a function definition
  tkNumber = 3,       // 12, 3.5, 0x1F
  tkBraceOpen = 4,    // "{": begins a function body or a block
  tkIdentifier = 5,   // a name that is not a reserved word
  tkString = 6,       // "text" or 'text', quotes and escapes as written
  tkBraceClose = 7,   // "}"
  tkSemicolon = 8,    // ";"
  tkComma = 9,        // ","
  tkKeyword = 10,     // any other reserved word: var, if, else, while, ...
  tkParenOpen = 11,   // "("
  tkParenClose = 12,  // ")"
  tkBracketOpen = 13,  // "["
  tkBracketClose = 14,  // "]"
  tkOperator = 15,    // + - * / % = == != < <= > >= && || ! . ? : and the like
  tkComment = 16,     // a // or /* */ comment; delivered only on request
  tkUnknown = 17,     // a byte that begins no token (@, #, $, a zero byte, ...)
  tkDeclare = 18,     // the word "declare": begins a forward declaration
};

class CTokenizer {
 public:
  // Most bytes GetTokenText writes before its terminating zero.
  static const int kMaxTokenText = 200;

  // Reads from pStream, which is borrowed and must outlive the tokenizer
  // (a null stream reads as an empty text). bKeepComments true delivers
  // comments as tkComment tokens; false passes over them like blanks.
  CTokenizer(CCodeStream* pStream, bool bKeepComments);
  CTokenizer(const CTokenizer&) = delete;  // two readers would share one stream position
  CTokenizer& operator=(const CTokenizer&) = delete;

  // Reads the next token and returns its kind; tkEnd at the end of the text.
  eToken Fetch();
  // Reads tokens until one of kind eFirst or eSecond and returns its kind,
  // or tkEnd when the text ends first. The current token is not looked at:
  // the search starts with the next one.
  eToken Scan(eToken eFirst, eToken eSecond);

  // Writes the current token's text into pszBuffer, which must hold
  // kMaxTokenText + 1 bytes: at most kMaxTokenText bytes of the text (a
  // longer token is cut), then a zero. The text is the token as written in
  // the script; it is empty at the end of the text and before the first
  // Fetch. A zero byte in the script ends the text early.
  void GetTokenText(char* pszBuffer) const;

  // The kind of a whole word of the language: tkFunction, tkDeclare,
  // tkKeyword, tkNumber (it begins with a digit) or tkIdentifier. Every
  // reader of the language asks here, so that they agree on its words.
  static eToken KindOfWord(const char* pWord, size_t nLength);

  eToken GetToken() const { return m_eToken; }
  // Line (from 1) on which the current token begins.
  int GetTokenLine() const { return m_nTokenLine; }

 private:
  int Next();                      // consumes one byte, counting lines
  void Take(int nChar);            // appends a byte to the token text, up to the limit
  bool SkipBlanks();               // false at a comment that must be delivered
  void ReadComment();
  eToken ReadWord();
  eToken ReadNumber();
  eToken ReadString(int nQuote);
  eToken ReadPunctuation();

  CCodeStream* m_pStream;
  bool m_bKeepComments;
  eToken m_eToken = tkNone;
  std::string m_strText;  // the current token's text, cut to kMaxTokenText bytes
  int m_nLine = 1;        // line of the read position
  int m_nTokenLine = 1;
};
