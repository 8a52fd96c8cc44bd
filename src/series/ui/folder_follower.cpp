#include "series/ui/folder_follower.h"

#include <QDir>
#include <QFileInfo>

#include "series/series_run.h"

FolderFollower::FolderFollower(QObject* parent) : QObject(parent) {
    timer_.setInterval(1000);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderFollower::scan);
    connect(&timer_, &QTimer::timeout, this, &FolderFollower::check_pending);
}

bool FolderFollower::is_picture_name(const QString& name) {
    return is_series_picture_name(name.toStdString());
}

bool FolderFollower::start(const QString& folder, const QStringList& known) {
    stop();
    if (!watcher_.addPath(folder)) return false;
    folder_ = folder;
    for (const QString& path : known) seen_.insert(QFileInfo(path).absoluteFilePath());
    // What arrived between the listing and now is new.
    scan();
    return true;
}

void FolderFollower::stop() {
    if (!folder_.isEmpty()) watcher_.removePath(folder_);
    folder_.clear();
    seen_.clear();
    pending_.clear();
    timer_.stop();
}

void FolderFollower::retry(const QString& path) {
    if (!following()) return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    seen_.remove(absolute);
    pending_.insert(absolute, -1);
    timer_.start();
}

void FolderFollower::scan() {
    if (!following()) return;
    const QFileInfoList entries = QDir(folder_).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString path = entry.absoluteFilePath();
        if (!is_picture_name(entry.fileName()) || seen_.contains(path) || pending_.contains(path)) continue;
        pending_.insert(path, -1);
    }
    if (!pending_.isEmpty() && !timer_.isActive()) timer_.start();
}

void FolderFollower::check_pending() {
    QStringList ready;
    for (auto it = pending_.begin(); it != pending_.end();) {
        const QFileInfo info(it.key());
        if (!info.exists()) {  // moved away or renamed before it settled
            it = pending_.erase(it);
            continue;
        }
        const qint64 size = info.size();
        if (size > 0 && size == it.value()) {
            ready << it.key();
            seen_.insert(it.key());
            it = pending_.erase(it);
            continue;
        }
        it.value() = size;
        ++it;
    }
    if (pending_.isEmpty()) timer_.stop();
    ready.sort();
    for (const QString& path : ready) emit picture_ready(path);
}
