// The completion list's items with their prototypes and definitions.
#include "tools/functions/FunctionList.h"

#include <atomic>
#include <map>

#include "CListCtrl.h"
#include "assist/CZoPromptorCtrl.h"
#include "catalog/CFuncWizLines.h"
#include "catalog/CZoFuncInfoUser.h"
#include "darnel2/CCodeFileStream.h"
#include "darnel2/CTokenizer.h"
#include "module/SharedCatalogs.h"
#include "obrin/CProjectManagerObject.h"
#include "tamsin/CImageListEx.h"
#include "tools/nimbo/ProgressLine.h"

namespace nimbo {
namespace functions {

namespace {

struct CDefinition {
  std::string strFile;
  int nLine = 0;
};

// Where each project function is defined: the catalogue keeps the first
// definition of a name in the browser's order of the scripts, and so does this.
std::map<std::string, CDefinition> ProjectDefinitions(CProjectManagerObject& manager) {
  std::map<std::string, CDefinition> definitions;
  CScriptBrowser* pBrowser = manager.GetScriptBrowser();
  if (pBrowser == nullptr) return definitions;
  CScriptBrowser::CFunctionMap& scripts = pBrowser->GetFunctionMap();
  for (auto it = scripts.begin(); it != scripts.end(); it = pBrowser->GetNext(it)) {
    CCodeFileStream stream(it->second.m_strScriptPath);
    if (!stream.OpenFile()) continue;
    CTokenizer tokenizer(&stream, false);
    CZoFuncInfoUser::CHeader header;
    while (CZoFuncInfoUser::ReadNextHeader(tokenizer, header))
      definitions.emplace(header.strName.Str(), CDefinition{it->second.m_strScriptPath.Str(), header.nLine});
  }
  return definitions;
}

}  // namespace

bool ListFunctions(CProjectManagerObject& manager, const std::string& strProgramsDir,
                   std::vector<CFunctionEntry>& entries, std::string& strError) {
  CImageListEx images;
  images.CreateEx();
  // The list view shares the image list: the image list object destroys it.
  HWND hList = CreateWindowEx(0, WC_LISTVIEW, "", WS_POPUP | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 240, 400, nullptr,
                              nullptr, nullptr, nullptr);
  if (hList == nullptr) {
    strError = "cannot create a list view";
    return false;
  }
  {
    // Scanning thousands of scripts takes a while: the browser counts the
    // scripts as the user catalogue walks over them.
    std::atomic<size_t> nScanned(0);
    const size_t nScripts = manager.GetScriptBrowser()->GetFunctionMap().size();
    manager.GetScriptBrowser()->SetStepObserver([&nScanned] { ++nScanned; });
    CProgressLine progress([&nScanned, nScripts](int nSeconds) {
      return "nimbo functions: indexing scripts " + std::to_string(nScanned.load()) + "/" + std::to_string(nScripts) +
             " (" + std::to_string(nSeconds) + " s)";
    });
    CZoPromptorCtrl promptor;
    promptor.Init(nullptr, &manager, &images);
    manager.GetScriptBrowser()->SetStepObserver(nullptr);
    promptor.InitFunctionList(hList);
  }

  const std::string strFuncWiz = strProgramsDir + "/funcwiz.ini";
  CFuncWizLines funcWizLines;  // a file it cannot read to its end gives the places read before
  funcWizLines.Read(strFuncWiz.c_str());
  const std::map<std::string, CDefinition> definitions = ProjectDefinitions(manager);
  // The items of the list view, first to last, told apart by their image.
  const int nStdImage = images.GetImageIndex(CImageListEx::kIdFunctionStd);
  CListCtrl list;
  list.Attach(hList);
  for (int nItem = 0; nItem < list.GetItemCount(); ++nItem) {
    LVITEM item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    list.GetItem(&item);
    const CString strName = list.GetItemText(nItem, 0);
    CFunctionEntry entry;
    entry.strName = strName.Str();
    entry.bBuiltIn = item.iImage == nStdImage;
    const CZoFuncInfo& catalogue = entry.bBuiltIn ? static_cast<const CZoFuncInfo&>(g_FuncInfoStd) : g_FuncInfoUser;
    const auto itPrototype = catalogue.find(strName);
    if (itPrototype != catalogue.end()) {
      entry.strPrototype = itPrototype->second.Str();
      // Hidden when the tip, which asks the shared lookup, shows another text.
      entry.bHidden = FindSharedPrototype(strName) != &itPrototype->second;
    }
    if (entry.bBuiltIn) {
      entry.strFile = strFuncWiz;
      if (const CFuncWizPlace* pPlace = funcWizLines.Find(entry.strName)) entry.nLine = pPlace->nHeaderLine;
    } else {
      const auto itDefinition = definitions.find(entry.strName);
      if (itDefinition != definitions.end()) {
        entry.strFile = itDefinition->second.strFile;
        entry.nLine = itDefinition->second.nLine;
      }
    }
    entries.push_back(std::move(entry));
  }
  list.Detach();
  DestroyWindow(hList);
  return true;
}

}  // namespace functions
}  // namespace nimbo
