#pragma once
// Small building blocks for synthesising the game's waves: a repeatable noise
// source, band-limited oscillators, envelopes and filters. Everything works on
// doubles in -1..1 and is fully deterministic, so every build makes the same bytes.
#include <cstdint>
#include <vector>

namespace synth {

constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2 * Pi;

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double NoteHz(double note);

// Xorshift noise: the same sequence for the same seed on every machine.
class TNoise {
 public:
  explicit TNoise(std::uint64_t seed) : State(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  double White();    // uniform in -1..1
  double Uniform();  // uniform in 0..1
 private:
  std::uint64_t State;
};

// Phase-accumulating oscillator; saw and square are smoothed at their jumps
// (polyBLEP) so that high notes do not alias into hiss.
class TOscillator {
 public:
  explicit TOscillator(double rate, double phase = 0) : Rate(rate), Phase(phase) {}
  double Sine(double hz);
  double Triangle(double hz);
  double Saw(double hz);
  double Pulse(double hz, double width = 0.5);
  double PhaseNow() const { return Phase; }

 private:
  double Advance(double hz);  // returns the phase increment
  double Rate;
  double Phase;  // 0..1
};

// One-pole smoothing filter: low-pass output, or high-pass as input minus low-pass.
class TOnePole {
 public:
  double LowPass(double x, double cutoffHz, double rate);
  double HighPass(double x, double cutoffHz, double rate);
  void Reset(double v = 0) { State = v; }

 private:
  double Coefficient(double cutoffHz, double rate);
  double State = 0;
  // Most voices hold one cutoff: its coefficient is kept rather than worked
  // out again every sample (the same value either way).
  double CutoffNow = -1, RateNow = 0, A = 0;
};

// State-variable filter (trapezoidal form): stable under fast cutoff sweeps,
// which the explosions and the swell lean on.
class TStateVariable {
 public:
  struct TOut {
    double Low, Band, High;
  };
  explicit TStateVariable(double rate) : Rate(rate) {}
  TOut Run(double x, double cutoffHz, double resonance);
  void Reset() { Ic1 = Ic2 = 0; }

 private:
  double Rate;
  double Ic1 = 0, Ic2 = 0;
  // The coefficients of the last cutoff and resonance, kept while they hold.
  double CutoffNow = -1, ResonanceNow = -1;
  double K = 0, A1 = 0, A2 = 0, A3 = 0;
};

// Envelopes over time t in seconds.
double ExpDecay(double t, double seconds);  // 1 at t=0, 1/e after `seconds`
double Attack(double t, double seconds);    // 0 at t=0 rising linearly to 1
// Smooth ramp from 0 to 1 over [a, b] (and 0 before a, 1 after b).
double SmoothStep(double a, double b, double x);

// Whole-buffer finishing steps.
void RemoveDc(std::vector<double>& s, double rate, double cutoffHz = 20);
void Normalise(std::vector<double>& s, double peak);
void FadeEdges(std::vector<double>& s, double rate, double inSeconds, double outSeconds);
double Peak(const std::vector<double>& s);

}  // namespace synth
