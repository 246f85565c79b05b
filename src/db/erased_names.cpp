// Matching names and texts against the salted hashes of erased keys. A text is searched by a
// rolling hash of every window of a key's length (a few nanoseconds a byte), and only a window
// whose rolling hash agrees is hashed with SHA-256 to be sure.
#include "db/erased_names.h"

#include "core/case_fold.h"
#include "core/line_scan.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <algorithm>
#include <charconv>

namespace qla::db {

namespace {

constexpr std::string_view kPseudonymStart = "erased player ";
constexpr std::uint64_t kPrime = (std::uint64_t{1} << 61) - 1;

// a * b modulo 2^61 - 1 for a, b below it, in 64-bit halves: a = au 2^31 + ad, b alike, and
// 2^61 is 1 modulo the prime.
std::uint64_t MulMod(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t kLow30 = (std::uint64_t{1} << 30) - 1;
    constexpr std::uint64_t kLow31 = (std::uint64_t{1} << 31) - 1;
    const std::uint64_t au = a >> 31, ad = a & kLow31, bu = b >> 31, bd = b & kLow31;
    const std::uint64_t mid = ad * bu + au * bd;
    const std::uint64_t sum = au * bu * 2 + (mid >> 30) + ((mid & kLow30) << 31) + ad * bd;
    const std::uint64_t folded = (sum >> 61) + (sum & kPrime);
    return folded >= kPrime ? folded - kPrime : folded;
}

std::uint64_t AddMod(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t sum = a + b;
    return sum >= kPrime ? sum - kPrime : sum;
}

QByteArray Sha256(std::string_view salt, std::string_view suffix, std::string_view text) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(salt.data(), static_cast<qsizetype>(salt.size())));
    hash.addData(QByteArrayView(suffix.data(), static_cast<qsizetype>(suffix.size())));
    hash.addData(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return hash.result();
}

// The base of the rolling hash: a number the salt decides, so that it differs per database.
std::uint64_t BaseOf(std::string_view salt) {
    const QByteArray digest = Sha256(salt, ":window", "");
    std::uint64_t base = 0;
    for (int i = 0; i < 8; ++i)
        base = (base << 8) | static_cast<unsigned char>(digest[i]);
    return base % (kPrime - 512) + 256;
}

std::uint64_t RollingHash(std::uint64_t base, std::string_view bytes) {
    std::uint64_t hash = 0;
    for (const char c : bytes)
        hash = AddMod(MulMod(hash, base), static_cast<unsigned char>(c) + 1);
    return hash;
}

} // namespace

std::string KeyHashOf(std::string_view salt, std::string_view key) {
    return Sha256(salt, ":", key).toHex().toStdString();
}

std::uint64_t WindowHashOf(std::string_view salt, std::string_view key) {
    return RollingHash(BaseOf(salt), key);
}

std::string PseudonymText(std::int64_t number) {
    return std::string(kPseudonymStart) + std::to_string(number);
}

std::int64_t PseudonymNumber(std::string_view name) {
    if (!name.starts_with(kPseudonymStart))
        return 0;
    const std::string_view digits = name.substr(kPseudonymStart.size());
    std::int64_t number = 0;
    const auto [end, problem] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (problem != std::errc() || end != digits.data() + digits.size() || digits.front() == '0')
        return 0;
    return number;
}

ErasedNames::ErasedNames(std::string salt, std::vector<ErasedName> names)
    : salt_(std::move(salt)), names_(std::move(names)), base_(BaseOf(salt_)) {
    for (const ErasedName& name : names_)
        if (name.KeyBytes > 0 && std::ranges::find(lengths_, name.KeyBytes) == lengths_.end())
            lengths_.push_back(name.KeyBytes);
}

const std::string* ErasedNames::PseudonymOfKey(const std::string& key) const {
    if (names_.empty() || key.empty())
        return nullptr;
    const auto [entry, isNew] = keys_.try_emplace(key, nullptr);
    if (isNew) {
        const std::string hash = KeyHashOf(salt_, key);
        for (const ErasedName& name : names_)
            if (name.KeyHash == hash)
                entry->second = &name.Pseudonym;
    }
    return entry->second;
}

void ErasedNames::FindInText(std::string_view text, std::vector<ErasedTextMatch>& found) const {
    found.clear();
    if (names_.empty() || text.empty())
        return;
    folded_.clear();
    origins_.clear();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = bytes[i];
        if (c < 0x80) {
            folded_.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c));
            origins_.push_back(static_cast<std::uint32_t>(i));
            ++i;
            continue;
        }
        const std::size_t length =
            std::max<std::size_t>(1, line_scan::Utf8SequenceLength(bytes + i, bytes + text.size()));
        for (const char b : FoldCase(text.substr(i, length))) {
            folded_.push_back(b);
            origins_.push_back(static_cast<std::uint32_t>(i));
        }
        i += length;
    }
    const std::size_t size = folded_.size();
    // A window starts and ends where characters of the text do.
    const auto startsCharacter = [&](std::size_t at) {
        return at == 0 || at == size || origins_[at] != origins_[at - 1];
    };
    for (const std::size_t length : lengths_) {
        if (length > size)
            continue;
        std::uint64_t highest = 1; // base^(length - 1)
        for (std::size_t k = 1; k < length; ++k)
            highest = MulMod(highest, base_);
        std::uint64_t hash = RollingHash(base_, std::string_view(folded_).substr(0, length));
        for (std::size_t at = 0;; ++at) {
            for (const ErasedName& name : names_) {
                if (name.KeyBytes != length || name.WindowHash != hash || !startsCharacter(at) ||
                    !startsCharacter(at + length) ||
                    KeyHashOf(salt_, std::string_view(folded_).substr(at, length)) != name.KeyHash)
                    continue;
                found.push_back({origins_[at],
                                 at + length == size ? text.size() : origins_[at + length],
                                 &name.Pseudonym});
            }
            if (at + length == size)
                break;
            const auto out = static_cast<unsigned char>(folded_[at]);
            const auto in = static_cast<unsigned char>(folded_[at + length]);
            hash = AddMod(hash, kPrime - MulMod(out + 1, highest));
            hash = AddMod(MulMod(hash, base_), in + 1);
        }
    }
    std::ranges::sort(found, [](const ErasedTextMatch& a, const ErasedTextMatch& b) {
        return a.Begin != b.Begin ? a.Begin < b.Begin : a.End > b.End;
    });
    std::size_t kept = 0, end = 0;
    for (const ErasedTextMatch& match : found)
        if (kept == 0 || match.Begin >= end) {
            found[kept++] = match;
            end = match.End;
        }
    found.resize(kept);
}

} // namespace qla::db
