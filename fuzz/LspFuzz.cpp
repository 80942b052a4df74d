// Fuzz target: the language server fed an arbitrary byte stream on its
// input, framing and JSON included, over the small test fixture. Every
// message it sends must be well-formed JSON; nothing may crash, leak or
// hang, whatever the stream.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "tools/lsp/CLspMessageReader.h"
#include "tools/lsp/CLspServer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  nimbo::lsp::CLspOptions options;
  options.strPrograms = NIMBO_SOURCE_DIR "/tests/tools/lsp/fixture/Programs";
  options.strProject = NIMBO_SOURCE_DIR "/tests/tools/lsp/fixture/project";
  nimbo::lsp::CLspServer server(
      options,
      [](const std::string& strBody) {
        if (!nlohmann::json::accept(strBody)) std::abort();
      },
      [](const std::string&) {});
  nimbo::lsp::CLspMessageReader reader;
  // Fed in two parts, so that a message cut by a read is part of the run.
  const size_t nHalf = nSize / 2;
  for (const size_t nFrom : {size_t(0), nHalf}) {
    const size_t nTo = nFrom == 0 ? nHalf : nSize;
    reader.Feed(reinterpret_cast<const char*>(pData) + nFrom, nTo - nFrom);
    std::string strBody;
    std::string strProblem;
    for (nimbo::lsp::CLspMessageReader::EResult eResult;
         (eResult = reader.Next(strBody, strProblem)) != nimbo::lsp::CLspMessageReader::resultNeedMore;) {
      if (eResult == nimbo::lsp::CLspMessageReader::resultMessage) server.HandleMessage(strBody);
      if (server.ExitRequested()) return 0;
    }
  }
  return 0;
}
