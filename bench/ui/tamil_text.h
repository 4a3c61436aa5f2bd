#pragma once

#include <QString>
#include <QStringList>

// About 1 MB of UTF-16 Tamil text for the typing benchmarks: 400 paragraphs of 1,250 units.
inline QString longTamilText() {
    QString paragraph;
    while (paragraph.size() < 1250)
        paragraph += QStringLiteral("வணக்கம் தமிழ் மொழி கற்க ");
    QStringList paragraphs;
    for (int i = 0; i < 400; ++i)
        paragraphs << paragraph;
    return paragraphs.join(QLatin1Char('\n'));
}
