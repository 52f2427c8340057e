// Key input on a POSIX terminal: canonical mode and echo off while keys are
// read, arrow keys decoded from their escape sequences.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>

#include "platform/terminal.h"

namespace platform {

namespace {

termios savedMode;
bool modeChanged = false;
volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) {
    interrupted = 1;
}

// The next byte of standard input within `milliseconds`, or -1.
int readByte(int milliseconds) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (poll(&input, 1, milliseconds) <= 0) return -1;
    unsigned char byte = 0;
    if (read(STDIN_FILENO, &byte, 1) != 1) {
        interrupted = 1;  // end of input
        return -1;
    }
    return byte;
}

}  // namespace

bool beginKeyInput() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &savedMode) != 0) return false;
    termios keys = savedMode;
    keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    keys.c_cc[VMIN] = 1;
    keys.c_cc[VTIME] = 0;
    modeChanged = tcsetattr(STDIN_FILENO, TCSANOW, &keys) == 0;
    return modeChanged;
}

void endKeyInput() {
    if (modeChanged) tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
    modeChanged = false;
}

Key waitForKey(unsigned milliseconds) {
    if (interrupted != 0) return {Key::Interrupt, 0};
    const int first = readByte(static_cast<int>(milliseconds));
    if (interrupted != 0) return {Key::Interrupt, 0};
    if (first < 0) return {Key::None, 0};
    // Arrow keys arrive as ESC [ C / ESC [ D (or ESC O C / D) in one burst.
    if (first == 0x1B) {
        const int second = readByte(20);
        const int third = second == '[' || second == 'O' ? readByte(20) : -1;
        if (third == 'C') return {Key::Right, 0};
        if (third == 'D') return {Key::Left, 0};
        return {Key::None, 0};
    }
    return {Key::Character, static_cast<char>(first)};
}

bool outputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

}  // namespace platform
