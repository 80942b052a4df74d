// The help of `nimbo ini` and its actions beyond what their options say:
// notes (exit statuses, what a change keeps) and examples.
#pragma once

#include <string>
#include <vector>

namespace nimbo {
namespace ini {

// The notes under the options of an action's help ("" for `nimbo ini` itself).
std::string IniHelpNotes(const std::string& strAction);
// One or two command lines that use the action ("" for `nimbo ini` itself).
std::vector<std::string> IniHelpExamples(const std::string& strAction);

}  // namespace ini
}  // namespace nimbo
