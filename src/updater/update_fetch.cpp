// HTTP fetch of the update information file with Qt Network.
#include "update_fetch.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace qla::updater {

UpdateFetch::UpdateFetch(int transferTimeoutMs, QObject* parent)
    : QObject(parent), transferTimeoutMs_(transferTimeoutMs) {
    // Direct access: the update check never goes through a proxy.
    manager_.setProxy(QNetworkProxy::NoProxy);
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

    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, kAgentName);
    // A cached copy could hide a new release, so always ask the server and keep nothing.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(transferTimeoutMs_);

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
    reply->deleteLater();
    if (!tooLarge_)
        received_ += reply->readAll();

    QString error;
    if (tooLarge_)
        error = QStringLiteral("the update information is too large");
    else if (reply->error() != QNetworkReply::NoError)
        error = reply->errorString();
    if (!error.isEmpty()) {
        received_.clear();
        emit finished(false, QString(), error);
        return;
    }
    emit finished(true, QString::fromLocal8Bit(received_), QString());
}

} // namespace qla::updater
