#include "config/FormField.h"

std::string FormField::Shown() const {
    if (kind != FieldKind::Choice) return text;
    if (selected < 0 || static_cast<size_t>(selected) >= choices.size()) return std::string();
    return choices[static_cast<size_t>(selected)];
}
