#pragma once

#include <memory>
#include <string>

#include "config/CCommissioningReport.h"

class QGuiApplication;

namespace report {

// Writes the report as a PDF on pages of the given size, each page numbered at
// its foot. The file is written beside the target and then put in its place,
// so an existing file survives a failure. Needs a QGuiApplication (see
// CGuiForReport). False with the reason in `error` on a failure.
bool WritePdf(const CCommissioningReport& report, const std::string& path, PaperSize paper,
              std::string& error);

// The page as HTML, written the same safe way.
bool WriteHtml(const CCommissioningReport& report, const std::string& path, std::string& error);

// Gives a program without windows (the terminal) the QGuiApplication that
// laying out text needs, on the offscreen platform when none is chosen; does
// nothing where one exists.
class CGuiForReport {
  public:
    CGuiForReport();
    ~CGuiForReport();
    CGuiForReport(const CGuiForReport&) = delete;
    CGuiForReport& operator=(const CGuiForReport&) = delete;

  private:
    std::unique_ptr<QGuiApplication> m_app;
};

}  // namespace report
