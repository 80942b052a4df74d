// CIniFileText: an INI file as `nimbo ini` changes it - its bytes and where
// each line lies, as the store's reader cuts them - and the changes that
// touch only the lines concerned. No document is built: a change finds its
// lines by name, and the changed bytes are read back line by line.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "ini/CIniReader.h"

namespace nimbo {
namespace ini {

// The name as a person means it: the one the store finds by that name, else
// the only one that is that name once the blanks at the ends of both are set
// aside. fnName(i, str) puts the i-th candidate's name in str and returns
// false for a position that holds none. nFound: the position, -1 when there
// is none, -2 when several names that the store tells apart fit (strWhy then
// names them).
struct CNameMatch {
  int nFound = -1;
  std::string strWhy;
};
template <class FnName>
CNameMatch MatchName(int nCount, FnName fnName, const std::string& strWanted);

// The blanks (space, tab) at the ends of a name or value, and what they hold.
struct CBlankParts {
  std::string strLead, strCore, strTrail;
};
CBlankParts SplitBlanks(const std::string& str);

// The store's rule for names: equal ignoring letter case (_mbsicmp).
bool SameName(const std::string& a, const std::string& b);

class CIniFileText {
 public:
  // 24 bytes: a large file has many.
  struct CLine {
    long long nOffset;      // the line's first byte
    unsigned nLength;       // its text, without the line end
    unsigned nEquals;       // an entry's first "=", or nLength
    int nHeader;            // the header line above it, -1 before the first
    EIniLine eKind : 8;
    unsigned nEndLength : 8;  // its line end: 2, 1, or 0 for a last line without one
  };

  // Cuts bytes into lines as the store reads them, refusing what is not INI
  // text (a zero byte, an unreadable line, a line too long): false with a
  // one-line reason naming the line. pProgress gets the bytes read so far.
  // The bytes stay the caller's, and must outlive this object.
  bool Read(const char* pBytes, size_t nBytes, bool bKeyOnly, std::string& strWhy,
            std::atomic<long long>* pProgress = nullptr);

  // The header line of the section meant by strName (its first header), or
  // -1 / -2 as MatchName gives them.
  CNameMatch FindSection(const std::string& strName) const;
  // The first entry line of the key meant by strName in the section of
  // header line nHeader.
  CNameMatch FindKey(int nHeader, const std::string& strName) const;
  // A name as the store holds it: the text of a header between its
  // brackets, or the key of an entry line.
  std::string NameOf(int nLine) const;

  // The changes. Each puts new bytes in place of the lines concerned, and
  // every other byte stays; the line ends of new lines are the file's own.
  // The header and entry lines are those that FindSection and FindKey gave.
  // SetValue: the value of an existing key (its last line, where the store
  // takes it from), keeping the blanks around it; nEntry -1 for a new key,
  // after the section's last entry; nHeader -1 for a new section, at the
  // end of the text. False with a reason when the text cannot take the
  // change (a last line without its line end in the way).
  bool SetValue(int nHeader, int nEntry, const std::string& strSection, const std::string& strKey,
                const std::string& strValue, std::string& strWhy);
  void RenameSection(int nHeader, const std::string& strNew);
  void RenameKey(int nHeader, int nEntry, const std::string& strNew);
  void RemoveSection(int nHeader);
  void RemoveKey(int nHeader, int nEntry);
  void ClearSection(int nHeader);
  // The new name (or value) as it will stand, its old blanks kept.
  static std::string KeepBlanks(const std::string& strOld, const std::string& strNew);

  // The bytes with the changes made, read back whole through the store's
  // reader: false with a reason unless they give exactly the lines the
  // changes meant (so the document the store reads is the one intended).
  bool Finish(std::string& strChanged, std::string& strWhy);

 private:
  // A line of the changed text as the changes mean it: its kind and text.
  struct CPlanned {
    EIniLine eKind;
    std::string strText;  // without its line end
    std::string strEnd;
  };
  struct CSplice {
    size_t nFirstLine;  // the lines replaced: [nFirstLine, nEndLine)
    size_t nEndLine;
    std::vector<CPlanned> lines;  // what takes their place, each ended with the file's line end
  };
  std::string LineEnd() const;
  // Why a change waits for the last line's line end.
  std::string NoLineEnd(const std::string& strBefore) const;
  std::string TextOf(size_t nLine) const {
    return std::string(m_pBytes + m_lines[nLine].nOffset, m_lines[nLine].nLength);
  }
  // Every header line of the section of header line nHeader (the store
  // merges them), and the entry lines of a key in them, in file order.
  std::vector<size_t> HeadersOf(int nHeader) const;
  std::vector<size_t> EntriesOf(int nHeader, int nEntry) const;  // nEntry -1: every entry
  void Replace(size_t nLine, EIniLine eKind, const std::string& strText);
  void Remove(size_t nFirst, size_t nEnd);

  const char* m_pBytes = nullptr;
  size_t m_nBytes = 0;
  std::vector<CLine> m_lines;
  long long m_nTextEnd = 0;  // where the text ends: the size, or a Ctrl-Z
  bool m_bKeyOnly = false;
  std::vector<CSplice> m_splices;
};

}  // namespace ini
}  // namespace nimbo

#include "tools/ini/IniNameMatch.inl"
