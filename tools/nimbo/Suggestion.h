// What a mistyped command, action or option was probably meant to be.
#pragma once

#include <string>
#include <vector>

namespace nimbo {

// The candidates that strWord most likely meant: those it begins (`nimbo
// ini rename` -> rename-key, rename-section), else the nearest of those
// within two typing slips (a letter wrong, missing, extra or two swapped;
// `edt` -> edit) and fewer slips than the word's length; at most three.
std::vector<std::string> NearestNames(const std::string& strWord, const std::vector<std::string>& candidates);

// ", did you mean 'edit'?" or ", did you mean 'rename-key' or
// 'rename-section'?"; empty when there is no candidate.
std::string DidYouMean(const std::vector<std::string>& names);

}  // namespace nimbo
