#include "tools/compose_song/notation.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void badScore(std::string_view what, std::string_view text) {
    std::fprintf(stderr, "compose_song: %.*s: \"%.*s\"\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(text.size()), text.data());
    std::exit(1);
}

}  // namespace

uint8_t note(std::string_view name) {
    static constexpr int SEMITONES[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') badScore("bad note name", name);
    int semitone = SEMITONES[name[0] - 'A'];
    size_t at = 1;
    if (name[at] == '#') {
        ++semitone;
        ++at;
    } else if (name[at] == 'b') {
        --semitone;
        ++at;
    }
    if (at + 1 != name.size() || name[at] < '0' || name[at] > '7') badScore("bad note name", name);
    const int number = (name[at] - '0') * 12 + semitone + 1;
    if (number < 1 || number > 96) badScore("note out of range", name);
    return static_cast<uint8_t>(number);
}

PatternGrid::PatternGrid(int rowCount, int channelCount)
    : rows(rowCount), channels(channelCount), cells(static_cast<size_t>(rowCount * channelCount)) {}

XmCell& PatternGrid::at(int row, int channel) {
    if (row < 0 || row >= rows || channel < 0 || channel >= channels) badScore("cell outside the pattern", "");
    return cells[static_cast<size_t>(row * channels + channel)];
}

XmPattern PatternGrid::pattern() const {
    XmPattern p;
    p.rows = static_cast<uint16_t>(rows);
    p.cells = cells;
    return p;
}

int write_phrase(PatternGrid& grid, int channel, int firstRow, const PhraseStyle& style, std::string_view text) {
    int row = firstRow;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find(' ', at), text.size());
        std::string_view token = text.substr(at, end - at);
        at = end + 1;
        if (token.empty() || token == "|") continue;
        XmCell& cell = grid.at(row++, channel);
        if (token == ".") continue;
        if (token == "~") {
            cell.effect = VIBRATO;
            cell.param = style.vibrato;
        } else if (token == "^") {
            cell.note = XM_KEY_OFF;
        } else if (token == "\\") {
            cell.effect = PORTA_DOWN;
            cell.param = style.fall;
        } else if (token == ">") {
            cell.effect = VOLUME_SLIDE;
            cell.param = style.fade;
        } else if (token.back() == '/') {
            cell.note = note(token.substr(0, token.size() - 1));
            cell.effect = TONE_PORTA;
            cell.param = style.slideSpeed;
        } else {
            const bool vibrato = token.back() == '~';
            cell.note = note(vibrato ? token.substr(0, token.size() - 1) : token);
            cell.instrument = style.instrument;
            cell.volume = style.volume;
            if (vibrato) {
                cell.effect = VIBRATO;
                cell.param = style.vibrato;
            }
        }
    }
    return row - firstRow;
}
