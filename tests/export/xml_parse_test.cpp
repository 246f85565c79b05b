// Every XML export parses with a real XML reader, whatever the names hold.
#include "analysis/analysis.h"
#include "export/export_views.h"
#include "export/memory_sink.h"
#include "generator.h"
#include "stats/statistics.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QXmlStreamReader>

#include <filesystem>
#include <set>
#include <sstream>

namespace qla {
namespace {

struct Parsed {
    std::string Error;
    std::vector<std::string> Names; // the playername texts, decoded
    int Players = 0;
};

Parsed Parse(const std::string& bytes) {
    Parsed parsed;
    QXmlStreamReader reader(QByteArray::fromStdString(bytes));
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("player"))
            ++parsed.Players;
        if (reader.isStartElement() && reader.name() == QLatin1String("playername"))
            parsed.Names.push_back(reader.readElementText().toStdString());
    }
    if (reader.hasError())
        parsed.Error = reader.errorString().toStdString();
    return parsed;
}

std::string Export(const AnalysisStore& store, int key, bool ascending) {
    ExportRequest request = RequestFor(ExportView::Standard, ExportFormat::Xml, {});
    request.Standard.Order = static_cast<StandardOrder>(key);
    request.Standard.Ascending = ascending;
    request.DecimalSeparator = ","; // XML keeps its decimal point whatever the locale's
    MemorySink sink;
    const ExportOutcome outcome = RunExport({store, StoreLines(store)}, request, sink);
    EXPECT_TRUE(outcome.Ok()) << outcome.File.Error;
    return sink.Content();
}

TEST(XmlParseTest, HostileNamesStillParse) {
    test::TestStore data;
    const std::string nasty[] = {"<script>alert(1)</script>",
                                 "a & b",
                                 "]]>",
                                 "tab\tname",
                                 std::string("nul\0byte", 8),
                                 "bell\x07",
                                 "bad\xC3utf8",
                                 "\xEF\xBF\xBF",
                                 "caf\xC3\xA9"};
    for (const std::string& name : nasty)
        data.Player(name);
    const Parsed parsed = Parse(Export(data.Store, 0, true));
    EXPECT_EQ(parsed.Error, "");
    EXPECT_EQ(parsed.Players, 9);
    const std::set<std::string> names(parsed.Names.begin(), parsed.Names.end());
    for (const char* name :
         {"<script>alert(1)</script>", "a & b", "]]>", "tab\tname",
          "nul\xEF\xBF\xBD"
          "byte",
          "bell\xEF\xBF\xBD", "bad\xEF\xBF\xBDutf8", "\xEF\xBF\xBD", "caf\xC3\xA9"})
        EXPECT_TRUE(names.count(name)) << name;
}

TEST(XmlParseTest, EveryOrderOfAGeneratedLogParses) {
    for (const std::uint64_t seed : {1u, 2u, 3u}) {
        loggen::Options options;
        options.players = 60;
        options.lines = 3000;
        options.hostile = true;
        options.seed = seed;
        std::ostringstream log;
        ASSERT_TRUE(loggen::generateLog(options, log));
        AnalysisStore store;
        store.LogLines = LogLineList::FromBytes(log.str());
        AnalyzeLog(store, LogLanguage::English);
        for (int key = 0; key <= 5; ++key) {
            for (const bool ascending : {true, false}) {
                const Parsed parsed = Parse(Export(store, key, ascending));
                EXPECT_EQ(parsed.Error, "") << seed << " " << key;
                EXPECT_EQ(parsed.Players, store.PlayerCount());
            }
        }
    }
}

TEST(XmlParseTest, EmptyStoreParses) {
    const Parsed parsed = Parse(Export(AnalysisStore{}, 5, true));
    EXPECT_EQ(parsed.Error, "");
    EXPECT_EQ(parsed.Players, 0);
}

} // namespace
} // namespace qla
