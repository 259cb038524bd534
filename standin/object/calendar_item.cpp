#include <type_traits>

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
    static const MemberTable appointment("AppointmentItem", ItemMembers(true));
    static const MemberTable meeting("MeetingItem", ItemMembers(false));
    return appointment_ ? appointment : meeting;
  }
  long ObjectClass() const override {
    FailIfInjected(ItemMember::Class);
    return Stored().itemClass;
  }
  ComPtr<IDispatch> ParentObject() override { return NewFolder(FolderKind::Calendar); }
  bool Implements(REFIID iid) const override {
    return iid == (appointment_ ? kIidAppointmentItem : kIidMeetingItem);
  }

 private:
  // A meeting request has no busy status and no recurrence.
  static std::vector<Member> ItemMembers(bool appointment) {
    std::vector<Member> members = {
        {L"Subject", dispid::kSubject, Bound<&CalendarItem::Subject>,
         Bound<&CalendarItem::PutSubject>},
        {L"Start", dispid::kStart,
         Bound<&CalendarItem::Read<ItemMember::Start, &StoredItem::start>>},
        {L"Save", dispid::kSave, Bound<&CalendarItem::Save>},
        {L"MessageClass", dispid::kMessageClass, Bound<&CalendarItem::MessageClass>},
        {L"EntryID", dispid::kEntryId, Bound<&CalendarItem::EntryId>}};
    if (appointment) {
      members.push_back({L"BusyStatus", dispid::kBusyStatus,
                         Bound<&CalendarItem::Read<ItemMember::BusyStatus, &StoredItem::busy>>});
      members.push_back(
          {L"RecurrenceState", dispid::kRecurrenceState,
           Bound<&CalendarItem::Read<ItemMember::RecurrenceState, &StoredItem::recurrence>>});
    }
    return members;
  }

  HRESULT Subject(Invocation& call) {
    FailIfInjected(ItemMember::Subject);
    SetText(call.result(), pendingSubject_ ? *pendingSubject_ : Stored().subject);
    return S_OK;
  }

  // A stored property whose read the store can make fail.
  template <ItemMember guard, auto field>
  HRESULT Read(Invocation& call) {
    FailIfInjected(guard);
    const auto& value = Stored().*field;
    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, double>)
      SetDate(call.result(), value);
    else
      SetLong(call.result(), value);
    return S_OK;
  }

  HRESULT MessageClass(Invocation& call) {
    SetText(call.result(), appointment_ ? L"IPM.Appointment" : L"IPM.Schedule.Meeting.Request");
    return S_OK;
  }

  HRESULT EntryId(Invocation& call) {
    const std::string& id = Stored().id;
    SetText(call.result(), std::wstring(id.begin(), id.end()));
    return S_OK;
  }

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

  HRESULT Save(Invocation&) {
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
  return MakeObject<CalendarItem>(index);
}

}  // namespace standin
