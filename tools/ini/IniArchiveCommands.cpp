// `nimbo ini pack` and `unpack`: a document in its archive form, written
// and read through the object mechanism (class tag, then the record).
#include <cerrno>
#include <cstring>
#include <memory>

#include "CArchive.h"
#include "CException.h"
#include "CMemFile.h"
#include "Win32ImageHlp.h"
#include "ini/CIniFile.h"
#include "module/NimboInit.h"
#include "tools/ini/IniCommandSupport.h"
#include "tools/ini/IniSystem.h"
#include "tools/ini/IniFileBytes.h"
#include "tools/ini/IniFileLock.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/ProgressLine.h"

namespace nimbo {
namespace ini {

int RunPack(const CIniArgs& args) {
  const std::string& strFile = args.positional[0];
  const std::string& strArchive = args.positional[1];
  CIniFile document;
  if (!LoadDocument(document, strFile, args.bKeyOnly)) return kExitError;
  std::vector<unsigned char> bytes;
  std::string strWhy;
  {
    CProgressLine progress(StageProgress("packing", strFile));
    try {
      CMemFile memory;
      CArchive ar(&memory, CArchive::store);
      ar << static_cast<const CObject*>(&document);
      ar.Close();
      bytes = memory.GetBytes();
    } catch (CException* e) {
      e->Delete();
      strWhy = "the archive cannot be made";
    }
    if (strWhy.empty()) WriteWholeFile(strArchive, reinterpret_cast<const char*>(bytes.data()), bytes.size(), strWhy);
  }
  return strWhy.empty() ? kExitOk : Error("cannot write " + strArchive + ": " + strWhy);
}

int RunUnpack(const CIniArgs& args) {
  const std::string& strArchive = args.positional[0];
  const std::string& strFile = args.positional[1];
  // The document class is found by the name in the archive's class tag,
  // which the host sees once the module is linked into the chain.
  NimboInit();
  CFileBytes bytes;
  int nError = 0;
  if (!bytes.Read(strArchive, -1, nError)) return Error("cannot read " + strArchive + ": " + std::strerror(nError));
  std::unique_ptr<CObject> object;
  {
    CProgressLine progress(StageProgress("unpacking", strArchive));
    try {
      // The archive reads the bytes where they lie; it never writes them.
      CMemFile memory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.Data())), static_cast<UINT>(bytes.Size()));
      CArchive ar(&memory, CArchive::load);
      object.reset(ar.ReadObject(RUNTIME_CLASS(CIniFile)));
    } catch (CException* e) {
      e->Delete();
    }
  }
  if (object == nullptr) return Error("cannot read " + strArchive + ": not an archived INI document");
  std::string strWhy;
  errno = 0;
  if (!MakeSureDirectoryPathExists(SystemPath(strFile).c_str()))
    return Error("cannot write " + strFile + ": " + std::strerror(errno != 0 ? errno : EIO));
  CIniFileLock lock;
  if (!lock.Acquire(strFile, strWhy)) return Error("cannot change " + strFile + ": " + strWhy);
  return SaveDocument(*static_cast<CIniFile*>(object.get()), strFile);
}

}  // namespace ini
}  // namespace nimbo
