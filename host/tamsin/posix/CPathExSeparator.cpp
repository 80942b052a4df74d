// CPathEx on POSIX: "/" is the one separator.
#include "tamsin/CPathEx.h"

const char CPathEx::kSeparator = '/';

bool CPathEx::IsSeparator(char c) { return c == '/'; }
