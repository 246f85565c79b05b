# The statistics database over a history of ten 1M-line logs (one per day, the same 500 people
# coming back, as the generator's history makes them), for bench/run (sourced, not run): every
# reading command against `qla analyze` of ONE of the logs, measured round by round so that the
# ratios compare runs of one time; the import, also into PostgreSQL; the site; the database's
# size; and 3,000 two-line logs.

# history_rows RUNS: the rows; needs QLA, LOGGEN, cache, and row/measure from lib-measure.sh.
# QLA_BENCH_HISTORY_LOGS=100 measures the same rows on a history of 100 such logs (5.6 GB of
# logs and about 2.7 GB of database; not for CI).
history_rows() {
    local runs="$1" days=() i db="$cache/history.db" player
    local count="${QLA_BENCH_HISTORY_LOGS:-10}"
    local history="$cache/history-$count"
    if [ ! -f "$history/log$count.log" ]; then
        mkdir -p "$history"
        "$LOGGEN" --persons 500 --logs "$count" --lines 1000000 --seed 5 \
            --output-folder "$history"
    fi
    for ((i = 1; i <= count; i++)); do days+=("$history/$(printf 'log%02d.log' "$i")"); done
    rm -f "$db" "$db-journal"
    measure 1 "$QLA" import "${days[@]}" --db "$db" --quiet
    local import_all="$WALL" import_cpu="$CPU"
    if [ "$STATUS" != 0 ]; then
        row "database of $count 1M-line logs" "failed" "" "" "" "exit status $STATUS"
        return
    fi
    player="$("$QLA" players --db "$db" --log 1 | sed -n 5p)"
    local half
    # The middle date, in date order (the headers themselves sort by weekday).
    half="$("$QLA" logs --db "$db" | awk -F'\t' 'NR > 1 { print $6 }' |
        while read -r day; do date -d "$day" +%F; done | sort | sed -n "$((count / 2 + 1))p")"
    local since
    since="$(date -d "$half" +%F 2>/dev/null || echo 2008-01-01)"
    clear_series
    for ((i = 0; i < runs; i++)); do
        measure_round one "$QLA" analyze "${days[0]}" --recognition full
        measure_round all "$QLA" analyze --db "$db"
        measure_round player "$QLA" player --db "$db" "$player"
        measure_round since "$QLA" analyze --db "$db" --since "$since"
        measure_round three "$QLA" analyze --db "$db" --log 1,5,9
        measure_round merged "$QLA" analyze --db "$db" --merge-players
        measure_round player_merged "$QLA" player --db "$db" "$player" --merge-players
        measure_round since_merged "$QLA" analyze --db "$db" --since "$since" --merge-players
        measure_round three_merged "$QLA" analyze --db "$db" --log 1,5,9 --merge-players
    done
    series one
    local one="$WALL"
    row "qla analyze of ONE 1M-line log (full)" "$(calc "$WALL" %.3f)" "" "" \
        "$(mb $((PEAK_KB * 1024)))" "the measure of the rows below" "$CPU"
    local name title
    for name in all player since three merged player_merged since_merged three_merged; do
        case "$name" in
        all) title="  analyze --db, $count 1M-line logs" ;;
        player) title="  player --db NAME" ;;
        since) title="  analyze --db --since (about half the logs)" ;;
        three) title="  analyze --db --log (three logs)" ;;
        merged) title="  analyze --db --merge-players" ;;
        player_merged) title="  player --db NAME --merge-players" ;;
        since_merged) title="  analyze --db --since --merge-players" ;;
        three_merged) title="  analyze --db --log (three) --merge-players" ;;
        esac
        series "$name"
        row "$title" "$(calc "$WALL" %.3f)" "" "" "$(mb $((PEAK_KB * 1024)))" \
            "$(calc "$WALL / $one") x one log (target <= 0.5), peak target 64 MB" "$CPU"
    done
    row "  import of the ten logs (SQLite)" "$(calc "$import_all" %.3f)" "" "" "" \
        "$(calc "$import_all / ($one * 10)") x analyze of each (target <= 6)" "$import_cpu"
    if [ -n "${PG_DB:-}" ]; then
        MEASURE_BEFORE="'$PG_BIN/dropdb' -h '$PG_FOLDER' -U qla stats; \
            '$PG_BIN/createdb' -h '$PG_FOLDER' -U qla stats" \
            measure 1 "$QLA" import "${days[0]}" --db "$PG_DB" --quiet
        row "  import of one of them into PostgreSQL" "$(calc "$WALL" %.3f)" "" "" "" \
            "$(calc "$WALL / $one") x analyze (target <= 12)" "$CPU"
    fi
    # The skill fit (target: under 1 s) and the awards over the whole history.
    local what target
    for what in "ratings" "awards" "awards --period week"; do
        target=""
        [ "$what" = ratings ] && target=", the fit's target < 1 s"
        # shellcheck disable=SC2086 # the words of $what are the command's arguments
        measure "$runs" "$QLA" $what --db "$db"
        row "  $what --db" "$(calc "$WALL" %.3f)" "" "" "$(mb $((PEAK_KB * 1024)))" \
            "$(calc "$WALL / $one") x one log$target" "$CPU"
    done
    local logs_bytes=0 day
    for day in "${days[@]}"; do logs_bytes=$((logs_bytes + $(stat -c %s "$day"))); done
    row "  database size" "" "" "" "" \
        "$(mb "$(stat -c %s "$db")") MB for $(mb "$logs_bytes") MB of logs: $(calc \
            "$(stat -c %s "$db") / $logs_bytes") x (target <= 0.6)"
    rm -rf "$cache/export-out/site-one" "$cache/export-out/site-history"
    mkdir -p "$cache/export-out"
    MEASURE_BEFORE="rm -rf '$cache/export-out/site-one'" measure 1 "$QLA" export "${days[0]}" \
        --recognition full --view dashboard --format html --output "$cache/export-out/site-one"
    local site_one="$WALL"
    MEASURE_BEFORE="rm -rf '$cache/export-out/site-history'" measure 1 "$QLA" export --db "$db" \
        --view dashboard --format html --output "$cache/export-out/site-history"
    row "  statistics site of the database" "$(calc "$WALL" %.3f)" "" "" \
        "$(mb $((PEAK_KB * 1024)))" \
        "$(calc "$WALL / $site_one") x the site of one log (target <= 4, peak 256 MB)" "$CPU"
    history_site_bytes "$cache/export-out/site-history" "$history" "$count"
    rm -rf "$cache/export-out/site-one" "$cache/export-out/site-history"
    # The chat and junk views stream their rows: memory stays that of the statistics.
    local view
    for view in voice junk; do
        measure 1 "$QLA" export --db "$db" --view "$view" --format text \
            --output "$cache/export-out/history-$view.txt"
        row "  export --db --view $view (text)" "$(calc "$WALL" %.3f)" "" "" \
            "$(mb $((PEAK_KB * 1024)))" \
            "$(mb "$(stat -c %s "$cache/export-out/history-$view.txt")") MB written; rows streamed" \
            "$CPU"
        rm -f "$cache/export-out/history-$view.txt"
    done
    history_watch_site "$runs" "$db"
    rm -f "$db" "$db-journal"

    # Many small logs: each import finds a file's earlier imports through an index.
    local small="$cache/small-logs" many="$cache/many.db"
    if [ ! -d "$small" ]; then
        mkdir -p "$small"
        for i in $(seq 1 3000); do
            printf 'logfile opened on Mon Jan  1 00:00:%02d 2007\nPlayer%d entered the game\n' \
                $((i % 60)) "$i" >"$small/log-$i.log"
        done
    fi
    rm -f "$many" "$many-journal"
    measure 1 "$QLA" import "$small"/*.log --db "$many" --quiet
    row "  import 3,000 two-line logs" "$(calc "$WALL" %.3f)" "" "" "" "target < 10 s" "$CPU"
    measure 1 "$QLA" import "$small"/*.log --db "$many" --quiet
    row "  import them again, unchanged" "$(calc "$WALL" %.3f)" "" "" "" "target < 5 s" "$CPU"
    rm -f "$many" "$many-journal"
}

# history_watch_site RUNS DB: qla watch --site on a copy of the ten-log database, following a new
# log: each 1,000-line burst timed from its write to the batch line that reports the site
# published, with the user and system CPU time watch spent on it (from /proc).
history_watch_site() {
    local runs="$1" db="$cache/watch-history.db" site="$cache/export-out/watch-site" i k seen
    local log="$cache/watch-history.log" err latencies=() users=() systems=() start end
    local hz before after
    hz="$(getconf CLK_TCK)"
    cp "$2" "$db"
    rm -rf "$site" "$site.qla-new"
    err="$(mktemp)"
    head -n 1000 "$EN_1M" >"$log"
    "$QLA" watch "$log" --db "$db" --site "$site" --view dashboard 2>"$err" &
    local pid=$!
    published() { grep -c 'published the site' "$err" 2>/dev/null || true; }
    ticks() { awk '{ print $14, $15 }' "/proc/$pid/stat" 2>/dev/null || echo 0 0; }
    for ((i = 0; i < 1200 && $(published) < 1; i++)); do sleep 0.1; done
    for ((i = 1; i <= runs; i++)); do
        seen=$(published)
        before=$(ticks)
        start=$(date +%s%N)
        sed -n "$((i * 1000 + 1)),$((i * 1000 + 1000))p" "$EN_1M" >>"$log"
        for ((k = 0; k < 6000 && $(published) <= seen; k++)); do sleep 0.01; done
        end=$(date +%s%N)
        after=$(ticks)
        latencies+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", (b - a) / 1e9 }')")
        users+=("$(echo "$before $after" | awk -v hz="$hz" '{ printf "%.2f", ($3 - $1) / hz }')")
        systems+=("$(echo "$before $after" | awk -v hz="$hz" '{ printf "%.2f", ($4 - $2) / hz }')")
        sleep 0.5
    done
    kill -TERM "$pid"
    wait "$pid" || true
    row "  qla watch --site: 1,000-line burst to site" \
        "$(calc "$(median "${latencies[@]}")" %.3f)" "" "" "" \
        "target < 2 s (watch's own CPU per burst in the user and sys columns)" \
        "$(median "${users[@]}")|$(median "${systems[@]}")|"
    rm -rf "$site" "$site.qla-new" "$db" "$db-journal" "$log" "$err"
}

# history_site_bytes SITE HISTORY COUNT: the site's chat archive against the bytes of the chat
# lines it shows (the generator's truth files name each chat line's speaker), the rest of the
# site, the scripts a search loads, and a search of the largest log's chat in Chromium.
history_site_bytes() {
    local site="$1" history="$2" count="$3" i chat_lines=0 archive other scripts total
    for ((i = 1; i <= count; i++)); do
        chat_lines=$((chat_lines + $(LC_ALL=C awk -F'\t' 'NR == FNR { if ($2 == "speaker") s[$1] = 1; next }
            (FNR in s) { b += length($0) + 1 } END { print b + 0 }' \
            "$history/$(printf 'log%02d.truth.tsv' "$i")" "$history/$(printf 'log%02d.log' "$i")")))
    done
    archive=$(find "$site/voice" "$site/text" "$site/voice.html" "$site/text.html" -type f \
        -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    total=$(find "$site" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    other=$((total - archive))
    scripts=$(find "$site" -type f -name '*.js' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    row "  site: chat archive" "" "" "" "" \
        "$(mb "$archive") MB for $(mb "$chat_lines") MB of chat lines: $(calc \
            "$archive / $chat_lines") x (target <= 2)"
    row "  site: pages other than the chat archive" "" "" "" "" \
        "$(mb "$other") MB (target <= 50); scripts and rows files $(mb "$scripts") MB (target <= 2)"
    if command -v node >/dev/null && [ -d "$root/tests/browser/node_modules/puppeteer-core" ]; then
        local seen
        seen="$(cd "$root/tests/browser" && node chat_search_measure.mjs "$site" 2>&1 | tail -n 1)"
        row "  site: chat search in Chromium" "" "" "" "" "$seen (target < 200 ms, heap <= 100 MB)"
    fi
}
