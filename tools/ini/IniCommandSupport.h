// Shared pieces of the `nimbo ini` subcommands: parsed arguments, messages
// and exit statuses, loading a document for the command, writing files whole.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CIniFile;

namespace nimbo {
namespace ini {

struct CIniArgs {
  std::string strAction;                // get, set, keys, ...
  std::vector<std::string> positional;  // the action's operands, FILE first
  bool bInt = false;                    // --int
  bool bBool = false;                   // --bool
  bool bKeyOnly = false;                // --key-only: write entries with empty values as the key alone
  bool bHasDefault = false;             // --default TEXT was given
  std::string strDefault;
};

// Prints "nimbo ini: <message>" on standard error; returns kExitError.
int Error(const std::string& strMessage);

// The progress line of one stage of the work on a file ("reading",
// "packing", ...): "nimbo ini: reading FILE 42% (3 s)", the share only where
// it can be known (reading a file).
std::function<std::string(int nSeconds)> StageProgress(const std::string& strStage, const std::string& strPath);

// Loads strPath into ini, with a progress line for a long load. False after printing a one-line message naming the
// file when it cannot be read or is not well-formed INI text.
bool LoadDocument(CIniFile& ini, const std::string& strPath, bool bKeyOnly);

// Text that the INI text form cannot carry back: a line break, or the
// Ctrl-Z that ends the text on reading.
bool HasLineBreakOrEnd(const std::string& str);

// Why a key would not read back as written, or empty when it would.
std::string CheckKey(const std::string& str);

// Why the document's text, written with or without key-only lines, would
// not read back as the same document (the first entry or section that would
// be lost or changed), or empty when it would.
std::string CheckDocument(const CIniFile& ini, bool bKeyOnly);

// Saves ini to strPath when its text reads back as the same document
// (CheckDocument), with a progress line for a long save; kExitOk, or kExitError with a message naming the file,
// which is then left as it was.
int SaveDocument(CIniFile& ini, const std::string& strPath, bool bKeyOnly);

// Writes bytes as the whole content of strPath, by the rules of
// SaveWholeFile (FileSave.h). False when that fails.
bool WriteWholeFile(const std::string& strPath, const std::vector<unsigned char>& bytes);

// pack FILE ARCHIVE and unpack ARCHIVE FILE.
int RunPack(const CIniArgs& args);
int RunUnpack(const CIniArgs& args);

}  // namespace ini
}  // namespace nimbo
