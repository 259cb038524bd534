#include "outlook/com/com_appointment_item.h"

#include "common/com/conversions.h"
#include "common/com/dispatch.h"
#include "outlook/com/dispatch_ids.h"

namespace quorvel::outlook::com {

using quorvel::com::GetProperty;

std::int32_t ComAppointmentItem::RecurrenceState() {
  return quorvel::com::ToLong(GetProperty(item_.Get(), kRecurrenceState));
}

std::int32_t ComAppointmentItem::BusyStatus() {
  return quorvel::com::ToLong(GetProperty(item_.Get(), kBusyStatus));
}

std::wstring ComAppointmentItem::Subject() {
  return quorvel::com::ToText(GetProperty(item_.Get(), kSubject));
}

void ComAppointmentItem::SetSubject(const std::wstring& subject) {
  const auto value = quorvel::com::Variant::FromText(subject);
  quorvel::com::PutProperty(item_.Get(), kSubject, value.get());
}

DateTime ComAppointmentItem::Start() {
  return quorvel::com::ToDateTime(GetProperty(item_.Get(), kStart));
}

std::wstring ComAppointmentItem::EntryID() {
  return quorvel::com::ToText(GetProperty(item_.Get(), kEntryID));
}

void ComAppointmentItem::Save() {
  quorvel::com::CallMethod(item_.Get(), kSave);
}

}  // namespace quorvel::outlook::com
