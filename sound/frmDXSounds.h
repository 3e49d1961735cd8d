#pragma once
// The sound bank: sixteen named waves and one small procedure per sound event.
// Game code only calls these; SoundOff silences everything but StopIntro.
#include <memory>

class TSoundDevice;
class TWaveList;

class TFormSounds {
 public:
  // Loads the built-in waves into the device. With no working device the game
  // runs silently.
  explicit TFormSounds(TSoundDevice& device);
  ~TFormSounds();

  void PlayPlayerShoot();
  void PlayGruntHit();
  void PlayBoidHit();
  void PlaySnakeHit();
  void PlaySnakeDestroyed();
  void PlayGravitarHit();
  void PlayGravitarDestroyed();
  void PlayPodHit();
  void PlayPodDestroyed();
  void PlayPodChildHit();
  void PlayPodChildDestroyed();
  void PlayPlayerHit();
  void PlayNewLevel();
  void PlayGravitarSpawned();
  void PlayIntro();
  void StopIntro();
  void PlayGraviBomb();

  // The game's on/off switch: sound on means SoundOff false. Off silences
  // at once (the intro too); back on, an intro the title asked for resumes.
  void SetSoundOn(bool on);

  bool SoundOff = false;

 private:
  void StartDevice();
  void PlayWave(int index);

  TSoundDevice& Device;
  bool DeviceOpen = false;
  bool IntroWanted = false;  // between PlayIntro and StopIntro, heard or not
  std::unique_ptr<TWaveList> Waves;
};
