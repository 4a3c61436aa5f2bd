#pragma once

// The ribbon: the tab row (the round application button, the quick-access bar, the category
// tabs, the "Style" menu and the help button) over the panels of the current category. Every
// button shows one of the frame's actions and follows it (text, icon, enabled, checked); an
// action that carries a menu shows as a split button (the button runs the action, its arrow
// opens the menu), also when the menu arrives after the ribbon was built. Panels that do not
// fit collapse, from the right, into one button each that opens the panel below it.

#include "ui/mainwindow/ribbon/key_tips.h"
#include "ui/mainwindow/ribbon/ribbon_definition.h"
#include "ui/mainwindow/ribbon/ribbon_looks.h"

#include <QFrame>
#include <QHash>
#include <QPointer>
#include <QToolButton>
#include <functional>
#include <memory>

class QAction;
class QHBoxLayout;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabBar;
class QVBoxLayout;

namespace tarvellite::ui {

class RibbonBar;

/// The key tips of the ribbon's tab row (`level` 0) or of its current category (1).
QList<KeyTip> ribbonKeyTips(RibbonBar &bar, int level);

/// A button that shows one action.
class RibbonButton : public QToolButton {
    Q_OBJECT
  public:
    RibbonButton(QAction *action, RibbonElement::Kind kind, const QString &caption,
                 QWidget *parent = nullptr);
    QAction *action() const { return action_; }
    /// Whether the button splits into the action and the arrow of its menu.
    bool isSplit() const;

  protected:
    void actionEvent(QActionEvent *event) override;

  private:
    void follow();
    QPointer<QAction> action_;
    RibbonElement::Kind kind_;
    QString caption_;
    bool dropDownOnly_ = false;
    /// Set while the button takes its state from its action.
    bool syncing_ = true;
};

/// One panel: its elements over its title, or, when collapsed, one button that opens them.
class RibbonPanel : public QWidget {
    Q_OBJECT
  public:
    RibbonPanel(const QString &title, const QString &keyTip, QWidget *parent = nullptr);
    QString title() const { return title_; }
    QString keyTip() const { return keyTip_; }
    /// The widget holding the elements (inside the panel, or inside its pop-up when collapsed).
    QWidget *content() const { return content_; }
    QHBoxLayout *columns() const { return columns_; }
    bool isCollapsed() const { return collapsed_; }
    void setCollapsed(bool collapsed);
    /// Widths when expanded and when collapsed.
    int expandedWidth() const;
    int collapsedWidth() const;
    QToolButton *collapsedButton() const { return collapsedButton_; }
    /// Opens the elements of a collapsed panel below its button.
    void showPopup();
    QFrame *popup() const { return popup_; }

  private:
    QString title_;
    QString keyTip_;
    QWidget *content_;
    QHBoxLayout *columns_;
    QLabel *titleLabel_;
    QToolButton *collapsedButton_;
    QFrame *popup_;
    QVBoxLayout *layout_;
    bool collapsed_ = false;
};

/// The panels of one category, collapsing from the right to fit the width.
class RibbonCategory : public QWidget {
    Q_OBJECT
  public:
    RibbonCategory(const QString &title, const QString &keyTip, QWidget *parent = nullptr);
    QString title() const { return title_; }
    QString keyTip() const { return keyTip_; }
    void addPanel(RibbonPanel *panel);
    const QList<RibbonPanel *> &panels() const { return panels_; }
    /// Collapses the panels that do not fit `width`, from the right.
    void fit(int width);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent *event) override;

  private:
    QString title_;
    QString keyTip_;
    QHBoxLayout *layout_;
    QList<RibbonPanel *> panels_;
};

/// What the ribbon is built from beside its definition.
struct RibbonCommands {
    /// The frame's action of a command id (null: none).
    std::function<QAction *(int)> action;
    /// The frame's control of an id (the font and size boxes).
    std::function<QWidget *(int)> control;
    QMenu *applicationMenu = nullptr;
    QMenu *styleMenu = nullptr;
    QAction *help = nullptr;
};

class RibbonBar : public QWidget {
    Q_OBJECT
  public:
    /// Builds the ribbon of `definition`; null, with the reason in `error`, when a required
    /// control or an element's command is missing.
    static RibbonBar *create(const RibbonDefinition &definition, const RibbonCommands &commands,
                             QWidget *parent, QString *error);
    ~RibbonBar() override;

    QToolButton *applicationButton() const { return applicationButton_; }
    QToolButton *styleButton() const { return styleButton_; }
    QToolButton *helpButton() const { return helpButton_; }
    QTabBar *tabBar() const { return tabs_; }
    QList<RibbonCategory *> categories() const { return categories_; }
    RibbonCategory *currentCategory() const;
    /// The button of command `id` in the panels (the first when several show it), or null.
    RibbonButton *button(int id) const { return buttons_.value(id); }
    /// The panel that holds `widget`, or null.
    RibbonPanel *panelOf(const QWidget *widget) const;

    /// The look: colours of the ribbon.
    void setLook(const RibbonLook &look);
    QString lookName() const { return look_.name; }

    /// The quick-access bar: the commands it offers and those it shows.
    QList<int> quickAccessOffered() const { return quickOffered_; }
    QList<int> quickAccessShown() const { return quickShown_; }
    void setQuickAccessShown(const QList<int> &ids);
    QToolButton *quickAccessButton(int id) const { return quickButtons_.value(id); }
    QMenu *quickAccessMenu() const { return quickMenu_; }

    KeyTips *keyTips() const { return keyTips_; }

    QSize minimumSizeHint() const override;

  signals:
    void quickAccessChanged();

  private:
    explicit RibbonBar(QWidget *parent);
    void rebuildQuickAccess();

    RibbonLook look_;
    QToolButton *applicationButton_ = nullptr;
    QToolButton *styleButton_ = nullptr;
    QToolButton *helpButton_ = nullptr;
    QToolButton *quickCustomise_ = nullptr;
    QMenu *quickMenu_ = nullptr;
    QHBoxLayout *quickLayout_ = nullptr;
    QTabBar *tabs_ = nullptr;
    QStackedWidget *stack_ = nullptr;
    QList<RibbonCategory *> categories_;
    QHash<int, RibbonButton *> buttons_;
    QHash<int, QToolButton *> quickButtons_;
    QHash<int, QAction *> quickActions_;
    QList<int> quickOffered_;
    QList<int> quickShown_;
    KeyTips *keyTips_ = nullptr;
    QHash<int, QAction *> quickCommands_;
    QHash<const QWidget *, QString> elementTips_;
    friend QList<KeyTip> ribbonKeyTips(RibbonBar &bar, int level);
};

/// The tooltip of the application button: its image beside its title and description.
QString applicationButtonToolTip();

/// The id of the application button.
inline constexpr int ID_MAINBTN = 104;

} // namespace tarvellite::ui
