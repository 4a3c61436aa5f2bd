#include "ui/mainwindow/ribbon/ribbon_icons.h"

#include "ui/document/command_ids.h"

#include <QPainter>
#include <QPainterPath>

namespace tarvellite::ui {

namespace {

/// Text lines of a paragraph picture: `align` places lines of varying length.
void paragraphLines(QPainter &p, const QRectF &r, Qt::Alignment align) {
    const qreal step = r.height() / 5;
    for (int i = 0; i < 5; ++i) {
        const qreal len = (align == Qt::AlignJustify || i % 2 == 0) ? r.width() : r.width() * 0.6;
        qreal x = r.left();
        if (align == Qt::AlignRight)
            x = r.right() - len;
        else if (align == Qt::AlignHCenter)
            x = r.center().x() - len / 2;
        p.drawLine(QPointF(x, r.top() + step * (i + 0.5)),
                   QPointF(x + len, r.top() + step * (i + 0.5)));
    }
}

void page(QPainter &p, const QRectF &r, const QColor &fill) {
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.fillPath(path, fill);
    p.drawPath(path);
}

void tile(QPainter &p, const QRectF &r, const QColor &colour, const QString &text) {
    p.setBrush(colour);
    p.drawRoundedRect(r, r.width() * 0.15, r.width() * 0.15);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(int(r.height() * (text.size() > 1 ? 0.45 : 0.62)));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text);
}

void draw(QPainter &p, int id, int s) {
    const QRectF full(0, 0, s, s);
    const QRectF inner = full.adjusted(s * 0.12, s * 0.12, -s * 0.12, -s * 0.12);
    QPen pen(QColor(50, 60, 80), std::max(1.0, s / 16.0));
    p.setPen(pen);
    auto letter = [&](const QString &text, bool bold, bool italic, bool underline, bool strike) {
        QFont font(QStringLiteral("DejaVu Serif"));
        font.setPixelSize(int(s * 0.8));
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);
        font.setStrikeOut(strike);
        p.setFont(font);
        p.drawText(full, Qt::AlignCenter, text);
    };
    switch (id) {
    case ID_FONTBOLD: return letter(QStringLiteral("B"), true, false, false, false);
    case ID_FONTITALIC: return letter(QStringLiteral("I"), false, true, false, false);
    case ID_FONTUNDERLINE: return letter(QStringLiteral("U"), false, false, true, false);
    case ID_FONTSTRIKEOUT: return letter(QStringLiteral("S"), false, false, false, true);
    case ID_PARALEFT: return paragraphLines(p, inner, Qt::AlignLeft);
    case ID_PARACENTRE: return paragraphLines(p, inner, Qt::AlignHCenter);
    case ID_PARARIGHT: return paragraphLines(p, inner, Qt::AlignRight);
    case ID_PARAJUST: return paragraphLines(p, inner, Qt::AlignJustify);
    case ID_PARA_BULLET:
    case ID_PARA_NUMBERING: {
        const qreal step = inner.height() / 3;
        QFont font = p.font();
        font.setPixelSize(int(step * 1.1));
        p.setFont(font);
        for (int i = 0; i < 3; ++i) {
            const qreal y = inner.top() + step * (i + 0.5);
            if (id == ID_PARA_BULLET) {
                p.setBrush(p.pen().color());
                p.drawEllipse(QPointF(inner.left() + step * 0.3, y), step * 0.18, step * 0.18);
            } else {
                p.drawText(QRectF(inner.left() - step * 0.2, y - step / 2, step, step),
                           Qt::AlignCenter, QString::number(i + 1));
            }
            p.drawLine(QPointF(inner.left() + step, y), QPointF(inner.right(), y));
        }
        return;
    }
    case ID_PARALEFTINDENT:
    case ID_PARARIGHTINDENT: {
        paragraphLines(p, inner.adjusted(inner.width() * 0.4, 0, 0, 0), Qt::AlignJustify);
        const qreal y = inner.center().y();
        const qreal l = inner.left(), r = inner.left() + inner.width() * 0.3;
        QPolygonF arrow;
        if (id == ID_PARARIGHTINDENT)
            arrow << QPointF(l, y - s * 0.15) << QPointF(r, y) << QPointF(l, y + s * 0.15);
        else
            arrow << QPointF(r, y - s * 0.15) << QPointF(l, y) << QPointF(r, y + s * 0.15);
        p.setBrush(QColor(40, 100, 200));
        p.drawPolygon(arrow);
        return;
    }
    case ID_FILE_NEW: return page(p, inner.adjusted(s * 0.1, 0, -s * 0.1, 0), Qt::white);
    case ID_FILE_OPEN: {
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(inner.adjusted(0, s * 0.2, 0, 0));
        p.drawRect(QRectF(inner.left(), inner.top() + s * 0.1, inner.width() * 0.4, s * 0.1));
        return;
    }
    case ID_FILE_SAVE: {
        p.setBrush(QColor(70, 110, 190));
        p.drawRoundedRect(inner, s * 0.08, s * 0.08);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(inner.left() + s * 0.15, inner.top(), inner.width() - s * 0.3, s * 0.3));
        return;
    }
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_SETUP: {
        p.setBrush(QColor(200, 200, 210));
        p.drawRoundedRect(QRectF(inner.left(), inner.top() + s * 0.3, inner.width(), s * 0.35),
                          s * 0.05, s * 0.05);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(inner.left() + s * 0.15, inner.top(), inner.width() - s * 0.3, s * 0.3));
        p.drawRect(QRectF(inner.left() + s * 0.15, inner.top() + s * 0.55, inner.width() - s * 0.3,
                          s * 0.2));
        return;
    }
    case ID_FILE_PRINT_PREVIEW: {
        page(p, inner.adjusted(0, 0, -s * 0.2, 0), Qt::white);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(inner.center().x() + s * 0.05, inner.center().y() + s * 0.05),
                      s * 0.18, s * 0.18);
        p.drawLine(QPointF(inner.center().x() + s * 0.18, inner.center().y() + s * 0.18),
                   inner.bottomRight());
        return;
    }
    case ID_EDIT_UNDO:
    case ID_EDIT_REDO: {
        QPainterPath arc;
        const bool undo = id == ID_EDIT_UNDO;
        arc.moveTo(undo ? inner.left() + s * 0.1 : inner.right() - s * 0.1, inner.center().y());
        arc.cubicTo(undo ? inner.left() + s * 0.2 : inner.right() - s * 0.2, inner.top(),
                    undo ? inner.right() : inner.left(), inner.top(),
                    undo ? inner.right() - s * 0.1 : inner.left() + s * 0.1, inner.bottom());
        QPen thick = pen;
        thick.setColor(QColor(40, 100, 200));
        thick.setWidthF(s / 8.0);
        p.setPen(thick);
        p.drawPath(arc);
        p.setBrush(QColor(40, 100, 200));
        const qreal x = undo ? inner.left() + s * 0.1 : inner.right() - s * 0.1;
        p.drawPolygon(QPolygonF() << QPointF(x - s * 0.15, inner.center().y() - s * 0.1)
                                  << QPointF(x + s * 0.15, inner.center().y() - s * 0.1)
                                  << QPointF(x, inner.center().y() + s * 0.1));
        return;
    }
    default: break;
    }
    struct Tile {
        int id;
        const char *text;
        QColor colour;
    };
    static const Tile tiles[] = {
        {ID_EDIT_PASTE, "P", QColor(190, 130, 60)},
        {ID_EDIT_CUT, "X", QColor(120, 120, 140)},
        {ID_EDIT_COPY, "C", QColor(90, 120, 170)},
        {ID_EDIT_SELECT_ALL, "A", QColor(90, 120, 170)},
        {ID_EDIT_CLEAR, "⌫", QColor(170, 70, 70)},
        {ID_INSERT_PICTURE, "▣", QColor(60, 150, 90)},
        {ID_DICTIONARY, "Aa", QColor(150, 60, 60)},
        {ID_BTNUSRDICT, "Ab", QColor(150, 90, 40)},
        {ID_CHKSTBAR, "▁", QColor(100, 110, 130)},
        {ID_VIEW_RULER, "⊢", QColor(100, 110, 130)},
        {ID_CHKKBD, "⌨", QColor(60, 90, 150)},
        {ID_CHKFE, "▤", QColor(200, 150, 50)},
        {ID_CHKFR, "?", QColor(60, 130, 150)},
        {ID_ABOUT, "i", QColor(60, 100, 180)},
        {IDC_STWLOOK, "▭", QColor(80, 110, 160)},
        {ID_SETTINGS, "⚙", QColor(100, 100, 110)},
        {ID_BTNCONV, "த", QColor(140, 70, 150)},
        {ID_CHKUPDATE, "↻", QColor(60, 140, 80)},
        {ID_HELP_FINDER, "?", QColor(40, 110, 200)},
        {ID_WINDOW_MANAGER, "▦", QColor(80, 110, 160)},
    };
    for (const Tile &t : tiles) {
        if (t.id == id) {
            p.setPen(Qt::NoPen);
            return tile(p, inner, t.colour, QString::fromUtf8(t.text));
        }
    }
    p.setPen(Qt::NoPen);
    tile(p, inner, QColor(80, 110, 160), QStringLiteral("▪"));
}

} // namespace

QIcon commandIcon(int id) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, id, size);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap applicationButtonPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(size * 0.5, size * 0.35, size * 0.6);
    glow.setColorAt(0, QColor(255, 255, 255));
    glow.setColorAt(0.5, QColor(140, 180, 240));
    glow.setColorAt(1, QColor(30, 80, 170));
    p.setBrush(glow);
    p.setPen(QPen(QColor(30, 60, 120), std::max(1.0, size / 24.0)));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    QPen ink(QColor(20, 40, 90), std::max(1.0, size / 20.0));
    p.setPen(ink);
    p.setBrush(Qt::white);
    const QRectF sheet(size * 0.32, size * 0.25, size * 0.36, size * 0.48);
    p.drawRect(sheet);
    for (int i = 1; i <= 3; ++i)
        p.drawLine(QPointF(sheet.left() + size * 0.06, sheet.top() + i * sheet.height() / 4),
                   QPointF(sheet.right() - size * 0.06, sheet.top() + i * sheet.height() / 4));
    return pixmap;
}

} // namespace tarvellite::ui
