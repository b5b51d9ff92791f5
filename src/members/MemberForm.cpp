#include "members/MemberForm.h"

#include "common/FilteredInput.h"

#include <QLabel>
#include <QLineEdit>

namespace vantorel {

namespace {

constexpr int kRowHeight = 25;

} // namespace

QLabel* addTitle(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.6);
    label->setFont(font);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* addNote(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit* addField(QWidget* parent, const QString& label, int x, int y, int fieldX, int fieldWidth,
                    int maxLength, KeyFilter filter) {
    auto* caption = new QLabel(label, parent);
    caption->setGeometry(x, y, fieldX - x - 4, kRowHeight);
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(fieldX, y, fieldWidth, kRowHeight);
    edit->setMaxLength(maxLength);
    installKeyFilter(edit, filter);
    return edit;
}

} // namespace vantorel
