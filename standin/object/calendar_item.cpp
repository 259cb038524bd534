#include "object/dispatch_object.h"
#include "object/model_objects.h"
#include "object/outlook_ids.h"
#include "object/server_context.h"

namespace standin {
namespace {

// An appointment or a meeting request. A written subject stays with this object until Save,
// as in Outlook, where an unsaved change never reaches the store.
class CalendarItem final : public DispatchObject {
 public:
  explicit CalendarItem(std::uint32_t index)
      : index_(index), appointment_(Stored().itemClass == kClassAppointment) {
    ServerContext::Instance().ItemOpened();
  }
  ~CalendarItem() override { ServerContext::Instance().ItemClosed(); }

 protected:
  const MemberTable& Members() const override {
    static const MemberTable appointment("AppointmentItem",
                                         {{L"Subject", dispid::kSubject, true},
                                          {L"Start", dispid::kStart},
                                          {L"BusyStatus", dispid::kBusyStatus},
                                          {L"RecurrenceState", dispid::kRecurrenceState},
                                          {L"Save", dispid::kSave},
                                          {L"MessageClass", dispid::kMessageClass},
                                          {L"EntryID", dispid::kEntryId},
                                          {L"Application", dispid::kApplication},
                                          {L"Parent", dispid::kParent},
                                          {L"Class", dispid::kClass}});
    static const MemberTable meeting("MeetingItem", {{L"Subject", dispid::kSubject, true},
                                                     {L"Start", dispid::kStart},
                                                     {L"Save", dispid::kSave},
                                                     {L"MessageClass", dispid::kMessageClass},
                                                     {L"EntryID", dispid::kEntryId},
                                                     {L"Application", dispid::kApplication},
                                                     {L"Parent", dispid::kParent},
                                                     {L"Class", dispid::kClass}});
    return appointment_ ? appointment : meeting;
  }

  HRESULT Call(DISPID id, Invocation& call) override {
    const StoredItem& item = Stored();
    switch (id) {
      case dispid::kSubject:
        if (call.IsPut()) return PutSubject(call);
        FailIfInjected(ItemMember::Subject);
        SetText(call.result(), pendingSubject_ ? *pendingSubject_ : item.subject);
        return S_OK;
      case dispid::kStart:
        FailIfInjected(ItemMember::Start);
        SetDate(call.result(), item.start);
        return S_OK;
      case dispid::kBusyStatus:
        FailIfInjected(ItemMember::BusyStatus);
        SetLong(call.result(), item.busy);
        return S_OK;
      case dispid::kRecurrenceState:
        FailIfInjected(ItemMember::RecurrenceState);
        SetLong(call.result(), item.recurrence);
        return S_OK;
      case dispid::kSave:
        return Save();
      case dispid::kMessageClass:
        SetText(call.result(), appointment_ ? L"IPM.Appointment" : L"IPM.Schedule.Meeting.Request");
        return S_OK;
      case dispid::kEntryId:
        SetText(call.result(), std::wstring(item.id.begin(), item.id.end()));
        return S_OK;
      case dispid::kApplication:
        SetDispatch(call.result(), NewApplication().Get());
        return S_OK;
      case dispid::kParent:
        SetDispatch(call.result(), NewFolder(FolderKind::Calendar).Get());
        return S_OK;
      case dispid::kClass:
        FailIfInjected(ItemMember::Class);
        SetLong(call.result(), item.itemClass);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  bool Implements(REFIID iid) const override {
    return iid == (appointment_ ? kIidAppointmentItem : kIidMeetingItem);
  }

 private:
  StoredItem& Stored() const { return ServerContext::Instance().session().model().items()[index_]; }

  void FailIfInjected(ItemMember member) const {
    const StoredItem& item = Stored();
    if (item.faults && item.faults->For(member)) throw quorvel::Error(*item.faults->For(member));
  }

  HRESULT PutSubject(Invocation& call) {
    const VARIANT* value = call.PutValue();
    if (!value) return DISP_E_BADPARAMCOUNT;
    const auto text = ArgumentText(*value);
    if (!text) return DISP_E_TYPEMISMATCH;
    FailIfInjected(ItemMember::SubjectPut);
    pendingSubject_ = *text;
    return S_OK;
  }

  HRESULT Save() {
    ServerContext& context = ServerContext::Instance();
    context.PaceSave();
    FailIfInjected(ItemMember::Save);
    context.session().RecordSave(index_, pendingSubject_ ? *pendingSubject_ : Stored().subject);
    pendingSubject_.reset();
    if (context.onSaved) context.onSaved();
    return S_OK;
  }

  std::uint32_t index_;
  bool appointment_;
  std::optional<std::wstring> pendingSubject_;
};

}  // namespace

ComPtr<IDispatch> NewCalendarItem(std::uint32_t index) {
  ServerContext& context = ServerContext::Instance();
  const int limit = context.session().model().faults().openItemLimit;
  if (limit > 0 && context.openItems() >= limit)
    RaiseOutlookError(kTooManyOpenItems,
                      L"Your server administrator has limited the number of items you can open "
                      L"simultaneously. Try closing messages you have opened or removing "
                      L"attachments and images from unsent messages you are composing.");
  ComPtr<IDispatch> object;
  *object.GetAddressOf() = new CalendarItem(index);  // mingw-w64's ComPtr::Attach adds a reference
  return object;
}

}  // namespace standin
