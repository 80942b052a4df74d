// Fuzz target: the user catalogue's scan for function definitions over
// arbitrary script text.
//
// Beyond "no crash": every call either catalogues a definition or reports the
// end of the text, so the scan ends within a bounded number of calls, and
// every prototype begins with its function's name and ends with ")".
#include <cstdint>
#include <cstdlib>

#include "catalog/CZoFuncInfoUser.h"
#include "darnel2/CCodeStringStream.h"
#include "darnel2/CTokenizer.h"

namespace {

class CScanningCatalog : public CZoFuncInfoUser {
 public:
  using CZoFuncInfoUser::GetNextFunction;
};

void Require(bool bCondition) {
  if (!bCondition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  CCodeStringStream stream(CString(reinterpret_cast<const char*>(pData), static_cast<int>(nSize)));
  CTokenizer tokenizer(&stream, (nSize & 1) != 0);
  CScanningCatalog catalog;
  size_t nCalls = 0;
  while (catalog.GetNextFunction(tokenizer)) {
    // Each definition consumes at least its header word, name and parentheses.
    Require(++nCalls <= nSize);
  }
  Require(!catalog.GetNextFunction(tokenizer));  // the end stays the end
  for (const auto& entry : catalog) {
    const CString& strName = entry.first;
    const CString& strPrototype = entry.second;
    Require(!strName.IsEmpty());
    Require(strPrototype.Left(strName.GetLength()) == strName);
    Require(strPrototype.Right(1) == ")");
  }
  return 0;
}
