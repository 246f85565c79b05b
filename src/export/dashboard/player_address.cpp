// Page addresses that follow from the players' names.
#include "export/dashboard/player_address.h"

#include "core/names.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>

namespace qla {
namespace {

constexpr std::size_t kAddressWords = 24;

// FNV-1a, then a finaliser that spreads every bit over the top digits the folders are chosen by
// (FNV alone leaves them alike for names that differ in their last byte): fixed by its
// definition, so a name gives the same address on every machine and in every version, which
// std::hash does not promise.
std::uint64_t NameHash(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char byte : name) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    hash ^= hash >> 30;
    hash *= 0xbf58476d1ce4e5b9ull;
    hash ^= hash >> 27;
    hash *= 0x94d049bb133111ebull;
    return hash ^ (hash >> 31);
}

std::string AddressWords(std::string_view name) {
    std::string words;
    bool gap = false;
    for (const char c : StripColourCodes(name)) {
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9')) {
            if (gap && !words.empty())
                words += '-';
            gap = false;
            words += lower;
            if (words.size() >= kAddressWords)
                break;
        } else {
            gap = true;
        }
    }
    return words.empty() ? std::string("player") : words;
}

} // namespace

AddressBuckets AddressBucketsFor(std::size_t filesPerFolder) {
    // At least 256 folders in all, each level as wide as a folder may hold.
    const int digits = filesPerFolder >= 256 ? 2 : 1;
    return {digits, digits == 2 ? 1 : 2};
}

std::string PlayerPageAddress(std::string_view name, AddressBuckets buckets) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::uint64_t hash = NameHash(name);
    std::string digits(12, '0');
    for (int i = 0; i < 12; ++i)
        digits[static_cast<std::size_t>(i)] = kHex[(hash >> (60 - 4 * i)) & 15];
    std::string address;
    for (int level = 0; level < buckets.Levels; ++level) {
        address.append(digits, static_cast<std::size_t>(level * buckets.Digits),
                       static_cast<std::size_t>(buckets.Digits));
        address += '/';
    }
    return address + AddressWords(name) + "-" + digits;
}

std::vector<std::string> DistinctPlayerPageAddresses(const std::vector<std::string_view>& names,
                                                     AddressBuckets buckets) {
    std::vector<std::string> addresses;
    addresses.reserve(names.size());
    std::map<std::string, std::vector<std::size_t>> holders;
    for (std::size_t i = 0; i < names.size(); ++i) {
        addresses.push_back(PlayerPageAddress(names[i], buckets));
        holders[addresses.back()].push_back(i);
    }
    for (auto& [address, shared] : holders) {
        if (shared.size() < 2)
            continue;
        std::sort(shared.begin(), shared.end(),
                  [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
        for (std::size_t k = 1; k < shared.size(); ++k)
            addresses[shared[k]] += "-" + std::to_string(k + 1);
    }
    return addresses;
}

std::string PlayerPagePath(std::string_view address) {
    std::string path = "players/";
    path += address;
    path += ".html";
    return path;
}

} // namespace qla
