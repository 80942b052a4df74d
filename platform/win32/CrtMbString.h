// Multibyte string routines of the C runtime (_mbscmp, _mbsicmp, _mbslen),
// from the runtime itself; they follow the runtime's multibyte code page.
#pragma once

#include <mbstring.h>
