// CArchive: CString insertion and extraction, 8-bit and wide forms.
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "CArchive.h"

namespace {

// Strings are read in slices of this size, so that memory follows the
// bytes actually present even where the bytes left cannot be known.
const ULONGLONG kSliceBytes = 64 * 1024;

}  // namespace

CArchive& AFXAPI operator<<(CArchive& ar, const CString& string) {
  ar.CheckStoring();
  ULONGLONG nLength = static_cast<ULONGLONG>(string.GetLength());
  if (nLength < 0xFF) {
    ar.WriteUnsigned(nLength, 1);
  } else if (nLength < 0xFFFE) {
    ar.WriteUnsigned(0xFF, 1);
    ar.WriteUnsigned(nLength, 2);
  } else {
    ar.WriteUnsigned(0xFF, 1);
    ar.WriteUnsigned(0xFFFF, 2);
    ar.WriteUnsigned(nLength, 4);
  }
  ar.WriteBytes(reinterpret_cast<const BYTE*>(string.GetString()), static_cast<UINT>(nLength));
  return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CString& string) {
  ar.CheckLoading();
  bool bWide = false;
  ULONGLONG nLength = ar.ReadUnsigned(1);
  if (nLength == 0xFF) {
    nLength = ar.ReadUnsigned(2);
    if (nLength == 0xFFFE) {
      // The wide marker; the ordinary prefix follows.
      bWide = true;
      nLength = ar.ReadUnsigned(1);
      if (nLength == 0xFF) nLength = ar.ReadUnsigned(2);
    }
    if (nLength == 0xFFFF) nLength = ar.ReadUnsigned(4);
  }
  ULONGLONG nBytes = bWide ? 2 * nLength : nLength;
  ar.CheckBytesLeft(nBytes);

  std::string text;
  if (!bWide) {
    while (text.size() < nLength) {
      size_t nOld = text.size();
      ULONGLONG nSlice = nLength - nOld < kSliceBytes ? nLength - nOld : kSliceBytes;
      if (nOld + nSlice > static_cast<ULONGLONG>(INT_MAX)) AfxThrowMemoryException();  // beyond a CString
      text.resize(nOld + static_cast<size_t>(nSlice));
      ar.ReadBytes(reinterpret_cast<BYTE*>(&text[nOld]), static_cast<UINT>(nSlice));
    }
  } else {
    // UTF-16 to the single-byte code page: a character up to 0xFF is that
    // byte, any other "?"; a surrogate pair is one character.
    std::vector<BYTE> slice(static_cast<size_t>(nBytes < kSliceBytes ? nBytes : kSliceBytes));
    bool bHighSurrogate = false;
    for (ULONGLONG nDone = 0; nDone < nBytes;) {
      UINT nSlice = static_cast<UINT>(nBytes - nDone < kSliceBytes ? nBytes - nDone : kSliceBytes);
      ar.ReadBytes(slice.data(), nSlice);
      nDone += nSlice;
      for (UINT i = 0; i < nSlice; i += 2) {
        unsigned nUnit = slice[i] | (static_cast<unsigned>(slice[i + 1]) << 8);
        if (bHighSurrogate) {
          bHighSurrogate = false;
          text += '?';
          if (nUnit >= 0xDC00 && nUnit <= 0xDFFF) continue;  // the pair is complete
        }
        if (nUnit >= 0xD800 && nUnit <= 0xDBFF)
          bHighSurrogate = true;
        else
          text += nUnit <= 0xFF ? static_cast<char>(nUnit) : '?';
      }
      if (text.size() > static_cast<size_t>(INT_MAX)) AfxThrowMemoryException();
    }
    if (bHighSurrogate) text += '?';
  }
  string = CString(std::move(text));
  return ar;
}
