// CSimFileFaults on Windows: the platform layer's import-table slots of
// ReplaceFileA, MoveFileExA and WriteFile are pointed at stand-ins for as
// long as a fault is asked for, so that the platform layer a host loads carries no
// hook of its own.
#include "SimFileFaults.h"

#include <string>

namespace {

typedef BOOL(WINAPI* PFN_REPLACE)(LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID);
typedef BOOL(WINAPI* PFN_MOVE)(LPCSTR, LPCSTR, DWORD);
typedef BOOL(WINAPI* PFN_WRITE)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

struct CFaultState {
  void** ppReplaceSlot = nullptr;  // the platform layer's import slots
  void** ppMoveSlot = nullptr;
  PFN_REPLACE pfnReplace = nullptr;  // the system's functions
  PFN_MOVE pfnMove = nullptr;
  DWORD dwError = ERROR_SUCCESS;  // the next ReplaceFileA's failure
  bool bRefuseMove = false;
  std::string strReplacement;  // the file that may then not move
  int nFailed = 0;
  void** ppWriteSlot = nullptr;
  PFN_WRITE pfnWrite = nullptr;
  int nWritesLeft = 0;  // before the writes fail
  bool bFailAllWrites = false;
};
CFaultState g_state;

// The import slot through which hModule calls pszFunction, or null.
void** ImportSlot(HMODULE hModule, const char* pszFunction) {
  BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
  const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + reinterpret_cast<IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return nullptr;
  for (auto* pDll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress); pDll->Name != 0; ++pDll) {
    if (pDll->OriginalFirstThunk == 0) continue;
    auto* pName = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDll->OriginalFirstThunk);
    auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDll->FirstThunk);
    for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot) {
      if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal)) continue;
      const auto* pByName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<const char*>(pByName->Name), pszFunction) == 0)
        return reinterpret_cast<void**>(&pSlot->u1.Function);
    }
  }
  return nullptr;
}

void SetSlot(void** ppSlot, void* pFunction) {
  DWORD dwProtect = 0;
  if (!VirtualProtect(ppSlot, sizeof *ppSlot, PAGE_READWRITE, &dwProtect)) return;
  *ppSlot = pFunction;
  VirtualProtect(ppSlot, sizeof *ppSlot, dwProtect, &dwProtect);
}

BOOL WINAPI FailingReplace(LPCSTR pszReplaced, LPCSTR pszReplacement, LPCSTR pszBackup, DWORD, LPVOID, LPVOID) {
  SetSlot(g_state.ppReplaceSlot, reinterpret_cast<void*>(g_state.pfnReplace));  // only the next call fails
  if (g_state.dwError == ERROR_UNABLE_TO_MOVE_REPLACEMENT && pszBackup == nullptr)
    DeleteFileA(pszReplaced);
  else if (g_state.dwError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
    g_state.pfnMove(pszReplaced, pszBackup, MOVEFILE_REPLACE_EXISTING);
  g_state.strReplacement = pszReplacement;
  ++g_state.nFailed;
  SetLastError(g_state.dwError);
  return FALSE;
}

BOOL WINAPI RefusingMove(LPCSTR pszFrom, LPCSTR pszTo, DWORD dwFlags) {
  if (g_state.bRefuseMove && !g_state.strReplacement.empty() && lstrcmpiA(pszFrom, g_state.strReplacement.c_str()) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return g_state.pfnMove(pszFrom, pszTo, dwFlags);
}

BOOL WINAPI FailingWrite(HANDLE hFile, LPCVOID pData, DWORD nBytes, LPDWORD pnWritten, LPOVERLAPPED pOverlapped) {
  if (g_state.nWritesLeft > 0) {
    --g_state.nWritesLeft;
    return g_state.pfnWrite(hFile, pData, nBytes, pnWritten, pOverlapped);
  }
  if (!g_state.bFailAllWrites) SetSlot(g_state.ppWriteSlot, reinterpret_cast<void*>(g_state.pfnWrite));
  // The disk fills up part-way through: the first half of the bytes lands.
  DWORD nWritten = 0;
  if (nBytes / 2 > 0) g_state.pfnWrite(hFile, pData, nBytes / 2, &nWritten, pOverlapped);
  if (pnWritten != nullptr) *pnWritten = 0;
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

}  // namespace

bool CSimFileFaults::FailWritesAfter(int nWrites, bool bThenAll) {
  Reset();
  const HMODULE hPlatform = GetModuleHandleA("nimbo_platform.dll");
  if (hPlatform == nullptr || (g_state.ppWriteSlot = ImportSlot(hPlatform, "WriteFile")) == nullptr) return false;
  g_state.pfnWrite = reinterpret_cast<PFN_WRITE>(*g_state.ppWriteSlot);
  g_state.nWritesLeft = nWrites;
  g_state.bFailAllWrites = bThenAll;
  SetSlot(g_state.ppWriteSlot, reinterpret_cast<void*>(&FailingWrite));
  return true;
}

bool CSimFileFaults::FailNextReplace(DWORD dwError, bool bRefuseMovingReplacement) {
  Reset();
  const HMODULE hPlatform = GetModuleHandleA("nimbo_platform.dll");
  if (hPlatform == nullptr) return false;
  g_state.ppReplaceSlot = ImportSlot(hPlatform, "ReplaceFileA");
  g_state.ppMoveSlot = ImportSlot(hPlatform, "MoveFileExA");
  if (g_state.ppReplaceSlot == nullptr || g_state.ppMoveSlot == nullptr) return false;
  g_state.pfnReplace = reinterpret_cast<PFN_REPLACE>(*g_state.ppReplaceSlot);
  g_state.pfnMove = reinterpret_cast<PFN_MOVE>(*g_state.ppMoveSlot);
  g_state.dwError = dwError;
  g_state.bRefuseMove = bRefuseMovingReplacement;
  g_state.strReplacement.clear();
  SetSlot(g_state.ppReplaceSlot, reinterpret_cast<void*>(&FailingReplace));
  SetSlot(g_state.ppMoveSlot, reinterpret_cast<void*>(&RefusingMove));
  return true;
}

int CSimFileFaults::GetFailedReplaces() { return g_state.nFailed; }

void CSimFileFaults::Reset() {
  if (g_state.ppReplaceSlot != nullptr) SetSlot(g_state.ppReplaceSlot, reinterpret_cast<void*>(g_state.pfnReplace));
  if (g_state.ppMoveSlot != nullptr) SetSlot(g_state.ppMoveSlot, reinterpret_cast<void*>(g_state.pfnMove));
  if (g_state.ppWriteSlot != nullptr) SetSlot(g_state.ppWriteSlot, reinterpret_cast<void*>(g_state.pfnWrite));
  g_state = CFaultState();
}
