// Long work on another thread while the window keeps painting (a busy bar moves, the window is
// redrawn when uncovered). User input waits until the work is done, so nothing can change the
// store under it.
#pragma once

#include <QEventLoop>
#include <QMetaObject>

#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace qla::ui {

template <class Work> auto RunBesideWindow(Work work) -> decltype(work()) {
    using Result = decltype(work());
    std::optional<Result> result;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            result.emplace(work());
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: delivered by loop.exec() even when the work ends before the loop starts.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return std::move(*result);
}

} // namespace qla::ui
