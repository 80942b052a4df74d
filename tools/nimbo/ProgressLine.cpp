// Drawing the progress line.
#include "tools/nimbo/ProgressLine.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

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

}  // namespace nimbo
