#include <algorithm>

#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"
#include "object/server_context.h"
#include "store/start_filter.h"

namespace standin {
namespace {

void FailIfInjected(const std::optional<quorvel::ErrorRecord> StoreFaults::*member) {
  const auto& fault = ServerContext::Instance().session().model().faults().*member;
  if (fault) throw quorvel::Error(*fault);
}

std::optional<double> ReadUserDate(const std::wstring& text) {
  Bstr value(text);
  double date = 0;
  if (FAILED(VarDateFromStr(value.get(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
  return date;
}

class Items final : public DispatchObject {
 public:
  explicit Items(ItemOrder order) : order_(std::move(order)) {}

 protected:
  const MemberTable& Members() const override {
    static const MemberTable table("Items",
                                   {{L"Count", dispid::kCount, Bound<&Items::Count>},
                                    {L"Item", dispid::kItem, Bound<&Items::Item>},
                                    {L"Sort", dispid::kSort, Bound<&Items::Sort>},
                                    {L"Restrict", dispid::kRestrict, Bound<&Items::Restrict>},
                                    {L"_NewEnum", DISPID_NEWENUM, Bound<&Items::NewEnum>}});
    return table;
  }
  long ObjectClass() const override { return object_class::kItems; }
  ComPtr<IDispatch> ParentObject() override { return NewFolder(FolderKind::Calendar); }
  bool Implements(REFIID iid) const override { return iid == kIidItems; }

 private:
  HRESULT Count(Invocation& call) {
    FailIfInjected(&StoreFaults::count);
    SetLong(call.result(), static_cast<long>(order_->size()));
    return S_OK;
  }

  HRESULT NewEnum(Invocation& call) {
    SetUnknown(call.result(), NewItemEnumerator(order_).Get());
    return S_OK;
  }

  HRESULT Item(Invocation& call) {
    const VARIANT* index = call.Argument(0);
    if (!index) return DISP_E_BADPARAMCOUNT;
    const auto position = ArgumentLong(*index);
    if (!position) return DISP_E_TYPEMISMATCH;
    if (*position < 1 || static_cast<std::size_t>(*position) > order_->size())
      RaiseOutlookError(static_cast<std::int32_t>(DISP_E_BADINDEX), L"Array index out of bounds.");
    SetDispatch(call.result(), NewCalendarItem((*order_)[*position - 1]).Get());
    return S_OK;
  }

  HRESULT Sort(Invocation& call) {
    const VARIANT* property = call.Argument(0);
    if (!property) return DISP_E_BADPARAMCOUNT;
    FailIfInjected(&StoreFaults::sort);
    const auto name = ArgumentText(*property);
    if (!name || !EqualsIgnoringCase(*name, L"[Start]"))
      RaiseOutlookError(kDispException, (L"The property \"" + name.value_or(L"") +
                                         L"\" in the sort condition is not valid.")
                                            .c_str());
    bool descending = false;
    if (const VARIANT* flag = call.Argument(1); !IsMissing(flag)) {
      const auto value = ArgumentBool(*flag);
      if (!value)
        RaiseOutlookError(static_cast<std::int32_t>(DISP_E_TYPEMISMATCH), L"Type mismatch.");
      descending = *value;
    }
    const auto& items = ServerContext::Instance().session().model().items();
    auto sorted = std::make_shared<std::vector<std::uint32_t>>(*order_);
    std::stable_sort(sorted->begin(), sorted->end(), [&](std::uint32_t a, std::uint32_t b) {
      return descending ? items[a].start > items[b].start : items[a].start < items[b].start;
    });
    order_ = std::move(sorted);
    return S_OK;
  }

  HRESULT Restrict(Invocation& call) {
    const VARIANT* filterArgument = call.Argument(0);
    if (!filterArgument) return DISP_E_BADPARAMCOUNT;
    const auto text = ArgumentText(*filterArgument);
    if (!text) return DISP_E_TYPEMISMATCH;
    FailIfInjected(&StoreFaults::restrict);
    StartFilter filter;
    try {
      filter = StartFilter::Parse(*text, ReadUserDate);
    } catch (const StartFilter::ParseError& bad) {
      RaiseOutlookError(kDispException, bad.message.c_str());
    }
    const auto& items = ServerContext::Instance().session().model().items();
    auto matching = std::make_shared<std::vector<std::uint32_t>>();
    for (std::uint32_t index : *order_)
      if (filter.Matches(items[index].startMinute)) matching->push_back(index);
    SetDispatch(call.result(), NewItems(std::move(matching)).Get());
    return S_OK;
  }

  ItemOrder order_;
};

}  // namespace

ComPtr<IDispatch> NewItems(ItemOrder order) {
  return MakeObject<Items>(std::move(order));
}

}  // namespace standin
