// A host program built against an installed Nimbo: it links the library,
// links it into the extension chain and fills both function catalogues from
// a "Programs" directory and a script project, through the exported
// classes only.
#include <nimbo/catalog/CZoFuncInfoStd.h>
#include <nimbo/catalog/CZoFuncInfoUser.h>
#include <nimbo/module/NimboInit.h>
#include <nimbo/obrin/CProjectManagerObject.h>
#include <nimbo/version.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: consumer PROGRAMS_DIR PROJECT_DIR\n");
    return 2;
  }
  NimboInit();
  CProjectManagerObject manager;
  if (!manager.OpenProject(argv[2])) {
    std::fprintf(stderr, "consumer: cannot open the project %s\n", argv[2]);
    return 1;
  }
  manager.GetDirLoc()->SetLocation("Programs", argv[1]);
  CZoFuncInfoStd builtIn;
  CZoFuncInfoUser project;
  if (!builtIn.Init(&manager) || !project.Init(&manager)) {
    std::fprintf(stderr, "consumer: a catalogue did not fill\n");
    return 1;
  }
  const CZoFuncInfo::const_iterator it = builtIn.find(CString("StrLeft"));
  std::printf("StrLeft: %s\n", it != builtIn.end() ? it->second.GetString() : "(none)");
  std::printf("built-in: %zu\nproject: %zu\n", builtIn.size(), project.size());
  std::printf("headers: %s\n", NIMBO_VERSION_STRING);
  return 0;
}
