#pragma once
// Copies of unsaved work, so that nothing typed is lost when the editor is
// killed (a power cut, a crash). Each running editor keeps its own copy in the
// user's data folder ("recovery"): the test-file writer's bytes, and beside
// them the original file's path and the time. A copy whose editor no longer
// runs is offered at the next start.
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

    // `instance` names this editor's copy (its process id); `isRunning`
    // tells whether the editor of another copy still runs.
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
    // The work is saved or given up: no copy is left.
    void Discard();

    // Copies left by editors that no longer run, newest first.
    std::vector<Copy> Orphans() const;
    static void Remove(const Copy& copy);

private:
    QString CopyPath(qint64 instance) const;
    QString folder_;
    qint64 instance_;
    std::function<bool(qint64)> isRunning_;
    std::uint64_t lastHash_ = 0;
    bool baselinePending_ = false;
    std::future<void> writing_;
};

} // namespace mirvane
