#include "skin/controls/skin_control_host.h"

#include <algorithm>
#include <iterator>

namespace skin {

void TSkinControlBase::Release() {
  if (busy_ > 0 && LetGoOfHost()) {
    released_ = true;
    return;
  }
  delete this;
}

// The owner frees the skinners (FreeControlSkinners) while it can still
// give their colours back.
TSkinControlHost::~TSkinControlHost() = default;

bool TSkinControlHost::AddControlSkinner(TSkinControlBase* skinner) {
  if (std::find(controlSkinners_.begin(), controlSkinners_.end(), skinner) != controlSkinners_.end()) return true;
  controlSkinners_.push_back(skinner);
  return false;
}

void TSkinControlHost::RemoveControlSkinner(TSkinControlBase* skinner) {
  // The hot button may be the one going away (its control destroyed at run
  // time): nothing may call it afterwards.
  if (hotButton_ == skinner) hotButton_ = nullptr;
  auto it = std::find(controlSkinners_.rbegin(), controlSkinners_.rend(), skinner);
  if (it != controlSkinners_.rend()) controlSkinners_.erase(std::next(it).base());
}

void TSkinControlHost::PurgeDestroyedControls() {
  for (std::size_t i = controlSkinners_.size(); i-- > 0;) {
    TSkinControlBase* skinner = controlSkinners_[i];
    if (skinner->SkinnerState() == ksDead) {
      RemoveControlSkinner(skinner);
      skinner->Release();
    }
  }
}

void TSkinControlHost::FreeControlSkinners() {
  while (!controlSkinners_.empty()) {
    TSkinControlBase* skinner = controlSkinners_.front();
    if (skinner->SkinnerState() != ksDead) skinner->RestoreColor();
    RemoveControlSkinner(skinner);
    skinner->Release();
  }
}

TSkinControlBase* TSkinControlHost::FindWindowSkinner(HWND wnd) const {
  for (TSkinControlBase* skinner : controlSkinners_)
    if (skinner->SkinnedWindow() == wnd) return skinner;
  return nullptr;
}

bool TSkinControlHost::RouteParentNotify(LPARAM header, LRESULT& result) const {
  const auto* notify = reinterpret_cast<const NMHDR*>(header);
  if (!notify || !notify->hwndFrom) return false;
  TSkinControlBase* skinner = FindWindowSkinner(notify->hwndFrom);
  return skinner && skinner->SkinnerState() == ksAttached && skinner->ParentNotify(*notify, result);
}

}  // namespace skin
