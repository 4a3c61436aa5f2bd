#include "ui/mainwindow/ribbon/ribbon_bar.h"

#include "ui/document/command_ids.h"
#include "ui/mainwindow/ribbon/key_tips.h"
#include "ui/mainwindow/ribbon/ribbon_icons.h"

#include <QAccessible>
#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace tarvellite::ui {

namespace {

QString plainCaption(QString text) {
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

/// A long caption of a large button goes on two lines, split at the space nearest its middle.
QString twoLines(const QString &caption) {
    if (caption.size() <= 10)
        return caption;
    int best = -1;
    for (int i = 0; i < caption.size(); ++i)
        if (caption.at(i) == QLatin1Char(' ') &&
            (best < 0 || std::abs(i - caption.size() / 2) < std::abs(best - caption.size() / 2)))
            best = i;
    if (best < 0)
        return caption;
    QString split = caption;
    split[best] = QLatin1Char('\n');
    return split;
}

constexpr int panelMargin = 3;

} // namespace

// ---------------------------------------------------------------------------------------------
// Buttons

RibbonButton::RibbonButton(QAction *action, RibbonElement::Kind kind, const QString &caption,
                           QWidget *parent)
    : QToolButton(parent), action_(action), kind_(kind), caption_(caption) {
    dropDownOnly_ = action->property("ribbonDropDownOnly").toBool();
    setObjectName(action->objectName().isEmpty()
                      ? QStringLiteral("ribbon-button")
                      : QStringLiteral("button-") + action->objectName());
    setDefaultAction(action);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
    switch (kind) {
    case RibbonElement::Kind::Large:
        setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        setIconSize(QSize(32, 32));
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        break;
    case RibbonElement::Kind::IconOnly:
        setToolButtonStyle(Qt::ToolButtonIconOnly);
        setIconSize(QSize(16, 16));
        break;
    default:
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        setIconSize(QSize(16, 16));
        break;
    }
    // The button follows its action; a menu attached later makes it a split button.
    connect(action, &QAction::changed, this, &RibbonButton::follow);
    // A button toggled other than by a click or by its action (assistive technology's
    // "toggle") runs its command as a click does, once the toggle is over; the command's own
    // handling then settles the check.
    connect(this, &QAbstractButton::toggled, this, [this] {
        if (!syncing_ && action_ && action_->isCheckable())
            QTimer::singleShot(0, action_, &QAction::trigger);
    });
    syncing_ = false;

    follow();
}

void RibbonButton::actionEvent(QActionEvent *event) {
    syncing_ = true;
    QToolButton::actionEvent(event);
    syncing_ = false;
}

bool RibbonButton::isSplit() const {
    return action_ && action_->menu() && popupMode() == QToolButton::MenuButtonPopup;
}

void RibbonButton::follow() {
    if (!action_)
        return;
    const bool hasMenu = action_->menu() != nullptr;
    const ToolButtonPopupMode mode = dropDownOnly_ ? QToolButton::InstantPopup
                                     : hasMenu     ? QToolButton::MenuButtonPopup
                                                   : QToolButton::DelayedPopup;
    if (mode != popupMode()) {
        setPopupMode(mode);
        // The style sheet makes room for the arrow by the mode: applied again.
        style()->unpolish(this);
        style()->polish(this);
        updateGeometry();
    }
    const QString caption = plainCaption(caption_.isEmpty() ? action_->iconText() : caption_);
    const QString shown = kind_ == RibbonElement::Kind::Large ? twoLines(caption) : caption;
    if (text() != shown)
        setText(shown);
    setAccessibleName(caption);
    setAccessibleDescription(action_->statusTip());
    if (!caption_.isEmpty())
        setToolTip(caption);
}

// ---------------------------------------------------------------------------------------------
// Panels

RibbonPanel::RibbonPanel(const QString &title, const QString &keyTip, QWidget *parent)
    : QWidget(parent), title_(title), keyTip_(keyTip) {
    setObjectName(QStringLiteral("ribbon-panel"));
    setAttribute(Qt::WA_StyledBackground);
    setAccessibleName(title);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(panelMargin, panelMargin, panelMargin, 1);
    layout_->setSpacing(0);
    content_ = new QWidget(this);
    content_->setAccessibleName(title);
    columns_ = new QHBoxLayout(content_);
    columns_->setContentsMargins(0, 0, 0, 0);
    columns_->setSpacing(2);
    titleLabel_ = new QLabel(title, this);
    titleLabel_->setObjectName(QStringLiteral("panel-title"));
    titleLabel_->setAlignment(Qt::AlignCenter);
    titleLabel_->setAccessibleName(title);
    collapsedButton_ = new QToolButton(this);
    collapsedButton_->setObjectName(QStringLiteral("collapsed-panel"));
    collapsedButton_->setText(twoLines(title));
    collapsedButton_->setAccessibleName(title);
    collapsedButton_->setToolTip(title);
    collapsedButton_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    collapsedButton_->setIconSize(QSize(32, 32));
    collapsedButton_->setAutoRaise(true);
    collapsedButton_->setArrowType(Qt::NoArrow);
    collapsedButton_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    collapsedButton_->hide();
    connect(collapsedButton_, &QToolButton::clicked, this, &RibbonPanel::showPopup);
    popup_ = new QFrame(this, Qt::Popup);
    popup_->setObjectName(QStringLiteral("ribbon-popup"));
    popup_->setFrameShape(QFrame::StyledPanel);
    popup_->setAccessibleName(title);
    auto *popupLayout = new QVBoxLayout(popup_);
    popupLayout->setContentsMargins(4, 4, 4, 4);
    layout_->addWidget(content_, 1);
    layout_->addWidget(collapsedButton_, 1);
    layout_->addWidget(titleLabel_);
}

void RibbonPanel::setCollapsed(bool collapsed) {
    if (collapsed == collapsed_)
        return;
    collapsed_ = collapsed;
    if (collapsed) {
        layout_->removeWidget(content_);
        popup_->layout()->addWidget(content_);
        if (collapsedButton_->icon().isNull()) {
            // The first element's picture stands for the panel.
            for (auto *button : content_->findChildren<QToolButton *>())
                if (!button->icon().isNull()) {
                    collapsedButton_->setIcon(button->icon());
                    break;
                }
        }
        collapsedButton_->show();
        titleLabel_->hide();
    } else {
        popup_->hide();
        popup_->layout()->removeWidget(content_);
        content_->setParent(this);
        layout_->insertWidget(0, content_, 1);
        collapsedButton_->hide();
        titleLabel_->show();
    }
    content_->show();
    updateGeometry();
}

int RibbonPanel::expandedWidth() const {
    return std::max(content_->sizeHint().width(), titleLabel_->sizeHint().width()) +
           2 * panelMargin + 2;
}

int RibbonPanel::collapsedWidth() const {
    return collapsedButton_->sizeHint().width() + 2 * panelMargin + 2;
}

void RibbonPanel::showPopup() {
    if (!collapsed_)
        return;
    popup_->adjustSize();
    QPoint at = collapsedButton_->mapToGlobal(QPoint(0, collapsedButton_->height()));
    // Kept on the screen: a panel folded at the right edge opens leftwards.
    if (const QScreen *screen = collapsedButton_->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - popup_->width())));
        at.setY(std::min(at.y(), room.bottom() + 1 - popup_->height()));
    }
    popup_->move(at);
    popup_->show();
    // Assistive technology hears of the elements that show with the pop-up, not only of the
    // pop-up itself.
    for (QWidget *widget : content_->findChildren<QWidget *>()) {
        QAccessibleEvent shown(widget, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

// ---------------------------------------------------------------------------------------------
// Categories

RibbonCategory::RibbonCategory(const QString &title, const QString &keyTip, QWidget *parent)
    : QWidget(parent), title_(title), keyTip_(keyTip) {
    setObjectName(QStringLiteral("category-") + title);
    setAccessibleName(title);
    layout_ = new QHBoxLayout(this);
    layout_->setContentsMargins(2, 2, 2, 2);
    layout_->setSpacing(2);
    layout_->addStretch(1);
}

void RibbonCategory::addPanel(RibbonPanel *panel) {
    layout_->insertWidget(layout_->count() - 1, panel);
    panels_ << panel;
}

void RibbonCategory::fit(int width) {
    const QMargins m = layout_->contentsMargins();
    int total = m.left() + m.right() + layout_->spacing() * std::max(0, int(panels_.size()) - 1);
    for (RibbonPanel *panel : panels_)
        total += panel->expandedWidth();
    QList<bool> collapse(panels_.size(), false);
    for (int i = int(panels_.size()) - 1; i >= 0 && total > width; --i) {
        total -= panels_[i]->expandedWidth() - panels_[i]->collapsedWidth();
        collapse[i] = true;
    }
    for (int i = 0; i < panels_.size(); ++i)
        panels_[i]->setCollapsed(collapse[i]);
}

QSize RibbonCategory::minimumSizeHint() const {
    const QMargins m = layout_->contentsMargins();
    int width = m.left() + m.right() + layout_->spacing() * std::max(0, int(panels_.size()) - 1);
    int height = 0;
    for (RibbonPanel *panel : panels_) {
        width += panel->collapsedWidth();
        height = std::max(height, panel->sizeHint().height());
    }
    return QSize(width, height + m.top() + m.bottom());
}

QSize RibbonCategory::sizeHint() const {
    const QMargins m = layout_->contentsMargins();
    int width = m.left() + m.right() + layout_->spacing() * std::max(0, int(panels_.size()) - 1);
    for (RibbonPanel *panel : panels_)
        width += panel->expandedWidth();
    return QSize(width, minimumSizeHint().height());
}

void RibbonCategory::resizeEvent(QResizeEvent *event) {
    fit(event->size().width());
    QWidget::resizeEvent(event);
}

// ---------------------------------------------------------------------------------------------
// The bar

RibbonBar::RibbonBar(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ribbon"));
    setAccessibleName(QStringLiteral("Ribbon"));
    setAttribute(Qt::WA_StyledBackground);
}

RibbonBar::~RibbonBar() = default;

RibbonBar *RibbonBar::create(const RibbonDefinition &definition, const RibbonCommands &commands,
                             QWidget *parent, QString *error) {
    auto fail = [error](const QString &why) -> RibbonBar * {
        if (error)
            *error = why;
        return nullptr;
    };
    for (int id : definition.requiredControls)
        if (!definitionHasElement(definition, id) || !commands.control || !commands.control(id))
            return fail(QStringLiteral("The ribbon has no control %1.").arg(id));
    auto action = [&commands](int id) { return commands.action ? commands.action(id) : nullptr; };
    // Every command the ribbon names must exist before anything is built.
    for (int id : definition.quickAccess)
        if (!action(id))
            return fail(
                QStringLiteral("The ribbon names command %1, which does not exist.").arg(id));
    for (const RibbonCategoryDefinition &category : definition.categories)
        for (const RibbonPanelDefinition &panel : category.panels)
            for (const RibbonColumn &column : panel.columns)
                for (const RibbonRow &row : column.rows)
                    for (const RibbonElement &element : row) {
                        const bool control = element.kind == RibbonElement::Kind::Control;
                        if (element.id != 0 &&
                            !(control ? commands.control && commands.control(element.id)
                                      : action(element.id) != nullptr))
                            return fail(
                                QStringLiteral("The ribbon names command %1, which does not exist.")
                                    .arg(element.id));
                        for (const RibbonMenuItem &item : element.menu)
                            if (!action(item.id))
                                return fail(QStringLiteral("The ribbon names command %1, which "
                                                           "does not exist.")
                                                .arg(item.id));
                    }

    auto *bar = new RibbonBar(parent);
    auto *outer = new QVBoxLayout(bar);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // The tab row.
    auto *tabRow = new QWidget(bar);
    tabRow->setObjectName(QStringLiteral("ribbon-tabrow"));
    tabRow->setAttribute(Qt::WA_StyledBackground);
    auto *row = new QHBoxLayout(tabRow);
    row->setContentsMargins(2, 2, 4, 0);
    row->setSpacing(2);
    bar->applicationButton_ = new QToolButton(tabRow);
    QToolButton *app = bar->applicationButton_;
    app->setObjectName(QString::number(ID_MAINBTN));
    app->setAccessibleName(QStringLiteral("Main Menu Button"));
    app->setAccessibleDescription(
        QStringLiteral("Click here for Options, document related commands like - opening, "
                       "closing printing etc"));
    app->setToolTip(applicationButtonToolTip());
    app->setIcon(QIcon(applicationButtonPicture(64)));
    app->setIconSize(QSize(30, 30));
    app->setAutoRaise(true);
    app->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0px; }"
                                      "QToolButton::menu-indicator { image: none; width: 0px; }"));
    app->setPopupMode(QToolButton::InstantPopup);
    if (commands.applicationMenu)
        app->setMenu(commands.applicationMenu);
    row->addWidget(app);

    bar->quickLayout_ = new QHBoxLayout;
    bar->quickLayout_->setSpacing(0);
    row->addLayout(bar->quickLayout_);
    for (int id : definition.quickAccess)
        bar->quickOffered_ << id;
    for (int id : definition.quickAccessShown)
        bar->quickShown_ << id;
    bar->quickMenu_ = new QMenu(QStringLiteral("Customize Quick Access Toolbar"), bar);
    bar->quickMenu_->setObjectName(QStringLiteral("quick-access-menu"));
    for (int id : bar->quickOffered_) {
        QAction *command = action(id);
        auto *toggle = bar->quickMenu_->addAction(plainCaption(command->text()));
        toggle->setObjectName(QStringLiteral("quick-access-%1").arg(id));
        toggle->setCheckable(true);
        bar->quickActions_.insert(id, toggle);
        bar->quickCommands_.insert(id, command);
        connect(toggle, &QAction::toggled, bar, [bar, id](bool on) {
            QList<int> shown;
            for (int offered : bar->quickOffered_)
                if (offered == id ? on : bar->quickShown_.contains(offered))
                    shown << offered;
            bar->setQuickAccessShown(shown);
        });
        bar->quickButtons_.insert(id, nullptr);
    }
    bar->quickCustomise_ = new QToolButton(tabRow);
    bar->quickCustomise_->setObjectName(QStringLiteral("quick-access-customise"));
    bar->quickCustomise_->setAccessibleName(QStringLiteral("Customize Quick Access Toolbar"));
    bar->quickCustomise_->setToolTip(QStringLiteral("Customize Quick Access Toolbar"));
    bar->quickCustomise_->setArrowType(Qt::DownArrow);
    bar->quickCustomise_->setAutoRaise(true);
    bar->quickCustomise_->setPopupMode(QToolButton::InstantPopup);
    bar->quickCustomise_->setMenu(bar->quickMenu_);
    bar->quickCustomise_->setStyleSheet(
        QStringLiteral("QToolButton::menu-indicator { image: none; width: 0px; }"));
    row->addWidget(bar->quickCustomise_);
    row->addSpacing(8);

    bar->tabs_ = new QTabBar(tabRow);
    bar->tabs_->setObjectName(QStringLiteral("ribbon-tabs"));
    bar->tabs_->setAccessibleName(QStringLiteral("Ribbon Tabs"));
    bar->tabs_->setDrawBase(false);
    bar->tabs_->setExpanding(false);
    bar->tabs_->setFocusPolicy(Qt::NoFocus);
    row->addWidget(bar->tabs_, 0, Qt::AlignBottom);
    row->addStretch(1);

    bar->styleButton_ = new QToolButton(tabRow);
    bar->styleButton_->setObjectName(QStringLiteral("ribbon-style"));
    bar->styleButton_->setText(QStringLiteral("Style"));
    bar->styleButton_->setAccessibleName(QStringLiteral("Style"));
    bar->styleButton_->setToolTip(QStringLiteral("Style"));
    bar->styleButton_->setAutoRaise(true);
    bar->styleButton_->setPopupMode(QToolButton::InstantPopup);
    if (commands.styleMenu)
        bar->styleButton_->setMenu(commands.styleMenu);
    row->addWidget(bar->styleButton_);
    bar->helpButton_ = new QToolButton(tabRow);
    bar->helpButton_->setObjectName(QStringLiteral("ribbon-help"));
    bar->helpButton_->setAutoRaise(true);
    if (commands.help) {
        bar->helpButton_->setDefaultAction(commands.help);
        bar->helpButton_->setAccessibleName(plainCaption(commands.help->text()));
    }
    bar->helpButton_->setIconSize(QSize(16, 16));
    row->addWidget(bar->helpButton_);
    outer->addWidget(tabRow);

    // The categories.
    bar->stack_ = new QStackedWidget(bar);
    bar->stack_->setObjectName(QStringLiteral("ribbon-categories"));
    outer->addWidget(bar->stack_);
    for (const RibbonCategoryDefinition &categoryDefinition : definition.categories) {
        auto *category =
            new RibbonCategory(categoryDefinition.title, categoryDefinition.keyTip, bar->stack_);
        QStringList fixed;
        QList<QWidget *> unnamed;
        QStringList unnamedCaptions;
        for (const RibbonPanelDefinition &panelDefinition : categoryDefinition.panels) {
            auto *panel = new RibbonPanel(panelDefinition.title, panelDefinition.keyTip, category);
            if (panelDefinition.keyTip.isEmpty()) {
                unnamed << panel;
                unnamedCaptions << panelDefinition.title;
            } else {
                fixed << panelDefinition.keyTip;
                bar->elementTips_.insert(panel, panelDefinition.keyTip);
            }
            for (const RibbonColumn &columnDefinition : panelDefinition.columns) {
                auto *column = new QVBoxLayout;
                column->setSpacing(1);
                for (const RibbonRow &rowDefinition : columnDefinition.rows) {
                    auto *rowLayout = new QHBoxLayout;
                    rowLayout->setSpacing(1);
                    for (const RibbonElement &element : rowDefinition) {
                        QWidget *widget = nullptr;
                        QString caption;
                        if (element.kind == RibbonElement::Kind::Control) {
                            widget = commands.control(element.id);
                            widget->setParent(panel->content());
                            caption = widget->accessibleName();
                        } else {
                            QAction *command = element.id ? action(element.id) : nullptr;
                            if (!command) {
                                command = new QAction(element.caption, bar);
                                command->setObjectName(QStringLiteral("menu-") +
                                                       element.caption.toLower());
                                command->setProperty("ribbonDropDownOnly", true);
                                command->setIcon(commandIcon(ID_WINDOW_MANAGER));
                            }
                            if (command->icon().isNull())
                                command->setIcon(commandIcon(element.id));
                            if (!element.menu.empty()) {
                                auto *menu = new QMenu(plainCaption(command->text()), bar);
                                menu->setObjectName(QStringLiteral("menu-") +
                                                    (element.id ? QString::number(element.id)
                                                                : element.caption.toLower()));
                                for (const RibbonMenuItem &item : element.menu) {
                                    QAction *target = action(item.id);
                                    if (item.id != element.id && item.caption.isEmpty()) {
                                        menu->addAction(target);
                                        continue;
                                    }
                                    // The button's own command as an entry of its menu.
                                    auto *entry = menu->addAction(
                                        item.caption.isEmpty() ? target->text() : item.caption);
                                    entry->setObjectName(QStringLiteral("%1-entry").arg(item.id));
                                    connect(entry, &QAction::triggered, target, &QAction::trigger);
                                    auto follow = [entry, target] {
                                        entry->setEnabled(target->isEnabled());
                                    };
                                    connect(target, &QAction::changed, entry, follow);
                                    follow();
                                }
                                command->setMenu(menu);
                            }
                            auto *button =
                                new RibbonButton(command, element.kind, element.caption, nullptr);
                            button->setParent(panel->content());
                            widget = button;
                            caption = button->accessibleName();
                            if (!bar->buttons_.contains(element.id) && element.id)
                                bar->buttons_.insert(element.id, button);
                        }
                        if (element.keyTip.isEmpty()) {
                            unnamed << widget;
                            unnamedCaptions << caption;
                        } else {
                            fixed << element.keyTip;
                            bar->elementTips_.insert(widget, element.keyTip);
                        }
                        if (element.kind == RibbonElement::Kind::Large) {
                            column->addWidget(widget);
                        } else {
                            rowLayout->addWidget(widget);
                        }
                    }
                    if (rowLayout->count() > 0) {
                        rowLayout->addStretch(1);
                        column->addLayout(rowLayout);
                    } else {
                        delete rowLayout;
                    }
                }
                if (columnDefinition.rows.size() > 1 || column->count() == 0 ||
                    column->itemAt(0)->layout())
                    column->addStretch(1);
                panel->columns()->addLayout(column);
            }
            category->addPanel(panel);
        }
        const QStringList tips = assignKeyTips(unnamedCaptions, fixed);
        for (int i = 0; i < unnamed.size(); ++i)
            bar->elementTips_.insert(unnamed[i], tips[i]);
        bar->categories_ << category;
        bar->stack_->addWidget(category);
        const int tab = bar->tabs_->addTab(categoryDefinition.title);
        bar->tabs_->setTabToolTip(tab, categoryDefinition.title);
    }
    connect(bar->tabs_, &QTabBar::currentChanged, bar->stack_, &QStackedWidget::setCurrentIndex);

    bar->setQuickAccessShown(bar->quickShown_);
    bar->keyTips_ = new KeyTips(bar, [bar](int level) { return ribbonKeyTips(*bar, level); });
    bar->setLook(ribbonLook(0));
    return bar;
}

RibbonCategory *RibbonBar::currentCategory() const {
    return categories_.value(tabs_->currentIndex());
}

RibbonPanel *RibbonBar::panelOf(const QWidget *widget) const {
    for (RibbonCategory *category : categories_)
        for (RibbonPanel *panel : category->panels())
            if (panel->content() == widget || panel->content()->isAncestorOf(widget) ||
                widget->parentWidget() == panel->content())
                return panel;
    return nullptr;
}

void RibbonBar::setLook(const RibbonLook &look) {
    look_ = look;
    setStyleSheet(ribbonStyleSheet(look));
    applicationButton_->setIcon(QIcon(applicationButtonPicture(64)));
}

void RibbonBar::setQuickAccessShown(const QList<int> &ids) {
    QList<int> shown;
    for (int id : quickOffered_)
        if (ids.contains(id))
            shown << id;
    const bool changed = shown != quickShown_;
    quickShown_ = shown;
    rebuildQuickAccess();
    if (changed)
        emit quickAccessChanged();
}

void RibbonBar::rebuildQuickAccess() {
    for (QToolButton *&button : quickButtons_) {
        delete button;
        button = nullptr;
    }
    for (int id : quickOffered_) {
        QAction *toggle = quickActions_.value(id);
        toggle->blockSignals(true);
        toggle->setChecked(quickShown_.contains(id));
        toggle->blockSignals(false);
    }
    int at = 0;
    for (int id : quickShown_) {
        // The quick-access buttons show the same actions as the panels and the menu.
        QAction *command = quickCommands_.value(id);
        if (!command)
            continue;
        auto *button = new QToolButton(this);
        button->setObjectName(QStringLiteral("qat-%1").arg(id));
        button->setDefaultAction(command);
        button->setAutoRaise(true);
        button->setIconSize(QSize(16, 16));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAccessibleName(plainCaption(command->text()));
        quickLayout_->insertWidget(at++, button);
        quickButtons_[id] = button;
    }
}

QSize RibbonBar::minimumSizeHint() const {
    QSize size = QWidget::minimumSizeHint();
    for (RibbonCategory *category : categories_)
        size.setWidth(std::max(size.width(), category->minimumSizeHint().width()));
    return size;
}

QString applicationButtonToolTip() {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    applicationButtonPicture(48).save(&buffer, "PNG");
    return QStringLiteral("<table><tr><td><img src=\"data:image/png;base64,%1\" width=\"48\" "
                          "height=\"48\"></td><td style=\"padding-left: 6px\"><b>Main Menu "
                          "Button</b><br>Click here for Options, document related commands "
                          "like - opening, closing printing etc</td></tr></table>")
        .arg(QString::fromLatin1(png.toBase64()));
}

QList<KeyTip> ribbonKeyTips(RibbonBar &bar, int level) {
    QList<KeyTip> tips;
    if (level == 0) {
        tips << KeyTip{QStringLiteral("F"), bar.applicationButton_,
                       [&bar] { bar.applicationButton_->showMenu(); }};
        for (int i = 0; i < bar.categories_.size(); ++i) {
            RibbonCategory *category = bar.categories_[i];
            // The tab has no widget of its own: the badge sits on the tab bar.
            tips << KeyTip{category->keyTip(), bar.tabs_, [&bar, i] {
                               bar.tabs_->setCurrentIndex(i);
                               bar.keyTips_->show(1);
                           }};
        }
        tips << KeyTip{QStringLiteral("S"), bar.styleButton_,
                       [&bar] { bar.styleButton_->showMenu(); }};
        tips << KeyTip{QStringLiteral("A"), bar.helpButton_, [&bar] { bar.helpButton_->click(); }};
        int n = 1;
        for (int id : bar.quickShown_)
            if (QToolButton *button = bar.quickButtons_.value(id))
                tips << KeyTip{QString::number(n++), button, [button] { button->click(); }};
        return tips;
    }
    RibbonCategory *category = bar.currentCategory();
    if (!category)
        return tips;
    for (RibbonPanel *panel : category->panels()) {
        if (panel->isCollapsed()) {
            tips << KeyTip{bar.elementTips_.value(panel), panel->collapsedButton(),
                           [panel] { panel->showPopup(); }};
            continue;
        }
        for (QWidget *widget : panel->content()->findChildren<QWidget *>()) {
            const QString keys = bar.elementTips_.value(widget);
            if (keys.isEmpty())
                continue;
            QPointer<QWidget> target = widget;
            tips << KeyTip{keys, widget, [target] {
                               if (!target)
                                   return;
                               if (auto *box = qobject_cast<QComboBox *>(target)) {
                                   box->setFocus();
                                   box->showPopup();
                               } else if (auto *button = qobject_cast<QToolButton *>(target)) {
                                   if (button->popupMode() == QToolButton::InstantPopup)
                                       button->showMenu();
                                   else
                                       button->click();
                               }
                           }};
        }
    }
    return tips;
}

} // namespace tarvellite::ui
