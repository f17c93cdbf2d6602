#pragma once

#include <iosfwd>
#include <string>

class CWorkflowEngine;

namespace cli {

// True when the stream is the program's stdout or stderr and that is a terminal.
bool IsTerminal(const std::ostream& stream);

// The progress of a workflow. On a terminal it is one line that is rewritten
// in place; anywhere else (a pipe, a log file) each step gets a line of its
// own, without carriage returns, so that the log of a scripted run reads well.
class CProgressPrinter {
  public:
    CProgressPrinter(std::ostream& err, bool terminal);

    // Shows the engine's status text and its progress in per cent.
    void Show(const CWorkflowEngine& engine);
    // Ends the progress display (the updating line is closed).
    void End();

  private:
    std::ostream& m_err;
    bool m_terminal;
    bool m_open = false;
    std::string m_last;
};

}  // namespace cli
