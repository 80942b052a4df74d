// CIniFileSection: one section of an INI document, an ordered list of
// (key, value) entries with case-insensitive keys.
#pragma once

#include "CObject.h"
#include "CString.h"
#include "CStringArray.h"
#include "CStringList.h"
#include "ini/CNamedArray.h"

class CIniFile;

class CIniFileSection : public CObject, public CNamedArray<CString> {
  DECLARE_SERIAL(CIniFileSection)

 public:
  CIniFileSection() = default;
  // Deep copies: every entry in order, with the index.
  CIniFileSection(const CIniFileSection& other);
  CIniFileSection& operator=(const CIniFileSection& other);
  // Moves let the document's section list grow and shrink without copying
  // every entry of every section.
  CIniFileSection(CIniFileSection&& other) noexcept;
  CIniFileSection& operator=(CIniFileSection&& other) noexcept;

  ~CIniFileSection() override = default;
  // Stores or loads the section record: version 1, entry count, then key and
  // value strings in turn. Loading merges into the present entries; a record
  // whose version is not 1 is left unread and the section stays unchanged.
  void Serialize(CArchive& ar) override;
  void AssertValid() const override {}
  void Dump(CDumpContext& dc) const override { (void)dc; }

  // Append every key, in order and as stored; what the list or array held
  // before stays.
  void GetKeys(CStringList& list) const;
  void GetKeys(CStringArray& array) const;

 private:
  friend class CIniFile;
  // The loading half of Serialize. False when the record's version is not 1
  // (nothing more was read); the document needs to know, since the bytes
  // after such a record no longer line up.
  bool LoadRecord(CArchive& ar);
  // LoadRecord without the indexing: the record's entries are appended
  // only, and the reader indexes them (IndexAppended) before the section is
  // used or another section is added - at once for a run of records of one
  // section, which then costs one sort instead of a search per entry. On an
  // exception the entries read before it are appended.
  bool AppendRecord(CArchive& ar);
  // Room for nCount more entries, the count of a record or what a reader
  // expects: a count from a damaged file can be anything, so the room made
  // ahead is bounded (and grows geometrically from there, see ReserveMore).
  void ReserveForCount(DWORD_PTR nCount);
};
