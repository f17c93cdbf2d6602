#include "app/ui/VersionRecord.h"

#include <algorithm>

#include "app/ui/UiTexts.h"

const VersionRecord& ProgramVersionRecord() {
    // The file version comes from the project's version number at build time.
    static const VersionRecord record = {
        "Model CorvelFX Configurator User Interface",
        CORVEL_FILE_VERSION,
        "Copyright \u00A9 Kelmarsh. All rights reserved.",
    };
    return record;
}

std::string VersionLine(const VersionRecord& record) {
    if (record.fileVersion.empty()) return {};
    std::string version = record.fileVersion;
    std::replace(version.begin(), version.end(), ',', '.');
    return uitexts::kVersionPrefix + version;
}
