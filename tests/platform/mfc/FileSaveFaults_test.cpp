// Every call of a save failed in turn - an error (a full disk, a disk that
// reports an error) or a crash there - for an ordinary file, a hard link, a
// symbolic link (posix) and a folder that refuses new files, with and
// without a folder of the user's to keep a copy in. After each, the file
// holds the old or the new document, or reads as none (its first byte
// zero) while the copy that FindKeptCopies names holds the old one; the
// next save leaves no new file of the failed one behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "FaultyFiles.h"
#include "FileSave.h"

namespace {

namespace fs = std::filesystem;

enum class ESetup { ordinary, hardLink, symbolicLink, refusingFolder, refusingFolderNoCopy };

TEST(FileSaveFaults, EveryCallFailedLeavesTheOldOrNewDocumentOrANamedCopy) {
  const fs::path root = fs::temp_directory_path() / ("nimbo-savefaults-" + std::to_string(std::random_device()()));
  const fs::path dir = root / "files", state = root / "state";
  const std::string strOld = "[Old]\r\nKey=old value, longer than the new one\r\n", strNew = "[New]\r\nKey=new\r\n";
  const ESetup setups[] = {ESetup::ordinary, ESetup::hardLink, ESetup::refusingFolder, ESetup::refusingFolderNoCopy,
#ifndef _WIN32
                           ESetup::symbolicLink
#endif
  };
  const std::pair<CFaultyFiles::EFault, int> faults[] = {
      {CFaultyFiles::EFault::crash, 0}, {CFaultyFiles::EFault::error, ENOSPC}, {CFaultyFiles::EFault::error, EIO}};
  CFaultyFiles files(SystemFilePrimitives());
  for (const ESetup eSetup : setups) {
    fs::remove_all(root);
    fs::create_directories(dir);
    fs::create_directories(state);
    const fs::path file = dir / "doc.ini", other = dir / "other.ini";
    std::ofstream(file, std::ios::binary) << strOld;
    fs::path named = file;  // the name the save is given
    if (eSetup == ESetup::hardLink) fs::create_hard_link(file, other);
    if (eSetup == ESetup::symbolicLink) fs::create_symlink(file, named = dir / "link.ini");
    const bool bRefusing = eSetup == ESetup::refusingFolder || eSetup == ESetup::refusingFolderNoCopy;
    files.RefuseNewFilesIn(bRefusing ? files.FolderOf(SystemFilePrimitives().ResolvePath(file.string())) : "");
    files.SetCopyFolders(eSetup == ESetup::refusingFolderNoCopy ? std::vector<std::string>{}
                                                                : std::vector<std::string>{state.string()});
    // The calls of a whole save, counted on one that nothing fails.
    files.Arm(-1, CFaultyFiles::EFault::none, 0);
    ASSERT_EQ(SaveWholeFileWith(files, named.string().c_str(), strNew.data(), strNew.size()),
              eSetup != ESetup::refusingFolderNoCopy);
    const int nCalls = files.Calls();
    for (const auto& fault : faults) {
      for (int nCall = 0; nCall < nCalls; ++nCall) {
        SCOPED_TRACE("setup " + std::to_string(static_cast<int>(eSetup)) + ", call " + std::to_string(nCall) +
                     ", fault " + std::to_string(static_cast<int>(fault.first)) + "/" + std::to_string(fault.second));
        std::ofstream(file, std::ios::binary | std::ios::trunc) << strOld;
        files.Arm(nCall, fault.first, fault.second);
        const bool bSaved = SaveWholeFileWith(files, named.string().c_str(), strNew.data(), strNew.size());
        const std::string strNow = ReadAll(file);
        if (eSetup == ESetup::hardLink) {
          EXPECT_EQ(ReadAll(other), strNow) << "the names part";
        }
        // A save that lives to answer says whether the file holds the new
        // content.
        if (bSaved || fault.first == CFaultyFiles::EFault::error) {
          EXPECT_EQ(strNow == strNew, bSaved);
        }
        if (eSetup == ESetup::refusingFolderNoCopy) {
          EXPECT_EQ(strNow, strOld) << "rewritten without a copy";
        }
        if (strNow != strOld && strNow != strNew) {
          ASSERT_FALSE(strNow.empty());
          EXPECT_EQ(strNow[0], '\0') << "reads as another document";
          const std::vector<std::string> copies = FindKeptCopiesWith(files, named.string().c_str());
          ASSERT_FALSE(copies.empty()) << "no copy named";
          EXPECT_EQ(ReadAll(copies[0]), strOld) << "the copy";
        }
        // The next save finds and removes the new files this one left.
        std::ofstream(file, std::ios::binary | std::ios::trunc) << strOld;
        ASSERT_TRUE(SaveWholeFile(named.string().c_str(), strNew.data(), strNew.size()));
        for (const fs::path& folder : {dir, state})
          for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string strName = entry.path().filename().string();
            EXPECT_NE(strName.compare(0, 5, ".~nbn"), 0) << "left " << strName;
            if (strName.compare(0, 5, ".~nbc") == 0) fs::remove(entry.path());
          }
      }
    }
  }
  fs::remove_all(root);
}

}  // namespace
