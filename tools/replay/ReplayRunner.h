// RunReplay: plays a replay script through an editing session and prints
// what happened: every action and every observable step (nimbo replay), or
// only the notes and screens (nimbo demo).
#pragma once

#include <cstdio>
#include <string>

#include "tools/replay/ReplayScript.h"

struct CReplayOptions {
  std::string strScriptPath;   // for messages and relative paths
  std::string strProjectDir;   // checked readable directories
  std::string strProgramsDir;
  bool bEvents = true;         // false: only notes and screens
};

// Runs the script's actions in order. Returns 0 when every action ran, or 2
// after a one-line "FILE:LINE: message" on stderr for an action that failed
// (a file that cannot be opened or saved).
int RunReplay(const CReplayScript& script, const CReplayOptions& options, FILE* out);

// A text in double quotes, with backslash escapes for quotes, backslashes
// and bytes that are not printable ASCII.
std::string ReplayQuote(const std::string& strText);
