// Saving over a file through the replacement path: the new content takes
// the file's place and nothing is left beside it; on Windows a replace that
// the system refuses (the file held open by another handle that does not
// share deletion) keeps the file's old content and leaves nothing behind,
// and so do writes in place that fail part-way, unless the old content
// cannot be put back (then a copy beside the file keeps it).
#include "FileSave.h"

#include "FaultyFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "SimFileFaults.h"
#endif

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  return names;
}

class FileSave : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("nimbo-filesave-" + std::to_string(std::random_device()()));
    fs::create_directories(m_dir);
    m_file = m_dir / "doc.ini";
    std::ofstream(m_file, std::ios::binary) << m_strOld;
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(m_dir, error);
  }
  fs::path m_dir, m_file;
  const std::string m_strOld = "[Old]\r\nKey=old\r\n";
  const std::string m_strNew = "[New]\r\nKey=new value\r\n";
};

TEST_F(FileSave, ReplacementLeavesOnlyTheFile) {
  ASSERT_TRUE(SaveWholeFile(m_file.string().c_str(), m_strNew.data(), m_strNew.size()));
  EXPECT_EQ(ReadAll(m_file), m_strNew);
  EXPECT_EQ(Names(m_dir), std::vector<std::string>{"doc.ini"});
}

#ifdef _WIN32
TEST_F(FileSave, RefusedReplaceKeepsTheOldContentAndLeavesNothingBeside) {
  const HANDLE hHeld = CreateFileA(m_file.string().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
  const bool bSaved = SaveWholeFile(m_file.string().c_str(), m_strNew.data(), m_strNew.size());
  CloseHandle(hHeld);
  // Either the system let the replace through after all (then the new
  // content is whole) or it refused it (then the old content is whole).
  EXPECT_EQ(ReadAll(m_file), bSaved ? m_strNew : m_strOld);
  EXPECT_EQ(Names(m_dir), std::vector<std::string>{"doc.ini"});
}

// The replace's documented half-way failures, which only the test controls
// produce: the save's answer tells which document the file holds, whole,
// and nothing is left beside it.
TEST_F(FileSave, HalfWayReplaceFailuresKeepOneWholeDocument) {
  struct {
    DWORD dwError;
    bool bRefuseMove;  // the new file cannot be moved in afterwards either
    bool bSaved;
  } const cases[] = {
      {ERROR_UNABLE_TO_MOVE_REPLACEMENT, false, false},
      {ERROR_UNABLE_TO_MOVE_REPLACEMENT, true, false},
      {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, false, true},  // the new file is moved in again
      {ERROR_UNABLE_TO_MOVE_REPLACEMENT_2, true, false},  // the old one goes back
      {ERROR_UNABLE_TO_REMOVE_REPLACED, false, false},
  };
  struct CResetFaults {
    ~CResetFaults() { CSimFileFaults::Reset(); }
  } resetFaults;
  for (const auto& c : cases) {
    const std::string strCase = std::to_string(c.dwError) + (c.bRefuseMove ? ", no move" : "");
    std::ofstream(m_file, std::ios::binary | std::ios::trunc) << m_strOld;
    ASSERT_TRUE(CSimFileFaults::FailNextReplace(c.dwError, c.bRefuseMove));
    const bool bSaved = SaveWholeFile(m_file.string().c_str(), m_strNew.data(), m_strNew.size());
    EXPECT_EQ(CSimFileFaults::GetFailedReplaces(), 1) << strCase;
    CSimFileFaults::Reset();
    EXPECT_EQ(bSaved, c.bSaved) << strCase;
    EXPECT_EQ(ReadAll(m_file), c.bSaved ? m_strNew : m_strOld) << strCase;
    EXPECT_EQ(Names(m_dir), std::vector<std::string>{"doc.ini"}) << strCase;
  }
}

// A file with a second link is written in place, and both names see the new
// content. Writes that fail part-way through (a disk that fills up, for one
// write or for good) never leave another document: the save says so, and
// the file holds the old content whole with nothing beside it, or - when
// even putting it back failed - begins with a zero byte (no document) while
// a copy beside it holds the old content.
TEST_F(FileSave, InPlaceWritesThatFailKeepTheOldDocument) {
  const fs::path link = m_dir / "link.ini";
  ASSERT_TRUE(CreateHardLinkA(link.string().c_str(), m_file.string().c_str(), nullptr));
  struct CResetFaults {
    ~CResetFaults() { CSimFileFaults::Reset(); }
  } resetFaults;
  int nRestored = 0, nCopyKept = 0;
  for (bool bThenAll : {false, true}) {
    for (int nWrites = 0; nWrites < 8; ++nWrites) {
      const std::string strCase = std::to_string(nWrites) + (bThenAll ? " writes, then none" : " writes, then one fails");
      std::ofstream(m_file, std::ios::binary | std::ios::trunc) << m_strOld;
      ASSERT_TRUE(CSimFileFaults::FailWritesAfter(nWrites, bThenAll));
      const bool bSaved = SaveWholeFile(m_file.string().c_str(), m_strNew.data(), m_strNew.size());
      CSimFileFaults::Reset();
      const std::string strNow = ReadAll(m_file);
      EXPECT_EQ(ReadAll(link), strNow) << strCase << ": the names part";
      std::vector<std::string> names = Names(m_dir);
      std::sort(names.begin(), names.end());
      if (bSaved || strNow == m_strOld) {
        EXPECT_EQ(strNow, bSaved ? m_strNew : m_strOld) << strCase;
        EXPECT_EQ(names, (std::vector<std::string>{"doc.ini", "link.ini"})) << strCase;
        nRestored += !bSaved;
        continue;
      }
      ASSERT_FALSE(strNow.empty()) << strCase;
      EXPECT_EQ(strNow[0], '\0') << strCase << ": reads as another document";
      ASSERT_EQ(names.size(), 3u) << strCase;
      const std::string& strCopy = names[0] == "doc.ini" ? names[2] : names[0];
      EXPECT_EQ(ReadAll(m_dir / strCopy), m_strOld) << strCase << ": the copy";
      fs::remove(m_dir / strCopy);
      ++nCopyKept;
    }
  }
  // Both ways out were taken.
  EXPECT_GT(nRestored, 0);
  EXPECT_GT(nCopyKept, 0);
}
#endif

}  // namespace
