#include "ui/document/tarvellite_doc.h"

#include <QTextDocument>

namespace tarvellite::ui {

CTarvelLiteDoc::CTarvelLiteDoc(QObject *parent) : QObject(parent) {}

CTarvelLiteDoc::~CTarvelLiteDoc() = default;

void CTarvelLiteDoc::setPath(const QString &path) {
    if (path_ == path)
        return;
    path_ = path;
    emit pathChanged(path_);
}

void CTarvelLiteDoc::setTitle(const QString &title) {
    if (title_ == title)
        return;
    title_ = title;
    emit titleChanged();
}

QString CTarvelLiteDoc::displayTitle() const {
    return isModified() ? title_ + QLatin1Char('*') : title_;
}

bool CTarvelLiteDoc::isModified() const {
    return text_ ? text_->isModified() : modified_;
}

void CTarvelLiteDoc::setModified(bool modified) {
    if (text_) {
        text_->setModified(modified); // emits modificationChanged when it changes
        return;
    }
    if (modified_ != modified) {
        modified_ = modified;
        emit modifiedChanged(modified);
    }
}

void CTarvelLiteDoc::attachText(QTextDocument *text) {
    if (text_)
        disconnect(text_, nullptr, this, nullptr);
    text_ = text;
    if (text_) {
        text_->setModified(modified_);
        connect(text_, &QTextDocument::modificationChanged, this, &CTarvelLiteDoc::modifiedChanged);
    }
}

QString CTarvelLiteDoc::nextUntitledTitle() {
    static int counter = 0;
    return QString::fromLatin1(documentName) + QString::number(++counter);
}

} // namespace tarvellite::ui
