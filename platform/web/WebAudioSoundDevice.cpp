#include "platform/web/WebAudioSoundDevice.h"

#include <emscripten.h>

#include "platform/web/WaveSamples.h"
#include "sound/SoundErrors.h"

// The browser side keeps the context, the buffers and each wave's voice in
// Module.quadrovoltAudio; handles are indices into its lists.
EM_JS(int, web_audio_open, (), {
  var Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return 0;
  var audio = {context : new Context(), buffers : [], voices : []};
  Module.quadrovoltAudio = audio;
  // Browsers start a page's sound suspended until a key or a click.
  var resume = function() {
    if (audio.context.state == 'suspended') audio.context.resume();
  };
  audio.resume = resume;
  window.addEventListener('keydown', resume, true);
  window.addEventListener('mousedown', resume, true);
  window.addEventListener('touchstart', resume, true);
  return 1;
});

EM_JS(void, web_audio_close, (), {
  var audio = Module.quadrovoltAudio;
  if (!audio) return;
  window.removeEventListener('keydown', audio.resume, true);
  window.removeEventListener('mousedown', audio.resume, true);
  window.removeEventListener('touchstart', audio.resume, true);
  audio.voices.forEach(function(v) {
    if (v) {
      v.onended = null;
      try {
        v.stop();
      } catch (e) {
      }
    }
  });
  audio.context.close();
  Module.quadrovoltAudio = null;
});

EM_JS(int, web_audio_load, (int channels, int frames, int rate, const float* samples), {
  var audio = Module.quadrovoltAudio;
  var buffer;
  try {
    buffer = audio.context.createBuffer(channels, frames, rate);
  } catch (e) {
    return -1;
  }
  for (var c = 0; c < channels; ++c) {
    var start = (samples >> 2) + c * frames;
    buffer.copyToChannel(HEAPF32.subarray(start, start + frames), c);
  }
  audio.buffers.push(buffer);
  audio.voices.push(null);
  return audio.buffers.length - 1;
});

EM_JS(void, web_audio_play, (int handle, int looped), {
  var audio = Module.quadrovoltAudio;
  var old = audio.voices[handle];
  if (old) {
    old.onended = null;
    try {
      old.stop();
    } catch (e) {
    }
  }
  var voice = audio.context.createBufferSource();
  voice.buffer = audio.buffers[handle];
  voice.loop = !!looped;
  voice.connect(audio.context.destination);
  voice.onended = function() {
    if (audio.voices[handle] == voice) audio.voices[handle] = null;
  };
  audio.voices[handle] = voice;
  voice.start();
});

EM_JS(void, web_audio_stop, (int handle), {
  var audio = Module.quadrovoltAudio;
  var voice = audio.voices[handle];
  if (!voice) return;
  voice.onended = null;
  audio.voices[handle] = null;
  try {
    voice.stop();
  } catch (e) {
  }
});

EM_JS(int, web_audio_playing, (int handle), { return Module.quadrovoltAudio.voices[handle] ? 1 : 0; });

void TWebAudioSoundDevice::Open() {
  if (Opened) return;
  if (!web_audio_open()) throw ESoundDeviceError(SoundErrorText(SCannotInitialize, SOutputName));
  Opened = true;
  Waves = 0;
}

void TWebAudioSoundDevice::Close() {
  if (!Opened) return;
  web_audio_close();
  Opened = false;
  Waves = 0;
}

TSoundHandle TWebAudioSoundDevice::Load(const std::string&, const TWave& wave) {
  if (!Opened || !WaveToPlanarFloats(wave, Samples)) throw ESoundBufferError(SoundErrorText(SCannotMake, SBufferName));
  const int handle =
      web_audio_load(wave.Format.Channels, int(wave.Frames()), int(wave.Format.SamplesPerSec), Samples.data());
  if (handle < 0) throw ESoundBufferError(SoundErrorText(SCannotMake, SBufferName));
  Waves = handle + 1;
  return handle;
}

void TWebAudioSoundDevice::Play(TSoundHandle handle, bool looped) {
  if (Opened && handle >= 0 && handle < Waves) web_audio_play(handle, looped);
}

void TWebAudioSoundDevice::Stop(TSoundHandle handle) {
  if (Opened && handle >= 0 && handle < Waves) web_audio_stop(handle);
}

bool TWebAudioSoundDevice::IsPlaying(TSoundHandle handle) const {
  return Opened && handle >= 0 && handle < Waves && web_audio_playing(handle);
}
