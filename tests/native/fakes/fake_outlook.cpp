#include "fakes/fake_outlook.h"

#include <algorithm>
#include <stdexcept>

namespace quorvel::fakes {

void CallLog::Enter(const std::wstring& key) {
  calls.push_back(key);
  if (on_call) on_call(key);
  if (auto failure = failing.find(key); failure != failing.end()) throw Error(failure->second);
}

int CallLog::CountOf(const std::wstring& key) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), key));
}

namespace {

using ElementList = std::vector<std::shared_ptr<FakeElement>>;

class Appointment final : public outlook::AppointmentItem {
 public:
  Appointment(FakeOutlook& world, std::shared_ptr<FakeElement> element)
      : world_(world), e_(std::move(element)) {}

  std::int32_t RecurrenceState() override {
    Enter(L".RecurrenceState");
    return e_->recurrence;
  }
  std::int32_t BusyStatus() override {
    Enter(L".BusyStatus");
    return e_->busy;
  }
  std::wstring Subject() override {
    Enter(L".Subject");
    return e_->subject;
  }
  void SetSubject(const std::wstring& subject) override {
    Enter(L".Subject=");
    e_->subject = subject;
  }
  DateTime Start() override {
    Enter(L".Start");
    return e_->start;
  }
  void Save() override {
    Enter(L".Save");
    e_->saved_subjects.push_back(e_->subject);
  }
  std::wstring EntryID() override {
    Enter(L".EntryID");
    return e_->id;
  }

 private:
  void Enter(const wchar_t* member) { world_.log.Enter(e_->id + member); }
  FakeOutlook& world_;
  std::shared_ptr<FakeElement> e_;
};

class Enumeration final : public outlook::ItemsEnumeration {
 public:
  Enumeration(FakeOutlook& world, ElementList elements)
      : world_(world), elements_(std::move(elements)) {}

  outlook::Advance Next(std::shared_ptr<outlook::AppointmentItem>& current,
                        outlook::Unexamined& unexamined) override {
    current.reset();
    world_.log.Enter(L"Items.Next");
    if (next_ == elements_.size()) return outlook::Advance::kEnd;
    const auto& element = elements_[next_++];
    if (element->kind_error) {
      unexamined = {*element->kind_error, element->id};
      return outlook::Advance::kUnexaminable;
    }
    if (!element->is_appointment) return outlook::Advance::kNotAnAppointment;
    current = std::make_shared<Appointment>(world_, element);
    return outlook::Advance::kAppointment;
  }

 private:
  FakeOutlook& world_;
  ElementList elements_;
  std::size_t next_ = 0;
};

class Items final : public outlook::Items {
 public:
  Items(FakeOutlook& world, ElementList elements, const wchar_t* name)
      : world_(world), elements_(std::move(elements)), name_(name) {}

  std::unique_ptr<outlook::ItemsEnumeration> Enumerate() override {
    world_.log.Enter(name_ + L".Enumerate");
    return std::make_unique<Enumeration>(world_, elements_);
  }
  std::shared_ptr<outlook::Items> Restrict(const std::wstring& filter) override {
    world_.log.Enter(name_ + L".Restrict");
    world_.restrict_filters.push_back(filter);
    ElementList in_range;
    for (const auto& element : elements_) {
      if (element->in_range) in_range.push_back(element);
    }
    return std::make_shared<Items>(world_, std::move(in_range), L"RangeItems");
  }
  std::int32_t Count() override {
    world_.log.Enter(name_ + L".Count");
    return static_cast<std::int32_t>(elements_.size());
  }
  void Sort(const std::wstring& property) override {
    world_.log.Enter(name_ + L".Sort(" + property + L")");
    std::stable_sort(elements_.begin(), elements_.end(),
                     [](const auto& a, const auto& b) { return a->start < b->start; });
  }

 private:
  FakeOutlook& world_;
  ElementList elements_;
  std::wstring name_;
};

class Folder final : public outlook::Folder {
 public:
  Folder(FakeOutlook& world, std::wstring name) : world_(world), name_(std::move(name)) {}

  std::wstring Name() override {
    world_.log.Enter(L"Folder.Name");
    return name_;
  }
  std::wstring ParentAsText() override {
    world_.log.Enter(L"Folder.Parent");
    return world_.parent_text;
  }
  std::shared_ptr<outlook::Items> Items() override {
    world_.log.Enter(L"Folder.Items");
    if (!world_.items_exist) return nullptr;
    return std::make_shared<fakes::Items>(world_, world_.calendar, L"CalendarItems");
  }

 private:
  FakeOutlook& world_;
  std::wstring name_;
};

class Explorer final : public outlook::Explorer {
 public:
  explicit Explorer(FakeOutlook& world) : world_(world) {}
  std::shared_ptr<outlook::Folder> CurrentFolder() override {
    world_.log.Enter(L"Explorer.CurrentFolder");
    return std::make_shared<Folder>(world_, world_.shown_folder_name);
  }

 private:
  FakeOutlook& world_;
};

class Namespace final : public outlook::Namespace {
 public:
  explicit Namespace(FakeOutlook& world) : world_(world) {}
  std::shared_ptr<outlook::Folder> GetDefaultFolder(std::int32_t folder_type) override {
    world_.log.Enter(L"Namespace.GetDefaultFolder");
    world_.default_folder_requests.push_back(folder_type);
    if (!world_.calendar_exists) return nullptr;
    return std::make_shared<Folder>(world_, L"Calendar");
  }

 private:
  FakeOutlook& world_;
};

class Application final : public outlook::Application {
 public:
  explicit Application(FakeOutlook& world) : world_(world) {}
  std::shared_ptr<outlook::Namespace> GetNamespace(const std::wstring& type) override {
    world_.log.Enter(L"Application.GetNamespace(" + type + L")");
    if (!world_.namespace_exists) return nullptr;
    return std::make_shared<Namespace>(world_);
  }
  std::shared_ptr<outlook::Explorer> ActiveExplorer() override {
    world_.log.Enter(L"Application.ActiveExplorer");
    if (!world_.explorer_exists) return nullptr;
    return std::make_shared<Explorer>(world_);
  }

 private:
  FakeOutlook& world_;
};

class Shell final : public outlook::Shell {
 public:
  explicit Shell(FakeOutlook& world) : world_(world) {}
  void Run(const std::wstring& command) override {
    world_.log.Enter(L"Shell.Run");
    world_.shell_runs.push_back(command);
  }

 private:
  FakeOutlook& world_;
};

class Factory final : public outlook::ObjectFactory {
 public:
  explicit Factory(FakeOutlook& world) : world_(world) {}
  std::shared_ptr<outlook::Application> CreateApplication(const std::wstring& prog_id) override {
    world_.log.Enter(L"CreateObject(" + prog_id + L")");
    if (!world_.registered || prog_id != L"Outlook.Application") {
      throw Error(-2147221005, L"Invalid class string", L"QuorvelImport");
    }
    return std::make_shared<Application>(world_);
  }
  std::shared_ptr<outlook::Shell> CreateShell(const std::wstring& prog_id) override {
    world_.log.Enter(L"CreateObject(" + prog_id + L")");
    return std::make_shared<Shell>(world_);
  }

 private:
  FakeOutlook& world_;
};

}  // namespace

FakeElement& FakeOutlook::Add(std::wstring id, std::int32_t recurrence, std::int32_t busy,
                              bool in_range) {
  auto element = std::make_shared<FakeElement>();
  element->id = id;
  element->subject = L"Subject " + id;
  element->recurrence = recurrence;
  element->busy = busy;
  element->in_range = in_range;
  calendar.push_back(element);
  return *element;
}

FakeElement& FakeOutlook::AddMeetingRequest(std::wstring id, bool in_range) {
  FakeElement& element = Add(std::move(id), outlook::kNotRecurring, outlook::kBusy, in_range);
  element.is_appointment = false;
  return element;
}

FakeElement& FakeOutlook::Find(const std::wstring& id) {
  for (auto& element : calendar) {
    if (element->id == id) return *element;
  }
  throw std::out_of_range("no such fake element");
}

outlook::ObjectFactory& FakeOutlook::factory() {
  if (!factory_) factory_ = std::make_unique<Factory>(*this);
  return *factory_;
}

}  // namespace quorvel::fakes
