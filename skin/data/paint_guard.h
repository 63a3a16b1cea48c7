// Painting never reports: whatever fails while a skinner paints (a bitmap
// that cannot be made, a drawing routine that throws) is dropped, and the
// surface keeps what was drawn before. Every skinner paints through this.
#pragma once

namespace skin {

template <class Paint>
void PaintSwallowingFailures(Paint&& paint) noexcept {
  try {
    paint();
  } catch (...) {
    // Nothing to report: the frame or control stays as it was.
  }
}

}  // namespace skin
