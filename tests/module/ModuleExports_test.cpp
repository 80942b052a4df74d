// What the module's dynamic symbol table offers a host: the exported classes,
// NimboInit and the entry point, and nothing of the module's own insides
// (the shared catalogues above all); and no test hook in the platform library
// that every host loads with it.
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct CExport {
  std::string strName;
  bool bWeak;  // an inline or template definition that any user of a header may emit
};

// The defined symbols of the dynamic symbol table of a 64-bit ELF file;
// empty when the file cannot be read as one.
std::vector<CExport> ReadExports(const char* pszPath) {
  std::ifstream file(pszPath, std::ios::binary);
  const std::vector<char> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<CExport> exports;
  if (image.size() < sizeof(Elf64_Ehdr) || image[EI_CLASS] != ELFCLASS64) return exports;
  const auto* pHeader = reinterpret_cast<const Elf64_Ehdr*>(image.data());
  const auto* pSections = reinterpret_cast<const Elf64_Shdr*>(image.data() + pHeader->e_shoff);
  for (int i = 0; i < pHeader->e_shnum; ++i) {
    if (pSections[i].sh_type != SHT_DYNSYM) continue;
    const char* pszNames = image.data() + pSections[pSections[i].sh_link].sh_offset;
    const auto* pSymbols = reinterpret_cast<const Elf64_Sym*>(image.data() + pSections[i].sh_offset);
    for (size_t n = 0; n < pSections[i].sh_size / sizeof(Elf64_Sym); ++n) {
      const Elf64_Sym& symbol = pSymbols[n];
      if (symbol.st_shndx == SHN_UNDEF || symbol.st_shndx == SHN_ABS || symbol.st_name == 0) continue;
      exports.push_back({pszNames + symbol.st_name, ELF64_ST_BIND(symbol.st_info) == STB_WEAK});
    }
  }
  return exports;
}

// The Parts' exports: the five classes (their members, virtual tables and
// type information all carry the class's name), NimboInit and DllMain.
bool IsPublished(const std::string& strName) {
  static const char* const kClasses[] = {"15CZoPromptorCtrl", "28CZoListCtrlToolTipStaticFunc", "11CZoFuncInfo",
                                         "14CZoFuncInfoStd", "15CZoFuncInfoUser"};
  if (strName == "_Z9NimboInitv" || strName == "DllMain") return true;
  for (const char* pszClass : kClasses)
    if (strName.find(pszClass) != std::string::npos) return true;
  return false;
}

TEST(ModuleExports, OnlyThePublishedInterfaceLeavesTheModule) {
  const std::vector<CExport> exports = ReadExports(NIMBO_MODULE_PATH);
  ASSERT_FALSE(exports.empty());
  std::vector<std::string> names;
  for (const CExport& symbol : exports) names.push_back(symbol.strName);
  for (const char* pszName : {"_Z9NimboInitv", "DllMain", "_ZN15CZoPromptorCtrlC1Ev", "_ZTV14CZoFuncInfoStd"})
    EXPECT_NE(std::find(names.begin(), names.end(), pszName), names.end()) << pszName;
  for (const CExport& symbol : exports) {
    EXPECT_EQ(symbol.strName.find("g_FuncInfo"), std::string::npos) << symbol.strName;
    // Strong definitions are the module's own code and data: only the
    // published ones may be seen from outside.
    if (!symbol.bWeak) {
      EXPECT_TRUE(IsPublished(symbol.strName)) << symbol.strName;
    }
  }
}

TEST(ModuleExports, ThePlatformLibraryCarriesNoTestHooks) {
  // Of the extension-module support, the platform library exports MFC's
  // three calls and no switch or counter around them; of the desktop, no
  // test control. Tests watch the module's calls from their own program.
  std::vector<std::string> family;
  const std::vector<CExport> exports = ReadExports(NIMBO_PLATFORM_PATH);
  ASSERT_FALSE(exports.empty());
  for (const CExport& symbol : exports) {
    if (symbol.strName.find("ExtensionModule") != std::string::npos) family.push_back(symbol.strName);
    EXPECT_EQ(symbol.strName.find("SimDesktop"), std::string::npos) << symbol.strName;
  }
  std::sort(family.begin(), family.end());
  EXPECT_EQ(family, (std::vector<std::string>{"_Z22AfxInitExtensionModuleR20AFX_EXTENSION_MODULEP11HINSTANCE__",
                                              "_Z22AfxTermExtensionModuleR20AFX_EXTENSION_MODULEi",
                                              "_Z27AfxBeginExtensionModuleLoadv"}));
}

}  // namespace
