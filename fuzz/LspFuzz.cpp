// Fuzz target: the language server fed an arbitrary byte stream on its
// input, framing and JSON included, over the small test fixture. Every
// message it sends must be well-formed JSON; nothing may crash, leak or
// hang, whatever the stream. The framing reader must cut the same bodies
// however the stream is split into reads.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/lsp/CLspMessageReader.h"
#include "tools/lsp/CLspServer.h"

namespace {

// The bodies and skips of the stream, read in pieces of the sizes given in
// turn (the whole stream when there is one size that covers it).
std::vector<std::string> ReadBodies(const std::string& strStream, const std::vector<size_t>& sizes) {
  nimbo::lsp::CLspMessageReader reader;
  std::vector<std::string> bodies;
  size_t nAt = 0;
  for (size_t nPiece = 0; nAt < strStream.size(); ++nPiece) {
    const size_t nSize = std::min(sizes[nPiece % sizes.size()], strStream.size() - nAt);
    reader.Feed(strStream.data() + nAt, nSize);
    nAt += nSize;
    std::string strBody;
    std::string strProblem;
    for (nimbo::lsp::CLspMessageReader::EResult eResult;
         (eResult = reader.Next(strBody, strProblem)) != nimbo::lsp::CLspMessageReader::resultNeedMore;)
      if (eResult == nimbo::lsp::CLspMessageReader::resultMessage) bodies.push_back(strBody);
  }
  return bodies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string strStream(reinterpret_cast<const char*>(pData), nSize);
  // Read sizes from the stream's first bytes (1 to 16 each).
  std::vector<size_t> sizes;
  for (size_t i = 0; i < 4 && i < nSize; ++i) sizes.push_back(1 + pData[i] % 16);
  if (!sizes.empty() && ReadBodies(strStream, sizes) != ReadBodies(strStream, {nSize + 1})) std::abort();

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
    reader.Feed(strStream.data() + nFrom, nTo - nFrom);
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
