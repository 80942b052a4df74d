// Handle values of the in-process window system (internal): one counter for
// windows, graphics objects, device contexts, image lists and hooks, so no
// handle value is ever given out twice while the process lives.
#pragma once

#include <cstdint>

// A new handle value, never 0 and never seen before.
uintptr_t SimNewHandleValue();

template <class THandle>
THandle SimNewHandle() {
  return reinterpret_cast<THandle>(SimNewHandleValue());
}
