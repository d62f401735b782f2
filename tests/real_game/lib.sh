# Sourced by the tests of the real game under Xvfb; $probe is the x11-probe.
#   start_xvfb WIDTHxHEIGHT     a virtual screen on a free display; exits 77 (skipped) without one
#   start_game DIR ARGS...      the game started in DIR (any folder: it finds its data itself), in the
#                               background: $game_pid, $game_log
#   game_window                 the game's window's id (false when there is none)
#   wait_for_window             until the game's window is there (false when it never comes)
#   wait_for_exit SECONDS       until the game ends: $game_status (false when it does not)
#   stop_game                   the game ended, whatever it is doing
#   wait_for_event REGEX [N] [SECONDS]
#                               until the game's event log (KUZARI_EVENT_LOG) has N lines
#                               matching REGEX (default 1, within 60 s); false when the game
#                               ends first or the time runs out
#   event_count REGEX           how many lines of the game's event log match
#   wait_for_frames N           until N more pictures have been presented
#   levels RAW, until_heard RAW REGEX  what a disk audio file holds, tenth by tenth

start_xvfb() {
  local n
  display=""
  for n in $(seq 80 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # -noreset: the server would otherwise start afresh as each game leaves,
    # and take the windows of a game that had just connected with it.
    Xvfb ":$n" -screen 0 "$1x24" -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
      display=":$n"
      break
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  done
  if [ -z "$display" ]; then
    echo "SKIP: no X server could be started"
    exit 77
  fi
  scratch=$(mktemp -d)
  # The game keeps the player's records there after a round: never the real one's.
  export XDG_STATE_HOME="$scratch/state"
  trap 'stop_game; kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
  export DISPLAY=$display
}

games_started=0
start_game() {
  local dir=$1
  shift
  game_log="$scratch/game.log"
  games_started=$((games_started + 1))
  game_events="$scratch/events-$games_started"
  : >"$game_events"
  (cd "$dir" && KUZARI_EVENT_LOG=$game_events exec "$@") >"$game_log" 2>&1 &
  game_pid=$!
}

event_count() { grep -cE "$1" "$game_events" 2>/dev/null; }

# Generous: a sanitizer build on a machine whose cores are both taken is slow.
wait_for_event() {
  local regex=$1 count=${2:-1} tenths=$((${3:-60} * 10))
  while [ "$(event_count "$regex")" -lt "$count" ]; do
    [ -n "${game_pid:-}" ] && kill -0 "$game_pid" 2>/dev/null || return 1
    tenths=$((tenths - 1))
    [ $tenths -gt 0 ] || return 1
    sleep 0.1
  done
}

# wait_for_output REGEX [SECONDS]: until the game's output has a line matching REGEX.
wait_for_output() {
  local tenths=$((${2:-60} * 10))
  until grep -qE -- "$1" "$game_log" 2>/dev/null; do
    tenths=$((tenths - 1))
    [ $tenths -gt 0 ] || return 1
    sleep 0.1
  done
}

# levels RAW: a letter a tenth of a second of 44.1 kHz 16-bit stereo: "-" silent, "x" sounding.
levels() {
  od -An -v -td2 -w4 "$1" | awk '
    { a = $1 < 0 ? -$1 : $1; b = $2 < 0 ? -$2 : $2; if (a > peak) peak = a; if (b > peak) peak = b }
    NR % 4410 == 0 { printf "%s", (peak > 0 ? "x" : "-"); peak = 0 }
    END { print "" }'
}

# until_heard RAW REGEX: until the levels of the sound written so far match, 60 s at most.
until_heard() {
  local tenths=600
  until [[ $(levels "$1") =~ $2 ]]; do
    tenths=$((tenths - 1))
    [ $tenths -gt 0 ] || return 1
    sleep 0.1
  done
}

wait_for_frames() { wait_for_event '^shown ' $(($(event_count '^shown ') + $1)); }

# xdotool stops at the first window that goes while it looks; the probe does not.
game_window() { "$probe" find Kuzari; }

wait_for_window() {
  local waited=0
  # A sanitizer build's first start on a busy machine can take many seconds.
  until game_window >/dev/null 2>&1; do
    kill -0 "$game_pid" 2>/dev/null || return 1
    sleep 0.1
    waited=$((waited + 1))
    if [ $waited -ge 600 ]; then
      # Where it is stuck, when a debugger is at hand.
      command -v gdb >/dev/null && gdb -p "$game_pid" -batch -ex "thread apply all bt" 2>/dev/null | grep '^#' | head -n 30
      return 1
    fi
  done
  return 0
}

wait_for_exit() {
  local tenths=$(($1 * 10))
  for _ in $(seq "$tenths"); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && return 1
  wait "$game_pid"
  game_status=$?
  game_pid=""
  return 0
}

# Asked to quit first, as a player's desktop would; killed if that does not do.
stop_game() {
  [ -n "${game_pid:-}" ] || return 0
  kill -TERM "$game_pid" 2>/dev/null
  if ! wait_for_exit 5; then
    kill -9 "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
  fi
  game_pid=""
  # Its window gone too, so that the next game's is the one found.
  for _ in $(seq 50); do
    game_window >/dev/null 2>&1 || break
    sleep 0.1
  done
}

failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}
