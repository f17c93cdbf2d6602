#include <iostream>
#include <string>
#include <vector>

#include "app/CChangeLog.h"
#include "cli/CConsoleUi.h"
#include "cli/CliProgram.h"
#include "platform/CIniSettingsStore.h"
#include "platform/UiServices.h"

int main(int argc, char** argv) {
    CConsoleUi ui(std::cerr);
    CScopedUi scope(ui);
    CChangeLog log(CChangeLog::DefaultPath());
    CScopedChangeLog logScope(log);
    CIniSettingsStore store(CIniSettingsStore::DefaultPath());
    return cli::RunProgram(std::vector<std::string>(argv + 1, argv + argc), store, std::cout,
                           std::cerr);
}
