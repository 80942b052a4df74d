// Reading a whole file for a command, with the message a person needs when
// that fails.
#pragma once

#include <string>

namespace nimbo {

// The bytes of the file at strPath. False with "cannot read PATH: reason"
// in strError (the system's reason: "No such file or directory", "Is a
// directory", "Permission denied", ...).
bool ReadWholeFile(const std::string& strPath, std::string& strBytes, std::string& strError);

}  // namespace nimbo
