#include "gui/formreader.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "gui/actions.h"
#include "gui/buttons.h"
#include "gui/comctrls.h"
#include "gui/datetime.h"
#include "gui/edits.h"
#include "gui/extctrls.h"
#include "gui/forms.h"
#include "gui/imagelist.h"
#include "gui/labels.h"
#include "gui/listview.h"
#include "gui/lists.h"
#include "gui/menus.h"
#include "gui/ranges.h"
#include "gui/stdctrls.h"
#include "gui/tabs.h"
#include "gui/tabset.h"
#include "gui/text.h"

namespace gui {

namespace {

std::map<std::string, TComponentFactory>& Factories() {
  static std::map<std::string, TComponentFactory> factories = [] {
    std::map<std::string, TComponentFactory> f;
    const auto add = [&f]<class T>(T*) {
      f[T::StaticClass().Name] = [](TComponent* owner) -> TComponent* { return new T(owner); };
    };
    add(static_cast<TButton*>(nullptr));
    add(static_cast<TCheckBox*>(nullptr));
    add(static_cast<TRadioButton*>(nullptr));
    add(static_cast<TGroupBox*>(nullptr));
    add(static_cast<TBitBtn*>(nullptr));
    add(static_cast<TSpeedButton*>(nullptr));
    add(static_cast<TLabel*>(nullptr));
    add(static_cast<TPanel*>(nullptr));
    add(static_cast<TStatusBar*>(nullptr));
    add(static_cast<TEdit*>(nullptr));
    add(static_cast<TMemo*>(nullptr));
    add(static_cast<TSpinEdit*>(nullptr));
    add(static_cast<TListBox*>(nullptr));
    add(static_cast<TComboBox*>(nullptr));
    add(static_cast<TListView*>(nullptr));
    add(static_cast<TImageList*>(nullptr));
    add(static_cast<TScrollBar*>(nullptr));
    add(static_cast<TTrackBar*>(nullptr));
    add(static_cast<TUpDown*>(nullptr));
    add(static_cast<TProgressBar*>(nullptr));
    add(static_cast<TTabControl*>(nullptr));
    add(static_cast<TPageControl*>(nullptr));
    add(static_cast<TTabSheet*>(nullptr));
    add(static_cast<TTabSet*>(nullptr));
    add(static_cast<TDateTimePicker*>(nullptr));
    add(static_cast<TMainMenu*>(nullptr));
    add(static_cast<TPopupMenu*>(nullptr));
    add(static_cast<TMenuItem*>(nullptr));
    add(static_cast<TAction*>(nullptr));
    return f;
  }();
  return factories;
}

std::wstring Where(const std::string& objectName, int line) {
  return L" (" + Utf8ToWide(objectName) + L", line " + std::to_wstring(line) + L")";
}

// A component reference waits until every component has been read, since
// it may name one further down the description.
struct TFixup {
  TObject* target;
  const TPropInfo* info;
  std::string name;
  std::string where;
  int line;
};

class TReader {
 public:
  explicit TReader(TComponent& root) : root_(root) {}

  // Sets the properties of one object: a component, or an item of a collection.
  void ApplyProperties(TObject& object, const std::vector<core::FormProperty>& properties, const std::string& where) {
    for (const core::FormProperty& p : properties) ApplyProperty(object, p, where);
  }

  // `enclosing` is the component the children are written in: a component
  // that is not a control (a menu item) sits inside it.
  void ReadChildren(TComponent& enclosing, TWinControl* container, const core::FormObject& node,
                    std::vector<TComponent*>& loaded) {
    for (const core::FormObject& child : node.children) {
      auto it = Factories().find(child.className);
      if (it == Factories().end())
        throw Exception(L"Class " + Utf8ToWide(child.className) + L" not found" + Where(child.name, child.line));
      TComponent* component = it->second(&root_);
      component->SetLoadingState(true);
      loaded.push_back(component);
      component->SetName(child.name);
      root_.BindField(child.name, component);
      auto* control = dynamic_cast<TControl*>(component);
      if (control && container) control->SetParent(container);
      if (!control) component->SetParentComponent(&enclosing);
      ApplyProperties(*component, child.properties, child.name);
      auto* asContainer = dynamic_cast<TWinControl*>(component);
      ReadChildren(*component, asContainer ? asContainer : container, child, loaded);
    }
  }

  void ResolveFixups() {
    for (const TFixup& f : fixups_) {
      TComponent* found = nullptr;
      if (!f.name.empty() && !SameText(f.name, "nil")) {
        found = SameText(root_.Name(), f.name) ? &root_ : root_.FindComponent(f.name);
        if (!found) throw Exception(L"Component " + Utf8ToWide(f.name) + L" not found" + Where(f.where, f.line));
      }
      try {
        f.info->SetComponent(*f.target, found);
      } catch (const Exception& e) {
        // A component of the wrong class: say where the reference stands.
        throw Exception(e.Message() + Where(f.where, f.line));
      }
    }
    fixups_.clear();
  }

 private:
  [[noreturn]] static void Missing(const core::FormProperty& p, const std::string& where) {
    throw Exception(L"Property " + Utf8ToWide(p.name) + L" does not exist" + Where(where, p.line));
  }

  void ApplyProperty(TObject& object, const core::FormProperty& p, const std::string& where) {
    std::string_view path = p.name;
    // Walk to the object that holds the last segment.
    TObject* target = &object;
    for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
      const TPropInfo* info = FindPropInfo(target->ClassType(), path.substr(0, dot));
      if (!info || !info->GetObject) {
        target = nullptr;
        break;
      }
      target = info->GetObject(*target);
      path.remove_prefix(dot + 1);
    }
    // Binary data of a plain member object (Glyph.Data) is read by the
    // object that holds it, under the whole dotted name.
    if (!target && p.value.kind == core::FormValue::Kind::Binary) {
      target = &object;
      path = p.name;
    }
    if (!target) Missing(p, where);

    if (p.value.kind == core::FormValue::Kind::Binary) {
      auto* persistent = dynamic_cast<TPersistent*>(target);
      if (!persistent || !persistent->ReadBinaryProperty(path, p.value.bytes)) Missing(p, where);
      return;
    }
    const TPropInfo* info = FindPropInfo(target->ClassType(), path);
    if (!info) Missing(p, where);
    switch (info->Kind) {
      case TPropKind::Event: {
        TNotifyEvent handler = root_.MethodAddress(p.value.text);
        if (!handler) throw Exception(L"Method " + Utf8ToWide(p.value.text) + L" does not exist" + Where(where, p.line));
        info->SetEvent(*target, std::move(handler));
        return;
      }
      case TPropKind::Component:
        if (p.value.kind != core::FormValue::Kind::Identifier)
          throw Exception(L"Invalid property value for " + Utf8ToWide(p.name) + Where(where, p.line));
        fixups_.push_back({target, info, p.value.text, where, p.line});
        return;
      case TPropKind::Object:
        if (p.value.kind == core::FormValue::Kind::Collection) {
          ReadCollection(*info, *target, p, where);
          return;
        }
        break;
      default:
        break;
    }
    if (!info->Set) throw Exception(L"Property " + Utf8ToWide(p.name) + L" is read-only" + Where(where, p.line));
    info->Set(*target, p.value);
  }

  // The collection's items are replaced by the description's.
  void ReadCollection(const TPropInfo& info, TObject& holder, const core::FormProperty& p, const std::string& where) {
    auto* collection = dynamic_cast<TCollection*>(info.GetObject(holder));
    if (!collection) throw Exception(L"Property " + Utf8ToWide(p.name) + L" is not a collection" + Where(where, p.line));
    collection->Clear();
    for (const std::vector<core::FormProperty>& item : p.value.collection)
      ApplyProperties(collection->AddItem(), item, where);
  }

  TComponent& root_;
  std::vector<TFixup> fixups_;
};

}  // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
  Factories()[className] = std::move(factory);
}

void ReadForm(TComponent& root, const core::FormObject& description) {
  std::vector<TComponent*> loaded{&root};
  root.SetLoadingState(true);
  try {
    if (root.Name().empty()) root.SetName(description.name);
    TReader reader(root);
    reader.ApplyProperties(root, description.properties, description.name);
    reader.ReadChildren(root, dynamic_cast<TWinControl*>(&root), description, loaded);
    reader.ResolveFixups();
  } catch (...) {
    for (TComponent* c : loaded) c->SetLoadingState(false);
    throw;
  }
  for (TComponent* c : loaded) c->SetLoadingState(false);
  // Every component learns that the whole description has been read.
  for (TComponent* c : loaded) c->Loaded();
}

std::string LoadFormText(const std::string& className) {
  std::wstring name = Utf8ToWide(className);
  std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) { return static_cast<wchar_t>(towupper(c)); });
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, name.c_str(), reinterpret_cast<LPCWSTR>(RT_RCDATA));
  if (!res) return {};
  HGLOBAL data = LoadResource(module, res);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return {};
  return std::string(static_cast<const char*>(bytes), SizeofResource(module, res));
}

void ReadFormText(TCustomForm& form, std::string_view text) {
  core::FormObject description;
  try {
    description = core::ParseFormText(text);
  } catch (const core::FormTextError& e) {
    throw Exception(L"Invalid form description: " + Utf8ToWide(e.what()));
  }
  ReadForm(form, description);
}

void ReadFormResource(TCustomForm& form) {
  const std::string text = LoadFormText(form.ClassName());
  if (text.empty()) throw Exception(L"Resource " + Utf8ToWide(form.ClassName()) + L" not found");
  ReadFormText(form, text);
}

}  // namespace gui
