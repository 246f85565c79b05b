# The rating check held to the truth of generated histories, for bench/run (sourced, not run).
# Needs QLA, LOGGEN, bench, cache and row.

# rating_check_rows: bench/rating-check-truth on three histories of 10 logs x 100,000 lines with
# 200 persons (seeds 1-3), read by name and with persons merged; one row per seed and reading:
# our log loss against the best baseline's, Spearman with the true skill, calibration bins off
# beside those of the skills a training could know at best.
rating_check_rows() {
    local merge label out seed loss best spearman off known
    for merge in "" --merge-players; do
        label="by name"
        [ -n "$merge" ] && label="persons merged"
        # shellcheck disable=SC2086 # $merge is one option or none
        if ! out=$(python3 "$bench/rating-check-truth" "$QLA" "$LOGGEN" "$cache/rating-check" \
            --seeds 1,2,3 $merge 2>&1); then
            row "rating check ($label)" "failed" "" "" "" "$(tail -n 1 <<<"$out")"
            continue
        fi
        while read -r seed loss best spearman off known; do
            row "rating check, seed $seed ($label)" "" "" "" "" \
                "log loss $loss, best baseline ${best//_/ } (target: lower); Spearman $spearman (target >= 0.95); $off calibration bins of 500+ off by > 0.05 (target 0; the known skills: $known)"
        done < <(awk '
            /^seed / { seed = $2; sub(":", "", seed) }
            /^  log loss: / {
                line = $0; sub("^  log loss: ", "", line); n = split(line, parts, ", ")
                best = ""; bestValue = 9
                for (i = 1; i <= n; i++) {
                    split(parts[i], mv, " ")
                    if (mv[1] == "rating") ours = mv[2]
                    else if (mv[1] != "true" && mv[2] + 0 < bestValue) { bestValue = mv[2] + 0; best = mv[2] " " mv[1] }
                }
            }
            /^  Spearman with the true skill: / { spearman = $6 }
            /^  calibration rating / { off = $0; sub(".*\\), ", "", off); sub(" of the.*", "", off) }
            /^  calibration of the known skills / { known = $0; sub(".*\\), ", "", known)
                sub(" of the.*", "", known); gsub(" ", "_", best); print seed, ours, best, spearman, off, known }
        ' <<<"$out")
    done
}
