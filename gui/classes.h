// The framework's object model: class identity by name, published properties
// readable and writable by name, components with ownership, and the
// framework's exception type.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/form/form_text.h"

namespace gui {

class TObject;
class TComponent;

using TNotifyEvent = std::function<void(TObject* sender)>;

// The framework's exception: a message meant for the user.
class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message);
  const std::wstring& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::wstring message_;
  std::string utf8_;
};

// Assigns a value and answers whether it differed, for setters that
// announce only real changes.
template <class T>
bool AssignChanged(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

// ---------------------------------------------------------------------------
// Published properties

enum class TPropKind { Integer, Boolean, String, Enumeration, Set, Color, Event, Object, Strings, Component };

// What the form reader and the by-name accessors pass to a property.
using TPropValue = core::FormValue;

struct TPropInfo {
  std::string Name{};
  TPropKind Kind = TPropKind::Integer;
  std::vector<std::string> EnumNames{};  // Enumeration and Set: names by ordinal
  std::function<TPropValue(TObject&)> Get{};
  std::function<void(TObject&, const TPropValue&)> Set{};  // empty: read-only
  std::function<TObject*(TObject&)> GetObject{};            // Object: the sub-object
  std::function<void(TObject&, TNotifyEvent)> SetEvent{};   // Event: bind a handler
  // Component: a reference to another component, written by its name.
  std::function<TComponent*(TObject&)> GetComponent{};
  std::function<void(TObject&, TComponent*)> SetComponent{};
};

struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
  void (*DeclareProperties)(std::vector<TPropInfo>& list);
};

// The root of every framework class.
class TObject {
 public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }

  std::string ClassName() const { return ClassType().Name; }
  bool InheritsFrom(std::string_view className) const;
  static void DeclareProperties(std::vector<TPropInfo>&) {}
};

// Declares a framework class: its name and its parent, for class-name tests
// and for the published-property tables.
#define GUI_CLASS(Cls, Base)                                                                   \
 public:                                                                                       \
  static const ::gui::TClassInfo& StaticClass() {                                              \
    static const ::gui::TClassInfo info{#Cls, &Base::StaticClass(), &Cls::DeclareProperties}; \
    return info;                                                                               \
  }                                                                                            \
  const ::gui::TClassInfo& ClassType() const override { return StaticClass(); }

// Looks a property up along the class chain; nullptr when there is none.
const TPropInfo* FindPropInfo(const TClassInfo& cls, std::string_view name);

// Reads or writes a property given by a path such as "Font.Height". Writing a
// property the object does not have changes nothing and answers false. A
// component reference is written as the name of a component with the same
// owner (or of the owner itself); an unknown name, or "nil", clears it.
bool SetPropValue(TObject& object, std::string_view path, const TPropValue& value);
bool SetPropValue(TObject& object, std::string_view path, std::string_view text);
std::string GetPropValue(TObject& object, std::string_view path);
bool HasProperty(TObject& object, std::string_view path);

// Conversions between property values and typed values.
namespace prop {
TPropValue IntValue(std::int64_t v);
TPropValue IdentValue(std::string s);
TPropValue StringValue(const std::wstring& s);
TPropValue SetValue(std::uint32_t bits, const std::vector<std::string>& names);
TPropValue ColorValue(std::uint32_t color);
TPropValue StringsValue(const std::vector<std::wstring>& items);
std::int64_t ToInteger(const TPropValue& v);
bool ToBoolean(const TPropValue& v);
std::wstring ToWideString(const TPropValue& v);
int ToOrdinal(const TPropValue& v, const std::vector<std::string>& names);
std::uint32_t ToSet(const TPropValue& v, const std::vector<std::string>& names);
std::uint32_t ToColor(const TPropValue& v);
std::vector<std::wstring> ToStrings(const TPropValue& v);
}  // namespace prop

// The name of a component, for messages (defined with TComponent).
std::wstring ComponentNameOf(TComponent* component);

// Builds a class's property table with typed accessors.
template <class C>
class TPropBuilder {
 public:
  explicit TPropBuilder(std::vector<TPropInfo>& list) : list_(list) {}

  void Integer(const char* name, std::function<int(C&)> get, std::function<void(C&, int)> set) {
    Add(name, TPropKind::Integer, {}, [get](C& c) { return prop::IntValue(get(c)); },
        set ? Setter([set](C& c, const TPropValue& v) { set(c, static_cast<int>(prop::ToInteger(v))); }) : Setter());
  }
  void Boolean(const char* name, std::function<bool(C&)> get, std::function<void(C&, bool)> set) {
    Add(name, TPropKind::Boolean, {"False", "True"}, [get](C& c) { return prop::IdentValue(get(c) ? "True" : "False"); },
        set ? Setter([set](C& c, const TPropValue& v) { set(c, prop::ToBoolean(v)); }) : Setter());
  }
  void String(const char* name, std::function<std::wstring(C&)> get, std::function<void(C&, const std::wstring&)> set) {
    Add(name, TPropKind::String, {}, [get](C& c) { return prop::StringValue(get(c)); },
        set ? Setter([set](C& c, const TPropValue& v) { set(c, prop::ToWideString(v)); }) : Setter());
  }
  void Color(const char* name, std::function<std::uint32_t(C&)> get, std::function<void(C&, std::uint32_t)> set) {
    Add(name, TPropKind::Color, {}, [get](C& c) { return prop::ColorValue(get(c)); },
        set ? Setter([set](C& c, const TPropValue& v) { set(c, prop::ToColor(v)); }) : Setter());
  }
  void Enumeration(const char* name, std::vector<std::string> names, std::function<int(C&)> get,
                   std::function<void(C&, int)> set) {
    Add(name, TPropKind::Enumeration, names,
        [get, names](C& c) {
          const int v = get(c);
          return prop::IdentValue(v >= 0 && v < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(v)]
                                                                              : std::to_string(v));
        },
        set ? Setter([set, names](C& c, const TPropValue& v) { set(c, prop::ToOrdinal(v, names)); }) : Setter());
  }
  void Set(const char* name, std::vector<std::string> names, std::function<std::uint32_t(C&)> get,
           std::function<void(C&, std::uint32_t)> set) {
    Add(name, TPropKind::Set, names, [get, names](C& c) { return prop::SetValue(get(c), names); },
        set ? Setter([set, names](C& c, const TPropValue& v) { set(c, prop::ToSet(v, names)); }) : Setter());
  }
  void Strings(const char* name, std::function<std::vector<std::wstring>(C&)> get,
               std::function<void(C&, const std::vector<std::wstring>&)> set) {
    Add(name, TPropKind::Strings, {}, [get](C& c) { return prop::StringsValue(get(c)); },
        set ? Setter([set](C& c, const TPropValue& v) { set(c, prop::ToStrings(v)); }) : Setter());
  }
  // An event; the form reader binds it to a method of the root by name.
  void Event(const char* name, TNotifyEvent C::*field) {
    TPropInfo p{name, TPropKind::Event, {}, {}, {}, {}, {}, {}, {}};
    p.Get = [field](TObject& o) { return prop::IdentValue((static_cast<C&>(o).*field) ? "(assigned)" : ""); };
    p.SetEvent = [field](TObject& o, TNotifyEvent handler) { static_cast<C&>(o).*field = std::move(handler); };
    list_.push_back(std::move(p));
  }
  void Object(const char* name, std::function<TObject*(C&)> get) {
    TPropInfo p{name, TPropKind::Object, {}, {}, {}, {}, {}, {}, {}};
    p.GetObject = [get](TObject& o) { return get(static_cast<C&>(o)); };
    list_.push_back(std::move(p));
  }
  // A reference to another component (the form reader resolves the name
  // once the whole description has been read).
  template <class T>
  void Component(const char* name, std::function<T*(C&)> get, std::function<void(C&, T*)> set) {
    TPropInfo p{name, TPropKind::Component, {}, {}, {}, {}, {}, {}, {}};
    p.GetComponent = [get](TObject& o) -> TComponent* { return get(static_cast<C&>(o)); };
    p.SetComponent = [set](TObject& o, TComponent* c) {
      T* typed = dynamic_cast<T*>(c);
      if (c && !typed) throw Exception(L"Invalid property value " + ComponentNameOf(c));
      set(static_cast<C&>(o), typed);
    };
    list_.push_back(std::move(p));
  }

 private:
  using Setter = std::function<void(C&, const TPropValue&)>;
  void Add(const char* name, TPropKind kind, std::vector<std::string> names, std::function<TPropValue(C&)> get,
           Setter set) {
    TPropInfo p{name, kind, std::move(names), {}, {}, {}, {}, {}, {}};
    p.Get = [get](TObject& o) { return get(static_cast<C&>(o)); };
    if (set) p.Set = [set](TObject& o, const TPropValue& v) { set(static_cast<C&>(o), v); };
    list_.push_back(std::move(p));
  }

  std::vector<TPropInfo>& list_;
};

// ---------------------------------------------------------------------------
// Persistent objects and components

// An object whose state the form description can carry. Binary properties
// (data with their own reader) are declared by overriding ReadBinaryProperty.
class TPersistent : public TObject {
  GUI_CLASS(TPersistent, TObject)
 public:
  // Answers false when the object has no binary property of that name.
  virtual bool ReadBinaryProperty(std::string_view name, std::span<const std::uint8_t> data);
  // Appends the object's binary properties (name, bytes) in stored order.
  virtual void WriteBinaryProperties(std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& out);
};

enum TComponentStateFlag : std::uint32_t {
  csLoading = 1,
  csReading = 2,
  csDesigning = 4,
  csDestroying = 8,
};

enum class TOperation { opInsert, opRemove };

// A component has an owner that frees it, and owns an ordered list of others.
class TComponent : public TPersistent {
  GUI_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::vector<TComponent*>& Components() const { return components_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* FindComponent(std::string_view name) const;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  std::uint32_t ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  void SetLoadingState(bool loading);

  // Called once after the form description has been read completely.
  virtual void Loaded();
  // Told when a component it owns or watches is inserted or goes away.
  virtual void Notification(TComponent* component, TOperation operation);
  // Asks to be told when `component` goes away even though it does not own it.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Frees the owned components, last first.
  void DestroyComponents();
  // Takes a component out of this one's list: it is no longer freed with it.
  void RemoveComponent(TComponent* component);

  // Publishes methods by name for the form reader's event binding.
  virtual TNotifyEvent MethodAddress(std::string_view name);
  // Binds a field of the root object to a component read by name.
  virtual void BindField(std::string_view name, TComponent* component);
  // The form reader nests a component that is not a control inside the
  // component it was written in (a menu item inside its menu or item).
  virtual void SetParentComponent(TComponent* parent);

  static void DeclareProperties(std::vector<TPropInfo>& list);

 protected:
  void BeginDestroy() { state_ |= csDestroying; }

 private:
  void InsertComponent(TComponent* component);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  int tag_ = 0;
  std::uint32_t state_ = 0;
};

// A list of strings with the published property "Strings". Controls keep
// their items in descendants that mirror every change into their window.
class TStrings : public TPersistent {
  GUI_CLASS(TStrings, TPersistent)
 public:
  virtual int Count() const = 0;
  virtual std::wstring Get(int index) const = 0;
  virtual void Insert(int index, const std::wstring& text) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  std::wstring operator[](int index) const { return Get(index); }
  // Appends; answers the new item's index.
  int Add(const std::wstring& text);
  int IndexOf(const std::wstring& text) const;
  virtual std::vector<std::wstring> ToVector() const;
  // Replaces every item.
  virtual void Assign(const std::vector<std::wstring>& items);

  static void DeclareProperties(std::vector<TPropInfo>& list);
};

class TStringList : public TStrings {
  GUI_CLASS(TStringList, TStrings)
 public:
  std::vector<std::wstring> Items;
  int Count() const override { return static_cast<int>(Items.size()); }
  std::wstring Get(int index) const override;
  void Insert(int index, const std::wstring& text) override;
  void Delete(int index) override;
  void Clear() override { Items.clear(); }
  std::vector<std::wstring> ToVector() const override { return Items; }
  void Assign(const std::vector<std::wstring>& items) override { Items = items; }
};

// An index outside a list: the framework's "List index out of bounds (n)".
[[noreturn]] void ListIndexError(int index);

// ---------------------------------------------------------------------------
// Collections: owned lists of items of one class, each with published
// properties; the form description writes them as < item ... end >.

class TCollection;

class TCollectionItem : public TPersistent {
  GUI_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection& collection) : collection_(&collection) {}
  TCollection& Collection() const { return *collection_; }
  int Index() const;

 protected:
  // Tells the collection that a property of this item changed.
  void Changed();

 private:
  TCollection* collection_;
};

class TCollection : public TPersistent {
  GUI_CLASS(TCollection, TPersistent)
 public:
  TCollection() = default;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;
  ~TCollection() override;

  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem& Item(int index) const;
  TCollectionItem& AddItem() { return InsertItem(Count()); }
  TCollectionItem& InsertItem(int index);
  void Delete(int index);
  void Clear();

 protected:
  friend class TCollectionItem;
  virtual std::unique_ptr<TCollectionItem> NewItem() = 0;
  // Hooks for the owner: an item was inserted, is about to go, has gone,
  // or changed.
  virtual void Added(TCollectionItem&) {}
  virtual void Deleting(TCollectionItem&) {}
  virtual void Deleted() {}
  virtual void Update(TCollectionItem&) {}

 private:
  std::vector<std::unique_ptr<TCollectionItem>> items_;
};

// A collection of items of class TItem, with typed access.
template <class TItem>
class TTypedCollection : public TCollection {
 public:
  TItem& operator[](int index) const { return static_cast<TItem&>(Item(index)); }
  TItem& Add() { return static_cast<TItem&>(AddItem()); }
  TItem& Insert(int index) { return static_cast<TItem&>(InsertItem(index)); }

 protected:
  std::unique_ptr<TCollectionItem> NewItem() override { return std::make_unique<TItem>(*this); }
};

}  // namespace gui
