// The name ordering of the INI document store, and its index.
#include "ini/CNameIndex.h"

#include <algorithm>
#include <cstring>

#include "CrtMbString.h"

namespace {

inline uint64_t Load8(const unsigned char* p) {
  uint64_t n;
  std::memcpy(&n, p, sizeof n);
  return n;
}

const uint64_t kHighBits = 0x8080808080808080ULL;

inline bool HasZeroByte(uint64_t n) { return ((n - 0x0101010101010101ULL) & ~n & kHighBits) != 0; }

bool IsLittleEndian() {
  const uint16_t n = 1;
  unsigned char c;
  std::memcpy(&c, &n, 1);
  return c == 1;
}

// The index (0 to 7) of the first byte in memory order that is not zero in
// a word loaded from memory; nDiffer is not 0.
inline size_t FirstNonZeroByte(uint64_t nDiffer) {
  if (IsLittleEndian()) {
    // The lowest set bit, found by a de Bruijn multiplication.
    static const unsigned char kBitIndex[64] = {0,  1,  48, 2,  57, 49, 28, 3,  61, 58, 50, 42, 38, 29, 17, 4,
                                                62, 55, 59, 36, 53, 51, 43, 22, 45, 39, 33, 30, 24, 18, 12, 5,
                                                63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21, 44, 32, 23, 11,
                                                46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9,  13, 8,  7,  6};
    return kBitIndex[((nDiffer & (0 - nDiffer)) * 0x03f79d71b4cb0a89ULL) >> 58] / 8;
  }
  size_t i = 0;
  while ((nDiffer >> (56 - 8 * i) & 0xFF) == 0) ++i;
  return i;
}

// _mbsicmp(a, b) < 0, both texts holding their terminating zero, the bytes
// before nStart known to be the same ASCII text in both but for letter case
// (so nStart begins a character). Names in one index often share long
// leading parts ("section0001..."): equal bytes need no folding, so whole words are
// compared until one differs, and _mbsicmp decides from there. A word that
// holds a byte of 0x80 or above may hold the first byte of a two-byte
// character, and a zero byte is the end of the text (or a zero inside, where
// _mbsicmp stops as C strings do): either is left to _mbsicmp from the start
// of that word, which then begins a character.
bool LessNoCase(const char* pszA, int nLengthA, const char* pszB, int nLengthB, size_t nStart) {
  const unsigned char* pa = reinterpret_cast<const unsigned char*>(pszA);
  const unsigned char* pb = reinterpret_cast<const unsigned char*>(pszB);
  const size_t nCommon = static_cast<size_t>(std::min(nLengthA, nLengthB)) + 1;
  size_t i = nStart;
  for (; i + 8 <= nCommon; i += 8) {
    const uint64_t nWord = Load8(pa + i);
    if ((nWord & kHighBits) != 0 || HasZeroByte(nWord)) break;
    const uint64_t nDiffer = nWord ^ Load8(pb + i);
    if (nDiffer != 0) {
      i += FirstNonZeroByte(nDiffer);
      break;
    }
  }
  return _mbsicmp(pa + i, pb + i) < 0;
}

// The rank of each ASCII byte in the case-insensitive order, taken from
// _mbsicmp itself so that the keys order names exactly as it does: 0 for
// the zero byte, letters of either case share one rank.
struct RANK_TABLE {
  unsigned char anRank[128];
  RANK_TABLE() {
    unsigned char achBytes[127];
    for (int c = 1; c < 128; ++c) achBytes[c - 1] = static_cast<unsigned char>(c);
    auto Compare = [](unsigned char a, unsigned char b) {
      const unsigned char sza[2] = {a, 0};
      const unsigned char szb[2] = {b, 0};
      return _mbsicmp(sza, szb);
    };
    std::sort(achBytes, achBytes + 127, [&](unsigned char a, unsigned char b) { return Compare(a, b) < 0; });
    anRank[0] = 0;
    unsigned char nRank = 1;
    anRank[achBytes[0]] = nRank;
    for (int i = 1; i < 127; ++i) {
      if (Compare(achBytes[i - 1], achBytes[i]) != 0) ++nRank;
      anRank[achBytes[i]] = nRank;
    }
  }
};

const RANK_TABLE& Ranks() {
  static const RANK_TABLE table;
  return table;
}

}  // namespace

bool CNoCaseLess::operator()(const CString& a, const CString& b) const {
  return LessNoCase(a, a.GetLength(), b, b.GetLength(), 0);
}

CIndexName::CIndexName(const CString& strName) : m_pszName(strName), m_nLength(strName.GetLength()) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(m_pszName);
  const unsigned char* anRank = Ranks().anRank;
  // The key is gathered in a local: the text's bytes may alias any member,
  // so building it in m_nKey would store and reload it on every byte. The
  // text ends with a zero byte, so the loop stops inside it; after the first
  // zero byte the key is filled with zeros, as C strings compare.
  uint64_t nKey = 0;
  int i = 0;
  for (; i < 8 && p[i] != 0; ++i) {
    if (p[i] >= 0x80) {
      m_nKey = kNoKey;
      return;
    }
    nKey = nKey << 8 | anRank[p[i]];
  }
  if (i > 0) nKey <<= 8 * (8 - i);  // an empty name keeps the key 0
  m_nKey = nKey;
}

bool CIndexLess::CompareTexts(const CIndexName& a, const CIndexName& b) {
  if (((a.m_nKey | b.m_nKey) & CIndexName::kNoKey) != 0)
    return LessNoCase(a.m_pszName, a.m_nLength, b.m_pszName, b.m_nLength, 0);
  // The same key: the first eight bytes are the same ASCII text but for
  // letter case. A key that ends in the zero byte's rank stands for a name
  // that ended within them, and so did the other: the names are the same.
  if ((a.m_nKey & 0xFF) == 0) return false;
  return LessNoCase(a.m_pszName, a.m_nLength, b.m_pszName, b.m_nLength, 8);
}

namespace {

// The tree of recent names is merged into the array once it holds more than
// this, for an array of nSorted names.
inline size_t MergeAt(size_t nSorted) { return 32 + nSorted / 4; }

}  // namespace

const CIndexEntry* CNameIndex::FindSorted(const CIndexName& name) const {
  const CIndexLess less;
  auto found = std::lower_bound(m_sorted.begin(), m_sorted.end(), name,
                                [&less](const CIndexEntry& entry, const CIndexName& n) { return less(entry.name, n); });
  if (found == m_sorted.end() || less(name, found->name)) return nullptr;
  return &*found;
}

const int* CNameIndex::Find(const CIndexName& name) const {
  // A name after every name so far, the common case when a file written in
  // order is read, is told with one comparison.
  if (m_recent.empty() && (m_sorted.empty() || CIndexLess()(m_sorted.back().name, name))) return nullptr;
  if (const CIndexEntry* pEntry = FindSorted(name)) return &pEntry->nPos;
  if (m_recent.empty()) return nullptr;
  auto found = m_recent.find(name);
  return found == m_recent.end() ? nullptr : &found->second;
}

void CNameIndex::Insert(const CIndexName& name, int nPos) {
  if (m_recent.empty() && (m_sorted.empty() || CIndexLess()(m_sorted.back().name, name))) {
    m_sorted.push_back({name, nPos});
    return;
  }
  m_recent.emplace(name, nPos);
  if (m_recent.size() > MergeAt(m_sorted.size())) Compact();
}

int CNameIndex::Erase(const CIndexName& name) {
  if (const CIndexEntry* pEntry = FindSorted(name)) {
    const int nPos = pEntry->nPos;
    m_sorted.erase(m_sorted.begin() + (pEntry - m_sorted.data()));
    return nPos;
  }
  auto found = m_recent.find(name);
  if (found == m_recent.end()) return -1;
  const int nPos = found->second;
  m_recent.erase(found);
  return nPos;
}

void CNameIndex::CloseGap(int nPos) {
  for (CIndexEntry& entry : m_sorted)
    if (entry.nPos > nPos) --entry.nPos;
  for (auto& entry : m_recent)
    if (entry.second > nPos) --entry.second;
}

void CNameIndex::Assign(std::vector<CIndexEntry>&& sorted) {
  m_recent.clear();
  m_sorted = std::move(sorted);
}

void CNameIndex::Compact() {
  if (m_recent.empty()) return;
  std::vector<CIndexEntry> merged;
  merged.reserve(m_sorted.size() + m_recent.size());
  const CIndexLess less;
  auto sorted = m_sorted.begin();
  for (const auto& entry : m_recent) {
    while (sorted != m_sorted.end() && less(sorted->name, entry.first)) merged.push_back(*sorted++);
    merged.push_back({entry.first, entry.second});
  }
  merged.insert(merged.end(), sorted, m_sorted.end());
  m_sorted.swap(merged);
  m_recent.clear();
}

void CNameIndex::Shrink() {
  Compact();
  m_sorted.shrink_to_fit();
}

void CNameIndex::Clear() {
  m_recent.clear();
  m_sorted.clear();
}
