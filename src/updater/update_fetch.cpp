// HTTP fetch of the update information file with Qt Network.
#include "update_fetch.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace qla::updater {

UpdateFetch::UpdateFetch(int deadlineMs, QObject* parent)
    : QObject(parent), deadlineMs_(deadlineMs) {
    // Direct access: the update check never goes through a proxy.
    manager_.setProxy(QNetworkProxy::NoProxy);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        deadlinePassed_ = true;
        abort();
    });
}

UpdateFetch::~UpdateFetch() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void UpdateFetch::start(const QUrl& address) {
    abort();
    received_.clear();
    tooLarge_ = false;
    deadlinePassed_ = false;

    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, kAgentName);
    // A cached copy could hide a new release, so always ask the server and keep nothing.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // Not Qt's transfer timeout: it only measures silence and starts again on each redirect,
    // so a dripping server or a redirect to a silent one would hold the check for hours.
    deadline_.start(deadlineMs_);
    reply_ = manager_.get(request);
    connect(reply_, &QNetworkReply::readyRead, this, &UpdateFetch::onReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &UpdateFetch::onFinished);
}

void UpdateFetch::abort() {
    if (reply_)
        reply_->abort(); // emits finished() right away, which reports the failure
}

void UpdateFetch::onReadyRead() {
    received_ += reply_->readAll();
    if (received_.size() > kMaxBytes) {
        tooLarge_ = true;
        reply_->abort();
    }
}

void UpdateFetch::onFinished() {
    QNetworkReply* reply = reply_;
    reply_.clear();
    if (!reply)
        return;
    deadline_.stop();
    reply->deleteLater();
    if (!tooLarge_)
        received_ += reply->readAll();

    QString error;
    if (tooLarge_)
        error = QStringLiteral("the update information is too large");
    else if (deadlinePassed_)
        error = deadlineMs_ % 1000 == 0
                    ? QStringLiteral("no answer within %1 seconds").arg(deadlineMs_ / 1000)
                    : QStringLiteral("no answer within %1 ms").arg(deadlineMs_);
    else if (reply->error() != QNetworkReply::NoError)
        error = reply->errorString();
    if (!error.isEmpty()) {
        received_.clear();
        emit finished(false, QString(), error, tooLarge_);
        return;
    }
    emit finished(true, QString::fromLocal8Bit(received_), QString(), false);
}

} // namespace qla::updater
