// Every line form the analyzer knows occurs in a generated log, in both languages, and hostile
// mode brings every kind of trouble it promises.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "loggen_test_support.h"

using namespace loggen_test;

namespace {

using Predicate = std::function<bool(const std::string&)>;

struct Form {
    const char* name;
    Predicate matches;
};

constexpr std::string_view kPrefix = "[skipnotify]";

Predicate prefixedEnding(std::string tail) {
    return [tail](const std::string& line) {
        return startsWith(line, kPrefix) && endsWith(line, tail);
    };
}

Predicate prefixedBeginning(std::string head) {
    return
        [head](const std::string& line) { return startsWith(line, std::string(kPrefix) + head); };
}

Predicate prefixedWith(std::string part) {
    return [part](const std::string& line) {
        return startsWith(line, kPrefix) && contains(line, part);
    };
}

// A kill: "<victim>^7 <verb> <killer>^7<possessive><weapon>".
Predicate kill(std::string verb, std::string tail) {
    return [verb, tail](const std::string& line) {
        return startsWith(line, kPrefix) && contains(line, "^7 " + verb + " ") &&
               endsWith(line, tail);
    };
}

void expectEveryForm(const std::vector<std::string>& lines, const std::vector<Form>& forms) {
    for (const Form& form : forms) {
        const bool found = std::any_of(lines.begin(), lines.end(), form.matches);
        EXPECT_TRUE(found) << "no line of the form: " << form.name;
    }
}

// Forms that read the same in both languages.
std::vector<Form> sharedForms() {
    return {
        {"date line",
         [](const std::string& l) { return startsWith(l, "logfile opened on ") && l.size() > 20; }},
        {"engine line", [](const std::string& l) { return !l.empty() && l[0] != '['; }},
        {"empty line", [](const std::string& l) { return l.empty(); }},
        {"global voice chat",
         [](const std::string& l) {
             return startsWith(l, "[skipnotify]: ") && !startsWith(l, "[skipnotify]: (") &&
                    contains(l, "^7 (") && contains(l, "): ^2") && endsWith(l, " ");
         }},
        {"team voice chat",
         [](const std::string& l) {
             return startsWith(l, "[skipnotify]: (") && contains(l, "^7)(") && contains(l, "): ^5");
         }},
        {"located text chat",
         [](const std::string& l) {
             return startsWith(l, "[skipnotify](") && contains(l, "^7) (") && contains(l, "): ^5");
         }},
        {"located text chat without blank",
         [](const std::string& l) {
             return startsWith(l, "[skipnotify](") && contains(l, "^7) (") && contains(l, "):^5");
         }},
        {"plain text chat",
         [](const std::string& l) {
             return startsWith(l, kPrefix) && l.size() > 12 && l[12] != ':' && l[12] != '(' &&
                    contains(l, "^7: ^2");
         }},
        {"lower-case server notice", prefixedBeginning("server: ")},
        {"capitalised server notice", prefixedBeginning("Server: ")},
        {"spam notice", prefixedBeginning("^1Spam Protection^7: ")},
        {"timed out", prefixedEnding("^7 timed out")},
        {"timed out with a colon", prefixedEnding("^7: connection timed out")},
        {"disconnected", prefixedEnding("^7 disconnected")},
        {"name with a colour code first", prefixedBeginning("^")},
        {"name with a space",
         [](const std::string& l) {
             const std::size_t end = l.find("^7 ");
             return startsWith(l, kPrefix) && end != std::string::npos &&
                    l.substr(12, end - 12).find(' ') != std::string::npos;
         }},
        {"name with a letter beyond ASCII",
         [](const std::string& l) {
             const std::size_t end = l.find("^7 ");
             return startsWith(l, kPrefix) && end != std::string::npos &&
                    std::any_of(l.begin() + 12, l.begin() + static_cast<long>(end),
                                [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
         }},
    };
}

std::vector<std::string> generatedLines(std::vector<std::string> args) {
    return splitTerminatedLines(generate(args));
}

} // namespace

TEST(LogGenKinds, EnglishLogHoldsEveryForm) {
    std::vector<Form> forms = sharedForms();
    const std::vector<Form> english = {
        {"knife", kill("was stabbed by", "^7's knife")},
        {"Luger", kill("was killed by", "^7's Luger 9mm")},
        {"MP40", kill("was killed by", "^7's MP40")},
        {"Thompson", kill("was killed by", "^7's Thompson")},
        {"Sten", kill("was killed by", "^7's Sten")},
        {"Colt 1911", kill("was killed by", "^7's .45ACP 1911")},
        {"sniper rifle", kill("was killed by", "^7's sniper rifle")},
        {"Mauser", kill("was killed by", "^7's Mauser")},
        {"unknown weapon", kill("was killed by", "^7's Colt")},
        {"no weapon at all",
         [](const std::string& l) {
             return startsWith(l, kPrefix) && contains(l, " was killed by ") && endsWith(l, "^7") &&
                    !contains(l, "^7's ");
         }},
        {"grenade", kill("was exploded by", "^7's grenade")},
        {"dynamite", kill("was blasted by", "^7's dynamite")},
        {"Panzerfaust", kill("was blasted by", "^7's Panzerfaust")},
        {"support fire", kill("was blasted by", "^7's support fire")},
        {"unknown blast", kill("was blasted by", "^7's mortar")},
        {"Venom", kill("was ventilated by", "^7's Venom")},
        {"flamethrower", kill("was cooked by", "^7's flamethrower")},
        {"MG42", kill("was perforated by", "^7's crew-served MG42")},
        {"killed himself", prefixedEnding("^7 killed himself.")},
        {"own grenade", prefixedEnding("^7 dove on his own grenade.")},
        {"obliterated", prefixedEnding("^7 obliterated himself.")},
        {"vaporized", prefixedEnding("^7 vaporized himself.")},
        {"died", prefixedEnding("^7 died.")},
        {"drowned", prefixedEnding("^7 drowned.")},
        {"fell", prefixedEnding("^7 fell to his death.")},
        {"teamkill", prefixedWith("^7 WAS KILLED BY TEAMMATE^7 ")},
        {"rename", prefixedWith("^7 renamed to ")},
        {"fire mission", prefixedBeginning("Fire Mission: ")},
        {"complaint", prefixedBeginning("^1Warning^7: Complaint filed against you.")},
        {"entered the game", prefixedEnding("^7 entered the game")},
        {"obituary without the prefix",
         [](const std::string& l) { return !startsWith(l, "[") && contains(l, "^7 was "); }},
    };
    forms.insert(forms.end(), english.begin(), english.end());
    expectEveryForm(generatedLines({"--lines", "10000", "--players", "300", "--seed", "1"}), forms);
}

TEST(LogGenKinds, GermanLogHoldsEveryForm) {
    std::vector<Form> forms = sharedForms();
    const std::vector<Form> german = {
        {"Messer", kill("wurde erstochen von", "^7 - Messer")},
        {"Luger", kill("wurde getötet von", "^7 - Luger 9mm")},
        {"MP40", kill("wurde getötet von", "^7 - MP40")},
        {"Thompson", kill("wurde getötet von", "^7 - Thompson")},
        {"Sten", kill("wurde getötet von", "^7 - Sten")},
        {"Colt 1911", kill("wurde getötet von", "^7 - .45ACP 1911")},
        {"sniper rifle", kill("wurde getötet von", "gewehr")},
        {"Mauser", kill("wurde getötet von", "^7 - Mauser")},
        {"unknown weapon", kill("wurde getötet von", "^7 - Colt")},
        {"Granate", kill("wurde gesprengt von", "^7 - Granate")},
        {"Dynamit", kill("wurde erledigt von", "dynamit")},
        {"Panzerfaust", kill("wurde erledigt von", "^7 - Panzerfaust")},
        {"Luftangriff", kill("wurde erledigt von", "angriff")},
        {"Venom", kill("wurde ventiliert von", "^7 - Venom")},
        {"flamethrower, d spelling", kill("wurde gerösted von", "^7 - Flammenwerfer")},
        {"flamethrower, t spelling", kill("wurde geröstet von", "^7 - Flammenwerfer")},
        {"MG42", kill("wurde durchsiebt von", "MG42")},
        {"killed himself", prefixedEnding("^7 tötete sich selbst")},
        {"own grenade", prefixedEnding("^7 starb durch seine Granate.")},
        {"obliterated", prefixedEnding("^7 hat sich selbst erledigt.")},
        {"died", prefixedEnding("^7 starb.")},
        {"drowned", prefixedEnding("^7 ist ertrunken.")},
        {"fell, two full stops", prefixedEnding("^7 stürzte sich zu Tode..")},
        {"teamkill", prefixedWith("^7 STARB DURCH TEAMKAMERAD^7 ")},
        {"rename", prefixedWith("^7 hat sich umbenannt in ")},
        {"fire mission", prefixedBeginning("Pilot: ")},
        {"complaint", prefixedBeginning("^1Warnung^7: Beschwerde gegen Sie ingereicht.")},
    };
    forms.insert(forms.end(), german.begin(), german.end());
    // UTF-8, so the expectations above can be written as they read.
    expectEveryForm(generatedLines({"--lines", "10000", "--players", "300", "--language", "german",
                                    "--encoding", "utf-8"}),
                    forms);
}

TEST(LogGenKinds, HostileLogHoldsEveryTrouble) {
    const std::vector<Form> forms = {
        {"a 100,000-character line",
         [](const std::string& l) { return l.size() == 100000 && startsWith(l, kPrefix); }},
        {"a NUL byte", [](const std::string& l) { return contains(l, std::string(1, '\0')); }},
        {"an escape byte", [](const std::string& l) { return contains(l, "\x1b"); }},
        {"invalid UTF-8", [](const std::string& l) { return contains(l, "\xff"); }},
        {"a script tag", [](const std::string& l) { return contains(l, "<script>"); }},
        {"an ampersand in a name", [](const std::string& l) { return contains(l, "Tom & Jerry"); }},
        {"a quoted name", [](const std::string& l) { return contains(l, "\"Quoted\"^7"); }},
        {"' by ' in a name", [](const std::string& l) { return contains(l, "Stand by Me^7"); }},
        {"' von ' in a name", [](const std::string& l) { return contains(l, "Graf von Zahl^7"); }},
        {"'wurde' in a name",
         [](const std::string& l) { return contains(l, "Ich wurde Erster^7"); }},
        {"'was' as a name", prefixedBeginning("was^7 ")},
        {"a colon in a name", [](const std::string& l) { return contains(l, "Time: 12:00^7"); }},
        {"parentheses in a name", [](const std::string& l) { return contains(l, "(Sniper)^7"); }},
        {"a trailing caret", [](const std::string& l) { return contains(l, "Trail^^7"); }},
        {"a 300-character name",
         [](const std::string& l) { return contains(l, std::string(300, 'W') + "^7"); }},
        {"an empty name", prefixedBeginning("^7 ")},
        {"nothing before the verb phrase", prefixedBeginning("was killed by")},
        {"nothing before a suicide", prefixedBeginning(" killed himself.")},
    };
    expectEveryForm(generatedLines({"--lines", "20000", "--hostile", "--seed", "3"}), forms);
}

TEST(LogGenKinds, NormalLogsHoldNoHostileBytes) {
    for (const char* language : {"english", "german"}) {
        const std::string log = generate({"--lines", "5000", "--language", language});
        EXPECT_EQ(log.find('\0'), std::string::npos) << language;
        EXPECT_EQ(log.find("<script>"), std::string::npos) << language;
        for (const std::string& line : splitTerminatedLines(log))
            ASSERT_LT(line.size(), 300u) << language;
    }
}
