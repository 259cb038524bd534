#include "object/server_context.h"

#include <windows.h>

namespace standin {

ServerContext& ServerContext::Instance() {
  static ServerContext context;
  return context;
}

void ServerContext::EnsureSession() {
  if (!session_) session_ = StoreSession::Open(ResolveStorePath());
}

bool ServerContext::CloseSession() {
  if (!session_) return true;
  bool landed = true;
  try {
    session_->Checkpoint();
  } catch (const quorvel::Error& error) {
    // The journal still holds every save; the next open replays it.
    OutputDebugStringW((L"stand-in checkpoint failed: " + error.record().description).c_str());
    landed = false;
  } catch (...) {
    landed = false;
  }
  session_.reset();
  return landed;
}

void ServerContext::ObjectDestroyed() {
  if (--objects_ == 0 && onIdle) onIdle();
}

void ServerContext::Pace(int Latency::*delay) const {
  if (!session_) return;
  if (const int ms = session_->model().latency().*delay; ms > 0) Sleep(static_cast<DWORD>(ms));
}

bool ServerContext::ExplorerAvailable() const {
  if (host_ == HostKind::LocalServer) return explorerOpen_;
  return session_ && session_->model().explorer();
}

}  // namespace standin
