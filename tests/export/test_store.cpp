// Builds test stores through the store's own operations: names through FindOrAddPlayer, weapons
// through the weapon table, counters raised by the Record operations.
#include "test_store.h"

#include "core/weapons.h"
#include "support/record_kill.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace qla::test {

namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

void TestStore::Kill(std::string_view killer, std::string_view victim, std::string_view weapon) {
    const PlayerIndex k = Player(killer);
    const PlayerIndex v = Player(victim);
    RecordKillByName(Store, k, v, weapon);
}

void TestStore::Teamkill(std::string_view killer, std::string_view victim) {
    const PlayerIndex k = Player(killer);
    const PlayerIndex v = Player(victim);
    Store.RecordTeamkill(k, v);
}

void TestStore::Suicide(std::string_view player, std::string_view cause) {
    Store.RecordSuicide(Player(player), WeaponIdFromName(cause));
}

void TestStore::Chat(bool voice, std::string_view player, bool team, std::string_view location,
                     std::string_view text) {
    const PlayerIndex p = Player(player);
    if (voice)
        Store.RecordVoiceChat(p, Keep(text), Keep(location), team);
    else
        Store.RecordTextChat(p, Keep(text), Keep(location), team);
}

void TestStore::Other(std::string_view text) {
    Store.RecordUnknownLine(Keep(text));
}

std::string TestStore::Run(std::string_view script) {
    std::istringstream lines{std::string(script)};
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const auto f = SplitTabs(line);
        if (f[0] == "player" && f.size() == 2)
            Player(f[1]);
        else if (f[0] == "kill" && f.size() == 4)
            Kill(f[1], f[2], f[3]);
        else if (f[0] == "teamkill" && f.size() == 3)
            Teamkill(f[1], f[2]);
        else if (f[0] == "suicide" && f.size() == 3)
            Suicide(f[1], f[2]);
        else if ((f[0] == "voice" || f[0] == "say") && f.size() == 5)
            Chat(f[0] == "voice", f[1], f[2] == "team", f[3], f[4]);
        else if (f[0] == "other" && f.size() == 2)
            Other(f[1]);
        else
            return "cannot read script line: " + line;
    }
    return {};
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace qla::test
