#include "ui/mainwindow/child_frame.h"

#include "core/app/messages.h"
#include "ui/document/document_saving.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QCloseEvent>
#include <utility>

namespace tarvellite::ui {

CChildFrame::CChildFrame(ViewHost *host, QWidget *parent)
    : QMdiSubWindow(parent), host_(host), doc_(new CTarvelLiteDoc(this)),
      view_(new CTarvelLiteView(doc_, host)) {
    setObjectName(QStringLiteral("childFrame"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view_);
    connect(doc_, &CTarvelLiteDoc::titleChanged, view_, &CTarvelLiteView::UpdateStatusAndTitle);
}

CChildFrame::~CChildFrame() {
    // The view reads its document and text until it is gone: it goes first, while both are
    // whole, and whatever watches it lets go as it starts to go.
    delete std::exchange(view_, nullptr);
}

void CChildFrame::closeEvent(QCloseEvent *event) {
    if (host_ && host_->printPreviewActive()) {
        event->ignore();
        return;
    }
    const bool confirmed = std::exchange(closeConfirmed_, false);
    if (!confirmed) {
        bool mayClose = false;
        if (closeQuestion) {
            mayClose = closeQuestion();
        } else {
            SaveEnvironment env;
            env.parent = this;
            env.settings = host_ ? &host_->settings() : nullptr;
            env.busy = host_ ? &host_->busyFlag() : nullptr;
            env.recovery = recovery_.get();
            mayClose = QuerySaveOnClose(*view_, env);
        }
        if (!mayClose) {
            event->ignore();
            return;
        }
    }
    doc_->fileHold().release();
    // Closed normally: its recovery copy is no longer needed.
    recovery_->discard();
    QMdiSubWindow::closeEvent(event);
}

} // namespace tarvellite::ui
