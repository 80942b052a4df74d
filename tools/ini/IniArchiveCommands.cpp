// `nimbo ini pack` and `unpack`: a document in its archive form, written
// and read through the object mechanism (class tag, then the record).
#include <memory>

#include "CArchive.h"
#include "CException.h"
#include "CFile.h"
#include "CFileException.h"
#include "CMemFile.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/ini/IniCommandSupport.h"
#include "tools/nimbo/ProgressLine.h"
#include "ini/CIniFile.h"
#include "module/NimboInit.h"

namespace nimbo {
namespace ini {

int RunPack(const CIniArgs& args) {
  const std::string& strFile = args.positional[0];
  const std::string& strArchive = args.positional[1];
  CIniFile document;
  if (!LoadDocument(document, strFile, args.bKeyOnly)) return kExitError;
  std::vector<unsigned char> bytes;
  bool bPacked = true;
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
      bPacked = false;
    }
    bPacked = bPacked && WriteWholeFile(strArchive, bytes);
  }
  return bPacked ? kExitOk : Error("cannot write " + strArchive);
}

int RunUnpack(const CIniArgs& args) {
  const std::string& strArchive = args.positional[0];
  const std::string& strFile = args.positional[1];
  // The document class is found by the name in the archive's class tag,
  // which the host sees once the module is linked into the chain.
  NimboInit();
  std::unique_ptr<CObject> object;
  bool bReadable = true;
  {
    CProgressLine progress(StageProgress("unpacking", strArchive));
    // The archive reads the file through its own buffer: the file is never
    // held whole beside the document made from it.
    try {
      CFile file(strArchive.c_str(), CFile::modeRead);
      CArchive ar(&file, CArchive::load);
      object.reset(ar.ReadObject(RUNTIME_CLASS(CIniFile)));
    } catch (CFileException* e) {
      bReadable = false;
      e->Delete();
    } catch (CException* e) {
      e->Delete();
    }
  }
  if (!bReadable) return Error("cannot read " + strArchive);
  if (object == nullptr) return Error("cannot read " + strArchive + ": not an archived INI document");
  return SaveDocument(*static_cast<CIniFile*>(object.get()), strFile, false);
}

}  // namespace ini
}  // namespace nimbo
