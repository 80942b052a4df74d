// Export table and section walks over the module's PE headers.
#include "ModuleImage.h"

namespace {

const IMAGE_NT_HEADERS* NtHeaders(HMODULE hModule) {
  const BYTE* pBase = reinterpret_cast<const BYTE*>(hModule);
  return reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
}

}  // namespace

std::vector<std::string> ExportedNames(HMODULE hModule) {
  std::vector<std::string> names;
  if (hModule == nullptr) return names;
  const BYTE* pBase = reinterpret_cast<const BYTE*>(hModule);
  const IMAGE_DATA_DIRECTORY& dir = NtHeaders(hModule)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (dir.VirtualAddress == 0) return names;
  const auto* pExports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(pBase + dir.VirtualAddress);
  const auto* pNames = reinterpret_cast<const DWORD*>(pBase + pExports->AddressOfNames);
  for (DWORD i = 0; i < pExports->NumberOfNames; ++i) names.push_back(reinterpret_cast<const char*>(pBase + pNames[i]));
  return names;
}

bool ImportsFrom(HMODULE hModule, const char* pszDll) {
  const BYTE* pBase = reinterpret_cast<const BYTE*>(hModule);
  const IMAGE_DATA_DIRECTORY& dir = NtHeaders(hModule)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return false;
  for (auto* pDesc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + dir.VirtualAddress); pDesc->Name != 0;
       ++pDesc)
    if (lstrcmpiA(reinterpret_cast<const char*>(pBase + pDesc->Name), pszDll) == 0) return true;
  return false;
}

void* StaticObjectByVtable(HMODULE hModule, const char* pszVtable) {
  const BYTE* pVtable = reinterpret_cast<const BYTE*>(GetProcAddress(hModule, pszVtable));
  if (pVtable == nullptr) return nullptr;
  // An object points past the table's offset-to-top and type-information slots.
  const void* pAddressPoint = pVtable + 2 * sizeof(void*);
  BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
  const IMAGE_NT_HEADERS* pNt = NtHeaders(hModule);
  const IMAGE_SECTION_HEADER* pSection = IMAGE_FIRST_SECTION(pNt);
  for (WORD i = 0; i < pNt->FileHeader.NumberOfSections; ++i, ++pSection) {
    if ((pSection->Characteristics & IMAGE_SCN_MEM_WRITE) == 0) continue;
    void** ppWord = reinterpret_cast<void**>(pBase + pSection->VirtualAddress);
    void** ppEnd = ppWord + pSection->Misc.VirtualSize / sizeof(void*);
    for (; ppWord < ppEnd; ++ppWord)
      if (*ppWord == pAddressPoint) return ppWord;
  }
  return nullptr;
}
