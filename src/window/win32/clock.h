#pragma once
// The system clock in local time.

#include "window/form_ports.h"

namespace quorvel::win32 {

class Clock final : public quorvel::Clock {
 public:
  DateTime Now() override;
};

}  // namespace quorvel::win32
