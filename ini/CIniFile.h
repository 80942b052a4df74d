// CIniFile: an INI document in memory - ordered sections of ordered entries,
// names compared ignoring case - with its text form, typed values, key lists,
// renaming, removal and archive form.
#pragma once

#include <cstddef>
#include <functional>

#include "CObject.h"
#include "CString.h"
#include "CStringArray.h"
#include "CStringList.h"
#include "ini/CIniFileSection.h"
#include "ini/CIniReader.h"
#include "ini/CNamedArray.h"

// Operations call one another through the virtual table, so a derived class
// that replaces one step is seen by the others: Save calls SaveAs; the
// getters call KeyExists, which calls SectionExists; the setters call
// SetModified(true); WriteSection calls SetString; RenameSection, RenameKey
// and RemoveKey call SectionExists. Virtual operations are declared in the
// order of the document's virtual table; do not reorder them.
class CIniFile : public CObject, public CNamedArray<CIniFileSection> {
  DECLARE_SERIAL(CIniFile)

 public:
  CIniFile() = default;
  CIniFile(const CIniFile&) = delete;  // a document is not copyable
  CIniFile& operator=(const CIniFile&) = delete;

  ~CIniFile() override = default;
  // Storing writes version 1, the section count, then each section's name
  // and record. Loading merges the archive's sections and entries into the
  // document (never empties it first). A document record whose version is
  // not 1 loads nothing; a section record whose version is not 1 stops the
  // load with CArchiveException::badSchema, keeping what came before it.
  // Archive errors pass to the caller. The path and both flags are left alone.
  void Serialize(CArchive& ar) override;
  void AssertValid() const override {}
  void Dump(CDumpContext& dc) const override { (void)dc; }

  virtual void SetFilePath(LPCTSTR pszPath);
  // Replaces the content with that of the INI text file at pszPath, and sets
  // the path and the key-only-lines flag whatever the outcome. True when the
  // file was read to its end (the modified flag is then cleared). False when
  // it cannot be opened (document empty), at a malformed header or an entry
  // outside a named section (what was read before remains; modified flag
  // unchanged), or on a read error (what was read remains; flag cleared).
  virtual bool Load(LPCTSTR pszPath, bool bKeyOnlyLines);
  // Load's work on the lines of any reader (over a file, a memory buffer),
  // with the reader's typed result instead of a bool: the content is
  // replaced, the key-only-lines flag set and the modified flag treated as
  // Load treats them; the path is left alone. pfnLine, when given, sees each
  // line the reader hands over, with the position of the section it lies in
  // (-1 before the first header), after the document took it.
  CIniReadResult Read(CIniReader& reader, bool bKeyOnlyLines,
                      const std::function<void(const CIniLine& line, int nSection)>* pfnLine = nullptr);
  virtual CString GetFilePath() const;
  // SaveAs(GetFilePath's path), through the virtual table.
  virtual bool Save();
  // Writes the document as INI text (CR LF line ends), creating missing
  // directories. The whole text is composed first; then SaveWholeFile
  // (FileSave.h) puts it in the file: an existing file that this process may
  // not write is left alone, a regular file is replaced through a new file
  // beside it where that keeps its permissions, owner, links and kind, and
  // is written in place otherwise (a link is followed). True on success:
  // the path is remembered and the modified flag cleared. False for an empty
  // path, a directory that cannot be created (directories created on the
  // way remain), or a file that cannot be written; the document is then
  // unchanged, and so is the file, unless it had to be written in place.
  virtual bool SaveAs(LPCTSTR pszPath);
  // The text that SaveAs writes, handed to pfnWrite piece by piece in file
  // order (CR LF line ends, each LF inside a name or value as CR LF, an
  // entry with an empty value as its key alone when the document was loaded
  // with key-only lines), so that a caller can stream the text form without
  // holding all of it.
  void WriteText(const std::function<void(const char* pData, size_t nSize)>& pfnWrite) const;
  // Why WriteText's text, read by Load, would not give this document back:
  // the first section (and entry, else -1) whose names or value the text
  // cannot carry, with the reason; a null reason when it would come back
  // whole. The rule the writer's form sets, in one place for every caller
  // that must not lose data through a save.
  struct CTextFault {
    int nSection = -1;
    int nEntry = -1;
    const char* pszReason = nullptr;
  };
  CTextFault FindTextFault() const;
  // The same rule for one name or value about to be stored (bHasEntries: a
  // section that holds or will hold entries; bValueEmpty: the key's value).
  static const char* SectionNameFault(const CString& strName, bool bHasEntries);
  static const char* KeyFault(const CString& strKey, bool bValueEmpty, bool bKeyOnlyLines);
  static const char* ValueFault(const CString& strValue);
  // SetString for every entry of source, in order (from a copy, so source
  // may be a section of this document). A source without entries changes
  // nothing.
  virtual void WriteSection(CString strSection, const CIniFileSection& source);
  // Readers: the value, or the default when the section or key is missing.
  // They create nothing and leave the modified flag alone.
  virtual CString GetString(CString strSection, CString strKey, CString strDefault);
  // Writers create the section and the key as needed (appended at the end),
  // keep stored names and places, and always call SetModified(true).
  // The text is stored up to its first zero byte.
  virtual void SetString(CString strSection, CString strKey, CString strValue);
  // The value read as atoi does (white space, sign, digits; 0 when there are
  // no digits); digits beyond the int range give INT_MIN or INT_MAX.
  virtual int GetInt(CString strSection, CString strKey, int nDefault);
  virtual void SetInt(CString strSection, CString strKey, int nValue);  // "%d"
  // True for "Yes", "1" and "True" in any letter case; false for any other text.
  virtual bool GetBool(CString strSection, CString strKey, bool bDefault);
  virtual void SetBool(CString strSection, CString strKey, bool bValue);  // "Yes" / "No"
  virtual bool IsModified();
  virtual void SetModified(bool bModified);
  virtual bool SectionExists(CString strSection);
  virtual bool KeyExists(CString strSection, CString strKey);
  // Append the section's keys, in order and as stored. A missing section is
  // created (empty, at the end); the modified flag is left alone.
  virtual void GetKeys(CString strSection, CStringArray& array);
  virtual void GetKeys(CString strSection, CStringList& list);
  // Renames and removals return false and change nothing when a section or
  // key is missing or a new name is taken; names equal ignoring case rename
  // to true with no change. None of them touches the modified flag.
  virtual bool RenameSection(CString strOld, CString strNew);
  virtual bool RenameKey(CString strSection, CString strOld, CString strNew);
  virtual bool RemoveSection(CString strSection);
  virtual bool RemoveKey(CString strSection, CString strKey);
  // Empties a section and keeps it, with its name and place.
  virtual bool RemoveAllKeys(CString strSection);

 protected:
  CString m_strFilePath;         // last path named by SetFilePath, Load or a successful SaveAs
  bool m_bKeyOnlyLines = false;  // write entries with an empty value as the key alone
  bool m_bModified = false;      // changed since the last completed load or save

 private:
  // The value of (section, key), both created as needed; the common part of
  // the three setters.
  CString& ValueForWriting(const CString& strSection, const CString& strKey);
  // The value of (section, key), or null when either is missing (a derived
  // KeyExists may answer true for what is not there).
  const CString* ExistingValue(const CString& strSection, const CString& strKey) const;
};
