#include "ui/document/ruler_bar.h"

#include "core/document/ruler_scale.h"
#include "ui/document/document_units.h"
#include "ui/document/format_properties.h"
#include "ui/document/indent_scale.h"
#include "ui/document/tarvellite_view.h"
#include "ui/document/text_format.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <cmath>

namespace tarvellite::ui {

namespace {

constexpr int faceTop = 4;
constexpr int faceHeight = 17;
constexpr int handleHalf = 5;

QPolygon triangle(int x, int y, bool down) {
    const int tip = down ? y + handleHalf : y - handleHalf;
    return QPolygon({QPoint(x - handleHalf, y), QPoint(x + handleHalf, y), QPoint(x, tip)});
}

} // namespace

CRulerBar::CRulerBar(std::function<int()> measureUnit, QWidget *parent)
    : QWidget(parent), measureUnit_(std::move(measureUnit)) {
    setObjectName(QStringLiteral("ruler-bar"));
    setAccessibleName(QStringLiteral("Ruler"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize CRulerBar::sizeHint() const {
    return QSize(400, faceTop + faceHeight + 8);
}

void CRulerBar::setView(CTarvelLiteView *view) {
    for (const auto &c : connections_)
        disconnect(c);
    connections_.clear();
    for (QObject *watched : watched_)
        if (watched)
            watched->removeEventFilter(this);
    watched_.clear();
    grab_ = Grab::None;
    view_ = view;
    if (view) {
        // The face lines up with the text: it moves when the view's window moves or resizes.
        for (QWidget *w = view; w && w != window(); w = w->parentWidget()) {
            w->installEventFilter(this);
            watched_ << w;
        }
        const auto follow = [this] {
            if (grab_ == Grab::None) {
                readView();
                update();
            }
        };
        connections_ << connect(view, &CTarvelLiteView::destroying, this,
                                [this] { setView(nullptr); })
                     << connect(view, &QTextEdit::cursorPositionChanged, this, follow)
                     << connect(view, &CTarvelLiteView::formatStateChanged, this, follow)
                     << connect(view, &CTarvelLiteView::statusChanged, this, follow)
                     << connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this,
                                qOverload<>(&QWidget::update));
    }
    readView();
    update();
}

bool CRulerBar::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        update();
    return QWidget::eventFilter(watched, event);
}

double CRulerBar::zoom() const {
    return view_ ? view_->zoomFactor() : 1.0;
}

int CRulerBar::printableWidth() const {
    if (!view_)
        return 0;
    const PageLayout l = view_->deviceLayout();
    return std::max(0, l.paperWidth - l.marginLeft - l.marginRight);
}

int CRulerBar::extentTwips() const {
    if (!view_)
        return 0;
    const PageLayout l = view_->deviceLayout();
    return std::max(0, l.paperWidth - l.marginLeft);
}

void CRulerBar::readView() {
    tabs_.clear();
    hiddenTabs_.clear();
    if (!view_)
        return;
    const QTextCursor cursor = view_->textCursor();
    if (cursor.isNull())
        return; // the view's text is being replaced
    start_ = text_format::startIndent(cursor);
    const int offset = text_format::offset(cursor);
    // The first line starts at the start indent; the others at start + offset.
    firstLine_ = start_;
    start_ = firstLine_ + offset;
    rightHandle_ = printableWidth() - text_format::rightIndent(cursor);
    const QTextBlock block = view_->document()->findBlock(cursor.selectionStart());
    for (const QTextOption::Tab &tab : block.blockFormat().tabPositions()) {
        const int twips = unitsToTwips(tab.position);
        if (int(tabs_.size()) < rulerTabHandles)
            tabs_.push_back(twips);
        else
            hiddenTabs_.push_back(twips);
    }
}

int CRulerBar::xOfTwips(int twips) const {
    if (!view_)
        return 0;
    const QWidget *viewport = view_->viewport();
    const int viewportLeft =
        viewport->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x();
    const double margin =
        view_->document()->documentMargin() * zoom() * view_->logicalDpiX() / double(unitsPerInch);
    return viewportLeft + int(std::lround(margin)) - view_->horizontalScrollBar()->value() +
           int(std::lround(rulerTwipsToPixels(twips, view_->logicalDpiX(), zoom())));
}

int CRulerBar::twipsAt(int x) const {
    if (!view_)
        return 0;
    const int origin = xOfTwips(0);
    const int twips = rulerPixelsToTwips(x - origin, view_->logicalDpiX(), zoom());
    return snapTwips(twips, rulerUnit(measureUnit_()).snapStep);
}

void CRulerBar::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    if (!view_)
        return;
    const int printable = printableWidth();
    const int extent = extentTwips();
    const QRect face(xOfTwips(0), faceTop, xOfTwips(printable) - xOfTwips(0), faceHeight);
    p.fillRect(face, palette().color(QPalette::Base));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(face.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::WindowText));
    QFont font = p.font();
    font.setPixelSize(8);
    p.setFont(font);
    const int mid = faceTop + 8;
    for (const RulerTick &tick : rulerTicks(measureUnit_(), extent, printable)) {
        const int x = xOfTwips(tick.twips);
        if (tick.kind == RulerTick::Number)
            p.drawText(QRect(x - 15, faceTop, 30, faceHeight), Qt::AlignCenter,
                       QString::number(tick.number));
        else {
            const int half = tick.kind == RulerTick::Medium ? 2 : 1;
            p.drawLine(x, mid - half, x, mid + half);
        }
    }
    const int largest = tabs_.empty() ? 0 : *std::max_element(tabs_.begin(), tabs_.end());
    for (int mark : defaultTabMarks(largest, printable))
        p.drawLine(xOfTwips(mark), faceTop + faceHeight - 1, xOfTwips(mark),
                   faceTop + faceHeight + 1);
    p.setBrush(palette().color(QPalette::WindowText));
    for (int tab : tabs_) {
        const int x = xOfTwips(tab);
        p.drawLine(x, faceTop + 6, x, faceTop + 12);
        p.drawLine(x, faceTop + 12, x + 4, faceTop + 12);
    }
    p.setBrush(palette().color(QPalette::Button));
    p.drawPolygon(triangle(xOfTwips(firstLine_), faceTop, true));
    p.drawPolygon(triangle(xOfTwips(start_), faceTop + faceHeight, false));
    p.drawRect(xOfTwips(start_) - handleHalf, faceTop + faceHeight, 2 * handleHalf, 4);
    p.drawPolygon(triangle(xOfTwips(rightHandle_), faceTop + faceHeight, false));
}

void CRulerBar::mousePressEvent(QMouseEvent *event) {
    if (!view_ || event->button() != Qt::LeftButton)
        return;
    const QPoint pt = event->position().toPoint();
    const auto near = [&](int twips) { return std::abs(pt.x() - xOfTwips(twips)) <= handleHalf; };
    const int bottom = faceTop + faceHeight;
    grab_ = Grab::None;
    if (near(start_) && pt.y() > bottom)
        grab_ = Grab::Start; // the box below the hanging handle moves both indents
    else if (near(start_) && pt.y() > faceTop + faceHeight / 2)
        grab_ = Grab::Hanging;
    else if (near(firstLine_) && pt.y() <= faceTop + faceHeight / 2)
        grab_ = Grab::FirstLine;
    else if (near(rightHandle_))
        grab_ = Grab::Right;
    else {
        for (std::size_t i = 0; i < tabs_.size(); ++i)
            if (near(tabs_[i])) {
                grab_ = Grab::Tab;
                grabTab_ = i;
                break;
            }
        if (grab_ == Grab::None) {
            if (int(tabs_.size()) >= rulerTabHandles)
                return; // every tab handle is in use
            tabs_.push_back(twipsAt(pt.x()));
            grab_ = Grab::Tab;
            grabTab_ = tabs_.size() - 1;
        }
    }
    grabFirstLine_ = firstLine_;
    grabStart_ = start_;
    grabTwips_ = twipsAt(pt.x());
    track(pt);
}

void CRulerBar::mouseMoveEvent(QMouseEvent *event) {
    if (grab_ != Grab::None)
        track(event->position().toPoint());
}

void CRulerBar::track(const QPoint &point) {
    const int at = twipsAt(point.x());
    const int printable = printableWidth();
    switch (grab_) {
    case Grab::None: break;
    case Grab::FirstLine: firstLine_ = std::clamp(at, 0, rightHandle_); break;
    case Grab::Hanging: start_ = std::clamp(at, 0, rightHandle_); break;
    case Grab::Start: {
        // Both indents move by the same distance, neither past its bounds.
        const int low = std::min(grabFirstLine_, grabStart_);
        const int high = std::max(grabFirstLine_, grabStart_);
        const int shift = std::clamp(at - grabTwips_, -low, rightHandle_ - high);
        firstLine_ = grabFirstLine_ + shift;
        start_ = grabStart_ + shift;
        break;
    }
    case Grab::Right:
        rightHandle_ = std::clamp(at, std::max(firstLine_, start_), extentTwips());
        break;
    case Grab::Tab: {
        const bool inside = point.y() >= 0 && point.y() <= faceTop + faceHeight + 8;
        tabs_[grabTab_] = inside ? std::clamp(at, 0, std::max(printable, extentTwips())) : 0;
        break;
    }
    }
    update();
}

void CRulerBar::mouseReleaseEvent(QMouseEvent *event) {
    if (grab_ == Grab::None)
        return;
    track(event->position().toPoint());
    grab_ = Grab::None;
    apply();
    readView();
    update();
}

void CRulerBar::apply() {
    if (!view_)
        return;
    std::vector<int> stops = tabStopsFromHandles(tabs_);
    stops.insert(stops.end(), hiddenTabs_.begin(), hiddenTabs_.end());
    const int right = printableWidth() - rightHandle_;
    const int offset = start_ - firstLine_;
    QTextCursor cursor = view_->textCursor();
    QTextDocument *document = cursor.document();
    const QTextBlock last = document->findBlock(cursor.selectionEnd());
    cursor.beginEditBlock();
    for (QTextBlock block = document->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        QTextBlockFormat f = block.blockFormat();
        f.setLeftMargin(indentTwipsToUnits(document, firstLine_ + offset));
        f.setRightMargin(indentTwipsToUnits(document, right));
        if (block.textList()) {
            f.setTextIndent(0);
            f.setProperty(OffsetProperty, offset);
        } else {
            f.setTextIndent(indentTwipsToUnits(document, -offset));
        }
        // Stops keep their alignment where a stop stays in place.
        QList<QTextOption::Tab> tabs;
        const QList<QTextOption::Tab> old = f.tabPositions();
        for (int stop : stops) {
            QTextOption::Tab tab(twipsToUnits(stop), QTextOption::LeftTab);
            for (const QTextOption::Tab &o : old)
                if (unitsToTwips(o.position) == stop)
                    tab = o;
            tabs.append(tab);
        }
        f.setTabPositions(tabs);
        QTextCursor(block).setBlockFormat(f);
        if (block == last)
            break;
    }
    cursor.endEditBlock();
}

} // namespace tarvellite::ui
