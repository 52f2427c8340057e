#!/usr/bin/env bash
# The demo, run for a few seconds on SDL's disk audio driver under a virtual
# X server, must write exactly the samples the offline renderer makes of
# resource 100, from the first sample on.
# Usage: demo_sound_test.sh WHITEPINE XMRENDER   (run from the project root)
set -euo pipefail
demo=$1
render=$2
command -v xvfb-run >/dev/null || { echo "xvfb-run not installed: skipped"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The demo runs until it is stopped; the timeout is its end, not a failure.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/demo.raw" \
    timeout 4 xvfb-run -a "$demo" >"$work/demo.log" 2>&1 || true
"$render" --seconds 10 @100 "$work/render.wav" >/dev/null

played=$(stat -c %s "$work/demo.raw" 2>/dev/null || echo 0)
if (( played < 192000 )); then
    echo "the demo wrote only $played bytes of sound"
    cat "$work/demo.log"
    exit 1
fi
# 44 bytes of WAV header precede the samples.
if ! cmp --ignore-initial=0:44 --bytes="$played" "$work/demo.raw" "$work/render.wav"; then
    echo "the demo's sound differs from the render"
    exit 1
fi
echo "$played bytes of sound match the render"
