// Lines of events drawn at random, with names drawn from the pool (the layouts are in
// scene_lines.h). The order of the draws is part of what a seed gives.
#include "line_composer.h"

#include <algorithm>

#include "hostile_lines.h"
#include "scene_lines.h"

namespace loggen {

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
    appendKillLine(phrases_, *form, victim, *killer, line);
}

void LineComposer::appendVoice(std::string& line, bool team) {
    const std::string& speaker = player();
    const std::string_view location = rng_.pick(phrases_.locations);
    const std::string_view text = rng_.pick(phrases_.voiceTexts);
    appendVoiceLine(team, speaker, location, text, voiceExtraChar_, line);
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
    line.append(kEventPrefix);
    switch (event) {
    case Event::Kill:
        appendKill(line);
        break;
    case Event::Suicide: {
        const std::string& victim = player();
        appendSuicideLine(victim, rng_.pick(phrases_.suicideTails), line);
        break;
    }
    case Event::Teamkill: {
        const std::string& victim = player();
        appendTeamkillLine(phrases_, victim, player(), line);
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
    case Event::PlainChat: {
        const std::string& speaker = player();
        appendPlainChatLine(speaker, rng_.pick(phrases_.chatTexts), line);
        break;
    }
    case Event::Rename: {
        const std::string& from = player();
        appendRenameLine(phrases_, from, player(), line);
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
        appendDisconnectedLine(player(), line);
        break;
    case Event::Entered:
        appendEnteredLine(phrases_, player(), line);
        break;
    default:
        break;
    }
}

} // namespace loggen
