// CScriptFunctionInfo: what the script browser knows of one entry of its
// function map (one script of the project).
#pragma once

#include "CString.h"

struct CScriptFunctionInfo {
  CString m_strScriptPath;  // full path of the script file; stays the first member
  CString m_strFileName;    // the file's name within its directory, extension included
};
