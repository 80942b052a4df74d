// CTmuxSession: tmux commands through the shell.
#include "TmuxSession.h"

#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

bool CTmuxSession::IsTmuxInstalled() { return std::system("tmux -V >/dev/null 2>&1") == 0; }

std::string CTmuxSession::Quote(const std::string& strArg) {
  std::string s = "'";
  for (char ch : strArg) {
    if (ch == '\'')
      s += "'\\''";
    else
      s += ch;
  }
  return s + "'";
}

CTmuxSession::CTmuxSession(const std::string& strSocketDir, const std::string& strCommand, int nColumns, int nRows)
    : m_strSocket(strSocketDir + "/tmux.sock") {
  int nStatus = -1;
  // remain-on-exit keeps the last screen after the program ends.
  Run("-f /dev/null new-session -d -s nimbo -x " + std::to_string(nColumns) + " -y " + std::to_string(nRows) + " " +
          Quote(strCommand) + " \\; set-option -t nimbo remain-on-exit on",
      &nStatus);
  m_bStarted = nStatus == 0;
}

CTmuxSession::~CTmuxSession() { Run("kill-server"); }

std::string CTmuxSession::Run(const std::string& strArgs, int* pnStatus) {
  const std::string strCommand = "tmux -S " + Quote(m_strSocket) + " " + strArgs + " 2>/dev/null";
  std::string strOut;
  FILE* pPipe = popen(strCommand.c_str(), "r");
  if (pPipe == nullptr) {
    if (pnStatus != nullptr) *pnStatus = -1;
    return strOut;
  }
  char buffer[4096];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof(buffer), pPipe)) > 0) strOut.append(buffer, n);
  const int nRaw = pclose(pPipe);
  if (pnStatus != nullptr) *pnStatus = WIFEXITED(nRaw) ? WEXITSTATUS(nRaw) : -1;
  return strOut;
}

void CTmuxSession::SendKeys(const std::vector<std::string>& keys) {
  std::string strArgs = "send-keys -t nimbo";
  for (const std::string& strKey : keys) strArgs += " " + Quote(strKey);
  Run(strArgs);
}

void CTmuxSession::SendText(const std::string& strText) { Run("send-keys -t nimbo -l " + Quote(strText)); }

std::vector<std::string> CTmuxSession::Capture(bool bAttributes) {
  const std::string strOut = Run(std::string("capture-pane -p -t nimbo") + (bAttributes ? " -e" : ""));
  std::vector<std::string> rows;
  size_t nStart = 0;
  while (nStart < strOut.size()) {
    size_t nEnd = strOut.find('\n', nStart);
    if (nEnd == std::string::npos) nEnd = strOut.size();
    rows.push_back(strOut.substr(nStart, nEnd - nStart));
    nStart = nEnd + 1;
  }
  return rows;
}

bool CTmuxSession::GetCursor(int& nRow, int& nColumn) {
  const std::string strOut = Run("display-message -p -t nimbo '#{cursor_y} #{cursor_x}'");
  return std::sscanf(strOut.c_str(), "%d %d", &nRow, &nColumn) == 2;
}

void CTmuxSession::Sleep(int nMilliseconds) { usleep(static_cast<useconds_t>(nMilliseconds) * 1000); }
