#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What a kind of field holds and how a window shows it.
enum class FieldKind {
    Text,    // an edit field with free text
    Number,  // an edit field that holds a number
    Choice,  // a drop-down list; `selected` is the chosen entry, -1 for none
    Value,   // a value the window only shows
};

// One field of a configuration window. The key names the field everywhere: it
// is the terminal's KEY in `set AREA KEY=VALUE`, and the window's widget for
// it is named "field_" + key.
struct FormField {
    std::string key;
    std::string label;  // the control label, with its '&' mnemonic
    FieldKind kind = FieldKind::Text;
    std::string text;                  // Text, Number, Value: as shown
    std::vector<std::string> choices;  // Choice: the entries in list order
    int selected = -1;
    std::string suffix;      // shown after the field ("seconds", a unit)
    size_t maxLength = 0;    // Text: the field refuses longer typing; 0: no limit
    bool multiline = false;  // Text: an edit field of several lines
    bool enabled = true;

    bool IsEdit() const { return kind == FieldKind::Text || kind == FieldKind::Number; }
    // The text shown: the selected entry for a list, empty without one.
    std::string Shown() const;
};
