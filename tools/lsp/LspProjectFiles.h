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
// One system call (posix/LspStamp.cpp; win32/LspStamp.cpp on Windows).
bool StampOf(const std::string& strPath, CLspStamp& stamp);

// The whole content of a file; false when it cannot be read.
bool ReadWholeFile(const std::string& strPath, std::string& strText);

// Whether a path names a script: it ends with ".nsc" in any ASCII case and
// has a name before it.
bool IsScriptPath(const std::string& strPath);

// Which folders of the project's trees are read. The project has one root
// or more (the workspace's folders, then folders the user added); the first
// is the main one. Hidden folders (a name beginning with ".") are always
// skipped; an exclusion is a folder name ("build": every folder of that
// name), a path relative to a root ("old/drafts": that folder of each
// root), or an absolute path (that one folder). Either may be written with
// any of the system's separators; the roots and exclusions are kept with
// its own, as the listed paths are (SystemSeparators).
class CLspFolderFilter {
 public:
  CLspFolderFilter() = default;
  CLspFolderFilter(std::string strRoot, std::vector<std::string> excluded);
  // Roots in order of precedence; empty ones are dropped, and so is a root
  // given twice.
  CLspFolderFilter(std::vector<std::string> roots, std::vector<std::string> excluded);

  // The main root; empty: no tree.
  const std::string& Root() const { return m_roots.empty() ? m_strNone : m_roots.front(); }
  const std::vector<std::string>& Roots() const { return m_roots; }
  bool IsRoot(const std::string& strDir) const;
  // Whether the folder strDir (a path under a root) is skipped, with all
  // that is below it: skipped as seen from every root it lies under. A
  // root itself is never skipped.
  bool SkipsFolder(const std::string& strDir) const;
  // Whether strPath lies in a tree (under a root, in no folder skipped as
  // seen from that root).
  bool Covers(const std::string& strPath) const;
  // strPath relative to the main root ("sub/a.nsc"); strPath itself when it
  // is not under it.
  std::string Relative(const std::string& strPath) const;
  // What orders the scripts, and so decides which of two definitions of a
  // name is used: the main root's scripts by their relative path, then each
  // further root's in the roots' order, then what no root covers (by its
  // own path). Paths that are one file have one key.
  std::string Key(const std::string& strPath) const;
  // The name a person is shown for a script: its path from the main root,
  // or, under another root, that root's folder name and the path from it.
  std::string ShownName(const std::string& strPath) const;

 private:
  // strPath relative to strRoot; empty when it is not below it.
  static std::string RelativeTo(const std::string& strRoot, const std::string& strPath);
  bool SkipsBelow(const std::string& strRelative, const std::string& strDir) const;
  bool CoveredBy(const std::string& strRoot, const std::string& strPath) const;

  static const std::string m_strNone;
  std::vector<std::string> m_roots;     // absolute, no trailing separator
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
