// Shared pieces of the `nimbo ini` subcommands: parsed arguments, messages
// and exit statuses, loading a document for the command, writing files whole.
#pragma once

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
  bool bKeyOnly = false;                // --key-only: load and save entries with empty values as the key alone
  bool bHasDefault = false;             // --default TEXT was given
  std::string strDefault;
};

// Prints "nimbo ini: <message>" on standard error; returns kExitError.
int Error(const std::string& strMessage);

// Loads strPath into ini. False after printing a one-line message naming the
// file when it cannot be read or is not well-formed INI text.
bool LoadDocument(CIniFile& ini, const std::string& strPath, bool bKeyOnly);

// Saves ini to strPath; kExitOk, or kExitError with a message naming the file.
int SaveDocument(CIniFile& ini, const std::string& strPath);

// Writes bytes to strPath through a temporary file beside it, which replaces
// the target only when everything was written. False when that fails (the
// previous file is then untouched).
bool WriteWholeFile(const std::string& strPath, const std::vector<unsigned char>& bytes);

// pack FILE ARCHIVE and unpack ARCHIVE FILE.
int RunPack(const CIniArgs& args);
int RunUnpack(const CIniArgs& args);

}  // namespace ini
}  // namespace nimbo
