#pragma once
// A main window on fakes, with helpers to load a test and to click the tree
// as a user would.
#include "FakePlatform.h"
#include "TestSupport.h"

#include "document/TestDocument.h"
#include "tree/StructureTree.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/Twips.h"
#include "mainwindow/MainWindow.h"
#include "testfile/FileIo.h"

#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace mirvane::testing {

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetKeyNumbers();
        window = std::make_unique<MainWindow>(platform.Services());
        window->resize(TwipsToPixels(9000), TwipsToPixels(8000));
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override { window.reset(); }

    // Shows a test read from the given lines (at least three command lines).
    void Open(std::initializer_list<std::string_view> lines)
    {
        auto loaded = Load(lines);
        ASSERT_TRUE(loaded.isTestFile);
        window->ShowDocument(std::make_unique<TestDocument>(std::move(loaded.test)));
    }

    QTreeWidgetItem* Node(const std::string& key)
    {
        QTreeWidget* tree = window->Tree().Widget();
        QTreeWidgetItemIterator it(tree);
        for (; *it; ++it) {
            if ((*it)->data(0, Qt::UserRole).toString().toStdString() == key)
                return *it;
        }
        return nullptr;
    }

    // A left click on the node, as the mouse does it.
    void Click(const std::string& key)
    {
        QTreeWidget* tree = window->Tree().Widget();
        if (!Node(key) && window->Tree().Contains(key))
            window->Tree().Select(key); // a division of a large test opened first
        QTreeWidgetItem* item = Node(key);
        ASSERT_NE(item, nullptr) << key;
        if (item->parent())
            item->parent()->setExpanded(true);
        tree->scrollToItem(item);
        QApplication::processEvents();
        const QRect rect = tree->visualItemRect(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    }

    // The division nodes after "mrk" and their question nodes, as the tree
    // shows them.
    DocumentOrder TreeOrder()
    {
        DocumentOrder order;
        QTreeWidget* tree = window->Tree().Widget();
        for (int i = 2; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem* division = tree->topLevelItem(i);
            DocumentOrder::DivisionEntry entry{division->data(0, Qt::UserRole).toString().toStdString(), {}};
            for (int j = 0; j < division->childCount(); ++j)
                entry.QuestionKeys.push_back(division->child(j)->data(0, Qt::UserRole).toString().toStdString());
            order.Divisions.push_back(std::move(entry));
        }
        return order;
    }

    // The bytes of a file the editor wrote.
    static std::string Bytes(const QString& path)
    {
        std::string bytes;
        EXPECT_FALSE(ReadFileBytes(path.toStdString(), bytes).has_value()) << path.toStdString();
        return bytes;
    }

    // Types the text into the box with the focus there, a key per character
    // (Cyrillic too, which QTest::keyClicks cannot type).
    static void Type(QWidget* box, const QString& text)
    {
        box->setFocus();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    void Key(int key) { QTest::keyClick(window->Tree().Widget(), static_cast<Qt::Key>(key)); }

    const std::string& Current() const { return window->State().CurrentKey; }
    mirvane::Test& Doc() { return window->State().Document->Model(); }
    TestDocument& Document() { return *window->State().Document; }
    EditPanels& P() { return window->Panels(); }

    FakePlatform platform;
    std::unique_ptr<MainWindow> window;
};

} // namespace mirvane::testing
