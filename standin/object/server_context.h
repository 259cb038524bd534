#pragma once
// What the objects of one host share: the opened store, how many objects are alive, and the
// host's own rules (whether an explorer exists, what happens after a save or when idle).

#include <atomic>
#include <functional>
#include <memory>

#include "store/store_session.h"

namespace standin {

enum class HostKind { InProcess, LocalServer };

class ServerContext {
 public:
  static ServerContext& Instance();

  void SetHost(HostKind host) { host_ = host; }
  HostKind host() const { return host_; }

  // Opens the store if no object holds it; throws quorvel::Error.
  void EnsureSession();
  StoreSession& session() { return *session_; }
  bool HasSession() const { return session_ != nullptr; }
  // Checkpoints and closes the store; failures are swallowed and reported to the debugger,
  // since this runs from Release. Returns whether the checkpoint landed.
  bool CloseSession();

  // The store's latency: every call served waits, a Save waits further.
  void PaceCall() const { Pace(&Latency::callMs); }
  void PaceSave() const { Pace(&Latency::saveMs); }

  // Items held open at once, for the store's limit on them.
  void ItemOpened() { ++openItems_; }
  void ItemClosed() { --openItems_; }
  long openItems() const { return openItems_; }

  void ObjectCreated() { ++objects_; }
  void ObjectDestroyed();
  long objects() const { return objects_; }
  void Lock(bool lock) { lock ? ++locks_ : --locks_; }
  long locks() const { return locks_; }

  // In-process the store says whether an explorer is open; the local server knows itself.
  bool ExplorerAvailable() const;
  void SetExplorerOpen(bool open) { explorerOpen_ = open; }

  std::function<void()> onSaved;  // after every successful Save
  std::function<void()> onIdle;   // when the last object went away

 private:
  void Pace(int Latency::*delay) const;

  HostKind host_ = HostKind::InProcess;
  std::unique_ptr<StoreSession> session_;
  std::atomic<long> objects_{0};
  std::atomic<long> openItems_{0};
  std::atomic<long> locks_{0};
  bool explorerOpen_ = false;
};

}  // namespace standin
