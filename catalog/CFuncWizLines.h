// CFuncWizLines: where funcwiz.ini describes each built-in function, so that
// a tool can point its reader there: the line of the first section of each
// name and of that section's first "SampleLine" entry. Names and keys
// compare as the store compares them (ignoring case, blanks kept), and the
// file is read through the store's own line reader, so a section the store
// never reaches (after an unreadable line or a Ctrl-Z) has no place either.
#pragma once

#include <map>
#include <string>

// The key of a built-in function's prototype in its section.
extern const char kFuncWizPrototypeKey[];

struct CFuncWizPlace {
  int nHeaderLine = 0;       // from 1
  int nHeaderLength = 0;     // bytes of the header line, its line end not counted
  int nPrototypeLine = 0;    // the prototype entry's line from 1; 0 when the section has none
  int nPrototypeLength = 0;
};

class CFuncWizLines {
 public:
  // Reads pszPath; false when it could not be read to its end. The places
  // read before a failure stay, as the store keeps what it read.
  bool Read(const char* pszPath);
  // The place of the function strName; null when no section has its name.
  const CFuncWizPlace* Find(const std::string& strName) const;

 private:
  struct CNoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  std::map<std::string, CFuncWizPlace, CNoCaseLess> m_places;
};
