// Messages, document loading and saving, and whole-file writes of `nimbo ini`.
#include "IniCommandSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "CommandRegistry.h"
#include "ini/CIniFile.h"

namespace nimbo {
namespace ini {

int Error(const std::string& strMessage) {
  std::fprintf(stderr, "nimbo ini: %s\n", strMessage.c_str());
  return kExitError;
}

bool LoadDocument(CIniFile& ini, const std::string& strPath, bool bKeyOnly) {
  if (ini.Load(strPath.c_str(), bKeyOnly)) return true;
  std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
  if (pFile == nullptr) {
    Error("cannot read " + strPath + ": " + std::strerror(errno));
  } else {
    std::fclose(pFile);
    Error("cannot read " + strPath + ": not well-formed INI text");
  }
  return false;
}

int SaveDocument(CIniFile& ini, const std::string& strPath) {
  if (ini.SaveAs(strPath.c_str())) return kExitOk;
  return Error("cannot write " + strPath);
}

bool WriteWholeFile(const std::string& strPath, const std::vector<unsigned char>& bytes) {
  const std::string strTemporary = strPath + ".~tmp";
  std::FILE* pFile = std::fopen(strTemporary.c_str(), "wb");
  if (pFile == nullptr) return false;
  const bool bWritten = std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
  const bool bClosed = std::fclose(pFile) == 0;
  if (bWritten && bClosed && std::rename(strTemporary.c_str(), strPath.c_str()) == 0) return true;
  std::remove(strTemporary.c_str());
  return false;
}

}  // namespace ini
}  // namespace nimbo
