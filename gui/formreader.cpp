#include "gui/formreader.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "gui/actions.h"
#include "gui/buttons.h"
#include "gui/comctrls.h"
#include "gui/extctrls.h"
#include "gui/forms.h"
#include "gui/menus.h"
#include "gui/stdctrls.h"
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
    add(static_cast<TPanel*>(nullptr));
    add(static_cast<TStatusBar*>(nullptr));
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

// A reference to a component by name, set once every component has been
// read, since it may name one written further down.
struct Fixup {
  TObject* target;
  const TPropInfo* info;
  std::string componentName;
  std::string objectName;
  int line;
};

void ApplyProperties(TComponent& component, TComponent& root, const core::FormObject& node,
                     std::vector<Fixup>& fixups) {
  for (const core::FormProperty& p : node.properties) {
    std::string_view path = p.name;
    // Walk to the object that holds the last segment.
    TObject* target = &component;
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
    // component that holds it, under the whole dotted name.
    if (!target && p.value.kind == core::FormValue::Kind::Binary) {
      target = &component;
      path = p.name;
    }
    if (!target) throw Exception(L"Property " + Utf8ToWide(p.name) + L" does not exist" + Where(node.name, p.line));

    if (p.value.kind == core::FormValue::Kind::Binary) {
      auto* persistent = dynamic_cast<TPersistent*>(target);
      if (!persistent || !persistent->ReadBinaryProperty(path, p.value.bytes))
        throw Exception(L"Property " + Utf8ToWide(p.name) + L" does not exist" + Where(node.name, p.line));
      continue;
    }
    const TPropInfo* info = FindPropInfo(target->ClassType(), path);
    if (!info) throw Exception(L"Property " + Utf8ToWide(p.name) + L" does not exist" + Where(node.name, p.line));
    if (info->Kind == TPropKind::Event) {
      TNotifyEvent handler = root.MethodAddress(p.value.text);
      if (!handler)
        throw Exception(L"Method " + Utf8ToWide(p.value.text) + L" does not exist" + Where(node.name, p.line));
      info->SetEvent(*target, std::move(handler));
      continue;
    }
    if (info->Kind == TPropKind::Component) {
      fixups.push_back({target, info, p.value.text, node.name, p.line});
      continue;
    }
    if (!info->Set) throw Exception(L"Property " + Utf8ToWide(p.name) + L" is read-only" + Where(node.name, p.line));
    info->Set(*target, p.value);
  }
}

void ReadChildren(TComponent& root, TComponent& enclosing, TWinControl* container, const core::FormObject& node,
                  std::vector<TComponent*>& loaded, std::vector<Fixup>& fixups) {
  for (const core::FormObject& child : node.children) {
    auto it = Factories().find(child.className);
    if (it == Factories().end())
      throw Exception(L"Class " + Utf8ToWide(child.className) + L" not found" + Where(child.name, child.line));
    TComponent* component = it->second(&root);
    component->SetLoadingState(true);
    loaded.push_back(component);
    component->SetName(child.name);
    root.BindField(child.name, component);
    auto* control = dynamic_cast<TControl*>(component);
    if (control && container) control->SetParent(container);
    if (!control) component->SetParentComponent(&enclosing);
    ApplyProperties(*component, root, child, fixups);
    auto* asContainer = dynamic_cast<TWinControl*>(component);
    ReadChildren(root, *component, asContainer ? asContainer : container, child, loaded, fixups);
  }
}

}  // namespace

void RegisterComponentClass(const std::string& className, TComponentFactory factory) {
  Factories()[className] = std::move(factory);
}

void ReadForm(TComponent& root, const core::FormObject& description) {
  std::vector<TComponent*> loaded{&root};
  root.SetLoadingState(true);
  try {
    if (root.Name().empty()) root.SetName(description.name);
    std::vector<Fixup> fixups;
    ApplyProperties(root, root, description, fixups);
    ReadChildren(root, root, dynamic_cast<TWinControl*>(&root), description, loaded, fixups);
    for (const Fixup& f : fixups) {
      TComponent* found = nullptr;
      if (!f.componentName.empty()) {
        found = SameText(root.Name(), f.componentName) ? &root : root.FindComponent(f.componentName);
        if (!found)
          throw Exception(L"Component " + Utf8ToWide(f.componentName) + L" not found" + Where(f.objectName, f.line));
      }
      if (!f.info->SetComponent(*f.target, found))
        throw Exception(L"Invalid property value " + Utf8ToWide(f.componentName) + Where(f.objectName, f.line));
    }
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
