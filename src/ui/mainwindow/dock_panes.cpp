#include "ui/mainwindow/dock_panes.h"

#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"
#include "ui/document/command_ids.h"
#include "ui/explorer/flat_frame.h"
#include "ui/input/kbd_dialog.h"
#include "ui/search/search_page.h"
#include "ui/spelling/spell_check_dialog.h"
#include "ui/spelling/user_words.h"

#include <QLabel>
#include <QMainWindow>
#include <QStyle>

namespace tarvellite::ui {

CDockPane::CDockPane(int paneId, const QString &caption, const QString &holds, QWidget *parent)
    : QDockWidget(caption, parent), paneId_(paneId) {
    setObjectName(QString::number(paneId));
    setAccessibleName(caption);
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    setAllowedAreas(Qt::AllDockWidgetAreas);
    auto *label = new QLabel(holds, this);
    label->setObjectName(QStringLiteral("placeholder"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMargin(8);
    label->setEnabled(false);
    setWidget(label);
}

void CDockPane::setContent(QWidget *content) {
    QWidget *old = widget();
    setWidget(content);
    delete old;
}

CKbdToolBar::CKbdToolBar(AppContext &context, FrameServices &frame, QWidget *parent)
    : CDockPane(PANE_ID_KEYBOARD, QStringLiteral("Keyboard"),
                QStringLiteral("The on-screen keyboard will be shown here."), parent) {
    setMinimumSize(470, 190);
    dialog_ = new CKbdDialog(context, frame, this);
    dialog_->setTitleBarToggle([this] { return ToggleTitleBar(); });
    setContent(dialog_);
    dialog_->FillLanguageList();
    connect(this, &QDockWidget::topLevelChanged, this,
            [this] { dialog_->showTitleBarState(isFloating() || titleBarShown_); });
}

CKbdToolBar::~CKbdToolBar() = default;

void CKbdToolBar::refreshDictionaryStatus(bool always) {
    if (dialog_)
        dialog_->refreshDictionaryStatus(always);
}

LookupDictionary *CKbdToolBar::lookupDictionary() {
    return dialog_ ? &dialog_->lookupDictionary() : nullptr;
}

bool CKbdToolBar::ToggleTitleBar() {
    // A floating pane keeps its title bar.
    if (isFloating())
        return true;
    const int before = titleBarShown_ ? height() - widget()->height() : 0;
    titleBarShown_ = !titleBarShown_;
    if (titleBarShown_) {
        QWidget *empty = titleBarWidget();
        setTitleBarWidget(nullptr);
        delete empty;
    } else {
        setTitleBarWidget(new QWidget(this));
    }
    const int caption = titleBarShown_ ? style()->pixelMetric(QStyle::PM_TitleBarHeight) : 0;
    const int target = std::max(190, height() - before + caption);
    if (auto *window = qobject_cast<QMainWindow *>(parentWidget()))
        window->resizeDocks({this}, {target}, Qt::Vertical);
    return titleBarShown_;
}

void CKbdToolBar::resizeEvent(QResizeEvent *event) {
    CDockPane::resizeEvent(event);
    if (dialog_)
        dialog_->showTitleBarState(isFloating() || titleBarShown_);
}

CDirClass::CDirClass(AppContext &context, FrameServices &frame, QWidget *parent)
    : CDockPane(PANE_ID_FOLDER, QStringLiteral("Folder"), QString(), parent),
      explorer_(new CFlatFrame(context, frame)) {
    setContent(explorer_);
}

CSearchDock::CSearchDock(AppContext &context, FrameServices &frame, QWidget *parent)
    : CDockPane(PANE_ID_FIND, QStringLiteral("Find / Replace"),
                QStringLiteral("Find and replace will be shown here."), parent) {
    page_ = new CSearchPage(context, frame, this);
    setContent(page_);
}

CSpellDock::CSpellDock(AppContext &context, FrameServices &frame, QWidget *parent)
    : CDockPane(PANE_ID_SPELL, QStringLiteral("Spell Checker"),
                QStringLiteral("The spell checker will be shown here."), parent) {
    setContent(new CSpellCheckDialog(context, frame, this));
    // Words added to a user dictionary count for the look-ahead at once.
    connect(&UserWordsHub::of(context), &UserWordsHub::userWordsChanged, this,
            [&context](const QString &path) {
                auto *lookup = dynamic_cast<LookupDictionary *>(context.lookAheadSource());
                if (!lookup || QString::fromStdString(lookup->dictionary().userDictPath()) != path)
                    return;
                Settings &settings = context.mutableSettings();
                lookup->reload(context.dictionaries(), settings.defaultDictionaries,
                               settings.userDictionaryPath);
            });
}

} // namespace tarvellite::ui
