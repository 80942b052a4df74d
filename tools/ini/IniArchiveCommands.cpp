// `nimbo ini pack` and `unpack`: a document in its archive form, written
// and read through the object mechanism (class tag, then the record).
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "CArchive.h"
#include "CArchiveException.h"
#include "CException.h"
#include "CMemFile.h"
#include "ini/CIniFile.h"
#include "module/NimboInit.h"
#include "tools/ini/IniCommandSupport.h"
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

namespace {

// Why the archive in bytes gives no document whole, or empty with the
// document in object. The store's load reads nothing from a document record
// of another version and keeps what came before a damage: neither may
// become a file that reads as the archive's content.
std::string ReadArchive(const CFileBytes& bytes, std::unique_ptr<CObject>& object) {
  // The archive reads the bytes where they lie; it never writes them.
  BYTE* pData = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.Data()));
  const UINT nSize = static_cast<UINT>(bytes.Size());
  const std::string strNotDocument = "not an archived INI document";
  try {
    {
      // The version that begins the document's record, which the load
      // itself answers only by reading nothing.
      CMemFile memory(pData, nSize);
      CArchive ar(&memory, CArchive::load);
      if (ar.ReadClass(RUNTIME_CLASS(CIniFile)) == nullptr) return strNotDocument;
      DWORD dwVersion = 0;
      ar >> dwVersion;
      if (dwVersion != 1)
        return "its document record is of version " + std::to_string(dwVersion) + ", and only version 1 is read";
    }
    CMemFile memory(pData, nSize);
    CArchive ar(&memory, CArchive::load);
    object.reset(ar.ReadObject(RUNTIME_CLASS(CIniFile)));
    if (object == nullptr) return strNotDocument;
    BYTE byMore = 0;
    if (ar.Read(&byMore, 1) != 0) return "bytes follow the archived document, so it is not the archive it seems";
    return std::string();
  } catch (CArchiveException* e) {
    const int nCause = e->m_cause;
    e->Delete();
    object.reset();
    if (nCause == CArchiveException::endOfFile) return "it ends inside the archived document (cut short)";
    if (nCause == CArchiveException::badSchema) return "it holds a section record of a version other than 1";
    return strNotDocument;
  } catch (CException* e) {
    e->Delete();
    object.reset();
    return strNotDocument;
  }
}

}  // namespace

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
  std::string strWhy;
  {
    CProgressLine progress(StageProgress("unpacking", strArchive));
    strWhy = ReadArchive(bytes, object);
  }
  if (!strWhy.empty()) return Error("cannot read " + strArchive + ": " + strWhy + "; " + strFile + " is left as it was");
  CIniFileLock lock;
  if (!lock.Acquire(strFile, strWhy)) return Error("cannot change " + strFile + ": " + strWhy);
  return SaveDocument(*static_cast<CIniFile*>(object.get()), strFile);
}

}  // namespace ini
}  // namespace nimbo
