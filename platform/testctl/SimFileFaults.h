// Test controls of the file system: the rarer ways a whole-file save's
// ReplaceFile fails, and writes that fail part-way through a save, which no
// real file system produces on demand (and Wine never does). Windows only:
// the posix side replaces a file with rename(2), which either happens or
// leaves both names as they were, and its in-place writes are cut short by
// strace's fault injection instead. Part of the test-control library (nimbo_testctl), which only
// tests link.
#pragma once

#include "Win32Def.h"

class CSimFileFaults {
 public:
  // The platform layer's next ReplaceFileA fails with dwError after doing to
  // the files what the system documents for that failure:
  //   ERROR_UNABLE_TO_MOVE_REPLACEMENT (1176): with a backup name, both
  //     files keep their names; without one, the replaced file is deleted
  //     and the replacement keeps its name;
  //   ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 (1177): the replaced file is under
  //     the backup name, the replacement under its own;
  //   anything else: nothing is moved.
  // With bRefuseMovingReplacement, every later MoveFileExA of the platform
  // layer that would move that replacement file fails too
  // (ERROR_ACCESS_DENIED), until Reset. False when the platform layer's
  // import of ReplaceFileA or MoveFileExA cannot be found.
  static bool FailNextReplace(DWORD dwError, bool bRefuseMovingReplacement);
  // The ReplaceFileA calls failed since the last FailNextReplace.
  static int GetFailedReplaces();
  // The platform layer's WriteFile calls after the next nWrites fail with
  // ERROR_DISK_FULL once the first half of their bytes is written (a disk
  // that fills up part-way): the one that follows them, or with bThenAll
  // every one until Reset (a disk that stays full). False when the
  // platform layer's import of WriteFile cannot be found.
  static bool FailWritesAfter(int nWrites, bool bThenAll);
  // The platform layer calls the system's own functions again.
  static void Reset();
};
