#pragma once
// Watches a folder for new pictures (.hdr and .pic, whatever their case) and
// reports each once it is completely written: a capture or an assembly writes
// a picture over some time, so a new file is taken only when its size has
// stayed the same, and above zero, from one look to the next.
//
// Files present when following starts, and files reported once, are not
// reported again; a picture that then turns out unreadable can be handed
// back with retry() and is looked at again until it settles anew.

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

class FolderFollower : public QObject {
    Q_OBJECT
public:
    explicit FolderFollower(QObject* parent = nullptr);

    // Starts watching `folder`; the names in `known` (full paths) are taken
    // as already seen. False when the folder cannot be watched.
    bool start(const QString& folder, const QStringList& known);
    void stop();
    bool following() const { return !folder_.isEmpty(); }
    // How long a new file's size must stay the same (milliseconds).
    void set_settle_interval(int ms) { timer_.setInterval(ms); }
    // Looks at `path` again, as if it had just appeared.
    void retry(const QString& path);
    // Looks at the folder now (the watcher's signal does it too).
    void scan();

    // True for a name this follower takes as a picture.
    static bool is_picture_name(const QString& name);

signals:
    void picture_ready(const QString& path);

private:
    void check_pending();

    QFileSystemWatcher watcher_;
    QTimer timer_;
    QString folder_;
    QSet<QString> seen_;
    QHash<QString, qint64> pending_;  // path -> size at the last look (-1: not yet looked at)
};
