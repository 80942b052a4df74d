// CZoFuncInfoUser: scanning the project's scripts for function definitions.
#include "catalog/CZoFuncInfoUser.h"

#include <cstring>

#include "AfxModuleState.h"
#include "CWinApp.h"
#include "darnel2/CCodeFileStream.h"
#include "darnel2/CScriptBrowser.h"
#include "darnel2/CTokenizer.h"
#include "obrin/CProjectManagerObject.h"

namespace {

// A token text fills at most this buffer: 200 bytes and a zero.
const int kTokenBufferSize = 201;

// Shows the application's wait cursor for the life of the object, so that
// it is taken away again however the scope is left.
class CWaitCursorScope {
 public:
  CWaitCursorScope() { AfxGetApp()->BeginWaitCursor(); }
  ~CWaitCursorScope() { AfxGetApp()->EndWaitCursor(); }
  CWaitCursorScope(const CWaitCursorScope&) = delete;  // exactly one End per Begin
  CWaitCursorScope& operator=(const CWaitCursorScope&) = delete;
};

// The current token's text, read into pszBuffer (kTokenBufferSize bytes).
// The tokenizer promises a terminated text of at most 200 bytes; the last
// byte is zeroed and the copy bounded all the same, so a text that breaks
// the promise is cut rather than read past the buffer.
CString ReadTokenText(CTokenizer& tokenizer, char* pszBuffer) {
  tokenizer.GetTokenText(pszBuffer);
  pszBuffer[kTokenBufferSize - 1] = '\0';
  return CString(pszBuffer, static_cast<int>(strnlen(pszBuffer, kTokenBufferSize - 1)));
}

}  // namespace

bool CZoFuncInfoUser::Init(CProjectManagerObject* pManager) {
  CWaitCursorScope waitCursor;
  clear();
  CScriptBrowser* pBrowser = pManager != nullptr ? pManager->GetScriptBrowser() : nullptr;
  if (pBrowser == nullptr) return true;  // no project open: nothing to catalogue
  CScriptBrowser::CFunctionMap& mapScripts = pBrowser->GetFunctionMap();
  for (auto it = mapScripts.begin(); it != mapScripts.end(); it = pBrowser->GetNext(it)) {
    ScanScript(it->second.m_strScriptPath);
  }
  return true;
}

void CZoFuncInfoUser::ScanScript(const CString& strPath) {
  CCodeFileStream stream(strPath);
  if (!stream.OpenFile()) return;
  // Declared after the stream, so it is destroyed first, on every path.
  CTokenizer tokenizer(&stream, false);
  while (GetNextFunction(tokenizer)) {
  }
}

bool CZoFuncInfoUser::GetNextFunction(CTokenizer& tokenizer) {
  CHeader header;
  if (!ReadNextHeader(tokenizer, header)) return false;
  insert(value_type(header.strName, header.strPrototype));
  return true;
}

bool CZoFuncInfoUser::ReadNextHeader(CTokenizer& tokenizer, CHeader& header) {
  char szName[kTokenBufferSize] = {};
  char szParam[kTokenBufferSize] = {};
  CString strParams;
  int nNameLine = 0;

  if (tokenizer.Scan(tkFunction, tkDeclare) == tkEnd) return false;
  for (;;) {
    // Look for the first name after the header word.
    eToken eKind = tokenizer.Fetch();
    while (eKind != tkIdentifier) {
      if (eKind == tkEnd) return false;
      eKind = tokenizer.Fetch();
    }
    // The last of a run of names is the function's; a result type written
    // before it is dropped.
    while (eKind == tkIdentifier) {
      ReadTokenText(tokenizer, szName);
      nNameLine = tokenizer.GetTokenLine();
      eKind = tokenizer.Fetch();
    }
    if (eKind != tkParenOpen) {
      // Not a header after all: resume at the next header word.
      if (tokenizer.Scan(tkFunction, tkDeclare) == tkEnd) return false;
      continue;
    }
    // The parameter list: every name up to the first ")".
    strParams.Empty();
    for (eKind = tokenizer.Fetch(); eKind != tkParenClose; eKind = tokenizer.Fetch()) {
      if (eKind == tkEnd) return false;
      if (eKind == tkIdentifier) {
        strParams += ReadTokenText(tokenizer, szParam);
        strParams += ", ";
      }
    }
    header.strName = CString(szName, static_cast<int>(strnlen(szName, kTokenBufferSize - 1)));
    header.nLine = nNameLine;
    // A body must follow before the next definition; a header without one
    // (a declaration) is dropped, and the "function" word reached begins
    // the next candidate.
    eKind = tokenizer.Scan(tkBraceOpen, tkFunction);
    if (eKind == tkEnd) return false;
    if (eKind == tkBraceOpen) break;
  }

  header.strPrototype = header.strName + "(";
  if (!strParams.IsEmpty()) header.strPrototype += strParams.Left(strParams.GetLength() - 2);
  header.strPrototype += ")";
  return true;
}
