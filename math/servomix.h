#pragma once
// The single-joystick, two-wheel mixer: a point of the joystick area (in
// twips, centre 2500/2500, full deflection 2100 twips from it) becomes the
// stick channels CH0 (forward/back) and CH1 (left/right), and one of the
// eight sectors A to H of the stick plane turns them into the two motor
// outputs PWM0 and PWM1.

#include <QString>

struct StickChannels {
    int ch0 = 0; // up positive
    int ch1 = 0; // left positive
};
// Each channel rounded to a whole number (a half to even) and clamped to
// -100..100.
StickChannels stickchannels(double x, double y);

struct MixerSector {
    char sector = 'A';
    int pwm0 = 0;
    int pwm1 = 0;
};
// |CH0| = |CH1| counts as steep, 0 as positive.
MixerSector mixsector(const StickChannels& ch);

// The sector table as text, CR LF line ends, for the firmware writer.
QString sectortable();
