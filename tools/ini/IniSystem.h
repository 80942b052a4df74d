// IniSystem: what the ini commands ask of the system that Windows answers
// its own way, one definition per platform side (posix/IniSystem.cpp; on
// Windows, win32/IniSystem.cpp).
#pragma once

#include <string>

namespace nimbo {
namespace ini {

// From now on standard output passes bytes untranslated (a file's text with
// its own line ends; the C runtime of Windows would write each LF as CR LF).
void SetStdoutBinary();

// A path given on the command line in the form the system's own calls take:
// on Windows "/" becomes "\", the only separator at which the image-help
// library's MakeSureDirectoryPathExists makes a new file's folders.
std::string SystemPath(const std::string& strPath);

}  // namespace ini
}  // namespace nimbo
