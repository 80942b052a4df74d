// CLspInbox: what waits for the server's worker: the client's messages, and
// files a watcher saw change. Filled from other threads (the reader of the
// client's stream, the file watcher), emptied by the worker; every member
// is thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace nimbo {
namespace lsp {

struct CLspIncoming {
  enum EKind { kindMessage, kindUnparsable, kindFilesChanged, kindInputEnded };
  EKind eKind = kindMessage;
  nlohmann::json message;          // kindMessage
  std::string strError;            // kindUnparsable: the parser's reason
  std::string strLostEditUri;      // kindUnparsable: the document of the didChange it was
  std::string strNote;             // kindMessage: what was repaired to read it, for the log
  std::vector<std::string> paths;  // kindFilesChanged: paths that may have changed
  // Cheap to answer, touching only the catalogues and the open documents:
  // handled while heavy work (an index, a workspace query) pauses between
  // two of its steps. Only light items at the front of the queue go ahead,
  // so nothing overtakes a heavy message that came before it.
  bool bLight = false;
};

class CLspInbox {
 public:
  // pfnIsLight tells the methods whose messages are light (called from
  // whichever thread pushes; it must only read).
  explicit CLspInbox(std::function<bool(const std::string& strMethod)> pfnIsLight)
      : m_pfnIsLight(std::move(pfnIsLight)) {}

  // Parses a message body and queues it. A body that is not JSON only for
  // bytes that are not UTF-8 or lone surrogates is read with U+FFFD in
  // their place (strNote says so). "$/cancelRequest" is not queued:
  // it marks its request cancelled at once, so that work already running
  // can see it.
  void PushBody(const std::string& strBody);
  // Queues paths that may have changed; joined to a run of such paths
  // already last in the queue.
  void PushFilesChanged(std::vector<std::string> paths);
  // The client's stream has ended.
  void PushInputEnded();

  // The next item, waiting for one when bWait; false when there is none.
  bool Pop(CLspIncoming& item, bool bWait);
  // The next item, waiting for one until deadline at the latest.
  bool PopUntil(CLspIncoming& item, std::chrono::steady_clock::time_point deadline);
  // The next item when it is light; false otherwise.
  bool PopLight(CLspIncoming& item);
  // Whether an item waits: idle work stops at its next step.
  bool HasItems();

  // Whether the client cancelled the request with this id. A request is
  // known from its arrival until Done, so a cancel for one already
  // answered (or never sent) is dropped.
  bool IsCancelled(const nlohmann::json& id);
  void Done(const nlohmann::json& id);

 private:
  bool IsLight(const nlohmann::json& message) const;

  std::function<bool(const std::string&)> m_pfnIsLight;
  std::mutex m_mutex;
  std::condition_variable m_ready;
  std::deque<CLspIncoming> m_items;
  std::set<std::string> m_pending;    // ids (as JSON text) of requests not yet answered
  std::set<std::string> m_cancelled;  // a subset of m_pending
};

}  // namespace lsp
}  // namespace nimbo
