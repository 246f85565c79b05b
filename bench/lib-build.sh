# Build and log-generation steps of bench/run (sourced, not run).

# build_programs ROOT BUILD: configures a Release build and builds the generator, qla and the
# window harness where their targets exist. Sets LOGGEN, QLA, WINDOW_BENCH and IDENTITY_TRUTH
# (the scorer of merging against a history's truth) (empty when a
# program is not there yet; QLA_MISSING and WINDOW_MISSING then say why).
build_programs() {
    local root="$1" build="$2" buildlog="$cache/build.log"
    : >"$buildlog"
    log "configuring a Release build in $build (log: $buildlog)"
    # The window and qla need Qt; without it the generator and awk rows still run.
    if ! cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQLA_BUILD_GUI=ON \
        >>"$buildlog" 2>&1; then
        log "configure with Qt failed; building without the Qt programs"
        cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQLA_BUILD_GUI=OFF \
            >>"$buildlog" 2>&1
    fi
    local targets
    targets="$(cmake --build "$build" --target help 2>/dev/null)"
    LOGGEN="" QLA="" WINDOW_BENCH="" IDENTITY_TRUTH="" DATABASE_WINDOW_BENCH=""
    QLA_MISSING="qla not in the build yet"
    WINDOW_MISSING="qla_window_bench not in the build"
    for target in qla-loggen qla qla_window_bench qla-identity-truth qla_database_window_bench; do
        # "... NAME" in a Makefile tree, "NAME: phony" in a Ninja one.
        if ! grep -qE "^(\.\.\. $target|$target: phony)\$" <<<"$targets"; then
            continue
        fi
        log "building $target"
        if ! cmake --build "$build" --target "$target" -j2 >>"$buildlog" 2>&1; then
            log "building $target failed (see $buildlog)"
            [ "$target" = qla ] && QLA_MISSING="qla failed to build (bench/cache/build.log)"
            [ "$target" = qla_window_bench ] &&
                WINDOW_MISSING="qla_window_bench failed to build (bench/cache/build.log)"
            continue
        fi
        local path
        path="$(find "$build" -type f -name "$target" -perm -u+x | head -n 1)"
        [ -n "$path" ] || continue
        case "$target" in
        qla-loggen) LOGGEN="$path" ;;
        qla) QLA="$path" ;;
        qla_window_bench) WINDOW_BENCH="$path" ;;
        qla-identity-truth) IDENTITY_TRUTH="$path" ;;
        qla_database_window_bench) DATABASE_WINDOW_BENCH="$path" ;;
        esac
    done
    # A given qla (an older build, say) is measured instead of the one just built.
    if [ -n "${QLA_BENCH_QLA:-}" ]; then
        QLA="$QLA_BENCH_QLA"
    fi
    if [ -z "$LOGGEN" ]; then
        log "bench/run: qla-loggen could not be built; see $buildlog"
        exit 1
    fi
}

# generate_logs CACHE: writes the benchmark logs once. A stamp of the generator's sources and
# options makes a changed generator regenerate them.
generate_logs() {
    local cache="$1"
    EN_1M="$cache/english-1m.log"
    DE_1M="$cache/german-1m.log"
    EN_10M="$cache/english-10m.log"
    EN_200K="$cache/english-200k-20000-players.log"
    # Hostile logs for the statistics site: 500,000 names seen in a line or two (30 MB), and
    # three names behind a million colour codes each among 260,000 lines (20 MB).
    EN_NAMES="$cache/english-500k-names.log"
    EN_CODES="$cache/english-code-runs.log"
    local entries=(
        "$EN_1M --lines 1000000 --players 500 --seed 101 --language english"
        "$DE_1M --lines 1000000 --players 500 --seed 102 --language german --encoding windows-1252"
        "$EN_10M --lines 10000000 --players 5000 --seed 103 --language english"
        "$EN_200K --lines 200000 --players 20000 --seed 104 --language english"
        "$EN_NAMES --lines 500000 --players 550000 --seed 105 --language english"
        "$EN_CODES --lines 260000 --players 32 --seed 106 --language english --code-run 1000000"
    )
    local source_hash
    source_hash="$(cat "$root"/tools/loggen/*.cpp "$root"/tools/loggen/*.h | sha1sum | cut -c1-16)"
    for entry in "${entries[@]}"; do
        read -r file args <<<"$entry"
        local stamp="$file.stamp" want="$source_hash $args"
        if [ -f "$file" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
            continue
        fi
        log "generating ${file#"$cache"/} ($args)"
        # shellcheck disable=SC2086 # the options are meant to split
        "$LOGGEN" $args --line-ends crlf --output "$file"
        echo "$want" >"$stamp"
    done
    AWK_NAME="$(basename "$(readlink -f "$(command -v awk)")")"
}
