#pragma once

#include "ui/document/recovery.h"

#include <QMdiSubWindow>

namespace tarvellite::ui {

class CTarvelLiteDoc;
class CTarvelLiteView;
class ViewHost;

/// One document window: the child of the document area that holds a document and its view.
/// In tabbed mode the child frames are the tabs.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
  public:
    CChildFrame(ViewHost *host, QWidget *parent = nullptr);
    ~CChildFrame() override;

    CTarvelLiteDoc *getDocument() const { return doc_; }
    CTarvelLiteView *view() const { return view_; }
    /// The window's recovery copy (written by auto-save, deleted when the window closes).
    RecoveryFile &recovery() { return *recovery_; }
    void setRecovery(std::unique_ptr<RecoveryFile> recovery) { recovery_ = std::move(recovery); }

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    ViewHost *host_;
    CTarvelLiteDoc *doc_;
    CTarvelLiteView *view_;
    std::unique_ptr<RecoveryFile> recovery_ = std::make_unique<RecoveryFile>();
};

} // namespace tarvellite::ui
