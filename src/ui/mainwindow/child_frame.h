#pragma once

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

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    ViewHost *host_;
    CTarvelLiteDoc *doc_;
    CTarvelLiteView *view_;
};

} // namespace tarvellite::ui
