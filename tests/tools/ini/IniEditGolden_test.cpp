// Golden tests of `nimbo ini` on files as people write them: for each case
// the file before, the command, the exit status, the bytes after and what is
// printed. A change touches only its own lines; a refusal leaves every byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "RunNimbo.h"
#include "ini/IniTestUtil.h"

namespace {

// Whether str is well-formed UTF-8 (ASCII included).
[[maybe_unused]] bool IsUtf8(const std::string& str) {
  for (size_t i = 0; i < str.size();) {
    const unsigned char c = static_cast<unsigned char>(str[i]);
    const size_t nMore = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 4;
    if (nMore == 4 || i + nMore >= str.size() + (nMore == 0)) return false;
    for (size_t k = 1; k <= nMore; ++k)
      if ((static_cast<unsigned char>(str[i + k]) >> 6) != 2) return false;
    i += nMore + 1;
  }
  return true;
}

using initest::CScratchDir;
using initest::ReadFile;
using initest::WriteFile;

// LF line ends, both comment forms, blanks around "=".
const char kLf[] = "; settings\n[Window]\nWidth=640\nHeight = 480\n# hash comment\n\n[Other]\nx=1\n";
const char kCrLf[] = "; settings\r\n[Window]\r\nWidth=640\r\n\r\n[Other]\r\nx=1\r\n";
const char kNoFinalLf[] = "[Window]\nWidth=640\nHeight=480";
const char kCommentLast[] = "[Window]\nWidth=640\n; the end";

// Shapes of files people have, written here: a win.ini and a desktop.ini
// (CR LF, empty sections one after another), a git config (tab-indented,
// blanks around "=", sections named with quotes), a php.ini (comments before
// and between the entries), a my.cnf (keys alone, "#" lines, which are
// entries to the store), a systemd unit without its final line end, a file
// of Latin-1 names.
const char kWinIni[] =
    "; for 16-bit app support\r\n[fonts]\r\n[extensions]\r\n[mci extensions]\r\n[files]\r\n[Mail]\r\nMAPI=1\r\n";
const char kDesktopIni[] =
    "[.ShellClassInfo]\r\nIconResource=C:\\Windows\\system32\\imageres.dll,-183\r\n[ViewState]\r\nMode=\r\n"
    "Vid=\r\nFolderType=Pictures\r\n";
const char kGitConfig[] =
    "[core]\n\trepositoryformatversion = 0\n\tfilemode = true\n\tbare = false\n[remote \"origin\"]\n"
    "\turl = https://example.org/r.git\n\tfetch = +refs/heads/*:refs/remotes/origin/*\n[branch \"main\"]\n"
    "\tremote = origin\n";
const char kPhpIni[] =
    "[PHP]\r\n\r\n;;;;;;;;;;;;;;;\r\n; About php.ini\r\n;;;;;;;;;;;;;;;\r\nengine = On\r\nprecision = 14\r\n\r\n"
    "[Date]\r\n;date.timezone =\r\n\r\n[mail function]\r\nSMTP = localhost\r\nsmtp_port = 25\r\n";
const char kMyCnf[] =
    "[mysqld]\n# basic settings\nuser\t\t= mysql\nport\t\t= 3306\nskip-external-locking\n\n[client]\nport = 3306\n"
    "!includedir /etc/mysql/conf.d/\n";
const char kUnit[] =
    "[Unit]\nDescription=Example service\nAfter=network.target\n\n[Service]\nType=simple\n"
    "ExecStart=/usr/bin/example --config=/etc/example.conf\nRestart=on-failure\n\n[Install]\nWantedBy=multi-user.target";
const char kLatin1[] = "[Schrift]\r\nGr\xF6\xDF" "e=12\r\nName=M\xFCller\r\n";

struct CCase {
  std::string strInput;
  std::vector<std::string> args;  // after "ini ACTION FILE"; the action first
  int nStatus;
  const char* pszAfter;  // null: the file is unchanged
  const char* pszOut;    // standard output
  const char* pszErr;    // a part of standard error, or "" for none at all
};

const CCase kCases[] = {
    // set: the value only, the rest as it was
    {kLf, {"set", "Window", "Width", "800"}, 0,
     "; settings\n[Window]\nWidth=800\nHeight = 480\n# hash comment\n\n[Other]\nx=1\n", "", ""},
    {kLf, {"set", "window", "HEIGHT", "5"}, 0,
     "; settings\n[Window]\nWidth=640\nHeight = 5\n# hash comment\n\n[Other]\nx=1\n", "", ""},
    // a new key after the section's last entry, where the store appends it:
    // after a "#" line (an entry to the store), before the next header
    {kLf, {"set", "Window", "Depth", "3"}, 0,
     "; settings\n[Window]\nWidth=640\nHeight = 480\n# hash comment\nDepth=3\n\n[Other]\nx=1\n", "", ""},
    {"[a]\nx=1\n[b]\ny=2\n", {"set", "a", "new", "v"}, 0, "[a]\nx=1\nnew=v\n[b]\ny=2\n", "", ""},
    {kLf, {"set", "New", "k", "v"}, 0,
     "; settings\n[Window]\nWidth=640\nHeight = 480\n# hash comment\n\n[Other]\nx=1\n\n[New]\nk=v\n", "", ""},
    {kCrLf, {"set", "Other", "y", "2"}, 0, "; settings\r\n[Window]\r\nWidth=640\r\n\r\n[Other]\r\nx=1\r\ny=2\r\n", "", ""},
    {kCrLf, {"set", "New", "k", "v"}, 0,
     "; settings\r\n[Window]\r\nWidth=640\r\n\r\n[Other]\r\nx=1\r\n\r\n[New]\r\nk=v\r\n", "", ""},
    {kNoFinalLf, {"set", "Window", "Width", "1"}, 0, "[Window]\nWidth=1\nHeight=480", "", ""},
    {kNoFinalLf, {"set", "Window", "Height", "1"}, 2, nullptr, "", "line 3, the last, has no line end"},
    {kNoFinalLf, {"set", "New", "k", "v"}, 2, nullptr, "", "line 3, the last, has no line end"},
    {kCommentLast, {"set", "New", "k", "v"}, 0, "[Window]\nWidth=640\n; the end\n\n[New]\nk=v\n", "", ""},
    {"[window]\nwidth = 1\n", {"set", "WINDOW", "WIDTH", "2"}, 0, "[window]\nwidth = 2\n", "", ""},
    {"[a]\nk=1\nk=2\n", {"set", "a", "k", "3"}, 0, "[a]\nk=1\nk=3\n", "", ""},
    {"[a]\nk=1\n\x1Atrailing bytes", {"set", "a", "k", "2"}, 0, "[a]\nk=2\n\x1Atrailing bytes", "", ""},
    {"[a]\nk=1\n", {"set", "a", "e", "", "--key-only"}, 0, "[a]\nk=1\ne\n", "", ""},
    {"[a]\nk=1\n", {"set", "a", "n", "7", "--int"}, 0, "[a]\nk=1\nn=7\n", "", ""},
    // reading: names as a person means them, values without the spacing
    {kLf, {"get", "Window", "Height"}, 0, nullptr, "480\n", ""},
    {kLf, {"get", "Window", "Height", "--int"}, 0, nullptr, "480\n", ""},
    // a flag as the store reads it: its true words alone, nothing beside them
    {kLf, {"get", "Window", "Width", "--bool"}, 0, nullptr, "false\n", ""},
    {"[a]\nf= 1\n", {"get", "a", "f", "--bool"}, 0, nullptr, "false\n", "the store reads \" 1\" as false"},
    {"[a]\nf=TRUE\ng=on\n", {"get", "a", "f", "--bool"}, 0, nullptr, "true\n", ""},
    {"[a]\nf=TRUE\ng=on\n", {"get", "a", "g", "--bool"}, 0, nullptr, "false\n", ""},
    {"[a]\nf=No\n", {"get", "a", "f", "--bool"}, 0, nullptr, "false\n", ""},
    {"[a]\n", {"set", "a", "f", "on", "--bool"}, 2, nullptr, "", "not a flag: on"},
    {"[a]\nf=yes\n", {"get", "a", "f", "--int"}, 2, nullptr, "", "\"yes\" is not a number"},
    {"[a]\nf=Yes\n", {"get", "a", "f", "--bool"}, 0, nullptr, "true\n", ""},
    {"[a]\n k=1\nk =2\n", {"get", "a", "k"}, 2, nullptr, "", "\" k\" and \"k \" both read as \"k\""},
    {"[a]\n k=1\nk =2\n", {"get", "a", "k "}, 0, nullptr, "2\n", ""},
    {kLf, {"keys", "Window"}, 0, nullptr, "Width\nHeight \n# hash comment\n", ""},
    {kNoFinalLf, {"get", "Window", "Height"}, 1, nullptr, "", ""},
    // renames keep the blanks and the rest of the line
    {kLf, {"rename-key", "Window", "height", "Tall"}, 0,
     "; settings\n[Window]\nWidth=640\nTall = 480\n# hash comment\n\n[Other]\nx=1\n", "", ""},
    {"[ Window ]\nk=1\n[ window ]\nj=2\n", {"rename-section", "WINDOW", "Frame"}, 0,
     "[ Frame ]\nk=1\n[ Frame ]\nj=2\n", "", ""},
    {"[ Window ]\nk=1\n[window]\nj=2\n", {"rename-section", "WINDOW", "Frame"}, 0, "[ Window ]\nk=1\n[Frame]\nj=2\n",
     "", ""},
    {kLf, {"rename-section", "Window", "other"}, 1, nullptr, "", ""},
    {kLf, {"rename-key", "Window", "Width", "height"}, 1, nullptr, "", ""},
    // removals take their lines and nothing else
    {kLf, {"remove-key", "Window", "width"}, 0,
     "; settings\n[Window]\nHeight = 480\n# hash comment\n\n[Other]\nx=1\n", "", ""},
    {"[a]\nk=1\nj=0\nK=2\n", {"remove-key", "a", "k"}, 0, "[a]\nj=0\n", "", ""},
    {kCrLf, {"remove-section", "window"}, 0, "; settings\r\n[Other]\r\nx=1\r\n", "", ""},
    {"[a]\nk=1\n; about b\n[b]\nj=2\n", {"remove-section", "a"}, 0, "; about b\n[b]\nj=2\n", "", ""},
    {kNoFinalLf, {"remove-section", "Window"}, 0, "", "", ""},
    {kLf, {"clear-section", "Window"}, 0, "; settings\n[Window]\n\n[Other]\nx=1\n", "", ""},
    {kLf, {"remove-key", "Window", "Nope"}, 1, nullptr, "", ""},
    // what is not INI text is refused, naming the line
    {std::string("[a]\nk=1\nb=\0\n", 12), {"set", "a", "k", "2"}, 2, nullptr, "", "line 3 is not INI text"},
    {"[a]\nk=1\n[b\n", {"set", "a", "k", "2"}, 2, nullptr, "", "line 3 is not INI text: a \"[\" line"},
    {"k=1\n[a]\n", {"remove-section", "a"}, 2, nullptr, "", "line 1 is not INI text: an entry outside"},
    {"[a]\nk=1\n[b] \nj=2\n", {"get", "a", "k"}, 2, nullptr, "", "line 3 is not INI text: a header with blanks after its \"]\""},
    {"[a] ; first\nk=1\n", {"set", "a", "k", "2"}, 2, nullptr, "", "line 1 is not INI text: a header with text after its \"]\""},
    {std::string("\xFF\xFE[\0a\0]\0\n\0", 10), {"get", "a", "k"}, 2, nullptr, "", "UTF-16 text (byte-order mark FF FE)"},
    {std::string("\xFE\xFF\0[\0a\0]\0\n", 10), {"sections"}, 2, nullptr, "", "UTF-16 text (byte-order mark FE FF)"},
    {"[a]\nk=1\n[b\n", {"sections"}, 2, nullptr, "", "line 3 is not INI text"},
    {"[a]\nk=1\n[b\n", {"cat"}, 2, nullptr, "", "line 3 is not INI text"},
    // the shapes of real files, read and changed
    {kWinIni, {"get", "mail", "mapi"}, 0, nullptr, "1\n", ""},
    {kWinIni, {"set", "fonts", "Arial", "arial.ttf"}, 0,
     "; for 16-bit app support\r\n[fonts]\r\nArial=arial.ttf\r\n[extensions]\r\n[mci extensions]\r\n[files]\r\n[Mail]\r\n"
     "MAPI=1\r\n", "", ""},
    {kWinIni, {"remove-section", "mci extensions"}, 0,
     "; for 16-bit app support\r\n[fonts]\r\n[extensions]\r\n[files]\r\n[Mail]\r\nMAPI=1\r\n", "", ""},
    {kWinIni, {"sections"}, 0, nullptr, "fonts\nextensions\nmci extensions\nfiles\nMail\n", ""},
    {kDesktopIni, {"set", "ViewState", "Mode", "4"}, 0,
     "[.ShellClassInfo]\r\nIconResource=C:\\Windows\\system32\\imageres.dll,-183\r\n[ViewState]\r\nMode=4\r\n"
     "Vid=\r\nFolderType=Pictures\r\n", "", ""},
    {kDesktopIni, {"set", ".shellclassinfo", "ConfirmFileOp", "0"}, 0,
     "[.ShellClassInfo]\r\nIconResource=C:\\Windows\\system32\\imageres.dll,-183\r\nConfirmFileOp=0\r\n[ViewState]\r\n"
     "Mode=\r\nVid=\r\nFolderType=Pictures\r\n", "", ""},
    {kGitConfig, {"get", "remote \"origin\"", "url"}, 0, nullptr, "https://example.org/r.git\n", ""},
    {kGitConfig, {"set", "core", "bare", "true"}, 0,
     "[core]\n\trepositoryformatversion = 0\n\tfilemode = true\n\tbare = true\n[remote \"origin\"]\n"
     "\turl = https://example.org/r.git\n\tfetch = +refs/heads/*:refs/remotes/origin/*\n[branch \"main\"]\n"
     "\tremote = origin\n", "", ""},
    {kGitConfig, {"set", "branch \"main\"", "merge", "refs/heads/main"}, 0,
     "[core]\n\trepositoryformatversion = 0\n\tfilemode = true\n\tbare = false\n[remote \"origin\"]\n"
     "\turl = https://example.org/r.git\n\tfetch = +refs/heads/*:refs/remotes/origin/*\n[branch \"main\"]\n"
     "\tremote = origin\nmerge=refs/heads/main\n", "", ""},
    {kGitConfig, {"rename-section", "remote \"origin\"", "remote \"upstream\""}, 0,
     "[core]\n\trepositoryformatversion = 0\n\tfilemode = true\n\tbare = false\n[remote \"upstream\"]\n"
     "\turl = https://example.org/r.git\n\tfetch = +refs/heads/*:refs/remotes/origin/*\n[branch \"main\"]\n"
     "\tremote = origin\n", "", ""},
    {kPhpIni, {"get", "PHP", "precision", "--int"}, 0, nullptr, "14\n", ""},
    {kPhpIni, {"set", "Date", "date.timezone", "UTC"}, 0,
     "[PHP]\r\n\r\n;;;;;;;;;;;;;;;\r\n; About php.ini\r\n;;;;;;;;;;;;;;;\r\nengine = On\r\nprecision = 14\r\n\r\n"
     "[Date]\r\ndate.timezone=UTC\r\n;date.timezone =\r\n\r\n[mail function]\r\nSMTP = localhost\r\nsmtp_port = 25\r\n", "", ""},
    {kPhpIni, {"remove-key", "mail function", "smtp"}, 0,
     "[PHP]\r\n\r\n;;;;;;;;;;;;;;;\r\n; About php.ini\r\n;;;;;;;;;;;;;;;\r\nengine = On\r\nprecision = 14\r\n\r\n"
     "[Date]\r\n;date.timezone =\r\n\r\n[mail function]\r\nsmtp_port = 25\r\n", "", ""},
    {kMyCnf, {"keys", "mysqld"}, 0, nullptr, "# basic settings\nuser\t\t\nport\t\t\nskip-external-locking\n", ""},
    {kMyCnf, {"remove-key", "mysqld", "skip-external-locking"}, 0,
     "[mysqld]\n# basic settings\nuser\t\t= mysql\nport\t\t= 3306\n\n[client]\nport = 3306\n!includedir /etc/mysql/conf.d/\n", "", ""},
    {std::string("# The MySQL server\n") + kMyCnf, {"get", "mysqld", "port"}, 2, nullptr, "",
     "line 1 is not INI text: an entry outside a named section (only \";\" begins a comment)"},
    {kUnit, {"get", "Service", "ExecStart"}, 0, nullptr, "/usr/bin/example --config=/etc/example.conf\n", ""},
    {kUnit, {"set", "Service", "Restart", "always"}, 0,
     "[Unit]\nDescription=Example service\nAfter=network.target\n\n[Service]\nType=simple\n"
     "ExecStart=/usr/bin/example --config=/etc/example.conf\nRestart=always\n\n[Install]\nWantedBy=multi-user.target", "", ""},
    {kUnit, {"get", "Install", "WantedBy"}, 1, nullptr, "", ""},
    {kUnit, {"set", "Install", "WantedBy", "default.target"}, 2, nullptr, "", "line 11, the last, has no line end"},
    {kLatin1, {"get", "schrift", "GR\xF6\xDF" "E"}, 0, nullptr, "12\n", ""},
    {kLatin1, {"rename-key", "Schrift", "name", "Nom"}, 0, "[Schrift]\r\nGr\xF6\xDF" "e=12\r\nNom=M\xFCller\r\n", "", ""},
};

TEST(IniEditGolden, EachCaseGivesItsBytesStatusAndOutput) {
  CScratchDir dir;
  const std::string strFile = dir / "s.ini";
  int nCase = 0;
  for (const CCase& c : kCases) {
    SCOPED_TRACE("case " + std::to_string(nCase++) + ": " + c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
#ifdef _WIN32
    // nimbo.exe takes its command line as UTF-8 (it arrives as UTF-16):
    // arguments in another 8-bit encoding cannot reach it, only files can.
    if (!std::all_of(c.args.begin(), c.args.end(), IsUtf8)) continue;
#endif
    const std::string& strInput = c.strInput;
    WriteFile(strFile, strInput);
    std::string strArgs = "ini " + c.args[0] + " '" + strFile + "'";
    for (size_t i = 1; i < c.args.size(); ++i) strArgs += " '" + c.args[i] + "'";
    const nimbotest::CRun run = nimbotest::RunNimbo(dir.Path(), strArgs);
    EXPECT_EQ(run.nStatus, c.nStatus) << run.strErr;
    EXPECT_EQ(ReadFile(strFile), c.pszAfter != nullptr ? std::string(c.pszAfter) : strInput);
    EXPECT_EQ(run.strOut, c.pszOut);
    if (*c.pszErr == 0)
      EXPECT_EQ(run.strErr, "");
    else
      EXPECT_NE(run.strErr.find(c.pszErr), std::string::npos) << run.strErr;
    EXPECT_LE(std::count(run.strErr.begin(), run.strErr.end(), '\n'), 1) << run.strErr;
    EXPECT_FALSE(initest::FileExists(strFile + ".lock"));
  }
}

// An archive made by pack is refused by every reading and changing action,
// with the command that reads it.
TEST(IniEditGolden, AnArchiveIsRefusedWithTheCommandThatReadsIt) {
  CScratchDir dir;
  WriteFile(dir / "s.ini", kLf);
  ASSERT_EQ(nimbotest::RunNimbo(dir.Path(), "ini pack '" + (dir / "s.ini") + "' '" + (dir / "s.arc") + "'").nStatus, 0);
  const std::string strArchive = ReadFile(dir / "s.arc");
  for (const char* pszArgs : {"set %s Window Height 5", "cat %s", "sections %s", "remove-section %s Window"}) {
    std::string strArgs = std::string("ini ") + pszArgs;
    strArgs.replace(strArgs.find("%s"), 2, "'" + (dir / "s.arc") + "'");
    const nimbotest::CRun run = nimbotest::RunNimbo(dir.Path(), strArgs);
    SCOPED_TRACE(strArgs);
    EXPECT_EQ(run.nStatus, 2);
    EXPECT_EQ(run.strOut, "");
    EXPECT_NE(run.strErr.find("an archived INI document"), std::string::npos) << run.strErr;
    EXPECT_NE(run.strErr.find("nimbo ini unpack"), std::string::npos) << run.strErr;
    EXPECT_EQ(ReadFile(dir / "s.arc"), strArchive);
  }
}

// Twenty changes at once, each of its own key: every one is kept.
TEST(IniEditGolden, ParallelChangesAreAllKept) {
  CScratchDir dir;
  const std::string strFile = dir / "conc.ini";
  WriteFile(strFile, "[s]\nfirst=0\n");
  // Each run writes its output into a folder of its own.
  std::vector<std::thread> runs;
  std::vector<int> statuses(20, -1);
  for (int i = 1; i <= 20; ++i) {
    const std::string strRunDir = dir / ("run" + std::to_string(i));
    ASSERT_TRUE(std::filesystem::create_directory(strRunDir));
    runs.emplace_back([&statuses, strRunDir, strFile, i] {
      const std::string strKey = std::to_string(i);
      statuses[i - 1] =
          nimbotest::RunNimbo(strRunDir, "ini set '" + strFile + "' s key" + strKey + " v" + strKey).nStatus;
    });
  }
  for (std::thread& run : runs) run.join();
  EXPECT_EQ(statuses, std::vector<int>(20, 0));
  const std::string strAfter = ReadFile(strFile);
  size_t nSize = std::string("[s]\nfirst=0\n").size();
  for (int i = 1; i <= 20; ++i) {
    const std::string strLine = "key" + std::to_string(i) + "=v" + std::to_string(i) + "\n";
    EXPECT_NE(strAfter.find(strLine), std::string::npos) << strLine;
    nSize += strLine.size();
  }
  EXPECT_EQ(strAfter.size(), nSize) << strAfter;
  EXPECT_FALSE(initest::FileExists(strFile + ".lock"));
}

}  // namespace
