// CMemFile: a CFile kept in memory, growing as it is written.
//
// The file either owns its block (allocated with malloc, grown in steps of
// nGrowBytes) or works over a caller's block. Over a caller's block with
// nGrowBytes 0, the block's bytes are the file's content and a write past
// its end throws CMemoryException*. With nGrowBytes above 0 the block is
// only initial room (the file starts empty); when it must grow, the content
// moves to a block of the file's own and the caller's block stays the
// caller's (it is never reallocated or freed by the file).
#pragma once

#include <vector>

#include "CFile.h"

class CMemFile : public CFile {
  DECLARE_DYNAMIC(CMemFile)

 public:
  explicit CMemFile(UINT nGrowBytes = 1024);
  // Works over the caller's lpBuffer, as described above.
  CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  ~CMemFile() override;
  // A memory file owns its block.
  CMemFile(const CMemFile&) = delete;
  CMemFile& operator=(const CMemFile&) = delete;

  // Replaces the content by a caller's block, as the second constructor does.
  void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
  // Hands the block to the caller and empties the file. A block the file
  // allocated must be released with free(); null when the file has none.
  BYTE* Detach();

  // A copy of the content (GetLength() bytes).
  std::vector<BYTE> GetBytes() const;

  // Reads from the position; 0 at or past the end.
  UINT Read(void* lpBuf, UINT nCount) override;
  // Writes at the position, growing the file; a gap left by seeking past
  // the end is filled with zeros.
  void Write(const void* lpBuf, UINT nCount) override;
  // Any position from 0 up is allowed; before 0 throws badSeek.
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override { return m_nPosition; }
  ULONGLONG GetLength() const override { return m_nFileSize; }
  void SetLength(ULONGLONG dwNewLen) override;
  void Flush() override {}
  // Releases an owned block and empties the file.
  void Close() override;
  void Abort() override { Close(); }
  CString GetFilePath() const override { return CString(); }

 protected:
  // Makes room for at least nNewSize bytes; throws CMemoryException*.
  void GrowFile(size_t nNewSize);

  BYTE* m_lpBuffer;
  size_t m_nBufferSize;  // bytes allocated
  size_t m_nFileSize;    // bytes of content
  size_t m_nPosition;
  UINT m_nGrowBytes;
  bool m_bAutoDelete;  // the block is the file's own (malloc) and freed by it
};
