// Exit statuses of child processes, for the test suites on Windows: the C
// runtime's system() and _pclose() return the exit code itself.
#pragma once

#define WIFEXITED(status) ((status) != -1)
#define WEXITSTATUS(status) (status)
#define WIFSIGNALED(status) 0
#define WTERMSIG(status) 0
