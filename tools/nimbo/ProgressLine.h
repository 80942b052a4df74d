// A progress line on standard error for work that may take a while: shown
// only when standard error is a terminal, so pipes, files and tests never
// see it.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace nimbo {

class CProgressLine {
 public:
  // fnText gives the line's current text from the seconds the work has
  // taken. It is called on a thread of the line's own, first after half a
  // second (work done sooner shows nothing) and then five times a second, so
  // it must only read what the work publishes for it (atomics, the file
  // system).
  explicit CProgressLine(std::function<std::string(int nSeconds)> fnText);
  // Stops the updates and erases the line, leaving the cursor where it was.
  ~CProgressLine();
  CProgressLine(const CProgressLine&) = delete;  // owns a thread
  CProgressLine& operator=(const CProgressLine&) = delete;

 private:
  void Run();

  std::function<std::string(int nSeconds)> m_fnText;
  std::mutex m_mutex;
  std::condition_variable m_wakeUp;
  bool m_bDone = false;
  bool m_bShown = false;  // something was drawn and has to be erased
  std::thread m_thread;
};

}  // namespace nimbo
