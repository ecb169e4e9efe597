#pragma once
// Copies of unsaved work, so that nothing typed is lost when the editor is
// killed (a power cut, a crash). Each running editor keeps its own copy in the
// user's data folder ("recovery", the user's alone): the test-file writer's
// bytes, and beside them the original file's path and the time. While it runs,
// the editor holds a lock on a file of its own there, which the system
// releases when the process ends however it ends; a copy whose lock is free
// is offered at the next start, whatever process now has its editor's number.
#include <QString>

#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvane {

class RecoveryStore {
public:
    struct Copy {
        QString CopyFile;     // the copy's bytes
        QString DocumentFile; // where the work belongs ("Новый.q" for a new test)
        QString SavedAt;      // "dd.MM.yyyy hh:mm"
    };

    // `instance` names this editor's copy (its process id, with a suffix when
    // a dead editor's copy has that name); `isRunning` tells whether the
    // editor of a copy left without a lock (by an earlier version) still runs.
    RecoveryStore(QString folder, qint64 instance, std::function<bool(qint64)> isRunning);
    ~RecoveryStore();

    // The default: the data folder's "recovery", this process, and a process
    // check.
    static QString DefaultFolder();
    static bool ProcessRuns(qint64 pid);

    // The hash by which copies are compared (FNV-1a, fed chunk by chunk).
    static std::uint64_t Hash(std::string_view bytes, std::uint64_t hash = 14695981039346656037ull);

    // Keeps `bytes` as the copy of the work on `documentFile`, unless they are
    // what is saved or copied already. The writing happens in the background.
    void Keep(std::string bytes, const QString& documentFile);
    // The document as it now stands on disk (saved, or just opened): no copy
    // is kept until it changes. `hash` is Hash() of its bytes, or 0 for "as
    // the next copy finds it".
    void Saved(std::uint64_t hash);
    // Waits for a copy being written.
    void Flush();
    // True when the last copy asked for could not be written (it is tried
    // again at the next Keep).
    bool CopyFailed() const;
    // The reason of a failed copy, once for each run of failures; nothing
    // while a copy is being written or when the last one was written.
    std::optional<QString> NewFailure();
    // The work is saved or given up: no copy is left.
    void Discard();

    // Copies left by editors that no longer run, newest first.
    std::vector<Copy> Orphans() const;
    static void Remove(const Copy& copy);

private:
    QString CopyPath(const QString& id) const;
    bool EditorGone(const QString& id) const;
    QString folder_;
    QString id_;
    int lock_ = -1;
    std::function<bool(qint64)> isRunning_;
    std::uint64_t lastHash_ = 0;
    bool baselinePending_ = false;
    QString failure_; // written by the background writing only
    bool failureReported_ = false;
    std::future<void> writing_;
};

} // namespace mirvane
