// IniArchiveFiles: archive files through CFile and CArchive, errors caught.
#include "IniArchiveFiles.h"

#include "CArchive.h"
#include "CException.h"
#include "CFile.h"
#include "ini/CIniFile.h"

bool StoreArchive(CIniFile& ini, const std::string& strPath) {
  try {
    CFile file(strPath.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(&ini);
    ar.Close();
    file.Close();
    return true;
  } catch (CException* e) {
    e->Delete();
    return false;
  }
}

std::unique_ptr<CIniFile> LoadArchive(const std::string& strPath) {
  try {
    CFile file(strPath.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> pObject(ar.ReadObject(RUNTIME_CLASS(CIniFile)));
    if (dynamic_cast<CIniFile*>(pObject.get()) == nullptr) return nullptr;
    return std::unique_ptr<CIniFile>(static_cast<CIniFile*>(pObject.release()));
  } catch (CException* e) {
    e->Delete();
    return nullptr;
  }
}
