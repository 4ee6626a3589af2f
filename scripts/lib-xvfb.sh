# Shared by scripts that show the launcher window on a virtual display of their own.
# Sourced, not run. Defines start_xvfb (sets DISPLAY and XVFB_PID), start_operator (sets
# OPERATOR and OPERATOR_PID), wait_for_window WIDTHxHEIGHT (prints the window's
# "left top") and stop_all.

OPERATOR_ARGS=()

start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    local number
    read -r -t 10 number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$number"
}

# The demo operator server on free loopback ports, stopping by itself after a while; extra
# options in the array OPERATOR_ARGS.
start_operator() {
    local log
    log=$(mktemp)
    "$BUILD/tools/operator-server/operator-server" --port 0 --zone-port-base 0 --quiet \
        --exit-after "${1:-300}" "${OPERATOR_ARGS[@]}" >"$log" 2>&1 &
    OPERATOR_PID=$!
    for _ in $(seq 100); do
        grep -q '^ready$' "$log" && break
        sleep 0.05
    done
    OPERATOR=$(sed -n 's/^http //p' "$log")
    rm -f "$log"
    [ -n "$OPERATOR" ]
}

wait_for_window() {
    local size=$1 line
    for _ in $(seq 200); do
        line=$(xwininfo -root -children 2>/dev/null | grep " ${size}+" | head -n 1 || true)
        if [ -n "$line" ]; then
            # "  0x200002 (has no name): ("FLTK" "FLTK")  801x602+239+211  +239+211"
            sed -E 's/.* [0-9]+x[0-9]+\+([0-9]+)\+([0-9]+) .*/\1 \2/' <<<"$line"
            return 0
        fi
        sleep 0.05
    done
    return 1
}

stop_all() {
    for pid in ${LAUNCHER_PID:-} ${OPERATOR_PID:-} ${XVFB_PID:-}; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
