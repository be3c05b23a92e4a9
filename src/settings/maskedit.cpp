#include "maskedit.h"
#include <QSignalBlocker>

namespace {
// Qt's name for one place of a VCL mask, or a null character for a literal.
QChar qtPlace(QChar c) {
    static const QString ours = QStringLiteral("09#LlAaCc");
    static const QString qts = QStringLiteral("90#AaNnXx");
    const qsizetype i = ours.indexOf(c);
    return i < 0 ? QChar() : qts[i];
}

// Characters that Qt reads as mask syntax and so must be escaped to stand for themselves.
bool qtSyntax(QChar c) {
    return QStringLiteral("AaNnXx90DdHhBb#<>![]{}\\;").contains(c);
}
} // namespace

EditMaskLayout translateEditMask(const QString& editMask) {
    EditMaskLayout out;
    const QStringList fields = editMask.split(u';');
    const QString places = fields.value(0);
    if (fields.size() > 1)
        out.keepLiterals = fields[1] != QStringLiteral("0");
    if (fields.size() > 2 && !fields[2].isEmpty())
        out.blank = fields[2][0];

    auto literal = [&out](QChar c) {
        if (qtSyntax(c))
            out.inputMask += u'\\';
        out.inputMask += c;
        out.literal.push_back(true);
    };
    for (qsizetype i = 0; i < places.size(); ++i) {
        const QChar c = places[i];
        if (c == u'!') {
            // Where the optional places sit in the saved text; Qt keeps each character where it was typed.
            continue;
        }
        if (c == u'<' && i + 1 < places.size() && places[i + 1] == u'>') {
            out.inputMask += u'!';
            ++i;
        } else if (c == u'<' || c == u'>') {
            out.inputMask += c;
        } else if (c == u'\\') {
            if (i + 1 < places.size())
                literal(places[++i]);
        } else if (c == u'_') {
            literal(u' ');
        } else if (const QChar q = qtPlace(c); !q.isNull()) {
            out.inputMask += q;
            out.literal.push_back(false);
        } else {
            literal(c);
        }
    }
    if (!out.inputMask.isEmpty())
        out.inputMask += u';' + QString(out.blank);
    return out;
}

MaskEdit::MaskEdit(QWidget* parent) : QLineEdit(parent) {}

void MaskEdit::setEditMask(const QString& editMask) {
    editMask_ = editMask;
    layout_ = translateEditMask(editMask);
    setInputMask(layout_.inputMask);
}

QString MaskEdit::text() const {
    if (layout_.inputMask.isEmpty())
        return QLineEdit::text();
    const QString shown = displayText();
    QString out;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const bool isLiteral = static_cast<size_t>(i) < layout_.literal.size() && layout_.literal[i];
        if (isLiteral) {
            if (layout_.keepLiterals)
                out += shown[i];
        } else {
            out += shown[i] == layout_.blank ? QChar(u' ') : shown[i];
        }
    }
    return out;
}

void MaskEdit::setText(const QString& text) {
    if (layout_.inputMask.isEmpty()) {
        QLineEdit::setText(text);
        return;
    }
    // Lay the text out place by place, so that a space keeps its place as an empty one. The display always
    // holds the literals in their places.
    const QString before = displayText();
    QString shown;
    qsizetype next = 0;
    for (size_t i = 0; i < layout_.literal.size(); ++i) {
        if (layout_.literal[i]) {
            shown += before[static_cast<qsizetype>(i)];
            next += layout_.keepLiterals ? 1 : 0;
            continue;
        }
        const QChar c = next < text.size() ? text[next++] : QChar(u' ');
        shown += c == u' ' ? layout_.blank : c;
    }
    {
        const QSignalBlocker quiet(this);
        QLineEdit::setText(shown);
        if (displayText() != shown) {
            // Qt moves a character over an empty required place; put each one where it belongs instead.
            QLineEdit::setText(QString());
            for (qsizetype i = 0; i < shown.size(); ++i) {
                if (!layout_.literal[i] && shown[i] != layout_.blank) {
                    setCursorPosition(static_cast<int>(i));
                    insert(QString(shown[i]));
                }
            }
        }
    }
    if (displayText() != before)
        emit textChanged(QLineEdit::text());
}
