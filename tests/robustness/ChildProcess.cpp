// ChildProcess: fork, run, wait and collect the child's resource use.
#include "ChildProcess.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#ifndef __has_feature
#define __has_feature(x) 0
#endif

CChildResult RunInChild(const std::function<int(long&)>& fnBody, long* pnReport) {
  std::fflush(nullptr);  // nothing buffered is written twice
  CChildResult result;
  void* pShared = mmap(nullptr, sizeof(long), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (pShared == MAP_FAILED) return result;
  long& nShared = *static_cast<long*>(pShared);
  nShared = 0;
  const pid_t pid = fork();
  if (pid < 0) {
    munmap(pShared, sizeof(long));
    return result;
  }
  if (pid == 0) {
    int nStatus = 125;
    try {
      nStatus = fnBody(nShared);
    } catch (...) {
    }
    std::fflush(nullptr);
    _exit(nStatus);
  }
  int nWaitStatus = 0;
  struct rusage usage;
  const bool bWaited = wait4(pid, &nWaitStatus, 0, &usage) == pid;
  if (pnReport != nullptr) *pnReport = nShared;
  munmap(pShared, sizeof(long));
  if (!bWaited) return result;
  result.nPeakKiB = usage.ru_maxrss;
  if (WIFEXITED(nWaitStatus)) {
    result.bExited = true;
    result.nStatus = WEXITSTATUS(nWaitStatus);
  } else if (WIFSIGNALED(nWaitStatus)) {
    result.nStatus = WTERMSIG(nWaitStatus);
  }
  return result;
}

bool BuiltWithAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
  return true;
#else
  return false;
#endif
}

long ProcStatusKiB(const char* pszField) {
  std::FILE* pFile = std::fopen("/proc/self/status", "r");
  if (pFile == nullptr) return -1;
  long nValue = -1;
  char szLine[256];
  const size_t nField = std::strlen(pszField);
  while (std::fgets(szLine, sizeof szLine, pFile) != nullptr) {
    if (std::strncmp(szLine, pszField, nField) == 0 && szLine[nField] == ':') {
      std::sscanf(szLine + nField + 1, "%ld", &nValue);
      break;
    }
  }
  std::fclose(pFile);
  return nValue;
}

bool ResetPeakResident() {
  std::FILE* pFile = std::fopen("/proc/self/clear_refs", "w");
  if (pFile == nullptr) return false;
  const bool bOk = std::fputs("5", pFile) >= 0;
  return std::fclose(pFile) == 0 && bOk;
}
