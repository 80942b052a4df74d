// Fuzz target: reading an INI document from arbitrary archive bytes through
// the object mechanism, as a host reading a stored document does.
//
// Bad input must end in an archive (or file/memory) exception, never a crash
// or a leak; a document that was read must store and read back the same.
#include <cstdint>
#include <cstdlib>

#include "CArchive.h"
#include "CException.h"
#include "CMemFile.h"
#include "ini/CIniFile.h"
#include "module/NimboInit.h"
#include "tests/ini/IniTestUtil.h"

namespace {

void Require(bool bCondition) {
  if (!bCondition) std::abort();
}

// The object read from the bytes, or null when reading threw.
CObject* ReadFrom(const BYTE* pData, UINT nSize) {
  CMemFile file(const_cast<BYTE*>(pData), nSize);
  CArchive ar(&file, CArchive::load);
  try {
    return ar.ReadObject(RUNTIME_CLASS(CIniFile));
  } catch (CException* e) {
    e->Delete();
    return nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  NimboInit();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  CObject* pObject = ReadFrom(pData, static_cast<UINT>(nSize));
  CIniFile* pIni = dynamic_cast<CIniFile*>(pObject);
  if (pObject != nullptr) Require(pIni != nullptr);
  if (pIni == nullptr) return 0;

  CMemFile stored;
  {
    CArchive ar(&stored, CArchive::store);
    ar.WriteObject(pIni);
    ar.Close();
  }
  const std::vector<BYTE> bytes = stored.GetBytes();
  CObject* pAgain = ReadFrom(bytes.data(), static_cast<UINT>(bytes.size()));
  CIniFile* pIniAgain = dynamic_cast<CIniFile*>(pAgain);
  Require(pIniAgain != nullptr && initest::Dump(*pIni) == initest::Dump(*pIniAgain));
  delete pAgain;
  delete pObject;
  return 0;
}
