// Shared pieces of the `nimbo ini` subcommands: parsed arguments, messages
// and exit statuses, reading a file once, loading a document for the
// command, writing files whole.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "ini/CIniReader.h"

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

// Prints "PREFIX: <message>" on standard error, on one line (OneLine);
// returns kExitError. The prefix is the command's own, as its usage errors
// have it ("nimbo ini get"), once SetMessagePrefix has named it.
int Error(const std::string& strMessage);
void SetMessagePrefix(const std::string& strPrefix);
// Text with its control bytes written out ("\n", "\0", "\x1A"), so that a
// name that holds a line break or a zero byte stays on the message's line.
std::string OneLine(const std::string& str);

// What the bytes a reader read from are, when it did not read them to their
// end: "line 3 is not INI text: ...", an archive with the command that reads
// it, UTF-16 text, the system's reason of a read error; empty for a whole
// read. strStopLine: the unreadable line that ended the read, if one did.
std::string WhyNotRead(const CIniReadResult& result, const std::string& strStopLine, const char* pBytes,
                       size_t nBytes);
// "cannot read FILE: WHY", for bytes of FILE that did not read; for bytes
// that begin with a zero byte (the mark of an in-place save cut short) it
// names the copy of the earlier content that such a save left beside it.
std::string CannotRead(const std::string& strPath, const std::string& strWhy, const char* pBytes, size_t nBytes);

// The progress line of one stage of the work on a file ("reading",
// "packing", ...): "nimbo ini: reading FILE 42% (3 s)", the share from
// pDone against nTotal bytes where they are given.
std::function<std::string(int nSeconds)> StageProgress(const std::string& strStage, const std::string& strPath,
                                                       const std::atomic<long long>* pDone = nullptr,
                                                       long long nTotal = 0);

// Loads strPath into ini (read once, refused when it is not INI text), with
// a progress line for a long load. False after printing a one-line message
// naming the file.
bool LoadDocument(CIniFile& ini, const std::string& strPath, bool bKeyOnly);

// The part of a document that a reading action answers from: the sections
// a person reads as *pSection (every section when null), and in them the
// entries whose keys a person reads as *pKey (every entry when null; none
// without bEntries) - "as a person reads" meaning as MatchName may find
// them: alike by the store's rule once the blanks at the ends are set aside.
struct CDocumentPart {
  const std::string* pSection = nullptr;
  const std::string* pKey = nullptr;
  bool bEntries = true;
};
// LoadDocument for that part only, streamed through the store's reader
// from the file in one pass: the whole text is judged as LoadDocument
// judges it, but only the part is held, so memory stays bounded whatever
// the file's size. Names, order, values and the merging of repeated
// sections and keys are the store's, within the part.
bool LoadDocumentPart(CIniFile& ini, const std::string& strPath, const CDocumentPart& part);

// Why a name or value given on the command line cannot be stored so that
// it reads back, or empty: the store's rule (CIniFile's faults).
std::string CheckSection(const std::string& str);
std::string CheckKey(const std::string& str, bool bValueEmpty, bool bKeyOnly);
std::string CheckValue(const std::string& str);

// Saves the document as the store's text form to strPath (directories made
// as needed) when that text reads back as the same document; kExitOk, or
// kExitError with a message naming the file, which is then left as it was.
int SaveDocument(CIniFile& ini, const std::string& strPath);

// Writes bytes as the whole content of strPath, by the rules of
// SaveWholeFile (FileSave.h); a missing folder is not made. False with the
// system's reason.
bool WriteWholeFile(const std::string& strPath, const char* pData, size_t nSize, std::string& strWhy);

// Runs the action args name; the exit status.
int RunAction(const CIniArgs& args);

// pack FILE ARCHIVE and unpack ARCHIVE FILE.
int RunPack(const CIniArgs& args);
int RunUnpack(const CIniArgs& args);

}  // namespace ini
}  // namespace nimbo
