// FileSystemPath on Windows: a path holds UTF-16, the narrow names are in
// the process's code page (CP_ACP: UTF-8 in a program with Utf8Process.rc's
// manifest), converted as the system's own ANSI calls convert them.
#include "FileSystemPath.h"

#include <windows.h>

std::filesystem::path FileSystemPath(const std::string& strName) {
  const int nLength = static_cast<int>(strName.size());
  const int nWide = MultiByteToWideChar(CP_ACP, 0, strName.data(), nLength, nullptr, 0);
  std::wstring strWide(static_cast<size_t>(nWide), L'\0');
  if (nWide > 0) MultiByteToWideChar(CP_ACP, 0, strName.data(), nLength, &strWide[0], nWide);
  return std::filesystem::path(strWide);
}

std::string FileSystemName(const std::filesystem::path& path) {
  const std::wstring& strWide = path.native();
  const int nLength = static_cast<int>(strWide.size());
  const int nName = WideCharToMultiByte(CP_ACP, 0, strWide.data(), nLength, nullptr, 0, nullptr, nullptr);
  std::string strName(static_cast<size_t>(nName), '\0');
  if (nName > 0) WideCharToMultiByte(CP_ACP, 0, strWide.data(), nLength, &strName[0], nName, nullptr, nullptr);
  return strName;
}
