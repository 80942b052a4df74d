// Drawing the progress line, and reading how far a file has been read from
// the process's descriptor table (/proc/self).
#include "tools/nimbo/ProgressLine.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace nimbo {

CProgressLine::CProgressLine(std::function<std::string(int nSeconds)> fnText) : m_fnText(std::move(fnText)) {
  if (isatty(STDERR_FILENO)) m_thread = std::thread(&CProgressLine::Run, this);
}

CProgressLine::~CProgressLine() {
  if (!m_thread.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bDone = true;
  }
  m_wakeUp.notify_one();
  m_thread.join();
  if (m_bShown) std::fputs("\r\033[K", stderr);
}

void CProgressLine::Run() {
  const auto start = std::chrono::steady_clock::now();
  std::unique_lock<std::mutex> lock(m_mutex);
  std::chrono::milliseconds wait(500);
  while (!m_wakeUp.wait_for(lock, wait, [this] { return m_bDone; })) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
    // "\r" and erase to the end of the line: the new text replaces the old.
    std::fprintf(stderr, "\r\033[K%s", m_fnText(static_cast<int>(elapsed.count())).c_str());
    std::fflush(stderr);
    m_bShown = true;
    wait = std::chrono::milliseconds(200);
  }
}

long long FileSize(const std::string& strPath) {
  struct stat info;
  return stat(strPath.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

int ReadPercent(const std::string& strPath) {
  char szWanted[PATH_MAX];
  if (realpath(strPath.c_str(), szWanted) == nullptr) return -1;
  const long long nSize = FileSize(szWanted);
  DIR* pDir = opendir("/proc/self/fd");
  if (pDir == nullptr) return -1;
  int nPercent = -1;
  while (dirent* pEntry = readdir(pDir)) {
    const std::string strLink = std::string("/proc/self/fd/") + pEntry->d_name;
    char szTarget[PATH_MAX];
    const ssize_t nLength = readlink(strLink.c_str(), szTarget, sizeof(szTarget) - 1);
    if (nLength <= 0 || std::string(szTarget, static_cast<size_t>(nLength)) != szWanted) continue;
    std::ifstream info(std::string("/proc/self/fdinfo/") + pEntry->d_name);
    std::string strField;
    long long nPosition = 0;
    if (info >> strField >> nPosition && strField == "pos:" && nSize > 0) {
      nPercent = static_cast<int>(nPosition * 100 / nSize);
      break;
    }
  }
  closedir(pDir);
  return nPercent;
}

}  // namespace nimbo
