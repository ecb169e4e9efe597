#pragma once
// Scripted stand-ins for the platform services: they answer from a script,
// record every message, and never block.
#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/HelpViewer.h"
#include "platform/Registry.h"
#include "platform/Launcher.h"
#include "platform/Platform.h"
#include "platform/Printing.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"

#include <QBuffer>
#include <QMap>
#include <QPdfWriter>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

#include <ostream>

// Readable Qt strings in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace mirvane::testing {

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString Text;
        QString Caption;
        enum Kind { Notice, Information, YesNo, YesNoCancel, SaveOrCancel } Kind;
    };

    void Notice(const QString& text, const QString& caption) override { shown.push_back({text, caption, Shown::Notice}); }
    void Inform(const QString& text, const QString& caption) override
    {
        shown.push_back({text, caption, Shown::Information});
    }
    Answer AskYesNo(const QString& text, const QString& caption) override
    {
        shown.push_back({text, caption, Shown::YesNo});
        return Next();
    }
    Answer AskSaveOrCancel(const QString& text, const QString& caption) override
    {
        shown.push_back({text, caption, Shown::SaveOrCancel});
        return Next() == Answer::Yes ? Answer::Yes : Answer::Cancel;
    }
    Answer AskYesNoCancel(const QString& text, const QString& caption) override
    {
        shown.push_back({text, caption, Shown::YesNoCancel});
        return Next();
    }

    QStringList Texts() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out << s.Text;
        return out;
    }
    void Clear() { shown.clear(); }

    std::deque<Answer> answers; // an empty script answers No
    std::vector<Shown> shown;

private:
    Answer Next()
    {
        if (answers.empty())
            return Answer::No;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

class ScriptedFileDialogs : public FileDialogs {
public:
    struct Shown {
        bool Save;
        QString Title;
        QString Filter;
        QString Suffix;
        QString Offered; // the path the dialog starts with
    };

    std::deque<std::optional<QString>> answers; // nothing scripted: cancelled
    std::vector<Shown> shown;

protected:
    std::optional<QString> Ask(bool save, const QString& title, const QString& filter, const QString& suffix,
                               const QString& start) override
    {
        shown.push_back({save, title, filter, suffix, start});
        if (answers.empty())
            return std::nullopt;
        const bool chosen = answers.front().has_value();
        const QString path = answers.front().value_or(QString());
        answers.pop_front();
        if (!chosen)
            return std::nullopt;
        return path;
    }
};

class MemorySettings : public Settings {
public:
    QString Read(const QString& section, const QString& key, const QString& fallback) override
    {
        return values.value(section + QLatin1Char('/') + key, fallback);
    }
    void Write(const QString& section, const QString& key, const QString& value) override
    {
        values[section + QLatin1Char('/') + key] = value;
    }
    QMap<QString, QString> values;
};

class RecordingLauncher : public Launcher {
public:
    struct Started {
        QString Program;
        QStringList Arguments;
        QString Folder;
    };
    bool Start(const QString& program, const QStringList& arguments, const QString& folder) override
    {
        started.push_back({program, arguments, folder});
        return succeed;
    }
    std::vector<Started> started;
    bool succeed = true;
};

class MemoryClipboard : public Clipboard {
public:
    QString Text() const override { return text; }
    void SetText(const QString& value) override { text = value; }
    QString text;
};

class RecordingHelpViewer : public HelpViewer {
public:
    void ShowTopic(const QString& folder, const QString& topic) override { shown.push_back({folder, topic}); }
    std::vector<std::pair<QString, QString>> shown;
};

class ScriptedRegistry : public Registry {
public:
    std::optional<QString> SystemInfoTool() override { return tool; }
    std::optional<QString> tool;
};

// Records what was printed: the pages are painted into a PDF in memory.
class RecordingPrinting : public Printing {
public:
    bool Print(QWidget*, const PagePainter& paint) override
    {
        ++printed;
        Paint(paint);
        return answerPrint;
    }
    void Preview(QWidget*, const PagePainter& paint) override
    {
        ++previewed;
        Paint(paint);
    }
    int printed = 0;
    int previewed = 0;
    bool answerPrint = true;
    QByteArray lastPdf;

private:
    void Paint(const PagePainter& paint)
    {
        lastPdf.clear();
        QBuffer buffer(&lastPdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        paint(writer);
    }
};

struct FakePlatform {
    ScriptedPrompter prompter;
    ScriptedFileDialogs fileDialogs;
    MemorySettings settings;
    RecordingLauncher launcher;
    MemoryClipboard clipboard;
    RecordingHelpViewer helpViewer;
    ScriptedRegistry registry;
    QString recoveryFolder; // empty: the editor keeps no copies
    RecordingPrinting printing;
    // None: spelling is off; the spelling tests give a reader.
    std::function<std::unique_ptr<SpellChecker>()> dictionaries;
    Platform Services()
    {
        return {&prompter,   &fileDialogs, &settings, &launcher, &clipboard, &helpViewer, &registry, recoveryFolder,
                &printing, dictionaries};
    }
};

} // namespace mirvane::testing
