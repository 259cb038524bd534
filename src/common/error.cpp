#include "common/error.h"

#include <new>

namespace quorvel {

Error ObjectNotSet() {
  return Error(91, L"Object variable or With block variable not set");
}
Error TypeMismatch() {
  return Error(13, L"Type mismatch");
}
Error Overflow() {
  return Error(6, L"Overflow");
}

ErrorRecord CurrentErrorOf(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const Error& error) {
    return error.record();
  } catch (const std::bad_alloc&) {
    return {7, L"Out of memory", kApplicationTitle};
  } catch (...) {
    return {51, L"Internal error", kApplicationTitle};
  }
}

}  // namespace quorvel
