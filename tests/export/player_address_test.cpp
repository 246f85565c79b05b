// Addresses of the players' pages: readable, fixed by the exact name, spread over a fixed set of
// folders, and never shared.
#include "export/dashboard/player_address.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace qla {
namespace {

TEST(PlayerAddress, TheNamesWordsAndAHashOfTheExactName) {
    const std::string ghost = PlayerPageAddress("^1{TKS}Ghost");
    // The bucket is the hash's first two digits; the words drop colour codes and punctuation.
    ASSERT_EQ(ghost.size(), 3 + 9 + 1 + 12);
    EXPECT_EQ(ghost.substr(0, 2), ghost.substr(13, 2));
    EXPECT_EQ(ghost.substr(2, 11), "/tks-ghost-");
    EXPECT_EQ(ghost, PlayerPageAddress("^1{TKS}Ghost")) << "the same on every call";
    // Names that only colour codes or case tell apart are different players here.
    EXPECT_NE(ghost, PlayerPageAddress("{TKS}Ghost"));
    EXPECT_NE(PlayerPageAddress("Ghost"), PlayerPageAddress("ghost"));
    // Nothing of a name to read: a plain word stands in; long names keep 24 characters.
    EXPECT_EQ(PlayerPageAddress("^1^2").substr(3, 7), "player-");
    EXPECT_EQ(PlayerPageAddress("Müller ").substr(3, 7), "m-ller-");
    EXPECT_EQ(PlayerPageAddress(std::string(60, 'x')).substr(3, 25), std::string(24, 'x') + "-");
    // Fixed bytes: the address must not change between versions or machines.
    EXPECT_EQ(PlayerPageAddress("Ace"), PlayerPageAddress("Ace", AddressBucketsFor(1000)));
}

TEST(PlayerAddress, FoldersFollowTheLimitNotTheNumberOfPlayers) {
    for (const std::size_t limit : {std::size_t{20}, std::size_t{1000}}) {
        const AddressBuckets buckets = AddressBucketsFor(limit);
        std::map<std::string, int> perFolder;
        std::set<std::string> tops;
        for (int k = 0; k < 5000; ++k) {
            const std::string address = PlayerPageAddress("Player" + std::to_string(k), buckets);
            perFolder[address.substr(0, address.rfind('/'))] += 1;
            tops.insert(address.substr(0, address.find('/')));
        }
        EXPECT_LE(tops.size(), limit);
        // At least 256 folders share the pages, evenly: 5,000 names give about 20 each.
        EXPECT_GE(perFolder.size(), 250u) << limit;
        for (const auto& [folder, count] : perFolder)
            EXPECT_LE(count, 50) << folder;
    }
}

TEST(PlayerAddress, AddressesThatMeetAreToldApartByTheNamesOrder) {
    // The same address twice stands for two names whose hashes agree.
    const std::vector<std::string> addresses =
        DistinctPlayerPageAddresses({"Bob", "Ace", "Bob"}, AddressBucketsFor(1000));
    EXPECT_EQ(addresses[1], PlayerPageAddress("Ace"));
    EXPECT_EQ(addresses[0], PlayerPageAddress("Bob"));
    EXPECT_EQ(addresses[2], PlayerPageAddress("Bob") + "-2");
}

} // namespace
} // namespace qla
