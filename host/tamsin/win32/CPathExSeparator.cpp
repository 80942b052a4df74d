// CPathEx on Windows: a backslash joins; "/" separates as well.
#include "tamsin/CPathEx.h"

const char CPathEx::kSeparator = '\\';

bool CPathEx::IsSeparator(char c) { return c == '\\' || c == '/'; }
