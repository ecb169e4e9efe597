#include "platform/OutputFile.h"

#include "testfile/FileIo.h"

#include <QFile>

namespace mirvane {

namespace {
std::string LocalName(const QString& path) { return QFile::encodeName(path).toStdString(); }
} // namespace

std::optional<QString> WriteOutputFile(const QString& path, const std::function<void(const ChunkSink&)>& produce)
{
    if (auto error = WriteFileReplacing(LocalName(path), produce))
        return QString::fromStdString(*error);
    return std::nullopt;
}

bool IsSameFile(const QString& a, const QString& b) { return IsSameFile(LocalName(a), LocalName(b)); }

} // namespace mirvane
