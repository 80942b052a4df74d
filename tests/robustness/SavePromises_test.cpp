// Saving keeps what the file system promised about the file: its mode, its
// owner, its links and its kind; and any name the file system allows saves.
#include "ChildProcess.h"

#include <gtest/gtest.h>
#include <acl/libacl.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "ini/CIniFile.h"
#include "ini/IniTestUtil.h"

namespace {

using initest::CScratchDir;
using initest::Entries;
using initest::ReadFile;
using initest::WriteFile;

const char kOld[] = "[Old]\r\nk=1\r\n\r\n";
const char kNew[] = "[New]\r\nk=2\r\n\r\n";
const uid_t kNobody = 65534;

bool SaveNew(const std::string& strPath) {
  CIniFile ini;
  ini.SetString("New", "k", "2");
  return ini.SaveAs(strPath.c_str());
}

struct stat StatOf(const std::string& strPath, bool bFollow = true) {
  struct stat info = {};
  EXPECT_EQ(bFollow ? ::stat(strPath.c_str(), &info) : ::lstat(strPath.c_str(), &info), 0) << strPath;
  return info;
}

// Root writes through every mode, so these cases save as an unprivileged
// user, in a child that gives up root first.
TEST(SavePromises, PermissionsAndOwnerAsAnUnprivilegedUser) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to set up files of another owner";
  struct {
    const char* pszWhat;
    mode_t nDirMode;
    mode_t nFileMode;
    bool bStateFolder;  // the user has a folder of its own for the copy of an in-place save
    bool bSaved;
  } cases[] = {
      {"read-only file in a writable directory", 0777, 0444, true, false},
      {"writable file in a directory that refuses new files", 0555, 0666, true, true},
      {"the same, with no folder of the user's for a copy", 0555, 0666, false, false},
      {"root's writable file in a writable directory", 0777, 0666, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszWhat);
    CScratchDir dir;
    const std::string strPath = dir / "doc.ini";
    WriteFile(strPath, kOld);
    ASSERT_EQ(::chmod(strPath.c_str(), c.nFileMode), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), c.nDirMode), 0);
    const ino_t nInode = StatOf(strPath).st_ino;
    CScratchDir state;
    ASSERT_EQ(::chmod(state.Path().c_str(), 0777), 0);
    const CChildResult result = RunInChild([&](long&) {
      ::setenv("XDG_STATE_HOME", c.bStateFolder ? state.Path().c_str() : "/nonexistent", 1);
      ::setenv("HOME", "/nonexistent", 1);
      ::unsetenv("XDG_RUNTIME_DIR");
      if (setgid(kNobody) != 0 || setuid(kNobody) != 0) return 3;
      return SaveNew(strPath) ? 1 : 0;
    });
    ASSERT_TRUE(result.bExited);
    ASSERT_NE(result.nStatus, 3) << "could not become nobody";
    EXPECT_EQ(result.nStatus == 1, c.bSaved);
    EXPECT_EQ(ReadFile(strPath), c.bSaved ? kNew : kOld);
    const struct stat after = StatOf(strPath);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_mode & 07777, c.nFileMode);
    EXPECT_EQ(after.st_ino, nInode);  // written in place, or not at all
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"doc.ini"});
    EXPECT_EQ(Entries(state.Path() + "/nimbo").size(), 0u) << "a copy left behind";
  }
}

TEST(SavePromises, OwnerIsCarriedOverWhereTheProcessMaySetIt) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
  CScratchDir dir;
  const std::string strPath = dir / "theirs.ini";
  WriteFile(strPath, kOld);
  ASSERT_EQ(::chown(strPath.c_str(), kNobody, kNobody), 0);
  ASSERT_TRUE(SaveNew(strPath));
  EXPECT_EQ(StatOf(strPath).st_uid, kNobody);
  EXPECT_EQ(StatOf(strPath).st_gid, kNobody);
}

// Extended attributes and access control lists stay with a file that a
// save replaces.
TEST(SavePromises, AttributesAndAccessListsAreCarriedOver) {
  CScratchDir dir;
  const std::string strPath = dir / "marked.ini";
  WriteFile(strPath, kOld);
  if (::setxattr(strPath.c_str(), "user.origin", "kept", 4, 0) != 0) GTEST_SKIP() << "no user attributes here";
  acl_t acl = ::acl_from_text("u::rw-,u:65534:r--,g::r--,m::r--,o::---");
  ASSERT_NE(acl, nullptr);
  const bool bAcl = ::acl_set_file(strPath.c_str(), ACL_TYPE_ACCESS, acl) == 0;
  ::acl_free(acl);
  const ino_t nInode = StatOf(strPath).st_ino;
  ASSERT_TRUE(SaveNew(strPath));
  EXPECT_NE(StatOf(strPath).st_ino, nInode) << "replaced through a new file";
  char achValue[16] = {};
  EXPECT_EQ(::getxattr(strPath.c_str(), "user.origin", achValue, sizeof achValue), 4);
  EXPECT_STREQ(achValue, "kept");
  if (!bAcl) return;
  acl = ::acl_get_file(strPath.c_str(), ACL_TYPE_ACCESS);
  ASSERT_NE(acl, nullptr);
  char* pszText = ::acl_to_any_text(acl, nullptr, ',', TEXT_ABBREVIATE | TEXT_NUMERIC_IDS);
  EXPECT_STREQ(pszText, "u::rw-,u:65534:r--,g::r--,m::r--,o::---");
  ::acl_free(pszText);
  ::acl_free(acl);
}

TEST(SavePromises, LinksStayLinks) {
  CScratchDir dir;
  const std::string strTarget = dir / "real.ini";
  const std::string strLink = dir / "link.ini";
  WriteFile(strTarget, kOld);
  ASSERT_EQ(::symlink("real.ini", strLink.c_str()), 0);
  ASSERT_EQ(::link(strTarget.c_str(), (dir / "second.ini").c_str()), 0);
  const ino_t nInode = StatOf(strTarget).st_ino;
  // Through the symbolic link to a file with two names: written in place.
  ASSERT_TRUE(SaveNew(strLink));
  EXPECT_TRUE(S_ISLNK(StatOf(strLink, false).st_mode));
  EXPECT_EQ(StatOf(strTarget).st_ino, nInode);
  EXPECT_EQ(StatOf(strTarget).st_nlink, 2u);
  EXPECT_EQ(ReadFile(dir / "second.ini"), kNew);
  // With one name left, the file behind the link is replaced.
  ASSERT_EQ(::unlink((dir / "second.ini").c_str()), 0);
  WriteFile(strTarget, kOld);
  ASSERT_TRUE(SaveNew(strLink));
  EXPECT_TRUE(S_ISLNK(StatOf(strLink, false).st_mode));
  EXPECT_EQ(ReadFile(strTarget), kNew);
  // A link to no file yet: the file is made where it leads.
  ASSERT_EQ(::symlink("later.ini", (dir / "dangling.ini").c_str()), 0);
  ASSERT_TRUE(SaveNew(dir / "dangling.ini"));
  EXPECT_TRUE(S_ISLNK(StatOf(dir / "dangling.ini", false).st_mode));
  EXPECT_EQ(ReadFile(dir / "later.ini"), kNew);
}

TEST(SavePromises, DevicesAndFifosAreWrittenNotReplaced) {
  CScratchDir dir;
  // A null device of our own, so that a fault never replaces /dev/null.
  const std::string strNull = dir / "null";
  if (::mknod(strNull.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    EXPECT_TRUE(SaveNew(strNull));
    EXPECT_TRUE(S_ISCHR(StatOf(strNull, false).st_mode));
  }
  const std::string strFifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(strFifo.c_str(), 0666), 0);
  std::string strRead;
  std::thread reader([&] { strRead = ReadFile(strFifo); });
  EXPECT_TRUE(SaveNew(strFifo));
  reader.join();
  EXPECT_EQ(strRead, kNew);
  EXPECT_TRUE(S_ISFIFO(StatOf(strFifo, false).st_mode));
}

TEST(SavePromises, NamesUpToTheLongestAllowedCanBeSaved) {
  CScratchDir dir;
  for (size_t nLength : {251u, 255u}) {
    const std::string strPath = dir / std::string(nLength, 'n');
    EXPECT_TRUE(SaveNew(strPath)) << nLength;  // a new file
    WriteFile(strPath, kOld);
    EXPECT_TRUE(SaveNew(strPath)) << nLength;  // over an existing one
    EXPECT_EQ(ReadFile(strPath), kNew);
  }
  EXPECT_EQ(Entries(dir.Path()).size(), 2u);
}

}  // namespace
