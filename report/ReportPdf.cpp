#include "report/ReportPdf.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace report {

namespace {

int g_argc = 1;
char g_program[] = "corvel-cli";
char* g_argv[] = {g_program, nullptr};

}  // namespace

bool WritePdf(const CCommissioningReport& report, const std::string& path, PaperSize paper,
              std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(QString::fromStdString(report.Title()));
        writer.setCreator(QStringLiteral("Corvel Configurator"));
        writer.setPageSize(
            QPageSize(paper == PaperSize::Letter ? QPageSize::Letter : QPageSize::A4));
        writer.setResolution(300);
        QTextDocument document;
        document.setHtml(QString::fromStdString(report.Html()));
        // A document without a page size of its own is laid out on the
        // writer's pages, with the page number at the foot of each.
        document.print(&writer);
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

bool WriteHtml(const CCommissioningReport& report, const std::string& path, std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    const std::string html = report.Html();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(html.data(), static_cast<qint64>(html.size())) !=
            static_cast<qint64>(html.size()) ||
        !file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

CGuiForReport::CGuiForReport() {
    if (QCoreApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    m_app = std::make_unique<QGuiApplication>(g_argc, g_argv);
}

CGuiForReport::~CGuiForReport() = default;

}  // namespace report
