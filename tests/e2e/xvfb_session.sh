# Sourced by the desktop scripts: a private X server on a free display, ended with the script.
# Needs: Xvfb, xdotool. Sets DISPLAY; call xvfb_start first, then use the helpers.

xvfb_pid=""
xvfb_stop() {
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=""
    fi
}

# xvfb_start WORKDIR: Xvfb picks a free display itself and reports it on descriptor 3.
# -noreset: by default the server resets when its last client leaves (the AT-SPI launcher's short
# visit, a probe), and a program connecting during that reset is turned away.
xvfb_start() {
    local work=$1 tool
    for tool in Xvfb xdotool; do
        command -v "$tool" >/dev/null || {
            echo "FEHLER: $tool fehlt (tools/deps.sh installiert es)" >&2
            return 1
        }
    done
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local _
    for _ in $(seq 100); do
        [[ -s $work/display ]] && break
        sleep 0.05
    done
    [[ -s $work/display ]] || {
        echo "FEHLER: Xvfb startet nicht" >&2
        cat "$work/xvfb.log" >&2
        return 1
    }
    export DISPLAY=":$(tr -d '\n' <"$work/display")"
}

# wait_for_window PATTERN [TRIES]: prints the id of the first visible window whose name matches.
wait_for_window() {
    local pattern=$1 tries=${2:-100} id _
    for _ in $(seq "$tries"); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n 1)
        if [[ -n $id ]]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# window_count PATTERN: how many visible windows have a matching name.
window_count() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l
}

# press WINDOW KEYS...: gives the window the keyboard focus (there is no window manager) and types.
press() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window"
    xdotool key --clearmodifiers "$@"
}
