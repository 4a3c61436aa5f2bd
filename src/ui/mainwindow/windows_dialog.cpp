#include "ui/mainwindow/windows_dialog.h"

#include "ui/document/tarvellite_doc.h"
#include "ui/mainwindow/child_frame.h"
#include "ui/mainwindow/main_frame.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvellite::ui {

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent) {
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return b;
}

} // namespace

CWindowsDialog::CWindowsDialog(CMainFrame *frame) : QDialog(frame), frame_(frame) {
    setObjectName(QStringLiteral("123"));
    setWindowTitle(QStringLiteral("Windows"));
    setAccessibleName(QStringLiteral("Windows"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("windows"));
    list_->setAccessibleName(QStringLiteral("Select window"));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    activate_ = button(QStringLiteral("&Activate"), "activate", this);
    save_ = button(QStringLiteral("&Save"), "save", this);
    close_ = button(QStringLiteral("&Close Window(s)"), "close-windows", this);
    QPushButton *ok = button(QStringLiteral("OK"), "ok", this);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {activate_, ok, save_, close_})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *row = new QHBoxLayout(this);
    row->addWidget(list_, 1);
    row->addLayout(buttons);

    connect(activate_, &QPushButton::clicked, this, &CWindowsDialog::activateChosen);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CWindowsDialog::activateChosen);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(save_, &QPushButton::clicked, this, &CWindowsDialog::saveChosen);
    connect(close_, &QPushButton::clicked, this, &CWindowsDialog::closeChosen);
    connect(list_, &QListWidget::itemSelectionChanged, this, &CWindowsDialog::updateButtons);
    fill();
    resize(460, 300);
}

void CWindowsDialog::fill() {
    list_->clear();
    const QList<QMdiSubWindow *> windows = frame_->documentArea()->subWindowList();
    for (QMdiSubWindow *w : windows) {
        auto *child = qobject_cast<CChildFrame *>(w);
        if (!child)
            continue;
        auto *item = new QListWidgetItem(child->getDocument()->displayTitle(), list_);
        item->setData(Qt::UserRole, QVariant::fromValue<QObject *>(child));
        if (child == frame_->activeChild())
            list_->setCurrentItem(item);
    }
    updateButtons();
}

void CWindowsDialog::updateButtons() {
    const int chosen = int(list_->selectedItems().size());
    activate_->setEnabled(chosen == 1);
    save_->setEnabled(chosen > 0);
    close_->setEnabled(chosen > 0);
}

void CWindowsDialog::activateChosen() {
    const QList<QListWidgetItem *> chosen = list_->selectedItems();
    if (chosen.size() != 1)
        return;
    if (auto *child =
            qobject_cast<CChildFrame *>(chosen.first()->data(Qt::UserRole).value<QObject *>()))
        frame_->documentArea()->setActiveSubWindow(child);
    accept();
}

void CWindowsDialog::saveChosen() {
    for (QListWidgetItem *item : list_->selectedItems()) {
        if (auto *child =
                qobject_cast<CChildFrame *>(item->data(Qt::UserRole).value<QObject *>())) {
            frame_->documentArea()->setActiveSubWindow(child);
            frame_->saveActiveDocument(false);
        }
    }
    fill();
}

void CWindowsDialog::closeChosen() {
    QList<QPointer<CChildFrame>> children;
    for (QListWidgetItem *item : list_->selectedItems())
        children << qobject_cast<CChildFrame *>(item->data(Qt::UserRole).value<QObject *>());
    for (const QPointer<CChildFrame> &child : children)
        if (child)
            child->close();
    fill();
}

} // namespace tarvellite::ui
