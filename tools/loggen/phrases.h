// The game's wording in one log language: obituary forms, notices and the pools of chat
// texts and map locations the generator draws from.
#pragma once

#include <string_view>
#include <vector>

#include "options.h"

namespace loggen {

// One way a kill is written: "<victim>^7 <verb> <killer>^7<possessive><weapon>".
struct KillForm {
    std::string_view verb;
    std::string_view weapon; // empty: the line ends with the killer's name
    unsigned weight;         // relative frequency among kills
    // A weapon the analyzer does not know; it files such a kill under a player named after
    // killer and weapon, so only a few players use one (see LineComposer).
    bool unknownWeapon = false;
};

struct Phrases {
    std::string_view possessive; // between the killer and the weapon words
    std::vector<KillForm> kills;
    std::vector<std::string_view> suicideTails; // written after "<player>^7 "
    std::string_view teamkill;                  // "<victim>^7 <teamkill> <killer>"
    std::string_view renamed;                   // "<old>^7 <renamed> <new>"
    std::string_view entered;                   // "<player>^7 <entered>", no event
    std::string_view fireMission;               // prefix of a fire mission message
    std::string_view complaint;                 // the whole complaint notice
    std::vector<std::string_view> fireMissionTexts;
    std::vector<std::string_view> voiceTexts;
    std::vector<std::string_view> chatTexts;
    std::vector<std::string_view> locations;
    std::vector<std::string_view> lowerServerTexts; // after "server: "
    std::vector<std::string_view> upperServerTexts; // after "Server: "
    std::vector<std::string_view> spamTexts;        // after "^1Spam Protection^7: "
    std::vector<std::string_view> unprefixedLines;  // engine output of the client
};

const Phrases& englishPhrases();
const Phrases& germanPhrases();
const Phrases& phrasesFor(Language language);

} // namespace loggen
