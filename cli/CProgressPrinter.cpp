#include "cli/CProgressPrinter.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "app/CWorkflowEngine.h"

namespace cli {
namespace {
// The updating line is padded so that a shorter text covers a longer one.
constexpr size_t kTerminalWidth = 40;
}  // namespace

bool IsTerminal(const std::ostream& stream) {
    if (&stream == &std::cerr || &stream == &std::clog) return ::isatty(STDERR_FILENO) == 1;
    if (&stream == &std::cout) return ::isatty(STDOUT_FILENO) == 1;
    return false;
}

CProgressPrinter::CProgressPrinter(std::ostream& err, bool terminal)
    : m_err(err), m_terminal(terminal) {}

void CProgressPrinter::Show(const CWorkflowEngine& engine) {
    const int maximum = engine.ProgressMaximum();
    const int percent = maximum > 0 ? engine.Progress() * 100 / maximum : 0;
    std::string line = engine.StatusText();
    if (m_terminal) {
        line.resize(std::max(line.size(), kTerminalWidth), ' ');
        m_err << '\r' << line << ' ' << percent << "%   " << std::flush;
        m_open = true;
        return;
    }
    line += " (" + std::to_string(percent) + "%)";
    // A step that shows nothing new gets no second line.
    if (line == m_last) return;
    m_last = line;
    m_err << line << '\n' << std::flush;
}

void CProgressPrinter::End() {
    if (m_open) m_err << '\n' << std::flush;
    m_open = false;
}

}  // namespace cli
