// FileSystemPath on posix: a path is its name's bytes.
#include "FileSystemPath.h"

std::filesystem::path FileSystemPath(const std::string& strName) { return std::filesystem::path(strName); }

std::string FileSystemName(const std::filesystem::path& path) { return path.string(); }
