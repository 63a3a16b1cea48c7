#include "gui/classes.h"

#include <algorithm>
#include <cctype>

#include "core/text/number_text.h"
#include "gui/text.h"

namespace gui {

Exception::Exception(std::wstring message) : message_(std::move(message)), utf8_(WideToUtf8(message_)) {}

// ---------------------------------------------------------------------------
// Class identity and property lookup

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info{"TObject", nullptr, &TObject::DeclareProperties};
  return info;
}

namespace {

// Property tables are built once per class and thread, on first use.
const std::vector<TPropInfo>& OwnProperties(const TClassInfo& cls) {
  struct Entry {
    const TClassInfo* cls;
    std::unique_ptr<std::vector<TPropInfo>> props;
  };
  // Never destroyed: with mingw-w64 a thread-local object is destroyed at
  // thread exit after its storage has been freed.
  thread_local auto* cache = new std::vector<Entry>;
  for (const Entry& e : *cache)
    if (e.cls == &cls) return *e.props;
  auto props = std::make_unique<std::vector<TPropInfo>>();
  // A class without its own declaration inherits its parent's function: skip
  // the duplicate so each property is listed once along the chain.
  if (!cls.Parent || cls.DeclareProperties != cls.Parent->DeclareProperties) cls.DeclareProperties(*props);
  cache->push_back({&cls, std::move(props)});
  return *cache->back().props;
}

// Resolves all but the last segment of a dotted path to the sub-object.
TObject* ResolveOwner(TObject& object, std::string_view& path) {
  TObject* current = &object;
  for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
    const TPropInfo* info = FindPropInfo(current->ClassType(), path.substr(0, dot));
    if (!info || info->Kind != TPropKind::Object || !info->GetObject) return nullptr;
    current = info->GetObject(*current);
    if (!current) return nullptr;
    path.remove_prefix(dot + 1);
  }
  return current;
}

}  // namespace

bool TObject::InheritsFrom(std::string_view className) const {
  for (const TClassInfo* c = &ClassType(); c; c = c->Parent)
    if (SameText(c->Name, className)) return true;
  return false;
}

const TPropInfo* FindPropInfo(const TClassInfo& cls, std::string_view name) {
  for (const TClassInfo* c = &cls; c; c = c->Parent)
    for (const TPropInfo& p : OwnProperties(*c))
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

bool HasProperty(TObject& object, std::string_view path) {
  TObject* target = ResolveOwner(object, path);
  return target && FindPropInfo(target->ClassType(), path) != nullptr;
}

namespace {

// A component named from `target`: one its owner owns, or the owner itself.
TComponent* FindSibling(TObject& target, std::string_view name) {
  auto* self = dynamic_cast<TComponent*>(&target);
  TComponent* owner = self ? self->Owner() : nullptr;
  if (!owner || name.empty()) return nullptr;
  if (SameText(owner->Name(), name)) return owner;
  return owner->FindComponent(name);
}

bool SetComponentByName(TObject& target, const TPropInfo& info, std::string_view name) {
  info.SetComponent(target, SameText(name, "nil") ? nullptr : FindSibling(target, name));
  return true;
}

}  // namespace

bool SetPropValue(TObject& object, std::string_view path, const TPropValue& value) {
  TObject* target = ResolveOwner(object, path);
  if (!target) return false;
  const TPropInfo* info = FindPropInfo(target->ClassType(), path);
  if (!info) return false;
  if (info->Kind == TPropKind::Component) return SetComponentByName(*target, *info, value.text);
  if (!info->Set) return false;
  info->Set(*target, value);
  return true;
}

bool SetPropValue(TObject& object, std::string_view path, std::string_view text) {
  std::string_view rest = path;
  TObject* target = ResolveOwner(object, rest);
  if (!target) return false;
  const TPropInfo* info = FindPropInfo(target->ClassType(), rest);
  if (!info) return false;
  if (info->Kind == TPropKind::Component) return SetComponentByName(*target, *info, text);
  if (!info->Set) return false;
  TPropValue v;
  switch (info->Kind) {
    case TPropKind::Integer:
      v = prop::IntValue(core::StrToIntDef(text, 0));
      break;
    case TPropKind::String:
    case TPropKind::Strings:
      v.kind = TPropValue::Kind::String;
      v.text = std::string(text);
      break;
    case TPropKind::Color:
      if (auto n = core::ParseInteger(text)) {
        v = prop::IntValue(static_cast<std::uint32_t>(*n));
      } else {
        v = prop::IdentValue(std::string(text));
      }
      break;
    default:
      v = prop::IdentValue(std::string(text));
      break;
  }
  info->Set(*target, v);
  return true;
}

std::string GetPropValue(TObject& object, std::string_view path) {
  TObject* target = ResolveOwner(object, path);
  if (!target) return {};
  const TPropInfo* info = FindPropInfo(target->ClassType(), path);
  if (info && info->Kind == TPropKind::Component) {
    TComponent* c = info->GetComponent(*target);
    return c ? c->Name() : std::string();
  }
  if (!info || !info->Get) return {};
  const TPropValue v = info->Get(*target);
  switch (v.kind) {
    case TPropValue::Kind::Integer: return std::to_string(v.integer);
    case TPropValue::Kind::String:
    case TPropValue::Kind::Identifier: return v.text;
    case TPropValue::Kind::Set: {
      std::string out = "[";
      for (std::size_t i = 0; i < v.items.size(); ++i) out += (i ? "," : "") + v.items[i];
      return out + "]";
    }
    case TPropValue::Kind::List: {
      std::string out;
      for (const std::string& item : v.items) out += item + "\r\n";
      return out;
    }
    case TPropValue::Kind::Binary:
    case TPropValue::Kind::Collection: return {};
  }
  return {};
}

// ---------------------------------------------------------------------------
// Value conversions

namespace prop {

TPropValue IntValue(std::int64_t v) {
  TPropValue r;
  r.kind = TPropValue::Kind::Integer;
  r.integer = v;
  return r;
}

TPropValue IdentValue(std::string s) {
  TPropValue r;
  r.kind = TPropValue::Kind::Identifier;
  r.text = std::move(s);
  return r;
}

TPropValue StringValue(const std::wstring& s) {
  TPropValue r;
  r.kind = TPropValue::Kind::String;
  r.text = WideToUtf8(s);
  return r;
}

TPropValue SetValue(std::uint32_t bits, const std::vector<std::string>& names) {
  TPropValue r;
  r.kind = TPropValue::Kind::Set;
  for (std::size_t i = 0; i < names.size() && i < 32; ++i)
    if (bits & (1u << i)) r.items.push_back(names[i]);
  return r;
}

TPropValue StringsValue(const std::vector<std::wstring>& items) {
  TPropValue r;
  r.kind = TPropValue::Kind::List;
  for (const std::wstring& s : items) r.items.push_back(WideToUtf8(s));
  return r;
}

std::int64_t ToInteger(const TPropValue& v) {
  if (v.kind == TPropValue::Kind::Integer) return v.integer;
  return core::StrToIntDef(v.text, 0);
}

bool ToBoolean(const TPropValue& v) {
  if (v.kind == TPropValue::Kind::Integer) return v.integer != 0;
  return SameText(v.text, "True");
}

std::wstring ToWideString(const TPropValue& v) {
  if (v.kind == TPropValue::Kind::Integer) return std::to_wstring(v.integer);
  return Utf8ToWide(v.text);
}

int ToOrdinal(const TPropValue& v, const std::vector<std::string>& names) {
  if (v.kind == TPropValue::Kind::Integer) return static_cast<int>(v.integer);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (SameText(names[i], v.text)) return static_cast<int>(i);
  throw Exception(L"Invalid property value " + Utf8ToWide(v.text));
}

std::uint32_t ToSet(const TPropValue& v, const std::vector<std::string>& names) {
  if (v.kind == TPropValue::Kind::Integer) return static_cast<std::uint32_t>(v.integer);
  std::uint32_t bits = 0;
  for (const std::string& item : v.items) {
    TPropValue one = IdentValue(item);
    bits |= 1u << ToOrdinal(one, names);
  }
  return bits;
}

std::vector<std::wstring> ToStrings(const TPropValue& v) {
  std::vector<std::wstring> out;
  if (v.kind == TPropValue::Kind::List) {
    for (const std::string& s : v.items) out.push_back(Utf8ToWide(s));
  } else {
    // Text form: one item per line.
    const std::wstring text = Utf8ToWide(v.text);
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of(L"\r\n", start);
      if (end == std::wstring::npos) end = text.size();
      out.push_back(text.substr(start, end - start));
      start = end;
      if (start < text.size() && text[start] == L'\r') ++start;
      if (start < text.size() && text[start] == L'\n') ++start;
    }
  }
  return out;
}


}  // namespace prop

// ---------------------------------------------------------------------------
// TPersistent, TComponent

bool TPersistent::ReadBinaryProperty(std::string_view, std::span<const std::uint8_t>) { return false; }
void TPersistent::WriteBinaryProperties(std::vector<std::pair<std::string, std::vector<std::uint8_t>>>&) {}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  // Tell whoever watches this component that it goes away.
  for (TComponent* watcher : std::vector<TComponent*>(freeNotifies_)) {
    watcher->Notification(this, TOperation::opRemove);
    watcher->RemoveFreeNotification(this);
  }
  freeNotifies_.clear();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* component) {
  component->owner_ = this;
  components_.push_back(component);
  Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  components_.erase(it);
  component->owner_ = nullptr;
  if (!IsDestroying()) Notification(component, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    delete last;
  }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (TComponent* c : components_)
    if (SameText(c->Name(), name)) return c;
  return nullptr;
}

void TComponent::SetLoadingState(bool loading) {
  if (loading) {
    state_ |= csLoading | csReading;
  } else {
    state_ &= ~(csLoading | csReading);
  }
}

void TComponent::Loaded() { state_ &= ~csLoading; }

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  std::erase(freeNotifies_, component);
  std::erase(component->freeNotifies_, this);
}

TNotifyEvent TComponent::MethodAddress(std::string_view) { return {}; }
void TComponent::BindField(std::string_view, TComponent*) {}
void TComponent::SetParentComponent(TComponent*) {}

void TComponent::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TComponent> b(list);
  b.String("Name", [](TComponent& c) { return Utf8ToWide(c.Name()); },
           [](TComponent& c, const std::wstring& v) { c.SetName(WideToUtf8(v)); });
  b.Integer("Tag", [](TComponent& c) { return c.Tag(); }, [](TComponent& c, int v) { c.SetTag(v); });
}

std::wstring ComponentNameOf(TComponent* component) {
  return component ? Utf8ToWide(component->Name()) : std::wstring(L"nil");
}

// ---------------------------------------------------------------------------
// String lists

void ListIndexError(int index) { throw Exception(L"List index out of bounds (" + std::to_wstring(index) + L")"); }

int TStrings::Add(const std::wstring& text) {
  const int index = Count();
  Insert(index, text);
  return index;
}

int TStrings::IndexOf(const std::wstring& text) const {
  for (int i = 0; i < Count(); ++i)
    if (Get(i) == text) return i;
  return -1;
}

std::vector<std::wstring> TStrings::ToVector() const {
  std::vector<std::wstring> out;
  for (int i = 0; i < Count(); ++i) out.push_back(Get(i));
  return out;
}

void TStrings::Assign(const std::vector<std::wstring>& items) {
  Clear();
  for (const std::wstring& item : items) Add(item);
}

void TStrings::DeclareProperties(std::vector<TPropInfo>& list) {
  TPropBuilder<TStrings> b(list);
  b.Strings("Strings", [](TStrings& s) { return s.ToVector(); },
            [](TStrings& s, const std::vector<std::wstring>& v) { s.Assign(v); });
}

std::wstring TStringList::Get(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
  return Items[static_cast<std::size_t>(index)];
}

void TStringList::Insert(int index, const std::wstring& text) {
  if (index < 0 || index > Count()) ListIndexError(index);
  Items.insert(Items.begin() + index, text);
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) ListIndexError(index);
  Items.erase(Items.begin() + index);
}

// ---------------------------------------------------------------------------
// Collections

int TCollectionItem::Index() const {
  const auto& items = collection_->items_;
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TCollectionItem::Changed() { collection_->Update(*this); }

TCollection::~TCollection() = default;

TCollectionItem& TCollection::Item(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
  return *items_[static_cast<std::size_t>(index)];
}

TCollectionItem& TCollection::InsertItem(int index) {
  if (index < 0 || index > Count()) ListIndexError(index);
  TCollectionItem& item = **items_.insert(items_.begin() + index, NewItem());
  Added(item);
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem& item = Item(index);
  Deleting(item);
  items_.erase(items_.begin() + index);
  Deleted();
}

void TCollection::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

}  // namespace gui
