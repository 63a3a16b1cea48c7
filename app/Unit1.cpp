#include "app/Unit1.h"

#include <array>

#include "gui/inifiles.h"
#include "skin/data/skin_data.h"

namespace {

constexpr const char* kSection = "Set";

template <class T>
void Bind(T*& field, gui::TComponent* component) {
  field = dynamic_cast<T*>(component);
}

}  // namespace

gui::TNotifyEvent TForm1::MethodAddress(std::string_view name) {
  using Handler = void (TForm1::*)(gui::TObject*);
  static const std::pair<std::string_view, Handler> kMethods[] = {
      {"FormCreate", &TForm1::FormCreate},         {"Button1Click", &TForm1::Button1Click},
      {"Button2Click", &TForm1::Button2Click},     {"CheckBox3Click", &TForm1::CheckBox3Click},
      {"CheckBox4Click", &TForm1::CheckBox4Click},
  };
  for (const auto& [methodName, method] : kMethods)
    if (methodName == name) return [this, method](gui::TObject* sender) { (this->*method)(sender); };
  return gui::TForm::MethodAddress(name);
}

void TForm1::BindField(std::string_view name, gui::TComponent* c) {
  const std::pair<std::string_view, gui::TRadioButton**> radios[] = {
      {"RadioButton1", &RadioButton1}, {"RadioButton2", &RadioButton2}, {"RadioButton3", &RadioButton3},
      {"RadioButton4", &RadioButton4}, {"RadioButton5", &RadioButton5}, {"RadioButton6", &RadioButton6},
      {"RadioButton7", &RadioButton7}, {"RadioButton8", &RadioButton8}};
  const std::pair<std::string_view, gui::TCheckBox**> checks[] = {{"CheckBox1", &CheckBox1},
                                                                  {"CheckBox2", &CheckBox2},
                                                                  {"CheckBox3", &CheckBox3},
                                                                  {"CheckBox4", &CheckBox4},
                                                                  {"CheckBox5", &CheckBox5}};
  const std::pair<std::string_view, gui::TGroupBox**> groups[] = {
      {"GroupBox1", &GroupBox1}, {"GroupBox2", &GroupBox2}, {"GroupBox3", &GroupBox3}};
  const std::pair<std::string_view, gui::TButton**> buttons[] = {{"Button1", &Button1}, {"Button2", &Button2}};
  for (auto& [n, f] : radios)
    if (n == name) Bind(*f, c);
  for (auto& [n, f] : checks)
    if (n == name) Bind(*f, c);
  for (auto& [n, f] : groups)
    if (n == name) Bind(*f, c);
  for (auto& [n, f] : buttons)
    if (n == name) Bind(*f, c);
  if (name == "SkinData1") Bind(SkinData1, c);
}

std::string SettingsFilePath() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string module(path, n);
  const std::size_t cut = module.find_last_of("\\:");
  return (cut == std::string::npos ? std::string() : module.substr(0, cut + 1)) + "set.ini";
}

std::string WindowsVersionName(GetVersionExAFunction getVersion) {
  std::string result = "Unknown";
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = 148;
  getVersion(&info);  // the result is not tested: a failed call leaves zeros, "Unknown"
  switch (info.dwMajorVersion) {
    case 4:
      if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        result = "NT";
      } else if (info.dwMinorVersion == 0) {
        result = "95";
      } else if (info.dwMinorVersion == 10) {
        result = "98";
      } else if (info.dwMinorVersion == 90) {
        result = "ME";
      }
      break;
    case 5:
      if (info.dwMinorVersion == 0) {
        result = "2000";
      } else if (info.dwMinorVersion == 1) {
        result = "XP";
      } else if (info.dwMinorVersion == 2) {
        result = "2003";
      }
      break;
    case 6:
      result = "Vista";
      break;
    default:
      break;
  }
  return result;
}

std::string WindowsVersionName() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return WindowsVersionName(&GetVersionExA);
#pragma GCC diagnostic pop
}

void TForm1::FormCreate(gui::TObject*) {
  // Maximise is not offered: the dialog has a fixed layout.
  SetBorderIcons(BorderIcons() & 0xFB);

  {
    gui::TIniFile ini(SettingsFilePath());
    const std::array<gui::TRadioButton*, 4> threats{RadioButton1, RadioButton2, RadioButton3, RadioButton4};
    const std::array<gui::TRadioButton*, 4> finished{RadioButton5, RadioButton6, RadioButton7, RadioButton8};
    const int ra1 = ini.ReadInteger(kSection, "Ra1", 0);
    if (ra1 >= 0 && ra1 <= 3) threats[static_cast<std::size_t>(ra1)]->SetChecked(true);
    const int ra5 = ini.ReadInteger(kSection, "Ra5", 0);
    if (ra5 >= 0 && ra5 <= 3) finished[static_cast<std::size_t>(ra5)]->SetChecked(true);
    CheckBox1->SetChecked(ini.ReadBool(kSection, "CB1", true));
    CheckBox2->SetChecked(ini.ReadBool(kSection, "CB2", true));
    CheckBox3->SetChecked(ini.ReadBool(kSection, "CB3", true));
    CheckBox4->SetChecked(ini.ReadBool(kSection, "CB4", true));
    CheckBox5->SetChecked(ini.ReadBool(kSection, "CB5", true));
  }  // closing the file flushes it

  // On systems that report version 6 the dialog keeps the system's own look.
  if (WindowsVersionName() == "Vista") SkinData1->SetActive(false);
}

void TForm1::Button1Click(gui::TObject*) {
  if (MessageBoxA(Handle(), "Do you wish to save the changes?", "Notes", MB_ICONINFORMATION | MB_OKCANCEL) != IDOK)
    return;
  {
    gui::TIniFile ini(SettingsFilePath());
    const auto writeChoice = [&ini](const char* key, std::array<gui::TRadioButton*, 4> group) {
      for (std::size_t i = 0; i < group.size(); ++i) {
        if (group[i]->Checked()) {
          ini.WriteInteger(kSection, key, static_cast<int>(i));
          return;
        }
      }
    };
    writeChoice("Ra1", {RadioButton1, RadioButton2, RadioButton3, RadioButton4});
    writeChoice("Ra5", {RadioButton5, RadioButton6, RadioButton7, RadioButton8});
    ini.WriteBool(kSection, "CB1", CheckBox1->Checked());
    ini.WriteBool(kSection, "CB2", CheckBox2->Checked());
    ini.WriteBool(kSection, "CB3", CheckBox3->Checked());
    ini.WriteBool(kSection, "CB4", CheckBox4->Checked());
    ini.WriteBool(kSection, "CB5", CheckBox5->Checked());
  }
  Close();
}

void TForm1::Button2Click(gui::TObject*) { Close(); }

// "Scan Program Files Only" and "Scan All Files" exclude each other; each
// handler's assignment runs the other handler again until nothing changes.
void TForm1::CheckBox3Click(gui::TObject*) {
  if (CheckBox4->Checked()) {
    CheckBox4->SetChecked(false);
  } else {
    CheckBox3->SetChecked(true);
  }
}

void TForm1::CheckBox4Click(gui::TObject*) {
  if (CheckBox3->Checked()) {
    CheckBox3->SetChecked(false);
  } else {
    CheckBox4->SetChecked(true);
  }
}
