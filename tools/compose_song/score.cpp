#include "tools/compose_song/score.h"

#include "tools/compose_song/instruments.h"
#include "tools/compose_song/notation.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

enum Channel { KICK_CH, SNARE_CH, HAT_CH, BASS_CH, PAD_CH, ARP_CH = PAD_CH + 3, LEAD_CH, SHIMMER_CH };

constexpr int BAR = 16;
constexpr int ROWS = 64;
constexpr int BARS = ROWS / BAR;
constexpr int BREAK_BPM = 110;
constexpr int MAIN_BPM = 120;

struct Chord {
    const char* bass;
    std::array<const char*, 3> pad;
    std::array<const char*, 3> arp;
    uint8_t arpeggio;  // effect 0 parameter: the chord's third and fifth
};

const Chord DM{"D2", {"D4", "F4", "A4"}, {"D5", "F5", "A5"}, 0x37};
const Chord BB{"Bb1", {"D4", "F4", "Bb4"}, {"Bb4", "D5", "F5"}, 0x47};
const Chord GM{"G1", {"D4", "G4", "Bb4"}, {"G4", "Bb4", "D5"}, 0x37};
const Chord AM{"A1", {"C4", "E4", "A4"}, {"A4", "C5", "E5"}, 0x37};
const Chord A{"A1", {"C#4", "E4", "A4"}, {"A4", "C#5", "E5"}, 0x47};
const Chord C{"C2", {"C4", "E4", "G4"}, {"C5", "E5", "G5"}, 0x47};

using Progression = std::array<const Chord*, BARS>;
const Progression HOME{&DM, &BB, &GM, &A};
const Progression RISE{&BB, &C, &AM, &DM};
const Progression TURN{&GM, &BB, &C, &A};
const Progression BREAK_CHORDS{&BB, &A, &BB, &A};

const PhraseStyle LEAD_STYLE{.instrument = LEAD, .slideSpeed = 0x0C, .vibrato = 0x55, .fall = 0x10, .fade = 0x01};
const PhraseStyle BELL_STYLE{.instrument = BELL};
const PhraseStyle SOFT_BELL_STYLE{.instrument = BELL, .volume = vol(36)};

[[noreturn]] void badScore(const char* what) {
    std::fprintf(stderr, "compose_song: %s\n", what);
    std::exit(1);
}

XmCell& cell(PatternGrid& p, int row, int channel) { return p.at(row, channel); }

void hit(PatternGrid& p, int row, int channel, uint8_t instrument, int volume) {
    XmCell& c = cell(p, row, channel);
    c.note = note("C4");
    c.instrument = instrument;
    c.volume = vol(volume);
}

void effect(PatternGrid& p, int row, int channel, uint8_t effect, uint8_t param) {
    XmCell& c = cell(p, row, channel);
    c.effect = effect;
    c.param = param;
}

// A phrase that must fill the pattern exactly.
void phrase(PatternGrid& p, int channel, const PhraseStyle& style, std::string_view text) {
    if (write_phrase(p, channel, 0, style, text) != p.rows) badScore("a phrase does not fill its pattern");
}

// ---- drums ----

enum class Drums { NONE, HATS, BEAT, BEAT_FILL, BEAT_DROP, BUILD, SPARSE };

void hats(PatternGrid& p, int fromBar, int toBar, int loud, int soft) {
    for (int row = fromBar * BAR; row < toBar * BAR; row += 2) hit(p, row, HAT_CH, HAT, row % 4 == 2 ? loud : soft);
}

void beat(PatternGrid& p, int bar) {
    const int r = bar * BAR;
    hit(p, r, KICK_CH, KICK, 54);
    hit(p, r + 8, KICK_CH, KICK, 50);
    if (bar % 2 == 1) hit(p, r + 10, KICK_CH, KICK, 38);
    hit(p, r + 4, SNARE_CH, SNARE, 64);
    hit(p, r + 12, SNARE_CH, SNARE, 64);
}

void drums(PatternGrid& p, Drums style) {
    switch (style) {
    case Drums::NONE:
        return;
    case Drums::HATS:
        hats(p, 0, BARS, 56, 40);
        return;
    case Drums::SPARSE:
        hats(p, 0, BARS, 52, 34);
        hit(p, 0, KICK_CH, KICK, 56);
        hit(p, 2 * BAR, KICK_CH, KICK, 48);
        return;
    case Drums::BEAT:
    case Drums::BEAT_FILL:
    case Drums::BEAT_DROP:
        hats(p, 0, style == Drums::BEAT_DROP ? BARS - 1 : BARS, 64, 44);
        for (int bar = 0; bar < (style == Drums::BEAT_DROP ? BARS - 1 : BARS); ++bar) beat(p, bar);
        if (style == Drums::BEAT_FILL)
            for (int row = 13; row < BAR; ++row) hit(p, (BARS - 1) * BAR + row, SNARE_CH, SNARE, 40 + 8 * (row - 13));
        if (style == Drums::BEAT_DROP) hit(p, (BARS - 1) * BAR, KICK_CH, KICK, 56);
        return;
    case Drums::BUILD:
        // Snare eighths, then sixteenths, swelling into the return.
        for (int row = 2 * BAR; row < 3 * BAR; row += 2) hit(p, row, SNARE_CH, SNARE, 16 + (row - 2 * BAR));
        for (int row = 3 * BAR; row < ROWS; ++row) hit(p, row, SNARE_CH, SNARE, 32 + (row - 3 * BAR) * 2);
        for (int row = 2 * BAR; row < ROWS; row += 4) hit(p, row, KICK_CH, KICK, 36 + (row - 2 * BAR) / 2);
        return;
    }
}

// ---- bass ----

enum class Bass { HELD, DRIVE, GLIDE };

void bass(PatternGrid& p, const Progression& chords, Bass style) {
    // Where the driving line plays in a bar, an octave up on the off-beat.
    struct Step {
        int row;
        int octave;
        int volume;
    };
    static constexpr Step DRIVE_STEPS[] = {{0, 0, 64}, {3, 0, 50}, {6, 0, 58}, {8, 1, 54},
                                           {10, 0, 60}, {12, 0, 50}, {14, 1, 46}};
    for (int bar = 0; bar < p.rows / BAR; ++bar) {
        const uint8_t root = note(chords[bar % BARS]->bass);
        const int r = bar * BAR;
        if (style == Bass::DRIVE) {
            for (const Step& s : DRIVE_STEPS) {
                XmCell& c = cell(p, r + s.row, BASS_CH);
                c.note = static_cast<uint8_t>(root + 12 * s.octave);
                c.instrument = BASS;
                c.volume = vol(s.volume);
            }
            continue;
        }
        XmCell& c = cell(p, r, BASS_CH);
        c.note = root;
        if (style == Bass::GLIDE && bar > 0) {
            c.effect = TONE_PORTA;
            c.param = 0x06;
        } else {
            c.instrument = BASS;
            c.volume = vol(60);
        }
    }
}

// ---- pad, arpeggios, shimmer ----

// The pad starts once, in the first pattern, and is never struck again: its
// voices glide from chord to chord for the whole song, across patterns, the
// break's loop and the jump back to the restart position, so it never drops
// out to swell in again.
enum class PadStart { STRIKE, GLIDE };

void pad(PatternGrid& p, const Progression& chords, int volume, PadStart start = PadStart::GLIDE) {
    static constexpr uint8_t PANNING[3] = {0x50, 0x80, 0xB0};
    for (int bar = 0; bar < p.rows / BAR; ++bar) {
        const Chord& chord = *chords[bar % BARS];
        for (int voice = 0; voice < 3; ++voice) {
            const uint8_t n = note(chord.pad[voice]);
            XmCell& c = cell(p, bar * BAR, PAD_CH + voice);
            if (bar == 0 && start == PadStart::STRIKE) {
                c.note = n;
                c.instrument = PAD;
                c.volume = vol(volume);
                c.effect = SET_PANNING;
                c.param = PANNING[voice];
                continue;
            }
            // A pattern does not know the chord it follows, so its first bar
            // names every voice; later bars only the voices that move.
            if (bar > 0 && note(chords[bar - 1]->pad[voice]) == n) continue;
            c.note = n;
            c.effect = TONE_PORTA;
            c.param = 0x10;
            if (bar == 0) c.volume = vol(volume);
        }
    }
}

enum class Arp { SIXTEENTHS, EIGHTHS };

void arp(PatternGrid& p, const Progression& chords, Arp style, int fromBar, int loud) {
    // Chord tone per row: 0..2 the chord, 3 the root an octave up.
    static constexpr int FIGURE[BAR] = {0, 1, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1};
    const int stride = style == Arp::SIXTEENTHS ? 1 : 2;
    for (int row = fromBar * BAR; row < p.rows; row += stride) {
        const Chord& chord = *chords[(row / BAR) % BARS];
        const int tone = FIGURE[row % BAR];
        XmCell& c = cell(p, row, ARP_CH);
        c.note = static_cast<uint8_t>(tone == 3 ? note(chord.arp[0]) + 12 : note(chord.arp[static_cast<size_t>(tone)]));
        c.instrument = PLUCK;
        c.volume = vol(row % 4 == 0 ? loud : row % 2 == 0 ? loud * 3 / 4 : loud / 2);
    }
}

// A held note per bar that the arpeggio effect turns into a glittering chord.
void shimmer(PatternGrid& p, const Progression& chords, int fromBar, int volume) {
    for (int row = fromBar * BAR; row < p.rows; ++row) {
        const Chord& chord = *chords[(row / BAR) % BARS];
        XmCell& c = cell(p, row, SHIMMER_CH);
        if (row % BAR == 0) {
            c.note = static_cast<uint8_t>(note(chord.arp[0]) + 12);
            c.instrument = SHIMMER;
            c.volume = vol(volume);
        }
        c.effect = ARPEGGIO;
        c.param = chord.arpeggio;
    }
}

// ---- melodies ----

constexpr std::string_view LEAD_HOME_1 =
    "A4 . . . . . D5 . E5 . . . F5 . . . "
    "F5 . ~ ~ ~ ~ ~ ~ E5 . . . D5 . . . "
    "D5 . . . Bb4 . . . C5 . . . D5 . G5/ ~ "
    "E5 . ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ^ . . .";
constexpr std::string_view LEAD_HOME_2 =
    "F5 . A5/ ~ ~ ~ G5 . F5 . . . E5 . F5 . "
    "D5 . . . ~ ~ ~ ~ F5 . . . Bb5 . . . "
    "A5 . ~ ~ ~ ~ ~ ~ G5 . . . F5 . G5 . "
    "E5 . ~ ~ ~ ~ ~ ~ C#5 . ~ ~ ~ ~ ^ .";
constexpr std::string_view LEAD_RISE =
    "D6 . . . ~ ~ ~ ~ C6 . Bb5 . . . A5 . "
    "G5 . ~ ~ ~ ~ ~ ~ E5 . . . G5 . C6 . "
    "C6 . ~ ~ ~ ~ A5 . . . E5 . . . G5 . "
    "F5 . ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ \\ \\ ^ .";
constexpr std::string_view LEAD_TURN =
    "D5 . . . G5 . . . Bb5 . . . A5 . G5 . "
    "F5 . ~ ~ ~ ~ ~ ~ D5 . . . F5 . . . "
    "G5 . . . E5 . . . C5 . . . E5 . G5/ . "
    "A5 . ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ > > > ^";
constexpr std::string_view LEAD_BREAK =
    "D5 . ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ Bb4/ ~ ~ ~ "
    "F5/ ~ ~ ~ ~ ~ ~ ~ D5 . ~ ~ ~ ~ ~ ~ "
    "E5 . ~ ~ ~ ~ G5/ ~ ~ ~ ~ ~ ~ ~ ~ ~ "
    "A5 . ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ^ . . .";
constexpr std::string_view LEAD_OUTRO =
    "D5 . ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ "
    "~ ~ ~ ~ ~ ~ ~ ~ C5 . . . Bb4 . . . "
    "A4 . ~ ~ ~ ~ ~ ~ ~ ~ ~ ~ > > > > "
    "> > > > > > > > ^ . . . . . . .";
constexpr std::string_view BELLS_INTRO =
    ". . . . . . . . . . . . . . . . "
    "F5 . . . . . . . A5 . . . . . . . "
    "D6 . . . . . . . Bb5 . . . . . . . "
    "C#6 . . . . . . . E6 . . . . . . .";
constexpr std::string_view BELLS_HOME =
    "D6 . . A5 . . F5 . . . A5 . D6 . E6 . "
    "F6 . . D6 . . Bb5 . . . D6 . F6 . . . "
    "G6 . . D6 . . Bb5 . . . G5 . Bb5 . D6 . "
    "E6 . . C#6 . . A5 . . . E5 . A5 . C#6 .";
constexpr std::string_view BELLS_RISE =
    "F6 . . D6 . . Bb5 . . . F6 . G6 . F6 . "
    "E6 . . C6 . . G5 . . . C6 . E6 . G6 . "
    "E6 . . C6 . . A5 . . . C6 . E6 . . . "
    "D6 . . A5 . . F5 . . . . . . . . .";
constexpr std::string_view BELLS_BREAK =
    "F6 . . D6 . . Bb5 . . . . . D6 . . . "
    "E6 . . C#6 . . A5 . . . . . E5 . . .";
constexpr std::string_view BELLS_COUNTER =
    "A5 . . . . . . . . . . . D6 . . . "
    "F5 . . . . . . . . . . . Bb5 . . . "
    "D6 . . . . . . . . . . . G5 . . . "
    "E5 . . . . . . . . . . . A5 . . .";

// ---- patterns ----

PatternGrid grid(int rows = ROWS) { return PatternGrid(rows, WHITEPINE_CHANNELS); }

PatternGrid introDawn() {
    PatternGrid p = grid();
    pad(p, HOME, 44, PadStart::STRIKE);
    shimmer(p, HOME, 0, 0);
    // The shimmer swells in under the pad over the first two bars.
    for (int row = 0; row < ROWS; ++row) cell(p, row, SHIMMER_CH).volume = vol(std::min(34, 4 + row));
    phrase(p, LEAD_CH, SOFT_BELL_STYLE, BELLS_INTRO);
    return p;
}

PatternGrid introPulse() {
    PatternGrid p = grid();
    pad(p, HOME, 42);
    shimmer(p, HOME, 0, 34);
    bass(p, HOME, Bass::HELD);
    drums(p, Drums::HATS);
    arp(p, HOME, Arp::EIGHTHS, 1, 52);
    return p;
}

PatternGrid mainPart(const Progression& chords, std::string_view lead, Drums beat) {
    PatternGrid p = grid();
    pad(p, chords, 42);
    bass(p, chords, Bass::DRIVE);
    drums(p, beat);
    arp(p, chords, Arp::SIXTEENTHS, 0, 64);
    phrase(p, LEAD_CH, LEAD_STYLE, lead);
    // Whatever glittered before lets go slowly.
    cell(p, 0, SHIMMER_CH).note = XM_KEY_OFF;
    return p;
}

PatternGrid interlude(const Progression& chords, std::string_view bells, Drums beat) {
    PatternGrid p = grid();
    pad(p, chords, 42);
    bass(p, chords, Bass::DRIVE);
    drums(p, beat);
    arp(p, chords, Arp::EIGHTHS, 0, 60);
    shimmer(p, chords, 0, 28);
    phrase(p, LEAD_CH, BELL_STYLE, bells);
    return p;
}

// Two bars played three times at a slower tempo.
PatternGrid breakLoop() {
    PatternGrid p = grid(2 * BAR);
    effect(p, 0, SNARE_CH, SPEED_OR_BPM, BREAK_BPM);
    effect(p, 0, KICK_CH, EXTENDED, 0x60);
    effect(p, p.rows - 1, KICK_CH, EXTENDED, 0x62);
    pad(p, BREAK_CHORDS, 48);
    bass(p, BREAK_CHORDS, Bass::GLIDE);
    arp(p, BREAK_CHORDS, Arp::EIGHTHS, 0, 48);
    shimmer(p, BREAK_CHORDS, 0, 40);
    phrase(p, LEAD_CH, SOFT_BELL_STYLE, BELLS_BREAK);
    return p;
}

PatternGrid breakRise() {
    PatternGrid p = grid();
    pad(p, TURN, 46);
    bass(p, TURN, Bass::GLIDE);
    arp(p, TURN, Arp::EIGHTHS, 0, 48);
    drums(p, Drums::BUILD);
    phrase(p, LEAD_CH, LEAD_STYLE, LEAD_BREAK);
    shimmer(p, TURN, 0, 32);
    // In the last bar the shimmer climbs instead of glittering.
    for (int row = 3 * BAR + 1; row < ROWS; ++row) effect(p, row, SHIMMER_CH, PORTA_UP, 0x02);
    return p;
}

PatternGrid returnPart() {
    PatternGrid p = mainPart(HOME, LEAD_HOME_1, Drums::BEAT);
    effect(p, 0, SNARE_CH, SPEED_OR_BPM, MAIN_BPM);
    phrase(p, SHIMMER_CH, SOFT_BELL_STYLE, BELLS_COUNTER);
    return p;
}

// Thins out and hands over to the pulse of the intro, where the song loops.
PatternGrid outro() {
    PatternGrid p = grid();
    pad(p, HOME, 42);
    bass(p, HOME, Bass::HELD);
    drums(p, Drums::SPARSE);
    arp(p, HOME, Arp::SIXTEENTHS, 0, 52);
    phrase(p, LEAD_CH, LEAD_STYLE, LEAD_OUTRO);
    shimmer(p, HOME, 2, 34);
    return p;
}

enum PatternNumber : uint8_t {
    INTRO_DAWN,
    INTRO_PULSE,
    HOME_1,
    HOME_2,
    RISE_1,
    TURN_1,
    INTERLUDE_HOME,
    INTERLUDE_RISE,
    BREAK_LOOP,
    BREAK_RISE,
    RETURN,
    OUTRO,
};

std::vector<XmPattern> patterns() {
    std::vector<PatternGrid> grids = {
        introDawn(),
        introPulse(),
        mainPart(HOME, LEAD_HOME_1, Drums::BEAT),
        mainPart(HOME, LEAD_HOME_2, Drums::BEAT_FILL),
        mainPart(RISE, LEAD_RISE, Drums::BEAT),
        mainPart(TURN, LEAD_TURN, Drums::BEAT_FILL),
        interlude(HOME, BELLS_HOME, Drums::BEAT),
        interlude(RISE, BELLS_RISE, Drums::BEAT_DROP),
        breakLoop(),
        breakRise(),
        returnPart(),
        outro(),
    };
    // The interlude's bass falls away into the break.
    PatternGrid& fall = grids[INTERLUDE_RISE];
    for (int row = ROWS - 4; row < ROWS; ++row) effect(fall, row, BASS_CH, PORTA_DOWN, 0x06);

    std::vector<XmPattern> out;
    for (const PatternGrid& g : grids) out.push_back(g.pattern());
    return out;
}

}  // namespace

const std::vector<OrderPlan>& whitepine_plan() {
    static const std::vector<OrderPlan> plan = {
        {INTRO_DAWN, ROWS, MAIN_BPM},         {INTRO_PULSE, ROWS, MAIN_BPM},
        {HOME_1, ROWS, MAIN_BPM},             {HOME_2, ROWS, MAIN_BPM},
        {RISE_1, ROWS, MAIN_BPM},             {TURN_1, ROWS, MAIN_BPM},
        {INTERLUDE_HOME, ROWS, MAIN_BPM},     {INTERLUDE_RISE, ROWS, MAIN_BPM},
        {BREAK_LOOP, 3 * 2 * BAR, BREAK_BPM}, {BREAK_RISE, ROWS, BREAK_BPM},
        {RETURN, ROWS, MAIN_BPM},             {HOME_2, ROWS, MAIN_BPM},
        {RISE_1, ROWS, MAIN_BPM},             {TURN_1, ROWS, MAIN_BPM},
        {OUTRO, ROWS, MAIN_BPM},
    };
    return plan;
}

int64_t whitepine_length_frames() {
    int64_t frames = 0;
    for (const OrderPlan& o : whitepine_plan()) frames += int64_t{o.rowsHeard} * WHITEPINE_SPEED * (120000 / o.bpm);
    return frames;
}

XmModule compose_whitepine() {
    XmModule m;
    m.name = "Whitepine Nocturne";
    m.channels = WHITEPINE_CHANNELS;
    m.flags = 1;
    m.tempo = WHITEPINE_SPEED;
    m.bpm = MAIN_BPM;
    m.restart = WHITEPINE_RESTART;
    for (const OrderPlan& o : whitepine_plan()) m.orders.push_back(o.pattern);
    m.patterns = patterns();
    m.instruments = whitepine_instruments();
    return m;
}
