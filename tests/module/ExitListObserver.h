// Observes the construction and destruction of named static objects of the
// modules that the test process loads, through the C++ runtime's exit list.
#pragma once

#include <string>
#include <vector>

namespace moduletest {

// The events seen since the last ClearLifetimeEvents, oldest first, as
// "construct NAME init=I term=T classes=C" or "destroy NAME init=I term=T
// classes=C", where NAME is a watched global object, I and T are the numbers
// of AfxInitExtensionModule and AfxTermExtensionModule calls at that moment,
// and C is the number of run-time classes registered since the loading
// module's mark and not yet taken into its record.
// A static object's construction is seen when it registers its destructor,
// right after its constructor finished.
std::vector<std::string> LifetimeEvents();
void ClearLifetimeEvents();

// The address of the watched object of that name constructed last, or null.
void* WatchedObject(const char* pszName);

}  // namespace moduletest
