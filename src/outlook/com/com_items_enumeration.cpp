#include "outlook/com/com_items_enumeration.h"

#include "common/com/busy_retry.h"
#include "common/com/com_error.h"
#include "common/com/conversions.h"
#include "common/com/dispatch.h"
#include "common/error.h"
#include "outlook/com/com_appointment_item.h"
#include "outlook/com/dispatch_ids.h"

namespace quorvel::outlook::com {

ElementBatch::ElementBatch() noexcept {
  for (VARIANT& slot : slots_) VariantInit(&slot);
}

ElementBatch::~ElementBatch() {
  Clear();
}

void ElementBatch::Clear() noexcept {
  for (VARIANT& slot : slots_) VariantClear(&slot);
  held_ = next_ = 0;
}

HRESULT ElementBatch::Fetch(IEnumVARIANT& elements, ULONG wanted) {
  Clear();
  ULONG fetched = 0;
  const HRESULT status = quorvel::com::RetryWhileBusy([&] {
    fetched = 0;
    return elements.Next(wanted, slots_.data(), &fetched);
  });
  held_ = fetched < wanted ? fetched : wanted;
  return status;
}

quorvel::com::Variant ElementBatch::Take() noexcept {
  quorvel::com::Variant element;
  *element.Put() = slots_[next_];  // the element's ownership moves with its bits
  VariantInit(&slots_[next_]);
  ++next_;
  return element;
}

Advance ComItemsEnumeration::Next(std::shared_ptr<AppointmentItem>& current,
                                  Unexamined& unexamined) {
  current.reset();  // the element the steps are done with is released before more are opened
  if (!elements_) throw ObjectNotSet();
  if (batch_.Empty()) {
    // A failure that came with elements is told once they are handed out, so none is lost.
    if (FAILED(deferred_failure_)) {
      throw quorvel::com::ErrorFromStatus(deferred_failure_, elements_.Get(), IID_IEnumVARIANT);
    }
    // A short batch is not taken for the end: only a fetch that brings nothing is, so a
    // failure right after a short batch is still seen. It costs one call per pass.
    const HRESULT status = batch_.Fetch(*elements_.Get(), ElementBatch::kSize);
    if (FAILED(status)) {
      if (batch_.Empty()) {
        throw quorvel::com::ErrorFromStatus(status, elements_.Get(), IID_IEnumVARIANT);
      }
      deferred_failure_ = status;
    }
    if (batch_.Empty()) return Advance::kEnd;
  }
  quorvel::com::Variant element = batch_.Take();

  Microsoft::WRL::ComPtr<IDispatch> object;
  try {
    object = quorvel::com::ToObject(std::move(element));
  } catch (const Error&) {
    return Advance::kNotAnAppointment;  // not an object at all, so surely no appointment
  }
  if (!object) return Advance::kNotAnAppointment;
  // The element's Class tells its kind in one call, in process and across processes alike
  // (asking for the appointment interface id needs a registered type library there).
  long kind = 0;
  try {
    kind = quorvel::com::ToLong(quorvel::com::GetProperty(object.Get(), kClass));
  } catch (const Error& failure) {
    unexamined.why = failure.record();
    // Only such an element pays for its identity, so a clean pass makes no extra call.
    unexamined.entry_id.reset();
    try {
      unexamined.entry_id = quorvel::com::ToText(quorvel::com::GetProperty(object.Get(), kEntryID));
    } catch (const Error&) {
      // counted on its own, then
    }
    return Advance::kUnexaminable;
  }
  if (kind != kClassAppointment) return Advance::kNotAnAppointment;
  current = std::make_shared<ComAppointmentItem>(std::move(object));
  return Advance::kAppointment;
}

}  // namespace quorvel::outlook::com
