#include "tools/compose_song/instruments.h"

#include "tools/compose_song/synth.h"

#include <string>
#include <utility>

namespace {

XmInstrument instrument(const char* name, XmSample sample, uint8_t volume, uint8_t panning) {
    sample.volume = volume;
    sample.panning = panning;
    XmInstrument ins;
    ins.name = name;
    ins.samples.push_back(std::move(sample));
    return ins;
}

XmEnvelope envelope(std::vector<XmEnvelopePoint> points, uint8_t type, uint8_t sustain = 0, uint8_t loopStart = 0,
                    uint8_t loopEnd = 0) {
    XmEnvelope e;
    e.points = std::move(points);
    e.type = type;
    e.sustain = sustain;
    e.loopStart = loopStart;
    e.loopEnd = loopEnd;
    return e;
}

}  // namespace

std::vector<XmInstrument> whitepine_instruments() {
    // Envelope ticks run at 48 per second at 120 BPM.
    const uint8_t heldThenReleased = XM_ENVELOPE_ON | XM_ENVELOPE_SUSTAIN;
    const uint8_t looping = XM_ENVELOPE_ON | XM_ENVELOPE_LOOP;

    XmInstrument kick = instrument("kick", synth_kick(), 60, 128);
    XmInstrument snare = instrument("snare", synth_snare(), 64, 116);
    XmInstrument hat = instrument("hat", synth_hat(), 48, 168);

    XmInstrument bass = instrument("bass", synth_bass(), 46, 128);
    bass.volumeEnvelope = envelope({{0, 64}, {6, 54}, {18, 46}, {30, 0}}, heldThenReleased, 2);
    bass.fadeout = 0x400;

    // The pad swells in slowly, drifts across the stereo field and warbles a
    // little once it has settled.
    XmInstrument pad = instrument("pad", synth_pad(), 42, 128);
    pad.volumeEnvelope = envelope({{0, 0}, {24, 44}, {56, 60}, {96, 52}, {150, 0}}, heldThenReleased, 3);
    pad.panningEnvelope = envelope({{0, 32}, {60, 44}, {120, 20}, {180, 32}}, looping, 0, 0, 3);
    pad.vibratoType = 0;
    pad.vibratoSweep = 60;
    pad.vibratoDepth = 3;
    pad.vibratoRate = 5;
    pad.fadeout = 0x200;

    XmInstrument pluck = instrument("pluck", synth_pluck(), 56, 96);
    pluck.volumeEnvelope = envelope({{0, 64}, {16, 40}, {60, 0}}, XM_ENVELOPE_ON);

    XmInstrument bell = instrument("bell", synth_bell(), 56, 150);

    // The lead's vibrato grows in over half a second, as a player's would.
    XmInstrument lead = instrument("lead", synth_lead(), 60, 128);
    lead.volumeEnvelope = envelope({{0, 0}, {2, 64}, {10, 52}, {26, 0}}, heldThenReleased, 2);
    lead.vibratoType = 0;
    lead.vibratoSweep = 30;
    lead.vibratoDepth = 5;
    lead.vibratoRate = 10;
    lead.fadeout = 0x300;

    // The shimmer pulses and swirls from side to side while it is held.
    XmInstrument shimmer = instrument("shimmer", synth_shimmer(), 30, 128);
    shimmer.volumeEnvelope = envelope({{0, 0}, {4, 48}, {12, 30}, {20, 48}}, looping, 0, 1, 3);
    shimmer.panningEnvelope = envelope({{0, 12}, {24, 52}, {48, 12}}, looping, 0, 0, 2);
    shimmer.fadeout = 0x180;

    return {kick, snare, hat, bass, pad, pluck, bell, lead, shimmer};
}
