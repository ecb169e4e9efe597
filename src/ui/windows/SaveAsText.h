#pragma once
// The window "Сохранить как текст": what to write (questions only, with the
// right answer, all answers, all answers with the right one marked), the
// code page and the file name. It is modal over the main window and starts
// with its defaults every time it opens.
#include "export/TextExport.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace mirvane {

class CodePage;
class FileDialogs;
class Prompter;

namespace text_export_text {
inline const QString kCaption = QStringLiteral("Сохранить как текст");
inline const QString kDos = QStringLiteral("OEM - Кодировка DOS");
inline const QString kWindows = QStringLiteral("ANSI - Кодировка WINDOWS");
inline const QString kUtf8 = QStringLiteral("UTF-8 (Linux)");
inline const QString kFilter = QStringLiteral("Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*");
inline const QString kNoFileName = QStringLiteral("Введите имя файла!!!");
// The four contents, in the order of TextContent; the print window offers
// them too.
inline const QString kContents[4] = {
    QStringLiteral("&Только вопросы"),
    QStringLiteral("Вопросы и &правильные ответы"),
    QStringLiteral("Вопросы и &все варианты ответов"),
    QStringLiteral("Вопросы и все варианты ответов с п&ометкой правильных"),
};
} // namespace text_export_text

class SaveAsText : public QDialog {
    Q_OBJECT
public:
    // Writes the test for the choices into the file; nothing on success,
    // else the message that says why not.
    using Writer = std::function<std::optional<QString>(const QString& path, TextContent content, const CodePage& page)>;

    // The path a save dialog of that title offers for a file of that suffix.
    using Offer = std::function<QString(const QString& title, const QString& suffix)>;

    // `commitPanel` stores what is typed in the main window's panel; saving
    // runs it first.
    SaveAsText(QWidget* mainWindow, FileDialogs& dialogs, Offer offer, Prompter& prompter,
               std::function<void()> commitPanel, Writer write);

    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 4> Option1{};
    QComboBox* Combo1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* TextFileName = nullptr;
    QPushButton* CommandOpen = nullptr;
    QPushButton* CommandSave = nullptr;
    QPushButton* CommandCancel = nullptr;

    TextContent Content() const;
    const CodePage& ChosenPage() const;

    void ChooseFile();
    void SaveText();

private:
    FileDialogs& dialogs_;
    Offer offer_;
    Prompter& prompter_;
    std::function<void()> commitPanel_;
    Writer write_;
    QButtonGroup* options_ = nullptr;
};

} // namespace mirvane
