// CLspReply: answering a request once.
#include "tools/lsp/CLspReply.h"

namespace nimbo {
namespace lsp {

CLspReply::CLspReply(nlohmann::json id, std::function<void(const nlohmann::json&)> pfnSend,
                     std::shared_ptr<CLspInbox> pInbox)
    : m_id(std::move(id)), m_pfnSend(std::move(pfnSend)), m_pInbox(std::move(pInbox)) {}

CLspReply::~CLspReply() {
  if (IsOpen()) Error(kLspInternalError, "Internal error: the request was left without an answer");
}

bool CLspReply::IsCancelled() const { return !m_id.is_null() && m_pInbox->IsCancelled(m_id); }

void CLspReply::Result(const nlohmann::json& result) {
  if (!IsOpen()) return;
  m_pfnSend({{"jsonrpc", "2.0"}, {"id", m_id}, {"result", result}});
  Close();
}

void CLspReply::Error(int nCode, const std::string& strMessage) {
  if (!IsOpen()) return;
  m_pfnSend({{"jsonrpc", "2.0"}, {"id", m_id}, {"error", {{"code", nCode}, {"message", strMessage}}}});
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
