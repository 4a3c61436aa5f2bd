#include "ui/document/indent_scale.h"

#include "ui/document/document_units.h"

#include <QTextDocument>
#include <QVariant>
#include <private/qtextdocument_p.h>
#include <private/qtextformat_p.h>

namespace tarvellite::ui {

namespace {

constexpr const char *scaleProperty = "tarvelliteIndentScale";

} // namespace

double indentScale(const QTextDocument *document) {
    if (!document)
        return 1.0;
    bool ok = false;
    const double scale = document->property(scaleProperty).toDouble(&ok);
    return ok && scale > 0 ? scale : 1.0;
}

void setIndentScale(QTextDocument *document, double scale) {
    if (!document || !(scale > 0))
        return;
    const double factor = scale / indentScale(document);
    document->setProperty(scaleProperty, scale);
    if (factor == 1.0)
        return;
    QTextFormatCollection *collection = QTextDocumentPrivate::get(document)->formatCollection();
    bool changed = false;
    for (QTextFormat &format : collection->formats) {
        if (!format.isBlockFormat())
            continue;
        for (int property : {QTextFormat::BlockLeftMargin, QTextFormat::BlockRightMargin,
                             QTextFormat::TextIndent}) {
            if (format.hasProperty(property)) {
                format.setProperty(property, format.doubleProperty(property) * factor);
                changed = true;
            }
        }
    }
    if (!changed)
        return;
    // The collection finds equal formats by their hash: the changed ones are filed anew.
    collection->hashes.clear();
    for (int i = 0; i < collection->formats.size(); ++i) {
        QTextFormatCollection probe;
        probe.indexForFormat(collection->formats.at(i));
        collection->hashes.insert(probe.hashes.constBegin().key(), i);
    }
    document->markContentsDirty(0, document->characterCount());
}

void adoptIndentScale(QTextDocument *copy, const QTextDocument *original) {
    if (copy)
        copy->setProperty(scaleProperty, indentScale(original));
}

double indentTwipsToUnits(const QTextDocument *document, int twips) {
    return twipsToUnits(twips) * indentScale(document);
}

int indentUnitsToTwips(const QTextDocument *document, double units) {
    return unitsToTwips(units / indentScale(document));
}

} // namespace tarvellite::ui
