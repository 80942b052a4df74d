// LspProjectFiles: the project's script files on disk: which folders count,
// listing the tree, and the stamp that tells whether a file changed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace nimbo {
namespace lsp {

// What a file looked like when it was read: a script whose stamp is the
// same need not be read again.
struct CLspStamp {
  long long nTime = 0;            // last write time, in the system's ticks
  unsigned long long nSize = 0;   // bytes
  bool operator==(const CLspStamp& other) const { return nTime == other.nTime && nSize == other.nSize; }
  bool operator!=(const CLspStamp& other) const { return !(*this == other); }
};

// The stamp of a regular file (links followed); false when there is none.
// One system call (LspStampPosix.cpp; LspStampWin32.cpp on Windows).
bool StampOf(const std::string& strPath, CLspStamp& stamp);

// The whole content of a file; false when it cannot be read.
bool ReadWholeFile(const std::string& strPath, std::string& strText);

// Whether a path names a script: it ends with ".nsc" in any ASCII case and
// has a name before it.
bool IsScriptPath(const std::string& strPath);

// Which folders of the project tree are read. Hidden folders (a name
// beginning with ".") are always skipped; an exclusion is a folder name
// ("build": every folder of that name) or a path relative to the root
// ("old/drafts": that one folder). Either may be written with any of the
// system's separators; the root and exclusions are kept with its own, as
// the listed paths are (SystemSeparators).
class CLspFolderFilter {
 public:
  CLspFolderFilter() = default;
  CLspFolderFilter(std::string strRoot, std::vector<std::string> excluded);

  const std::string& Root() const { return m_strRoot; }
  // Whether the folder strDir (a path under the root) is skipped, with all
  // that is below it. The root itself is never skipped.
  bool SkipsFolder(const std::string& strDir) const;
  // Whether strPath lies in the tree (under the root, in no skipped folder).
  bool Covers(const std::string& strPath) const;
  // strPath relative to the root ("sub/a.nsc"); strPath itself when it is
  // not under the root.
  std::string Relative(const std::string& strPath) const;

 private:
  std::string m_strRoot;                // absolute, no trailing separator; empty: no tree
  std::vector<std::string> m_excluded;  // as given, trailing separator dropped
};

// Every script under strDir (strDir itself included when it lies in the
// tree), skipped folders left out, in no particular order. Folder links are
// not followed, so a link loop cannot make the walk endless. pfnStep, when
// given, is called every few hundred entries (a long walk's pauses).
// pUnreadable, when given, gets "folder: the system's reason" for each
// folder of the tree that cannot be listed (its scripts are left out).
std::vector<std::string> ListScripts(const std::string& strDir, const CLspFolderFilter& filter,
                                     const std::function<void()>& pfnStep = nullptr,
                                     std::vector<std::string>* pUnreadable = nullptr);

}  // namespace lsp
}  // namespace nimbo
