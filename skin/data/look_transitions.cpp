#include "skin/data/look_transitions.h"

#include <algorithm>
#include <vector>

#include "skin/data/paint_guard.h"

#ifndef SPI_GETCLIENTAREAANIMATION
#define SPI_GETCLIENTAREAANIMATION 0x1042
#endif

namespace skin {

namespace {

// About sixty steps a second: smooth, and few enough for a loaded machine.
constexpr UINT kTickMilliseconds = 16;

// This thread's clock once made; never destroyed: with mingw-w64 a
// thread-local object is destroyed at thread exit after its storage has
// been freed. Plain data, so that asking whether it exists does not make it.
thread_local TLookTransitions* threadClock = nullptr;

TAnimationAllowedQuery& AllowedQuery() {
  static TAnimationAllowedQuery query;
  return query;
}

}  // namespace

bool TimedChange(TLookKind from, TLookKind to, core::LookChange& change) {
  auto pressLike = [](TLookKind k) { return k == TLookKind::Pressed || k == TLookKind::Selected; };
  if (pressLike(from) || pressLike(to))
    change = core::LookChange::Press;
  else if (to == TLookKind::Hot)
    change = core::LookChange::HoverIn;
  else if (from == TLookKind::Hot)
    change = core::LookChange::HoverOut;
  else if (from == TLookKind::Focused || to == TLookKind::Focused)
    change = core::LookChange::Focus;
  else
    return false;
  return true;
}

bool SystemAnimatesClientArea() {
  BOOL animates = TRUE;
  if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &animates, 0)) return true;
  return animates != FALSE;
}

TAnimationAllowedQuery SetAnimationAllowedQuery(TAnimationAllowedQuery query) {
  return std::exchange(AllowedQuery(), std::move(query));
}

TLookTransitions& TLookTransitions::OfThread() {
  if (!threadClock) threadClock = new TLookTransitions;
  return *threadClock;
}

void TLookTransitions::ForgetOnThread(const void* owner) {
  if (threadClock) threadClock->Forget(owner);
}

TLookTransitions::~TLookTransitions() { StopTimer(); }

bool TLookTransitions::Allowed() const {
  if (!options_.Enabled) return false;
  const TAnimationAllowedQuery& query = AllowedQuery();
  return query ? query() : SystemAnimatesClientArea();
}

std::uint32_t TLookTransitions::Now() const { return ticks_ ? ticks_() : GetTickCount(); }

int TLookTransitions::Fading() const {
  return static_cast<int>(
      std::count_if(parts_.begin(), parts_.end(), [](const auto& p) { return p.second.Duration != 0; }));
}

void TLookTransitions::Follow(TElementState& state, const TAnimatedPart& part, TLookKind look,
                              core::AnimatedKind kind, const core::SkinAnimation& skin,
                              std::function<void()> repaint) {
  const auto [it, first] = parts_.try_emplace(part);
  TPartState& p = it->second;
  const std::uint32_t now = Now();
  if (!first && p.Frame != state.Frame) {
    core::LookChange change{};
    const std::uint32_t ms = TimedChange(p.Look, look, change) && Allowed()
                                 ? static_cast<std::uint32_t>(skin.Duration(kind, change)) *
                                       static_cast<std::uint32_t>(std::max(options_.Slowdown, 1))
                                 : 0;
    // Turning back half way fades back from where the fade had come.
    std::uint32_t done = 0;
    if (ms && p.Duration && p.FromFrame == state.Frame)
      done = ms - std::min(ms, static_cast<std::uint32_t>(
                                   static_cast<std::uint64_t>(std::min(now - p.Start, p.Duration)) * ms / p.Duration));
    p.FromFrame = p.Frame;
    p.Start = now - done;
    p.Duration = ms;
  }
  p.Frame = state.Frame;
  p.Look = look;
  p.Repaint = std::move(repaint);
  if (p.Duration == 0) return;
  const std::uint32_t elapsed = now - p.Start;
  if (elapsed >= p.Duration) return;  // the next tick ends it
  state.FromFrame = p.FromFrame;
  state.Progress = static_cast<int>(static_cast<std::uint64_t>(elapsed) * TElementState::kTransitionDone / p.Duration);
  StartTimer();
}

void TLookTransitions::NoteAtRest(const TAnimatedPart& part, int frame, TLookKind look) {
  const auto [it, first] = parts_.try_emplace(part);
  if (!first) return;
  it->second.Frame = frame;
  it->second.Look = look;
}

void TLookTransitions::Forget(const void* owner) {
  std::erase_if(parts_, [owner](const auto& p) { return p.first.Owner == owner; });
  if (Fading() == 0) StopTimer();
}

void TLookTransitions::Tick() {
  const std::uint32_t now = Now();
  std::vector<TAnimatedPart> due;
  for (auto& [part, p] : parts_) {
    if (p.Duration == 0) continue;
    if (now - p.Start >= p.Duration) p.Duration = 0;  // drawn at its end look by this repaint
    due.push_back(part);
  }
  if (Fading() == 0) StopTimer();
  // A repaint may make or forget parts: each is looked up again.
  for (const TAnimatedPart& part : due) {
    const auto it = parts_.find(part);
    if (it == parts_.end() || !it->second.Repaint) continue;
    const std::function<void()> repaint = it->second.Repaint;
    PaintSwallowingFailures([&] { repaint(); });
  }
}

void CALLBACK TLookTransitions::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
  PaintSwallowingFailures([] { OfThread().Tick(); });
}

void TLookTransitions::StartTimer() {
  if (!timer_) timer_ = SetTimer(nullptr, 0, kTickMilliseconds, &TimerProc);
}

void TLookTransitions::StopTimer() {
  if (timer_) KillTimer(nullptr, std::exchange(timer_, 0));
}

}  // namespace skin
