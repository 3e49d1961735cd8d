#include "sound/synth/Synth.h"

#include <algorithm>
#include <cmath>

namespace synth {

double NoteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

double TNoise::Uniform() {
  State ^= State << 13;
  State ^= State >> 7;
  State ^= State << 17;
  return double(State >> 11) * (1.0 / 9007199254740992.0);
}

double TNoise::White() { return Uniform() * 2 - 1; }

namespace {
// The polyBLEP correction around a jump at phase 0, for a phase step of dt.
double PolyBlep(double t, double dt) {
  if (dt <= 0) return 0;
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}
}  // namespace

double TOscillator::Advance(double hz) {
  double dt = std::clamp(hz / Rate, 0.0, 0.5);
  Phase += dt;
  Phase -= std::floor(Phase);
  return dt;
}

double TOscillator::Sine(double hz) {
  double v = std::sin(TwoPi * Phase);
  Advance(hz);
  return v;
}

double TOscillator::Triangle(double hz) {
  // Starts at zero and rises, so a note never begins with a jump.
  double p = Phase;
  double v = p < 0.25 ? 4 * p : (p < 0.75 ? 2 - 4 * p : 4 * p - 4);
  Advance(hz);
  return v;
}

double TOscillator::Saw(double hz) {
  double p = Phase;
  double dt = std::clamp(hz / Rate, 0.0, 0.5);
  double v = 2 * p - 1 - PolyBlep(p, dt);
  Advance(hz);
  return v;
}

double TOscillator::Pulse(double hz, double width) {
  double p = Phase;
  double dt = std::clamp(hz / Rate, 0.0, 0.5);
  double v = p < width ? 1.0 : -1.0;
  v += PolyBlep(p, dt);
  double q = p + 1 - width;
  v -= PolyBlep(q - std::floor(q), dt);
  Advance(hz);
  return v;
}

double TOnePole::Coefficient(double cutoffHz, double rate) {
  if (cutoffHz != CutoffNow || rate != RateNow) {
    CutoffNow = cutoffHz;
    RateNow = rate;
    A = 1 - std::exp(-TwoPi * std::max(cutoffHz, 0.0) / rate);
  }
  return A;
}

double TOnePole::LowPass(double x, double cutoffHz, double rate) {
  State += Coefficient(cutoffHz, rate) * (x - State);
  return State;
}

double TOnePole::HighPass(double x, double cutoffHz, double rate) { return x - LowPass(x, cutoffHz, rate); }

TStateVariable::TOut TStateVariable::Run(double x, double cutoffHz, double resonance) {
  if (cutoffHz != CutoffNow || resonance != ResonanceNow) {
    CutoffNow = cutoffHz;
    ResonanceNow = resonance;
    const double rate = Rate;
    double fc = std::clamp(cutoffHz, 5.0, rate * 0.45);
    double g = std::tan(Pi * fc / rate);
    K = 1.0 / std::max(resonance, 0.1);
    A1 = 1 / (1 + g * (g + K));
    A2 = g * A1;
    A3 = g * A2;
  }
  const double k = K, a1 = A1, a2 = A2, a3 = A3;
  double v3 = x - Ic2;
  double v1 = a1 * Ic1 + a2 * v3;
  double v2 = Ic2 + a2 * Ic1 + a3 * v3;
  Ic1 = 2 * v1 - Ic1;
  Ic2 = 2 * v2 - Ic2;
  return {v2, v1, x - k * v1 - v2};
}

double ExpDecay(double t, double seconds) { return t < 0 ? 0 : std::exp(-t / seconds); }

double Attack(double t, double seconds) {
  if (t <= 0) return 0;
  return t >= seconds ? 1 : t / seconds;
}

double SmoothStep(double a, double b, double x) {
  if (x <= a) return 0;
  if (x >= b) return 1;
  double u = (x - a) / (b - a);
  return u * u * (3 - 2 * u);
}

void RemoveDc(std::vector<double>& s, double rate, double cutoffHz) {
  TOnePole hp;
  for (double& v : s) v = hp.HighPass(v, cutoffHz, rate);
}

double Peak(const std::vector<double>& s) {
  double peak = 0;
  for (double v : s) peak = std::max(peak, std::fabs(v));
  return peak;
}

void Normalise(std::vector<double>& s, double peak) {
  double now = Peak(s);
  if (now <= 0) return;
  double gain = peak / now;
  for (double& v : s) v *= gain;
}

void FadeEdges(std::vector<double>& s, double rate, double inSeconds, double outSeconds) {
  size_t n = s.size();
  size_t in = std::min(n, size_t(inSeconds * rate));
  size_t out = std::min(n, size_t(outSeconds * rate));
  for (size_t i = 0; i < in; ++i) s[i] *= double(i) / double(in);
  for (size_t i = 0; i < out; ++i) s[n - 1 - i] *= double(i) / double(out);
}

}  // namespace synth
