// What every way of running the built nimbo tool from a test shares: the
// result of a run and whole-file reads and writes of a test's own files.
// tests/RunNimbo.h runs the Linux tool; the Windows side's RunNimbo.h
// (platform/win32/testcompat/tool) runs nimbo.exe.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace nimbotest {

struct CRun {
  int nStatus;
  std::string strOut;
  std::string strErr;
};

inline std::string ReadText(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::string& strPath, const std::string& strText) {
  std::ofstream(strPath, std::ios::binary) << strText;
}

}  // namespace nimbotest
