#pragma once
// One batch per picture folder. Two batches writing into one folder would
// mix their step files (both numbering from 1-NAME) and both report success,
// so a batch holds an advisory lock (flock) on a lock file in the folder for
// its whole run, and a second one is refused with the first one's name.
//
// The lock file holds who took it: the process number, what it is and when
// it started, so that the refusal can tell the user which run to wait for.
// It is removed when the run ends. The kernel drops the lock of a run that
// was killed; the file it leaves is then taken over by the next run.
//
// The jobs that `batch --emit-jobs` prints (one picture each, run side by
// side by another tool) share the folder's lock with each other and hold
// one of their own for their picture; a whole-folder batch excludes them
// all, and they exclude it.

#include <string>

inline constexpr const char* folder_lock_name = ".candelux-batch.lock";

class FolderLock {
public:
    // Takes the lock of `folder` for `holder` (what the refusal of a second
    // run names, e.g. "candelux-cli batch run.seq pictures"). With `picture`,
    // the lock of one picture's job instead of the whole folder's.
    FolderLock(const std::string& folder, const std::string& holder, const std::string& picture = "");
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool held() const { return refusal_.empty(); }
    // Why the lock could not be taken: another run holds it (named), or the
    // lock file could not be made.
    const std::string& refusal() const { return refusal_; }

private:
    struct Taken {
        std::string path;
        int fd = -1;
        bool shared = false;
    };
    bool take(Taken& into, const std::string& path, bool shared, const std::string& folder,
              const std::string& holder);
    static void release(const Taken& taken);

    Taken folder_;
    Taken picture_;
    std::string refusal_;
};
