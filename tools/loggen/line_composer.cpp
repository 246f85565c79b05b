// Line layouts of the game's console log. Names are followed by "^7" (the game resets the
// colour after every name), and the analyzer's fixed cuts rely on exactly these layouts.
#include "line_composer.h"

#include <algorithm>

#include "hostile_lines.h"

namespace loggen {

namespace {

constexpr std::string_view kPrefix = "[skipnotify]";

} // namespace

LineComposer::LineComposer(const Phrases& phrases, NamePool& players, Random& rng, bool hostile)
    : phrases_(phrases), players_(players), rng_(rng), hostile_(hostile) {
    for (const KillForm& form : phrases_.kills)
        killWeightTotal_ += form.weight;
}

const std::string& LineComposer::player() {
    if (hostile_ && rng_.chance(20))
        return rng_.pick(hostileNames());
    return players_.pick(rng_);
}

void LineComposer::appendKill(std::string& line) {
    unsigned roll = static_cast<unsigned>(rng_.below(killWeightTotal_));
    const KillForm* form = &phrases_.kills.front();
    for (const KillForm& candidate : phrases_.kills) {
        form = &candidate;
        if (roll < candidate.weight)
            break;
        roll -= candidate.weight;
    }
    const std::string& victim = player();
    // Only a few regulars carry an odd weapon, which keeps the analyzer's player count near
    // the pool size however long the log is.
    const std::string* killer =
        form->unknownWeapon ? &players_[rng_.below(std::min<std::size_t>(3, players_.size()))]
                            : &player();
    // A kill by oneself is not how the game reports a suicide; redraw (bounded, as a pool of
    // one player has nobody else).
    for (int tries = 0; killer == &victim && tries < 8; ++tries)
        killer = &player();
    line.append(victim).append("^7 ").append(form->verb).append(" ").append(*killer).append("^7");
    if (!form->weapon.empty())
        line.append(phrases_.possessive).append(form->weapon);
}

// "[skipnotify]: <name>^7 (<loc>): ^2<text> " for all players; team messages wrap the name
// in parentheses and use another colour. The game ends a voice line with one extra character.
void LineComposer::appendVoice(std::string& line, bool team) {
    line.append(": ");
    if (team)
        line.append("(").append(player()).append("^7)(");
    else
        line.append(player()).append("^7 (");
    line.append(rng_.pick(phrases_.locations)).append(team ? "): ^5" : "): ^2");
    line.append(rng_.pick(phrases_.voiceTexts));
    if (voiceExtraChar_)
        line.append(" ");
}

void LineComposer::appendLocatedChat(std::string& line, bool blank) {
    line.append("(").append(player()).append("^7) (").append(rng_.pick(phrases_.locations));
    line.append(blank ? "): ^5" : "):^5").append(rng_.pick(phrases_.chatTexts));
}

void LineComposer::compose(Event event, std::string& line) {
    line.clear();
    switch (event) {
    case Event::Unprefixed:
        line.append(rng_.pick(phrases_.unprefixedLines));
        return;
    case Event::EmptyLine:
        return;
    case Event::EchoedObituary:
        appendKill(line);
        return;
    case Event::Hostile:
        composeHostileLine(rng_, phrases_, line);
        return;
    default:
        break;
    }
    line.append(kPrefix);
    switch (event) {
    case Event::Kill:
        appendKill(line);
        break;
    case Event::Suicide:
        line.append(player()).append("^7 ").append(rng_.pick(phrases_.suicideTails));
        break;
    case Event::Teamkill: {
        const std::string& victim = player();
        line.append(victim).append("^7 ").append(phrases_.teamkill).append(" ").append(player());
        break;
    }
    case Event::GlobalVoice:
    case Event::TeamVoice:
        appendVoice(line, event == Event::TeamVoice);
        break;
    case Event::LocatedChat:
    case Event::LocatedChatNoBlank:
        appendLocatedChat(line, event == Event::LocatedChat);
        break;
    case Event::PlainChat:
        line.append(player()).append("^7: ^2").append(rng_.pick(phrases_.chatTexts));
        break;
    case Event::Rename: {
        const std::string& from = player();
        line.append(from).append("^7 ").append(phrases_.renamed).append(" ").append(player());
        break;
    }
    case Event::FireMission:
        line.append(phrases_.fireMission).append(rng_.pick(phrases_.fireMissionTexts));
        break;
    case Event::LowerServer:
        line.append("server: ").append(rng_.pick(phrases_.lowerServerTexts));
        break;
    case Event::UpperServer:
        line.append("Server: ").append(rng_.pick(phrases_.upperServerTexts));
        break;
    case Event::Complaint:
        line.append(phrases_.complaint);
        break;
    case Event::Spam:
        line.append("^1Spam Protection^7: ").append(rng_.pick(phrases_.spamTexts));
        break;
    case Event::TimedOut:
        line.append(player()).append("^7 timed out");
        break;
    case Event::TimedOutNotice:
        line.append(player()).append("^7: connection timed out");
        break;
    case Event::Disconnected:
        line.append(player()).append("^7 disconnected");
        break;
    case Event::Entered:
        line.append(player()).append("^7 ").append(phrases_.entered);
        break;
    default:
        break;
    }
}

} // namespace loggen
