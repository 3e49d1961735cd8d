// The title music: sixteen bars in A minor (Am F C G, two bars each, played
// twice) at about 135 beats a minute. A pulse lead sings the tune with a
// ping-pong echo, an octave-pumping bass and a soft pad hold the chords, and a
// kick, snare and hats keep the beat; the second half adds a sparkling arpeggio
// and doubles the lead an octave down.
//
// The whole piece is rendered on a ring: every tail that runs past the end is
// folded back onto the start, so the loop point is just another moment in the
// music. The ring is then turned by a few milliseconds so that the file starts
// and ends where both channels are at silence.
#include "sound/synth/IntroTune.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "sound/synth/Synth.h"

namespace synth {

namespace {

constexpr int kRate = 22050;
constexpr size_t kFrames = 628425;  // 28.5 s
constexpr int kSteps = 256;         // sixteenth notes in sixteen bars
constexpr int kStepsPerBar = 16;

size_t StepFrame(double step) { return size_t(std::lround(step * double(kFrames) / kSteps)); }

struct TRing {
  std::vector<double> L = std::vector<double>(kFrames, 0.0);
  std::vector<double> R = std::vector<double>(kFrames, 0.0);

  // Equal-power panning; pan -1 is hard left, +1 hard right. A note keeps
  // its pan, so the two gains are worked out once for it.
  void Add(size_t frame, double v, double pan) {
    if (pan != PanNow) {
      PanNow = pan;
      double a = (pan + 1) * Pi / 4;
      GainL = std::cos(a);
      GainR = std::sin(a);
    }
    size_t i = frame % kFrames;
    L[i] += v * GainL;
    R[i] += v * GainR;
  }

 private:
  double PanNow = 2, GainL = 0, GainR = 0;
};

// Plays one note onto the ring: `gen(t, held)` gives the raw voice, which is
// held for `lengthSteps` and then released linearly over `release` seconds.
template <class TGen>
void PlayNote(TRing& ring, double step, double lengthSteps, double release, double level, double pan, TGen&& gen) {
  size_t start = StepFrame(step);
  size_t held = StepFrame(step + lengthSteps) - start;
  size_t tail = size_t(release * kRate);
  for (size_t k = 0; k < held + tail; ++k) {
    double t = double(k) / kRate;
    double env = k < held ? 1.0 : 1.0 - double(k - held) / double(tail);
    ring.Add(start + k, level * env * gen(t, k < held), pan);
  }
}

// ---- drums ---------------------------------------------------------------

void Kick(TRing& ring, double step, double velocity) {
  TOscillator body(kRate);
  TNoise noise(std::uint64_t(step * 7 + 1));
  TOnePole click;
  PlayNote(ring, step, 0, 0.35, 0.85 * velocity, 0, [&](double t, bool) {
    double hz = 46 + 120 * std::exp(-t / 0.03);
    double b = body.Sine(hz) * ExpDecay(t, 0.2) * Attack(t, 0.001);
    double c = click.LowPass(noise.White(), 3000, kRate) * ExpDecay(t, 0.003);
    return b + 0.6 * c;
  });
}

void Snare(TRing& ring, double step, double velocity) {
  TOscillator tone(kRate);
  TNoise noise(std::uint64_t(step * 13 + 3));
  TStateVariable band(kRate);
  PlayNote(ring, step, 0, 0.22, 0.5 * velocity, -0.1, [&](double t, bool) {
    double body = tone.Sine(185 + 40 * std::exp(-t / 0.01)) * ExpDecay(t, 0.045);
    double rattle = band.Run(noise.White(), 2600, 0.7).Band * ExpDecay(t, 0.085);
    return (0.6 * body + 1.1 * rattle) * Attack(t, 0.001);
  });
}

void Hat(TRing& ring, double step, double velocity, bool open) {
  TNoise noise(std::uint64_t(step * 17 + 5));
  TStateVariable high(kRate);
  double decay = open ? 0.11 : 0.022;
  PlayNote(ring, step, 0, open ? 0.35 : 0.09, 0.16 * velocity, 0.35, [&](double t, bool) {
    return high.Run(noise.White(), 7600, 0.9).High * ExpDecay(t, decay) * Attack(t, 0.0008);
  });
}

void Crash(TRing& ring, double step) {
  TNoise noise(std::uint64_t(step * 19 + 7));
  TStateVariable high(kRate);
  TOnePole soft;
  PlayNote(ring, step, 0, 1.6, 0.16, -0.3, [&](double t, bool) {
    double x = high.Run(noise.White(), 5200, 0.8).High;
    return soft.LowPass(x, 9000, kRate) * ExpDecay(t, 0.45) * Attack(t, 0.002);
  });
}

// ---- pitched voices ------------------------------------------------------

void Bass(TRing& ring, double step, double lengthSteps, int note) {
  TOscillator saw(kRate), pulse(kRate);
  TStateVariable filter(kRate);
  double hz = NoteHz(note);
  PlayNote(ring, step, lengthSteps, 0.035, 0.36, 0, [&](double t, bool) {
    double x = 0.7 * saw.Saw(hz) + 0.4 * pulse.Pulse(hz * 0.5, 0.5);
    double cut = 240 + 1300 * std::exp(-t / 0.07);
    x = filter.Run(x, cut, 1.3).Low;
    return x * Attack(t, 0.003) * (0.75 + 0.25 * ExpDecay(t, 0.1));
  });
}

void Lead(std::vector<double>& bus, double step, double lengthSteps, int note, double level) {
  TOscillator pulse(kRate), saw(kRate), vibrato(kRate);
  TStateVariable filter(kRate);
  size_t start = StepFrame(step);
  size_t held = StepFrame(step + lengthSteps) - start;
  size_t tail = size_t(0.09 * kRate);
  for (size_t k = 0; k < held + tail; ++k) {
    double t = double(k) / kRate;
    double bend = 0.18 * SmoothStep(0.12, 0.4, t) * vibrato.Sine(5.6);
    double hz = NoteHz(note + bend);
    double x = 0.6 * pulse.Pulse(hz, 0.36) + 0.4 * saw.Saw(hz * 1.0035);
    x = filter.Run(x, 2600 + 1200 * ExpDecay(t, 0.12), 0.9).Low;
    double env = Attack(t, 0.008) * (0.78 + 0.22 * ExpDecay(t, 0.2));
    if (k >= held) env *= 1.0 - double(k - held) / double(tail);
    bus[(start + k) % kFrames] += level * env * x;
  }
}

void PadChord(TRing& ring, double step, double lengthSteps, const int (&notes)[3]) {
  for (int n = 0; n < 3; ++n) {
    double hz = NoteHz(notes[n]);
    for (int side = 0; side < 2; ++side) {
      // Each side gets its own detuned pair, which spreads the pad across the stereo field.
      double detune = side == 0 ? 0.996 : 1.004;
      TOscillator a(kRate, 0.13 * n), b(kRate, 0.41 + 0.2 * side);
      TStateVariable filter(kRate);
      double pan = side == 0 ? -0.8 : 0.8;
      PlayNote(ring, step, lengthSteps, 0.5, 0.055, pan, [&](double t, bool) {
        double x = a.Saw(hz * detune) + b.Saw(hz / detune * 1.002);
        return filter.Run(x, 1100, 0.7).Low * SmoothStep(0, 0.4, t);
      });
    }
  }
}

void Arp(TRing& ring, double step, int note, double pan) {
  TOscillator tri(kRate), sine(kRate);
  double hz = NoteHz(note);
  PlayNote(ring, step, 0.6, 0.08, 0.09, pan, [&](double t, bool) {
    return (0.7 * tri.Triangle(hz) + 0.3 * sine.Sine(hz * 2)) * Attack(t, 0.002) * ExpDecay(t, 0.11);
  });
}

// ---- the score -----------------------------------------------------------

struct TMelodyNote {
  int Step, Note, Length;
};

// Two-bar phrases, one per chord; steps are sixteenths from the phrase start.
const std::vector<TMelodyNote> kPhrases[8] = {
    {{0, 69, 6}, {6, 72, 2}, {8, 76, 4}, {12, 74, 2}, {14, 72, 2}, {16, 74, 6}, {22, 76, 2}, {24, 72, 7}},
    {{0, 72, 6}, {6, 69, 2}, {8, 72, 4}, {12, 77, 4}, {16, 76, 6}, {22, 74, 2}, {24, 72, 4}, {28, 69, 3}},
    {{0, 67, 4}, {4, 72, 4}, {8, 76, 4}, {12, 79, 4}, {16, 76, 6}, {22, 74, 2}, {24, 72, 4}, {28, 76, 3}},
    {{0, 74, 6}, {6, 71, 2}, {8, 67, 4}, {12, 71, 4}, {16, 74, 4}, {20, 79, 4}, {24, 74, 7}},
    {{0, 76, 6}, {6, 81, 2}, {8, 79, 4}, {12, 76, 4}, {16, 74, 4}, {20, 76, 4}, {24, 69, 7}},
    {{0, 77, 6}, {6, 76, 2}, {8, 72, 4}, {12, 69, 4}, {16, 72, 6}, {22, 74, 2}, {24, 69, 7}},
    {{0, 79, 6}, {6, 76, 2}, {8, 72, 4}, {12, 76, 4}, {16, 79, 4}, {20, 81, 4}, {24, 79, 4}, {28, 76, 3}},
    {{0, 74, 6}, {6, 76, 2}, {8, 74, 4}, {12, 71, 4}, {16, 67, 8}, {24, 71, 5}},
};

// Chord of each two-bar phrase: bass root and pad voicing.
const int kBassRoots[4] = {45, 41, 36, 43};  // A2 F2 C2 G2
const int kPads[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}};
const int kArpTones[4][4] = {{69, 72, 76, 81}, {65, 69, 72, 77}, {67, 72, 76, 79}, {67, 71, 74, 79}};

void Drums(TRing& ring) {
  for (int bar = 0; bar < 16; ++bar) {
    double s0 = bar * kStepsPerBar;
    bool last = bar == 15;
    Kick(ring, s0 + 0, 1.0);
    Kick(ring, s0 + 8, 0.95);
    if (bar % 2 == 1) Kick(ring, s0 + 10, 0.8);
    Snare(ring, s0 + 4, 1.0);
    if (last) {
      // A roll that runs up into the top of the loop.
      const double roll[4] = {0.55, 0.65, 0.8, 0.95};
      for (int i = 0; i < 4; ++i) Snare(ring, s0 + 12 + i, roll[i]);
    } else {
      Snare(ring, s0 + 12, 1.0);
    }
    for (int s = 0; s < kStepsPerBar; s += 2) {
      bool open = s == 14 && bar % 2 == 1 && !last;
      Hat(ring, s0 + s, s % 4 == 2 ? 0.9 : 0.55, open);
      if (bar >= 8) Hat(ring, s0 + s + 1, 0.3, false);  // sixteenth drive in the second half
    }
  }
  Crash(ring, 0);
  Crash(ring, 128);
}

void BassLine(TRing& ring) {
  for (int bar = 0; bar < 16; ++bar) {
    int root = kBassRoots[(bar / 2) % 4];
    for (int e = 0; e < 8; ++e) Bass(ring, bar * kStepsPerBar + e * 2, 1.6, root + (e % 2 ? 12 : 0));
  }
}

void Pads(TRing& ring) {
  for (int phrase = 0; phrase < 8; ++phrase) PadChord(ring, phrase * 32, 32, kPads[phrase % 4]);
}

void Arpeggio(TRing& ring) {
  static const int kOrder[8] = {0, 1, 2, 3, 2, 1, 2, 3};
  for (int step = 128; step < kSteps; ++step) {
    int chord = (step / 32) % 4;
    Arp(ring, step, kArpTones[chord][kOrder[step % 8]], step % 2 ? 0.55 : -0.55);
  }
}

// The lead and its ping-pong echo (a dotted eighth each way, darkened a little
// on every repeat), worked around the ring twice so the echoes of the last
// bars fall onto the first.
void LeadWithEcho(TRing& ring) {
  std::vector<double> lead(kFrames, 0.0);
  for (int phrase = 0; phrase < 8; ++phrase) {
    for (const TMelodyNote& n : kPhrases[phrase]) {
      double step = phrase * 32 + n.Step;
      Lead(lead, step, n.Length, n.Note, 0.32);
      if (phrase >= 4) Lead(lead, step, n.Length, n.Note - 12, 0.13);
    }
  }
  const size_t delay = StepFrame(3);
  std::vector<double> echoL(kFrames, 0.0), echoR(kFrames, 0.0);
  TOnePole darkL, darkR;
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t i = 0; i < kFrames; ++i) {
      size_t j = (i + kFrames - delay) % kFrames;
      echoL[i] = darkL.LowPass(0.34 * lead[j] + 0.42 * echoR[j], 3500, kRate);
      echoR[i] = darkR.LowPass(0.42 * echoL[j], 3500, kRate);
    }
  }
  for (size_t i = 0; i < kFrames; ++i) {
    ring.L[i] += 0.8 * lead[i] + echoL[i];
    ring.R[i] += 0.8 * lead[i] + echoR[i];
  }
}

// A high-pass around the ring (twice, so the filter has settled by the second
// lap) takes out any offset without a seam at the loop point.
void RemoveRingDc(std::vector<double>& s) {
  TOnePole low;
  std::vector<double> out(s.size());
  for (int pass = 0; pass < 2; ++pass)
    for (size_t i = 0; i < s.size(); ++i) out[i] = s[i] - low.LowPass(s[i], 12, kRate);
  s.swap(out);
}

// Turns the ring so that the file starts and ends where both channels sit
// closest to silence (the last sample and the first one both small), looking
// only a few milliseconds either side of the downbeat. The ring itself has no
// seam, so this only makes the very first start and a hard stop click-free.
void StartAtSilence(std::vector<double>& l, std::vector<double>& r) {
  const long window = 660;  // 30 ms
  size_t best = 0;
  double bestScore = 1e9;
  for (long k = -window; k <= window; ++k) {
    size_t i = size_t((long(kFrames) + k) % long(kFrames));
    size_t before = (i + kFrames - 1) % kFrames;
    double score = std::fabs(l[i]) + std::fabs(r[i]) + std::fabs(l[before]) + std::fabs(r[before]);
    if (score < bestScore) {
      bestScore = score;
      best = i;
    }
  }
  std::vector<double> nl(kFrames), nr(kFrames);
  for (size_t i = 0; i < kFrames; ++i) {
    nl[i] = l[(i + best) % kFrames];
    nr[i] = r[(i + best) % kFrames];
  }
  l.swap(nl);
  r.swap(nr);
}

}  // namespace

TWaveData MakeIntro() {
  TRing ring;
  Drums(ring);
  BassLine(ring);
  Pads(ring);
  Arpeggio(ring);
  LeadWithEcho(ring);

  RemoveRingDc(ring.L);
  RemoveRingDc(ring.R);
  // Gentle saturation on the mix glues it and lets the tune sit louder under the kick's peaks.
  double peak = std::max(Peak(ring.L), Peak(ring.R));
  for (size_t i = 0; i < kFrames; ++i) {
    ring.L[i] = std::tanh(1.4 * ring.L[i] / peak);
    ring.R[i] = std::tanh(1.4 * ring.R[i] / peak);
  }
  StartAtSilence(ring.L, ring.R);
  peak = std::max(Peak(ring.L), Peak(ring.R));
  for (size_t i = 0; i < kFrames; ++i) {
    ring.L[i] *= 0.75 / peak;
    ring.R[i] *= 0.75 / peak;
  }

  TWaveData w;
  w.Rate = kRate;
  w.Bits = 16;
  w.Channels = 2;
  w.Samples = {std::move(ring.L), std::move(ring.R)};
  return w;
}

}  // namespace synth
