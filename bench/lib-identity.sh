# Merging players held to the truth of generated histories, and what merging costs, for
# bench/run (sourced, not run). Needs QLA, LOGGEN, IDENTITY_TRUTH, cache and row/measure.

# identity_rows RUNS: precision and recall of --merge-players and --merge-players=names on three
# histories of 10 logs x 50,000 lines with 200 persons (seeds 1-3); then merging against the
# unmerged run, from one log and from a database of those ten logs (target: at most 1.10 x).
identity_rows() {
    local runs="$1" seed history line rule precision recall players mixed
    if [ -z "${IDENTITY_TRUTH:-}" ]; then
        na_row "identity against the truth (qla-identity-truth not built)"
        return
    fi
    for seed in 1 2 3; do
        history="$cache/identity-$seed"
        if [ ! -f "$history/log10.log" ]; then
            mkdir -p "$history"
            "$LOGGEN" --persons 200 --logs 10 --lines 50000 --seed "$seed" \
                --output-folder "$history"
        fi
        while IFS=$'\t' read -r rule precision recall players mixed _; do
            [ "$rule" = rule ] && continue
            [ "$rule" = renames-ever ] && continue
            row "identity, seed $seed: $rule" "" "" "" "" \
                "precision $precision, recall $recall (targets 0.99 / 0.95); $mixed of $players merged players hold two persons (target <= 0.5 %)"
        done < <("$IDENTITY_TRUTH" "$history")
    done
    history="$cache/identity-1"
    local whole="$cache/identity-1-whole.log" db="$cache/identity-1.db"
    cat "$history"/log*.log >"$whole"
    rm -f "$db" "$db-journal"
    "$QLA" import "$history"/log*.log --db "$db" --quiet
    clear_series
    for ((i = 0; i < runs; i++)); do
        measure_round log_plain "$QLA" analyze "$whole"
        measure_round log_merged "$QLA" analyze "$whole" --merge-players
        measure_round db_plain "$QLA" analyze --db "$db"
        measure_round db_merged "$QLA" analyze --db "$db" --merge-players
    done
    series log_plain
    local log_plain="$WALL"
    series log_merged
    row "  analyze --merge-players, 10 x 50,000 lines as one log" "$(calc "$WALL" %.3f)" "" "" \
        "$(mb $((PEAK_KB * 1024)))" "$(calc "$WALL / $log_plain") x unmerged (target <= 1.10)" "$CPU"
    series db_plain
    local db_plain="$WALL"
    series db_merged
    row "  analyze --db --merge-players, the same ten logs" "$(calc "$WALL" %.3f)" "" "" \
        "$(mb $((PEAK_KB * 1024)))" "$(calc "$WALL / $db_plain") x unmerged (target <= 1.10)" "$CPU"
}
