// Builds the player name pool.
#include "name_pool.h"

#include <string_view>
#include <unordered_set>

namespace loggen {

namespace {

constexpr std::string_view kBases[] = {
    "Fred",     "Big Al",   "Swashy",  "Jürgen",    "Zoë",        "Åsa",    "François", "Øyvind",
    "José",     "Sgt Rock", "Mad Dog", "Ghost",     "Viper",      "Ränger", "Kaiser",   "Lt. Dan",
    "Hammer",   "Nightowl", "Señor",   "Björn",     "Schütze",    "Ace",    "Blitz",    "Rookie",
    "Doc",      "Möwe",     "Falke",   "Tank",      "Sniper Joe", "Kid",    "Müller",   "Crow",
    "Lucky",    "Shadow",   "Iceman",  "Grüner",    "Smitty",     "Dutch",  "Ørjan",    "Mateus",
    "Kowalski", "Ñandú",    "Bones",   "Red Baron", "Sparky",     "Tex",    "Whisky",   "Zulu",
    "Hübner",   "Pixel",    "Nomad",   "Spectre",   "Colonel",    "Fuchs",  "Weiß",     "Yankee",
};

// Letters outside Windows-1252, only for UTF-8 logs.
constexpr std::string_view kWideBases[] = {"Łukasz", "Дима", "小龙", "Ğökhan", "Σπύρος"};

constexpr std::string_view kTags[] = {"[QV]", "=XR=", "|ROT|", "-=K9=-", "{TKS}", "~NF~", "*WW*"};

// Colour codes in the forms players type them: digits, letters of either case, symbols.
constexpr std::string_view kColours[] = {"^1", "^2", "^3", "^4", "^5", "^6", "^0",
                                         "^b", "^N", "^*", "^.", "^q", "^D", "^#"};

} // namespace

std::string visibleText(const std::string& name) {
    std::string plain;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '^' && i + 1 < name.size())
            ++i;
        else
            plain += name[i];
    }
    return plain;
}

NamePool::NamePool(std::uint64_t count, bool latin1Only, Random& rng) {
    names_.reserve(count);
    std::unordered_set<std::string> seen; // visible texts, so no two players look alike
    while (names_.size() < count) {
        std::string name;
        if (rng.chance(50))
            name += rng.pick(kColours);
        if (rng.chance(30)) {
            name += rng.pick(kTags);
            if (rng.chance(60))
                name += rng.pick(kColours);
        }
        if (!latin1Only && rng.chance(8))
            name += rng.pick(kWideBases);
        else
            name += rng.pick(kBases);
        // Numbers keep the pool growing once the combinations run out.
        if (seen.count(visibleText(name)) != 0)
            name += std::to_string(rng.below(count * 10 + 100));
        if (seen.insert(visibleText(name)).second)
            names_.push_back(std::move(name));
    }
}

const std::string& NamePool::pick(Random& rng) {
    if (picks_ < names_.size())
        return names_[picks_++];
    return names_[rng.below(names_.size())];
}

const std::vector<std::string>& hostileNames() {
    using namespace std::string_literals;
    static const std::vector<std::string> names = {
        "Stand by Me",
        "was",
        "Iwas here",
        "Graf von Zahl",
        "wurde",
        "Ich wurde Erster",
        "Time: 12:00",
        "(Sniper)",
        "Smiley :)",
        "Trail^",
        "Caret^^",
        "<script>alert('x')</script>",
        "Tom & Jerry",
        "&lt;b&gt;",
        "\"Quoted\"",
        "O'Brien",
        "Al's",
        "x - y",
        "]]><!--",
        "WAS KILLED BY TEAMMATE^7",
        "STARB DURCH TEAMKAMERAD^7",
        "): ^2",
        "^7) (",
        "^7: ^2",
        "died.",
        "renamed to",
        "disconnected",
        "Tab\there",
        "",
        "   ",
        "^7",
        "^1^2^3",
        std::string(300, 'W'),
        "^1" + std::string(298, 'x'),
        [] {
            std::string s;
            for (int i = 0; i < 300; ++i)
                s += "ö";
            return s;
        }(),
        "Nul\0Byte"s,
        "Ctrl\x01\x02\x1b[31m\x7f",
        "Bad\xff\xfeUTF8",
        "Half\xc3",
        "Over\xc0\xafLong",
        "Surr\xed\xa0\x80gate",
    };
    return names;
}

} // namespace loggen
