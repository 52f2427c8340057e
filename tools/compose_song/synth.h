// Sample synthesis for the demo's song: every sound is computed here, from
// sine sums, noise and a plucked-string delay line.
#pragma once

#include "tools/xm_writer/xm_writer.h"

// Sets relative note and finetune so that XM note A-4 sounds at 440 Hz when
// the sample holds a tone of toneHz recorded at sampleRate.
void tune_sample(XmSample& sample, double sampleRate, double toneHz);

XmSample synth_kick();
XmSample synth_snare();
XmSample synth_hat();
XmSample synth_bass();
XmSample synth_pad();
XmSample synth_pluck();
XmSample synth_bell();
XmSample synth_lead();
XmSample synth_shimmer();
