// The persons' evenings, line by line.
#include "history.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "line_sink.h"
#include "name_pool.h"
#include "phrases.h"
#include "random.h"
#include "scene_lines.h"

namespace loggen {

namespace {

constexpr std::string_view kFunNames[] = {"Rambo", "n00b", "Killer", "Terminator", "xXx", "Hero"};
constexpr std::string_view kClanTags[] = {"[QV]", "=XR=", "|ROT|", "{TKS}", "~NF~", "*WW*"};
constexpr std::string_view kColours[] = {"^1", "^2", "^4", "^5", "^6"};

double Uniform(Random& rng) {
    return static_cast<double>(rng.next() >> 11) * (1.0 / 9007199254740992.0);
}

// A standard normal number (Box-Muller), from two draws of the seed's stream.
double Normal(Random& rng) {
    const double u = std::max(Uniform(rng), 1e-300);
    const double v = Uniform(rng);
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
}

double NormalCdf(double x) {
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

struct Person {
    std::string base;           // the main name without a clan tag
    int tagFrom = -1;           // the clan tag worn up to switchLog (-1: none)
    int tagTo = -1;             // the one worn from switchLog on
    std::size_t switchLog = 0;  // 0: never switches
    std::size_t firstLog = 0;   // a newcomer before it
    double activity = 1;        // how often the person plays
    std::vector<double> skills; // per log

    std::string NameIn(std::size_t log) const {
        const int tag = switchLog != 0 && log >= switchLog ? tagTo : tagFrom;
        return (tag < 0 ? std::string() : std::string(kClanTags[tag])) + base;
    }
};

// What a player's name is known by: its visible characters, ASCII letters in lower case.
std::string LookAlikeKey(const std::string& name) {
    std::string key = visibleText(name);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

// A clan tag put before a pool name can make it look like another person's name: the pool may
// hold "{TKS}^0Grüner" when the person named "Grüner" joins {TKS}. Two such persons could only be
// told apart by the truth file, so whoever would wear a look-alike goes without a tag. No draw
// of the seed's stream is spent, so histories without such a pair stay as they were.
void KeepNamesApart(std::vector<Person>& persons) {
    for (bool changed = true; changed;) {
        changed = false;
        std::map<std::string, int> wearers;
        auto wornKeys = [](const Person& person) {
            std::vector<std::string> keys{LookAlikeKey(person.NameIn(0))};
            if (person.switchLog != 0 && person.tagTo != person.tagFrom)
                keys.push_back(LookAlikeKey(person.NameIn(person.switchLog)));
            return keys;
        };
        for (const Person& person : persons)
            for (const std::string& key : wornKeys(person))
                ++wearers[key];
        for (Person& person : persons) {
            if (person.tagFrom < 0)
                continue;
            const auto keys = wornKeys(person);
            if (std::any_of(keys.begin(), keys.end(),
                            [&](const std::string& key) { return wearers[key] > 1; })) {
                person.tagFrom = person.tagTo = -1;
                person.switchLog = 0;
                changed = true;
            }
        }
    }
}

// One log being written: who is in the game under which name, and what each line says.
class Evening {
  public:
    Evening(const Options& options, const Phrases& phrases, std::vector<Person>& persons,
            std::vector<bool>& seenBefore, std::size_t log, Random& rng, std::ostream& out,
            std::ostream& truth)
        : options_(options), phrases_(phrases), persons_(persons), seenBefore_(seenBefore),
          log_(log), rng_(rng), sink_(out, options.encoding, options.lineEnds, rng.next()),
          truth_(truth) {
        for (const KillForm& form : phrases_.kills)
            if (!form.unknownWeapon) // those file a made-up player: no truth for them
                weapons_.push_back(&form);
        for (std::size_t w = 0; w < weapons_.size(); ++w)
            weaponEffect_.push_back(0.2 * (Uniform(rng_) * 2 - 1));
    }

    bool Write(const std::string& dateLine) {
        PlanArrivals();
        Emit(dateLine);
        for (std::uint64_t i = 1; i < options_.lines; ++i) {
            line_.clear();
            if (!Scheduled() && !Arrival())
                Event();
            Emit(line_);
        }
        return sink_.finish();
    }

  private:
    struct Later {
        std::uint64_t at;
        std::size_t person;
        std::string to; // the name to rename to
    };

    void Emit(const std::string& line) {
        ++written_;
        sink_.writeLine(line, written_ == options_.lines);
    }
    void Truth(const char* role, std::size_t person) {
        truth_ << written_ + 1 << '\t' << role << '\t' << person << '\n';
    }
    bool Free(const std::string& name) const { return !holder_.contains(name); }

    // Who plays tonight: mostly persons of the evening's level, each arriving at some line of
    // the log's first half.
    void PlanArrivals() {
        const double level = 0.7 * Normal(rng_);
        for (std::size_t p = 0; p < persons_.size(); ++p) {
            if (persons_[p].firstLog > log_)
                continue;
            const double gap = persons_[p].skills[log_] - level;
            const double chance = persons_[p].activity * std::exp(-gap * gap / (2 * 0.6 * 0.6));
            if (Uniform(rng_) < chance || persons_[p].firstLog == log_)
                arrivals_.push_back(
                    {1 + rng_.below(std::max<std::uint64_t>(options_.lines / 2, 1)), p, {}});
        }
        std::sort(arrivals_.begin(), arrivals_.end(),
                  [](const Later& a, const Later& b) { return a.at < b.at; });
    }

    void Take(std::size_t person, const std::string& name) {
        holder_[name] = person;
        nameOf_[person] = name;
    }

    void Rename(std::size_t person, const std::string& to) {
        line_.append(kEventPrefix);
        appendRenameLine(phrases_, nameOf_[person], to, line_);
        Truth("renamer", person);
        holder_.erase(nameOf_[person]);
        Take(person, to);
    }

    // A rename planned earlier (away from the default name, back from a fun name).
    bool Scheduled() {
        for (auto it = later_.begin(); it != later_.end(); ++it) {
            if (it->at > written_ || !nameOf_.contains(it->person) || !Free(it->to))
                continue;
            const Later due = *it;
            later_.erase(it);
            // A newcomer is one until he has chosen his name: whoever leaves before that comes
            // back under the default name.
            if (nameOf_[due.person] == kDefaultPlayerName)
                seenBefore_[due.person] = true;
            Rename(due.person, due.to);
            return true;
        }
        return false;
    }

    bool Arrival() {
        if (arrivals_.empty() || arrivals_.front().at > written_)
            return false;
        const std::size_t p = arrivals_.front().person;
        const bool newcomer = !seenBefore_[p];
        const std::string name =
            newcomer ? std::string(kDefaultPlayerName) : persons_[p].NameIn(log_);
        if (!Free(name)) { // someone holds it right now: come a little later
            arrivals_.front().at = written_ + 1 + rng_.below(20);
            std::sort(arrivals_.begin(), arrivals_.end(),
                      [](const Later& a, const Later& b) { return a.at < b.at; });
            return false;
        }
        arrivals_.erase(arrivals_.begin());
        Take(p, name);
        present_.push_back(p);
        line_.append(kEventPrefix);
        appendEnteredLine(phrases_, name, line_);
        if (newcomer)
            later_.push_back({written_ + 1 + rng_.below(30), p, persons_[p].NameIn(log_)});
        return true;
    }

    std::size_t AnyPresent() { return present_[rng_.below(present_.size())]; }

    // An opponent of a similar level, as players of one evening meet.
    std::size_t Opponent(std::size_t a) {
        for (int tries = 0; tries < 20; ++tries) {
            const std::size_t b = AnyPresent();
            const double gap = persons_[a].skills[log_] - persons_[b].skills[log_];
            if (b != a && Uniform(rng_) < std::exp(-gap * gap / (2 * 0.8 * 0.8)))
                return b;
        }
        std::size_t b = AnyPresent();
        while (b == a)
            b = AnyPresent();
        return b;
    }

    void Event() {
        if (present_.size() < 2) {
            line_.append(rng_.pick(phrases_.unprefixedLines));
            return;
        }
        const std::uint64_t roll = rng_.below(1000);
        const std::size_t a = AnyPresent();
        if (roll < 480) {
            const std::size_t b = Opponent(a);
            const std::size_t w = rng_.below(weapons_.size());
            const double edge = persons_[a].skills[log_] - persons_[b].skills[log_];
            const bool aWins = Uniform(rng_) < NormalCdf(edge + weaponEffect_[w]);
            const std::size_t killer = aWins ? a : b, victim = aWins ? b : a;
            line_.append(kEventPrefix);
            appendKillLine(phrases_, *weapons_[w], nameOf_[victim], nameOf_[killer], line_);
            Truth("killer", killer);
            Truth("victim", victim);
        } else if (roll < 530) {
            line_.append(kEventPrefix);
            appendSuicideLine(nameOf_[a], rng_.pick(phrases_.suicideTails), line_);
            Truth("player", a);
        } else if (roll < 550) {
            const std::size_t b = Opponent(a);
            line_.append(kEventPrefix);
            appendTeamkillLine(phrases_, nameOf_[b], nameOf_[a], line_);
            Truth("killer", a);
            Truth("victim", b);
        } else if (roll < 700) {
            line_.append(kEventPrefix);
            appendVoiceLine(rng_.chance(40), nameOf_[a], rng_.pick(phrases_.locations),
                            rng_.pick(phrases_.voiceTexts), true, line_);
            Truth("speaker", a);
        } else if (roll < 820) {
            line_.append(kEventPrefix);
            appendPlainChatLine(nameOf_[a], rng_.pick(phrases_.chatTexts), line_);
            Truth("speaker", a);
        } else if (roll < 830 && nameOf_[a] == persons_[a].NameIn(log_)) {
            // A fun name for a while, then back to the main name.
            const std::string fun(rng_.pick(kFunNames));
            if (Free(fun)) {
                const std::string back = nameOf_[a];
                Rename(a, fun);
                later_.push_back({written_ + 20 + rng_.below(200), a, back});
                return;
            }
            line_.append(rng_.pick(phrases_.unprefixedLines));
        } else if (roll < 835 && nameOf_[a] == persons_[a].NameIn(log_)) {
            // The same name in another colour: one holder, written two ways.
            const std::string coloured =
                std::string(rng_.pick(kColours)) + persons_[a].NameIn(log_);
            if (Free(coloured)) {
                Rename(a, coloured);
                later_.push_back({written_ + 10 + rng_.below(100), a, persons_[a].NameIn(log_)});
                return;
            }
            line_.append(rng_.pick(phrases_.unprefixedLines));
        } else if (roll < 840 && present_.size() > 4) {
            // Leaves; may come back later in the evening. Their name is free for others now.
            line_.append(kEventPrefix);
            appendDisconnectedLine(nameOf_[a], line_);
            holder_.erase(nameOf_[a]);
            nameOf_.erase(a);
            present_.erase(std::find(present_.begin(), present_.end(), a));
            std::erase_if(later_, [&](const Later& l) { return l.person == a; });
            if (rng_.chance(50))
                arrivals_.push_back({written_ + 50 + rng_.below(500), a, {}});
        } else {
            line_.append(rng_.pick(phrases_.unprefixedLines));
        }
    }

    const Options& options_;
    const Phrases& phrases_;
    std::vector<Person>& persons_;
    std::vector<bool>& seenBefore_;
    std::size_t log_;
    Random& rng_;
    LineSink sink_;
    std::ostream& truth_;
    std::vector<const KillForm*> weapons_;
    std::vector<double> weaponEffect_;
    std::vector<Later> arrivals_, later_;
    std::vector<std::size_t> present_;
    std::map<std::string, std::size_t> holder_;
    std::map<std::size_t, std::string> nameOf_;
    std::string line_;
    std::uint64_t written_ = 0;
};

std::string DateLine(std::size_t log) {
    // Evenings a day apart from Monday 2 March 2009, 20:00.
    static const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    int day = 2 + static_cast<int>(log), month = 2, year = 2009;
    static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    while (day > kMonthDays[month]) {
        day -= kMonthDays[month];
        if (++month == 12) {
            month = 0;
            ++year;
        }
    }
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    std::snprintf(text, sizeof text, "logfile opened on %s %s %2d 20:00:00 %d", kDays[log % 7],
                  kMonths[month], day, year);
    return text;
}

} // namespace

bool writeHistory(const Options& options, std::string* error) {
    Random rng(options.seed);
    const bool latin1Only =
        options.language == Language::German || options.encoding == Encoding::Windows1252;
    NamePool names(options.persons, latin1Only, rng);
    std::vector<Person> persons(options.persons);
    for (std::size_t p = 0; p < persons.size(); ++p) {
        Person& person = persons[p];
        person.base = names[p];
        if (rng.chance(30)) {
            person.tagFrom = static_cast<int>(rng.below(std::size(kClanTags)));
            person.tagTo = person.tagFrom;
            if (options.logs > 1 && rng.chance(40)) { // joins another clan some evening
                person.tagTo = static_cast<int>(rng.below(std::size(kClanTags)));
                person.switchLog = 1 + rng.below(options.logs - 1);
            }
        }
        person.firstLog = rng.chance(60) ? 0 : rng.below(options.logs);
        person.activity = 0.3 + 0.7 * Uniform(rng);
        double skill = Normal(rng);
        for (std::size_t log = 0; log < options.logs; ++log) {
            person.skills.push_back(skill);
            skill += 0.05 * Normal(rng);
        }
    }
    KeepNamesApart(persons);
    const Phrases& phrases = phrasesFor(options.language);
    std::vector<bool> seenBefore(persons.size(), false);
    for (std::size_t log = 0; log < options.logs; ++log) {
        char stem[32];
        std::snprintf(stem, sizeof stem, "/log%02zu", log + 1);
        const std::string base = options.outputFolder + stem;
        std::ofstream out(base + ".log", std::ios::binary | std::ios::trunc);
        std::ofstream truth(base + ".truth.tsv", std::ios::binary | std::ios::trunc);
        if (!out || !truth) {
            *error = "cannot write into '" + options.outputFolder + "'";
            return false;
        }
        Evening evening(options, phrases, persons, seenBefore, log, rng, out, truth);
        if (!evening.Write(DateLine(log)) || !truth.flush()) {
            *error = "writing '" + base + ".log' failed";
            return false;
        }
    }
    std::ofstream list(options.outputFolder + "/persons.tsv", std::ios::binary | std::ios::trunc);
    for (std::size_t p = 0; p < persons.size(); ++p) {
        list << p << '\t' << persons[p].NameIn(0) << '\t' << persons[p].firstLog + 1 << '\t';
        for (std::size_t log = 0; log < persons[p].skills.size(); ++log)
            list << (log == 0 ? "" : ",") << persons[p].skills[log];
        list << '\n';
    }
    if (!list.flush()) {
        *error = "cannot write '" + options.outputFolder + "/persons.tsv'";
        return false;
    }
    return true;
}

} // namespace loggen
