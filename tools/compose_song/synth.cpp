#include "tools/compose_song/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr double RATE = 22050.0;
constexpr double TWO_PI = 2.0 * std::numbers::pi;
// The pitch every drum is tuned to, so that note C-4 plays it at its own rate.
constexpr double MIDDLE_C = 261.6255653005986;

// A small deterministic noise source, so every run writes the same bytes.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_;
};

// Scales the signal to the given peak and rounds it to sample values.
std::vector<int16_t> quantise(const std::vector<double>& signal, double peak) {
    double largest = 1e-12;
    for (double v : signal) largest = std::max(largest, std::abs(v));
    std::vector<int16_t> out(signal.size());
    for (size_t i = 0; i < signal.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(signal[i] * peak / largest));
    return out;
}

std::vector<double> render(size_t length, const std::function<double(size_t, double)>& voice) {
    std::vector<double> out(length);
    for (size_t i = 0; i < length; ++i) out[i] = voice(i, static_cast<double>(i) / RATE);
    return out;
}

XmSample eightBit(const std::vector<double>& signal, const char* name) {
    XmSample s;
    s.pcm = quantise(signal, 120.0);
    s.name = name;
    return s;
}

XmSample sixteenBit(const std::vector<double>& signal, const char* name) {
    XmSample s;
    s.pcm = quantise(signal, 30000.0);
    s.sixteenBit = true;
    s.name = name;
    return s;
}

// Sum of cosine partials that each complete a whole number of cycles over
// `period` samples: the result repeats seamlessly, and it is mirror-symmetric
// at both ends, so it loops forward or back and forth without a seam.
double partials(size_t i, double period, const std::vector<std::pair<double, double>>& cyclesAndGains) {
    double v = 0.0;
    for (auto [cycles, gain] : cyclesAndGains) v += gain * std::cos(TWO_PI * cycles * static_cast<double>(i) / period);
    return v;
}

// A band-limited sawtooth spectrum with a soft roll-off above `corner`.
std::vector<std::pair<double, double>> sawSpectrum(double baseCycles, int harmonics, double corner) {
    std::vector<std::pair<double, double>> out;
    for (int k = 1; k <= harmonics; ++k) {
        const double kk = k;
        out.emplace_back(baseCycles * kk, 1.0 / kk / (1.0 + (kk / corner) * (kk / corner)));
    }
    return out;
}

}  // namespace

void tune_sample(XmSample& sample, double sampleRate, double toneHz) {
    const double semitones = 12.0 * std::log2(440.0 * sampleRate / (8363.0 * toneHz)) - 9.0;
    const double whole = std::round(semitones);
    sample.relativeNote = static_cast<int8_t>(whole);
    sample.finetune = static_cast<int8_t>(std::clamp(std::lround((semitones - whole) * 128.0), -128L, 127L));
}

XmSample synth_kick() {
    Noise noise(0x4B1C);
    double phase = 0.0;
    auto signal = render(static_cast<size_t>(RATE * 0.32), [&](size_t, double t) {
        const double pitch = 46.0 + 120.0 * std::exp(-t / 0.03);
        phase += TWO_PI * pitch / RATE;
        const double body = std::sin(phase) * std::exp(-t / 0.13) * std::min(1.0, t / 0.002);
        const double click = noise.next() * 0.25 * std::exp(-t / 0.003);
        return body + click;
    });
    XmSample s = eightBit(signal, "kick");
    tune_sample(s, RATE, MIDDLE_C);
    return s;
}

XmSample synth_snare() {
    Noise noise(0x5EA1);
    double low = 0.0;
    auto signal = render(static_cast<size_t>(RATE * 0.24), [&](size_t, double t) {
        low += 0.55 * (noise.next() - low);
        const double tone = std::sin(TWO_PI * 187.0 * t) * 0.7 * std::exp(-t / 0.05);
        return tone + low * std::exp(-t / 0.09);
    });
    XmSample s = eightBit(signal, "snare");
    tune_sample(s, RATE, MIDDLE_C);
    return s;
}

XmSample synth_hat() {
    Noise noise(0x4A7);
    double previous = 0.0;
    auto signal = render(static_cast<size_t>(RATE * 0.08), [&](size_t, double t) {
        const double n = noise.next();
        const double high = n - previous;
        previous = n;
        return high * std::exp(-t / 0.024);
    });
    XmSample s = eightBit(signal, "hat");
    tune_sample(s, RATE, MIDDLE_C);
    return s;
}

// A warm saw that starts bright and settles into a looped steady cycle.
XmSample synth_bass() {
    constexpr size_t CYCLE = 256;
    constexpr size_t CYCLES = 48;
    const auto steady = sawSpectrum(1.0, 24, 5.0);
    const auto bright = sawSpectrum(1.0, 24, 14.0);
    auto signal = render(CYCLE * CYCLES, [&](size_t i, double) {
        const double cycle = static_cast<double>(i / CYCLE);
        const double brightness = i >= CYCLE * (CYCLES - 8) ? 0.0 : std::exp(-cycle / 5.0);
        const double sub = 0.35 * std::cos(TWO_PI * static_cast<double>(i) / CYCLE);
        return sub + (1.0 - brightness) * partials(i, CYCLE, steady) + brightness * partials(i, CYCLE, bright);
    });
    XmSample s = sixteenBit(signal, "bass");
    s.loopType = XM_LOOP_FORWARD;
    s.loopStart = CYCLE * (CYCLES - 8);
    s.loopLength = CYCLE * 8;
    tune_sample(s, RATE, RATE / CYCLE);
    return s;
}

// Five slightly detuned saws: every partial fits the loop a whole number of
// times, so the chorus beats repeat exactly across the loop.
XmSample synth_pad() {
    constexpr size_t LOOP = 16384;
    constexpr double BASE = 128.0;
    // Random signs keep the partials from all peaking together at the loop
    // ends, which would waste most of the sample's headroom.
    Noise signs(0x9AD);
    std::vector<std::pair<double, double>> spectrum;
    for (double detune : {0.0, 1.0, -1.0, 2.0, -2.0}) {
        for (auto [cycles, gain] : sawSpectrum(BASE + detune, 20, 3.5))
            spectrum.emplace_back(cycles, signs.next() < 0.0 ? -gain : gain);
    }
    auto signal = render(LOOP, [&](size_t i, double) { return partials(i, LOOP, spectrum); });
    XmSample s = sixteenBit(signal, "pad");
    s.loopType = XM_LOOP_PINGPONG;
    s.loopStart = 0;
    s.loopLength = LOOP;
    tune_sample(s, RATE, RATE * BASE / LOOP);
    return s;
}

// A plucked string: a noise burst circulating in a damped delay line.
XmSample synth_pluck() {
    constexpr size_t PERIOD = 64;
    Noise noise(0x9106);
    std::vector<double> line(PERIOD);
    double smooth = 0.0;
    for (double& v : line) {
        smooth += 0.5 * (noise.next() - smooth);
        v = smooth;
    }
    size_t at = 0;
    auto signal = render(static_cast<size_t>(RATE * 1.1), [&](size_t, double) {
        const size_t next = (at + 1) % PERIOD;
        const double out = line[at];
        line[at] = 0.4985 * (line[at] + line[next]);
        at = next;
        return out;
    });
    XmSample s = sixteenBit(signal, "pluck");
    tune_sample(s, RATE, RATE / (PERIOD + 0.5));
    return s;
}

// Two-operator bell: an inharmonic modulator whose depth dies away faster
// than the tone itself.
XmSample synth_bell() {
    constexpr double TONE = RATE / 32.0;
    auto signal = render(static_cast<size_t>(RATE * 0.9), [&](size_t, double t) {
        const double index = 1.6 * std::exp(-t / 0.15);
        const double modulator = std::sin(TWO_PI * TONE * 3.5 * t);
        const double attack = std::min(1.0, t / 0.001);
        return attack * std::exp(-t / 0.3) * std::sin(TWO_PI * TONE * t + index * modulator);
    });
    XmSample s = eightBit(signal, "bell");
    tune_sample(s, RATE, TONE);
    return s;
}

// A soft square with a little saw in it, one looped cycle.
XmSample synth_lead() {
    constexpr size_t CYCLE = 128;
    auto signal = render(CYCLE, [&](size_t i, double) {
        double v = 0.0;
        for (int k = 1; k <= 24; ++k) {
            const double kk = k;
            const double gain = (k % 2 == 1 ? 1.0 : 0.35) / kk / (1.0 + (kk / 7.0) * (kk / 7.0));
            v += gain * std::sin(TWO_PI * kk * static_cast<double>(i) / CYCLE);
        }
        return v;
    });
    XmSample s = sixteenBit(signal, "lead");
    s.loopType = XM_LOOP_FORWARD;
    s.loopStart = 0;
    s.loopLength = CYCLE;
    tune_sample(s, RATE, RATE / CYCLE);
    return s;
}

// Glassy octaves, half a cycle played back and forth.
XmSample synth_shimmer() {
    constexpr size_t HALF = 32;
    const std::vector<std::pair<double, double>> spectrum = {{0.5, 1.0}, {1.0, 0.5}, {2.0, 0.3}, {3.0, 0.12}};
    auto signal = render(HALF, [&](size_t i, double) { return partials(i, HALF, spectrum); });
    XmSample s = eightBit(signal, "shimmer");
    s.loopType = XM_LOOP_PINGPONG;
    s.loopStart = 0;
    s.loopLength = HALF;
    tune_sample(s, RATE, RATE / (2.0 * HALF));
    return s;
}
