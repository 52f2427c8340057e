#!/usr/bin/env bash
# The demo, run for a few seconds on SDL's disk audio driver under a virtual
# X server, must write exactly the samples the offline renderer makes of
# resource 100, from the song's first sample on.
# Usage: demo_sound_test.sh WHITEPINE XMRENDER   (run from the project root)
set -euo pipefail
demo=$1
render=$2
command -v xvfb-run >/dev/null || { echo "xvfb-run not installed: skipped"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The demo runs until it is stopped: stop it once it has played 3 seconds
# (its first frame loads every picture first), or after 60 seconds.
# In a session of its own, so that the demo and the X server end with it.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/demo.raw" setsid xvfb-run -a "$demo" >"$work/demo.log" 2>&1 &
running=$!
for ((tenths = 0; tenths < 600; ++tenths)); do
    (($(stat -c %s "$work/demo.raw" 2>/dev/null || echo 0) >= 3 * 192000)) && break
    kill -0 "$running" 2>/dev/null || break
    sleep 0.1
done
kill -- -"$running" 2>/dev/null || true
wait "$running" 2>/dev/null || true
"$render" --seconds 10 @100 "$work/render.wav" >/dev/null

# The device writes silence while it is open but not yet started (the song
# loads in between), and the process is killed in the middle of its last
# writes: compare from the first played block to half a second before the end.
period=4096
written=$(stat -c %s "$work/demo.raw" 2>/dev/null || echo 0)
compared=$((written - 96000))
for ((silent = 0; silent < 32; ++silent)); do
    skip=$((silent * period))
    if ((compared - skip < 192000)); then
        echo "the demo wrote only $written bytes of sound"
        cat "$work/demo.log"
        exit 1
    fi
    # 44 bytes of WAV header precede the samples.
    if cmp --quiet --ignore-initial="$skip:44" --bytes=$((compared - skip)) "$work/demo.raw" "$work/render.wav"; then
        echo "$((compared - skip)) bytes of sound match the render (after $skip bytes of silence)"
        exit 0
    fi
    if ! cmp --quiet --ignore-initial="$skip:0" --bytes=$period "$work/demo.raw" /dev/zero; then
        break
    fi
done
echo "the demo's sound differs from the render:"
cmp --ignore-initial="$skip:44" "$work/demo.raw" "$work/render.wav" || true
exit 1
