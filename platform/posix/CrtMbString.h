// Multibyte string routines of the C runtime, under a single-byte code page:
// the ASCII letters fold for the case-insensitive forms, every other byte
// compares exactly, and bytes compare as unsigned values.
#pragma once

#include <cstddef>

#include "Win32Names.h"

// Compares two zero-terminated strings byte by byte; <0, 0 or >0.
int _mbscmp(const unsigned char* a, const unsigned char* b);
// As _mbscmp, with A-Z and a-z matching regardless of case.
int _mbsicmp(const unsigned char* a, const unsigned char* b);
// Number of characters before the terminating zero.
size_t _mbslen(const unsigned char* s);
