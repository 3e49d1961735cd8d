#include "platform/web/WebAudioSoundDevice.h"

#include <emscripten.h>

#include "platform/web/WaveSamples.h"
#include "sound/MixLimiter.h"
#include "sound/SoundErrors.h"

// The browser side keeps the context, the buffers and each wave's voice in
// Module.quadrovoltAudio; handles are indices into its lists. Every voice goes
// through one gain at the bank's share, then through the limiter of
// sound/MixLimiter.h to the speakers: an AudioWorklet processor with the same
// arithmetic, given the same constants. Its source goes to the worklet as
// text, so it is written as one function that registers the processor where
// it runs.
// clang-format off
EM_JS(int, web_audio_open, (float share, float ceiling, double lookAhead, double release, float lowestGain), {
  var Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return 0;
  var audio = {context : new Context(), buffers : [], voices : []};
  Module.quadrovoltAudio = audio;

  var limiterModule = function() {
    class QuadrovoltLimiter extends AudioWorkletProcessor {
      constructor(options) {
        super();
        var o = options.processorOptions;
        this.ceiling = o.ceiling;
        this.lowestGain = o.lowestGain;
        this.length = Math.min(Math.max(Math.round(o.lookAhead * sampleRate), 1), 4096);
        this.releaseStep = Math.pow(10, o.release / 20 / sampleRate);
        this.needed = new Float64Array(this.length).fill(1);
        this.heldGains = new Float64Array(this.length).fill(1);
        this.delayed = [new Float32Array(this.length), new Float32Array(this.length)];
        this.position = 0;
        this.held = 1;
      }
      process(inputs, outputs) {
        var input = inputs[0], output = outputs[0], length = this.length, ceiling = this.ceiling;
        for (var i = 0; i < output[0].length; ++i) {
          var p = this.position, peak = 0, c, k;
          for (c = 0; c < 2; ++c) {
            var v = input.length ? input[Math.min(c, input.length - 1)][i] : 0;
            this.delayed[c][p] = v;
            if (Math.abs(v) > peak) peak = Math.abs(v);
          }
          this.needed[p] = peak > ceiling ? Math.max(ceiling / peak, this.lowestGain) : 1;
          var lowest = 1, sum = 0;
          for (k = 0; k < length; ++k) lowest = Math.min(lowest, this.needed[k]);
          this.held = Math.min(lowest, this.held * this.releaseStep, 1);
          this.heldGains[p] = this.held;
          for (k = 0; k < length; ++k) sum += this.heldGains[k];
          var gain = sum / length, oldest = (p + 1) % length;
          for (c = 0; c < 2; ++c) {
            var out = this.delayed[c][oldest] * gain;
            output[c][i] = out > ceiling ? ceiling : out < -ceiling ? -ceiling : out == out ? out : 0;
          }
          this.position = oldest;
        }
        return true;
      }
    }
    registerProcessor('quadrovolt-limiter', QuadrovoltLimiter);
  };

  // The way out for any context, the page's own or one a test renders
  // offline: the input node, and a promise of what stands after it. Until
  // the limiter is there (it loads in a moment) nothing sounds; where the
  // browser has no worklets, a clip at the ceiling stands in for it.
  audio.output = function(context) {
    var input = context.createGain();
    input.gain.value = share;
    var clip = function() {
      var curve = new Float32Array(4097);
      for (var i = 0; i < curve.length; ++i) curve[i] = Math.max(-ceiling, Math.min(ceiling, i / 2048 - 1));
      var shaper = context.createWaveShaper();
      shaper.curve = curve;
      input.connect(shaper);
      shaper.connect(context.destination);
      return 'clip';
    };
    if (!context.audioWorklet || !window.AudioWorkletNode) return {input: input, ready: Promise.resolve(clip())};
    var source = '(' + limiterModule.toString() + ')()';
    var url = URL.createObjectURL(new Blob([source], {type: 'application/javascript'}));
    var ready = context.audioWorklet.addModule(url).then(function() {
      URL.revokeObjectURL(url);
      var limiter = new AudioWorkletNode(context, 'quadrovolt-limiter', {
        outputChannelCount: [2], channelCount: 2, channelCountMode: 'explicit',
        processorOptions: {ceiling: ceiling, lookAhead: lookAhead, release: release, lowestGain: lowestGain}
      });
      input.connect(limiter);
      limiter.connect(context.destination);
      return 'limiter';
    }).catch(function(e) {
      URL.revokeObjectURL(url);
      console.log('Quadrovolt: no audio worklet (' + e + '): the sound is clipped at the ceiling instead');
      return clip();
    });
    return {input: input, ready: ready};
  };
  var way = audio.output(audio.context);
  audio.input = way.input;
  audio.ready = way.ready;

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
// clang-format on

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
  voice.connect(audio.input);
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
  if (!web_audio_open(MixShare, TMixLimiter::Ceiling, TMixLimiter::LookAheadSeconds, TMixLimiter::ReleaseDbPerSecond,
                      TMixLimiter::LowestGain))
    throw ESoundDeviceError(SoundErrorText(SCannotInitialize, SOutputName));
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
