#include "window/layout.h"

namespace quorvel::layout {

std::optional<Control> Find(std::wstring_view name) {
  for (const Control& control : kControls) {
    if (control.name == name) return control;
  }
  return std::nullopt;
}

Rect InClientArea(const Control& control) {
  Rect rect = control.rect;
  for (auto container = Find(control.container); container;
       container = Find(container->container)) {
    rect.left += container->rect.left;
    rect.top += container->rect.top;
  }
  return rect;
}

}  // namespace quorvel::layout
