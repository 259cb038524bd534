#include <new>

#include "common/error.h"
#include "object/model_objects.h"
#include "object/server_context.h"
#include "store/call_counts.h"

namespace standin {
namespace {

// Walks a snapshot of a view, so saving (or re-sorting the view) during the walk neither
// skips nor repeats an element.
class ItemEnumerator final : public IEnumVARIANT, public ISupportErrorInfo {
 public:
  ItemEnumerator(ItemOrder order, std::size_t position)
      : order_(std::move(order)), position_(position) {
    ServerContext::Instance().ObjectCreated();
  }
  ItemEnumerator(const ItemEnumerator&) = delete;
  ItemEnumerator& operator=(const ItemEnumerator&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
      *out = static_cast<IEnumVARIANT*>(this);
      AddRef();
      return S_OK;
    }
    if (iid == IID_ISupportErrorInfo) {
      *out = static_cast<ISupportErrorInfo*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // Hands out up to `wanted` elements. An element that cannot be handed out ends the batch
  // before it: the ones already handed out come back with S_FALSE and the walk stays at the
  // failing element, so the next call fails with its error (an HRESULT, with the description
  // and source as the call's error information).
  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
    STANDIN_COUNT("IEnumVARIANT.Next");
    ServerContext::Instance().PaceCall();
    if (!out || (wanted > 1 && !fetched)) return E_POINTER;
    if (fetched) *fetched = 0;
    ULONG given = 0;
    try {
      for (; given < wanted && position_ < order_->size(); ++given, ++position_) {
        VariantInit(&out[given]);
        out[given].pdispVal = OpenElement((*order_)[position_]).Detach();
        out[given].vt = VT_DISPATCH;
      }
    } catch (const quorvel::Error& error) {
      if (given == 0) return Fail(error.record());
    } catch (const std::bad_alloc&) {
      for (ULONG i = 0; i < given; ++i) VariantClear(&out[i]);
      return E_OUTOFMEMORY;
    }
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
    return iid == IID_IEnumVARIANT ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    STANDIN_COUNT("IEnumVARIANT.Skip");
    ServerContext::Instance().PaceCall();
    const std::size_t left = order_->size() - position_;
    position_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Reset() override {
    STANDIN_COUNT("IEnumVARIANT.Reset");
    ServerContext::Instance().PaceCall();
    position_ = 0;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
    STANDIN_COUNT("IEnumVARIANT.Clone");
    ServerContext::Instance().PaceCall();
    if (!copy) return E_POINTER;
    try {
      *copy = NewItemEnumerator(order_, position_).Detach();
    } catch (const std::bad_alloc&) {
      *copy = nullptr;
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  ~ItemEnumerator() { ServerContext::Instance().ObjectDestroyed(); }

  // Throws quorvel::Error for an element the store says cannot be fetched.
  static ComPtr<IDispatch> OpenElement(std::uint32_t index) {
    const StoredItem& item = ServerContext::Instance().session().model().items()[index];
    if (item.faults && item.faults->For(ItemMember::Fetch))
      throw quorvel::Error(*item.faults->For(ItemMember::Fetch));
    return NewCalendarItem(index);
  }

  static HRESULT Fail(const quorvel::ErrorRecord& error) {
    ComPtr<ICreateErrorInfo> make;
    if (SUCCEEDED(CreateErrorInfo(&make))) {
      make->SetGUID(IID_IEnumVARIANT);
      make->SetSource(const_cast<LPOLESTR>(error.source.c_str()));
      make->SetDescription(const_cast<LPOLESTR>(error.description.c_str()));
      ComPtr<IErrorInfo> info;
      if (SUCCEEDED(make.As(&info))) SetErrorInfo(0, info.Get());
    }
    return SUCCEEDED(error.number) ? E_FAIL : static_cast<HRESULT>(error.number);
  }

  std::atomic<ULONG> references_{1};
  ItemOrder order_;
  std::size_t position_;
};

}  // namespace

ComPtr<IEnumVARIANT> NewItemEnumerator(ItemOrder order, std::size_t position) {
  ComPtr<IEnumVARIANT> object;
  *object.GetAddressOf() = new ItemEnumerator(
      std::move(order), position);  // mingw-w64's ComPtr::Attach adds a reference
  return object;
}

}  // namespace standin
