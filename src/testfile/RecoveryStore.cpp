#include "testfile/RecoveryStore.h"

#include "testfile/FileIo.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>

#ifndef _WIN32
#include <sys/types.h>
#include <unistd.h>
#endif

namespace mirvane {

namespace {
const QString kPrefix = QStringLiteral("work-");
std::string Local(const QString& path) { return QFile::encodeName(path).toStdString(); }
} // namespace

RecoveryStore::RecoveryStore(QString folder, qint64 instance, std::function<bool(qint64)> isRunning)
    : folder_(std::move(folder)), instance_(instance), isRunning_(std::move(isRunning))
{
}

RecoveryStore::~RecoveryStore() { Flush(); }

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

QString RecoveryStore::CopyPath(qint64 instance) const
{
    return folder_ + QLatin1Char('/') + kPrefix + QString::number(instance) + QStringLiteral(".q");
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
    QDir().mkpath(folder_);
    const QString path = CopyPath(instance_);
    const QString info =
        QStringLiteral("%1\n%2\n").arg(documentFile, QDateTime::currentDateTime().toString(Qt::ISODate));
    writing_ = std::async(std::launch::async, [this, path, info, bytes = std::move(bytes)] {
        const std::uint64_t hash = Hash(bytes);
        if (baselinePending_) {
            baselinePending_ = false;
            lastHash_ = hash;
        }
        if (hash == lastHash_)
            return; // nothing changed since the last save or copy
        lastHash_ = hash;
        // The copy first, then the line that names it: a half-written copy
        // is never offered.
        if (!WriteFileReplacing(Local(path), bytes))
            WriteFileReplacing(Local(path + QStringLiteral(".info")), info.toStdString());
    });
}

void RecoveryStore::Flush()
{
    if (writing_.valid())
        writing_.wait();
}

void RecoveryStore::Discard()
{
    Flush();
    QFile::remove(CopyPath(instance_) + QStringLiteral(".info"));
    QFile::remove(CopyPath(instance_));
}

std::vector<RecoveryStore::Copy> RecoveryStore::Orphans() const
{
    std::vector<std::pair<QDateTime, Copy>> found;
    const QStringList infos = QDir(folder_).entryList({kPrefix + QStringLiteral("*.q.info")}, QDir::Files);
    for (const QString& name : infos) {
        bool ok = false;
        const qint64 owner = name.mid(kPrefix.size(), name.size() - kPrefix.size() - 7).toLongLong(&ok);
        if (!ok || owner == instance_ || isRunning_(owner))
            continue; // another editor's work while it runs
        QFile info(folder_ + QLatin1Char('/') + name);
        if (!info.open(QIODevice::ReadOnly))
            continue;
        const QStringList lines = QString::fromUtf8(info.readAll()).split(QLatin1Char('\n'));
        const QString copy = CopyPath(owner);
        if (lines.size() < 2 || !QFileInfo::exists(copy))
            continue;
        const QDateTime at = QDateTime::fromString(lines[1], Qt::ISODate);
        found.push_back({at, {copy, lines[0], QLocale(QLocale::Russian).toString(at, QStringLiteral("dd.MM.yyyy hh:mm"))}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<Copy> copies;
    for (auto& f : found)
        copies.push_back(std::move(f.second));
    return copies;
}

void RecoveryStore::Remove(const Copy& copy)
{
    QFile::remove(copy.CopyFile + QStringLiteral(".info"));
    QFile::remove(copy.CopyFile);
}

} // namespace mirvane
