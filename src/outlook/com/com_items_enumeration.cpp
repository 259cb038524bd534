#include "outlook/com/com_items_enumeration.h"

#include "common/com/busy_retry.h"
#include "common/com/com_error.h"
#include "common/com/conversions.h"
#include "common/com/dispatch.h"
#include "common/error.h"
#include "outlook/com/com_appointment_item.h"
#include "outlook/com/dispatch_ids.h"

namespace quorvel::outlook::com {

Advance ComItemsEnumeration::Next(std::shared_ptr<AppointmentItem>& current, ErrorRecord& why) {
  current.reset();  // the element the steps are done with is released before the next opens
  if (!elements_) throw ObjectNotSet();
  quorvel::com::Variant element;
  ULONG fetched = 0;
  const HRESULT status = quorvel::com::RetryWhileBusy([&] {
    fetched = 0;
    return elements_->Next(1, element.Put(), &fetched);
  });
  if (FAILED(status)) {
    throw quorvel::com::ErrorFromStatus(status, elements_.Get(), IID_IEnumVARIANT);
  }
  if (status != S_OK || fetched == 0) return Advance::kEnd;

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
    why = failure.record();
    return Advance::kUnexaminable;
  }
  if (kind != kClassAppointment) return Advance::kNotAnAppointment;
  current = std::make_shared<ComAppointmentItem>(std::move(object));
  return Advance::kAppointment;
}

}  // namespace quorvel::outlook::com
