#include "ui/CaptionText.h"

#include <QRegularExpression>

namespace quarn::subsysmgr {

QString WithoutMnemonic(const QString& caption) {
    // A Chinese caption names its key in brackets after the text; the whole bracket goes.
    static const QRegularExpression bracketed(QStringLiteral("\\s*\\(&[^&\\s]\\)"));
    QString text = caption;
    text.remove(bracketed);
    QString name;
    name.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;  // the marked letter, or the second of "&&"
        }
        name.append(text[i]);
    }
    return name;
}

QString WithoutColon(const QString& caption) {
    QString name = WithoutMnemonic(caption).trimmed();
    while (name.endsWith(u':') || name.endsWith(u'：')) {
        name.chop(1);
    }
    return name.trimmed();
}

}  // namespace quarn::subsysmgr
