// The four-phase back-and-forth motion shared by the snow drift, the logo,
// the gradient and both texts: a value swings between about t0 and t4,
// speeding up in the outer bands and braking in the inner ones.
//
// Values and speeds are stored as float. The unit is applied in double
// precision and each result stored back as float; the thresholds are held as
// floats so that every test compares the stored value with the constant
// rounded the same way, and a value set to a threshold counts as reached.
#pragma once

enum class OscillatorPhase { RiseAccelerate, RiseBrake, FallAccelerate, FallBrake };

enum class OscillatorOrder { RisingFirst, FallingFirst };

struct EasedOscillator {
    float t0, t1, t2, t3, t4;
    double unit;
    OscillatorOrder order;
    int firstPhase;  // the number of the first phase: 0 or 1

    // The phase that phase number `phase` stands for; `phase` must lie in
    // firstPhase ... firstPhase + 3.
    constexpr OscillatorPhase kind(int phase) const {
        const int k = (phase - firstPhase + (order == OscillatorOrder::RisingFirst ? 0 : 2)) % 4;
        return static_cast<OscillatorPhase>(k);
    }

    // One frame of motion. Phases are taken in their numbering order, so a
    // hand-over to the next number acts in the same step, while the hand-over
    // from the last number back to the first acts from the next step. All
    // tests see the value as it was at the start of the step. `onHandOver` is
    // called with the phase being left at each hand-over. A phase number
    // outside the oscillator's four (a waiting state) does nothing.
    template <typename OnHandOver>
    void step(float& value, float& speed, int& phase, OnHandOver&& onHandOver) const {
        const float v = value;
        const float u = static_cast<float>(unit);
        for (int n = firstPhase; n < firstPhase + 4; ++n) {
            if (phase != n) {
                continue;
            }
            const int next = n + 1 < firstPhase + 4 ? n + 1 : firstPhase;
            switch (kind(n)) {
            case OscillatorPhase::RiseAccelerate:
                if (v <= t1) {
                    speed = static_cast<float>(speed + unit);
                }
                if (v <= t2) {
                    value += speed;
                }
                if (v > t2) {
                    phase = next;
                    onHandOver(OscillatorPhase::RiseAccelerate);
                }
                break;
            case OscillatorPhase::RiseBrake:
                brake(v >= t3, speed, u);
                if (v <= t4) {
                    value += speed;
                }
                if (v > t4) {
                    speed = 0.0f;
                    phase = next;
                    onHandOver(OscillatorPhase::RiseBrake);
                }
                break;
            case OscillatorPhase::FallAccelerate:
                if (v >= t3) {
                    speed = static_cast<float>(speed + unit);
                }
                if (v >= t2) {
                    value -= speed;
                }
                if (v < t2) {
                    phase = next;
                    onHandOver(OscillatorPhase::FallAccelerate);
                }
                break;
            case OscillatorPhase::FallBrake:
                brake(v <= t1, speed, u);
                if (v >= t0) {
                    value -= speed;
                }
                if (v < t0) {
                    speed = 0.0f;
                    phase = next;
                    onHandOver(OscillatorPhase::FallBrake);
                }
                break;
            }
        }
    }

    void step(float& value, float& speed, int& phase) const {
        step(value, speed, phase, [](OscillatorPhase) {});
    }

private:
    // Slows down in the inner band, but never below one unit.
    void brake(bool inner, float& speed, float u) const {
        if (inner) {
            speed = static_cast<float>(speed - unit);
        }
        if (speed < u) {
            speed = static_cast<float>(speed + unit);
        }
    }
};
