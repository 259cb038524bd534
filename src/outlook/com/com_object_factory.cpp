#include "outlook/com/com_object_factory.h"

#include "common/com/object_creation.h"
#include "outlook/com/com_application.h"
#include "outlook/com/com_shell.h"

namespace quorvel::outlook::com {

namespace {

class ComObjectFactory final : public ObjectFactory {
 public:
  std::shared_ptr<outlook::Application> CreateApplication(const std::wstring& prog_id) override {
    return std::make_shared<ComApplication>(quorvel::com::CreateObject(prog_id));
  }
  std::shared_ptr<outlook::Shell> CreateShell(const std::wstring& prog_id) override {
    return std::make_shared<ComShell>(quorvel::com::CreateObject(prog_id));
  }
};

}  // namespace

std::unique_ptr<ObjectFactory> MakeComObjectFactory() {
  return std::make_unique<ComObjectFactory>();
}

}  // namespace quorvel::outlook::com
