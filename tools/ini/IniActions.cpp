// The actions of `nimbo ini` on INI text: reading (get, keys, sections
// through the part of the store's document that answers them, cat through
// the whole), and changing (set, renames, removals) line
// by line under the file's lock.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ini/CIniFile.h"
#include "tools/ini/IniCommandSupport.h"
#include "tools/ini/IniSystem.h"
#include "tools/ini/IniFileBytes.h"
#include "tools/ini/IniFileLock.h"
#include "tools/ini/IniFileText.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/ProgressLine.h"

namespace nimbo {
namespace ini {
namespace {

// One line on standard error, for an option value the parser cannot judge.
int UsageError(const std::string& strMessage) { return Error(strMessage + " (see nimbo ini get --help)"); }

bool ParseInt(const std::string& str, int& nValue) {
  if (str.empty()) return false;
  errno = 0;
  char* pEnd = nullptr;
  const long long n = std::strtoll(str.c_str(), &pEnd, 10);
  if (*pEnd != 0 || errno == ERANGE || n < INT_MIN || n > INT_MAX) return false;
  nValue = static_cast<int>(n);
  return true;
}

// A flag given on the command line: the words the store reads as true
// (GetBool's "Yes", "1", "True", in any letter case) and their opposites.
bool ParseBool(const std::string& str, bool& bValue) {
  for (const char* psz : {"yes", "true", "1"}) {
    if (SameName(str, psz)) {
      bValue = true;
      return true;
    }
  }
  for (const char* psz : {"no", "false", "0"}) {
    if (SameName(str, psz)) {
      bValue = false;
      return true;
    }
  }
  return false;
}

void PrintLine(const std::string& str) {
  std::fwrite(str.data(), 1, str.size(), stdout);
  std::fputc('\n', stdout);
}

// Standard output, checked once everything is written.
int Flushed() {
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return kExitOk;
  return Error(std::string("cannot write to standard output: ") + std::strerror(errno != 0 ? errno : EIO));
}

// The section of the document meant by strName, or -1; -2 after a message.
int DocumentSection(CIniFile& ini, const std::string& strFile, const std::string& strName) {
  const CNameMatch match = MatchName(
      ini.GetCount(), [&ini](int i, std::string& str) { return str = ini.GetAt(i).first.Str(), true; }, strName);
  if (match.nFound == -2) Error(strFile + ": sections " + match.strWhy);
  return match.nFound;
}

int RunGet(const CIniArgs& args) {
  const std::string& strFile = args.positional[0];
  int nDefault = 0;
  bool bDefault = false;
  if (args.bHasDefault && args.bInt && !ParseInt(args.strDefault, nDefault))
    return UsageError("--default is not a number: " + args.strDefault);
  if (args.bHasDefault && args.bBool && !ParseBool(args.strDefault, bDefault))
    return UsageError("--default is not a flag: " + args.strDefault);
  // Only the lines that may answer are kept.
  CIniFile ini;
  CDocumentPart part;
  part.pSection = &args.positional[1];
  part.pKey = &args.positional[2];
  if (!LoadDocumentPart(ini, strFile, part)) return kExitError;
  const int nSection = DocumentSection(ini, strFile, args.positional[1]);
  if (nSection == -2) return kExitError;
  int nKey = -1;
  if (nSection >= 0) {
    const CIniFileSection& section = ini.GetAt(nSection).second;
    const CNameMatch match = MatchName(
        section.GetCount(), [&section](int i, std::string& str) { return str = section.GetAt(i).first.Str(), true; },
        args.positional[2]);
    if (match.nFound == -2) return Error(strFile + ": keys " + match.strWhy);
    nKey = match.nFound;
  }
  if (nKey < 0) {
    if (!args.bHasDefault) return kExitFalse;
    if (args.bInt) std::printf("%d\n", nDefault);
    else if (args.bBool) PrintLine(bDefault ? "true" : "false");
    else PrintLine(args.strDefault);
    return Flushed();
  }
  const CString& strSectionName = ini.GetAt(nSection).first;
  const CIniFileSection::CItem& entry = ini.GetAt(nSection).second.GetAt(nKey);
  // The blanks next to "=" and at the line's end are spacing to a reader.
  const std::string strValue = SplitBlanks(entry.second.Str()).strCore;
  const std::string strWhere = strFile + ": [" + strSectionName.Str() + "] " + entry.first.Str();
  int nValue = 0;
  if (args.bInt && !ParseInt(strValue, nValue)) return Error(strWhere + ": \"" + strValue + "\" is not a number");
  if (args.bBool) {
    // The store's own answer: true for its true words exactly as they stand,
    // false for any other text - a blank beside one included, which a
    // person reading the file may not see, so it is pointed out.
    const bool bValue = ini.GetBool(strSectionName, entry.first, false);
    bool bCore = false;
    if (!bValue && ParseBool(strValue, bCore) && bCore)
      std::fprintf(stderr, "%s\n",
                   OneLine("nimbo ini get: note: " + strWhere + ": the store reads \"" + entry.second.Str() +
                           "\" as false (the blanks beside it count)").c_str());
    PrintLine(bValue ? "true" : "false");
  } else if (args.bInt) {
    std::printf("%d\n", nValue);
  } else {
    PrintLine(strValue);
  }
  return Flushed();
}

int RunKeys(const CIniArgs& args) {
  CIniFile ini;
  CDocumentPart part;
  part.pSection = &args.positional[1];
  if (!LoadDocumentPart(ini, args.positional[0], part)) return kExitError;
  const int nSection = DocumentSection(ini, args.positional[0], args.positional[1]);
  if (nSection == -2) return kExitError;
  if (nSection < 0) return kExitFalse;
  for (const CIniFileSection::CItem& entry : ini.GetAt(nSection).second) PrintLine(entry.first.Str());
  return Flushed();
}

int RunSections(const CIniArgs& args) {
  CIniFile ini;
  CDocumentPart part;
  part.bEntries = false;
  if (!LoadDocumentPart(ini, args.positional[0], part)) return kExitError;
  for (const CIniFile::CItem& section : ini) PrintLine(section.first.Str());
  return Flushed();
}

// The store's text form, CR LF line ends, on standard output.
int RunCat(const CIniArgs& args) {
  CIniFile ini;
  if (!LoadDocument(ini, args.positional[0], args.bKeyOnly)) return kExitError;
  // Streamed through the store's own writer: the format lives in one place,
  // and the text is never held whole. Its bytes are the file's, untranslated.
  SetStdoutBinary();
  ini.WriteText([](const char* pData, size_t nSize) { std::fwrite(pData, 1, nSize, stdout); });
  return Flushed();
}

// A change to a file, from the lock to the write: the file's lines, the
// change, the reading back, the save of what changed.
class CChange {
 public:
  CChange(const CIniArgs& args) : m_args(args), m_strFile(args.positional[0]) {}

  // Locks and reads the file; false after a message. bMissing: the file
  // does not exist (set makes it, in a folder that exists).
  bool Begin(bool& bMissing) {
    bMissing = false;
    std::string strWhy;
    if (!m_lock.Acquire(m_strFile, strWhy)) return Failed("cannot change " + m_strFile + ": " + strWhy);
    int nError = 0;
    if (!m_bytes.Read(m_strFile, m_lock.Descriptor(), nError)) {
      bMissing = nError == ENOENT;
      if (!bMissing) Error("cannot read " + m_strFile + ": " + std::strerror(nError));
      return bMissing;
    }
    std::atomic<long long> nDone{0};
    CProgressLine progress(StageProgress("reading", m_strFile, &nDone, static_cast<long long>(m_bytes.Size())));
    if (!m_text.Read(m_bytes.Data(), m_bytes.Size(), m_args.bKeyOnly, strWhy, &nDone))
      return Failed(CannotRead(m_strFile, strWhy, m_bytes.Data(), m_bytes.Size()));
    return true;
  }

  // Reads back and writes what changed; a change that changes no byte
  // leaves the file alone.
  int End() {
    std::string strChanged;
    std::string strWhy;
    if (!m_text.Finish(strChanged, strWhy)) return Error("cannot change " + m_strFile + ": " + strWhy);
    if (strChanged.size() == m_bytes.Size() && std::memcmp(strChanged.data(), m_bytes.Data(), m_bytes.Size()) == 0)
      return kExitOk;
    bool bSaved = false;
    {
      CProgressLine progress(StageProgress("writing", m_strFile));
      bSaved = WriteWholeFile(m_strFile, strChanged.data(), strChanged.size(), strWhy);
    }
    return bSaved ? kExitOk : Error("cannot write " + m_strFile + ": " + strWhy);
  }

  // A section by name: its header line, -1 when missing, -2 after a message.
  int Section(const std::string& strName) {
    const CNameMatch match = m_text.FindSection(strName);
    if (match.nFound == -2) Error("cannot change " + m_strFile + ": sections " + match.strWhy);
    return match.nFound;
  }
  int Key(int nHeader, const std::string& strName) {
    const CNameMatch match = m_text.FindKey(nHeader, strName);
    if (match.nFound == -2) Error("cannot change " + m_strFile + ": keys " + match.strWhy);
    return match.nFound;
  }
  int Refuse(const std::string& strWhy) { return Error("cannot change " + m_strFile + ": " + strWhy); }
  // Prints the message; false.
  static bool Failed(const std::string& strMessage) {
    Error(strMessage);
    return false;
  }
  CIniFileText& Text() { return m_text; }
  const std::string& File() const { return m_strFile; }

 private:
  const CIniArgs& m_args;
  const std::string m_strFile;
  CIniFileLock m_lock;
  CFileBytes m_bytes;  // the file as read; m_text's lines point into it
  CIniFileText m_text;
};

int RunSet(const CIniArgs& args) {
  const std::string& strSection = args.positional[1];
  const std::string& strKey = args.positional[2];
  std::string strValue = args.positional[3];
  int nValue = 0;
  bool bValue = false;
  CChange change(args);
  if (args.bInt && !ParseInt(strValue, nValue)) return change.Refuse("not a number: " + strValue);
  if (args.bBool && !ParseBool(strValue, bValue)) return change.Refuse("not a flag: " + strValue);
  if (args.bInt) strValue = std::to_string(nValue);
  if (args.bBool) strValue = bValue ? "Yes" : "No";  // as the store's SetBool writes them
  std::string strProblem = CheckSection(strSection);
  if (strProblem.empty()) strProblem = CheckKey(strKey, strValue.empty(), args.bKeyOnly);
  if (strProblem.empty()) strProblem = CheckValue(strValue);
  if (!strProblem.empty()) return change.Refuse(strProblem);

  bool bMissing = false;
  if (!change.Begin(bMissing)) return kExitError;
  if (bMissing) {
    // A new file: the store's text form of its one entry.
    CIniFile ini;
    CIniMemorySource empty(nullptr, 0);
    CIniReader reader(empty);
    ini.Read(reader, args.bKeyOnly);
    ini.SetString(strSection.c_str(), strKey.c_str(), strValue.c_str());
    return SaveDocument(ini, change.File());
  }
  const int nHeader = change.Section(strSection);
  if (nHeader == -2) return kExitError;
  const int nEntry = nHeader >= 0 ? change.Key(nHeader, strKey) : -1;
  if (nEntry == -2) return kExitError;
  std::string strWhy;
  if (!change.Text().SetValue(nHeader, nEntry, strSection, strKey, strValue, strWhy)) return change.Refuse(strWhy);
  return change.End();
}

// The changing actions that return a result: status 1, file untouched, when
// the section or key is missing or a new name is taken.
int RunChange(const CIniArgs& args) {
  const std::vector<std::string>& op = args.positional;
  const std::string& strAction = args.strAction;
  CChange change(args);
  std::string strProblem;
  if (strAction == "rename-section") strProblem = CheckSection(op[2]);
  if (strAction == "rename-key") strProblem = CheckKey(op[3], false, false);
  if (!strProblem.empty()) return change.Refuse(strProblem);

  bool bMissing = false;
  if (!change.Begin(bMissing)) return kExitError;
  if (bMissing) return Error("cannot read " + change.File() + ": " + std::strerror(ENOENT));
  CIniFileText& text = change.Text();
  const int nHeader = change.Section(op[1]);
  if (nHeader == -2) return kExitError;
  if (nHeader == -1) return kExitFalse;
  // A new name is taken when another item has it, or a name that a person
  // reads as it (blanks at the ends aside), which the store would keep apart
  // but a reader of the file would not. A name that differs from the old one
  // only in letter case is a new spelling: as a line edit it changes the text
  // (the store's own Rename keeps the old spelling).
  auto fnTaken = [&text](const CNameMatch& match, const std::string& strOld) {
    return match.nFound == -2 || (match.nFound >= 0 && !SameName(text.NameOf(match.nFound), strOld));
  };
  if (strAction == "rename-section") {
    const std::string strOld = text.NameOf(nHeader);
    const std::string strNew = CIniFileText::KeepBlanks(strOld, op[2]);
    if (strNew == strOld) return kExitOk;
    if (fnTaken(text.FindSection(strNew), strOld)) return kExitFalse;
    strProblem = CheckSection(strNew);
    if (!strProblem.empty()) return change.Refuse(strProblem);
    text.RenameSection(nHeader, op[2]);
  } else if (strAction == "remove-section") {
    text.RemoveSection(nHeader);
  } else if (strAction == "clear-section") {
    text.ClearSection(nHeader);
  } else {
    const int nEntry = change.Key(nHeader, op[2]);
    if (nEntry == -2) return kExitError;
    if (nEntry == -1) return kExitFalse;
    if (strAction == "remove-key") {
      text.RemoveKey(nHeader, nEntry);
    } else {
      const std::string strOld = text.NameOf(nEntry);
      const std::string strNew = CIniFileText::KeepBlanks(strOld, op[3]);
      if (strNew == strOld) return kExitOk;
      if (fnTaken(text.FindKey(nHeader, strNew), strOld)) return kExitFalse;
      text.RenameKey(nHeader, nEntry, op[3]);
    }
  }
  return change.End();
}

}  // namespace

int RunAction(const CIniArgs& args) {
  SetMessagePrefix("nimbo ini " + args.strAction);
  if (args.strAction == "get") return RunGet(args);
  if (args.strAction == "set") return RunSet(args);
  if (args.strAction == "keys") return RunKeys(args);
  if (args.strAction == "sections") return RunSections(args);
  if (args.strAction == "cat") return RunCat(args);
  if (args.strAction == "pack") return RunPack(args);
  if (args.strAction == "unpack") return RunUnpack(args);
  return RunChange(args);
}

}  // namespace ini
}  // namespace nimbo
