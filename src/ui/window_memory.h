// What the window keeps between runs: the game title, the log language and recognition, the
// merge choice and the folders last used. It is kept in QSettings once the program hands one
// over; before that (the tests that do not ask for it) nothing is read or written, so no run
// sees another's choices.
#pragma once

#include <QString>
#include <QVariant>

class QSettings;

namespace qla::ui {

namespace memory_keys {
inline constexpr char kGameTitle[] = "gameTitle";
inline constexpr char kLogLanguage[] = "logLanguage";
inline constexpr char kRecognition[] = "recognition";
inline constexpr char kOpenFolder[] = "folders/open";
inline constexpr char kExportPath[] = "folders/exportFile";
inline constexpr char kSiteFolder[] = "folders/site";
inline constexpr char kStatisticsSiteFolder[] = "folders/statisticsSite";
// How the Analyze page merges players: "none", "names" or "renames".
inline constexpr char kMergePlayers[] = "mergePlayers";
// The log languages ("english", "german") the window has asked about switching to.
inline constexpr char kLanguagesAsked[] = "languageQuestion/asked";
// The answer to the recognition hint's offer ("full" or "classic"); once given, not offered again.
inline constexpr char kRecognitionHintAnswer[] = "recognitionHint/answer";
// The aliases file the Analyze page joins and splits players with, and the alias suggestions
// rejected there ("name<TAB>other", normalised, in a fixed order).
inline constexpr char kAliasesFile[] = "aliases/file";
inline constexpr char kRejectedSuggestions[] = "aliases/rejectedSuggestions";
// The statistics database last opened: a file, or an address kept without its password.
inline constexpr char kDatabase[] = "database/last";
} // namespace memory_keys

class WindowMemory {
  public:
    void UseSettings(QSettings* settings) { settings_ = settings; }
    bool InUse() const { return settings_ != nullptr; }

    // What was kept under `key`; `fallback` when nothing was.
    QVariant Value(const char* key, const QVariant& fallback = {}) const;
    void Keep(const char* key, const QVariant& value);

  private:
    QSettings* settings_ = nullptr;
};

} // namespace qla::ui
