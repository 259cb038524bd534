// Walking a collection through the port: what counts as an appointment, and how a failing
// advance surfaces.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include "common/error.h"
#include "outlook/com/com_items.h"
#include "outlook/com/dispatch_ids.h"
#include "scripted_dispatch.h"

namespace quorvel {
namespace {

using Microsoft::WRL::ComPtr;
using outlook::Advance;
using testing::InvokeCall;
using testing::ScriptedDispatch;
using testing::ScriptedEnumerator;

ComPtr<ScriptedDispatch> ItemOfClass(long item_class, const wchar_t* subject) {
  ComPtr<ScriptedDispatch> item;
  *item.GetAddressOf() = ScriptedDispatch::Create();  // mingw's Attach adds a reference
  item->On(outlook::com::kClass, [item_class](const InvokeCall& call) {
    call.result->vt = VT_I4;
    call.result->lVal = item_class;
    return S_OK;
  });
  item->On(outlook::com::kSubject, [subject](const InvokeCall& call) {
    call.result->vt = VT_BSTR;
    call.result->bstrVal = SysAllocString(subject);
    return S_OK;
  });
  return item;
}

VARIANT ElementOf(IDispatch* object) {
  VARIANT element;
  VariantInit(&element);
  element.vt = VT_DISPATCH;
  element.pdispVal = object;
  if (object) object->AddRef();
  return element;
}

// A collection whose enumerator hands out `elements`, answering DISPID_NEWENUM as a
// property only, as some servers do.
ComPtr<ScriptedDispatch> CollectionOf(std::vector<VARIANT> elements, HRESULT failure = S_OK,
                                      size_t fail_at = static_cast<size_t>(-1)) {
  ComPtr<ScriptedDispatch> items;
  *items.GetAddressOf() = ScriptedDispatch::Create();  // mingw's Attach adds a reference
  auto shared = std::make_shared<std::vector<VARIANT>>(std::move(elements));
  items->On(DISPID_NEWENUM, [shared, failure, fail_at](const InvokeCall& call) {
    if (!(call.flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    std::vector<VARIANT> copies(shared->size());
    for (size_t i = 0; i < shared->size(); ++i) {
      VariantInit(&copies[i]);
      VariantCopy(&copies[i], &(*shared)[i]);
    }
    call.result->vt = VT_UNKNOWN;
    call.result->punkVal = ScriptedEnumerator::Create(std::move(copies), failure, fail_at);
    return S_OK;
  });
  // The collection outlives the test body's element holders only through these copies.
  return items;
}

std::vector<std::wstring> Walk(outlook::Items& items, int& others) {
  std::vector<std::wstring> subjects;
  auto enumeration = items.Enumerate();
  std::shared_ptr<outlook::AppointmentItem> current;
  outlook::Unexamined why;
  for (int guard = 0; guard < 100; ++guard) {
    const Advance step = enumeration->Next(current, why);
    if (step == Advance::kEnd) return subjects;
    if (step == Advance::kNotAnAppointment) {
      ++others;
    } else if (step == Advance::kUnexaminable) {
      subjects.push_back(L"? " + std::to_wstring(why.why.number));
    } else {
      subjects.push_back(current->Subject());
    }
  }
  ADD_FAILURE() << "the enumeration did not end";
  return subjects;
}

TEST(ItemsEnumeration, AppointmentsAreToldApartFromOtherElements) {
  auto first = ItemOfClass(26, L"Dentist");
  auto request = ItemOfClass(53, L"Meeting request");
  auto broken = ItemOfClass(26, L"Broken");
  broken->On(outlook::com::kClass, [](const InvokeCall&) { return E_FAIL; });
  auto last = ItemOfClass(26, L"Review");
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 5;

  auto items_object =
      CollectionOf({ElementOf(first.Get()), ElementOf(request.Get()), ElementOf(broken.Get()),
                    number, ElementOf(nullptr), ElementOf(last.Get())});
  outlook::com::ComItems items(items_object);
  int others = 0;
  // An element whose kind cannot be read is told apart from one that is no appointment.
  EXPECT_EQ(Walk(items, others),
            (std::vector<std::wstring>{L"Dentist", L"? -2147467259", L"Review"}));
  EXPECT_EQ(others, 3);
  // Telling the kind costs one Class read per element and nothing else.
  EXPECT_EQ(first->invocations(outlook::com::kClass), 1);
  EXPECT_EQ(request->invocations(outlook::com::kSubject), 0);
}

TEST(ItemsEnumeration, TheElementTheStepsAreDoneWithIsReleasedAtTheNextAdvance) {
  auto first = ItemOfClass(26, L"Kept");
  auto request = ItemOfClass(53, L"Request");
  outlook::com::ComItems items(CollectionOf({ElementOf(first.Get()), ElementOf(request.Get())}));
  auto enumeration = items.Enumerate();
  std::shared_ptr<outlook::AppointmentItem> current;
  outlook::Unexamined why;
  ASSERT_EQ(enumeration->Next(current, why), Advance::kAppointment);
  const auto held = current;
  EXPECT_EQ(enumeration->Next(current, why), Advance::kNotAnAppointment);
  EXPECT_EQ(current, nullptr);
  EXPECT_EQ(held.use_count(), 1);
  EXPECT_EQ(enumeration->Next(current, why), Advance::kEnd);
  EXPECT_EQ(current, nullptr);
}

// Elements come sixteen to a fetch, and no more than sixteen are ever held open: an Outlook in
// online mode refuses the 251st open item.
TEST(ItemsEnumeration, ElementsComeInBatchesAndNoMoreThanSixteenAreHeldOpen) {
  auto item = ItemOfClass(26, L"Same");
  std::vector<VARIANT> elements;
  for (int i = 0; i < 40; ++i) elements.push_back(ElementOf(item.Get()));
  outlook::com::ComItems items(CollectionOf(std::move(elements), E_ABORT, 36));
  auto references = [&] {
    item->AddRef();
    return static_cast<int>(item->Release());
  };
  const int before = references();
  auto enumeration = items.Enumerate();
  std::shared_ptr<outlook::AppointmentItem> current;
  outlook::Unexamined why;
  ASSERT_EQ(enumeration->Next(current, why), Advance::kAppointment);
  const int with_one_batch = references();
  EXPECT_EQ(with_one_batch, before + 40 + 16);  // the enumerator's own copies, and one batch
  int visited = 1;
  try {
    while (enumeration->Next(current, why) == Advance::kAppointment) {
      ++visited;
      EXPECT_LE(references(), with_one_batch);
    }
    ADD_FAILURE() << "the failure at element 36 was lost";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), static_cast<std::int32_t>(E_ABORT));
  }
  // The elements that came with the failing fetch were all handed out before it was told.
  EXPECT_EQ(visited, 36);
  current.reset();
  enumeration.reset();
  EXPECT_EQ(references(), before);  // nothing kept
}

TEST(ItemsEnumeration, FailingAdvanceThrowsItsStatus) {
  auto first = ItemOfClass(26, L"One");
  outlook::com::ComItems items(
      CollectionOf({ElementOf(first.Get()), ElementOf(first.Get())}, E_ABORT, 1));
  auto enumeration = items.Enumerate();
  std::shared_ptr<outlook::AppointmentItem> current;
  outlook::Unexamined why;
  ASSERT_EQ(enumeration->Next(current, why), Advance::kAppointment);
  try {
    enumeration->Next(current, why);
    ADD_FAILURE() << "the failing advance passed";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), static_cast<std::int32_t>(E_ABORT));
    EXPECT_EQ(error.record().source, L"QuorvelImport");
  }
}

TEST(ItemsEnumeration, CollectionWithoutEnumeratorFails) {
  ComPtr<ScriptedDispatch> empty_answer;
  *empty_answer.GetAddressOf() = ScriptedDispatch::Create();  // mingw's Attach adds a reference
  empty_answer->On(DISPID_NEWENUM, [](const InvokeCall&) { return S_OK; });  // Nothing
  outlook::com::ComItems nothing(empty_answer);
  try {
    nothing.Enumerate();
    ADD_FAILURE() << "an enumeration without an enumerator";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), 91);
  }

  ComPtr<ScriptedDispatch> refusing;
  *refusing.GetAddressOf() = ScriptedDispatch::Create();  // mingw's Attach adds a reference
  outlook::com::ComItems unsupported(refusing);
  try {
    unsupported.Enumerate();
    ADD_FAILURE() << "an enumeration of a collection that has none";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), static_cast<std::int32_t>(DISP_E_MEMBERNOTFOUND));
  }
}

}  // namespace
}  // namespace quorvel
