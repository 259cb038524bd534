#include "window/layout.h"

namespace quorvel::layout {

std::optional<Control> Find(std::wstring_view name) {
  for (const Control& control : kControls) {
    if (control.name == name) return control;
  }
  return std::nullopt;
}

std::array<std::size_t, kControls.size()> CreationOrder() {
  auto index_of = [](std::wstring_view name) {
    std::size_t i = 0;
    while (i < kControls.size() && kControls[i].name != name) ++i;
    return i;
  };
  auto is_label = [](std::wstring_view name) {
    for (const Label& label : kLabels) {
      if (label.label == name) return true;
    }
    return false;
  };
  std::array<std::size_t, kControls.size()> order{};
  std::size_t next = 0;
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (is_label(kControls[i].name)) continue;  // it comes with its control
    for (const Label& label : kLabels) {
      if (label.control == kControls[i].name) order[next++] = index_of(label.label);
    }
    order[next++] = i;
  }
  return order;
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
