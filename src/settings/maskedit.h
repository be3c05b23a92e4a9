#pragma once
#include <QLineEdit>
#include <vector>

// An edit mask in the VCL notation of TMaskEdit.EditMask, "<characters>;<keep literals: 0 or 1>;<blank
// character>": '0' a required digit, '9' an optional digit, '#' an optional digit or sign, 'L'/'l' a letter,
// 'A'/'a' a letter or digit, 'C'/'c' any character (upper case required, lower case optional), '>' '<' '<>'
// case conversion, '\' a literal next character, '!' optional places shown as leading blanks; anything else
// is a literal. Qt's input masks say the same with other letters ('9' required, '0' optional).
struct EditMaskLayout {
    QString inputMask;         // the equivalent QLineEdit input mask, blank character included
    std::vector<bool> literal; // one flag per place of the displayed text
    bool keepLiterals = true;
    QChar blank = u'_';
};
EditMaskLayout translateEditMask(const QString& editMask);

// A line edit under such a mask. The display shows the blank character in every empty place ("__:__");
// text() and setText() speak as VCL masked edits do: an empty place is a space and the literals stay
// ("  :  ", " 8:30"). QLineEdit::text(), reached through a QLineEdit pointer, drops the empty places
// instead (":", "8:30"). '!' is accepted and ignored: a character stays in the place where it was typed.
class MaskEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString editMask READ editMask WRITE setEditMask)
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit MaskEdit(QWidget* parent = nullptr);

    QString editMask() const { return editMask_; }
    void setEditMask(const QString& editMask);

    QString text() const;

public slots:
    void setText(const QString& text);

private:
    QString editMask_;
    EditMaskLayout layout_;
};
