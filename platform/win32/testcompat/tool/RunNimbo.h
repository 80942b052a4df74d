// Running the built nimbo.exe from a test on the Windows side: the same
// interface as tests/RunNimbo.h, which the suites that run the tool include
// (this folder comes first on their include path). What differs is mapped
// here, once:
//   - the arguments arrive as shell words ('quoted' as a POSIX shell takes
//     them) and are passed to CreateProcess quoted as the C runtime of
//     Windows splits a command line;
//   - standard output and error are read back in text mode: the tool writes
//     Windows' CR LF line ends, the tests compare with "\n".
#pragma once

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/RunNimboFiles.h"

namespace nimbotest {

const std::string kNimbo = std::string(NIMBO_BINARY_DIR) + "/bin/nimbo.exe";

// A file the tool wrote to a console stream, its CR LF line ends read as "\n".
inline std::string ReadStreamText(const std::string& strPath) {
  std::string strText = ReadText(strPath);
  std::string strResult;
  for (size_t i = 0; i < strText.size(); ++i)
    if (!(strText[i] == '\r' && i + 1 < strText.size() && strText[i + 1] == '\n')) strResult += strText[i];
  return strResult;
}

// A scratch directory, removed with the object.
class CScratch {
 public:
  CScratch() {
    char szTemplate[] = "/tmp/nimbo-tool-XXXXXX";
    if (mkdtemp(szTemplate) != nullptr) m_strDir = szTemplate;
  }
  ~CScratch() {
    std::error_code error;
    if (!m_strDir.empty()) std::filesystem::remove_all(m_strDir, error);
  }
  CScratch(const CScratch&) = delete;
  CScratch& operator=(const CScratch&) = delete;
  const std::string& Dir() const { return m_strDir; }

 private:
  std::string m_strDir;
};

// The words of a POSIX shell command line: blanks separate, 'single quotes'
// keep everything, "double quotes" keep all but \" and \\, a backslash
// outside quotes takes the next character.
inline std::vector<std::string> ShellWords(const std::string& strLine) {
  std::vector<std::string> words;
  std::string strWord;
  bool bInWord = false;
  for (size_t i = 0; i < strLine.size(); ++i) {
    const char ch = strLine[i];
    if (ch == ' ' || ch == '\t') {
      if (bInWord) words.push_back(strWord);
      strWord.clear();
      bInWord = false;
      continue;
    }
    bInWord = true;
    if (ch == '\'') {
      while (++i < strLine.size() && strLine[i] != '\'') strWord += strLine[i];
    } else if (ch == '"') {
      while (++i < strLine.size() && strLine[i] != '"') {
        if (strLine[i] == '\\' && i + 1 < strLine.size() && (strLine[i + 1] == '"' || strLine[i + 1] == '\\')) ++i;
        strWord += strLine[i];
      }
    } else if (ch == '\\' && i + 1 < strLine.size()) {
      strWord += strLine[++i];
    } else {
      strWord += ch;
    }
  }
  if (bInWord) words.push_back(strWord);
  return words;
}

// One argument quoted for the C runtime's command-line splitting: inside
// quotes, backslashes double only before a quote or the closing quote.
inline std::string QuoteArgument(const std::string& strArg) {
  std::string strQuoted = "\"";
  size_t nBackslashes = 0;
  for (const char ch : strArg) {
    if (ch == '\\') {
      ++nBackslashes;
      continue;
    }
    strQuoted.append(ch == '"' ? nBackslashes * 2 + 1 : nBackslashes, '\\');
    nBackslashes = 0;
    strQuoted += ch;
  }
  strQuoted.append(nBackslashes * 2, '\\');
  return strQuoted + "\"";
}

// Runs "ENV nimbo ARGS" with standard input from NUL, its output going into
// the files "stdout" and "stderr" of strDir. strEnv is "NAME=value ..."
// shell words, set for the child only.
inline CRun RunNimbo(const std::string& strDir, const std::string& strArgs, const std::string& strEnv = "") {
  std::string strCommand = QuoteArgument(kNimbo);
  for (const std::string& strArg : ShellWords(strArgs)) strCommand += " " + QuoteArgument(strArg);
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  auto Open = [&inherit](const std::string& strPath, DWORD nAccess, DWORD nCreation) {
    return CreateFileA(strPath.c_str(), nAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, nCreation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE hIn = Open("NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE hOut = Open(strDir + "/stdout", GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE hErr = Open(strDir + "/stderr", GENERIC_WRITE, CREATE_ALWAYS);
  // The child's environment: this process's, with the given names set.
  std::vector<std::pair<std::string, std::string>> saved;
  for (const std::string& strAssignment : ShellWords(strEnv)) {
    const size_t nEquals = strAssignment.find('=');
    if (nEquals == std::string::npos) continue;
    const std::string strName = strAssignment.substr(0, nEquals);
    char szOld[32768];
    const DWORD nOld = GetEnvironmentVariableA(strName.c_str(), szOld, sizeof(szOld));
    saved.emplace_back(strName, nOld > 0 && nOld < sizeof(szOld) ? std::string(szOld) : std::string("\x01"));
    SetEnvironmentVariableA(strName.c_str(), strAssignment.substr(nEquals + 1).c_str());
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = hIn;
  startup.hStdOutput = hOut;
  startup.hStdError = hErr;
  PROCESS_INFORMATION process = {};
  std::vector<char> commandLine(strCommand.begin(), strCommand.end());
  commandLine.push_back('\0');
  const BOOL bStarted = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                       &startup, &process);
  for (const auto& old : saved)
    SetEnvironmentVariableA(old.first.c_str(), old.second == "\x01" ? nullptr : old.second.c_str());
  DWORD nExit = static_cast<DWORD>(-1);
  if (bStarted) {
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &nExit);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE h : {hIn, hOut, hErr}) CloseHandle(h);
  return {bStarted ? static_cast<int>(nExit) : -1, ReadStreamText(strDir + "/stdout"),
          ReadStreamText(strDir + "/stderr")};
}

}  // namespace nimbotest
