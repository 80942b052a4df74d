// CTmuxSession: a program running in a detached tmux session of its own
// (a private server socket), typed into with send-keys and read back with
// capture-pane, as a user at a terminal would see it.
#pragma once

#include <string>
#include <vector>

class CTmuxSession {
 public:
  // True when the tmux program can be run.
  static bool IsTmuxInstalled();

  // Starts strCommand in a new session of nColumns x nRows cells, with its
  // server socket in strSocketDir. Check IsRunning() afterwards.
  CTmuxSession(const std::string& strSocketDir, const std::string& strCommand, int nColumns, int nRows);
  // Kills the session's server.
  ~CTmuxSession();
  CTmuxSession(const CTmuxSession&) = delete;  // owns the tmux server
  CTmuxSession& operator=(const CTmuxSession&) = delete;

  bool IsStarted() const { return m_bStarted; }
  // Keys by tmux name ("Down", "Enter", "C-Space", "F2").
  void SendKeys(const std::vector<std::string>& keys);
  // Text typed literally, character by character.
  void SendText(const std::string& strText);
  // The screen as text, one string per row; with bAttributes the rows keep
  // their escape sequences (colours, bold, reverse).
  std::vector<std::string> Capture(bool bAttributes = false);
  // Polls the screen until pfnDone accepts it or nMilliseconds pass; the
  // last screen captured is left in rows.
  template <class F>
  bool WaitFor(F pfnDone, std::vector<std::string>& rows, int nMilliseconds = 5000);
  // The cursor's cell.
  bool GetCursor(int& nRow, int& nColumn);
  // The text of all the arguments quoted for the shell.
  static std::string Quote(const std::string& strArg);

 private:
  std::string Run(const std::string& strArgs, int* pnStatus = nullptr);
  static void Sleep(int nMilliseconds);

  std::string m_strSocket;
  bool m_bStarted = false;
};

template <class F>
bool CTmuxSession::WaitFor(F pfnDone, std::vector<std::string>& rows, int nMilliseconds) {
  for (int nWaited = 0;; nWaited += 50) {
    rows = Capture();
    if (pfnDone(rows)) return true;
    if (nWaited >= nMilliseconds) return false;
    Sleep(50);
  }
}
