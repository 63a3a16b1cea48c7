// Changes of look that take time: a part (a button, a caption button, a
// scroll-bar arrow) whose frame changes cross-fades from the frame it showed
// to the new one over the time the skin's [Animation] gives that kind of
// part and that kind of change. One clock per thread keeps each part's
// transition and runs one timer only while something is fading; each tick
// asks the fading parts to repaint themselves, and nothing else.
//
// A skinner calls Follow as it draws a part, with the frame it is about to
// draw: the clock notes the change, and fills in the element state's
// FromFrame and Progress while the fade lasts. Whatever was not animated
// before (a part drawn the first time, a skin that declares nothing, the
// system or the program saying no) draws the new frame at once.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "core/skindef/skin_definition.h"
#include "skin/data/element_draw.h"

namespace skin {

// What kind of look a frame shows, which decides what kind of change a new
// frame is.
enum class TLookKind { Normal, Hot, Pressed, Focused, Selected, Other };

// The change from one kind of look to another the skin times, if any:
// into or out of pressed or selected is a press, else into hot a hover in,
// out of hot a hover out, into or out of focus a focus change.
bool TimedChange(TLookKind from, TLookKind to, core::LookChange& change);

// One part of one skinner: the skinner's address and a number of its own.
struct TAnimatedPart {
  const void* Owner = nullptr;
  int Part = 0;
  auto operator<=>(const TAnimatedPart&) const = default;
};

// What a program chose: whether parts animate at all, and a slow-down
// factor (authors watch a transition at ten times its length).
struct TTransitionOptions {
  bool Enabled = true;
  int Slowdown = 1;
};

// Whether the system lets programs animate inside their windows:
// SPI_GETCLIENTAREAANIMATION (a system that does not know the setting
// animates). Asked through a replaceable query, as high contrast is; an
// empty query puts the system's back.
bool SystemAnimatesClientArea();
using TAnimationAllowedQuery = std::function<bool()>;
TAnimationAllowedQuery SetAnimationAllowedQuery(TAnimationAllowedQuery query);

class TLookTransitions {
 public:
  // The calling thread's clock.
  static TLookTransitions& OfThread();
  // Forget on the calling thread's clock, if it still exists: skinners
  // freed while the process ends may go after the thread's own objects.
  static void ForgetOnThread(const void* owner);

  TLookTransitions() = default;
  ~TLookTransitions();
  TLookTransitions(const TLookTransitions&) = delete;
  TLookTransitions& operator=(const TLookTransitions&) = delete;

  // The part is about to be drawn in `state.Frame`, a look of `look`. When
  // it last showed another frame and the skin times that change, a fade
  // starts (and the timer with it); while one lasts, `state` gets the frame
  // it fades from and how far it has come. `repaint` redraws just this
  // part; the clock calls it at each tick of the fade and once at its end.
  void Follow(TElementState& state, const TAnimatedPart& part, TLookKind look, core::AnimatedKind kind,
              const core::SkinAnimation& skin, std::function<void()> repaint);
  // What a part shows where it is drawn without Follow (a caption button
  // or menu-bar item painted at rest with the whole frame): noted for a
  // part the clock does not know yet, so its first change fades too.
  void NoteAtRest(const TAnimatedPart& part, int frame, TLookKind look);
  // Drops every part of a skinner that goes (its repaint is never called
  // again).
  void Forget(const void* owner);

  void SetOptions(const TTransitionOptions& options) { options_ = options; }
  const TTransitionOptions& Options() const { return options_; }
  // The program's choice, the system's setting and high contrast together.
  bool Allowed() const;

  // Whether the timer exists; how many parts are fading.
  bool TimerRunning() const { return timer_ != 0; }
  int Fading() const;
  // One tick: every fading part repainted, the finished ones dropped, the
  // timer killed when none is left. The timer calls it; so may a test.
  void Tick();
  // Where the clock reads the time (milliseconds); tests put their own.
  using TTickSource = std::function<std::uint32_t()>;
  void SetTickSource(TTickSource source) { ticks_ = std::move(source); }

 private:
  struct TPartState {
    int Frame = 0;
    TLookKind Look = TLookKind::Normal;
    int FromFrame = 0;
    std::uint32_t Start = 0;
    std::uint32_t Duration = 0;  // 0: not fading
    std::function<void()> Repaint;
  };
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  std::uint32_t Now() const;
  void StartTimer();
  void StopTimer();

  std::map<TAnimatedPart, TPartState> parts_;
  TTransitionOptions options_;
  TTickSource ticks_;
  UINT_PTR timer_ = 0;
};

}  // namespace skin
