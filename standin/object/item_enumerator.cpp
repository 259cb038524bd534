#include <new>

#include "object/model_objects.h"
#include "object/server_context.h"
#include "store/call_counts.h"

namespace standin {
namespace {

// Walks a snapshot of a view, so saving (or re-sorting the view) during the walk neither
// skips nor repeats an element.
class ItemEnumerator final : public IEnumVARIANT {
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
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* out, ULONG* fetched) override {
    STANDIN_COUNT("IEnumVARIANT.Next");
    if (!out || (wanted > 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    try {
      for (; given < wanted && position_ < order_->size(); ++given, ++position_) {
        VariantInit(&out[given]);
        out[given].vt = VT_DISPATCH;
        out[given].pdispVal = NewCalendarItem((*order_)[position_]).Detach();
      }
    } catch (const std::bad_alloc&) {
      for (ULONG i = 0; i < given; ++i) VariantClear(&out[i]);
      return E_OUTOFMEMORY;
    }
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    STANDIN_COUNT("IEnumVARIANT.Skip");
    const std::size_t left = order_->size() - position_;
    position_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Reset() override {
    STANDIN_COUNT("IEnumVARIANT.Reset");
    position_ = 0;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
    STANDIN_COUNT("IEnumVARIANT.Clone");
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
