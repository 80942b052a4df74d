// nimbo functions: lists every known function as the completion list shows
// it, with its source and its prototype.
#include <algorithm>
#include <atomic>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include "CListCtrl.h"
#include "tools/nimbo/CommandLine.h"
#include "tools/nimbo/CommandRegistry.h"
#include "tools/nimbo/HostOptions.h"
#include "tools/nimbo/ProgressLine.h"
#include "assist/CZoPromptorCtrl.h"
#include "module/SharedCatalogs.h"
#include "obrin/CProjectManagerObject.h"
#include "tamsin/CImageListEx.h"

namespace {

struct CFunctionLine {
  std::string strName;
  const char* pszSource;
  std::string strPrototype;
};

// The prototype as the function tip finds it: the standard catalogue first.
std::string PrototypeOf(const CString& strName) {
  const CString* pPrototype = FindSharedPrototype(strName);
  return pPrototype != nullptr ? pPrototype->Str() : std::string();
}

// The items of the list view, first to last, told apart by their image.
std::vector<CFunctionLine> ReadList(HWND hList, CImageListEx& images) {
  const int nStdImage = images.GetImageIndex(CImageListEx::kIdFunctionStd);
  const int nUserImage = images.GetImageIndex(CImageListEx::kIdFunctionUser);
  CListCtrl list;
  list.Attach(hList);
  std::vector<CFunctionLine> lines;
  for (int nItem = 0; nItem < list.GetItemCount(); ++nItem) {
    LVITEM item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    list.GetItem(&item);
    CString strName = list.GetItemText(nItem, 0);
    const char* pszSource = item.iImage == nStdImage ? "built-in" : item.iImage == nUserImage ? "project" : "unknown";
    lines.push_back({strName.Str(), pszSource, PrototypeOf(strName)});
  }
  list.Detach();
  return lines;
}

int RunFunctions(const nimbo::CHostOptions& options) {
  std::string strError;
  CProjectManagerObject manager;
  if (!nimbo::OpenHost("functions", options, manager)) return nimbo::kExitError;

  CImageListEx images;
  images.CreateEx();
  // The list view shares the image list: the image list object destroys it.
  HWND hList = CreateWindowEx(0, WC_LISTVIEW, "", WS_POPUP | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 240, 400,
                              nullptr, nullptr, nullptr, nullptr);
  if (hList == nullptr) {
    std::fprintf(stderr, "nimbo functions: cannot create a list view\n");
    return nimbo::kExitError;
  }
  std::vector<CFunctionLine> lines;
  {
    // Scanning thousands of scripts takes a while: the browser counts the
    // scripts as the user catalogue walks over them.
    std::atomic<size_t> nScanned(0);
    const size_t nScripts = manager.GetScriptBrowser()->GetFunctionMap().size();
    manager.GetScriptBrowser()->SetStepObserver([&nScanned] { ++nScanned; });
    nimbo::CProgressLine progress([&nScanned, nScripts](int nSeconds) {
      return "nimbo functions: indexing scripts " + std::to_string(nScanned.load()) + "/" + std::to_string(nScripts) +
             " (" + std::to_string(nSeconds) + " s)";
    });
    CZoPromptorCtrl promptor;
    promptor.Init(nullptr, &manager, &images);
    manager.GetScriptBrowser()->SetStepObserver(nullptr);
    promptor.InitFunctionList(hList);
    lines = ReadList(hList, images);
  }
  DestroyWindow(hList);

  if (g_FuncInfoStd.empty())
    std::fprintf(stderr, "nimbo functions: warning: no built-in functions read from %s/funcwiz.ini\n",
                 options.strProgramsDir.c_str());
  size_t nWidth = 0;
  for (const CFunctionLine& line : lines) nWidth = std::max(nWidth, line.strName.size());
  for (const CFunctionLine& line : lines)
    std::printf("%-*s  %-8s  %s\n", static_cast<int>(nWidth), line.strName.c_str(), line.pszSource,
                line.strPrototype.c_str());
  return nimbo::kExitOk;
}

void DefineFunctions(CLI::App& command, int& nStatus) {
  nimbo::DefineHostCommand(command, "nimbo functions [--programs DIR] [--project DIR]", nStatus, RunFunctions);
}

}  // namespace

NIMBO_COMMAND_GROUP(functions)

std::vector<nimbo::CCommand> nimbo::functions::Commands() {
  return {{"functions", "list every known function: name, source (built-in or project), prototype", DefineFunctions}};
}
