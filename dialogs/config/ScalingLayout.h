#pragma once

#include <QLabel>
#include <QString>

// Small pieces the integer-scaling parameter windows share.
namespace dialogs {

// A centred column heading.
inline QLabel* ColumnHeading(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace dialogs
