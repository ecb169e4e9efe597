#pragma once
// A main window on fakes, with helpers to load a test and to click the tree
// as a user would.
#include "FakePlatform.h"
#include "WindowParts.h"
#include "TestSupport.h"

#include "document/TestDocument.h"
#include "tree/StructureTree.h"
#include "mainwindow/EditPanels.h"
#include "mainwindow/Twips.h"
#include "mainwindow/MainWindow.h"
#include "testfile/FileIo.h"

#include <QTest>
#include <QAbstractItemModel>
#include <QPersistentModelIndex>
#include <QTreeView>

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

    // A row of the tree as a test looks at it.
    struct TreeNode {
        QTreeView* view;
        QPersistentModelIndex at;
        const TreeNode* operator->() const { return this; }
        explicit operator bool() const { return at.isValid(); }
        QString text(int) const { return at.data().toString(); }
        std::string key() const { return at.data(Qt::UserRole).toString().toStdString(); }
        bool isExpanded() const { return view->isExpanded(at); }
        void setExpanded(bool expanded) const { view->setExpanded(at, expanded); }
        int childCount() const { return view->model()->rowCount(at); }
        TreeNode child(int row) const { return {view, view->model()->index(row, 0, at)}; }
    };

    // The node's row as the tree has made it so far: a question of a
    // division never opened has none.
    TreeNode Node(const std::string& key)
    {
        QTreeView* tree = Parts(*window).Tree().Widget();
        QAbstractItemModel* model = tree->model();
        for (int i = 0; i < model->rowCount(); ++i) {
            const TreeNode top{tree, model->index(i, 0)};
            if (top.key() == key)
                return top;
            for (int j = 0; j < top.childCount(); ++j)
                if (top.child(j).key() == key)
                    return top.child(j);
        }
        return {tree, {}};
    }

    // A left click on the node, as the mouse does it (with Ctrl or Shift
    // held, when given).
    void Click(const std::string& key, Qt::KeyboardModifiers modifiers = {})
    {
        QTreeView* tree = Parts(*window).Tree().Widget();
        const QModelIndex at = Parts(*window).Tree().Index(key); // a division of a large test opened first
        ASSERT_TRUE(at.isValid()) << key;
        if (at.parent().isValid())
            tree->expand(at.parent());
        tree->scrollTo(at);
        QApplication::processEvents();
        const QRect rect = tree->visualRect(at);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    // The division nodes after "mrk" and their question nodes, as the tree
    // shows them (every division opened).
    DocumentOrder TreeOrder()
    {
        DocumentOrder order;
        QAbstractItemModel* model = Parts(*window).Tree().Widget()->model();
        for (int i = 2; i < model->rowCount(); ++i) {
            const QModelIndex division = model->index(i, 0);
            if (model->canFetchMore(division))
                model->fetchMore(division);
            DocumentOrder::DivisionEntry entry{division.data(Qt::UserRole).toString().toStdString(), {}};
            for (int j = 0; j < model->rowCount(division); ++j)
                entry.QuestionKeys.push_back(model->index(j, 0, division).data(Qt::UserRole).toString().toStdString());
            order.Divisions.push_back(std::move(entry));
        }
        return order;
    }

    // Whether the tree shows the document's order (every division opened).
    bool TreeFollowsDocument()
    {
        const DocumentOrder shown = TreeOrder();
        const auto& order = Document().Order().Divisions;
        if (shown.Divisions.size() != order.size())
            return false;
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (shown.Divisions[i].Key != order[i].Key || shown.Divisions[i].QuestionKeys != order[i].QuestionKeys)
                return false;
        }
        return true;
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

    void Key(int key) { QTest::keyClick(Parts(*window).Tree().Widget(), static_cast<Qt::Key>(key)); }

    const std::string& Current() const { return Parts(*window).State().CurrentKey; }
    mirvane::Test& Doc() { return Parts(*window).State().Document->Model(); }
    TestDocument& Document() { return *Parts(*window).State().Document; }
    EditPanels& P() { return Parts(*window).Panels(); }

    FakePlatform platform;
    std::unique_ptr<MainWindow> window;
};

} // namespace mirvane::testing
