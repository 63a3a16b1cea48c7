// The settings dialog: three groups of options loaded from set.ini when the
// form is created and written back on a confirmed Save.
#pragma once
#include <windows.h>

#include <string>

#include "gui/forms.h"
#include "gui/stdctrls.h"

namespace skin {
class TSkinData;
}

class TForm1 : public gui::TForm {
  GUI_CLASS(TForm1, gui::TForm)
 public:
  explicit TForm1(gui::TComponent* owner) : gui::TForm(owner) {}

  gui::TGroupBox* GroupBox1 = nullptr;
  gui::TRadioButton* RadioButton1 = nullptr;
  gui::TRadioButton* RadioButton2 = nullptr;
  gui::TRadioButton* RadioButton3 = nullptr;
  gui::TRadioButton* RadioButton4 = nullptr;
  gui::TGroupBox* GroupBox2 = nullptr;
  gui::TRadioButton* RadioButton5 = nullptr;
  gui::TRadioButton* RadioButton6 = nullptr;
  gui::TRadioButton* RadioButton7 = nullptr;
  gui::TRadioButton* RadioButton8 = nullptr;
  gui::TGroupBox* GroupBox3 = nullptr;
  gui::TCheckBox* CheckBox1 = nullptr;
  gui::TCheckBox* CheckBox2 = nullptr;
  gui::TCheckBox* CheckBox3 = nullptr;
  gui::TCheckBox* CheckBox4 = nullptr;
  gui::TCheckBox* CheckBox5 = nullptr;
  gui::TButton* Button1 = nullptr;
  gui::TButton* Button2 = nullptr;
  skin::TSkinData* SkinData1 = nullptr;

  void FormCreate(gui::TObject* sender);
  void Button1Click(gui::TObject* sender);
  void Button2Click(gui::TObject* sender);
  void CheckBox3Click(gui::TObject* sender);
  void CheckBox4Click(gui::TObject* sender);

  gui::TNotifyEvent MethodAddress(std::string_view name) override;
  void BindField(std::string_view name, gui::TComponent* component) override;
};

// "XP", "Vista", ... from the system's version numbers.
std::string WindowsVersionName();
// The same, from a given source of version numbers.
using GetVersionExAFunction = BOOL(WINAPI*)(LPOSVERSIONINFOA);
std::string WindowsVersionName(GetVersionExAFunction getVersion);

// set.ini in the program's own folder.
std::string SettingsFilePath();
