// CIniDocumentBuilder: what the lines of INI text make of a document, as
// Load reads them (the reader's lines in, sections and entries out). Load is
// built on it, and so is any caller that reads the lines itself and wants
// the document they give.
#pragma once

#include "CString.h"
#include "ini/CIniReader.h"

class CIniFile;
class CIniFileSection;

class CIniDocumentBuilder {
 public:
  // Adds to ini, which is taken as it is (Load empties it first).
  explicit CIniDocumentBuilder(CIniFile& ini) : m_ini(ini) {}
  CIniDocumentBuilder(const CIniDocumentBuilder&) = delete;  // holds a place in a document
  CIniDocumentBuilder& operator=(const CIniDocumentBuilder&) = delete;

  // A header finds or adds its section; an entry finds or adds its key in
  // the current section and gives it the line's value. Other lines change
  // nothing (the reader ends the read at an unreadable line).
  void Add(const CIniLine& line);
  // The position in the document of the section the last header named, or
  // -1 before the first header.
  int SectionPosition() const { return m_nSection; }

 private:
  CIniFile& m_ini;
  CIniFileSection* m_pSection = nullptr;  // the current section; found again at each header
  int m_nSection = -1;
  bool m_bFirstVisit = false;  // the current section was added at its header
};
