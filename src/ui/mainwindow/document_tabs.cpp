#include "ui/mainwindow/document_tabs.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace tarvellite::ui {

DocumentTabs::DocumentTabs(QMdiArea *area)
    : QObject(area), area_(area), menuButton_(new QToolButton(area)) {
    menuButton_->setObjectName(QStringLiteral("document-menu"));
    menuButton_->setAccessibleName(QStringLiteral("Documents"));
    menuButton_->setToolTip(QStringLiteral("Documents"));
    menuButton_->setArrowType(Qt::DownArrow);
    menuButton_->setAutoRaise(true);
    menuButton_->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(menuButton_);
    menu->setObjectName(QStringLiteral("document-menu-list"));
    connect(menu, &QMenu::aboutToShow, this, &DocumentTabs::fillMenu);
    menuButton_->setMenu(menu);
    menuButton_->hide();
    area_->installEventFilter(this);
}

void DocumentTabs::attach() {
    const bool tabbed = area_->viewMode() == QMdiArea::TabbedView;
    QTabBar *tabs =
        tabbed ? area_->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (tabs != tabs_) {
        if (tabs_)
            tabs_->removeEventFilter(this);
        tabs_ = tabs;
        if (tabs_) {
            tabs_->setExpanding(false);
            tabs_->setElideMode(Qt::ElideRight);
            tabs_->setAccessibleName(QStringLiteral("Document tabs"));
            tabs_->installEventFilter(this);
            connect(tabs_, &QTabBar::currentChanged, this, &DocumentTabs::showCloseButtons);
        }
    }
    menuButton_->setVisible(tabs_ != nullptr);
    showCloseButtons();
    placeMenuButton();
}

bool DocumentTabs::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::LayoutRequest:
        QTimer::singleShot(0, this, [this] {
            showCloseButtons();
            placeMenuButton();
        });
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void DocumentTabs::showCloseButtons() {
    if (!tabs_)
        return;
    for (int i = 0; i < tabs_->count(); ++i) {
        for (QTabBar::ButtonPosition side : {QTabBar::LeftSide, QTabBar::RightSide}) {
            if (QWidget *button = tabs_->tabButton(i, side))
                button->setVisible(i == tabs_->currentIndex());
        }
    }
}

void DocumentTabs::placeMenuButton() {
    if (!tabs_ || !menuButton_->isVisibleTo(area_))
        return;
    const int height = std::max(tabs_->height(), 20);
    menuButton_->setGeometry(area_->width() - height - 2, tabs_->y(), height, height);
    menuButton_->raise();
}

void DocumentTabs::fillMenu() {
    QMenu *menu = menuButton_->menu();
    menu->clear();
    for (QMdiSubWindow *window : area_->subWindowList()) {
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *item = menu->addAction(title);
        item->setCheckable(true);
        item->setChecked(window == area_->activeSubWindow());
        connect(item, &QAction::triggered, area_,
                [this, window] { area_->setActiveSubWindow(window); });
    }
}

} // namespace tarvellite::ui
