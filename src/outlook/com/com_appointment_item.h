#pragma once

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include "outlook/automation.h"

namespace quorvel::outlook::com {

class ComAppointmentItem final : public AppointmentItem {
 public:
  explicit ComAppointmentItem(Microsoft::WRL::ComPtr<IDispatch> item) : item_(std::move(item)) {}

  std::int32_t RecurrenceState() override;
  std::int32_t BusyStatus() override;
  std::wstring Subject() override;
  void SetSubject(const std::wstring& subject) override;
  DateTime Start() override;
  void Save() override;
  std::wstring EntryID() override;

 private:
  Microsoft::WRL::ComPtr<IDispatch> item_;
};

}  // namespace quorvel::outlook::com
