// IniProfile: a driver for profilers (perf, callgrind). Loads one INI text
// or archive file a number of times, building and destroying the document
// each time, and does nothing else, so that a profile shows the load alone.
//
// Usage: nimbo_ini_profile text|archive|store FILE [TIMES]
//   text     CIniFile::Load of an INI text
//   archive  CArchive::ReadObject of an archive made first from the INI text
//   store    CArchive::WriteObject of the document read from the INI text
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "IniArchiveFiles.h"
#include "ini/CIniFile.h"
#include "module/NimboInit.h"

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[1], "text") != 0 && std::strcmp(argv[1], "archive") != 0 &&
                   std::strcmp(argv[1], "store") != 0)) {
    std::fprintf(stderr, "usage: nimbo_ini_profile text|archive|store FILE [TIMES]\n");
    return 2;
  }
  NimboInit();
  const std::string strMode = argv[1];
  const int nTimes = argc > 3 ? std::atoi(argv[3]) : 20;
  const std::string strArchive = std::string(argv[2]) + ".profile.bin";
  CIniFile source;
  if (!source.Load(argv[2], false)) {
    std::fprintf(stderr, "nimbo_ini_profile: cannot read %s\n", argv[2]);
    return 1;
  }
  if (strMode != "text" && !StoreArchive(source, strArchive)) {
    std::fprintf(stderr, "nimbo_ini_profile: cannot write %s\n", strArchive.c_str());
    return 1;
  }
  for (int i = 0; i < nTimes; ++i) {
    if (strMode == "text") {
      CIniFile ini;
      ini.Load(argv[2], false);
    } else if (strMode == "archive") {
      LoadArchive(strArchive);
    } else {
      StoreArchive(source, strArchive);
    }
  }
  if (strMode != "text") std::remove(strArchive.c_str());
  return 0;
}
