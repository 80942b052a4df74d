// CScratchDir: a temporary directory for one test, removed with everything
// in it when the object goes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

class CScratchDir {
 public:
  CScratchDir() {
    char szTemplate[] = "/tmp/nimbo-test-XXXXXX";
    if (mkdtemp(szTemplate) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_strPath = szTemplate;
  }
  ~CScratchDir() {
    std::error_code error;
    std::filesystem::remove_all(m_strPath, error);
  }
  CScratchDir(const CScratchDir&) = delete;  // one owner removes the directory
  CScratchDir& operator=(const CScratchDir&) = delete;

  const std::string& GetPath() const { return m_strPath; }
  std::string PathOf(const std::string& strName) const { return m_strPath + "/" + strName; }

  // Writes strText as the whole content of the file strName (bytes as given).
  void Write(const std::string& strName, const std::string& strText) const {
    std::ofstream file(PathOf(strName), std::ios::binary | std::ios::trunc);
    file << strText;
    if (!file) throw std::runtime_error("cannot write " + strName);
  }
  void MakeDir(const std::string& strName) const { std::filesystem::create_directory(PathOf(strName)); }
  void Remove(const std::string& strName) const { std::filesystem::remove(PathOf(strName)); }

 private:
  std::string m_strPath;
};
