// CZoFuncInfoStd: the catalogue of the script language's built-in functions,
// read from the function-wizard file "funcwiz.ini" in the host's "Programs"
// directory.
#pragma once

#include "catalog/CZoFuncInfo.h"

/// The file lists every function in the section "FuncWiz - Category - All"
/// (the values of its entries, in file order; the keys are ignored) and gives
/// each function a section of its own name (found ignoring case) whose key
/// "SampleLine" is the function's prototype text.
class AFX_EXT_CLASS CZoFuncInfoStd : public CZoFuncInfo {
 public:
  /// Fills the catalogue from the file while it is empty; the filled
  /// catalogue is the only mark that the file was read.
  /// - Already holds an entry: true, the file is not read.
  /// - No project manager, or its global data has no directory locator:
  ///   false, the catalogue is unchanged.
  /// - The file cannot be loaded: false, the catalogue is unchanged.
  /// - Otherwise true, with one entry per listed function (the first text of
  ///   a name stays); a listed function without a section or without
  ///   "SampleLine" gets an empty text, and a file without the list section
  ///   adds nothing, so the next Init reads the file again.
  bool Init(CProjectManagerObject* pManager) override;
};
