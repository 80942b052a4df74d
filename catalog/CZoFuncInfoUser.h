// CZoFuncInfoUser: the catalogue of the functions that the project's own
// script files define, rebuilt from the scripts on every Init.
#pragma once

#include "catalog/CZoFuncInfo.h"

class CTokenizer;

/// The catalogue of the functions that the project's own script files define,
/// rebuilt from the scripts on every Init.
class AFX_EXT_CLASS CZoFuncInfoUser : public CZoFuncInfo {
 public:
  /// One function definition as the catalogue reads it from a script.
  struct CHeader {
    CString strName;       ///< the name token's text
    CString strPrototype;  ///< "Name(param1, param2)"
    int nLine = 0;         ///< line (from 1) of the name token
  };

  /// The header rule of GetNextFunction without the catalogue: reads tokens
  /// until the next function definition and describes it in header (true),
  /// or reaches the end of the text (false, header unspecified). Callers that
  /// need to know where a catalogued function is defined use it on their
  /// own tokenizer; it finds exactly the definitions GetNextFunction enters.
  static bool ReadNextHeader(CTokenizer& tokenizer, CHeader& header);

  /// Empties the catalogue and scans every script that the open project's
  /// script browser lists, in the browser's order, entering each function
  /// definition found as name -> "Name(param1, param2)". Files that cannot be
  /// opened are skipped. Always returns true; with a null manager or no open
  /// project the catalogue is left empty. The wait cursor is shown for the
  /// scan and restored on every path, also when an exception (from the
  /// host's stream or from memory exhaustion) passes out of it.
  bool Init(CProjectManagerObject* pManager) override;

 protected:
  /// Reads tokens until it has found and catalogued one function definition
  /// (a header word, a name, a parameter list in parentheses, then a body
  /// before the next "function" word) and returns true; returns false at the
  /// end of the text, including one that cuts off a header. The name is the
  /// last identifier before "("; the parameters are the identifiers between
  /// the parentheses. The tokenizer is left at the body's first token.
  bool GetNextFunction(CTokenizer& tokenizer);

 private:
  /// Catalogues every function of one script; a file that cannot be opened
  /// adds nothing.
  void ScanScript(const CString& strPath);
};
