#pragma once
// The one way this program calls a member through IDispatch: every failure comes back as
// quorvel::Error, and a busy server is given time before its refusal counts.

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <span>

#include "common/com/variant.h"

namespace quorvel::com {

// `arguments` in call order; a null object throws error 91.
Variant Invoke(IDispatch* object, DISPID member, WORD flags,
               std::span<const VARIANT> arguments = {});

inline Variant GetProperty(IDispatch* object, DISPID member) {
  return Invoke(object, member, DISPATCH_PROPERTYGET);
}

inline Variant CallMethod(IDispatch* object, DISPID member,
                          std::span<const VARIANT> arguments = {}) {
  return Invoke(object, member, DISPATCH_METHOD, arguments);
}

inline void PutProperty(IDispatch* object, DISPID member, const VARIANT& value) {
  Invoke(object, member, DISPATCH_PROPERTYPUT, std::span<const VARIANT>(&value, 1));
}

// A member called by name: its dispatch id is asked for once per object and then reused.
class NamedMember {
 public:
  explicit NamedMember(const wchar_t* name) : name_(name) {}
  DISPID IdOn(IDispatch* object);

 private:
  const wchar_t* name_;
  std::optional<DISPID> id_;
};

}  // namespace quorvel::com
