// Key-at-a-time input from the terminal, for the interactive tools.
#pragma once

namespace platform {

struct Key {
    enum Kind {
        None,       // nothing was pressed in time
        Character,  // `character` holds it
        Left,       // arrow keys
        Right,
        Interrupt,  // Ctrl-C, or standard input ended
    } kind;
    char character;
};

// Reads standard input key by key without echo until endKeyInput. False when
// standard input is not a terminal (keys then arrive line by line).
bool beginKeyInput();
void endKeyInput();

// Waits up to `milliseconds` for a key.
Key waitForKey(unsigned milliseconds);

// True when standard output is a terminal.
bool outputIsTerminal();

}  // namespace platform
