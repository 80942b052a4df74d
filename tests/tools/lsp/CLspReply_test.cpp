// A request gets one answer whatever its handler does, and is over for the
// inbox once answered (a later cancel is dropped), but not once deferred.
#include "tools/lsp/CLspReply.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using nimbo::lsp::CLspReply;

TEST(CLspReply, AnswersARequestExactlyOnce) {
  struct CCase {
    const char* pszName;
    std::function<void(CLspReply&)> handle;
    const char* pszWritten;  // every message, one a line
    bool bPendingAfter;
  };
  const CCase cases[] = {
      {"result, then an error", [](CLspReply& r) { r.Result(nlohmann::json::array({1})); r.Error(-1, "late"); },
       "{\"id\":7,\"jsonrpc\":\"2.0\",\"result\":[1]}\n", false},
      {"text result", [](CLspReply& r) { r.Result(nimbo::lsp::CLspResult::Text("[2]")); r.Result(nullptr); },
       "{\"id\":7,\"jsonrpc\":\"2.0\",\"result\":[2]}\n", false},
      {"error", [](CLspReply& r) { r.Error(nimbo::lsp::kLspRequestFailed, "no"); },
       "{\"error\":{\"code\":-32803,\"message\":\"no\"},\"id\":7,\"jsonrpc\":\"2.0\"}\n", false},
      {"left without an answer", [](CLspReply&) {},
       "{\"error\":{\"code\":-32603,\"message\":\"Internal error: the request was left without an answer\"},\"id\":7,"
       "\"jsonrpc\":\"2.0\"}\n",
       false},
      {"deferred", [](CLspReply& r) { r.Defer(); r.Result(nullptr); }, "", true},
  };
  for (const CCase& c : cases) {
    auto pInbox = std::make_shared<nimbo::lsp::CLspInbox>([](const std::string&) { return false; });
    pInbox->PushBody(R"({"jsonrpc":"2.0","id":7,"method":"textDocument/hover","params":{}})");
    std::string strWritten;
    {
      CLspReply reply(7, [&strWritten](const std::string& strBody) { strWritten += strBody + "\n"; }, pInbox);
      c.handle(reply);
    }
    EXPECT_EQ(strWritten, c.pszWritten) << c.pszName;
    pInbox->PushBody(R"({"jsonrpc":"2.0","method":"$/cancelRequest","params":{"id":7}})");
    EXPECT_EQ(pInbox->IsCancelled(7), c.bPendingAfter) << c.pszName;
  }
}

}  // namespace
