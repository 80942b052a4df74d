// LspFinding: a finding of the diagnostics (CLspDiagnostics) as a piece of
// a document keeps it: its kind, which chooses its severity when it is
// published, and the diagnostic itself.
#pragma once

#include "tools/lsp/LspProtocol.h"

namespace nimbo {
namespace lsp {

enum ELspDiagnosticKind {
  diagnosticUnknownFunction,
  diagnosticArgumentCount,
  diagnosticHiddenByBuiltin,
  diagnosticDeclareWithoutDefinition,
  diagnosticDuplicateDefinition,
  diagnosticUnclosedCall,
  diagnosticUnclosedString,
  kDiagnosticKinds
};

struct CLspFinding {
  ELspDiagnosticKind eKind = diagnosticUnknownFunction;
  // Its lines counted from the piece's first line (those of its related
  // places are their files' own); no severity.
  CLspDiagnostic diagnostic;
};

}  // namespace lsp
}  // namespace nimbo
