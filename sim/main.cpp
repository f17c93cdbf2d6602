// corvel-sim: simulated Corvel transmitters on a pseudo-terminal.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "sim/CSimLine.h"
#include "sim/SimProfile.h"

int main(int argc, char** argv) {
    sim::LineConfig config;
    bool help = false;
    std::string error;
    if (!sim::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), config, help,
                             &error)) {
        std::cerr << "corvel-sim: " << error << "\n" << sim::Usage();
        return 2;
    }
    if (help) {
        std::cout << sim::Usage();
        return 0;
    }

    // Signals are taken by sigwait below; block them before the line's thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    CSimLine line;
    sim::Populate(line, config);
    if (!line.Start(&error)) {
        std::cerr << "corvel-sim: " << error << "\n";
        return 1;
    }
    if (!config.linkPath.empty() && !line.PublishSymlink(config.linkPath, &error)) {
        std::cerr << "corvel-sim: " << error << "\n";
        return 1;
    }
    std::cout << line.SlavePath() << std::endl;

    int received = 0;
    sigwait(&signals, &received);
    line.Stop();
    if (!config.linkPath.empty()) {
        ::unlink(config.linkPath.c_str());
    }
    return 0;
}
