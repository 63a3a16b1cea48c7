// Reading a form description into a live form: components are created by
// class name, parented as nested, and their properties set by name.
#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "core/form/form_text.h"
#include "gui/classes.h"

namespace gui {

class TCustomForm;

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Makes a class known to the form reader under its class name.
void RegisterComponentClass(const std::string& className, TComponentFactory factory);
template <class T>
void RegisterComponentClass() {
  RegisterComponentClass(T::StaticClass().Name, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

// Reads the description stored as an RCDATA resource named after the form's
// class, upper-cased ("TFORM1").
void ReadFormResource(TCustomForm& form);
void ReadFormText(TCustomForm& form, std::string_view text);
void ReadForm(TComponent& root, const core::FormObject& description);

// The form description of a class from the program's resources (empty when absent).
std::string LoadFormText(const std::string& className);

}  // namespace gui
