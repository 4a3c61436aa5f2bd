#pragma once

#include <QPointer>
#include <QWidget>

class QAction;
class QActionGroup;
class QFileSystemModel;
class QListView;
class QModelIndex;
class QSortFilterProxyModel;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QTreeView;

namespace tarvellite::ui {

class AppContext;
class FrameServices;

/// The file list of the explorer (157): the folders and files of one folder, in one of four
/// arrangements — details with the columns "Name", "Size", "Type", "Modified", or large icons,
/// small icons, list. Files can be dragged out of it (as file URLs, captured when the drag
/// starts).
class CDirList : public QWidget {
    Q_OBJECT
  public:
    /// The arrangements, as stored in `ShellSortInfo.listViewStyle`.
    enum Arrangement { LargeIcons = 0, Details = 1, SmallIcons = 2, List = 3 };

    explicit CDirList(QWidget *parent = nullptr);

    /// Lists `folder`; false when it is not a folder.
    bool showFolder(const QString &folder);
    QString currentFolder() const { return folder_; }
    void setArrangement(int arrangement);
    int arrangement() const { return arrangement_; }
    /// Sorts by column 0 "Name" … 3 "Modified".
    void sortBy(int column, bool ascending);
    int sortColumn() const;
    bool sortAscending() const;
    /// The path of the item at `index` of the shown view.
    QString pathAt(const QModelIndex &index) const;
    /// The view now shown (the details view or the icon view).
    QWidget *shownView() const;
    QTreeView *detailsView() const { return details_; }
    QListView *iconView() const { return icons_; }

  signals:
    /// The list shows another folder.
    void folderChanged(const QString &folder);
    /// An item was double-clicked (the item under the pointer).
    void itemActivated(const QString &path);
    /// The user sorted by a column header.
    void sortedByUser(int column, bool ascending);

  private:
    QFileSystemModel *model_;
    QStackedWidget *stack_;
    QTreeView *details_;
    QListView *icons_;
    QString folder_;
    int arrangement_ = Details;
};

/// The folder tree of the explorer (158): folders only, from the file-system root down.
class CShellTree : public QWidget {
    Q_OBJECT
  public:
    explicit CShellTree(QWidget *parent = nullptr);

    /// Selects and expands `folder`; false when it is not a folder.
    bool selectFolder(const QString &folder);
    QString selectedFolder() const;
    QTreeView *view() const { return view_; }

  signals:
    void folderSelected(const QString &folder);

  private:
    QFileSystemModel *model_;
    QTreeView *view_;
};

/// The explorer in the "Folder" pane: the tool bar, and the file list above the folder tree in
/// a splitter. Tree and list follow each other; a double-clicked file goes to the document
/// windows; the list's sort order, arrangement and height are kept in `ShellSortInfo`.
class CFlatFrame : public QWidget {
    Q_OBJECT
  public:
    CFlatFrame(AppContext &context, FrameServices &frame, QWidget *parent = nullptr);

    CDirList *list() const { return list_; }
    CShellTree *tree() const { return tree_; }
    QSplitter *splitter() const { return splitter_; }
    QAction *command(int id) const;

    /// Selects `folder` in the tree, which lists it.
    void selectFolder(const QString &folder);
    /// Puts the list's height and arrangement into the settings (when the program closes).
    void storeState();

  private:
    void updateButtons();
    void activate(const QString &path);

    AppContext &context_;
    FrameServices &frame_;
    QToolBar *toolBar_;
    QActionGroup *arrangements_;
    QSplitter *splitter_;
    CDirList *list_;
    CShellTree *tree_;
};

} // namespace tarvellite::ui
