// CArchive: CString insertion and extraction, 8-bit and wide forms.
#include <climits>
#include <cstring>
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
  // The common case: a short string that fits in the buffer goes straight
  // into it, prefix and bytes.
  if (nLength < 0xFF && nLength < static_cast<ULONGLONG>(ar.m_lpBufMax - ar.m_lpBufCur)) {
    *ar.m_lpBufCur = static_cast<BYTE>(nLength);
    std::memcpy(ar.m_lpBufCur + 1, string.GetString(), static_cast<size_t>(nLength));
    ar.m_lpBufCur += 1 + nLength;
    return ar;
  }
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
  // The common case: a short string whose prefix and bytes are both in the
  // buffer is taken straight from it.
  const size_t nBuffered = static_cast<size_t>(ar.m_lpBufMax - ar.m_lpBufCur);
  if (nBuffered > 0 && *ar.m_lpBufCur < 0xFF && *ar.m_lpBufCur < nBuffered) {
    const int nShort = *ar.m_lpBufCur;
    string.SetString(reinterpret_cast<const char*>(ar.m_lpBufCur + 1), nShort);
    ar.m_lpBufCur += 1 + nShort;
    return ar;
  }
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
  // A string that fits in the buffer is read ahead into it: when it is all
  // there, the file need not be asked for its length and position.
  if (nBytes > static_cast<ULONGLONG>(ar.m_lpBufMax - ar.m_lpBufCur) && nBytes <= ar.m_nBufSize)
    ar.FillBuffer(static_cast<UINT>(nBytes));
  ar.CheckBytesLeft(nBytes);

  if (!bWide) {
    if (nLength <= static_cast<ULONGLONG>(ar.m_lpBufMax - ar.m_lpBufCur)) {
      string = CString(reinterpret_cast<const char*>(ar.m_lpBufCur), static_cast<int>(nLength));
      ar.m_lpBufCur += nLength;
      return ar;
    }
    CString text;
    for (ULONGLONG nDone = 0; nDone < nLength;) {
      ULONGLONG nSlice = nLength - nDone < kSliceBytes ? nLength - nDone : kSliceBytes;
      if (nDone + nSlice > static_cast<ULONGLONG>(CString::kMaxLength)) AfxThrowMemoryException();  // beyond a CString
      char* pText = text.GetBuffer(static_cast<int>(nDone + nSlice));
      ar.ReadBytes(reinterpret_cast<BYTE*>(pText + nDone), static_cast<UINT>(nSlice));
      nDone += nSlice;
    }
    string = std::move(text);
    return ar;
  }
  std::string text;
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
    if (text.size() > static_cast<size_t>(CString::kMaxLength)) AfxThrowMemoryException();
  }
  if (bHighSurrogate) text += '?';
  string = CString(text);
  return ar;
}
