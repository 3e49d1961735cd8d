#include "platform/SdlMixerSoundDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>
#include <string>

#include "sound/SoundErrors.h"

namespace {

constexpr int kOutputRate = 22050;  // the rate of the music and most effects: no resampling at start-up
constexpr int kOutputFrames = 512;  // about 12 ms: shots must answer the trigger at once
constexpr int kFirstChannels = 32;  // the bank's sixteen waves, with room to spare

// SDL's own reason goes with the game's message: it is what tells a player why
// there is no sound (no driver, no device, a busy device).
void Fail(const char* pattern, const char* what, const std::string& reason) {
  throw ESoundDeviceError(SoundErrorText(pattern, what), reason);
}
void FailBuffer(const char* pattern) { throw ESoundBufferError(SoundErrorText(pattern, SBufferName)); }

// The mixer's post-mix hook, on SDL's audio thread: the whole mix of one
// buffer, in floats, just before the device takes it.
void LimitMix(void* limiter, Uint8* stream, int bytes) {
  auto* l = static_cast<TMixLimiter*>(limiter);
  l->Process(reinterpret_cast<float*>(stream), bytes / int(sizeof(float)) / l->Channels());
}

}  // namespace

TSdlMixerSoundDevice::~TSdlMixerSoundDevice() { Close(); }

void TSdlMixerSoundDevice::Open() {
  if (Opened) return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) Fail(SCannotInitialize, SOutputName, SDL_GetError());
  // Floats: SDL clamps a sum of 16-bit samples at each wave it adds, before
  // any hook could see it; a float sum keeps what the limiter has to bring down.
  if (Mix_OpenAudio(kOutputRate, AUDIO_F32SYS, 2, kOutputFrames) != 0) {
    const std::string reason = Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Fail(SCannotInitialize, SOutputName, reason);
  }
  int rate = 0, channels = 0;
  Uint16 format = 0;
  const bool queried = Mix_QuerySpec(&rate, &format, &channels) != 0;
  const bool floats = queried && format == AUDIO_F32SYS && channels >= 1 && channels <= TMixLimiter::MaxChannels;
  if (!floats || Mix_AllocateChannels(kFirstChannels) != kFirstChannels) {
    const std::string reason =
        queried && !floats ? "the mixer does not mix floats of up to eight channels" : Mix_GetError();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Fail(SCannotMake, SMixerName, reason);
  }
  Limiter.Reset(rate, channels);  // the rate and layout SDL gave, which may not be the ones asked for
  Mix_SetPostMix(LimitMix, &Limiter);
  Channels = kFirstChannels;
  Opened = true;
}

void TSdlMixerSoundDevice::Close() {
  if (!Opened) return;
  Mix_HaltChannel(-1);
  Mix_SetPostMix(nullptr, nullptr);
  for (TLoadedWave& w : Waves) {
    Mix_FreeChunk(w.Chunk);  // a chunk made from our own buffer leaves the buffer to us
    SDL_free(w.Samples);
  }
  Waves.clear();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  Opened = false;
  Channels = 0;
}

TSoundHandle TSdlMixerSoundDevice::Load(const std::string& name, const TWave& wave) {
  if (!Opened || wave.Empty()) FailBuffer(SCannotMake);
  int rate = 0, channels = 0;
  Uint16 format = 0;
  Mix_QuerySpec(&rate, &format, &channels);

  // Convert once, now, to the mixer's own format so that playing costs nothing.
  SDL_AudioCVT cvt;
  SDL_AudioFormat source = wave.Format.BitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  if (SDL_BuildAudioCVT(&cvt, source, Uint8(wave.Format.Channels), int(wave.Format.SamplesPerSec), format,
                        Uint8(channels), rate) < 0)
    FailBuffer(SCannotMake);
  cvt.len = int(wave.Data.size());
  cvt.buf = static_cast<Uint8*>(SDL_malloc(size_t(cvt.len) * size_t(cvt.len_mult)));
  if (!cvt.buf) FailBuffer(SCannotLock);
  std::memcpy(cvt.buf, wave.Data.data(), wave.Data.size());
  if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
    SDL_free(cvt.buf);
    FailBuffer(SCannotLock);
  }
  Uint32 bytes = Uint32(cvt.needed ? cvt.len_cvt : cvt.len);
  Mix_Chunk* chunk = Mix_QuickLoad_RAW(cvt.buf, bytes);
  if (!chunk) {
    SDL_free(cvt.buf);
    FailBuffer(SCannotMake);
  }
  Mix_VolumeChunk(chunk, MixVolume);  // the channels stay at full volume: this is the only scaling

  TSoundHandle handle = TSoundHandle(Waves.size());
  if (handle >= Channels) {
    Channels = Mix_AllocateChannels(handle + kFirstChannels);
    if (handle >= Channels) {
      Mix_FreeChunk(chunk);
      SDL_free(cvt.buf);
      FailBuffer(SCannotMake);
    }
  }
  Waves.push_back({name, chunk, cvt.buf});
  return handle;
}

void TSdlMixerSoundDevice::Play(TSoundHandle handle, bool looped) {
  if (!Valid(handle)) return;
  // Each wave owns the channel numbered by its handle: starting it there cuts
  // whatever of that wave was still sounding.
  Mix_PlayChannel(handle, Waves[size_t(handle)].Chunk, looped ? -1 : 0);
}

void TSdlMixerSoundDevice::Stop(TSoundHandle handle) {
  if (Valid(handle)) Mix_HaltChannel(handle);
}

bool TSdlMixerSoundDevice::IsPlaying(TSoundHandle handle) const { return Valid(handle) && Mix_Playing(handle) != 0; }
