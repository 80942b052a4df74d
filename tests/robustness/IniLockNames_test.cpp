// nimbo ini's lock belongs to the file, not to the name it was given:
// changes made at once through a symbolic link, a hard link and the name
// itself all land, and a reader that comes during a rewrite in place waits
// for it instead of failing. Names of the longest lengths the file system
// allows change as any other.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "../RunNimbo.h"
#include "ini/CIniFile.h"

namespace {

using nimbotest::CScratch;
using nimbotest::RunNimbo;
using nimbotest::WriteText;

// Runs a shell script with NIMBO set to the tool; what it prints.
std::string Shell(const CScratch& scratch, const std::string& strScript) {
  WriteText(scratch.Dir() + "/script.sh", strScript);
  const std::string strOut = scratch.Dir() + "/script.out";
  std::system(("NIMBO='" + nimbotest::kNimbo + "' sh '" + scratch.Dir() + "/script.sh' >'" + strOut + "'").c_str());
  return nimbotest::ReadText(strOut);
}

TEST(IniLockNames, ParallelChangesThroughEveryNameAreAllKept) {
  CScratch scratch;
  const std::string strDir = scratch.Dir();
  WriteText(strDir + "/c.ini", "[s]\r\nk0=0\r\n");
  ASSERT_EQ(symlink("c.ini", (strDir + "/soft.ini").c_str()), 0);
  ASSERT_EQ(link((strDir + "/c.ini").c_str(), (strDir + "/hard.ini").c_str()), 0);
  // 25 changes through each name, all at once; each prints its status.
  const std::string strOut = Shell(scratch, "cd '" + strDir + "'\n"
                                            "for i in $(seq 1 25); do for n in c soft hard; do\n"
                                            "  (\"$NIMBO\" ini set $n.ini s $n$i v; echo $?) &\n"
                                            "done; done; wait\n");
  std::string strAllKept;
  for (int i = 0; i < 75; ++i) strAllKept += "0\n";
  EXPECT_EQ(strOut, strAllKept);
  CIniFile ini;
  ASSERT_TRUE(ini.Load((strDir + "/hard.ini").c_str(), false));
  for (const char* pszName : {"c", "soft", "hard"})
    for (int i = 1; i <= 25; ++i) EXPECT_TRUE(ini.KeyExists("s", (pszName + std::to_string(i)).c_str())) << pszName << i;
}

// Both names of a file with two links read while the other is rewritten in
// place: no read meets the half-way state.
TEST(IniLockNames, ReadersWaitForARewriteInPlace) {
  CScratch scratch;
  const std::string strDir = scratch.Dir();
  WriteText(strDir + "/c.ini", "[s]\r\nk0=0\r\n");
  ASSERT_EQ(link((strDir + "/c.ini").c_str(), (strDir + "/hard.ini").c_str()), 0);
  const std::string strOut = Shell(scratch, "cd '" + strDir + "'\n"
                                            "(for i in $(seq 1 40); do \"$NIMBO\" ini set c.ini s k$i v; done) &\n"
                                            "failed=0\n"
                                            "for i in $(seq 1 200); do\n"
                                            "  \"$NIMBO\" ini get hard.ini s k0 >/dev/null 2>>errors || failed=$((failed+1))\n"
                                            "done; wait; echo $failed\n");
  EXPECT_EQ(strOut, "0\n") << nimbotest::ReadText(strDir + "/errors");
}

TEST(IniLockNames, TheLongestNamesChange) {
  CScratch scratch;
  for (size_t nLength : {252u, 255u}) {
    const std::string strPath = scratch.Dir() + "/" + std::string(nLength - 4, 'n') + ".ini";
    const nimbotest::CRun made = RunNimbo(scratch.Dir(), "ini set '" + strPath + "' s k 1");
    EXPECT_EQ(made.nStatus, 0) << made.strErr;
    const nimbotest::CRun changed = RunNimbo(scratch.Dir(), "ini set '" + strPath + "' s k 2");
    EXPECT_EQ(changed.nStatus, 0) << changed.strErr;
    EXPECT_EQ(nimbotest::ReadText(strPath), "[s]\r\nk=2\r\n\r\n");
  }
}

}  // namespace
