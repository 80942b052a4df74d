// Helpers shared by the INI tests: scratch directories, whole-file reads and
// writes, and a readable dump of a document.
#pragma once

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "ini/CIniFile.h"

namespace initest {

// A fresh directory under /tmp, removed with its content at the end of scope.
class CScratchDir {
 public:
  CScratchDir() {
    char szTemplate[] = "/tmp/nimbo_ini_XXXXXX";
    m_strPath = ::mkdtemp(szTemplate);
  }
  ~CScratchDir() {
    const std::string strCommand = "chmod -R u+w '" + m_strPath + "' 2>/dev/null; rm -rf '" + m_strPath + "'";
    if (std::system(strCommand.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", m_strPath.c_str());
  }
  CScratchDir(const CScratchDir&) = delete;  // owns the directory on disk
  CScratchDir& operator=(const CScratchDir&) = delete;

  std::string operator/(const std::string& strName) const { return m_strPath + "/" + strName; }
  const std::string& Path() const { return m_strPath; }

 private:
  std::string m_strPath;
};

inline std::string ReadFile(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& strPath, const std::string& strBytes) {
  std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
  out << strBytes;
}

inline bool FileExists(const std::string& strPath) { return ::access(strPath.c_str(), F_OK) == 0; }

// The names in a directory, "." and ".." left out, in the directory's order.
inline std::vector<std::string> Entries(const std::string& strDir) {
  std::vector<std::string> names;
  if (DIR* pDir = ::opendir(strDir.c_str())) {
    while (dirent* pEntry = ::readdir(pDir)) {
      const std::string strName = pEntry->d_name;
      if (strName != "." && strName != "..") names.push_back(strName);
    }
    ::closedir(pDir);
  }
  return names;
}

// Bytes outside printable ASCII, and backslash, as \xNN.
inline std::string Escape(const CString& str) {
  std::string out;
  for (int i = 0; i < str.GetLength(); ++i) {
    const unsigned char c = static_cast<unsigned char>(str.GetAt(i));
    if (c < 0x20 || c >= 0x7F || c == '\\') {
      char sz[8];
      std::snprintf(sz, sizeof sz, "\\x%02X", c);
      out += sz;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// One line per section (["name"]) and per entry (  "key" = "value"), in
// enumeration order.
inline std::string Dump(const CIniFile& ini) {
  std::ostringstream out;
  for (const CIniFile::CItem& section : ini) {
    out << "[\"" << Escape(section.first) << "\"]\n";
    for (const CIniFileSection::CItem& entry : section.second)
      out << "  \"" << Escape(entry.first) << "\" = \"" << Escape(entry.second) << "\"\n";
  }
  return out.str();
}

}  // namespace initest
