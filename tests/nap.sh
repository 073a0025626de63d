# nap SECONDS: waits without starting a process. The bounded waits poll 20
# times a second in every test running side by side, and a "sleep" process
# per poll costs more than the polls. A read with a timeout from a FIFO
# opened at both ends gets no data and no end of file: it only waits.
# NAP_FIFO names the FIFO, made on first use; without one, sleep waits.
nap() {
    if [ -n "${NAP_FIFO:-}" ] && { [ -p "$NAP_FIFO" ] || mkfifo -m 600 "$NAP_FIFO" 2>/dev/null || [ -p "$NAP_FIFO" ]; }; then
        read -r -t "$1" _ <>"$NAP_FIFO" || true
    else
        sleep "$1"
    fi
}
