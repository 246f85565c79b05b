# What a user would do instead of the analyzer: one awk pass that only counts the seven
# totals of an English log by its line kinds, with the same tests in the same order.
# Run as: LC_ALL=C awk -f bench/baseline.awk LOG
BEGIN { RS = "\r\n|\r|\n" }

function other() { unknown++ }

{
    total++
    line = $0
    if (substr(line, 1, 12) != "[skipnotify]") { other(); next }
    if (substr(line, 1, 19) == "[skipnotify]server:") { other(); next }
    if (substr(line, 1, 13) == "[skipnotify]:") { voice++; next }
    if (index(line, "was killed by") || index(line, "was stabbed by") ||
        index(line, "was blasted by")) { kills++; deaths++; next }
    if (index(line, "WAS KILLED BY TEAMMATE")) { teamkills++; deaths++; next }
    if (index(line, "was exploded by") || index(line, "was cooked by") ||
        index(line, "was perforated by") || index(line, "was ventilated by")) {
        kills++; deaths++; next
    }
    if (index(line, "died.") || index(line, "drowned.") || index(line, "fell to his death.") ||
        index(line, "killed himself.") || index(line, "dove on his own grenade.") ||
        index(line, "obliterated himself.") || index(line, "vaporized himself.")) {
        deaths++; next
    }
    if (index(line, ":")) {
        if (substr(line, 1, 25) == "[skipnotify]Fire Mission:" ||
            substr(line, 1, 19) == "[skipnotify]Server:" ||
            substr(line, 1, 53) == "[skipnotify]^1Warning^7: Complaint filed against you." ||
            substr(line, 1, 32) == "[skipnotify]^1Spam Protection^7:" ||
            index(line, "timed out")) { other(); next }
        text++; next
    }
    if (length(line) >= 12 && substr(line, length(line) - 11) == "disconnected") { other(); next }
    if (index(line, "timed out")) { other(); next }
    if (index(line, "renamed to")) next
    other()
}

END {
    printf "Kills: %d\nDeaths: %d\nTeamkills: %d\nVoicechats: %d\n", kills, deaths, teamkills, voice
    printf "Textchats: %d\nUnknown: %d\nTotal: %d\n", text, unknown, total
}
