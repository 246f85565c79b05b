// Small analysis stores for the export tests, built from a tab-separated script without the
// parsers: every line is one event, filed through the store's Record operations.
#pragma once

#include "core/store.h"

#include <deque>
#include <string>
#include <string_view>

namespace qla::test {

// The store and the texts its chat entries and other lines point into.
struct TestStore {
    AnalysisStore Store;
    std::deque<std::string> Texts;

    // player NAME | kill KILLER VICTIM WEAPON | teamkill KILLER VICTIM | suicide PLAYER CAUSE |
    // voice/say PLAYER team|global LOCATION TEXT | other TEXT; fields separated by tabs.
    // Returns an error text for a line it does not understand, empty otherwise.
    std::string Run(std::string_view script);

    PlayerIndex Player(std::string_view name) { return Store.FindOrAddPlayer(name); }
    void Kill(std::string_view killer, std::string_view victim, std::string_view weapon);
    void Teamkill(std::string_view killer, std::string_view victim);
    void Suicide(std::string_view player, std::string_view cause);
    void Chat(bool voice, std::string_view player, bool team, std::string_view location,
              std::string_view text);
    void Other(std::string_view text);

  private:
    std::string_view Keep(std::string_view text) { return Texts.emplace_back(text); }
};

std::string ReadFile(const std::string& path);

} // namespace qla::test
