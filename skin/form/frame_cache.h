// What the skinned frame's composed picture and its window region were made
// from. A form skinner keeps the key of the last picture and the last region
// and rebuilds either only when the key it would make now differs: composing
// the frame costs dozens of times one blit, and every SetWindowRgn is a round
// trip to the display server.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/form/frame_layout.h"

namespace skin {

// The frame's picture: its geometry (size, active state, buttons, caption
// size, ...), the caption text, the skin, the window icon and the caption
// font. Caption buttons are composed in their resting state; a hot or
// pressed button is drawn over the picture on its own.
struct TFrameCacheKey {
  TFrameInput Input;
  std::wstring Caption;
  std::uint32_t SkinGeneration = 0;
  std::uint32_t IconGeneration = 0;
  HFONT Font = nullptr;
  bool operator==(const TFrameCacheKey&) const = default;
};

// The window region: cut from the border pieces of the skin for a window of
// this size, frame and show state.
struct TRegionKey {
  int Width = 0, Height = 0;
  TShowState Show = shNormal;
  TFrameThickness Frame;
  int MenuHeight = 0;
  std::uint32_t SkinGeneration = 0;
  bool operator==(const TRegionKey&) const = default;
};

}  // namespace skin
