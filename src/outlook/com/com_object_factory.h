#pragma once
// Object creation by ProgID over COM: "Outlook.Application" and "WScript.Shell".

#include <memory>

#include "outlook/automation.h"

namespace quorvel::outlook::com {

std::unique_ptr<ObjectFactory> MakeComObjectFactory();

}  // namespace quorvel::outlook::com
