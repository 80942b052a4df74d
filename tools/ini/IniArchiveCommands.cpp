// `nimbo ini pack` and `unpack`: a document in its archive form, written
// and read through the object mechanism (class tag, then the record).
#include <fstream>
#include <iterator>
#include <memory>

#include "CArchive.h"
#include "CException.h"
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
  std::ifstream in(strArchive, std::ios::binary);
  if (!in) return Error("cannot read " + strArchive);
  std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Error("cannot read " + strArchive);

  // The document class is found by the name in the archive's class tag,
  // which the host sees once the module is linked into the chain.
  NimboInit();
  std::unique_ptr<CObject> object;
  {
    CProgressLine progress(StageProgress("unpacking", strArchive));
    try {
      CMemFile memory(bytes.data(), static_cast<UINT>(bytes.size()));
      CArchive ar(&memory, CArchive::load);
      object.reset(ar.ReadObject(RUNTIME_CLASS(CIniFile)));
    } catch (CException* e) {
      e->Delete();
    }
  }
  if (object == nullptr) return Error("cannot read " + strArchive + ": not an archived INI document");
  return SaveDocument(*static_cast<CIniFile*>(object.get()), strFile, false);
}

}  // namespace ini
}  // namespace nimbo
