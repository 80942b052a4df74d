// IniArchiveFiles: a document stored into and read back from an archive
// file, as the benchmark rows and the profiling driver use them.
#pragma once

#include <memory>
#include <string>

class CIniFile;

// Stores the document as an object into a file; false on an archive or file error.
bool StoreArchive(CIniFile& ini, const std::string& strPath);
// The document read back from an archive file, or null.
std::unique_ptr<CIniFile> LoadArchive(const std::string& strPath);
