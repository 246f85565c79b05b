// The full style's line shapes.
#include "full_shapes.h"

#include "scene_lines.h"

namespace loggen {

namespace {

enum class Shape {
    PrivateChat,
    PrivateChatLocated,
    TeamChatNoLocation,
    VoiceColouredName,
    ObituaryChat,
    NewDeath,
    ShelledKill,
    ColonRename,
    GameMessage,
    LongNameChat,
    LongNameObituary,
    Count
};

std::string cutName(const std::string& name) {
    return name.substr(0, kObituaryNameLength);
}

} // namespace

const FullWording& fullWordingFor(Language language) {
    static const FullWording english{
        .deathTails = {"dynamited himself to pieces.", "was crushed.", "was killed.",
                       "was riddled by machinegun fire", "killed herself.",
                       "dove on her own grenade.", "fired-for-effect on himself.",
                       "slit his own throat."},
        .shelledVerb = "was shelled by",
        .shelledWeapon = "artillery support",
        .obituaryChats = {"lol I was killed by a bug", "my whole team died.",
                          "who killed himself. again", "I was blasted by our own arty",
                          "time: 10:30, was stabbed by a ninja"},
        .gameMessages = {"Pilot: ^3Aborting, can't see target.",
                         "WARNING: CG_ReadNextSnapshot: way out of range, 2130 vs 2131",
                         "Pilot: ^3Airstrike inbound!"},
        .colonNames = {"=:DoD:=Bob", "Lt. Dan: the return", "[A:B] Tom"},
        .longNames = {"=HQ= Sergeant Longname the Third", "Very^1Long^7Name of a Clan Member"},
    };
    // The German game's newer wordings are not known, so only the shapes common to both.
    static const FullWording german{
        .deathTails = {"stürzte sich zu Tode.", "tötete sich selbst."},
        .shelledVerb = {},
        .shelledWeapon = {},
        .obituaryChats = {"ich wurde getötet von einem Bug", "mein ganzes Team starb.",
                          "Zeit: 10:30, wurde erstochen von Ninja"},
        .gameMessages = {"Pilot: ^3Ziel nicht sichtbar, Abbruch.",
                         "WARNING: CG_ReadNextSnapshot: way out of range, 2130 vs 2131"},
        .colonNames = {"=:DoD:=Bob", "Lt. Dan: die Rückkehr", "[A:B] Tom"},
        .longNames = {"=HQ= Feldwebel Langname der Dritte", "Sehr^1Langer^7Name eines Clans"},
    };
    return language == Language::German ? german : english;
}

FullShapeComposer::FullShapeComposer(const Phrases& phrases, const FullWording& wording,
                                     NamePool& players, Random& rng)
    : phrases_(phrases), wording_(wording), players_(players), rng_(rng),
      longNameKnown_(wording.longNames.size(), false) {}

const std::string* FullShapeComposer::knownLongName() {
    const std::size_t i = rng_.below(wording_.longNames.size());
    return longNameKnown_[i] ? &wording_.longNames[i] : nullptr;
}

void FullShapeComposer::compose(std::string& line) {
    line.assign(kEventPrefix);
    auto shape = static_cast<Shape>(rng_.below(static_cast<std::uint64_t>(Shape::Count)));
    if (shape == Shape::ShelledKill && wording_.shelledVerb.empty())
        shape = Shape::NewDeath;
    const std::string* known = shape == Shape::LongNameObituary ? knownLongName() : nullptr;
    if (shape == Shape::LongNameObituary && known == nullptr)
        shape = Shape::LongNameChat;
    const auto& location = [&]() -> std::string_view { return rng_.pick(phrases_.locations); };
    switch (shape) {
    case Shape::PrivateChat:
        line.append("[").append(players_.pick(rng_)).append("^7]: ^6");
        line.append(rng_.pick(phrases_.chatTexts));
        break;
    case Shape::PrivateChatLocated:
        line.append("[").append(players_.pick(rng_)).append("^7] (").append(location());
        line.append("): ^6").append(rng_.pick(phrases_.chatTexts));
        break;
    case Shape::TeamChatNoLocation:
        line.append("(").append(players_.pick(rng_)).append("^7): ^5");
        line.append(rng_.pick(phrases_.chatTexts));
        break;
    case Shape::VoiceColouredName:
        line.append(": ").append(players_.pick(rng_)).append(" ^3(").append(location());
        line.append("): ^2").append(rng_.pick(phrases_.voiceTexts));
        break;
    case Shape::ObituaryChat:
        line.append(players_.pick(rng_)).append("^7: ^2");
        line.append(rng_.pick(wording_.obituaryChats));
        break;
    case Shape::NewDeath:
        line.append(players_.pick(rng_)).append("^7 ").append(rng_.pick(wording_.deathTails));
        break;
    case Shape::ShelledKill: {
        const std::string& victim = players_.pick(rng_);
        const std::string* killer = &players_.pick(rng_);
        for (int tries = 0; killer == &victim && tries < 8; ++tries)
            killer = &players_.pick(rng_);
        line.append(victim).append("^7 ").append(wording_.shelledVerb).append(" ");
        line.append(*killer).append("^7").append(phrases_.possessive);
        line.append(wording_.shelledWeapon);
        break;
    }
    case Shape::ColonRename:
        line.append(players_.pick(rng_)).append("^7 ").append(phrases_.renamed).append(" ");
        line.append(rng_.pick(wording_.colonNames));
        break;
    case Shape::GameMessage:
        line.append(rng_.pick(wording_.gameMessages));
        break;
    case Shape::LongNameChat: {
        const std::size_t i = rng_.below(wording_.longNames.size());
        longNameKnown_[i] = true;
        line.append(wording_.longNames[i]).append("^7: ^2").append(rng_.pick(phrases_.chatTexts));
        break;
    }
    case Shape::LongNameObituary:
    case Shape::Count: {
        // The game cuts the long name and writes "^7" after it, as victim or as killer.
        const std::string cut = cutName(*known);
        const KillForm& stab = phrases_.kills.front();
        if (rng_.chance(50)) {
            line.append(cut).append("^7 ").append(rng_.pick(phrases_.suicideTails));
        } else {
            line.append(players_.pick(rng_)).append("^7 ").append(stab.verb).append(" ");
            line.append(cut).append("^7").append(phrases_.possessive).append(stab.weapon);
        }
        break;
    }
    }
}

} // namespace loggen
