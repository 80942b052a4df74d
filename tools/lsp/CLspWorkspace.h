// CLspWorkspace: what the language features ask of the project, in the
// language server's own types, never in JSON: the open documents, the
// function a name calls, where project functions are defined and used, the
// notes above a definition and the findings on an open script. The server
// (CLspServer) keeps the catalogues and documents behind it up to date; a
// feature reads through it and returns a protocol value (LspProtocol.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/lsp/CLspCatalog.h"
#include "tools/lsp/CLspDocument.h"
#include "tools/lsp/CLspScriptReading.h"
#include "tools/lsp/LspHeaderNotes.h"
#include "tools/lsp/LspProtocol.h"
#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

// One use of a function's name in a script; columns in the client's encoding.
struct CLspUse {
  enum EKind { kindCall, kindDeclaration, kindDefinition };
  const CLspScript* pScript;
  uint32_t nLine;
  uint32_t nColumn;
  EKind eKind;
};

class CLspWorkspace {
 public:
  virtual ~CLspWorkspace() = default;

  // How the client counts columns.
  virtual EPositionEncoding Encoding() const = 0;
  // The open document at strUri, in step with the client's text; null when
  // it is not open or out of step.
  virtual CLspDocument* Document(const std::string& strUri) = 0;
  // The line and byte offset of a client position in an open document;
  // null as Document, or when the line is past the last.
  virtual CLspDocument* Locate(const std::string& strUri, const CLspPosition& position, size_t& nLine,
                               size_t& nOffset) = 0;

  // The function a call of strName calls (a built-in before a project
  // function); false when none.
  virtual bool Find(const std::string& strName, CLspFunction& function) const = 0;
  // Every project definition of strName in key order: the first is the one
  // calls use.
  virtual std::vector<CLspPlace> DefinitionsOf(const std::string& strName) const = 0;
  // Where funcwiz.ini gives a built-in's prototype; false when it does not.
  virtual bool BuiltInAt(const std::string& strName, CLspLocation& location) const = 0;
  // The uses of function across the project, in key then text order (or in
  // pOnly alone); declarations and definitions only when bDeclarations. The
  // first call reads every script's call sites still unread.
  virtual std::vector<CLspUse> UsesOf(const CLspFunction& function, bool bDeclarations,
                                      const CLspScript* pOnly = nullptr) = 0;
  // The script the catalogue holds for a document or file URI; null when none.
  virtual const CLspScript* ScriptOf(const std::string& strUri) const = 0;
  // The URI the client knows a script by (an open document's own).
  virtual std::string UriOf(const CLspScript& script) const = 0;
  // The lines of a script with its headers and calls: the open document's,
  // else its file's (no lines when it cannot be read).
  virtual CLspScriptReading ReadingOf(const CLspScript& script) = 0;
  // The result type and the comment above a project definition, from its
  // script's current text.
  virtual CLspHeaderNotes NotesOf(const CLspPlace& place) = 0;

  // The findings on an open script as they would be published now
  // (severities set, "off" kinds left out); empty when it is not open.
  virtual std::vector<CLspDiagnostic> Diagnostics(const std::string& strUri) = 0;

  // A first index is still reading scripts: project functions may be missing.
  virtual bool IsIndexing() const = 0;
};

}  // namespace lsp
}  // namespace nimbo
