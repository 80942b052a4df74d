// CLspInbox: the queue between the threads that receive and the worker.
#include "tools/lsp/CLspInbox.h"

#include "tools/lsp/LspText.h"

namespace nimbo {
namespace lsp {

bool CLspInbox::IsLight(const nlohmann::json& message) const {
  const auto itMethod = message.find("method");
  if (itMethod == message.end()) return message.contains("id");  // a response to one of our requests
  return itMethod->is_string() && m_pfnIsLight(itMethod->get_ref<const std::string&>());
}

void CLspInbox::PushBody(const std::string& strBody) {
  CLspIncoming item;
  try {
    item.message = nlohmann::json::parse(strBody);
  } catch (const nlohmann::json::exception& e) {
    // Bytes that are not UTF-8 and lone surrogates are read as U+FFFD, as
    // editors read them, rather than losing the message (an edit, often).
    std::string strRepaired = strBody;
    const size_t nRepaired = RepairJsonText(strRepaired);
    if (nRepaired > 0 && nlohmann::json::accept(strRepaired)) {
      item.message = nlohmann::json::parse(strRepaired);
      item.strNote = std::to_string(nRepaired) + " character(s) that could not be decoded read as U+FFFD";
    } else {
      item.eKind = CLspIncoming::kindUnparsable;
      item.strError = e.what();
      if (strBody.find("\"textDocument/didChange\"") != std::string::npos)
        item.strLostEditUri = FindJsonStringMember(strBody, "uri");
    }
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  if (item.eKind == CLspIncoming::kindMessage && item.message.is_object()) {
    const auto itMethod = item.message.find("method");
    const auto itId = item.message.find("id");
    if (itMethod != item.message.end() && *itMethod == "$/cancelRequest" && itId == item.message.end()) {
      const auto itParams = item.message.find("params");
      if (itParams != item.message.end() && itParams->is_object() && itParams->contains("id")) {
        const std::string strId = (*itParams)["id"].dump();
        if (m_pending.count(strId) != 0) m_cancelled.insert(strId);
      }
      return;
    }
    if (itMethod != item.message.end() && itId != item.message.end()) m_pending.insert(itId->dump());
    item.bLight = IsLight(item.message);
  }
  m_items.push_back(std::move(item));
  m_ready.notify_one();
}

void CLspInbox::PushFilesChanged(std::vector<std::string> paths) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_items.empty() && m_items.back().eKind == CLspIncoming::kindFilesChanged) {
    std::vector<std::string>& queued = m_items.back().paths;
    queued.insert(queued.end(), paths.begin(), paths.end());
    return;
  }
  CLspIncoming item;
  item.eKind = CLspIncoming::kindFilesChanged;
  item.paths = std::move(paths);
  m_items.push_back(std::move(item));
  m_ready.notify_one();
}

void CLspInbox::PushInputEnded() {
  CLspIncoming item;
  item.eKind = CLspIncoming::kindInputEnded;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_items.push_back(std::move(item));
  m_ready.notify_one();
}

bool CLspInbox::Pop(CLspIncoming& item, bool bWait) {
  std::unique_lock<std::mutex> lock(m_mutex);
  if (bWait) m_ready.wait(lock, [this] { return !m_items.empty(); });
  if (m_items.empty()) return false;
  item = std::move(m_items.front());
  m_items.pop_front();
  return true;
}

bool CLspInbox::HasItems() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return !m_items.empty();
}

bool CLspInbox::PopUntil(CLspIncoming& item, std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_ready.wait_until(lock, deadline, [this] { return !m_items.empty(); });
  if (m_items.empty()) return false;
  item = std::move(m_items.front());
  m_items.pop_front();
  return true;
}

bool CLspInbox::PopLight(CLspIncoming& item) {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_items.empty() || !m_items.front().bLight) return false;
  item = std::move(m_items.front());
  m_items.pop_front();
  return true;
}

bool CLspInbox::IsCancelled(const nlohmann::json& id) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_cancelled.count(id.dump()) != 0;
}

void CLspInbox::Done(const nlohmann::json& id) {
  const std::string strId = id.dump();
  std::lock_guard<std::mutex> lock(m_mutex);
  m_pending.erase(strId);
  m_cancelled.erase(strId);
}

}  // namespace lsp
}  // namespace nimbo
