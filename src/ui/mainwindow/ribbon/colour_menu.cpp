#include "ui/mainwindow/ribbon/colour_menu.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace tarvellite::ui {

namespace {

QString withoutMnemonic(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

} // namespace

QIcon colourSwatch(const QColor &colour, int size, bool border) {
    QPixmap pixmap(size, size);
    pixmap.fill(colour.isValid() ? colour : QColor(Qt::black));
    if (border) {
        QPainter painter(&pixmap);
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(0, 0, size - 1, size - 1);
    }
    return QIcon(pixmap);
}

ColourMenu::ColourMenu(const QString &title, const ColourMenuLayout &layout, QWidget *parent)
    : QMenu(title, parent), layout_(layout) {
    setAccessibleName(withoutMnemonic(title));
    connect(this, &QMenu::aboutToShow, this, &ColourMenu::rebuild);
    rebuild();
}

QToolButton *ColourMenu::addBox(const PaletteColour &entry, bool current) {
    auto *box = new QToolButton(palette_);
    box->setIcon(colourSwatch(entry.colour, layout_.boxSize, true));
    box->setIconSize(QSize(layout_.boxSize, layout_.boxSize));
    box->setFixedSize(layout_.boxSize + 6, layout_.boxSize + 6);
    box->setAutoRaise(true);
    box->setToolTip(entry.name);
    box->setAccessibleName(entry.name);
    box->setFocusPolicy(Qt::StrongFocus);
    // The current colour shows pressed.
    box->setCheckable(true);
    box->setChecked(current);
    const QColor colour = entry.colour;
    connect(box, &QToolButton::clicked, this, [this, colour, box] {
        box->setChecked(true);
        choose(colour);
    });
    boxes_ << box;
    return box;
}

void ColourMenu::rebuild() {
    // A fresh palette each time: the menu lays out its entries anew when they change.
    clear();
    boxes_.clear();
    palette_ = new QWidget(this);
    palette_->setObjectName(QStringLiteral("palette"));
    palette_->setAccessibleName(withoutMnemonic(title()));
    auto *column = new QVBoxLayout(palette_);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(2);

    const QColor current = current_ ? current_() : QColor();
    automatic_ = new QToolButton(palette_);
    automatic_->setText(layout_.automaticText);
    automatic_->setAccessibleName(withoutMnemonic(layout_.automaticText));
    automatic_->setIcon(colourSwatch(layout_.automaticColour, 14, layout_.automaticBorder));
    automatic_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    automatic_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    automatic_->setAutoRaise(true);
    const QColor automaticColour = layout_.automaticColour;
    connect(automatic_, &QToolButton::clicked, this,
            [this, automaticColour] { choose(automaticColour); });
    if (layout_.automaticAtTop)
        column->addWidget(automatic_);

    const QList<ColourGroup> groups = groups_ ? groups_() : QList<ColourGroup>{};
    for (const ColourGroup &group : groups) {
        if (!group.caption.isEmpty()) {
            auto *caption = new QLabel(group.caption, palette_);
            caption->setAccessibleName(group.caption);
            caption->setObjectName(QStringLiteral("caption"));
            QFont bold = caption->font();
            bold.setBold(true);
            caption->setFont(bold);
            caption->setContentsMargins(2, 4, 2, 2);
            column->addWidget(caption);
        }
        auto *grid = new QGridLayout;
        grid->setSpacing(0);
        grid->setContentsMargins(0, 0, 0, 0);
        for (int i = 0; i < group.colours.size(); ++i) {
            const PaletteColour &entry = group.colours.at(i);
            grid->addWidget(addBox(entry, current.isValid() && entry.colour == current),
                            i / layout_.columns, i % layout_.columns);
        }
        grid->setColumnStretch(layout_.columns, 1);
        column->addLayout(grid);
    }

    if (!layout_.automaticAtTop)
        column->addWidget(automatic_);
    auto *line = new QFrame(palette_);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    column->addWidget(line);
    more_ = new QToolButton(palette_);
    more_->setText(QStringLiteral("&More Colors..."));
    more_->setAccessibleName(QStringLiteral("More Colors..."));
    more_->setToolTip(QStringLiteral("More Colors"));
    more_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    more_->setAutoRaise(true);
    connect(more_, &QToolButton::clicked, this, &ColourMenu::chooseMore);
    column->addWidget(more_);

    auto *action = new QWidgetAction(this);
    action->setDefaultWidget(palette_);
    addAction(action);
}

QStringList ColourMenu::captions() const {
    QStringList shown;
    if (palette_)
        for (QLabel *label : palette_->findChildren<QLabel *>(QStringLiteral("caption"),
                                                              Qt::FindDirectChildrenOnly))
            shown << label->text();
    return shown;
}

void ColourMenu::choose(const QColor &colour) {
    close();
    emit colourChosen(colour);
}

void ColourMenu::chooseMore() {
    close();
    const QColor initial = current_ ? current_() : QColor();
    const QColor chosen =
        chooser_ ? chooser_(initial, parentWidget())
                 : QColorDialog::getColor(initial, parentWidget(), withoutMnemonic(title()));
    if (chosen.isValid())
        emit colourChosen(chosen);
}

} // namespace tarvellite::ui
