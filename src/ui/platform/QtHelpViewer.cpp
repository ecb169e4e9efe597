#include "platform/QtHelpViewer.h"

#include <QDir>
#include <QFile>
#include <QDirIterator>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace mirvane {

class HelpWindow : public QWidget {
public:
    HelpWindow(QWidget* parent, const QString& folder) : QWidget(parent, Qt::Window), folder_(folder)
    {
        setObjectName(QStringLiteral("HelpWindow"));
        setWindowTitle(QStringLiteral("Справка Mirvane"));
        resize(820, 560);
        auto* back = new QToolButton(this);
        back->setArrowType(Qt::LeftArrow);
        back->setToolTip(QStringLiteral("Назад"));
        auto* forward = new QToolButton(this);
        forward->setArrowType(Qt::RightArrow);
        forward->setToolTip(QStringLiteral("Вперёд"));
        search_ = new QLineEdit(this);
        search_->setPlaceholderText(QStringLiteral("Поиск в справке"));
        search_->setClearButtonEnabled(true);
        contents_ = new QListWidget(this);
        browser_ = new QTextBrowser(this);
        browser_->setSearchPaths({folder});
        browser_->setOpenExternalLinks(true);

        auto* bar = new QHBoxLayout;
        bar->addWidget(back);
        bar->addWidget(forward);
        bar->addWidget(search_, 1);
        auto* split = new QSplitter(this);
        split->addWidget(contents_);
        split->addWidget(browser_);
        split->setStretchFactor(1, 1);
        split->setSizes({280, 540});
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(bar);
        layout->addWidget(split, 1);

        connect(back, &QToolButton::clicked, browser_, &QTextBrowser::backward);
        connect(forward, &QToolButton::clicked, browser_, &QTextBrowser::forward);
        connect(contents_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
            browser_->setSource(QUrl::fromLocalFile(folder_ + QLatin1Char('/') + item->data(Qt::UserRole).toString()));
        });
        connect(contents_, &QListWidget::itemClicked, contents_, &QListWidget::itemActivated);
        connect(search_, &QLineEdit::textChanged, this, &HelpWindow::Filter);
        FillContents();
    }

    void Show(const QString& topic)
    {
        browser_->setSource(QUrl::fromLocalFile(folder_ + QLatin1Char('/') + topic));
        show();
        raise();
        activateWindow();
    }

private:
    // Every page, by its title, the index first.
    void FillContents()
    {
        QStringList pages = QDir(folder_).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
        pages.removeAll(QStringLiteral("index.htm"));
        pages.prepend(QStringLiteral("index.htm"));
        for (const QString& page : pages) {
            QFile file(folder_ + QLatin1Char('/') + page);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString html = QString::fromUtf8(file.readAll());
            QTextDocument document;
            document.setHtml(html);
            QString title = document.metaInformation(QTextDocument::DocumentTitle);
            auto* item = new QListWidgetItem(title.isEmpty() ? page : title, contents_);
            item->setData(Qt::UserRole, page);
            item->setData(Qt::UserRole + 1, document.toPlainText());
        }
    }

    // The contents keep the pages that hold every word searched for.
    void Filter(const QString& text)
    {
        const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        for (int i = 0; i < contents_->count(); ++i) {
            QListWidgetItem* item = contents_->item(i);
            const QString body = item->data(Qt::UserRole + 1).toString();
            bool match = true;
            for (const QString& word : words)
                match = match && body.contains(word, Qt::CaseInsensitive);
            item->setHidden(!match);
        }
        if (!words.isEmpty())
            browser_->find(words.first());
    }

    QString folder_;
    QListWidget* contents_;
    QTextBrowser* browser_;
    QLineEdit* search_;
};

void QtHelpViewer::ShowTopic(const QString& folder, const QString& topic)
{
    if (window_ && window_->property("folder").toString() != folder)
        delete window_;
    if (!window_) {
        window_ = new HelpWindow(parent_, folder);
        window_->setProperty("folder", folder);
        window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    window_->Show(topic);
}

} // namespace mirvane
