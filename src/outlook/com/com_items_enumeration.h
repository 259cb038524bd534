#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <array>

#include "common/com/variant.h"
#include "outlook/automation.h"

namespace quorvel::outlook::com {

// Elements fetched from the enumerator several at a time, so that a pass costs one round trip
// per batch rather than one per element. Each element is handed out once; what is not handed
// out is released with the batch.
class ElementBatch {
 public:
  // Never more items open at once than this: the one the steps held is released before a
  // batch is fetched. An Outlook in online mode refuses the 251st open item, and a batch this
  // size already saves nearly every round trip of the fetch.
  static constexpr ULONG kSize = 16;

  ElementBatch() noexcept;
  ~ElementBatch();
  ElementBatch(const ElementBatch&) = delete;
  ElementBatch& operator=(const ElementBatch&) = delete;

  // Asks for the next batch (retried while a busy server refuses); the status is the server's,
  // and the elements it gave are held even when it failed after some.
  HRESULT Fetch(IEnumVARIANT& elements, ULONG wanted);
  bool Empty() const noexcept { return next_ == held_; }
  quorvel::com::Variant Take() noexcept;

 private:
  void Clear() noexcept;
  std::array<VARIANT, kSize> slots_;
  ULONG held_ = 0;
  ULONG next_ = 0;
};

class ComItemsEnumeration final : public ItemsEnumeration {
 public:
  explicit ComItemsEnumeration(Microsoft::WRL::ComPtr<IEnumVARIANT> elements)
      : elements_(std::move(elements)) {}

  Advance Next(std::shared_ptr<AppointmentItem>& current, Unexamined& unexamined) override;

 private:
  Microsoft::WRL::ComPtr<IEnumVARIANT> elements_;
  ElementBatch batch_;
  HRESULT deferred_failure_ = S_OK;
};

}  // namespace quorvel::outlook::com
