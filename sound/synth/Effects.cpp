// Each effect is a few layered voices: a transient for the impact, a tone for
// its character and, for the destroyed sounds, a filtered-noise blast with a
// low boom and crackle. Levels are set so that the constant sounds (the shot)
// sit under the rarer ones (explosions, the new-level chime).
#include "sound/synth/Effects.h"

#include <cmath>

#include "sound/synth/Synth.h"

namespace synth {

namespace {

// Fills a mono wave sample by sample from a generator of time in seconds.
template <class TGen>
TWaveData Render(int rate, double seconds, TGen&& gen) {
  TWaveData w = MakeMono(rate, seconds);
  std::vector<double>& s = w.Samples[0];
  for (size_t i = 0; i < s.size(); ++i) s[i] = gen(double(i) / rate);
  return w;
}

// Removes any offset, sets the peak level and makes sure the wave starts and
// ends at silence so that starting or cutting it never clicks.
TWaveData Finish(TWaveData w, double peak, double fadeOut = 0.008) {
  std::vector<double>& s = w.Samples[0];
  RemoveDc(s, w.Rate, 25);
  FadeEdges(s, w.Rate, 0.0015, fadeOut);
  Normalise(s, peak);
  return w;
}

// Smooth fade to silence over the last part of a sound.
double Tail(double t, double seconds, double from) { return 1 - SmoothStep(seconds * from, seconds, t); }

// An explosion: low-passed noise whose cutoff falls as the fireball cools,
// a low boom dropping in pitch, and crackle that thins out over time.
struct TBlastShape {
  double Seconds;
  std::uint64_t Seed;
  double BoomFrom, BoomTo, BoomDrop, BoomDecay, BoomLevel;
  double CutFrom, CutTo, CutTau, NoiseDecay, NoiseLevel;
  double CracklePerSecond, CrackleTau, CrackleLevel;
};

class TBlast {
 public:
  TBlast(const TBlastShape& shape, int rate) : Shape(shape), Rate(rate), Noise(shape.Seed), Boom(rate), Filter(rate) {}

  double Next(double t) {
    const TBlastShape& b = Shape;
    double cut = b.CutTo + (b.CutFrom - b.CutTo) * std::exp(-t / b.CutTau);
    double body = Filter.Run(Noise.White(), cut, 0.9).Low;
    // A second, slower filter gives the rumble its weight under the hiss.
    double rumble = Rumble.LowPass(Noise.White(), 180, Rate) * 3.0;
    double noiseEnv = Attack(t, 0.004) * (0.7 * ExpDecay(t, b.NoiseDecay) + 0.3 * ExpDecay(t, b.NoiseDecay * 3));
    double boomHz = b.BoomTo + (b.BoomFrom - b.BoomTo) * std::exp(-t / b.BoomDrop);
    double boom = Boom.Sine(boomHz) * ExpDecay(t, b.BoomDecay) * Attack(t, 0.002);

    if (Noise.Uniform() < b.CracklePerSecond / Rate * std::exp(-t / b.CrackleTau)) Crack = 0.4 + 0.6 * Noise.Uniform();
    Crack *= std::exp(-1.0 / (0.004 * Rate));
    double crackle = CrackleFilter.HighPass(Crack * Noise.White(), 1200, Rate);

    double x = b.NoiseLevel * noiseEnv * (body + 0.5 * rumble) + b.BoomLevel * boom + b.CrackleLevel * crackle;
    return std::tanh(1.6 * x) * Tail(t, b.Seconds, 0.65);
  }

 private:
  TBlastShape Shape;
  int Rate;
  TNoise Noise;
  TOscillator Boom;
  TStateVariable Filter;
  TOnePole Rumble, CrackleFilter;
  double Crack = 0;
};

// A bright click of band-passed noise: the moment of impact.
class TClick {
 public:
  TClick(int rate, std::uint64_t seed, double hz, double decay) : Noise(seed), Filter(rate), Hz(hz), Decay(decay) {}
  double Next(double t) { return Filter.Run(Noise.White(), Hz, 1.2).Band * ExpDecay(t, Decay); }

 private:
  TNoise Noise;
  TStateVariable Filter;
  double Hz, Decay;
};

}  // namespace

// A bright short laser: a pulse and a saw a fifth above, diving fast in pitch.
TWaveData MakePlayerShoot() {
  const int rate = 11025;
  const double len = 0.09;
  TOscillator a(rate), b(rate);
  TStateVariable tone(rate);
  return Finish(Render(rate, len,
                       [&](double t) {
                         double hz = 380 + 2300 * std::exp(-t / 0.02);
                         double width = 0.5 - 0.35 * std::exp(-t / 0.03);
                         double x = 0.65 * a.Pulse(hz, width) + 0.35 * b.Saw(hz * 1.5);
                         x = tone.Run(x, hz * 3 + 600, 1.4).Low;
                         return x * Attack(t, 0.002) * ExpDecay(t, 0.035) * Tail(t, len, 0.7);
                       }),
                0.55, 0.01);
}

// A crisp hit: a noise crack over a square blip that drops from 1 kHz.
TWaveData MakeGruntHit() {
  const int rate = 22050;
  const double len = 0.15;
  TOscillator blip(rate), body(rate);
  TClick click(rate, 11, 3200, 0.01);
  TStateVariable tone(rate);
  return Finish(Render(rate, len,
                       [&](double t) {
                         double hz = 260 + 800 * std::exp(-t / 0.025);
                         double sq = tone.Run(blip.Pulse(hz, 0.4), 3500, 0.8).Low * ExpDecay(t, 0.045);
                         double thud = body.Sine(170 + 80 * std::exp(-t / 0.02)) * ExpDecay(t, 0.05);
                         return (0.5 * sq + 0.4 * thud + 0.9 * click.Next(t)) * Attack(t, 0.001) * Tail(t, len, 0.6);
                       }),
                0.75);
}

// A glassy tick: two inharmonic partials ringing briefly, then a falling chirp.
TWaveData MakeBoidHit() {
  const int rate = 22050;
  const double len = 0.23;
  TOscillator p1(rate), p2(rate), chirp(rate);
  TClick click(rate, 23, 5000, 0.006);
  return Finish(Render(rate, len,
                       [&](double t) {
                         double ring = (0.6 * p1.Sine(1760) + 0.4 * p2.Sine(2637)) * ExpDecay(t, 0.045);
                         double fall = chirp.Triangle(520 + 700 * std::exp(-t / 0.06)) * ExpDecay(t, 0.07);
                         return (0.6 * ring + 0.5 * fall + 0.7 * click.Next(t)) * Attack(t, 0.001) * Tail(t, len, 0.6);
                       }),
                0.7);
}

// A metallic clank: frequency modulation at an inharmonic ratio whose
// brightness falls away quickly, as a struck plate does.
TWaveData MakeSnakeHit() {
  const int rate = 22050;
  const double len = 0.25;
  TOscillator modulator(rate);
  TClick click(rate, 31, 4200, 0.008);
  double phase = 0;
  return Finish(Render(rate, len,
                       [&](double t) {
                         double index = 5.5 * std::exp(-t / 0.04) + 0.6;
                         double m = modulator.Sine(430 * 1.414);
                         phase += 430.0 / rate;
                         phase -= std::floor(phase);
                         double clank = std::sin(TwoPi * phase + index * m) * ExpDecay(t, 0.07);
                         return (0.7 * clank + 0.6 * click.Next(t)) * Attack(t, 0.001) * Tail(t, len, 0.6);
                       }),
                0.75);
}

// The snake's long death: a heavy blast with an electric zap sliding down under it.
TWaveData MakeSnakeDestroyed() {
  const int rate = 22050;
  const double len = 2.26;
  TBlast blast({len, 41, 75, 32, 0.25, 0.45, 0.9, 5000, 160, 0.45, 0.55, 0.9, 160, 0.6, 0.5}, rate);
  TOscillator zap(rate);
  TStateVariable zapTone(rate);
  return Finish(Render(rate, len,
                       [&](double t) {
                         double hz = 60 + 700 * std::exp(-t / 0.35);
                         double z = zapTone.Run(zap.Saw(hz), hz * 4, 1.5).Low * ExpDecay(t, 0.5) * Attack(t, 0.01);
                         return blast.Next(t) + 0.25 * z;
                       }),
                0.9, 0.05);
}

// A deep resonant bong, bent downward as if the well swallowed the shot.
TWaveData MakeGravitarHit() {
  const int rate = 22050;
  const double len = 0.58;
  TOscillator modulator(rate), sub(rate);
  TClick click(rate, 53, 1800, 0.012);
  double phase = 0;
  return Finish(Render(rate, len,
                       [&](double t) {
                         double hz = 130 + 110 * std::exp(-t / 0.12);
                         double index = 3.0 * std::exp(-t / 0.08) + 0.4;
                         double m = modulator.Sine(hz * 1.5);
                         phase += hz / rate;
                         phase -= std::floor(phase);
                         double bong = std::sin(TwoPi * phase + index * m) * ExpDecay(t, 0.18);
                         double low = sub.Sine(hz * 0.5) * ExpDecay(t, 0.22);
                         return (0.6 * bong + 0.4 * low + 0.5 * click.Next(t)) * Attack(t, 0.002) * Tail(t, len, 0.6);
                       }),
                0.8, 0.02);
}

// The heaviest blast: a big low boom with a slow-cooling noise cloud.
TWaveData MakeGravitarDestroyed() {
  const int rate = 22050;
  const double len = 1.23;
  TBlast blast({len, 67, 60, 28, 0.2, 0.35, 1.1, 3800, 120, 0.3, 0.32, 0.9, 120, 0.35, 0.45}, rate);
  return Finish(Render(rate, len, [&](double t) { return blast.Next(t); }), 0.9, 0.04);
}

// A rubbery, wobbling boing: a square through a band-pass whose centre swings
// back and forth while the note sags.
TWaveData MakePodHit() {
  const int rate = 22050;
  const double len = 1.23;
  TOscillator tone(rate), wobble(rate);
  TStateVariable wah(rate);
  TClick click(rate, 71, 2500, 0.01);
  return Finish(Render(rate, len,
                       [&](double t) {
                         double hz = 150 + 110 * std::exp(-t / 0.3);
                         double lfo = wobble.Sine(7.5 - 3.0 * t);
                         double centre = (900 + 650 * lfo) * (0.5 + 0.5 * std::exp(-t / 0.5));
                         double x = wah.Run(tone.Pulse(hz, 0.5), centre, 4.0).Band;
                         double env = ExpDecay(t, 0.33) * Attack(t, 0.003);
                         return (0.8 * x * env + 0.5 * click.Next(t)) * Tail(t, len, 0.7);
                       }),
                0.75, 0.03);
}

// A pod bursting: a mid blast with a run of small pops as the children fly out.
TWaveData MakePodDestroyed() {
  const int rate = 22050;
  const double len = 1.07;
  TBlast blast({len, 89, 110, 45, 0.12, 0.22, 0.7, 6000, 300, 0.25, 0.25, 0.8, 90, 0.3, 0.35}, rate);
  TNoise chance(97);
  TOscillator pop(rate);
  double popHz = 0, popStart = -1;
  return Finish(Render(rate, len,
                       [&](double t) {
                         if (t < 0.6 && chance.Uniform() < 14.0 / rate) {
                           popStart = t;
                           popHz = 350 + 700 * chance.Uniform();
                         }
                         double p = 0;
                         if (popStart >= 0) {
                           double age = t - popStart;
                           p = pop.Sine(popHz * (1 + 1.5 * std::exp(-age / 0.01))) * ExpDecay(age, 0.025) *
                               Attack(age, 0.0015);
                         }
                         return blast.Next(t) + 0.35 * p;
                       }),
                0.88, 0.04);
}

// A small high blip for the pod's children.
TWaveData MakePodChildHit() {
  const int rate = 22050;
  const double len = 0.18;
  TOscillator blip(rate);
  TStateVariable tone(rate);
  TClick click(rate, 101, 5500, 0.005);
  return Finish(Render(rate, len,
                       [&](double t) {
                         double hz = 880 + 700 * std::exp(-t / 0.02);
                         double x = tone.Run(blip.Pulse(hz, 0.3), 4000, 0.9).Low * ExpDecay(t, 0.04);
                         return (0.6 * x + 0.5 * click.Next(t)) * Attack(t, 0.001) * Tail(t, len, 0.6);
                       }),
                0.65);
}

// A small, quick pop of a blast with a falling blip.
TWaveData MakePodChildDestroyed() {
  const int rate = 22050;
  const double len = 0.58;
  TBlast blast({len, 113, 160, 70, 0.05, 0.1, 0.5, 7000, 500, 0.1, 0.12, 0.8, 60, 0.15, 0.3}, rate);
  TOscillator blip(rate);
  return Finish(Render(rate, len,
                       [&](double t) {
                         double b = blip.Triangle(200 + 900 * std::exp(-t / 0.05)) * ExpDecay(t, 0.08);
                         return blast.Next(t) + 0.3 * b;
                       }),
                0.8, 0.03);
}

// A harsh electrical buzz: two low, clashing waves and noise, overdriven.
TWaveData MakePlayerHit() {
  const int rate = 22050;
  const double len = 0.11;
  TOscillator a(rate), b(rate);
  TNoise noise(131);
  TOnePole soften;
  return Finish(Render(rate, len,
                       [&](double t) {
                         double x = a.Saw(112) * b.Pulse(171, 0.5) + 0.5 * noise.White();
                         x = std::tanh(2.5 * x) * Attack(t, 0.002) * (0.6 + 0.4 * ExpDecay(t, 0.03));
                         return soften.LowPass(x, 5000, rate) * Tail(t, len, 0.55);
                       }),
                0.8, 0.012);
}

// A rising chime: bell notes climbing an A major arpeggio over two octaves,
// ringing on together into a shimmering chord.
TWaveData MakeNewLevel() {
  const int rate = 22050;
  const double len = 2.91;
  static const double kNotes[] = {69, 73, 76, 81, 85, 88, 93};
  constexpr int kCount = sizeof(kNotes) / sizeof(kNotes[0]);
  const double step = 0.11;
  // A bell: partials at slightly stretched, inharmonic ratios, the higher ones dying first.
  static const double kRatio[] = {1.0, 2.005, 3.01, 4.2, 5.43};
  static const double kLevel[] = {1.0, 0.45, 0.25, 0.15, 0.08};
  static const double kDecay[] = {1.0, 0.6, 0.35, 0.2, 0.12};
  double phase[kCount][5] = {};
  return Finish(Render(rate, len,
                       [&](double t) {
                         double sum = 0;
                         for (int n = 0; n < kCount; ++n) {
                           double start = n * step;
                           double age = t - start;
                           if (age < 0) continue;
                           double hz = NoteHz(kNotes[n]);
                           double ring = n == kCount - 1 ? 1.1 : 0.7;
                           double note = 0;
                           for (int p = 0; p < 5; ++p) {
                             double f = hz * kRatio[p];
                             if (f > rate * 0.45) continue;
                             note += kLevel[p] * std::sin(TwoPi * phase[n][p]) * ExpDecay(age, ring * kDecay[p]);
                             phase[n][p] += f / rate;
                             phase[n][p] -= std::floor(phase[n][p]);
                           }
                           // A gentle shimmer: slow tremolo that grows as the note rings.
                           double shimmer =
                               1 - 0.15 * (1 - std::exp(-age / 0.4)) * (0.5 + 0.5 * std::sin(TwoPi * 5.5 * age));
                           sum += note * shimmer * Attack(age, 0.003) * (0.7 + 0.05 * n);
                         }
                         return sum * Tail(t, len, 0.75);
                       }),
                0.8, 0.05);
}

// A deep rising swell: detuned saws and a sub tone climbing from the floor,
// the filter opening and a throb quickening as the gravitar forms.
TWaveData MakeGravitarSpawned() {
  const int rate = 22050;
  const double len = 2.25;
  TOscillator s1(rate), s2(rate), sub(rate), throb(rate);
  TStateVariable filter(rate);
  return Finish(Render(rate, len,
                       [&](double t) {
                         double u = t / len;
                         double hz = 34 * std::pow(110.0 / 34.0, SmoothStep(0, 1, u * 1.05));
                         double x = 0.5 * s1.Saw(hz) + 0.5 * s2.Saw(hz * 1.007) + 0.8 * sub.Sine(hz * 0.5);
                         double cut = 120 + 1900 * SmoothStep(0.05, 0.9, u);
                         x = filter.Run(x, cut, 2.2).Low;
                         double pulse = 0.75 + 0.25 * throb.Sine(3 + 11 * u);
                         double env = SmoothStep(0, 0.8, u) * (1 - SmoothStep(0.85, 1.0, u));
                         return std::tanh(1.5 * x) * pulse * env;
                       }),
                0.85, 0.02);
}

// The gravi-bomb: a heavy thump, then a rushing sweep as the shock ring
// spreads out and fades.
TWaveData MakeGraviBomb() {
  const int rate = 8000;
  const double len = 1.76;
  TOscillator thump(rate), ringTone(rate);
  TNoise noise(151);
  TStateVariable sweep(rate);
  TOnePole clickFilter;
  return Finish(Render(rate, len,
                       [&](double t) {
                         double thumpHz = 34 + 90 * std::exp(-t / 0.04);
                         double th = thump.Sine(thumpHz) * ExpDecay(t, 0.22) * Attack(t, 0.002);
                         double click = clickFilter.LowPass(noise.White(), 1500, rate) * ExpDecay(t, 0.015);
                         // The sweep rises then falls back, loudest while the ring is wide.
                         double u = t / len;
                         double centre = 180 * std::pow(3200.0 / 180.0, SmoothStep(0.02, 0.55, u)) *
                                         (1 - 0.5 * SmoothStep(0.55, 1.0, u));
                         double whoosh = sweep.Run(noise.White(), centre, 3.0).Band;
                         double whooshEnv = SmoothStep(0.01, 0.25, u) * (1 - SmoothStep(0.35, 1.0, u));
                         double tone = ringTone.Sine(centre * 0.5) * whooshEnv * 0.25;
                         return std::tanh(1.2 * (1.0 * th + 0.6 * click + 0.9 * whoosh * whooshEnv + tone));
                       }),
                0.9, 0.05);
}

}  // namespace synth
