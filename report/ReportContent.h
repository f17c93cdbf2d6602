#pragma once

#include <string>
#include <utility>
#include <vector>

class CMVDoc;

// What a report takes from the connected transmitter and the clock, the same
// for the window program and the terminal.
namespace report {

// The identification window's values as (label, value), read from the
// transmitter connected to the document; empty when the read failed (its
// failure has been shown).
std::vector<std::pair<std::string, std::string>> ReadIdentification(CMVDoc& doc);

// The local date and time as a report prints it: "2026-12-09 05:41 +0100".
std::string LocalTimeText();

}  // namespace report
