#pragma once
// Makers of the object model's objects. Each call gives a new object, as Outlook does.

#include <wrl/client.h>
#include <oaidl.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace standin {

using Microsoft::WRL::ComPtr;

// An Items view: positions into the store's items, in the view's order. Shared read-only so
// that an enumeration keeps its snapshot while the view is sorted again.
using ItemOrder = std::shared_ptr<const std::vector<std::uint32_t>>;

enum class FolderKind { Calendar, Mailbox };

ComPtr<IDispatch> NewApplication();
ComPtr<IDispatch> NewNameSpace();
ComPtr<IDispatch> NewFolder(FolderKind kind);
ComPtr<IDispatch> NewExplorer();
ComPtr<IDispatch> NewItems(ItemOrder order);
ComPtr<IDispatch> NewCalendarItem(std::uint32_t index);
ComPtr<IEnumVARIANT> NewItemEnumerator(ItemOrder order, std::size_t position = 0);

// Every item of the store, in store order.
ItemOrder AllItems();

}  // namespace standin
