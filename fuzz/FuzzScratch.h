// FuzzScratch: a per-process scratch directory for fuzz targets that must go
// through files.
#pragma once

#include <string>

// The scratch directory (created on first use, under /dev/shm when there is
// one, else /tmp), without a trailing slash. Aborts when none can be made.
const std::string& FuzzScratchDir();

// Writes nSize bytes to strPath (replacing it); aborts on failure, since a
// target that cannot write its input tests nothing.
void FuzzWriteFile(const std::string& strPath, const unsigned char* pData, size_t nSize);
