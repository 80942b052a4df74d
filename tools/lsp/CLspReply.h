// CLspReply: the one answer a request gets. It answers exactly once (a
// result, an error, or, when the handler ends without either, an internal
// error), and tells the inbox the request is over, so that a cancel that
// comes later is dropped. A reply deferred instead leaves the request
// pending: it is handled again later, with a reply of its own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include <nlohmann/json.hpp>

#include "tools/lsp/CLspInbox.h"

namespace nimbo {
namespace lsp {

// What a request is answered with: a JSON value, or, for answers as long
// as the workspace (references, a rename's edit, the tokens of a script),
// JSON text written without building a value first.
struct CLspResult {
  CLspResult() = default;
  template <typename T, typename = typename std::enable_if<std::is_constructible<nlohmann::json, T>::value>::type>
  CLspResult(T&& result) : value(std::forward<T>(result)) {}
  CLspResult(nlohmann::json::initializer_list_t init) : value(init) {}
  static CLspResult Text(std::string strJson) {
    CLspResult result;
    result.strText = std::move(strJson);
    return result;
  }
  bool IsNull() const { return strText.empty() ? value.is_null() : strText == "null"; }

  nlohmann::json value;
  std::string strText;  // when not empty, the result
};

class CLspReply {
 public:
  // pfnWrite writes one whole message body; id is null for the errors
  // answered to what was no request (a body that is not JSON).
  CLspReply(nlohmann::json id, std::function<void(const std::string&)> pfnWrite, std::shared_ptr<CLspInbox> pInbox);
  CLspReply(const CLspReply&) = delete;
  CLspReply& operator=(const CLspReply&) = delete;
  ~CLspReply();

  const nlohmann::json& Id() const { return m_id; }
  // Still to be answered (neither answered nor deferred).
  bool IsOpen() const { return m_eState == stateOpen; }
  // The client cancelled the request meanwhile.
  bool IsCancelled() const;

  void Result(const CLspResult& result);
  void Error(int nCode, const std::string& strMessage);
  void Defer();

 private:
  void Close();

  enum EState { stateOpen, stateAnswered, stateDeferred };
  nlohmann::json m_id;
  std::function<void(const std::string&)> m_pfnWrite;
  std::shared_ptr<CLspInbox> m_pInbox;
  EState m_eState = stateOpen;
};

// JSON-RPC and protocol error codes.
const int kLspParseError = -32700;
const int kLspInvalidRequest = -32600;
const int kLspMethodNotFound = -32601;
const int kLspInvalidParams = -32602;
const int kLspInternalError = -32603;
const int kLspServerNotInitialized = -32002;
const int kLspRequestCancelled = -32800;
const int kLspRequestFailed = -32803;

}  // namespace lsp
}  // namespace nimbo
