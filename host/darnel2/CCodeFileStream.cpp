// CCodeFileStream: reading script text from a file.
#include "darnel2/CCodeFileStream.h"

#include <sys/stat.h>

namespace {

CCodeFileStream::PFNREADHOOK g_pfnReadHook = nullptr;

}  // namespace

CCodeFileStream::CCodeFileStream(const CString& strPath) : m_strPath(strPath) {}

CCodeFileStream::~CCodeFileStream() {
  if (m_pFile != nullptr) std::fclose(m_pFile);
}

bool CCodeFileStream::OpenFile() {
  if (m_pFile != nullptr) return true;
  if (m_strPath.IsEmpty()) return false;
  FILE* pFile = std::fopen(m_strPath, "rb");
  if (pFile == nullptr) return false;
  // A directory opens for reading here but has no text; refuse it as the
  // host's own file layer does.
  struct stat info;
  if (fstat(fileno(pFile), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(pFile);
    return false;
  }
  m_pFile = pFile;
  return true;
}

void CCodeFileStream::SetReadHook(PFNREADHOOK pfnHook) { g_pfnReadHook = pfnHook; }

int CCodeFileStream::ReadBlock(char* pBuffer, int nMax) {
  if (m_pFile == nullptr || nMax <= 0) return 0;
  if (g_pfnReadHook != nullptr) g_pfnReadHook(m_strPath);
  return static_cast<int>(std::fread(pBuffer, 1, static_cast<size_t>(nMax), m_pFile));
}
