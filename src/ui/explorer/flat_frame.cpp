#include "ui/explorer/flat_frame.h"

#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

namespace tarvellite::ui {

namespace {

enum ExplorerCommand : int {
    ID_MOVE_UP = 32863,
    ID_DETAILS_VIEW = 32859,
    ID_LIST_VIEW = 32860,
    ID_SMALL_ICONS = 32862,
    ID_LARGE_ICONS = 32861,
};

QVBoxLayout *bareColumn(QWidget *owner) {
    auto *column = new QVBoxLayout(owner);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    return column;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// CDirList

CDirList::CDirList(QWidget *parent)
    : QWidget(parent), model_(new QFileSystemModel(this)), stack_(new QStackedWidget(this)),
      details_(new QTreeView(stack_)), icons_(new QListView(stack_)) {
    setObjectName(QStringLiteral("157"));
    model_->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::AllDirs);
    model_->setReadOnly(true);
    model_->setRootPath(QString());

    details_->setObjectName(QStringLiteral("file-details"));
    details_->setAccessibleName(QStringLiteral("Files"));
    details_->setModel(model_);
    details_->setRootIsDecorated(false);
    details_->setItemsExpandable(false);
    details_->setUniformRowHeights(true);
    details_->setSortingEnabled(true);
    details_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    details_->setDragEnabled(true);
    details_->setDragDropMode(QAbstractItemView::DragOnly);
    details_->header()->setStretchLastSection(false);
    details_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    details_->header()->setSortIndicatorShown(true);

    icons_->setObjectName(QStringLiteral("file-icons"));
    icons_->setAccessibleName(QStringLiteral("Files"));
    icons_->setModel(model_);
    icons_->setSelectionModel(details_->selectionModel());
    icons_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    icons_->setDragEnabled(true);
    icons_->setDragDropMode(QAbstractItemView::DragOnly);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setUniformItemSizes(true);

    stack_->addWidget(details_);
    stack_->addWidget(icons_);
    bareColumn(this)->addWidget(stack_);

    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(details_), static_cast<QAbstractItemView *>(icons_)}) {
        // The item under the pointer; a double-click on empty space gives no index.
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
            const QString path = pathAt(index);
            if (!path.isEmpty())
                emit itemActivated(path);
        });
    }
    connect(details_->header(), &QHeaderView::sectionClicked, this,
            [this] { emit sortedByUser(sortColumn(), sortAscending()); });
    sortBy(0, true);
    setArrangement(Details);
}

bool CDirList::showFolder(const QString &folder) {
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (path == folder_)
        return true;
    folder_ = path;
    const QModelIndex root = model_->setRootPath(path);
    details_->setRootIndex(root);
    icons_->setRootIndex(root);
    emit folderChanged(folder_);
    return true;
}

void CDirList::setArrangement(int arrangement) {
    arrangement_ = arrangement & 3;
    if (arrangement_ == Details) {
        stack_->setCurrentWidget(details_);
        return;
    }
    if (arrangement_ == LargeIcons) {
        icons_->setViewMode(QListView::IconMode);
        icons_->setIconSize(QSize(32, 32));
        icons_->setGridSize(QSize(88, 64));
        icons_->setWordWrap(true);
    } else if (arrangement_ == SmallIcons) {
        icons_->setViewMode(QListView::IconMode);
        icons_->setIconSize(QSize(16, 16));
        icons_->setGridSize(QSize(140, 22));
        icons_->setFlow(QListView::LeftToRight);
        icons_->setWordWrap(false);
    } else {
        icons_->setViewMode(QListView::ListMode);
        icons_->setIconSize(QSize(16, 16));
        icons_->setGridSize(QSize());
        icons_->setFlow(QListView::TopToBottom);
        icons_->setWrapping(true);
    }
    icons_->setMovement(QListView::Static);
    icons_->setRootIndex(details_->rootIndex());
    stack_->setCurrentWidget(icons_);
}

void CDirList::sortBy(int column, bool ascending) {
    const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    details_->header()->setSortIndicator(std::clamp(column, 0, 3), order);
    model_->sort(std::clamp(column, 0, 3), order);
}

int CDirList::sortColumn() const {
    return details_->header()->sortIndicatorSection();
}

bool CDirList::sortAscending() const {
    return details_->header()->sortIndicatorOrder() == Qt::AscendingOrder;
}

QString CDirList::pathAt(const QModelIndex &index) const {
    return index.isValid() ? model_->filePath(index) : QString();
}

QWidget *CDirList::shownView() const {
    return stack_->currentWidget();
}

// ---------------------------------------------------------------------------------------------
// CShellTree

CShellTree::CShellTree(QWidget *parent)
    : QWidget(parent), model_(new QFileSystemModel(this)), view_(new QTreeView(this)) {
    setObjectName(QStringLiteral("158"));
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setReadOnly(true);
    model_->setRootPath(QStringLiteral("/"));
    view_->setObjectName(QStringLiteral("folder-tree"));
    view_->setAccessibleName(QStringLiteral("Folders"));
    view_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        view_->hideColumn(column);
    view_->setHeaderHidden(true);
    view_->setRootIsDecorated(true);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    bareColumn(this)->addWidget(view_);
    // Folders are read lazily: the selected folder is brought into view again as its parents
    // are read.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this] {
        if (view_->currentIndex().isValid())
            view_->scrollTo(view_->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                const QString path = current.isValid() ? model_->filePath(current) : QString();
                if (!path.isEmpty())
                    emit folderSelected(path);
            });
}

bool CShellTree::selectFolder(const QString &folder) {
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    const QModelIndex index = model_->index(QDir::cleanPath(info.absoluteFilePath()));
    if (!index.isValid())
        return false;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        view_->expand(parent);
    if (view_->currentIndex() != index)
        view_->setCurrentIndex(index);
    view_->expand(index);
    view_->scrollTo(index, QAbstractItemView::PositionAtCenter);
    return true;
}

QString CShellTree::selectedFolder() const {
    const QModelIndex current = view_->currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
}

// ---------------------------------------------------------------------------------------------
// CFlatFrame

CFlatFrame::CFlatFrame(AppContext &context, FrameServices &frame, QWidget *parent)
    : QWidget(parent), context_(context), frame_(frame), toolBar_(new QToolBar(this)),
      arrangements_(new QActionGroup(this)), splitter_(new QSplitter(Qt::Vertical, this)),
      list_(new CDirList(splitter_)), tree_(new CShellTree(splitter_)) {
    setObjectName(QStringLiteral("explorer"));
    toolBar_->setObjectName(QStringLiteral("273"));
    toolBar_->setAccessibleName(QStringLiteral("Explorer"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setMovable(false);

    const ShellSortInfo &stored = context_.settings().shellSortInfo;
    auto add = [this](int id, const char *tip, QStyle::StandardPixmap icon) {
        QAction *a = toolBar_->addAction(style()->standardIcon(icon), QString::fromUtf8(tip));
        a->setObjectName(QString::number(id));
        a->setToolTip(QString::fromUtf8(tip));
        return a;
    };
    QAction *up = add(ID_MOVE_UP, "Move One level up", QStyle::SP_FileDialogToParent);
    connect(up, &QAction::triggered, this, [this] {
        QDir folder(list_->currentFolder());
        if (folder.cdUp())
            selectFolder(folder.absolutePath());
    });
    toolBar_->addSeparator();
    const struct {
        int id;
        const char *tip;
        int arrangement;
        QStyle::StandardPixmap icon;
    } arrangements[] = {
        {ID_DETAILS_VIEW, "Details View", CDirList::Details, QStyle::SP_FileDialogDetailedView},
        {ID_LIST_VIEW, "List View", CDirList::SmallIcons, QStyle::SP_FileDialogListView},
        {ID_SMALL_ICONS, "Small Icons", CDirList::List, QStyle::SP_FileDialogContentsView},
        {ID_LARGE_ICONS, "Large Icons", CDirList::LargeIcons, QStyle::SP_FileDialogInfoView},
    };
    for (const auto &entry : arrangements) {
        QAction *a = add(entry.id, entry.tip, entry.icon);
        a->setCheckable(true);
        a->setData(entry.arrangement);
        arrangements_->addAction(a);
        connect(a, &QAction::triggered, this, [this, arrangement = entry.arrangement] {
            list_->setArrangement(arrangement);
            updateButtons();
        });
        if (entry.id != ID_LARGE_ICONS)
            toolBar_->addSeparator();
    }

    splitter_->setObjectName(QStringLiteral("explorer-splitter"));
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(list_);
    splitter_->addWidget(tree_);
    // The list's row keeps its height; the tree takes what the pane gains or loses.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({std::max(40, int(stored.listHeight)), 100});
    auto *column = bareColumn(this);
    column->addWidget(toolBar_);
    column->addWidget(splitter_, 1);

    list_->setArrangement(stored.listViewStyle);
    list_->sortBy(stored.sortColumn, stored.sortAscending != 0);

    // The tree and the list follow each other; selecting what is selected already stops there.
    connect(tree_, &CShellTree::folderSelected, this, [this](const QString &folder) {
        list_->showFolder(folder);
        updateButtons();
    });
    connect(list_, &CDirList::folderChanged, this, [this](const QString &folder) {
        tree_->selectFolder(folder);
        updateButtons();
    });
    connect(list_, &CDirList::itemActivated, this, &CFlatFrame::activate);
    connect(list_, &CDirList::sortedByUser, this, [this](int column, bool ascending) {
        context_.changeSettings(0, [column, ascending](Settings &s) {
            s.shellSortInfo.sortColumn = column;
            s.shellSortInfo.sortAscending = ascending ? 1 : 0;
        });
    });
    updateButtons();
}

QAction *CFlatFrame::command(int id) const {
    return toolBar_->findChild<QAction *>(QString::number(id));
}

void CFlatFrame::selectFolder(const QString &folder) {
    if (!tree_->selectFolder(folder))
        list_->showFolder(folder);
}

void CFlatFrame::storeState() {
    const QList<int> sizes = splitter_->sizes();
    const int height = sizes.isEmpty() ? 0 : sizes.first();
    const int minimum = list_->minimumSizeHint().height();
    const int arrangement = list_->arrangement();
    context_.changeSettings(0, [=](Settings &s) {
        if (height > 0)
            s.shellSortInfo.listHeight = height;
        s.shellSortInfo.listMinHeight = minimum;
        s.shellSortInfo.listViewStyle = arrangement;
    });
}

void CFlatFrame::updateButtons() {
    const QString folder = list_->currentFolder();
    command(ID_MOVE_UP)->setEnabled(!folder.isEmpty() && !QDir(folder).isRoot());
    for (QAction *a : arrangements_->actions())
        a->setChecked(a->data().toInt() == list_->arrangement());
}

void CFlatFrame::activate(const QString &path) {
    const QFileInfo info(path);
    if (info.isDir())
        selectFolder(info.absoluteFilePath());
    else
        frame_.OpenOrInsertFile(path);
}

} // namespace tarvellite::ui
