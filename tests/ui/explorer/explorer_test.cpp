// The folder explorer through its real widgets: listing a chosen folder, the arrangements and
// their buttons, sorting kept in the settings, double-click on the item under the pointer, and
// files from the list reaching the right document window.

#include "core/app/messages.h"
#include "core/app/settings_store.h"
#include "ui/app/app_context.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/explorer/flat_frame.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/dock_panes.h"
#include "ui/mainwindow/main_frame.h"

#include <QAction>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QImage>
#include <QListView>
#include <QMdiArea>
#include <QMimeData>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTreeView>
#include <QUrl>

using namespace tarvellite;
using namespace tarvellite::ui;

namespace {

/// What the explorer asks of its main window, recorded.
struct RecordingFrame : FrameServices {
    bool SetDictionaryStatus(const QString &) override { return true; }
    void BuildKeyboardMenu() override {}
    int MarkLoadedDictionary(int index) override { return index; }
    QWidget *GetFloatingKeyboardFrame() const override { return nullptr; }
    QTextEdit *activeDocumentEdit() const override { return nullptr; }
    void OpenOrInsertFile(const QString &path) override { opened << path; }
    QFont statusFont() const override { return {}; }
    QStringList opened;
};

QModelIndex indexOf(QAbstractItemView *view, const QString &name) {
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        const QModelIndex index = view->model()->index(row, 0, root);
        if (index.data().toString() == name)
            return index;
    }
    return {};
}

QMdiSubWindow *windowOf(QWidget *view) {
    QWidget *w = view;
    while (w && !qobject_cast<QMdiSubWindow *>(w))
        w = w->parentWidget();
    return qobject_cast<QMdiSubWindow *>(w);
}

void doubleClick(QAbstractItemView *view, const QModelIndex &index) {
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class ExplorerTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("sub/deeper")));
        write(QStringLiteral("b-note.txt"), "two words\n");
        write(QStringLiteral("a-big.txt"), QByteArray(5000, 'x'));
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(dir_.filePath(QStringLiteral("c-picture.png"))));
    }

    void choosingAFolderListsIt() {
        AppContext context;
        RecordingFrame frame;
        CFlatFrame explorer(context, frame);
        explorer.resize(300, 500);
        explorer.show();
        explorer.selectFolder(dir_.path());
        QTreeView *files = explorer.list()->detailsView();
        QTRY_VERIFY(indexOf(files, QStringLiteral("b-note.txt")).isValid());
        QVERIFY(indexOf(files, QStringLiteral("sub")).isValid());
        QCOMPARE(explorer.tree()->selectedFolder(), dir_.path());
        // Up one level lists the parent, and the tree follows.
        explorer.command(32863)->trigger();
        QCOMPARE(explorer.list()->currentFolder(), QFileInfo(dir_.path()).absolutePath());
        QCOMPARE(explorer.tree()->selectedFolder(), QFileInfo(dir_.path()).absolutePath());
        explorer.selectFolder(QStringLiteral("/"));
        QVERIFY(!explorer.command(32863)->isEnabled());
    }

    void arrangementButtons() {
        AppContext context;
        RecordingFrame frame;
        CFlatFrame explorer(context, frame);
        const std::pair<int, int> buttons[] = {
            {32862, CDirList::List}, // "Small Icons" gives the list arrangement
            {32860, CDirList::SmallIcons},
            {32861, CDirList::LargeIcons},
            {32859, CDirList::Details}};
        for (const auto &[id, arrangement] : buttons) {
            explorer.command(id)->trigger();
            QCOMPARE(explorer.list()->arrangement(), arrangement);
            QVERIFY(explorer.command(id)->isChecked());
        }
        QCOMPARE(explorer.command(32860)->toolTip(), QStringLiteral("List View"));
    }

    void sortingAndArrangementComeBack() {
        AppContext context;
        RecordingFrame frame;
        int height = 0;
        {
            CFlatFrame explorer(context, frame);
            explorer.resize(300, 500);
            explorer.show();
            explorer.selectFolder(dir_.path());
            QHeaderView *header = explorer.list()->detailsView()->header();
            // Size is not sorted yet: ascending first, then descending.
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(1) + 5, 5));
            QCOMPARE(context.settings().shellSortInfo.sortColumn, 1);
            QCOMPARE(context.settings().shellSortInfo.sortAscending, 1);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(1) + 5, 5));
            QCOMPARE(context.settings().shellSortInfo.sortAscending, 0);
            explorer.command(32861)->trigger();
            explorer.splitter()->setSizes({150, 300});
            height = explorer.splitter()->sizes().first();
            explorer.storeState();
        }
        const ShellSortInfo &stored = context.settings().shellSortInfo;
        QCOMPARE(stored.listViewStyle, int(CDirList::LargeIcons));
        QCOMPARE(stored.listHeight, height);
        CFlatFrame again(context, frame);
        again.resize(300, 500);
        again.show();
        QCOMPARE(again.splitter()->sizes().first(), height);
        QCOMPARE(again.list()->sortColumn(), 1);
        QVERIFY(!again.list()->sortAscending());
        QCOMPARE(again.list()->arrangement(), int(CDirList::LargeIcons));
        QVERIFY(again.command(32861)->isChecked());
    }

    void doubleClickActsOnTheItemUnderThePointer() {
        AppContext context;
        RecordingFrame frame;
        CFlatFrame explorer(context, frame);
        explorer.resize(400, 600);
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.selectFolder(dir_.path());
        QTreeView *files = explorer.list()->detailsView();
        QTRY_VERIFY(indexOf(files, QStringLiteral("b-note.txt")).isValid());
        // An earlier selection does not matter: the item double-clicked is the one opened.
        files->setCurrentIndex(indexOf(files, QStringLiteral("a-big.txt")));
        doubleClick(files, indexOf(files, QStringLiteral("b-note.txt")));
        QCOMPARE(frame.opened, QStringList{dir_.filePath(QStringLiteral("b-note.txt"))});
        // Empty space below the items does nothing.
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {},
                           QPoint(10, files->viewport()->height() - 3));
        QCOMPARE(frame.opened.size(), 1);
        // A folder is listed, not opened.
        doubleClick(files, indexOf(files, QStringLiteral("sub")));
        QCOMPARE(explorer.list()->currentFolder(), dir_.filePath(QStringLiteral("sub")));
        QCOMPARE(frame.opened.size(), 1);
    }

    void filesReachTheRightDocumentWindow() {
        ScopedMessagePresenter answers([](const Message &m) { return m.defaultAnswer; });
        AppContext context;
        CMainFrame frame(context);
        frame.resize(1000, 700);
        frame.show();
        CFlatFrame *explorer = frame.folderPane()->explorer();
        explorer->selectFolder(dir_.path());
        QTreeView *files = explorer->list()->detailsView();
        QTRY_VERIFY(indexOf(files, QStringLiteral("c-picture.png")).isValid());

        // Double-click on a text file opens it; on a picture inserts it into the active document.
        CTarvelLiteView *first = frame.newDocument();
        first->insertPlainText(QStringLiteral("keep me "));
        doubleClick(files, indexOf(files, QStringLiteral("b-note.txt")));
        QTRY_COMPARE(frame.activeChild()->getDocument()->title(), QStringLiteral("b-note.txt"));
        frame.documentArea()->setActiveSubWindow(windowOf(first));
        QTRY_COMPARE(frame.activeView(), first);
        doubleClick(files, indexOf(files, QStringLiteral("c-picture.png")));
        QVERIFY(first->toHtml().contains(QStringLiteral("<img")));

        // A drag from the list carries the file's path; dropped on a window that is not the
        // active one (the view reports the drop), it goes to that window.
        QMimeData *data =
            files->model()->mimeData({indexOf(files, QStringLiteral("c-picture.png"))});
        QCOMPARE(data->urls().value(0).toLocalFile(),
                 dir_.filePath(QStringLiteral("c-picture.png")));
        CTarvelLiteView *second = frame.newDocument();
        frame.documentArea()->setActiveSubWindow(windowOf(first));
        QTRY_COMPARE(frame.activeView(), first);
        emit second->fileDropped(data->urls().value(0).toLocalFile());
        QCOMPARE(frame.activeView(), second);
        QVERIFY(second->toHtml().contains(QStringLiteral("<img")));
        QCOMPARE(first->toHtml().count(QStringLiteral("<img")), 1);
        delete data;
        for (QMdiSubWindow *w : frame.documentArea()->subWindowList())
            w->close();
    }

  private:
    void write(const QString &name, const QByteArray &bytes) {
        QFile file(dir_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir config_;
    QTemporaryDir dir_;
};

QTEST_MAIN(ExplorerTest)
#include "explorer_test.moc"
