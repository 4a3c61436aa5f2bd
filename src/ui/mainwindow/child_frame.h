#pragma once

#include "ui/document/recovery.h"

#include <QMdiSubWindow>
#include <functional>

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

    /// Asks whether the window may close (the save question of a modified document); without
    /// it the window asks with the settings of its host and no recent-document list.
    std::function<bool()> closeQuestion;
    /// Set when the question has been answered for this close already (the main window asks
    /// every document before it closes any): the window then closes without asking again.
    void setCloseConfirmed(bool confirmed) { closeConfirmed_ = confirmed; }

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    ViewHost *host_;
    CTarvelLiteDoc *doc_;
    CTarvelLiteView *view_;
    std::unique_ptr<RecoveryFile> recovery_ = std::make_unique<RecoveryFile>();
    bool closeConfirmed_ = false;
};

} // namespace tarvellite::ui
