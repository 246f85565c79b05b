// The streaming run. Each range is read with pread on one shared descriptor, so the threads
// need no locks; the first range alone starts at the file's start, where a mark may stand.
#include "analysis/log_stream.h"

#include "analysis/line_walk.h"
#include "analysis/log_file_check.h"
#include "analysis/parallel_ranges.h"
#include "core/memory_budget.h"
#include "core/utf16_log.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qla {

namespace {

// Bytes of a short log line, for the room the lists get: the game's shortest lines (a bare
// death) take about 30.
constexpr std::uint64_t kShortLine = 24;

// Ranges for each thread: enough that the last one to finish is short, few enough that each is
// megabytes long.
constexpr std::uint64_t kRangesPerThread = 8;

// The offset just after the first line end at or after `from` and before `bound`; `size` when
// there is none (a log of a few huge lines is then not split there).
std::uint64_t NextLineStart(std::uint64_t from, std::uint64_t bound, std::uint64_t size,
                            const RangeReaders& readers) {
    ReadBytes read = readers(from, std::min(size, bound + 1) - from);
    std::vector<char> window(64 * 1024);
    std::uint64_t at = from;
    bool afterCr = false;
    for (;;) {
        const std::ptrdiff_t got = read(window.data(), window.size());
        if (got <= 0)
            return size; // the end, or a read error that the range's own reader will meet
        for (std::ptrdiff_t i = 0; i < got; ++i, ++at) {
            const char c = window[static_cast<std::size_t>(i)];
            if (afterCr)
                return c == '\n' ? at + 1 : at;
            if (c == '\n')
                return at + 1;
            afterCr = c == '\r';
        }
        if (afterCr && at == size)
            return size;
    }
}

// The line readers' buffers, passed from a finished range to the next one: fresh pages for every
// range would cost a page fault for each 4 KiB read and unmapping them stalls the other threads.
class ReadBuffers {
  public:
    ByteBuffer Take() {
        const std::lock_guard lock(mutex_);
        if (free_.empty())
            return {};
        ByteBuffer buffer = std::move(free_.back());
        free_.pop_back();
        return buffer;
    }
    void Give(ByteBuffer buffer) {
        const std::lock_guard lock(mutex_);
        free_.push_back(std::move(buffer));
    }

  private:
    std::mutex mutex_;
    std::vector<ByteBuffer> free_;
};

} // namespace

std::vector<std::uint64_t> RangeStarts(std::uint64_t size, const RangeReaders& readers,
                                       std::size_t count) {
    std::vector<std::uint64_t> starts{0};
    if (count <= 1 || size < 2)
        return starts;
    char mark[2];
    if (readers(0, 2)(mark, 2) == 2 && Utf16OrderOf(std::string_view(mark, 2)) != Utf16Order::None)
        return starts; // a line end there is two bytes wide: one range
    for (std::size_t k = 1; k < count; ++k) {
        const std::uint64_t target = std::max(size / count * k, starts.back());
        const std::uint64_t next = NextLineStart(target, target + size / count, size, readers);
        if (next >= size)
            break;
        if (next > starts.back())
            starts.push_back(next);
    }
    return starts;
}

StreamedAnalysis AnalyzeStreamedLog(AnalysisStore& store, std::uint64_t size,
                                    const RangeReaders& readers, LogLanguage language,
                                    Recognition recognition, const StreamOptions& options,
                                    LogLineList::Start start) {
    ResetAnalysis(store);
    store.SetLinesBefore(options.LinesBefore);
    const bool knownHoldings =
        store.TracksHolders && options.KnownHoldings.size() == options.KnownPlayers.size();
    for (std::size_t k = 0; k < options.KnownPlayers.size(); ++k) {
        if (knownHoldings)
            store.AddHolding(options.KnownPlayers[k], options.KnownHoldings[k]);
        else
            store.FindOrAddNamedPlayer(options.KnownPlayers[k]);
    }
    if (knownHoldings)
        for (const auto& [name, from] : options.KnownRenamedInto)
            store.AddRenamedInto(name, from);
    // Full recognition learns names as it goes: one thread (see AnalyzeLogParts). Otherwise a
    // few ranges for each thread, so that a core that falls behind (a busy neighbour on a
    // shared machine) leaves its share to the others instead of holding up the end.
    const unsigned threads = recognition == Recognition::Classic ? ThreadsFor(options.Threads) : 1;
    const std::uint64_t wanted =
        threads <= 1
            ? 1
            : std::min<std::uint64_t>(std::uint64_t{threads} * kRangesPerThread,
                                      size / std::max<std::uint64_t>(options.MinBytesEach, 1));
    const std::vector<std::uint64_t> starts =
        RangeStarts(size, readers, static_cast<std::size_t>(std::max<std::uint64_t>(wanted, 1)));
    const std::size_t ranges = starts.size();
    StreamedAnalysis result;
    std::vector<char> failed(ranges, 0);
    // Progress is reported on the calling thread, whichever range it is reading: the bytes of
    // the ranges done so far and of its own.
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<std::uint64_t> bytesDone{0};
    ReadBuffers buffers;
    const auto rangeRun = [&](std::size_t k, AnalysisStore& into) {
        if (k > 0)
            StartRangeInside(into, store);
        const std::uint64_t begin = starts[k], end = k + 1 < ranges ? starts[k + 1] : size;
        LogLineReader reader(readers(begin, end - begin), options.BlockSize,
                             k == 0 ? start : LogLineList::Start::kFromInside, buffers.Take());
        // Room for as many entries as the bytes can hold lines of a usual length; a log of
        // shorter lines only makes a list grow. The first store receives the later ones.
        into.Reserve(static_cast<std::size_t>((k == 0 ? size : end - begin) / kShortLine));
        const std::vector<LogPart> parts{LogPart{0, language, recognition}};
        LineWalk walk(into, parts);
        const bool reports = options.Progress && std::this_thread::get_id() == caller && size > 0;
        while (const auto line = reader.Next()) {
            if (k == 0 && reader.LinesRead() == 1 && start == LogLineList::Start::kFileStart)
                result.DateText = LogDateText(*line);
            walk.Line(*line);
            if (reports && reader.LinesRead() % kProgressStride == 0)
                options.Progress(static_cast<double>(bytesDone.load() + reader.BytesTaken()) /
                                 static_cast<double>(size));
        }
        bytesDone += end - begin;
        failed[k] = reader.Failed() ? 1 : 0;
        // The last ranges' buffers go at once: they would only add to the peak of the merge.
        if (k + threads < ranges)
            buffers.Give(reader.TakeBuffer());
        return walk.Totals();
    };
    result.Totals = RunRangesInParallel(store, ranges, rangeRun, threads);
    result.ReadFailed = std::find(failed.begin(), failed.end(), 1) != failed.end();
    result.LineCount = static_cast<std::uint64_t>(result.Totals.Total);
    return result;
}

LogFileAnalysis AnalyzeLogFile(AnalysisStore& store, const std::string& path, LogLanguage language,
                               Recognition recognition, const StreamOptions& options) {
    LogFileAnalysis result;
    result.Error = OpenProblem(path);
    if (!result.Error.empty()) {
        store.LogFileLoaded = false;
        return result;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        store.LogFileLoaded = false;
        result.Error = "The file cannot be read: " + path;
        return result;
    }
    store.LogLines = LogLineList();
    store.LogFileIdentity = FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                                         static_cast<std::uint64_t>(info.st_ino)};
    // The lines are those of the size seen now: what the game appends meanwhile waits.
    const auto size = static_cast<std::uint64_t>(info.st_size);
    // What the store keeps can come close to the log itself (a log of other lines is kept
    // whole), so a log larger than the memory there is is refused before it is read.
    bool tooLarge = !MightHoldBytes(size);
    if (!tooLarge) {
        try {
            result.Analysis = AnalyzeStreamedLog(
                store, size,
                [fd](std::uint64_t offset, std::uint64_t length) {
                    return FileRangeReader(fd, offset, length);
                },
                language, recognition, options);
        } catch (const std::bad_alloc&) {
            tooLarge = true;
        } catch (const std::length_error&) {
            tooLarge = true;
        }
    }
    ::close(fd);
    if (tooLarge) {
        store.Reset(); // what was found before memory ran out is dropped
        result.Error = "The file is too large to open: " + path;
    } else if (result.Analysis.ReadFailed) {
        result.Error = "The file cannot be read: " + path;
    }
    store.LogFileLoaded = result.Error.empty();
    return result;
}

LogLineList FirstLogLines(const std::string& path, std::size_t count) {
    std::vector<std::string> lines;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0)
        return LogLineList();
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        LogLineReader reader(FileRangeReader(fd, 0, static_cast<std::uint64_t>(info.st_size)));
        while (lines.size() < count) {
            const auto line = reader.Next();
            if (!line)
                break;
            lines.emplace_back(*line);
        }
    }
    ::close(fd);
    return LogLineList::FromLines(lines);
}

} // namespace qla
