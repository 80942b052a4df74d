// StringsAcrossThreads: the resident memory of strings made on one thread
// and freed on another, for the memory probe.
#pragma once

struct CResidentGrowth {
  long nFirstKiB = 0;  // resident memory after the first million strings
  long nEndKiB = 0;    // resident memory after the last
};

// A producer makes nStrings short strings of varied lengths in batches of
// 1,000 and hands them to a consumer, which frees them; at most 10,000 are
// alive at any time, so resident memory should stay flat.
CResidentGrowth StringsAcrossThreads(long nStrings);
