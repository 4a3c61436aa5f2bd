#include "ui/mainwindow/dock_panes.h"

#include "ui/app/app_context.h"
#include "ui/app/frame_services.h"
#include "ui/document/command_ids.h"
#include "ui/spelling/spell_check_dialog.h"
#include "ui/spelling/user_words.h"

#include <QLabel>

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
                QStringLiteral("The on-screen keyboard will be shown here."), parent),
      context_(context), frame_(frame),
      lookup_(std::make_unique<LookupDictionary>(context.inputContext(), [&context] {
          return context.settings().editOption.lookAheadMinLetters;
      })) {
    setMinimumSize(470, 190);
}

CKbdToolBar::~CKbdToolBar() {
    if (context_.lookAheadSource() == lookup_.get())
        context_.setLookAheadSource(nullptr);
}

void CKbdToolBar::refreshDictionaryStatus(bool always) {
    context_.setLookAheadSource(lookup_.get());
    Settings &settings = context_.mutableSettings();
    if (always)
        lookup_->reload(context_.dictionaries(), settings.defaultDictionaries,
                        settings.userDictionaryPath);
    else if (!lookup_->reloadIfLanguageChanged(context_.dictionaries(),
                                               settings.defaultDictionaries,
                                               settings.userDictionaryPath))
        return;
    frame_.SetDictionaryStatus(lookup_->statusText());
    frame_.MarkLoadedDictionary(lookup_->chosenIndex() >= 0 ? lookup_->chosenIndex() : -2);
}

CDirClass::CDirClass(AppContext &, FrameServices &, QWidget *parent)
    : CDockPane(PANE_ID_FOLDER, QStringLiteral("Folder"),
                QStringLiteral("The folder explorer will be shown here."), parent) {}

CSearchDock::CSearchDock(AppContext &, FrameServices &, QWidget *parent)
    : CDockPane(PANE_ID_FIND, QStringLiteral("Find / Replace"),
                QStringLiteral("Find and replace will be shown here."), parent) {}

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
