# Timing helpers for bench/run (sourced, not run). Wall time comes from the shell's clock in
# nanoseconds; peak memory, user and system time and page faults from GNU time, or from a small
# getrusage wrapper where that is missing and cannot be installed.

# Prints the median of the numbers given as arguments.
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        if (NR % 2) print v[(NR + 1) / 2]; else printf "%.6f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Sets PEAK_TOOL to a command that runs "PEAK_TOOL OUTFILE CMD..." and writes to OUTFILE the
# peak resident set size of CMD in KB, its user and system seconds and its page faults (major
# plus minor), on one line.
setup_peak_tool() {
    local cache="$1"
    if [ ! -x /usr/bin/time ] && [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
        apt-get install -y -qq time >/dev/null 2>&1 ||
            { apt-get update -qq >/dev/null 2>&1 && apt-get install -y -qq time >/dev/null 2>&1; } ||
            true
    fi
    if [ -x /usr/bin/time ]; then
        PEAK_TOOL=peak_with_gnu_time
        return
    fi
    # No GNU time: wait4() reports the child's peak memory just as well.
    cat >"$cache/peak-rss.c" <<'CEOF'
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
int main(int argc, char** argv) {
    if (argc < 3) return 2;
    pid_t pid = fork();
    if (pid == 0) { execvp(argv[2], argv + 2); _exit(127); }
    int status = 0; struct rusage usage;
    if (wait4(pid, &status, 0, &usage) < 0) return 2;
    FILE* out = fopen(argv[1], "w");
    if (out) {
        fprintf(out, "%ld %.3f %.3f %ld\n", usage.ru_maxrss,
                usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6,
                usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6,
                usage.ru_majflt + usage.ru_minflt);
        fclose(out);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
CEOF
    cc -O2 -o "$cache/peak-rss" "$cache/peak-rss.c"
    PEAK_TOOL="$cache/peak-rss"
}

peak_with_gnu_time() {
    local out="$1"
    shift
    local status=0
    /usr/bin/time -f '%M %U %S %F %R' -o "$out" "$@" || status=$?
    # One line: peak KB, user s, system s, faults (major + minor). GNU time puts a note on the
    # first line when the command fails; the figures are on the last.
    tail -n 1 "$out" | awk '{ print $1, $2, $3, $4 + $5 }' >"$out.line" && mv "$out.line" "$out"
    return "$status"
}

# measure RUNS CMD...: runs CMD (output discarded) RUNS times; sets WALL (median seconds),
# PEAK_KB (median peak memory), CPU (median user seconds, system seconds and page faults as
# "U|S|F", the last argument of row) and STATUS (exit status of the last failing run, else 0).
# MEASURE_BEFORE, when set, is a command run untimed before each run (emptying an output folder:
# deleting 40,000 files costs the file system more than writing them and is no part of the item).
measure() {
    local runs="$1"
    shift
    local walls=() peaks=() users=() syss=() faults=() start end peakfile figures peak user sys fault r
    peakfile="$(mktemp)"
    STATUS=0
    for ((r = 0; r < runs; r++)); do
        if [ -n "${MEASURE_BEFORE:-}" ]; then
            bash -c "$MEASURE_BEFORE" >/dev/null 2>&1 || true
            sync # the previous run's dirty pages are not written back during this one
        fi
        start=$(date +%s%N)
        "$PEAK_TOOL" "$peakfile" "$@" >/dev/null 2>&1 || STATUS=$?
        end=$(date +%s%N)
        walls+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", (b - a) / 1e9 }')")
        figures="$(tail -n 1 "$peakfile" 2>/dev/null || true)"
        read -r peak user sys fault <<<"${figures:-0 0 0 0}"
        peaks+=("${peak:-0}") users+=("${user:-0}") syss+=("${sys:-0}") faults+=("${fault:-0}")
    done
    rm -f "$peakfile"
    WALL="$(median "${walls[@]}")"
    PEAK_KB="$(median "${peaks[@]}")"
    CPU="$(calc "$(median "${users[@]}")" %.3f)|$(calc "$(median "${syss[@]}")" %.3f)|$(calc \
        "$(median "${faults[@]}")" %.0f)"
}

# Arithmetic on decimals: calc "EXPR" prints the result with the given format (default %.2f).
calc() {
    awk "BEGIN { v = $1; printf \"${2:-%.2f}\", v }"
}

# Runs taken in turns. A shared machine's load shifts from minute to minute, so commands whose
# times are compared with each other (qla against wc -l and awk) are measured round by round,
# one run of each per round, rather than all runs of one command and then all of the next.
declare -A SERIES_WALL SERIES_PEAK SERIES_USER SERIES_SYS SERIES_FAULTS SERIES_STATUS

# clear_series: forgets every series.
clear_series() {
    SERIES_WALL=() SERIES_PEAK=() SERIES_USER=() SERIES_SYS=() SERIES_FAULTS=() SERIES_STATUS=()
}

# measure_round NAME CMD...: one run of CMD, its figures added to the series NAME.
measure_round() {
    local name="$1" user sys faults
    shift
    measure 1 "$@"
    IFS='|' read -r user sys faults <<<"$CPU"
    SERIES_WALL[$name]+="$WALL " SERIES_PEAK[$name]+="$PEAK_KB "
    SERIES_USER[$name]+="$user " SERIES_SYS[$name]+="$sys " SERIES_FAULTS[$name]+="$faults "
    [ "$STATUS" = 0 ] || SERIES_STATUS[$name]="$STATUS"
}

# series NAME: sets WALL, PEAK_KB, CPU and STATUS from the runs of NAME, as measure does.
series() {
    local name="$1"
    # shellcheck disable=SC2086 # the series are lists of numbers
    WALL="$(median ${SERIES_WALL[$name]})"
    # shellcheck disable=SC2086
    PEAK_KB="$(median ${SERIES_PEAK[$name]})"
    # shellcheck disable=SC2086
    CPU="$(calc "$(median ${SERIES_USER[$name]})" %.3f)|$(calc "$(median ${SERIES_SYS[$name]})" \
        %.3f)|$(calc "$(median ${SERIES_FAULTS[$name]})" %.0f)"
    STATUS="${SERIES_STATUS[$name]:-0}"
}
