// FileSystemPath on Windows: a path holds UTF-16, the narrow names are in
// the process's code page (CP_ACP: UTF-8 in a program with Utf8Process.rc's
// manifest), converted as the system's own ANSI calls convert them.
#include "FileSystemPath.h"

#include <windows.h>

std::filesystem::path FileSystemPath(const std::string& strName) {
  const int nLength = static_cast<int>(strName.size());
  std::wstring strWide(MultiByteToWideChar(CP_ACP, 0, strName.data(), nLength, nullptr, 0), L'\0');
  if (!strWide.empty()) MultiByteToWideChar(CP_ACP, 0, strName.data(), nLength, &strWide[0], static_cast<int>(strWide.size()));
  return std::filesystem::path(strWide);
}

std::string FileSystemName(const std::filesystem::path& path) {
  const std::wstring& strWide = path.native();
  const int nLength = static_cast<int>(strWide.size());
  std::string strName(WideCharToMultiByte(CP_ACP, 0, strWide.data(), nLength, nullptr, 0, nullptr, nullptr), '\0');
  if (!strName.empty())
    WideCharToMultiByte(CP_ACP, 0, strWide.data(), nLength, &strName[0], static_cast<int>(strName.size()), nullptr, nullptr);
  return strName;
}
