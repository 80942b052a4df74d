// FileSystemPath: std::filesystem paths made from, and given back as, the
// narrow names that the program hands the system's file calls (fopen,
// CreateFileA, FindFirstFileA). On Windows those names are in the process's
// code page, UTF-8 for the nimbo tool and a host's ANSI code page inside a
// host, while std::filesystem's own conversion of a narrow name there uses
// neither; so a name goes through these two on its way to or from a path,
// and a file found by one call opens with the other. Declared once; each
// side defines them (posix: the bytes as they are).
#pragma once

#include <filesystem>
#include <string>

// The path of the file named strName.
std::filesystem::path FileSystemPath(const std::string& strName);

// The name of path, as the system's narrow calls take it. A character the
// process's code page cannot write is written as that code page's default
// character, so such a name opens nothing.
std::string FileSystemName(const std::filesystem::path& path);
