#include "sound/WaveCollectionItem.h"

#include <chrono>
#include <thread>
#include <utility>

TWaveCollectionItem::TWaveCollectionItem(std::string name, bool looped, TWave wave)
    : Name(std::move(name)), Looped(looped), Wave(std::move(wave)) {}

void TWaveCollectionItem::Initialize(TSoundDevice& device) {
  Finalize();
  if (Wave.Empty()) return;
  Handle = device.Load(Name, Wave);
  Device = &device;
}

void TWaveCollectionItem::Finalize() {
  Device = nullptr;
  Handle = NoSound;
}

void TWaveCollectionItem::Play(bool wait) {
  if (!Device) return;
  // The device keeps one voice per wave and restarts it on every play, so a
  // wave never overlaps itself and the playing-count limit is always met.
  Device->Play(Handle, Looped);
  if (!wait || Looped) return;
  // Poll in 10 ms steps until the play ends. A device that never reports the
  // end must not hang the game, so give up a little after the wave's length.
  using namespace std::chrono;
  const auto giveUp = steady_clock::now() + duration<double>(Wave.Seconds() + 0.25);
  while (Device->IsPlaying(Handle) && steady_clock::now() < giveUp) std::this_thread::sleep_for(milliseconds(10));
}

void TWaveCollectionItem::Stop() {
  if (Device) Device->Stop(Handle);
}
