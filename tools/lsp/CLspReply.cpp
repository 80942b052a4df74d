// CLspReply: answering a request once.
#include "tools/lsp/CLspReply.h"

#include "tools/lsp/LspProtocol.h"

namespace nimbo {
namespace lsp {

CLspReply::CLspReply(nlohmann::json id, std::function<void(const std::string&)> pfnWrite,
                     std::shared_ptr<CLspInbox> pInbox)
    : m_id(std::move(id)), m_pfnWrite(std::move(pfnWrite)), m_pInbox(std::move(pInbox)) {}

CLspReply::~CLspReply() {
  if (IsOpen()) Error(kLspInternalError, "Internal error: the request was left without an answer");
}

bool CLspReply::IsCancelled() const { return !m_id.is_null() && m_pInbox->IsCancelled(m_id); }

void CLspReply::Result(const CLspResult& result) {
  if (!IsOpen()) return;
  if (result.strText.empty()) {
    m_pfnWrite(JsonText({{"jsonrpc", "2.0"}, {"id", m_id}, {"result", result.value}}));
  } else {
    // The members in the order the JSON library writes them.
    m_pfnWrite("{\"id\":" + JsonText(m_id) + ",\"jsonrpc\":\"2.0\",\"result\":" + result.strText + "}");
  }
  Close();
}

void CLspReply::Error(int nCode, const std::string& strMessage) {
  if (!IsOpen()) return;
  m_pfnWrite(JsonText({{"jsonrpc", "2.0"}, {"id", m_id}, {"error", {{"code", nCode}, {"message", strMessage}}}}));
  Close();
}

void CLspReply::Defer() {
  if (IsOpen()) m_eState = stateDeferred;
}

void CLspReply::Close() {
  m_eState = stateAnswered;
  if (!m_id.is_null()) m_pInbox->Done(m_id);
}

}  // namespace lsp
}  // namespace nimbo
