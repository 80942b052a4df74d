// The name ordering of the INI document store.
#include "ini/CNamedArray.h"

#include "MbString.h"

bool CNoCaseLess::operator()(const CString& a, const CString& b) const {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(a)),
                  reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(b))) < 0;
}
