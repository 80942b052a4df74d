// Resource limits, for the test suites on Windows, which has none of its own
// for a process's file sizes: every call fails (ENOSYS).
#pragma once

#include <errno.h>

typedef unsigned long long rlim_t;
struct rlimit {
  rlim_t rlim_cur;
  rlim_t rlim_max;
};
#define RLIMIT_FSIZE 1
#define RLIMIT_NOFILE 7
#define RLIM_INFINITY (~0ULL)

inline int getrlimit(int nResource, struct rlimit* pLimit) {
  (void)nResource;
  (void)pLimit;
  errno = ENOSYS;
  return -1;
}
inline int setrlimit(int nResource, const struct rlimit* pLimit) {
  (void)nResource;
  (void)pLimit;
  errno = ENOSYS;
  return -1;
}
