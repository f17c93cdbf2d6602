#pragma once

#include <string>

// The program's version record, compiled in: file description, file version
// ("5, 0, 0, 7") and legal notice. An entry that is missing stays empty.
struct VersionRecord {
    std::string fileDescription;
    std::string fileVersion;
    std::string legalCopyright;
};

const VersionRecord& ProgramVersionRecord();

// "Version " and the file version with every comma replaced by a full stop;
// empty when the record has no file version.
std::string VersionLine(const VersionRecord& record);
