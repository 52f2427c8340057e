#!/usr/bin/env bash
# Runs the Windows program (build-windows/bin/whitepine.exe) under Wine on a
# virtual X server and checks what a user would see and hear:
#   - it needs no DLLs beyond the system's;
#   - the window "[Glimmerax] Whitepine Dells" appears;
#   - once the white flash has faded, it shows the scene (neither blank nor white);
#   - Escape ends the program with exit code 0;
#   - the sound it played is, sample for sample, the start of the song as
#     build/bin/xmrender renders resource 100 (leading silence skipped).
# Wine's audio goes to ALSA, which a private .asoundrc points at a raw file.
# Needs the release and windows builds; builds nothing itself. Leaves nothing
# running: the X server, the program and the wine server are ended on exit.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
exe="$root/build-windows/bin/whitepine.exe"
xmrender="$root/build/bin/xmrender"
title="[Glimmerax] Whitepine Dells"

# How long to wait for things that run slowly on a loaded machine (seconds).
WINDOW_WAIT=90
SCENE_WAIT=180
EXIT_WAIT=30
# How much of the sound must match the reference, in bytes (2 seconds).
AUDIO_BYTES=$((48000 * 4 * 2))

fail() {
  echo "windows_smoke: FAILED: $*" >&2
  exit 1
}

for tool in wine wineserver wineboot Xvfb xdotool import identify cmp x86_64-w64-mingw32-objdump; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$exe" ] || fail "$exe is missing (cmake --build --preset windows)"
[ -x "$xmrender" ] || fail "$xmrender is missing (cmake --build --preset release)"

# The program runs on its own: it takes nothing but system DLLs.
for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }'); do
  case "${dll,,}" in
  kernel32.dll | user32.dll | gdi32.dll | opengl32.dll | winmm.dll | msvcrt.dll) ;;
  *) fail "the program needs $dll, which Windows does not have" ;;
  esac
done

work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
cleanup() {
  set +e
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  WINEPREFIX="$work/home/wine" wineserver -k 2>/dev/null
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

export HOME="$work/home" WINEPREFIX="$work/home/wine" WINEDEBUG=-all
# No Mono or Gecko prompts: the program needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
cat >"$HOME/.asoundrc" <<EOF
pcm.!default {
  type file
  slave.pcm "null"
  file "$work/sound.raw"
  format "raw"
}
EOF

# A virtual X server on a display it picks itself.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
  [ -s "$work/display" ] && break
  sleep 0.2
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
echo "windows_smoke: X display $DISPLAY"

echo "windows_smoke: preparing a Wine prefix"
timeout 180 wineboot -i >/dev/null 2>&1 || fail "wineboot did not finish"
timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1 ||
  fail "could not select Wine's ALSA driver"
wineserver -w

# The program finds its pictures (RC\) beside it, in the working folder.
cd "$(dirname "$exe")"
wine "$exe" >/dev/null 2>&1 &
program_pid=$!
started=$SECONDS

window=""
while [ $((SECONDS - started)) -lt $WINDOW_WAIT ]; do
  for id in $(xdotool search --name 'Whitepine Dells' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$title" ] && window=$id
  done
  [ -n "$window" ] && break
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its window appeared"
  sleep 1
done
[ -n "$window" ] || fail "no window titled \"$title\" within $WINDOW_WAIT s"
echo "windows_smoke: window $window after $((SECONDS - started)) s"

# The first frames are white under the flash, which fades by about frame 667;
# frame rates under Wine's software GL vary, so look until the scene shows.
shot="$work/screen.png"
scene=""
while [ $((SECONDS - started)) -lt $SCENE_WAIT ]; do
  sleep 5
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended before showing the scene"
  import -window "$window" "$shot" 2>/dev/null || continue
  # Mean and standard deviation of the pixel values, 0..1 over all channels.
  read -r mean deviation < <(identify -format '%[fx:mean] %[fx:standard_deviation]\n' "$shot")
  echo "windows_smoke: at $((SECONDS - started)) s the picture has mean $mean, deviation $deviation"
  if awk -v m="$mean" -v d="$deviation" 'BEGIN { exit !(m > 0.05 && m < 0.85 && d > 0.08) }'; then
    scene=yes
    break
  fi
done
[ -n "$scene" ] || fail "the window showed no scene within $SCENE_WAIT s (last: mean $mean, deviation $deviation)"

xdotool key --window "$window" Escape 2>/dev/null
code=""
for _ in $(seq $((EXIT_WAIT * 5))); do
  if ! kill -0 "$program_pid" 2>/dev/null; then
    code=0
    wait "$program_pid" || code=$?
    program_pid=""
    break
  fi
  sleep 0.2
done
[ -n "$code" ] || fail "the program did not end within $EXIT_WAIT s of Escape"
[ "$code" -eq 0 ] || fail "the program exited with code $code"
echo "windows_smoke: Escape ended the program with exit code 0"
wineserver -w

# The sound. Wine's ALSA output drains the null device faster than real time,
# so it reads the looping buffer ahead of the play position the program sees
# and, where the player has not yet refilled a block, plays what the block held
# in an earlier loop. So, after skipping the silence before the first sample in
# both: the pre-filled first loop (65536 bytes) must match the reference
# exactly, and every later byte must be the reference's byte at the same place
# in the buffer, in the same loop or an earlier one.
[ -s "$work/sound.raw" ] || fail "no sound was captured"
"$xmrender" --seconds 10 @100 "$work/reference.wav" >/dev/null
LOOP_BYTES=65536
# Offsets (1-based) of the bytes that differ, one a line.
differing_bytes() {
  { LC_ALL=C cmp -l "$@" 2>/dev/null || true; } | awk '{ print $1 }'
}
first_sound() {  # byte offset of the first frame with a nonzero sample
  local byte
  # cmp's report: "A B differ: byte N, line M" (older versions say "char").
  byte=$({ LC_ALL=C cmp "$1" /dev/zero 2>/dev/null || true; } | awk '/differ/ { sub(",", "", $5); print $5 }')
  [ -n "$byte" ] || return 1
  echo $((((byte - 1) / 4) * 4))
}
# The WAV header is itself nonzero: search the data only.
tail -c +45 "$work/reference.wav" >"$work/reference.raw"
ref_start=$(first_sound "$work/reference.raw") || fail "the reference render is silent"
got_start=$(first_sound "$work/sound.raw") || fail "the captured sound is silent"
got_bytes=$(($(stat -c %s "$work/sound.raw") - got_start))
echo "windows_smoke: captured $got_bytes bytes of sound after $got_start bytes of silence"
[ "$got_bytes" -ge "$AUDIO_BYTES" ] || fail "only $got_bytes bytes of sound were captured"

differing_bytes -i "$ref_start:$got_start" -n "$LOOP_BYTES" "$work/reference.raw" "$work/sound.raw" >"$work/first_loop"
first=$(sed -n 1p "$work/first_loop")
[ -z "$first" ] || fail "the first loop of sound differs from the reference at byte $first"
stale=0
for ((loop = 1; loop * LOOP_BYTES < AUDIO_BYTES; loop++)); do
  at=$((loop * LOOP_BYTES))
  count=$((AUDIO_BYTES - at < LOOP_BYTES ? AUDIO_BYTES - at : LOOP_BYTES))
  # Bytes unlike the same loop of the reference, then of each earlier loop.
  differing_bytes -i "$((ref_start + at)):$((got_start + at))" -n "$count" \
    "$work/reference.raw" "$work/sound.raw" | sort >"$work/unexplained"
  stale=$((stale + $(wc -l <"$work/unexplained")))
  for ((earlier = loop - 1; earlier >= 0; earlier--)); do
    [ -s "$work/unexplained" ] || break
    differing_bytes -i "$((ref_start + earlier * LOOP_BYTES)):$((got_start + at))" -n "$count" \
      "$work/reference.raw" "$work/sound.raw" | sort >"$work/unlike"
    comm -12 "$work/unexplained" "$work/unlike" >"$work/still"
    mv "$work/still" "$work/unexplained"
  done
  wrong=$(sort -n "$work/unexplained" | sed -n 1p)
  [ -z "$wrong" ] || fail "the sound differs from the reference at byte $((at + wrong)) of $AUDIO_BYTES"
done
echo "windows_smoke: $AUDIO_BYTES bytes of sound match the reference sample for sample;" \
  "$stale of them were read from the buffer before the player refilled it"
echo "windows_smoke: passed in $SECONDS s"
