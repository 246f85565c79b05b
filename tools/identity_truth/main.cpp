// qla-identity-truth FOLDER: how well each rule of merging players finds the persons of a
// history that qla-loggen --persons wrote into FOLDER.
#include "identity_truth.h"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    using namespace qla::identity_truth;
    const bool details = argc == 3 && std::string_view(argv[2]) == "--mixed";
    if (argc != 2 && !details) {
        std::fprintf(stderr, "usage: qla-identity-truth FOLDER [--mixed]\n");
        return 2;
    }
    std::printf("rule\tprecision\trecall\tplayers\tmixed\titems\tunattributed\n");
    const std::pair<Rule, const char*> rules[] = {
        {Rule::Persons, "persons"}, {Rule::Names, "names"}, {Rule::RenamesEver, "renames-ever"}};
    for (const auto& [rule, name] : rules) {
        Score score;
        std::string error;
        if (!ScoreHistory(argv[1], rule, score, error)) {
            std::fprintf(stderr, "qla-identity-truth: %s\n", error.c_str());
            return 1;
        }
        std::printf("%s\t%.4f\t%.4f\t%lld\t%lld\t%lld\t%lld\n", name, score.Precision, score.Recall,
                    static_cast<long long>(score.Players),
                    static_cast<long long>(score.MixedPlayers), static_cast<long long>(score.Items),
                    static_cast<long long>(score.Unattributed));
        if (details && rule == Rule::Persons)
            for (const std::string& mixed : score.Mixed)
                std::printf("  mixed: %s\n", mixed.c_str());
    }
    return 0;
}
