// The built-in music: a calm 24-second loop of soft pad chords, a slow bass and a pentatonic
// bell line, with a ping-pong echo and a little room.
//
// The loop is seamless by construction: every note is written into the buffer modulo the loop
// length (a release that runs past the end rings on at the start), and the echo and the room are
// run over several repetitions of the loop, keeping the last one, so their tails wrap as well.
#include <cmath>
#include <vector>

#include "Art.h"

namespace art {
namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kBeat = 0.75;  // 80 beats a minute
constexpr int kBars = 8;

struct Stereo {
    std::vector<float> l, r;
    explicit Stereo(size_t n) : l(n, 0.0f), r(n, 0.0f) {}
    size_t size() const { return l.size(); }
};

double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Equal-power pan, -1 left .. 1 right.
void panGains(float pan, float& gl, float& gr) {
    float a = (pan + 1.0f) * 0.25f * 3.14159265f;
    gl = std::cos(a);
    gr = std::sin(a);
}

// A pad note: three slightly detuned voices of a soft, few-harmonic tone, slow attack and release.
void addPadNote(Stereo& out, int rate, double start, double length, double note, float gain, float pan,
                std::uint32_t seed) {
    const double attack = 1.6, release = 2.8;
    const size_t loop = out.size();
    const size_t first = static_cast<size_t>(start * rate);
    const size_t count = static_cast<size_t>((length + release) * rate);
    const double cents[3] = {-7.0, 0.0, 6.0};
    const float voicePan[3] = {-0.5f, 0.0f, 0.5f};
    for (int v = 0; v < 3; ++v) {
        const double hz = midiHz(note + cents[v] / 100.0);
        double phase[6];
        for (int h = 0; h < 6; ++h) phase[h] = kTwoPi * hashf(v, h, seed);
        float gl, gr;
        panGains(std::max(-1.0f, std::min(1.0f, pan + voicePan[v] * 0.6f)), gl, gr);
        for (size_t i = 0; i < count; ++i) {
            double t = static_cast<double>(i) / rate;
            double env = t < attack ? 0.5 - 0.5 * std::cos(3.141592653589793 * t / attack) : 1.0;
            if (t > length) env *= 0.5 + 0.5 * std::cos(3.141592653589793 * std::min(1.0, (t - length) / release));
            // Brightness breathes slowly while the note sounds.
            double bright = 0.55 + 0.25 * std::sin(kTwoPi * t / 5.0 + v);
            double s = 0;
            double amp = 1.0;
            for (int h = 1; h <= 6; ++h) {
                s += amp * std::sin(kTwoPi * hz * h * t + phase[h - 1]);
                amp *= bright * 0.62;
            }
            float x = static_cast<float>(s * env) * gain / 3.0f;
            size_t k = (first + i) % loop;
            out.l[k] += x * gl;
            out.r[k] += x * gr;
        }
    }
}

// A soft, round bass: a sine with a touch of its octave.
void addBassNote(Stereo& out, int rate, double start, double length, double note, float gain) {
    const double attack = 0.25, release = 1.5;
    const size_t loop = out.size();
    const size_t first = static_cast<size_t>(start * rate);
    const size_t count = static_cast<size_t>((length + release) * rate);
    const double hz = midiHz(note);
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / rate;
        double env = t < attack ? t / attack : std::exp(-(t - attack) * 0.25);
        if (t > length) env *= 0.5 + 0.5 * std::cos(3.141592653589793 * std::min(1.0, (t - length) / release));
        double s = std::sin(kTwoPi * hz * t) + 0.18 * std::sin(kTwoPi * 2 * hz * t + 0.3);
        float x = static_cast<float>(s * env) * gain;
        size_t k = (first + i) % loop;
        out.l[k] += x;
        out.r[k] += x;
    }
}

// A glassy bell: a few inharmonic partials, each dying away at its own rate.
void addBell(Stereo& out, int rate, double start, double note, float gain, float pan) {
    const double ratio[5] = {1.0, 2.0, 3.01, 4.16, 5.43};
    const double amp[5] = {1.0, 0.32, 0.11, 0.07, 0.04};
    const double decay[5] = {0.55, 1.2, 2.2, 3.4, 5.0};  // per second
    const size_t loop = out.size();
    const size_t first = static_cast<size_t>(start * rate);
    const size_t count = static_cast<size_t>(7.0 * rate);
    const double hz = midiHz(note);
    float gl, gr;
    panGains(pan, gl, gr);
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / rate;
        double s = 0;
        for (int p = 0; p < 5; ++p) {
            double f = hz * ratio[p];
            if (f > rate * 0.45) continue;
            s += amp[p] * std::exp(-decay[p] * t) * std::sin(kTwoPi * f * t);
        }
        double attack = std::min(1.0, t / 0.004);
        float x = static_cast<float>(s * attack) * gain;
        size_t k = (first + i) % loop;
        out.l[k] += x * gl;
        out.r[k] += x * gr;
    }
}

// Runs `step` over the loop `passes` times and keeps what it produced on the last pass, so any
// state (delay lines, filters) that carries over from the end into the start is in place.
template <class Step>
Stereo processLooped(const Stereo& in, int passes, Step step) {
    Stereo out(in.size());
    for (int p = 0; p < passes; ++p)
        for (size_t i = 0; i < in.size(); ++i) {
            float l = in.l[i], r = in.r[i];
            step(l, r);
            if (p == passes - 1) { out.l[i] = l; out.r[i] = r; }
        }
    return out;
}

// A ping-pong echo: what goes in comes back on the other side, fainter each time.
Stereo echo(const Stereo& in, int rate, double delaySeconds, float feedback, float wet) {
    const size_t n = static_cast<size_t>(delaySeconds * rate);
    std::vector<float> dl(n, 0.0f), dr(n, 0.0f);
    size_t pos = 0;
    return processLooped(in, 4, [&](float& l, float& r) {
        float el = dl[pos], er = dr[pos];
        dl[pos] = r * 0.7f + er * feedback;
        dr[pos] = l * 0.7f + el * feedback;
        pos = (pos + 1) % n;
        l += wet * el;
        r += wet * er;
    });
}

// A small room: four damped combs and two all-passes per side (Schroeder).
class Room {
public:
    explicit Room(int rate, int spread) {
        const double combMs[4] = {29.7, 37.1, 41.1, 43.7};
        const double allMs[2] = {5.0, 1.7};
        for (int i = 0; i < 4; ++i) combs_[i].resize(static_cast<size_t>(combMs[i] * rate / 1000.0) + spread);
        for (int i = 0; i < 2; ++i) alls_[i].resize(static_cast<size_t>(allMs[i] * rate / 1000.0) + spread / 3);
    }
    float step(float x) {
        float sum = 0;
        for (int i = 0; i < 4; ++i) {
            std::vector<float>& d = combs_[i];
            float y = d[combPos_[i]];
            low_[i] = y * 0.6f + low_[i] * 0.4f;  // damping
            d[combPos_[i]] = x + low_[i] * 0.82f;
            combPos_[i] = (combPos_[i] + 1) % d.size();
            sum += y;
        }
        float y = sum * 0.25f;
        for (int i = 0; i < 2; ++i) {
            std::vector<float>& d = alls_[i];
            float b = d[allPos_[i]];
            float o = -y + b;
            d[allPos_[i]] = y + b * 0.5f;
            allPos_[i] = (allPos_[i] + 1) % d.size();
            y = o;
        }
        return y;
    }

private:
    std::vector<float> combs_[4], alls_[2];
    size_t combPos_[4] = {0, 0, 0, 0}, allPos_[2] = {0, 0};
    float low_[4] = {0, 0, 0, 0};
};

Stereo room(const Stereo& in, int rate, float wet) {
    Room left(rate, 0), right(rate, 23);
    return processLooped(in, 4, [&](float& l, float& r) {
        float mono = (l + r) * 0.5f;
        float wl = left.step(mono), wr = right.step(mono);
        l = l * (1 - wet * 0.5f) + wet * wl;
        r = r * (1 - wet * 0.5f) + wet * wr;
    });
}

}  // namespace

std::vector<std::int16_t> makeMusic(int rate) {
    const double loopSeconds = kBars * 4 * kBeat;  // 24 s
    const size_t frames = static_cast<size_t>(loopSeconds * rate);

    // Four chords, two bars each: Dmaj9, Bm11, Gmaj9, A6sus.
    const double chords[4][5] = {
        {50, 57, 61, 64, 66}, {47, 54, 57, 62, 64}, {43, 50, 54, 57, 59}, {45, 52, 59, 62, 66}};
    const double roots[4] = {38, 35, 31, 33};
    Stereo pads(frames);
    for (int c = 0; c < 4; ++c) {
        double start = c * 8 * kBeat;
        for (int n = 0; n < 5; ++n) {
            float pan = -0.6f + 0.3f * n;
            addPadNote(pads, rate, start, 8 * kBeat, chords[c][n], n == 0 ? 0.055f : 0.045f, pan,
                       static_cast<std::uint32_t>(c * 16 + n));
        }
        addBassNote(pads, rate, start, 4 * kBeat, roots[c], 0.11f);
        addBassNote(pads, rate, start + 4 * kBeat, 4 * kBeat, roots[c] + (c == 2 ? 7 : 12), 0.07f);
    }

    // The bell line: D major pentatonic, mostly stepwise, resting often.
    struct Note { double beat; double note; float velocity; };
    const Note melody[] = {
        {0.0, 78, 1.0f},  {1.0, 81, 0.8f},  {2.5, 83, 0.7f},  {3.0, 81, 0.8f},
        {4.5, 76, 0.7f},  {5.0, 78, 0.8f},  {6.0, 74, 0.9f},
        {8.0, 74, 0.9f},  {9.0, 78, 0.75f}, {10.0, 83, 0.85f}, {11.5, 81, 0.7f},
        {12.0, 78, 0.8f}, {14.0, 76, 0.8f},
        {16.0, 83, 0.9f}, {17.0, 86, 0.8f}, {18.0, 88, 0.75f}, {19.5, 86, 0.7f},
        {20.0, 83, 0.8f}, {21.5, 81, 0.7f}, {22.0, 78, 0.85f},
        {24.0, 76, 0.9f}, {25.0, 81, 0.8f}, {26.0, 88, 0.7f}, {27.0, 86, 0.75f},
        {28.0, 83, 0.8f}, {29.5, 81, 0.7f}, {30.0, 78, 0.75f}, {31.0, 76, 0.7f},
        // Sparkles an octave up, very soft.
        {2.0, 90, 0.3f}, {13.0, 93, 0.25f}, {18.5, 95, 0.25f}, {26.5, 93, 0.3f},
    };
    Stereo bells(frames);
    int i = 0;
    for (const Note& n : melody) {
        float pan = (i++ % 2) ? 0.35f : -0.3f;
        addBell(bells, rate, n.beat * kBeat, n.note, 0.16f * n.velocity, pan);
    }
    bells = echo(bells, rate, 0.75 * kBeat, 0.38f, 0.45f);

    Stereo mixBus(frames);
    for (size_t k = 0; k < frames; ++k) {
        mixBus.l[k] = pads.l[k] + bells.l[k];
        mixBus.r[k] = pads.r[k] + bells.r[k];
    }
    mixBus = room(mixBus, rate, 0.35f);

    // No DC, peak at about -5 dB.
    double meanL = 0, meanR = 0;
    for (size_t k = 0; k < frames; ++k) { meanL += mixBus.l[k]; meanR += mixBus.r[k]; }
    meanL /= frames; meanR /= frames;
    float peak = 1e-6f;
    for (size_t k = 0; k < frames; ++k) {
        mixBus.l[k] -= static_cast<float>(meanL);
        mixBus.r[k] -= static_cast<float>(meanR);
        peak = std::max(peak, std::max(std::fabs(mixBus.l[k]), std::fabs(mixBus.r[k])));
    }
    const float scale = 0.56f / peak * 32767.0f;
    std::vector<std::int16_t> samples(frames * 2);
    for (size_t k = 0; k < frames; ++k) {
        samples[2 * k] = static_cast<std::int16_t>(std::lround(mixBus.l[k] * scale));
        samples[2 * k + 1] = static_cast<std::int16_t>(std::lround(mixBus.r[k] * scale));
    }
    return samples;
}

}  // namespace art
