#include "ui/search/font_choice.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <utility>

namespace tarvellite::ui {

namespace {

FontChooser &installedChooser() {
    static FontChooser chooser;
    return chooser;
}

void showColour(QPushButton *button, const QColor &colour) {
    QPixmap swatch(16, 16);
    swatch.fill(colour);
    button->setIcon(QIcon(swatch));
}

} // namespace

CFontColourDialog::CFontColourDialog(const FontChoice &initial, QWidget *parent)
    : QDialog(parent), colour_(initial.colour) {
    setWindowTitle(QStringLiteral("Font"));
    setObjectName(QStringLiteral("fontDialog"));
    auto *form = new QFormLayout(this);
    face_ = new QFontComboBox(this);
    face_->setCurrentFont(initial.font);
    face_->setAccessibleName(QStringLiteral("Font"));
    size_ = new QDoubleSpinBox(this);
    size_->setRange(1, 1638);
    size_->setDecimals(1);
    size_->setSingleStep(0.5);
    size_->setValue(initial.font.pointSizeF() > 0 ? initial.font.pointSizeF() : 12);
    size_->setAccessibleName(QStringLiteral("Size"));
    form->addRow(QStringLiteral("Font"), face_);
    form->addRow(QStringLiteral("Size"), size_);
    auto box = [this, form](const QString &caption, bool on) {
        auto *check = new QCheckBox(caption, this);
        check->setAccessibleName(caption);
        check->setChecked(on);
        form->addRow(check);
        return check;
    };
    bold_ = box(QStringLiteral("Bold"), initial.font.bold());
    italic_ = box(QStringLiteral("Italic"), initial.font.italic());
    underline_ = box(QStringLiteral("Underline"), initial.font.underline());
    strikeOut_ = box(QStringLiteral("Strikeout"), initial.font.strikeOut());
    colourButton_ = new QPushButton(QStringLiteral("Colour..."), this);
    colourButton_->setAccessibleName(colourButton_->text());
    showColour(colourButton_, colour_);
    connect(colourButton_, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(colour_, this);
        if (c.isValid()) {
            colour_ = c;
            showColour(colourButton_, c);
        }
    });
    form->addRow(colourButton_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

FontChoice CFontColourDialog::choice() const {
    QFont font = face_->currentFont();
    font.setPointSizeF(size_->value());
    font.setBold(bold_->isChecked());
    font.setItalic(italic_->isChecked());
    font.setUnderline(underline_->isChecked());
    font.setStrikeOut(strikeOut_->isChecked());
    return {font, colour_};
}

FontChooser setFontChooser(FontChooser chooser) {
    return std::exchange(installedChooser(), std::move(chooser));
}

std::optional<FontChoice> chooseFont(const FontChoice &initial, QWidget *parent) {
    if (installedChooser())
        return installedChooser()(initial);
    CFontColourDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace tarvellite::ui
