// ChildProcess: runs a piece of a test in a forked child, so that it can
// change process limits, mounts or its user without touching the test runner.
#pragma once

#include <sys/resource.h>

#include <functional>

struct CChildResult {
  bool bExited = false;  // ended by _exit / return, not by a signal
  int nStatus = -1;      // the exit status when bExited, else the signal number
  long nPeakKiB = 0;     // the child's peak resident memory
};

// Forks, runs fnBody in the child and ends the child with its result as the
// exit status (an exception escaping fnBody ends it with 125). Waits for it.
// fnBody may write a number into its argument, a slot shared with the
// parent, which pnReport (optional) receives.
CChildResult RunInChild(const std::function<int(long&)>& fnBody, long* pnReport = nullptr);

// Memory of the calling process from /proc/self/status, in KiB: the peak
// resident size (VmHWM), the resident size now (VmRSS) and the address
// space (VmSize). -1 when unknown.
long ProcStatusKiB(const char* pszField);
// Starts a new peak: VmHWM becomes the resident size now. False when the
// kernel does not offer it.
bool ResetPeakResident();

// True when the tests were built with AddressSanitizer, which reserves far
// more address space than any small limit allows.
bool BuiltWithAddressSanitizer();
