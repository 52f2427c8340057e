// A four-phase swing between -turnAngle and +turnAngle: it speeds up by one
// unit per frame until the speed passes the limit, brakes back to zero, is
// set exactly to the turn angle and goes the other way. The logo's tilt and
// the texts' rocking use it.
#pragma once

struct Swing {
    double unit;
    float limit;      // compared with the stored speed in single precision
    float turnAngle;  // degrees

    // Phases are taken in the order 0 to 3, so a change to a higher phase
    // acts in the same frame; the change from 3 back to 0 acts from the next.
    void step(float& angle, float& speed, int& phase) const {
        if (phase == 0) {
            if (speed > limit) {
                phase = 1;
            } else {
                speed = static_cast<float>(speed + unit);
                angle -= speed;
            }
        }
        if (phase == 1) {
            if (speed > 0.0f) {
                speed = static_cast<float>(speed - unit);
                angle -= speed;
            } else {
                speed = 0.0f;
                angle = -turnAngle;
                phase = 2;
            }
        }
        if (phase == 2) {
            if (speed <= limit) {
                speed = static_cast<float>(speed + unit);
                angle += speed;
            } else {
                phase = 3;
            }
        }
        if (phase == 3) {
            if (speed > 0.0f) {
                speed = static_cast<float>(speed - unit);
                angle += speed;
            } else {
                speed = 0.0f;
                angle = turnAngle;
                phase = 0;
            }
        }
    }
};
