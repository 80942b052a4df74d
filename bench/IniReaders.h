// IniReaders: reading a file with our INI document and with each peer
// library, and the summary of what each one read (to check that all of them
// read the same data before any of them is timed).
#pragma once

#include <string>

#include "BenchInput.h"

class CIniFile;

CIniSummary SummaryOf(const CIniFile& ini);
// The summary of a loaded SimpleIni document (CSimpleIniA).
template <class TIni>
CIniSummary SummaryOfSimpleIni(const TIni& ini);

// inih with a handler that counts and checksums every entry it is handed.
// False when inih reports an error.
bool SummaryByInih(const std::string& strPath, CIniSummary* pSummary);
// inih with a handler that does nothing: the lower bound of any reader that
// is handed every entry. False on an error.
bool ParseWithEmptyHandler(const std::string& strPath);

// Checks INIReader against a document already known to be right: every
// entry of reference is looked up in the reader. The summary counts what the
// reader answered.
class INIReader;
CIniSummary SummaryByLookups(const INIReader& reader, const CIniFile& reference);

#include "IniReadersSimpleIni.inl"
