#include "sound/frmDXSounds.h"

#include <cstdio>

#include "assets/BuiltInWaves.h"
#include "sound/BankWaves.h"
#include "sound/SoundDevice.h"
#include "sound/SoundErrors.h"
#include "sound/WaveList.h"
#include "sound/WaveReader.h"

namespace {

struct TBankEntry {
  const char* Name;
  bool Looped;
};

// The bank in item order; the play procedures below refer to these indices.
#define QUADROVOLT_BANK_ENTRY(name, looped) {#name, looped},
constexpr TBankEntry kBank[] = {QUADROVOLT_BANK_WAVES(QUADROVOLT_BANK_ENTRY)};
#undef QUADROVOLT_BANK_ENTRY

#define QUADROVOLT_BANK_INDEX(name, looped) k##name,
enum : int { QUADROVOLT_BANK_WAVES(QUADROVOLT_BANK_INDEX) };
#undef QUADROVOLT_BANK_INDEX

// The built-in wave of that name. A wave missing from the build leaves its
// item empty (and silent); one that is there but damaged is an error.
TWave BuiltInWave(const char* name) {
  std::span<const std::uint8_t> bytes = BuiltInWaveBytes(name);
  if (bytes.empty()) return TWave{};
  return ReadWave(bytes.data(), bytes.size());
}

}  // namespace

TFormSounds::TFormSounds(TSoundDevice& device) : Device(device), Waves(std::make_unique<TWaveList>()) {
  for (const TBankEntry& entry : kBank) Waves->Add(entry.Name, entry.Looped, BuiltInWave(entry.Name));
  StartDevice();
}

TFormSounds::~TFormSounds() {
  if (!DeviceOpen) return;
  Waves->StopAll();
  Waves->Finalize();
  Device.Close();
}

// A machine without a working sound output still plays the game, silently:
// device errors leave every wave uninitialised, and one line on standard
// error says why, so that a player missing the sound is not left guessing.
// Anything else is a real fault and goes on to the caller.
void TFormSounds::StartDevice() {
  try {
    Device.Open();
    DeviceOpen = true;
    Waves->Initialize(Device);
  } catch (const ESoundDeviceError& e) {
    Waves->Finalize();
    if (DeviceOpen) Device.Close();
    DeviceOpen = false;
    if (e.Reason.empty())
      std::fprintf(stderr, "quadrovolt: playing without sound: %s\n", e.what());
    else
      std::fprintf(stderr, "quadrovolt: playing without sound: %s: %s\n", e.what(), e.Reason.c_str());
  }
}

// A new event cuts the wave and starts it over rather than stacking a second
// copy on top. The device's play does both in one call: a stop and a play
// apart would let the mixer run between them and drop a block of the wave.
void TFormSounds::PlayWave(int index) {
  if (SoundOff) return;
  Waves->Item(index).Play(false);
}

void TFormSounds::PlayPlayerShoot() { PlayWave(kPlayerShoot); }
void TFormSounds::PlayGruntHit() { PlayWave(kGruntHit); }
void TFormSounds::PlayBoidHit() { PlayWave(kBoidHit); }
void TFormSounds::PlaySnakeHit() { PlayWave(kSnakeHit); }
void TFormSounds::PlaySnakeDestroyed() { PlayWave(kSnakeDestroyed); }
void TFormSounds::PlayGravitarHit() { PlayWave(kGravitarHit); }
void TFormSounds::PlayGravitarDestroyed() { PlayWave(kGravitarDestroyed); }
void TFormSounds::PlayPodHit() { PlayWave(kPodHit); }
void TFormSounds::PlayPodDestroyed() { PlayWave(kPodDestroyed); }
void TFormSounds::PlayPodChildHit() { PlayWave(kPodChildHit); }
void TFormSounds::PlayPodChildDestroyed() { PlayWave(kPodChildDestroyed); }
void TFormSounds::PlayPlayerHit() { PlayWave(kPlayerHit); }
void TFormSounds::PlayNewLevel() { PlayWave(kNewLevel); }
void TFormSounds::PlayGravitarSpawned() { PlayWave(kGravitarSpawned); }
void TFormSounds::PlayIntro() {
  IntroWanted = true;
  PlayWave(kIntro);
}
void TFormSounds::PlayGraviBomb() { PlayWave(kGraviBomb); }

// Leaving the title silences the music even with sound switched off, so a
// tune started before the switch cannot play on through the game.
void TFormSounds::StopIntro() {
  IntroWanted = false;
  Waves->Item(kIntro).Stop();
}

void TFormSounds::SetSoundOn(bool on) {
  if (SoundOff == !on) return;
  SoundOff = !on;
  if (SoundOff)
    Waves->StopAll();
  else if (IntroWanted)
    PlayWave(kIntro);
}
