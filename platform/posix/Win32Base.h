// Win32 base services that the window code leans on: MulDiv, the tick count
// and the calling thread's identifier.
#pragma once

#include "Win32Def.h"

// nNumber * nNumerator / nDenominator, with the product held in 64 bits and
// the quotient rounded to the nearest integer, halves away from zero
// (MulDiv(1, 3, 2) == 2, MulDiv(-1, 3, 2) == -2, MulDiv(5, 1, 3) == 2).
// The signs of all three arguments count: a negative denominator negates the
// result. Returns -1 when nDenominator is 0 or when the rounded result does
// not fit in 32 signed bits (so -1 is also a genuine result; callers that
// must tell them apart check the denominator themselves).
int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator);

// Milliseconds since the process started, plus any offset the simulation
// added (CSimDesktop::AdvanceTickCount); wraps at 2^32 like the real count.
DWORD WINAPI GetTickCount();

// A number identifying the calling thread (never 0).
DWORD WINAPI GetCurrentThreadId();
