#include "ui/mainwindow/child_frame.h"

#include "core/app/messages.h"
#include "ui/document/document_io.h"
#include "ui/document/tarvellite_doc.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/view_host.h"

#include <QCloseEvent>
#include <QFileInfo>
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
    if (doc_->isModified()) {
        // The name without the modified marker.
        QString name = QFileInfo(doc_->path()).fileName();
        if (name.isEmpty()) {
            name = doc_->title();
            if (const qsizetype star = name.lastIndexOf(QLatin1Char('*')); star > 0)
                name = name.left(star);
        }
        Message question;
        question.text =
            "Do you Want to Save this file before closing?\nFile Name: " + name.toStdString() +
            "\nYes:       Save the file and exit.\nNo:        Do not save the "
            "file but exit.\nCancel: Do not close";
        question.caption = "Window Closing: File Save Query";
        question.icon = MessageIcon::Question;
        question.buttons = MessageButtons::YesNoCancel;
        question.defaultAnswer = MessageAnswer::Cancel;
        const MessageAnswer answer = showMessage(question);
        if (answer == MessageAnswer::Cancel) {
            event->ignore();
            return;
        }
        if (answer == MessageAnswer::Yes) {
            QString path = doc_->path();
            const QString folder =
                host_ ? QString::fromStdString(host_->settings().defaultUserPath) : QString();
            if (path.isEmpty() &&
                !PromptForFileName(this, path, QStringLiteral("Save As"), false, folder)) {
                event->ignore();
                return;
            }
            BusyFlag ownFlag;
            BusyGuard busy(host_ ? host_->busyFlag() : ownFlag);
            doc_->fileHold().release();
            if (Status s = StoreDocumentBody(*view_, path); !s) {
                doc_->holdFile(doc_->path());
                showMessage(s.error().message, MessageIcon::Warning);
                event->ignore();
                return;
            }
        }
    }
    doc_->fileHold().release();
    // Closed normally: its recovery copy is no longer needed.
    recovery_->discard();
    QMdiSubWindow::closeEvent(event);
}

} // namespace tarvellite::ui
