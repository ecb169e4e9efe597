#include "editor/RecoveryStore.h"

#include "testfile/FileIo.h"
#include "testfile/RecoveryInfo.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace mirvane {

namespace {
const QString kPrefix = QStringLiteral("work-");
const QString kNewDocument = QStringLiteral("Новый.q");
std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The copies are the user's unsaved work, as private as the user's own
// files may be: the folder is the user's alone, from its creation on.
void MakePrivateFolder(const QString& folder)
{
#ifndef _WIN32
    QDir().mkpath(QFileInfo(folder).absolutePath());
    if (::mkdir(Local(folder).c_str(), 0700) != 0)
        ::chmod(Local(folder).c_str(), 0700); // made by an earlier version
#else
    QDir().mkpath(folder);
#endif
}

// The lock file of a copy: hidden, beside it.
QString LockPath(const QString& copyFile)
{
    const QFileInfo copy(copyFile);
    return copy.path() + QStringLiteral("/.") + copy.completeBaseName() + QStringLiteral(".lock");
}

// The copy's name between "work-" and ".q".
QString CopyId(const QString& fileName) { return fileName.mid(kPrefix.size(), fileName.size() - kPrefix.size() - 2); }

QByteArray InfoBytes(const QString& documentFile, const QDateTime& at)
{
    return QByteArray::fromStdString(
        RecoveryInfoBytes({documentFile.toStdString(), at.toString(Qt::ISODate).toStdString()}));
}

std::pair<QString, QDateTime> ReadInfo(const QString& infoFile)
{
    QFile file(infoFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const RecoveryInfo info = ReadRecoveryInfo(file.readAll().toStdString());
    return {QString::fromStdString(info.File), QDateTime::fromString(QString::fromStdString(info.SavedAt), Qt::ISODate)};
}
} // namespace

RecoveryStore::RecoveryStore(QString folder, qint64 instance, std::function<bool(qint64)> isRunning)
    : folder_(std::move(folder)), isRunning_(std::move(isRunning))
{
    MakePrivateFolder(folder_);
    // A dead editor's copy may bear this process's number: it is left for
    // the offer, and this editor takes the next free name.
    for (int n = 1; n <= 100; ++n) {
        id_ = n == 1 ? QString::number(instance) : QStringLiteral("%1-%2").arg(instance).arg(n);
        if (QFileInfo::exists(CopyPath(id_)) || QFileInfo::exists(CopyPath(id_) + QStringLiteral(".info")))
            continue;
#ifndef _WIN32
        lock_ = ::open(Local(LockPath(CopyPath(id_))).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock_ < 0)
            break; // no locks here: copies are judged by process number
        if (::flock(lock_, LOCK_EX | LOCK_NB) == 0)
            break;
        ::close(lock_);
        lock_ = -1;
#else
        break;
#endif
    }
}

RecoveryStore::~RecoveryStore()
{
    Flush();
#ifndef _WIN32
    if (lock_ >= 0) {
        ::unlink(Local(LockPath(CopyPath(id_))).c_str());
        ::close(lock_);
    }
#endif
}

QString RecoveryStore::DefaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/recovery");
}

bool RecoveryStore::ProcessRuns(qint64 pid)
{
#ifndef _WIN32
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
    (void)pid;
    return false;
#endif
}

QString RecoveryStore::CopyPath(const QString& id) const
{
    return folder_ + QLatin1Char('/') + kPrefix + id + QStringLiteral(".q");
}

bool RecoveryStore::EditorGone(const QString& id) const
{
    if (id == id_)
        return false;
#ifndef _WIN32
    const std::string lock = Local(LockPath(CopyPath(id)));
    const int fd = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        // Free exactly when the process that held it has ended.
        const bool gone = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
        ::close(fd);
        return gone;
    }
#endif
    bool isNumber = false;
    const qint64 pid = id.toLongLong(&isNumber);
    return !isNumber || !isRunning_(pid);
}

std::uint64_t RecoveryStore::Hash(std::string_view bytes, std::uint64_t hash)
{
    for (unsigned char b : bytes) {
        hash ^= b;
        hash *= 1099511628211ull;
    }
    return hash;
}

void RecoveryStore::Saved(std::uint64_t hash)
{
    Discard();
    lastHash_ = hash;
    baselinePending_ = hash == 0;
}

void RecoveryStore::Keep(std::string bytes, const QString& documentFile)
{
    // Everything but taking the bytes happens in the background, so that the
    // user's typing never waits for the copy. One copy is written at a time;
    // the fields below are touched only while no writing runs.
    Flush();
    MakePrivateFolder(folder_);
    const QString path = CopyPath(id_);
    const QByteArray info = InfoBytes(documentFile, QDateTime::currentDateTime());
    writing_ = std::async(std::launch::async, [this, path, info, bytes = std::move(bytes)] {
        const std::uint64_t hash = Hash(bytes);
        if (baselinePending_) {
            baselinePending_ = false;
            lastHash_ = hash;
        }
        if (hash == lastHash_)
            return; // nothing changed since the last save or copy
        // The copy first, then the file that names it: a half-written copy
        // is never offered. Each replaces its predecessor only when whole.
        auto error = WriteFileReplacing(Local(path), bytes, FileAccess::OwnerOnly);
        if (!error)
            error = WriteFileReplacing(Local(path + QStringLiteral(".info")),
                                       std::string_view(info.constData(), static_cast<std::size_t>(info.size())),
                                       FileAccess::OwnerOnly);
        if (error) {
            failure_ = QString::fromStdString(*error); // the same bytes are tried again next time
            return;
        }
        lastHash_ = hash;
        failure_.clear();
    });
}

void RecoveryStore::Flush()
{
    if (writing_.valid())
        writing_.wait();
}

bool RecoveryStore::CopyFailed() const
{
    if (writing_.valid() && writing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return false;
    return !failure_.isEmpty();
}

std::optional<QString> RecoveryStore::NewFailure()
{
    if (!CopyFailed()) {
        if (!writing_.valid() || writing_.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
            failureReported_ = false;
        return std::nullopt;
    }
    if (failureReported_)
        return std::nullopt;
    failureReported_ = true;
    return failure_;
}

void RecoveryStore::Discard()
{
    Flush();
    failure_.clear();
    QFile::remove(CopyPath(id_) + QStringLiteral(".info"));
    QFile::remove(CopyPath(id_));
}

std::vector<RecoveryStore::Copy> RecoveryStore::Orphans() const
{
    std::vector<std::pair<QDateTime, Copy>> found;
    const QStringList copies = QDir(folder_).entryList({kPrefix + QStringLiteral("*.q")}, QDir::Files);
    for (const QString& name : copies) {
        if (!EditorGone(CopyId(name)))
            continue; // another editor's work while it runs
        // Every copy is offered, even one whose info file is lost or torn.
        const QString copy = folder_ + QLatin1Char('/') + name;
        auto [documentFile, at] = ReadInfo(copy + QStringLiteral(".info"));
        if (documentFile.isEmpty())
            documentFile = kNewDocument;
        if (!at.isValid())
            at = QFileInfo(copy).lastModified();
        found.push_back({at, {copy, documentFile, QLocale(QLocale::Russian).toString(at, QStringLiteral("dd.MM.yyyy hh:mm"))}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<Copy> result;
    for (auto& f : found)
        result.push_back(std::move(f.second));
    return result;
}

void RecoveryStore::Remove(const Copy& copy)
{
    QFile::remove(copy.CopyFile + QStringLiteral(".info"));
    QFile::remove(copy.CopyFile);
    QFile::remove(LockPath(copy.CopyFile));
}

} // namespace mirvane
