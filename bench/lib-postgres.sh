# A throwaway PostgreSQL server for bench/run, and the qla watch measurements.
# shellcheck shell=bash

# start_postgres FOLDER: initdb and a server on a Unix socket in FOLDER (no TCP), as the user
# nobody when run as root. Sets PG_DB (a --db connection text) or PG_MISSING; stop_postgres ends it.
start_postgres() {
    local folder="$1" bin="" v
    for v in /usr/lib/postgresql/*/bin; do [ -x "$v/initdb" ] && bin="$v"; done
    PG_DB="" PG_MISSING=""
    if [ -z "$bin" ]; then
        PG_MISSING="PostgreSQL is not installed (tools/install-deps)"
        return
    fi
    local as=()
    [ "$(id -u)" = 0 ] && as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    rm -rf "$folder"
    mkdir -p "$folder"
    [ "$(id -u)" = 0 ] && chown nobody:nogroup "$folder"
    PG_CTL=("${as[@]}" "$bin/pg_ctl" -D "$folder/data")
    if ! "${as[@]}" "$bin/initdb" -D "$folder/data" -A trust -U qla -E UTF8 --locale=C \
        >"$folder/initdb.log" 2>&1 ||
        ! "${PG_CTL[@]}" -w -l "$folder/server.log" \
            -o "-k $folder -c listen_addresses=''" start >/dev/null 2>&1; then
        PG_MISSING="PostgreSQL did not start (see $folder)"
        return
    fi
    "$bin/createdb" -h "$folder" -U qla stats
    PG_DB="host=$folder dbname=stats user=qla"
    PG_BIN="$bin" PG_FOLDER="$folder"
}

stop_postgres() {
    [ -n "${PG_DB:-}" ] && "${PG_CTL[@]}" -m fast stop >/dev/null 2>&1 || true
    PG_DB=""
}

# pg_reset: an empty statistics database in the bench server.
pg_reset() {
    "$PG_BIN/dropdb" -h "$PG_FOLDER" -U qla --if-exists stats
    "$PG_BIN/createdb" -h "$PG_FOLDER" -U qla stats
}

# The lines a database holds, from qla logs (cheap, unlike building the store).
lines_in() { "$QLA" logs --db "$1" | awk -F'\t' 'NR > 1 { s += $2 } END { print s + 0 }'; }

# Batches qla watch reported on its standard error so far.
batches_in() { grep -c ': log ' "$1" 2>/dev/null || true; }

# wait_batches FILE N: until FILE shows at least N batch lines (at most 60 s).
wait_batches() {
    local file="$1" want="$2" i
    for ((i = 0; i < 6000; i++)); do
        [ "$(batches_in "$file")" -ge "$want" ] && return 0
        sleep 0.01
    done
    return 1
}

# watch_measure DB LOG: starts qla watch on an empty LOG with the default interval, then
# 1. appends RUNS bursts of 1,000 lines and times each from the write to the batch line that
#    reports it committed: WATCH_LATENCY (median, s);
# 2. appends the 1M-line log in pieces of 100k lines as fast as it can be written and times
#    until watch has imported all of it: WATCH_RATE (lines/s it keeps up with).
watch_measure() {
    local db="$1" log="$2" err start end seen i latencies=()
    err="$(mktemp)"
    : >"$log"
    "$QLA" watch "$log" --db "$db" 2>"$err" &
    local pid=$!
    sleep 1
    head -n 1000 "$EN_1M" >"$cache/burst.log"
    for ((i = 0; i < runs; i++)); do
        seen=$(batches_in "$err")
        start=$(date +%s%N)
        cat "$cache/burst.log" >>"$log"
        wait_batches "$err" $((seen + 1)) || break
        end=$(date +%s%N)
        latencies+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", (b - a) / 1e9 }')")
        sleep 0.5
    done
    WATCH_LATENCY="$(median "${latencies[@]}")"
    # The rate: 1M lines written in ten pieces back to back, until the last line is in.
    split -l 100000 -d "$EN_1M" "$cache/piece-"
    local before
    before=$(lines_in "$db")
    start=$(date +%s%N)
    for piece in "$cache"/piece-*; do cat "$piece" >>"$log"; done
    for ((i = 0; i < 12000; i++)); do
        [ "$(lines_in "$db")" = $((before + 1000000)) ] && break
        sleep 0.05
    done
    end=$(date +%s%N)
    WATCH_RATE=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.0f", 1000000 / ((b - a) / 1e9) }')
    rm -f "$cache"/piece-* "$cache/burst.log"
    kill -TERM "$pid"
    wait "$pid" || true
    rm -f "$err"
}
