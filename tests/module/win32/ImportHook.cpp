// Import and export table lookup and patching over the modules' PE headers.
#include "ImportHook.h"

#include <cstring>

namespace {

// The start of the module's data directory nEntry, or null when it has none.
BYTE* DirectoryOf(HMODULE hModule, int nEntry) {
  BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
  if (pBase == nullptr) return nullptr;
  const auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
  const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
  const DWORD nAddress = pNt->OptionalHeader.DataDirectory[nEntry].VirtualAddress;
  return nAddress == 0 ? nullptr : pBase + nAddress;
}

}  // namespace

void** FindImportSlot(HMODULE hModule, const char* pszDll, const char* pszName) {
  BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
  BYTE* pImports = DirectoryOf(hModule, IMAGE_DIRECTORY_ENTRY_IMPORT);
  if (pImports == nullptr) return nullptr;
  for (auto* pDesc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pImports); pDesc->Name != 0; ++pDesc) {
    if (lstrcmpiA(reinterpret_cast<const char*>(pBase + pDesc->Name), pszDll) != 0) continue;
    auto* pNames = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->OriginalFirstThunk);
    auto* pSlots = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->FirstThunk);
    for (; pNames->u1.AddressOfData != 0; ++pNames, ++pSlots) {
      if (IMAGE_SNAP_BY_ORDINAL(pNames->u1.Ordinal)) continue;
      const auto* pByName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pNames->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(pByName->Name), pszName) == 0)
        return reinterpret_cast<void**>(&pSlots->u1.Function);
    }
  }
  return nullptr;
}

void* ReplaceImport(void** ppSlot, void* pNew) {
  if (ppSlot == nullptr) return nullptr;
  DWORD dwOld = 0;
  VirtualProtect(ppSlot, sizeof *ppSlot, PAGE_READWRITE, &dwOld);
  void* pOld = *ppSlot;
  *ppSlot = pNew;
  VirtualProtect(ppSlot, sizeof *ppSlot, dwOld, &dwOld);
  return pOld;
}

DWORD* FindExportSlot(HMODULE hModule, const char* pszName) {
  BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
  const auto* pExports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(DirectoryOf(hModule, IMAGE_DIRECTORY_ENTRY_EXPORT));
  if (pExports == nullptr) return nullptr;
  const auto* pNames = reinterpret_cast<const DWORD*>(pBase + pExports->AddressOfNames);
  const auto* pOrdinals = reinterpret_cast<const WORD*>(pBase + pExports->AddressOfNameOrdinals);
  auto* pFunctions = reinterpret_cast<DWORD*>(pBase + pExports->AddressOfFunctions);
  for (DWORD i = 0; i < pExports->NumberOfNames; ++i)
    if (std::strcmp(reinterpret_cast<const char*>(pBase + pNames[i]), pszName) == 0) return &pFunctions[pOrdinals[i]];
  return nullptr;
}

void* ReplaceExport(HMODULE hModule, DWORD* pSlot, void* pNew) {
  if (pSlot == nullptr) return nullptr;
  BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
  DWORD dwOld = 0;
  VirtualProtect(pSlot, sizeof *pSlot, PAGE_READWRITE, &dwOld);
  void* pOld = pBase + *pSlot;
  // A relative address in 32 bits, as the loader adds it to the base: a
  // function below the DLL's base wraps around to the right place.
  *pSlot = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(pNew) - reinterpret_cast<UINT_PTR>(pBase));
  VirtualProtect(pSlot, sizeof *pSlot, dwOld, &dwOld);
  return pOld;
}
