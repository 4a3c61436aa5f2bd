#pragma once

// What an editing view needs from the window around it: the font and size boxes, the colour
// buttons and their list of used colours, the numbering gallery, the status panes and the zoom
// slider, and what the program shares (settings, keyboard routing, look-ahead source, the busy
// flag and print preview). The main frame implements it with its widgets and the application
// context; `BasicViewHost` keeps the same state in memory for a view without a frame (tests,
// tools).

#include "core/app/busy_flag.h"
#include "core/app/settings.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace tarvellite {
class InputRouter;
class LookAheadSource;
} // namespace tarvellite

namespace tarvellite::ui {

class ViewHost {
  public:
    virtual ~ViewHost() = default;

    /// The settings in memory.
    virtual const Settings &settings() const = 0;
    /// The application's busy flag.
    virtual BusyFlag &busyFlag() = 0;
    /// The keyboard routing the view's keys go through; null: none (the view types as a plain
    /// editor).
    virtual InputRouter *inputRouter() const { return nullptr; }
    /// What the look-ahead reads, asked at every update; null: no look-ahead.
    virtual LookAheadSource *lookAheadSource() const { return nullptr; }

    /// The faces the font box lists.
    virtual QStringList fontFaces() const = 0;
    virtual QString fontBoxText() const = 0;
    virtual void setFontBoxText(const QString &face) = 0;
    /// True while the user is typing into the font box; the box is then left alone.
    virtual bool fontBoxEditing() const { return false; }
    virtual QString sizeBoxText() const = 0;
    virtual void setSizeBoxText(const QString &text) = 0;

    /// Colours of the text colour and background colour buttons; an invalid colour is the
    /// automatic colour.
    virtual QColor textColour() const = 0;
    virtual void setTextColour(const QColor &colour) = 0;
    virtual QColor backColour() const = 0;
    virtual void setBackColour(const QColor &colour) = 0;
    /// The list of used colours, most recent first.
    virtual QList<QColor> recentColours() const = 0;
    virtual void setRecentColours(const QList<QColor> &colours) = 0;

    /// The numbering gallery's last chosen item (0 none, 1 … 7).
    virtual int numberingItem() const = 0;
    virtual void setNumberingItem(int item) = 0;

    /// Status panes by id; `hasStatusBar` is false when the bar or its first pane is missing.
    virtual bool hasStatusBar() const { return true; }
    virtual QString statusText(int paneId) const = 0;
    virtual void setStatusText(int paneId, const QString &text) = 0;
    /// Current texts of the on-screen keyboard's language and keyboard boxes.
    virtual QString languageText() const { return {}; }
    virtual QString keyboardText() const { return {}; }

    /// The zoom slider (10 … 200).
    virtual int zoomSliderPosition() const = 0;
    virtual void setZoomSliderPosition(int position) = 0;
    virtual void setZoomSliderPageStep(int step) = 0;

    /// Entering and leaving print preview; whether a document of the program is in it.
    virtual void setPrintPreviewMode(bool on) = 0;
    virtual bool printPreviewActive() const = 0;
};

/// A host that keeps everything in memory.
class BasicViewHost : public ViewHost {
  public:
    BasicViewHost() : appSettings(Settings::defaults(AppFolders{}, 0)) {}
    const Settings &settings() const override { return appSettings; }
    BusyFlag &busyFlag() override { return busy; }
    InputRouter *inputRouter() const override { return router; }
    LookAheadSource *lookAheadSource() const override { return lookAhead; }
    QStringList fontFaces() const override { return faces; }
    QString fontBoxText() const override { return fontBox; }
    void setFontBoxText(const QString &face) override { fontBox = face; }
    bool fontBoxEditing() const override { return fontEditing; }
    QString sizeBoxText() const override { return sizeBox; }
    void setSizeBoxText(const QString &text) override { sizeBox = text; }
    QColor textColour() const override { return text; }
    void setTextColour(const QColor &colour) override { text = colour; }
    QColor backColour() const override { return back; }
    void setBackColour(const QColor &colour) override { back = colour; }
    QList<QColor> recentColours() const override { return recent; }
    void setRecentColours(const QList<QColor> &colours) override { recent = colours; }
    int numberingItem() const override { return numbering; }
    void setNumberingItem(int item) override { numbering = item; }
    bool hasStatusBar() const override { return statusBar; }
    QString statusText(int paneId) const override { return panes.value(paneId); }
    void setStatusText(int paneId, const QString &t) override { panes[paneId] = t; }
    QString languageText() const override { return language; }
    QString keyboardText() const override { return keyboard; }
    int zoomSliderPosition() const override { return slider; }
    void setZoomSliderPosition(int position) override { slider = position; }
    void setZoomSliderPageStep(int step) override { pageStep = step; }
    void setPrintPreviewMode(bool on) override { previewMode = on; }
    bool printPreviewActive() const override { return previewMode; }

    Settings appSettings;
    BusyFlag busy;
    InputRouter *router = nullptr;
    LookAheadSource *lookAhead = nullptr;
    QStringList faces;
    QString fontBox;
    bool fontEditing = false;
    QString sizeBox;
    QColor text = Qt::black;
    QColor back = Qt::white;
    QList<QColor> recent;
    int numbering = 1;
    bool statusBar = true;
    QHash<int, QString> panes;
    QString language;
    QString keyboard;
    int slider = 100;
    int pageStep = 10;
    bool previewMode = false;
};

} // namespace tarvellite::ui
