#pragma once
// The program's single-threaded COM apartment, with the message filter that retries calls
// a busy Outlook refuses. One per thread that talks to Outlook; lives as long as the thread.

namespace quorvel::com {

class Apartment {
 public:
  Apartment();  // CoInitializeEx(COINIT_APARTMENTTHREADED) and CoRegisterMessageFilter
  ~Apartment();
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;
};

}  // namespace quorvel::com
