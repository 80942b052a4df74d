// CPathEx on Windows: "\\" joins; "/" separates as well.
#include "tamsin/CPathEx.h"

const char CPathEx::kSeparator = '\\';

bool CPathEx::IsSeparator(char c) { return c == '\\' || c == '/'; }
